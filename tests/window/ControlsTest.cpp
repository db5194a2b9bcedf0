// The About box's links under the real pointer and what they open, the box itself, the off-screen context.
#include "MainDialog.h"
#include "chrome/AboutDlg.h"
#include "skin/MemDC.h"
#include <algorithm>

namespace {

const COLORREF kBlue = RGB(0, 0, 255), kRed = RGB(255, 0, 0), kBkIn = RGB(217, 222, 227);

// Where a button shows anything but its background, inside its edge and clear of the rows its neighbours overlap.
CRect Ink(HWND button)
{
    ::UpdateWindow(button);
    const Shot s = Shot::OfWindow(button);
    const int w = s.rect.right - s.rect.left, h = s.rect.bottom - s.rect.top;
    return s.Bounds([&](int x, int y) {
        return y >= 3 && y < h - 3 && x >= 1 && x < w - 1 && s.At(x, y) != s.At(2, 3);
    });
}
bool Shows(HWND button, COLORREF c)
{
    const std::vector<COLORREF> px = Shot::OfWindow(button).px;
    return std::find(px.begin(), px.end(), c) != px.end();
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

// Away, over and pressed, each link shows its colours, edges and icon; released, it hands its target to the Shell.
TEST_F(AboutTest, LinksShowTheirStatesAndHandTheirTargetsToTheShell)
{
    const std::wstring mail = L"?subject=联系、问题或建议！&body=您好！%0A%0D%0A%0D　　我使用的产品名称: Veskar V1.2.8.0922 %0a%0d";
    const std::wstring site = L"&Site=Tolvane工作室&Menu=yes", blog = L"http://www.example.org/tolvane/";
    struct Case { int id; COLORREF bkOut; bool icon; std::wstring target; } cases[] = {
        { IDC_MAIL_FIRST, RGB(225, 228, 232), false, L"mailto:support@example.com" + mail },
        { IDC_MAIL_SECOND, RGB(219, 223, 228), false, L"mailto:service@example.net" + mail },
        { IDC_WEB_PAGE, RGB(212, 217, 223), false, blog },
        { IDC_SUPPORT, RGB(208, 214, 220), false, blog },
        { IDC_CHAT_FIRST, RGB(233, 236, 239), true, L"http://chat.example.net/msgrd?V=1&Uin=10000001" + site },
        { IDC_CHAT_SECOND, RGB(233, 236, 239), true, L"http://chat.example.net/msgrd?V=1&Uin=10000002" + site } };
    const COLORREF light = ::GetSysColor(COLOR_BTNHILIGHT), shadow = ::GetSysColor(COLOR_BTNSHADOW);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        HWND b = about.GetDlgItem(c.id);
        RECT r;
        ::GetClientRect(b, &r);
        // The edges, the background inside them and the text's colour; the ink, moved back by `shift`.
        auto looks = [&](COLORREF left, COLORREF right, COLORREF inner, COLORREF text, int shift) {
            EXPECT_EQ(PixelAt(b, 0, r.bottom / 2), left);
            EXPECT_EQ(PixelAt(b, r.right - 1, r.bottom / 2), right);
            EXPECT_EQ(PixelAt(b, 2, r.bottom / 2), inner);
            EXPECT_TRUE(Shows(b, text));
            CRect ink = Ink(b);
            ink.OffsetRect(-shift, -shift);
            return ink;
        };
        MoveMouseTo(Away());
        const CRect away = looks(c.bkOut, c.bkOut, c.bkOut, kBlue, 0);
        // Text centred; an icon sits 3 pixels in and the text is centred right of it.
        EXPECT_NEAR(away.top + away.bottom, r.bottom, 2);
        EXPECT_TRUE(c.icon ? away.left == 3 : abs(away.left + away.right - r.right) <= 2) << away;
        MoveMouseTo(On(c.id));
        EXPECT_EQ(looks(light, shadow, kBkIn, kRed, 0), away) << "raised";
        MouseDown();
        EXPECT_EQ(looks(shadow, light, kBkIn, kRed, 1), away) << "sunken, pressed one pixel down and right";
        MouseUp();
        ASSERT_EQ(shell.calls.size(), 1u);
        const ShellExecuteRecorder::Call& call = shell.calls[0];
        EXPECT_TRUE(!call.owner && call.verb == "Open" && call.file == Gbk(c.target.c_str()) && call.noParams &&
                    call.noDir && call.show == SW_SHOWMAXIMIZED) << "opened " << call.file;
        shell.calls.clear();
    }
    // Disabled: greyed by the system in neither colour; an icon without a title is centred.
    HWND web = about.GetDlgItem(IDC_WEB_PAGE), chat = about.GetDlgItem(IDC_CHAT_FIRST);
    ::EnableWindow(web, FALSE);
    EXPECT_TRUE(Shows(web, shadow) && !Shows(web, kBlue) && !Shows(web, kRed));
    ::SetWindowTextA(chat, "");
    RECT r;
    ::GetClientRect(chat, &r);
    CRect icon = Ink(chat);
    EXPECT_EQ(icon.Width(), 16);
    EXPECT_NEAR(icon.left + icon.right, r.right, 1);
}

// Over the button it holds the capture and shows its hand; the first move outside ends both.
TEST_F(AboutTest, LinksFollowThePointer)
{
    CColorButton& web = about.m_btnWebPage;
    MoveMouseTo(On(IDC_WEB_PAGE, 5, 5));
    MoveMouseTo(On(IDC_WEB_PAGE, 60, 10));
    EXPECT_TRUE(web.IsMouseOver() && ::GetCapture() == web.m_hWnd);
    EXPECT_TRUE(web.GetButtonCursor() && ::GetCursor() == web.GetButtonCursor());
    MoveMouseTo(On(IDC_WEB_PAGE, -20, 5));
    EXPECT_FALSE(web.IsMouseOver() || ::GetCapture());
    // Pressed beside it and dragged over it: neither lit nor clicked.
    MouseDown();
    MoveMouseTo(On(IDC_WEB_PAGE));
    EXPECT_FALSE(web.IsMouseOver() || ::GetCapture() == web.m_hWnd);
    MouseUp();
    EXPECT_TRUE(shell.calls.empty());
    // Someone else's capture is left alone.
    MoveMouseTo(On(IDC_WEB_PAGE, 12, 6));
    ASSERT_EQ(::GetCapture(), web.m_hWnd);
    ::SetCapture(about);
    FlushMessages();
    EXPECT_EQ(::GetCapture(), about.m_hWnd);
    ::ReleaseCapture();
    // A double click is two clicks; losing the focus ends the hover.
    ClickAt(On(IDC_WEB_PAGE), 2);
    EXPECT_EQ(shell.calls.size(), 2u);
    ASSERT_TRUE(web.IsMouseOver() && ::GetFocus() == web.m_hWnd);
    ::SetFocus(about.GetDlgItem(IDOK));
    EXPECT_FALSE(web.IsMouseOver());
}

// The button (0) and each About command of the window menu open the box, modal over the main dialog; 0x20 is no
// About command. In its modal loop the pointer reaches the link's tooltip.
TEST_F(MainDialogTest, AboutOpensFromItsButtonAndWindowMenuAndShowsTips)
{
    Open();
    dlg.ShowWindow(SW_SHOW);
    for (UINT command : { 0x0, 0x10, 0x1F, 0x20 }) {
        SCOPED_TRACE(command);
        const bool opens = command != 0x20;
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
            CWnd* web = CWnd::FromHandlePermanent(::GetDlgItem(box, IDC_WEB_PAGE));
            HWND h = static_cast<CColorButton*>(web)->GetToolTip().m_hWnd;
            char text[128] = "";
            ::GetWindowTextA(h, text, sizeof text);
            tip = ::IsWindowVisible(h) && text == Gbk(L"访问我的博客http://www.example.org/tolvane/");
            return tip && ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        } }, opens ? 10000 : 300);
        if (command)
            dlg.SendMessage(WM_SYSCOMMAND, command);
        else
            Click(IDC_ABOUT);
        EXPECT_EQ(script.Done(), opens);
        EXPECT_EQ(box != nullptr, opens);
        EXPECT_TRUE(!opens || (disabled && tip));
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
