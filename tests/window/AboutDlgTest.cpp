// The About box on real windows: its template, the configuration of its six
// link buttons, the links handed to the Shell, and its modal runs from the
// main dialog (tooltips relayed by the modal loop, a fresh object each time).
#include "app/RefreshDlg.h"
#include "chrome/AboutDlg.h"
#include "framework/Seams.h"
#include "framework/WinApp.h"
#include "FakeShell.h"
#include "MouseInput.h"
#include "Screenshot.h"
#include "TestSupport.h"
#include <functional>

namespace {

const char kMailQuery[] =
    "?subject=联系、问题或建议！&body=您好！%0A%0D%0A%0D　　我使用的产品名称: Veskar V1.2.8.0922 %0a%0d";

// Records every ShellExecute for its lifetime, opening nothing.
class ShellExecuteRecorder {
public:
    struct Call { HWND owner; std::string verb, file; bool params, dir; INT show; };
    ShellExecuteRecorder() : m_previous(g_pfnShellExecute) { s_this = this; g_pfnShellExecute = Record; }
    ~ShellExecuteRecorder() { g_pfnShellExecute = m_previous; s_this = nullptr; }
    std::vector<Call> calls;
private:
    static HINSTANCE WINAPI Record(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR params, LPCSTR dir, INT show)
    {
        s_this->calls.push_back({ owner, verb ? verb : "", file ? file : "", params != nullptr, dir != nullptr, show });
        return (HINSTANCE)33;
    }
    static ShellExecuteRecorder* s_this;
    HINSTANCE (WINAPI* m_previous)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
};
ShellExecuteRecorder* ShellExecuteRecorder::s_this = nullptr;

struct AboutFixture : testing::Test {
    CAboutDlg dlg;
    void SetUp() override
    {
        ASSERT_TRUE(dlg.Create());
        dlg.ShowWindow(SW_SHOW);
        FlushMessages();
    }
    void TearDown() override
    {
        dlg.DestroyWindow();
        FlushMessages();
    }
    CColorButton& Button(int id)
    {
        return *static_cast<CColorButton*>(CWnd::FromHandlePermanent(dlg.GetDlgItem(id)));
    }
};

TEST_F(AboutFixture, TemplateMatchesTheLayout)
{
    const LONG style = ::GetWindowLongA(dlg, GWL_STYLE);
    const LONG want = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    EXPECT_EQ(style & want, want);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    EXPECT_EQ(dlg.GetWindowText(), "关于 Veskar...");
    CRect units(0, 0, 223, 127), client;
    ::MapDialogRect(dlg, &units);
    dlg.GetClientRect(&client);
    EXPECT_EQ(client.Size().cx, units.Width());
    EXPECT_EQ(client.Size().cy, units.Height());

    struct Item { const char* cls; const char* text; DWORD style; CRect du; };
    auto isIcon = [](const Item& i) { return strcmp(i.cls, "Static") == 0 && (i.style & SS_TYPEMASK) == SS_ICON; };
    // Template order; the link buttons are owner-drawn by now.
    const Item items[] = {
        { "Static", nullptr, SS_ICON, CRect(11, 8, 0, 0) },
        { "Static", "Veskar--Tolvane工作室", WS_GROUP | SS_NOPREFIX, CRect(40, 9, 86, 8) },
        { "Static", nullptr, WS_GROUP, CRect(33, 114, 183, 8) },
        { "Button", "确 定", WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON, CRect(157, 7, 55, 14) },
        { "Static", "技术支持:", WS_GROUP, CRect(7, 36, 37, 8) },
        { "Button", "support@example.com", WS_TABSTOP | BS_OWNERDRAW, CRect(54, 51, 125, 14) },
        { "Button", "service@example.net", WS_TABSTOP | BS_OWNERDRAW, CRect(54, 65, 125, 14) },
        { "Button", "http://www.example.org/tolvane/", WS_TABSTOP | BS_OWNERDRAW, CRect(54, 81, 125, 14) },
        { "Button", "支持Tolvane工作室...", WS_TABSTOP | BS_OWNERDRAW, CRect(54, 94, 125, 14) },
        { "Static", nullptr, SS_ICON, CRect(26, 81, 0, 0) },
        { "Static", nullptr, SS_ICON, CRect(24, 51, 0, 0) },
        { "Button", "10000001", WS_TABSTOP | BS_OWNERDRAW, CRect(49, 34, 67, 14) },
        { "Button", "10000002", WS_TABSTOP | BS_OWNERDRAW, CRect(135, 34, 67, 14) },
        { "Static", " V1.2.8.0922 ", WS_GROUP, CRect(76, 23, 66, 8) },
        { "Static", "版本:", WS_GROUP, CRect(40, 23, 21, 8) },
    };
    HWND h = ::GetWindow(dlg, GW_CHILD);
    for (const Item& item : items) {
        SCOPED_TRACE(item.text ? item.text : item.cls);
        ASSERT_NE(h, nullptr);
        char cls[32] = "", text[128] = "";
        ::GetClassNameA(h, cls, sizeof cls);
        ::GetWindowTextA(h, text, sizeof text);
        EXPECT_STRCASEEQ(cls, item.cls);
        if (item.text) {
            EXPECT_STREQ(text, item.text);
        }
        DWORD s = (DWORD)::GetWindowLongA(h, GWL_STYLE);
        if (isIcon(item) && (s & SS_TYPEMASK) == SS_BITMAP) {
            // The skin, once installed on the thread, turns icon statics into
            // pictures of the icon on its background.
            EXPECT_NE(::SendMessageA(h, STM_GETIMAGE, IMAGE_BITMAP, 0), 0) << "the skin's picture";
            s = (s & ~SS_TYPEMASK) | SS_ICON;
        } else if (isIcon(item)) {
            EXPECT_NE(::SendMessageA(h, STM_GETICON, 0, 0), 0) << "the icon loaded";
        }
        EXPECT_EQ(s & (item.style | WS_CHILD | WS_VISIBLE), item.style | WS_CHILD | WS_VISIBLE);
        // Position (and, for all but icons, size) in dialog units.
        // The dialog manager converts position and size separately.
        CRect where(item.du.left, item.du.top, item.du.right, item.du.bottom), actual;
        ::MapDialogRect(dlg, &where);
        ::GetWindowRect(h, &actual);
        ::MapWindowPoints(nullptr, dlg, (POINT*)&actual, 2);
        EXPECT_EQ(actual.TopLeft(), where.TopLeft());
        if (!isIcon(item)) {
            EXPECT_EQ(actual.Size().cx, where.right);
            EXPECT_EQ(actual.Size().cy, where.bottom);
        }
        h = ::GetWindow(h, GW_HWNDNEXT);
    }
    EXPECT_EQ(h, nullptr) << "no further controls";
}

TEST_F(AboutFixture, LinkButtonsAreConfigured)
{
    struct Case { int id; bool icon; const char* tip; COLORREF bkOut; } cases[] = {
        { IDC_MAIL_FIRST, false, "mailto:support@example.com", RGB(225, 228, 232) },
        { IDC_MAIL_SECOND, false, "mailto:service@example.net", RGB(219, 223, 228) },
        { IDC_WEB_PAGE, false, "访问我的博客http://www.example.org/tolvane/", RGB(212, 217, 223) },
        { IDC_SUPPORT, false, "点击支持Tolvane工作室!!!", RGB(208, 214, 220) },
        { IDC_CHAT_FIRST, true, "与10000001交谈!!!", RGB(233, 236, 239) },
        { IDC_CHAT_SECOND, true, "与10000002交谈!!!", RGB(233, 236, 239) },
    };
    CColorButton* members[] = { &dlg.m_btnMailFirst, &dlg.m_btnMailSecond, &dlg.m_btnWebPage,
                                &dlg.m_btnSupport, &dlg.m_btnChatFirst, &dlg.m_btnChatSecond };
    for (int i = 0; i < 6; ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.id);
        CColorButton& b = Button(c.id);
        EXPECT_EQ(&b, members[i]) << "attached to its member";
        EXPECT_NE(b.GetButtonCursor(), nullptr);
        EXPECT_EQ(b.GetIconIn() != nullptr, c.icon);
        if (c.icon) {
            EXPECT_EQ(b.GetIconSize().cx, 16);
        }
        EXPECT_EQ(b.GetToolTip().GetText(&b, 1), c.tip);
        EXPECT_EQ(b.GetToolTip().GetToolCount(), 1);
        EXPECT_EQ(b.GetTextColorOut(), RGB(0, 0, 255));
        EXPECT_EQ(b.GetTextColorIn(), RGB(255, 0, 0));
        EXPECT_EQ(b.GetBkColorOut(), c.bkOut);
        EXPECT_EQ(b.GetBkColorIn(), RGB(217, 222, 227));
    }
}

