// The About box's link buttons as they show under the real pointer, the
// links they open, the box opened from the main dialog, and the off-screen
// drawing context.
#include "MainDialog.h"
#include "chrome/AboutDlg.h"
#include "skin/MemDC.h"

namespace {

const COLORREF kBlue = RGB(0, 0, 255), kRed = RGB(255, 0, 0), kBkIn = RGB(217, 222, 227);

CColorButton& Link(HWND about, int id)
{
    return *static_cast<CColorButton*>(CWnd::FromHandlePermanent(::GetDlgItem(about, id)));
}

// Where a button shows anything but its background, inside its edge and
// clear of the rows its neighbours overlap.
CRect Ink(HWND button)
{
    ::UpdateWindow(button);
    const Shot s = Shot::OfWindow(button);
    const int w = s.rect.right - s.rect.left, h = s.rect.bottom - s.rect.top;
    return s.Bounds([&](int x, int y) {
        return y >= 3 && y < h - 3 && x >= 1 && x < w - 1 && s.At(x, y) != s.At(2, 3);
    });
}
int Count(HWND button, COLORREF c)
{
    Shot s = Shot::OfWindow(button);
    return s.Count({ 0, 0, s.rect.right - s.rect.left, s.rect.bottom - s.rect.top },
                   [c](COLORREF p) { return p == c; });
}

class AboutTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ASSERT_TRUE(about.Create());
        about.ShowWindow(SW_SHOW);
        ::SetForegroundWindow(about);
        FlushMessages();
    }
    POINT On(int id, int x = 30, int y = 8) { return ScreenPoint(about.GetDlgItem(id), x, y); }
    CAboutDlg about;
    ShellExecuteRecorder shell;
};

}  // namespace

TEST_F(AboutTest, LinksShowTheirColoursEdgesAndIconsInEachState)
{
    struct Case { int id; COLORREF bkOut; bool icon; } cases[] = {
        { IDC_MAIL_FIRST, RGB(225, 228, 232), false }, { IDC_MAIL_SECOND, RGB(219, 223, 228), false },
        { IDC_WEB_PAGE, RGB(212, 217, 223), false },   { IDC_SUPPORT, RGB(208, 214, 220), false },
        { IDC_CHAT_FIRST, RGB(233, 236, 239), true },  { IDC_CHAT_SECOND, RGB(233, 236, 239), true } };
    const COLORREF light = ::GetSysColor(COLOR_BTNHILIGHT), shadow = ::GetSysColor(COLOR_BTNSHADOW);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        HWND b = about.GetDlgItem(c.id);
        RECT r;
        ::GetClientRect(b, &r);
        MoveMouseTo(Away());
        CRect away = Ink(b);
        const int mid = r.bottom / 2;
        EXPECT_EQ(PixelAt(b, 0, mid), c.bkOut) << "flat while away";
        EXPECT_GT(Count(b, kBlue), 0);
        EXPECT_EQ(Count(b, kRed), 0);
        EXPECT_EQ(Link(about, c.id).GetIconIn() != nullptr, c.icon);
        // Text centred (an icon sits 3 pixels in and the text is centred right of it).
        EXPECT_NEAR(away.top + away.bottom, r.bottom, 2);
        EXPECT_TRUE(c.icon || abs(away.left + away.right - r.right) <= 2) << away;

        MoveMouseTo(On(c.id));
        CRect over = Ink(b);
        EXPECT_EQ(PixelAt(b, 0, mid), light) << "raised";
        EXPECT_EQ(PixelAt(b, r.right - 1, mid), shadow);
        EXPECT_EQ(PixelAt(b, 2, mid), kBkIn);
        EXPECT_GT(Count(b, kRed), 0);
        EXPECT_EQ(Count(b, kBlue), 0);
        EXPECT_EQ(over, away);
        EXPECT_TRUE(!c.icon || over.left == 3) << over;

        MouseDown();
        EXPECT_EQ(PixelAt(b, 0, mid), shadow) << "sunken";
        EXPECT_EQ(PixelAt(b, r.right - 1, mid), light);
        EXPECT_EQ(Ink(b), CRect(over.left + 1, over.top + 1, over.right + 1, over.bottom + 1))
            << "pressed one pixel down and right";
        ::ReleaseCapture();
        MouseUp();
    }
    // Disabled: greyed by the system in neither colour; an icon without a
    // title is centred.
    HWND web = about.GetDlgItem(IDC_WEB_PAGE), chat = about.GetDlgItem(IDC_CHAT_FIRST);
    ::EnableWindow(web, FALSE);
    EXPECT_EQ(Count(web, kBlue) + Count(web, kRed), 0);
    EXPECT_GT(Count(web, shadow), 0);
    ::SetWindowTextA(chat, "");
    RECT r;
    ::GetClientRect(chat, &r);
    CRect icon = Ink(chat);
    EXPECT_EQ(icon.Width(), 16);
    EXPECT_NEAR(icon.left + icon.right, r.right, 1);
}

