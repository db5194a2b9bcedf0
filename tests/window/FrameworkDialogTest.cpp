// Dialogs: the modal loop, ending, owner handling, centring, and data
// exchange with its validation messages. Template 102 serves as a plain
// dialog here (an edit 1004 and a few buttons).
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/WinApp.h"
#include "TestSupport.h"
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr UINT kTemplate = 102;
constexpr int kEdit = 1004;

std::vector<std::string> g_calls;

// An edit that sees the messages of the modal loop before they are dispatched.
class WatchingEdit : public CEdit {
public:
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN)
            g_calls.push_back("edit pre-translate " + std::to_string(pMsg->wParam));
        return FALSE;
    }
};

class TestDialog : public CDialog {
public:
    explicit TestDialog(CWnd* parent = nullptr) : CDialog(kTemplate, parent) {}
    std::function<void(TestDialog&)> onInit;
    std::function<void(TestDialog&)> onApp;
    WatchingEdit edit;
    UINT value = 5;
    CRect rectAtInit;

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        GetWindowRect(&rectAtInit);
        if (onInit)
            onInit(*this);
        return TRUE;
    }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN)
            g_calls.push_back("dialog pre-translate " + std::to_string(pMsg->wParam));
        return CDialog::PreTranslateMessage(pMsg);
    }
    void OnOK() override { g_calls.push_back("OnOK"); }
    LRESULT OnApp(WPARAM, LPARAM) { if (onApp) onApp(*this); return 0; }

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, kEdit, edit);
        DDX_Text(pDX, kEdit, value);
        DDV_MinMaxUInt(pDX, value, 1, 10000);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestDialog, CDialog)
    ON_MESSAGE(WM_APP, OnApp)
END_MESSAGE_MAP()

class FrameworkDialog : public testing::Test {
protected:
    void SetUp() override { g_calls.clear(); }
};

TEST_F(FrameworkDialog, DoModalReturnsTheCodeGivenToEndDialog)
{
    TestDialog dlg;
    dlg.onInit = [](TestDialog& d) { d.PostMessage(WM_APP); };
    dlg.onApp = [](TestDialog& d) { d.EndDialog(42); };
    EXPECT_EQ(dlg.DoModal(), 42);
    EXPECT_EQ(dlg.m_hWnd, nullptr) << "the window is gone after the run";
}

TEST_F(FrameworkDialog, EndingDuringInitialisationSkipsTheLoop)
{
    TestDialog dlg;
    dlg.onInit = [](TestDialog& d) { d.EndDialog(1); };
    EXPECT_EQ(dlg.DoModal(), 1);
}

TEST_F(FrameworkDialog, MissingTemplateFails)
{
    CDialog dlg(4711);
    EXPECT_EQ(dlg.DoModal(), -1);
}

TEST_F(FrameworkDialog, LoopOffersKeysFromTheTargetUpToTheDialogThenTheDialogManager)
{
    TestDialog dlg;
    dlg.onInit = [](TestDialog& d) {
        ::SetFocus(d.edit.m_hWnd);
        d.edit.PostMessage(WM_KEYDOWN, 'Q');
        // Esc through the dialog manager: IDCANCEL, the base OnCancel ends the run.
        d.edit.PostMessage(WM_KEYDOWN, VK_ESCAPE);
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(g_calls, (std::vector<std::string>{
                           "edit pre-translate 81", "dialog pre-translate 81",
                           "edit pre-translate 27", "dialog pre-translate 27" }));
}

TEST_F(FrameworkDialog, EnterReachesTheVirtualOnOK)
{
    TestDialog dlg;
    dlg.onInit = [](TestDialog& d) {
        ::SetFocus(d.edit.m_hWnd);
        d.edit.PostMessage(WM_KEYDOWN, VK_RETURN);
        d.PostMessage(WM_APP);
    };
    dlg.onApp = [](TestDialog& d) { d.EndDialog(3); };
    EXPECT_EQ(dlg.DoModal(), 3);
    EXPECT_NE(std::find(g_calls.begin(), g_calls.end(), "OnOK"), g_calls.end());
}

TEST_F(FrameworkDialog, OwnerIsDisabledWhileTheDialogRuns)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, "STATIC", "", WS_POPUP | WS_VISIBLE, CRect(0, 0, 50, 50), nullptr, 0));
    TestDialog dlg(&owner);
    bool enabledDuring = true;
    HWND ownerSeen = nullptr;
    dlg.onInit = [](TestDialog& d) { d.PostMessage(WM_APP); };
    dlg.onApp = [&](TestDialog& d) {
        enabledDuring = ::IsWindowEnabled(owner.m_hWnd) != FALSE;
        ownerSeen = ::GetWindow(d.m_hWnd, GW_OWNER);
        d.EndDialog(0);
    };
    dlg.DoModal();
    EXPECT_FALSE(enabledDuring);
    EXPECT_EQ(ownerSeen, owner.m_hWnd);
    EXPECT_TRUE(::IsWindowEnabled(owner.m_hWnd));
    owner.DestroyWindow();
}