TEST_F(AboutFixture, EachLinkButtonHandsItsTargetToTheShell)
{
    struct Case { int id; std::string target; } cases[] = {
        { IDC_MAIL_FIRST, std::string("mailto:support@example.com") + kMailQuery },
        { IDC_MAIL_SECOND, std::string("mailto:service@example.net") + kMailQuery },
        { IDC_WEB_PAGE, "http://www.example.org/tolvane/" },
        { IDC_SUPPORT, "http://www.example.org/tolvane/" },
        { IDC_CHAT_FIRST, "http://chat.example.net/msgrd?V=1&Uin=10000001&Site=Tolvane工作室&Menu=yes" },
        { IDC_CHAT_SECOND, "http://chat.example.net/msgrd?V=1&Uin=10000002&Site=Tolvane工作室&Menu=yes" },
    };
    // The body's third line starts with two ideographic spaces, in GBK.
    ASSERT_NE(cases[0].target.find("\xA1\xA1\xA1\xA1"), std::string::npos);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        ShellExecuteRecorder shell;
        ::SendMessageA(dlg.GetDlgItem(c.id), BM_CLICK, 0, 0);
        FlushMessages();
        ASSERT_EQ(shell.calls.size(), 1u);
        const auto& call = shell.calls[0];
        EXPECT_EQ(call.owner, nullptr);
        EXPECT_EQ(call.verb, "Open");
        EXPECT_EQ(call.file, c.target);
        EXPECT_FALSE(call.params);
        EXPECT_FALSE(call.dir);
        EXPECT_EQ(call.show, SW_SHOWMAXIMIZED);
        EXPECT_TRUE(dlg.IsWindowVisible()) << "the box stays open";
    }
}