TEST_F(AboutTest, LinksFollowThePointerAndHandTheirTargetsToTheShell)
{
    const std::string mail = Gbk(L"?subject=联系、问题或建议！&body=您好！%0A%0D%0A%0D　　我使用的产品名称: Veskar V1.2.8.0922 %0a%0d");
    const std::string chat = Gbk(L"&Site=Tolvane工作室&Menu=yes");
    struct Case { int id; std::string target; } cases[] = {
        { IDC_MAIL_FIRST, "mailto:support@example.com" + mail },
        { IDC_MAIL_SECOND, "mailto:service@example.net" + mail },
        { IDC_WEB_PAGE, "http://www.example.org/tolvane/" },     { IDC_SUPPORT, "http://www.example.org/tolvane/" },
        { IDC_CHAT_FIRST, "http://chat.example.net/msgrd?V=1&Uin=10000001" + chat },
        { IDC_CHAT_SECOND, "http://chat.example.net/msgrd?V=1&Uin=10000002" + chat } };
    for (const Case& c : cases) {
        ClickAt(On(c.id));
        ASSERT_EQ(shell.calls.size(), 1u) << c.id;
        const ShellExecuteRecorder::Call& call = shell.calls[0];
        EXPECT_TRUE(!call.owner && call.verb == "Open" && call.file == c.target && call.noParams && call.noDir &&
                    call.show == SW_SHOWMAXIMIZED) << c.id << " opened " << call.file;
        EXPECT_TRUE(::IsWindowVisible(about));
        shell.calls.clear();
    }
    // Over the button it holds the capture and shows its hand; the first
    // move outside ends both.
    CColorButton& web = Link(about, IDC_WEB_PAGE);
    MoveMouseTo(On(IDC_WEB_PAGE, 5, 5));
    MoveMouseTo(On(IDC_WEB_PAGE, 60, 10));
    EXPECT_TRUE(web.IsMouseOver() && ::GetCapture() == web.m_hWnd);
    EXPECT_EQ(::GetCursor(), web.GetButtonCursor());
    EXPECT_NE(::GetCursor(), nullptr);
    MoveMouseTo(On(IDC_WEB_PAGE, -20, 5));
    EXPECT_FALSE(web.IsMouseOver() || ::GetCapture());
    // Pressed beside it and dragged over it: neither lit nor clicked.
    MouseDown();
    MoveMouseTo(On(IDC_WEB_PAGE));
    EXPECT_FALSE(web.IsMouseOver());
    EXPECT_NE(::GetCapture(), web.m_hWnd);
    MouseUp();
    EXPECT_TRUE(shell.calls.empty());
    MoveMouseTo(On(IDC_WEB_PAGE, 12, 6));
    EXPECT_TRUE(web.IsMouseOver());
    // A double click is two clicks; losing the focus ends the hover.
    ClickAt(On(IDC_WEB_PAGE), 2);
    EXPECT_EQ(shell.calls.size(), 2u);
    ASSERT_EQ(::GetFocus(), web.m_hWnd);
    ::SetFocus(about.GetDlgItem(IDOK));
    EXPECT_FALSE(web.IsMouseOver());
    // Someone else's capture is left alone.
    MoveMouseTo(On(IDC_WEB_PAGE, -20, 5));
    MoveMouseTo(On(IDC_WEB_PAGE, 20, 6));
    ASSERT_EQ(::GetCapture(), web.m_hWnd);
    ::SetCapture(about);
    FlushMessages();
    EXPECT_EQ(::GetCapture(), about.m_hWnd);
    ::ReleaseCapture();
}

