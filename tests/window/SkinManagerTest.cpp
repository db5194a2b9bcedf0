// Skin installation on real windows: properties, the thread hook with real
// message boxes, the gradient and static colours, and resource balance.
#include "app/RefreshDlg.h"
#include "skin/SkinManager.h"
#include "FakeShell.h"
#include "Screenshot.h"
#include "framework/WinApp.h"
#include "TestSupport.h"
#include <thread>

namespace {

bool HasProp(HWND h, const char* name) { return ::GetPropA(h, name) != nullptr; }
LONG_PTR ButtonType(HWND h) { return ::GetWindowLongPtrA(h, GWL_STYLE) & BS_TYPEMASK; }

COLORREF ScreenPixel(HWND hWnd, int x, int y)
{
    POINT p = {x, y};
    ::ClientToScreen(hWnd, &p);
    HDC hdc = ::GetDC(nullptr);
    COLORREF c = ::GetPixel(hdc, p.x, p.y);
    ::ReleaseDC(nullptr, hdc);
    return c;
}

// Row colours of the background bitmap at screen depth.
std::vector<COLORREF> GradientRows()
{
    std::vector<COLORREF> rows;
    HBITMAP hbm = ::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(147));
    HDC hdc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(hdc, hbm);
    BITMAP bm = {};
    ::GetObjectA(hbm, sizeof bm, &bm);
    for (int y = 0; y < bm.bmHeight; ++y)
        rows.push_back(::GetPixel(hdc, 0, y));
    ::SelectObject(hdc, old);
    ::DeleteDC(hdc);
    ::DeleteObject(hbm);
    return rows;
}

bool IsGradientColour(COLORREF c)
{
    for (COLORREF r : GradientRows())
        if (r == c)
            return true;
    return false;
}