// ---- modal runs from the main dialog --------------------------------------------

// Runs `step` from a thread timer until it returns true; the modal loop
// that is running meanwhile dispatches the timer.
std::function<bool()> g_step;
void CALLBACK StepTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    if (g_step && g_step()) {
        g_step = nullptr;
        ::KillTimer(nullptr, id);
    }
}

BOOL CALLBACK FindAboutBoxProc(HWND h, LPARAM lp)
{
    if (::GetDlgItem(h, IDC_CHAT_SECOND)) {
        *(HWND*)lp = h;
        return FALSE;
    }
    return TRUE;
}

HWND FindAboutBox()
{
    HWND found = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindAboutBoxProc, (LPARAM)&found);
    return found;
}

struct AboutFromMainDialog : testing::Test {
    FakeLog log;
    FakeShellWindows shell{ &log };
    std::unique_ptr<ScopedShellFactory> factory;
    CWinApp app;  // as in the program: the main dialog is the main window
    CRefreshDlg main;
    void SetUp() override
    {
        app.m_pMainWnd = &main;
        factory.reset(new ScopedShellFactory(&shell));
        ASSERT_TRUE(main.Create());
        main.ShowWindow(SW_SHOW);
        FlushMessages();
    }
    void TearDown() override
    {
        MouseUpIfDown();
        main.DestroyWindow();
        FlushMessages();
        ::CoUninitialize();
    }
};

