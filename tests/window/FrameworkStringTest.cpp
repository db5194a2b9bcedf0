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
