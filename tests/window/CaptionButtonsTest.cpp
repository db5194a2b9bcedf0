// The caption buttons, window dragging and the maker link, driven by real
// mouse messages, the real pointer and the dialog's real hover timer.
#include "CaptionFixture.h"
#include "framework/Seams.h"
#include <string>

namespace {

struct ShellCall { HWND owner; std::string verb, file; bool noParams, noDir; INT show; };

// Records ShellExecute for its lifetime instead of opening anything.
class ShellExecuteRecorder {
public:
    ShellExecuteRecorder() : m_previous(g_pfnShellExecute) { s_calls = &calls; g_pfnShellExecute = Record; }
    ~ShellExecuteRecorder() { g_pfnShellExecute = m_previous; s_calls = nullptr; }
    std::vector<ShellCall> calls;
private:
    static HINSTANCE WINAPI Record(HWND h, LPCSTR verb, LPCSTR file, LPCSTR params, LPCSTR dir, INT show)
    {
        s_calls->push_back({ h, verb ? verb : "", file ? file : "", params == nullptr, dir == nullptr, show });
        return (HINSTANCE)(INT_PTR)33;
    }
    static std::vector<ShellCall>* s_calls;
    HINSTANCE (WINAPI* m_previous)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
};
std::vector<ShellCall>* ShellExecuteRecorder::s_calls = nullptr;

int CountOf(const std::vector<UINT>& messages, UINT msg)
{
    int n = 0;
    for (UINT m : messages)
        n += m == msg;
    return n;
}

}  // namespace

TEST_F(CaptionDialogTest, HoverLightsEachButtonAndTheTimerLetsGoOffTheWindow)
{
    Repaint();
    struct Step { CPoint pt; int region; UINT bitmap; } steps[] = {
        { MinimizeCentre(), RegionMinimize, IDB_CAPTION_MIN_HOT },
        { MiddleCentre(), RegionMiddle, IDB_CAPTION_MID_HOT },
        { CloseCentre(), RegionClose, IDB_CAPTION_CLOSE_HOT },
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.region);
        BOOL titleFlag = dlg->m_bTitleAltColor;
        MoveTo(s.pt);
        EXPECT_EQ(dlg->m_nHover, s.region);
        dlg->UpdateWindow();
        EXPECT_EQ(ShownStrip(), s.bitmap);
        EXPECT_NE(dlg->m_bTitleAltColor, titleFlag) << "each hover change repaints, flipping the title colour";
    }

    // The pointer leaves the window straight from the close button: no mouse
    // message follows, the timer finds no region, repaints and stops.
    CRect win;
    dlg->GetWindowRect(&win);
    PointerTo(CPoint(win.right + 40, win.top + 6));
    ASSERT_TRUE(PumpUntil([&] { return dlg->m_nHover == RegionNone; }, 1000));
    dlg->UpdateWindow();
    EXPECT_EQ(ShownStrip(), IDB_CAPTION_NORMAL);
    MessageRecorder timers(*dlg, { WM_TIMER });
    PumpFor(200);
    EXPECT_EQ(CountOf(timers.messages, WM_TIMER), 0) << "timer 2 still runs";
}

TEST_F(CaptionDialogTest, Resting_on_the_caption_the_timer_ticks_without_repainting)
{
    Repaint();
    MoveTo(MinimizeCentre());
    // Onto the caption bar: mouse moves there leave the hover alone, the
    // next tick moves it.
    MoveTo(CaptionPoint());
    ASSERT_TRUE(PumpUntil([&] { return dlg->m_nHover == RegionCaption; }, 1000));
    dlg->UpdateWindow();
    EXPECT_EQ(ShownStrip(), IDB_CAPTION_NORMAL);

    // Five more ticks (about 50 ms; longer on a loaded machine), no repaint.
    MessageRecorder rec(*dlg, { WM_TIMER, WM_PAINT });
    EXPECT_TRUE(PumpUntil([&] { return CountOf(rec.messages, WM_TIMER) >= 5; }, 3000))
        << "timer 2 stopped over the caption";
    EXPECT_EQ(dlg->m_nHover, RegionCaption);
    EXPECT_EQ(CountOf(rec.messages, WM_PAINT), 0);
}