TEST_F(FrameworkDialog, QuitMessageEndsTheLoopAndIsPostedAgain)
{
    TestDialog dlg;
    dlg.onInit = [](TestDialog&) { ::PostQuitMessage(17); };
    EXPECT_EQ(dlg.DoModal(), -1);
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 17u);
}

TEST_F(FrameworkDialog, DialogThatDidNotMoveIsCentredAndOneThatDidStays)
{
    CRect work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    {
        TestDialog dlg;
        ASSERT_TRUE(dlg.Create());
        CRect r;
        dlg.GetWindowRect(&r);
        EXPECT_EQ(dlg.rectAtInit.TopLeft(), CPoint(0, 0)) << "the template places it at the origin";
        EXPECT_NEAR(r.left + r.Width() / 2, work.left + work.Width() / 2, 1);
        EXPECT_NEAR(r.top + r.Height() / 2, work.top + work.Height() / 2, 1);
        dlg.DestroyWindow();
    }
    {
        TestDialog dlg;
        dlg.onInit = [](TestDialog& d) { ::SetWindowPos(d.m_hWnd, nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER); };
        ASSERT_TRUE(dlg.Create());
        CRect r;
        dlg.GetWindowRect(&r);
        EXPECT_EQ(r.TopLeft(), CPoint(30, 40));
        dlg.DestroyWindow();
    }
}

// ---- data exchange --------------------------------------------------------------

class DataExchange : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dlg.Create());
        ::SetFocus(dlg.GetDlgItem(1000));  // somewhere else than the edit
    }
    void TearDown() override { dlg.DestroyWindow(); }
    void Type(const char* text) { ::SetWindowTextA(dlg.GetDlgItem(kEdit), text); }
    TestDialog dlg;
    MessageBoxRecorder boxes;
};

TEST_F(DataExchange, LoadingShowsTheNumberAndSubclassesTheControlOnce)
{
    EXPECT_STREQ(CWnd::FromHandlePermanent(dlg.GetDlgItem(kEdit)) == &dlg.edit ? "yes" : "no", "yes");
    char text[16];
    ::GetWindowTextA(dlg.GetDlgItem(kEdit), text, sizeof text);
    EXPECT_STREQ(text, "5");
    dlg.value = 4000000000u;
    EXPECT_TRUE(dlg.UpdateData(FALSE)) << "loading skips the range test";
    ::GetWindowTextA(dlg.GetDlgItem(kEdit), text, sizeof text);
    EXPECT_STREQ(text, "4000000000");
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(DataExchange, SavingAValidNumberStoresItSilently)
{
    Type(" 250\t");
    EXPECT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(dlg.value, 250u);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(DataExchange, OnlyTheFirst31BytesAreRead)
{
    Type((std::string("7") + std::string(30, ' ') + "x").c_str());
    EXPECT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(dlg.value, 7u);
    Type((std::string("7") + std::string(29, ' ') + "x").c_str());
    EXPECT_FALSE(dlg.UpdateData(TRUE));
}

struct Refusal { const char* text; std::wstring message; };

TEST_F(DataExchange, RefusedTextShowsItsMessageAndPutsTheFocusBack)
{
    const Refusal refusals[] = {
        { "abc", L"“请填入一个正整数。”" },
        { "", L"“请填入一个正整数。”" },
        { "-5", L"“请填入一个正整数。”" },
        { "0", L"“请填入一个在1和10000之间的整数。”" },
        { "10001", L"“请填入一个在1和10000之间的整数。”" },
        { "4294967296", L"“请填入一个在1和10000之间的整数。”" },
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(std::string("text \"") + r.text + "\"");
        boxes.boxes.clear();
        ::SetFocus(dlg.GetDlgItem(1000));
        Type(r.text);
        EXPECT_FALSE(dlg.UpdateData(TRUE));
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].text, Gbk(r.message.c_str()));
        EXPECT_STREQ(boxes.boxes[0].caption.c_str(), GetAppName());
        EXPECT_EQ(boxes.boxes[0].type, (UINT)(MB_ICONEXCLAMATION | MB_OK));
        HWND edit = dlg.GetDlgItem(kEdit);
        EXPECT_EQ(::GetFocus(), edit) << "focus goes back to the edit";
        DWORD start = 0, end = 0;
        ::SendMessageA(edit, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
        EXPECT_EQ(start, 0u);
        EXPECT_EQ(end, (DWORD)strlen(r.text)) << "with all of its text selected";
    }
}

}  // namespace