TEST_F(AboutFromMainDialog, ButtonAndWindowMenuOpenAFreshAboutBoxEachTime)
{
    struct Seen { HWND hWnd; CWnd* pObject; COLORREF bkOut; bool ownerDisabled; bool visible; };
    std::vector<Seen> seen;
    auto open = [&](std::function<void()> opener) {
        DWORD start = ::GetTickCount();
        g_step = [&, start] {
            HWND h = FindAboutBox();
            if (!h)
                return ::GetTickCount() - start > 5000;  // give up; counted below
            CWnd* pObj = CWnd::FromHandlePermanent(h);
            auto* pButton = static_cast<CColorButton*>(CWnd::FromHandlePermanent(::GetDlgItem(h, IDC_MAIL_FIRST)));
            seen.push_back({ h, pObj, pButton ? pButton->GetBkColorOut() : 0, !::IsWindowEnabled(main),
                             ::IsWindowVisible(h) != FALSE });
            // Leave a mark that a reused object would carry into the next run.
            if (pButton)
                pButton->SetBkColorOut(RGB(1, 2, 3), FALSE);
            ::PostMessageA(h, WM_COMMAND, IDOK, 0);
            return true;
        };
        UINT_PTR timer = ::SetTimer(nullptr, 0, 30, StepTimer);
        opener();  // returns when the box has closed
        ::KillTimer(nullptr, timer);
        g_step = nullptr;
    };
    const UINT commands[] = { 0, IDM_ABOUTBOX, 0x001F, 0 };
    for (UINT cmd : commands) {
        if (cmd == 0)
            open([&] { main.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_ABOUT, BN_CLICKED), (LPARAM)main.GetDlgItem(IDC_ABOUT)); });
        else
            open([&] { main.SendMessage(WM_SYSCOMMAND, cmd, 0); });
    }
    ASSERT_EQ(seen.size(), 4u);
    for (size_t i = 0; i < seen.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NE(seen[i].pObject, nullptr);
        EXPECT_EQ(seen[i].bkOut, RGB(225, 228, 232)) << "each run starts from a new object";
        EXPECT_TRUE(seen[i].ownerDisabled) << "modal over the main dialog";
        EXPECT_TRUE(seen[i].visible);
        if (i > 0) {
            EXPECT_FALSE(::IsWindow(seen[i - 1].hWnd));
        }
    }
    EXPECT_TRUE(::IsWindowEnabled(main));
    EXPECT_EQ(FindAboutBox(), nullptr);
}

TEST_F(AboutFromMainDialog, ModalLoopRelaysTheMouseToTheTooltipAndHoverIsShown)
{
    enum { Start, Hovering, Done } phase = Start;
    DWORD since = 0;
    HWND hAbout = nullptr, hTip = nullptr;
    bool hovered = false, tipShown = false;
    std::string tipText;
    g_step = [&] {
        switch (phase) {
        case Start:
            hAbout = FindAboutBox();
            if (!hAbout)
                return false;
            ::SetForegroundWindow(hAbout);
            // A real move onto the web page button; the modal loop dispatches it.
            MoveMouseTo(ScreenPoint(::GetDlgItem(hAbout, IDC_WEB_PAGE), 30, 8), false);
            phase = Hovering;
            since = ::GetTickCount();
            return false;
        case Hovering: {
            auto* pButton = static_cast<CColorButton*>(CWnd::FromHandlePermanent(::GetDlgItem(hAbout, IDC_WEB_PAGE)));
            hTip = pButton->GetToolTip().m_hWnd;
            hovered = pButton->IsMouseOver();
            tipShown = hTip && ::IsWindowVisible(hTip);
            if (!tipShown && ::GetTickCount() - since < 3000)
                return false;
            if (tipShown)
                tipText = pButton->GetToolTip().GetText(pButton, 1).str();
            ::RedrawWindow(hAbout, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            SaveWindowBitmap(hAbout, ScreenshotPath("about-hover.bmp").c_str());
            ::PostMessageA(hAbout, WM_COMMAND, IDOK, 0);
            phase = Done;
            return true;
        }
        default:
            return true;
        }
    };
    UINT_PTR timer = ::SetTimer(nullptr, 0, 30, StepTimer);
    main.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_ABOUT, BN_CLICKED), (LPARAM)main.GetDlgItem(IDC_ABOUT));
    ::KillTimer(nullptr, timer);
    g_step = nullptr;

    ASSERT_EQ(phase, Done);
    EXPECT_TRUE(hovered);
    EXPECT_TRUE(tipShown) << "the tooltip only learns of the mouse through PreTranslateMessage";
    EXPECT_EQ(tipText, "访问我的博客http://www.example.org/tolvane/");
}

}  // namespace