TEST_F(CaptionDialogTest, PressOnCloseAndSlideAwayKeepsTheDialogOpen)
{
    Repaint();
    MoveTo(CloseCentre());
    Press(CloseCentre());
    EXPECT_TRUE(dlg->m_bPressed);
    EXPECT_FALSE(dlg->m_bDragging);
    dlg->UpdateWindow();
    EXPECT_EQ(ShownStrip(), IDB_CAPTION_CLOSE_DOWN);

    CRect before;
    dlg->GetWindowRect(&before);
    MoveTo(CaptionPoint(), MK_LBUTTON);
    ASSERT_TRUE(PumpUntil([&] { return dlg->m_nHover == RegionCaption; }, 1000));
    dlg->UpdateWindow();
    EXPECT_EQ(ShownStrip(), IDB_CAPTION_NORMAL) << "still pressed, but not over the button";
    Release(CaptionPoint());
    FlushMessages();

    EXPECT_TRUE(dlg->IsWindowVisible());
    EXPECT_FALSE(dlg->m_bPressed);
    CRect after;
    dlg->GetWindowRect(&after);
    EXPECT_EQ(after, before) << "a press on close starts no move";
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(CaptionDialogTest, MiddleButtonPressesAndDoesNothingElse)
{
    Repaint();
    CRect start;
    dlg->GetWindowRect(&start);
    CPoint p = MiddleCentre();
    MoveTo(p);
    Press(p);
    dlg->UpdateWindow();
    EXPECT_EQ(ShownStrip(), IDB_CAPTION_MID_DOWN);
    EXPECT_TRUE(dlg->m_bDragging);
    EXPECT_EQ(::GetCapture(), dlg->m_hWnd);

    // Inside the button's rectangle the window stays put...
    MoveTo(CPoint(p.x + 3, p.y + 2), MK_LBUTTON);
    CRect inside;
    dlg->GetWindowRect(&inside);
    EXPECT_EQ(inside, start);
    // ...and catches up as soon as the pointer leaves it.
    MoveTo(CPoint(p.x, p.y + 30), MK_LBUTTON);
    CRect moved;
    dlg->GetWindowRect(&moved);
    EXPECT_EQ(moved, CRect(start.left, start.top + 30, start.right, start.bottom + 30));

    Release(p);
    FlushMessages();
    EXPECT_TRUE(dlg->IsWindowVisible());
    EXPECT_FALSE(::IsIconic(*dlg));
    EXPECT_FALSE(dlg->m_bDragging);
}

TEST_F(CaptionDialogTest, MinimizeButtonMinimizesTheDialog)
{
    Repaint();
    MoveTo(MinimizeCentre());
    Press(MinimizeCentre());
    dlg->UpdateWindow();
    EXPECT_EQ(ShownStrip(), IDB_CAPTION_MIN_DOWN);
    EXPECT_FALSE(dlg->m_bDragging);
    Release(MinimizeCentre());
    FlushMessages();
    EXPECT_TRUE(::IsIconic(*dlg));
    EXPECT_TRUE(::IsWindow(*dlg));
}

TEST_F(CaptionDialogTest, DragByTheLinkMovesTheWindowAndOpensThePageAtRelease)
{
    ShellExecuteRecorder shellExecute;
    Repaint();
    CRect link = dlg->m_rectLink;
    CPoint p((link.left + link.right) / 2, (link.top + link.bottom) / 2);
    MoveTo(p);
    EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, IDC_HAND)) << "the hand over the link";

    CRect start;
    dlg->GetWindowRect(&start);
    Press(p);
    EXPECT_EQ(dlg->m_nHover, RegionLink);
    CPoint screen = ToScreen(p);
    for (int step = 1; step <= 4; ++step) {
        PointerTo(CPoint(screen.x + 10 * step, screen.y + 6 * step));
        FlushMessages();
        CPoint now(screen.x + 10 * step, screen.y + 6 * step);
        dlg->ScreenToClient(&now);
        dlg->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(now.x, now.y));
    }
    CRect moved;
    dlg->GetWindowRect(&moved);
    EXPECT_EQ(moved, CRect(start.left + 40, start.top + 24, start.right + 40, start.bottom + 24));
    CPoint under(screen.x + 40, screen.y + 24);
    dlg->ScreenToClient(&under);
    EXPECT_EQ(dlg->CaptionHitTest(under), RegionLink) << "the pointer stays over the link";
    EXPECT_TRUE(shellExecute.calls.empty()) << "nothing opens before the release";

    Release(under);
    ASSERT_EQ(shellExecute.calls.size(), 1u);
    const ShellCall& c = shellExecute.calls[0];
    EXPECT_EQ(c.owner, dlg->m_hWnd);
    EXPECT_EQ(c.verb, "Open");
    EXPECT_EQ(c.file.rfind("http://", 0), 0u) << c.file;
    EXPECT_TRUE(c.noParams);
    EXPECT_TRUE(c.noDir);
    EXPECT_EQ(c.show, SW_SHOWMAXIMIZED);
    EXPECT_TRUE(dlg->IsWindowVisible());
}