// The button and each About command of the window menu open a box,
// modal over the main dialog; 0x20 is no About command. In its modal loop
// the pointer reaches the link's tooltip.
TEST_F(MainDialogTest, AboutOpensFreshFromItsButtonAndWindowMenuAndShowsTips)
{
    Open();
    dlg.ShowWindow(SW_SHOW);
    struct Case { UINT command; bool opens; } cases[] = {
        { 0, true }, { 0x10, true }, { 0x13, true }, { 0x1F, true }, { 0x20, false } };
    HWND previous = nullptr;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        HWND box = nullptr;
        bool disabled = false, tip = false;
        TimerScript script({ [&] {
            box = ShownBox(dlg);
            if (!box || !Settled(box))
                return false;
            disabled = !::IsWindowEnabled(dlg);
            ::SetForegroundWindow(box);
            MoveMouseTo(ScreenPoint(::GetDlgItem(box, IDC_WEB_PAGE), 30, 8), false);
            return true;
        }, [&] {
            HWND h = Link(box, IDC_WEB_PAGE).GetToolTip().m_hWnd;
            char text[128] = "";
            ::GetWindowTextA(h, text, sizeof text);
            tip = ::IsWindowVisible(h) && text == Gbk(L"访问我的博客http://www.example.org/tolvane/");
            return tip && ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        } }, c.opens ? 10000 : 300);
        if (c.command)
            dlg.SendMessage(WM_SYSCOMMAND, c.command);
        else
            Click(IDC_ABOUT);
        EXPECT_EQ(script.Done(), c.opens);
        EXPECT_EQ(box != nullptr, c.opens);
        if (c.opens) {
            EXPECT_TRUE(disabled && tip);
            EXPECT_FALSE(::IsWindow(previous));
            previous = box;
        }
        EXPECT_TRUE(::IsWindowEnabled(dlg));
        MoveMouseTo(Away());
    }
}

TEST_F(WindowTest, OffScreenDrawingReachesOnlyItsAreaAndOnlyAtTheEnd)
{
    const COLORREF back = RGB(200, 10, 10), ink = RGB(10, 10, 200);
    struct Case { CRect clip, area; bool whole; } cases[] = {
        { CRect(10, 20, 50, 40), CRect(), true },                 // the target's clip box
        { CRect(0, 0, 100, 100), CRect(20, 30, 60, 70), false },  // a rectangle of its own
    };
    for (const Case& c : cases) {
        const CRect inner(30, 35, 35, 39), outside(0, 0, 10, 10), cover = c.whole ? c.clip : c.area;
        const Shot s = Shot::OfDrawing(100, 100, [&](HDC dc) {
            ::SetBkColor(dc, back);
            ::IntersectClipRect(dc, c.clip.left, c.clip.top, c.clip.right, c.clip.bottom);
            CMemDC mem(dc, c.whole ? nullptr : &c.area);
            mem.FillSolidRect(&inner, ink);
            mem.FillSolidRect(&outside, ink);  // outside what it covers
            EXPECT_EQ(::GetPixel(dc, 31, 36), Shot::kGround) << "not before the end";
        });
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x) {
                COLORREF want = inner.PtInRect({ x, y }) ? ink : cover.PtInRect({ x, y }) ? back : Shot::kGround;
                ASSERT_EQ(s.At(x, y), want) << x << ", " << y;
            }
    }
}