// Makes sure the hook exists (the first Install sets it).
void EnsureSkinInstalled()
{
    if (g_hSkinHook)
        return;
    HWND h = ::CreateWindowExA(0, "#32770", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    g_skin.Install(h);
    ::DestroyWindow(h);
}

// A message box of this thread, inspected from a timer inside its own loop.
struct BoxProbe {
    const char* caption;
    bool found = false;
    bool windowSkinned = false;
    bool buttonOwnerDrawn = false;
    bool buttonAttached = false;
    COLORREF background = CLR_INVALID;
    COLORREF expectedBackground = CLR_INVALID;
    bool iconConverted = false;
    COLORREF iconCorner = CLR_INVALID;
    COLORREF besideIcon = CLR_INVALID;
    std::string screenshot;
    bool saved = false;
};
BoxProbe* g_probe = nullptr;
UINT_PTR g_probeTimer = 0;

BOOL CALLBACK FindIconStatic(HWND h, LPARAM lp)
{
    char cls[64] = "";
    ::GetClassNameA(h, cls, sizeof cls);
    if (::lstrcmpiA(cls, "Static") == 0 && (::GetWindowLongPtrA(h, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP) {
        *(HWND*)lp = h;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK ProbeBox(HWND, UINT, UINT_PTR, DWORD)
{
    HWND hBox = ::FindWindowA("#32770", g_probe->caption);
    if (!hBox || !::IsWindowVisible(hBox) ||
        ::GetWindowThreadProcessId(hBox, nullptr) != ::GetCurrentThreadId())
        return;
    ::KillTimer(nullptr, g_probeTimer);
    BoxProbe& p = *g_probe;
    p.found = true;
    ::RedrawWindow(hBox, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    p.windowSkinned = HasProp(hBox, "SkinWindowOldWndProc") && HasProp(hBox, "SkinWindowHandled");
    HWND hOk = ::GetDlgItem(hBox, IDOK);
    p.buttonOwnerDrawn = hOk && ButtonType(hOk) == BS_OWNERDRAW;
    p.buttonAttached = hOk && HasProp(hOk, "SkinButtonObj");
    CRect client;
    ::GetClientRect(hBox, &client);
    int row = 3;
    p.background = ScreenPixel(hBox, 2, row);
    std::vector<COLORREF> rows = GradientRows();
    if (client.Height() <= (int)rows.size())
        p.expectedBackground = rows[row];
    HWND hIcon = nullptr;
    ::EnumChildWindows(hBox, FindIconStatic, (LPARAM)&hIcon);
    if (hIcon) {
        p.iconConverted = ::SendMessageA(hIcon, STM_GETIMAGE, IMAGE_BITMAP, 0) != 0;
        CRect r;
        ::GetWindowRect(hIcon, &r);
        ::ScreenToClient(hBox, (POINT*)&r.left);
        p.iconCorner = ScreenPixel(hBox, r.left, r.top);
        p.besideIcon = ScreenPixel(hBox, r.left - 2, r.top);
    }
    if (!p.screenshot.empty())
        p.saved = SaveWindowBitmap(hBox, p.screenshot.c_str());
    ::PostMessageA(hBox, WM_COMMAND, IDOK, 0);
}

void StartProbe(BoxProbe& probe)
{
    g_probe = &probe;
    g_probeTimer = ::SetTimer(nullptr, 0, 30, ProbeBox);
}

}  // namespace

TEST(SkinInstall, SkinsPushButtonsOnlyAndNeverTwice)
{
    // A local class spelled in capitals stands for the button class.
    WNDCLASSA wc = {};
    ASSERT_TRUE(::GetClassInfoA(nullptr, "Button", &wc));
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "BUTTON";
    ATOM upper = ::RegisterClassA(&wc);

    HWND hDlg = ::CreateWindowExA(0, "#32770", "Skin", WS_POPUP | WS_CAPTION | WS_VISIBLE, 40, 40, 400, 300,
                                  nullptr, nullptr, nullptr, nullptr);
    auto make = [&](const char* cls, const char* text, DWORD style, int id) {
        return ::CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, 10, 10 + 25 * (id - 1), 100, 22,
                                 hDlg, (HMENU)(INT_PTR)id, nullptr, nullptr);
    };
    struct Case { const char* name; HWND h; bool skinned; } cases[] = {
        {"push", make("Button", "push", BS_PUSHBUTTON, 1), true},
        {"default push", make("Button", "def", BS_DEFPUSHBUTTON, 2), true},
        {"user button", make("Button", "user", BS_USERBUTTON, 3), true},
        {"check box", make("Button", "check", BS_AUTOCHECKBOX, 4), false},
        {"radio", make("Button", "radio", BS_AUTORADIOBUTTON, 5), false},
        {"three-state", make("Button", "three", BS_3STATE, 6), false},
        {"group box", make("Button", "group", BS_GROUPBOX, 7), false},
        {"owner-drawn", make("Button", "owner", BS_OWNERDRAW, 8), false},
        {"marked handled", make("Button", "marked", BS_PUSHBUTTON, 9), false},
        {"upper-case class", upper ? make("BUTTON", "upper", BS_PUSHBUTTON, 10) : nullptr, true},
    };
    ::SetPropA(cases[8].h, "SkinButtonHandled", (HANDLE)1);
    char cls[32] = "";
    if (cases[9].h)
        ::GetClassNameA(cases[9].h, cls, sizeof cls);
    EXPECT_STREQ(cls, "BUTTON");

    g_skin.Install(hDlg);
    EXPECT_EQ(g_pSkin, &g_skin);
    EXPECT_NE(g_hSkinHook, nullptr);
    EXPECT_TRUE(HasProp(hDlg, "SkinWindowHandled"));
    EXPECT_EQ((WNDPROC)::GetWindowLongPtrA(hDlg, GWLP_WNDPROC), SkinWindowWndProc);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(c.h);
        EXPECT_EQ(HasProp(c.h, "SkinButtonObj"), c.skinned);
        EXPECT_EQ(HasProp(c.h, "OldWndProc"), c.skinned);
        if (c.skinned) {
            EXPECT_EQ(ButtonType(c.h), BS_OWNERDRAW);
        }
    }
    EXPECT_EQ(ButtonType(cases[8].h), BS_PUSHBUTTON);
    EXPECT_EQ(ButtonType(cases[6].h), BS_GROUPBOX);

    // Another pass and many activations attach nothing new.
    HANDLE firstObj = ::GetPropA(cases[0].h, "SkinButtonObj");
    HANDLE windowOld = ::GetPropA(hDlg, "SkinWindowOldWndProc");
    HWND hOther = ::CreateWindowExA(0, "#32770", "Other", WS_POPUP | WS_CAPTION | WS_VISIBLE, 460, 40, 200, 100,
                                    nullptr, nullptr, nullptr, nullptr);
    FlushMessages();
    DWORD gdiBefore = GdiObjects(), userBefore = UserObjects();
    int activations = 0;
    for (int i = 0; i < 1000; ++i) {
        ::SetActiveWindow(i % 2 ? hDlg : hOther);
        activations += ::GetActiveWindow() == (i % 2 ? hDlg : hOther);
    }
    FlushMessages();
    EXPECT_GE(activations, 990);
    EXPECT_EQ(::GetPropA(cases[0].h, "SkinButtonObj"), firstObj);
    EXPECT_EQ(::GetPropA(hDlg, "SkinWindowOldWndProc"), windowOld);
    EXPECT_TRUE(HasProp(hOther, "SkinWindowHandled")) << "the hook skins activated windows";
    EXPECT_EQ(GdiObjects(), gdiBefore);
    EXPECT_EQ(UserObjects(), userBefore);

    ::RedrawWindow(hDlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    // The background is the gradient, at its own height (300 > 250: stretched).
    EXPECT_TRUE(IsGradientColour(ScreenPixel(hDlg, 300, 100)));
    EXPECT_NE(ScreenPixel(hDlg, 300, 100), ::GetSysColor(COLOR_3DFACE));

    ::DestroyWindow(hOther);
    ::DestroyWindow(hDlg);
    if (upper)
        ::UnregisterClassA("BUTTON", ::GetModuleHandleA(nullptr));
}

TEST(SkinInstall, ThousandRepaintsLeaveNoGdiObject)
{
    EnsureSkinInstalled();
    HWND hDlg = ::CreateWindowExA(0, "#32770", "Repaint", WS_POPUP | WS_CAPTION | WS_VISIBLE, 40, 40, 300, 120,
                                  nullptr, nullptr, nullptr, nullptr);
    ::CreateWindowExA(0, "Button", "OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 60, 80, 24,
                      hDlg, (HMENU)IDOK, nullptr, nullptr);
    ::CreateWindowExA(0, "Static", "text", WS_CHILD | WS_VISIBLE, 10, 10, 80, 20, hDlg, (HMENU)1012, nullptr, nullptr);
    g_skin.Install(hDlg);
    ::RedrawWindow(hDlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    FlushMessages();
    DWORD gdiBefore = GdiObjects();
    for (int i = 0; i < 1000; ++i)
        ::RedrawWindow(hDlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    FlushMessages();
    EXPECT_EQ(GdiObjects(), gdiBefore);
    ::DestroyWindow(hDlg);
}

TEST(SkinInstall, BackgroundShowsTopRowsOrWholeGradient)
{
    EnsureSkinInstalled();
    std::vector<COLORREF> rows = GradientRows();
    ASSERT_EQ(rows.size(), 250u);
    struct Case { int height; int y; COLORREF expected; } cases[] = {
        {120, 0, rows[0]}, {120, 119, rows[119]}, {120, 60, rows[60]},
        {500, 0, rows[0]}, {500, 499, rows[249]}, {500, 300, rows[150]},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "height " << c.height << " row " << c.y);
        CClientDC screen(HWND(nullptr));
        CDC mem;
        mem.CreateCompatibleDC(screen);
        CBitmap bm;
        bm.CreateCompatibleBitmap(screen, 50, c.height);
        CSelectObject sel(mem, bm);
        g_pSkin->DrawBackground(mem, CRect(10, 10, 60, 10 + c.height));
        EXPECT_EQ(::GetPixel(mem, 49, c.y), c.expected);
    }
}

TEST(SkinInstall, WindowProcedureGoesAtDestroyAndDrawItemIsMarked)
{
    EnsureSkinInstalled();
    HWND hDlg = ::CreateWindowExA(0, "#32770", "", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    static bool s_seenProp, s_seenDestroy;
    static UINT s_ctlType;
    static WNDPROC s_prev;
    s_seenProp = true;
    s_seenDestroy = false;
    s_ctlType = 0;
    s_prev = (WNDPROC)::SetWindowLongPtrA(hDlg, GWLP_WNDPROC, (LONG_PTR)+[](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_DESTROY) {
            s_seenDestroy = true;
            s_seenProp = ::GetPropA(h, "SkinWindowOldWndProc") != nullptr;
        }
        if (m == WM_DRAWITEM)
            s_ctlType = ((DRAWITEMSTRUCT*)l)->CtlType;
        return ::CallWindowProcA(s_prev, h, m, w, l);
    });
    g_skin.Install(hDlg);
    // A draw-item request from something that is not a skinned button
    // reaches the dialog's own handling, marked as a button.
    HWND hList = ::CreateWindowExA(0, "ListBox", "", WS_CHILD, 0, 0, 50, 50, hDlg, (HMENU)7, nullptr, nullptr);
    DRAWITEMSTRUCT dis = {ODT_LISTBOX, 7, 0, ODA_DRAWENTIRE, 0, hList, nullptr, {0, 0, 1, 1}, 0};
    ::SendMessageA(hDlg, WM_DRAWITEM, 7, (LPARAM)&dis);
    EXPECT_EQ(s_ctlType, (UINT)ODT_BUTTON);
    ::DestroyWindow(hDlg);
    EXPECT_TRUE(s_seenDestroy);
    EXPECT_FALSE(s_seenProp);
}

TEST(SkinHook, SkinsAMessageBoxOfThisThreadWithItsIcon)
{
    EnsureSkinInstalled();
    // A first box warms Wine's caches (system icon, fonts); the count is
    // compared across the second.
    BoxProbe warmUp;
    warmUp.caption = "SkinIconBox";
    StartProbe(warmUp);
    ::MessageBoxA(nullptr, "Skinned box", warmUp.caption, MB_OK | MB_ICONERROR);
    FlushMessages();
    BoxProbe probe;
    probe.caption = "SkinIconBox";
    StartProbe(probe);
    DWORD gdiBefore = GdiObjects();
    ::MessageBoxA(nullptr, "Skinned box", probe.caption, MB_OK | MB_ICONERROR);
    ASSERT_TRUE(probe.found);
    EXPECT_TRUE(probe.windowSkinned);
    EXPECT_TRUE(probe.buttonOwnerDrawn) << "Wine's BM_SETSTYLE after activation must not undo it";
    EXPECT_TRUE(probe.buttonAttached);
    ASSERT_NE(probe.expectedBackground, CLR_INVALID);
    EXPECT_EQ(probe.background, probe.expectedBackground);
    EXPECT_TRUE(probe.iconConverted);
    // The icon's transparent corner shows the gradient of its row.
    EXPECT_EQ(probe.iconCorner, probe.besideIcon);
    EXPECT_TRUE(IsGradientColour(probe.iconCorner));
    FlushMessages();
    // The icon's picture went with the box.
    EXPECT_EQ(GdiObjects(), gdiBefore);
}

TEST(SkinHook, LeavesAnotherThreadsWindowsAlone)
{
    EnsureSkinInstalled();
    std::thread other([] { ::MessageBoxA(nullptr, "other", "SkinOtherThread", MB_OK); });
    HWND hBox = nullptr;
    PumpUntil([&] { return (hBox = ::FindWindowA("#32770", "SkinOtherThread")) && ::IsWindowVisible(hBox); }, 5000);
    ASSERT_TRUE(hBox);
    PumpFor(100);
    HWND hOk = ::GetDlgItem(hBox, IDOK);
    EXPECT_FALSE(HasProp(hBox, "SkinWindowHandled"));
    EXPECT_FALSE(HasProp(hOk, "SkinButtonObj"));
    EXPECT_NE(ButtonType(hOk), BS_OWNERDRAW);
    ::PostMessageA(hBox, WM_COMMAND, IDOK, 0);
    other.join();
}

// ---- the main dialog ----------------------------------------------------------

namespace {

// Pixels of one colour on the screen over the control (copied once: reading
// the screen pixel by pixel is slow under X).
int CountColour(HWND hCtl, COLORREF colour)
{
    CRect r;
    ::GetWindowRect(hCtl, &r);
    HDC hdcScreen = ::GetDC(nullptr);
    HDC hdc = ::CreateCompatibleDC(hdcScreen);
    HBITMAP hbm = ::CreateCompatibleBitmap(hdcScreen, r.Width(), r.Height());
    HGDIOBJ old = ::SelectObject(hdc, hbm);
    ::BitBlt(hdc, 0, 0, r.Width(), r.Height(), hdcScreen, r.left, r.top, SRCCOPY);
    int n = 0;
    for (int y = 0; y < r.Height(); ++y)
        for (int x = 0; x < r.Width(); ++x)
            n += ::GetPixel(hdc, x, y) == colour;
    ::SelectObject(hdc, old);
    ::DeleteObject(hbm);
    ::DeleteDC(hdc);
    ::ReleaseDC(nullptr, hdcScreen);
    return n;
}

HWND FindChildByText(HWND hParent, const std::string& text)
{
    for (HWND h = ::GetWindow(hParent, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        char buf[64] = "";
        ::GetWindowTextA(h, buf, sizeof buf);
        if (text == buf)
            return h;
    }
    return nullptr;
}

}  // namespace

TEST(SkinMainDialog, ColouredTransparentStaticsAndSkinnedButtons)
{
    FakeLog log;
    FakeShellWindows shell(&log);
    ScopedShellFactory factory(&shell);
    CRefreshDlg dlg;
    ASSERT_TRUE(dlg.Create());
    ::ShowWindow(dlg.m_hWnd, SW_SHOW);
    ::RedrawWindow(dlg.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    FlushMessages();

    for (int id : {IDC_REFRESH, IDC_SET, IDC_ABOUT}) {
        SCOPED_TRACE(id);
        HWND h = dlg.GetDlgItem(id);
        EXPECT_EQ(ButtonType(h), BS_OWNERDRAW);
        EXPECT_TRUE(HasProp(h, "SkinButtonObj"));
    }
    int groups = 0;
    for (HWND h = ::GetWindow(dlg.m_hWnd, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
        if (ButtonType(h) == BS_GROUPBOX) {
            ++groups;
            EXPECT_FALSE(HasProp(h, "SkinButtonObj"));
        }
    EXPECT_EQ(groups, 2);

    HWND hUsage = dlg.GetDlgItem(IDC_MAIN_USAGE);
    HWND hHeading = dlg.GetDlgItem(IDC_MAIN_USAGE_HEADING);
    HWND hSeconds = FindChildByText(dlg.m_hWnd, Gbk(L"秒"));
    ASSERT_TRUE(hUsage && hHeading && hSeconds);
    const COLORREF blue = RGB(0, 0, 255), red = RGB(255, 0, 0);
    EXPECT_GT(CountColour(hUsage, blue), 20);
    EXPECT_EQ(CountColour(hUsage, red), 0);
    EXPECT_GT(CountColour(hHeading, red), 5);
    EXPECT_EQ(CountColour(hSeconds, blue) + CountColour(hSeconds, red), 0);
    EXPECT_GT(CountColour(hSeconds, RGB(0, 0, 0)), 0);

    // Behind each static: the gradient, the same as just left of it.
    for (HWND h : {hUsage, hHeading, hSeconds}) {
        CRect r;
        ::GetWindowRect(h, &r);
        ::ScreenToClient(dlg.m_hWnd, (POINT*)&r.left);
        COLORREF inside = ScreenPixel(dlg.m_hWnd, r.left, r.top);
        EXPECT_EQ(inside, ScreenPixel(dlg.m_hWnd, r.left - 3, r.top));
        EXPECT_TRUE(IsGradientColour(inside));
        EXPECT_NE(inside, ::GetSysColor(COLOR_3DFACE));
    }
    EXPECT_TRUE(SaveWindowBitmap(dlg.m_hWnd, ScreenshotPath("skin_main_dialog.bmp").c_str()));
    dlg.DestroyWindow();
}

TEST(SkinMainDialog, FailedBoxIsSkinned)
{
    ScopedShellFactory factory(nullptr, E_FAIL);
    BoxProbe probe;
    // The box's caption is the program's name.
    std::string caption = GetAppName();
    probe.caption = caption.c_str();
    probe.screenshot = ScreenshotPath("skin_failed_box.bmp");
    StartProbe(probe);
    CRefreshDlg dlg;
    dlg.Create();
    ASSERT_TRUE(probe.found);
    EXPECT_TRUE(probe.windowSkinned);
    EXPECT_TRUE(probe.buttonOwnerDrawn);
    EXPECT_TRUE(probe.buttonAttached);
    EXPECT_EQ(probe.background, probe.expectedBackground);
    EXPECT_TRUE(probe.saved);
    if (dlg.m_hWnd)
        dlg.DestroyWindow();
}