TEST_F(CaptionDialogTest, MouseMovesKeepHandledButtonsEnabled)
{
    Repaint();
    HWND refresh = dlg->GetDlgItem(IDC_REFRESH);
    ::EnableWindow(refresh, FALSE);
    ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
    CPoint status(20, h - 10);
    ASSERT_EQ(dlg->CaptionHitTest(status), RegionStatus);
    MoveTo(status);
    EXPECT_TRUE(::IsWindowEnabled(refresh)) << "a button with a handler is enabled again";
    EXPECT_TRUE(::IsWindowEnabled(dlg->GetDlgItem(IDC_SET)));
    EXPECT_NE(::GetCursor(), ::LoadCursorA(nullptr, IDC_HAND)) << "the hand is for the link only";
}

// The modal run, as the program does it, ended by the caption's close button.
namespace {
CRefreshDlg* s_modal = nullptr;
int s_ticks = 0;

void CALLBACK ClickCloseButton(HWND, UINT, UINT_PTR id, DWORD)
{
    if (!s_modal->m_hWnd || !::IsWindowVisible(*s_modal))
        return;
    ++s_ticks;
    CRect rc;
    s_modal->GetClientRect(&rc);
    CPoint close(rc.Width() - 14, 6);
    if (s_ticks == 1) {
        s_modal->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(close.x, close.y));
        s_modal->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(close.x, close.y));
    } else if (s_ticks > 20) {
        ::KillTimer(nullptr, id);
        s_modal->EndDialog(-5);  // the close button failed; don't hang the run
    }
}
}  // namespace

TEST(CaptionCloseButton, EndsTheModalRunWithCancelAndGivesEveryReferenceBack)
{
    FakeLog log;
    FakeShellWindows shell(&log);
    FakeBrowser* a = shell.Add(L"页面一", "A");
    FakeBrowser* b = shell.Add(L"页面二", "B");
    ScopedShellFactory factory(&shell);
    MessageBoxRecorder boxes;
    {
        CRefreshDlg dlg;
        s_modal = &dlg;
        s_ticks = 0;
        UINT_PTR timer = ::SetTimer(nullptr, 0, 50, ClickCloseButton);
        INT_PTR result = dlg.DoModal();
        ::KillTimer(nullptr, timer);
        s_modal = nullptr;

        EXPECT_EQ(result, IDCANCEL);
        EXPECT_TRUE(boxes.boxes.empty());
        // The rows' references went with the window; the collection is kept
        // until the dialog object goes, since the shut-down was not run.
        EXPECT_EQ(a->refs, 1);
        EXPECT_EQ(b->refs, 1);
        EXPECT_EQ(a->addRefs, a->releases);
        EXPECT_TRUE(dlg.m_pShellWindows != nullptr);
        EXPECT_EQ(shell.refs, 2);
    }
    EXPECT_EQ(shell.refs, 1);
}
