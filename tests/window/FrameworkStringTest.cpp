// Strings in the ANSI code page, loaded from the program's resources.
#include "framework/String.h"
#include "framework/WinApp.h"
#include "res/resource.h"
#include "TestSupport.h"

TEST(CString, RunsInCodePage936)
{
    ASSERT_EQ(::GetACP(), 936u) << "tests must run with LANG=zh_CN.UTF-8";
}

TEST(CString, LoadsResourceStringsAsGbk)
{
    CString about;
    ASSERT_TRUE(about.LoadString(IDS_ABOUTBOX));
    EXPECT_EQ(about, Gbk(L"关于 Corvalle(&A)...").c_str());
    CString missing;
    EXPECT_FALSE(missing.LoadString(4242));
    EXPECT_TRUE(missing.IsEmpty());
}

TEST(CString, FormatsAndReplacesPlaceholdersOnce)
{
    CString s;
    s.Format("%u-%s", 7u, "x");
    EXPECT_EQ(s, "7-x");
    CString range = FormatResourceString(61714, "1", "10000");
    EXPECT_EQ(range, Gbk(L"“请填入一个在1和10000之间的整数。”").c_str());
    // An argument that itself holds a placeholder is not expanded again.
    EXPECT_EQ(FormatResourceString(61714, "%2", "9"), Gbk(L"“请填入一个在%2和9之间的整数。”").c_str());
    CString t("aXbXc");
    EXPECT_EQ(t.Replace("X", "YY"), 2);
    EXPECT_EQ(t, "aYYbYYc");
}

TEST(CString, AppNameIsTheProgramFileWithoutExtension)
{
    EXPECT_STREQ(GetAppName(), "window_tests");
}

TEST(TestSupport, GdiObjectCountSeesEveryLiveObject)
{
    DWORD before = GdiObjects();
    HBRUSH brushes[3] = { ::CreateSolidBrush(1), ::CreateSolidBrush(2), ::CreateSolidBrush(3) };
    EXPECT_EQ(GdiObjects(), before + 3);
    for (HBRUSH b : brushes)
        ::DeleteObject(b);
    EXPECT_EQ(GdiObjects(), before);
}

TEST(TestSupport, UserObjectCountSeesWindowsMenusAndCursors)
{
    auto popup = [] {
        return ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    };
    // Objects the system adds once for the thread or the process stay for the
    // whole test: the input method's window lives while the thread has a
    // top-level window (Wine), and a shared icon once loaded.
    HWND anchor = popup();
    HICON shared = ::LoadIconA(nullptr, IDI_APPLICATION);
    FlushMessages();
    const DWORD before = UserObjects();
    ASSERT_GT(before, 0u);

    HWND windows[3];
    for (HWND& w : windows)
        w = popup();
    EXPECT_EQ(UserObjects(), before + 3);
    HMENU menus[2] = { ::CreateMenu(), ::CreatePopupMenu() };
    EXPECT_EQ(UserObjects(), before + 5);
    HICON icon = ::CopyIcon(shared);
    const BYTE andMask[4 * 32] = {}, xorMask[4 * 32] = {};
    HCURSOR cursor = ::CreateCursor(nullptr, 0, 0, 32, 32, andMask, xorMask);
    ASSERT_TRUE(icon && cursor);
    EXPECT_EQ(UserObjects(), before + 7);

    ::DestroyCursor(cursor);
    ::DestroyIcon(icon);
    for (HMENU m : menus)
        ::DestroyMenu(m);
    for (HWND w : windows)
        ::DestroyWindow(w);
    FlushMessages();
    EXPECT_EQ(UserObjects(), before);
    ::DestroyWindow(anchor);
}

// What the count relies on under Wine: a slot reused by a new window gets a
// new generation in the handle's high word, and the low word alone still
// reaches the window.
TEST(TestSupport, WineUserHandleLowWordReachesTheCurrentObject)
{
    if (!::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version"))
        GTEST_SKIP() << "Windows: the count comes from GetGuiResources";
    HWND reused = nullptr;
    for (int i = 0; i < 20 && !reused; ++i) {
        HWND w = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        if (HIWORD((UINT_PTR)w))
            reused = w;
        else
            ::DestroyWindow(w);
    }
    ASSERT_NE(reused, nullptr) << "no handle with a generation came back";
    HWND lowWord = (HWND)(UINT_PTR)LOWORD((UINT_PTR)reused);
    ::SetWindowTextA(lowWord, "probe");
    char text[16] = "";
    ::GetWindowTextA(reused, text, sizeof text);
    EXPECT_STREQ(text, "probe");
    EXPECT_EQ((WNDPROC)::GetWindowLongPtrA(lowWord, GWLP_WNDPROC), (WNDPROC)::GetWindowLongPtrA(reused, GWLP_WNDPROC));
    ::DestroyWindow(reused);
}
