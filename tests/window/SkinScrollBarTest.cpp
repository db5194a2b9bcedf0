// The skinned scroll bars against a real list: thumb position, drawing, and
// the real mouse (SendInput through the message loop) with the bars' timers.
#include "ListHost.h"
#include "MouseInput.h"
#include "controls/SkinHScrollBar.h"
#include "controls/SkinVScrollBar.h"
#include <cmath>

namespace {

ScrollCall V(UINT code) { return { WM_VSCROLL, code, 0 }; }
ScrollCall H(UINT code) { return { WM_HSCROLL, code, 0 }; }

// Whether the bar still has timer `id` (KillTimer says so, and stops it).
bool HadTimer(HWND hBar, UINT_PTR id) { return ::KillTimer(hBar, id) != FALSE; }

int CountOf(const std::vector<ScrollCall>& calls, const ScrollCall& c)
{
    int n = 0;
    for (const auto& x : calls)
        n += x == c;
    return n;
}

// Inside a box's own loop: notes the list's position, a second later notes
// it again and closes the box.
HWND s_boxList;
DWORD s_boxSamples[2];

void CALLBACK SampleAgainAndClose(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    s_boxSamples[1] = (DWORD)::GetScrollPos(s_boxList, SB_VERT);
    if (HWND box = ::FindWindowA("#32770", "veskar-test"))
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
}

void CALLBACK SampleInsideTheBox(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    s_boxSamples[0] = (DWORD)::GetScrollPos(s_boxList, SB_VERT);
    ::SetTimer(nullptr, 0, 1000, SampleAgainAndClose);
}

// Where the pointer rests between actions: off every window of the test.
POINT Away() { return { ::GetSystemMetrics(SM_CXSCREEN) - 5, ::GetSystemMetrics(SM_CYSCREEN) - 5 }; }

// A list scrolled into the middle both ways, its scroll requests recorded
// from then on, and the pointer let go of and parked however a test ends.
class BarHost : public ListHost {
public:
    BarHost(int rows = 200, int width = 2000) : ListHost(rows, width)
    {
        MoveMouseTo(Away());
        Centre();
        Record();
    }
    ~BarHost()
    {
        MoveMouseTo(Away());
        MouseUpIfDown();
    }
    void Centre()
    {
        // Wine's list view ignores SB_TOP and SB_LEFT.
        list.Scroll(-(1 << 20), -(1 << 20));
        list.Scroll(0, (ListHost::Rows() / 2) * 16);
        list.Scroll(ListHost::Width() / 3, 0);
        list.m_vScroll.UpdateThumb();
        list.m_hScroll.UpdateThumb();
        FlushMessages();
        calls.clear();
    }
    CSkinVScrollBar& v() { return list.m_vScroll; }
    CSkinHScrollBar& h() { return list.m_hScroll; }
    // A client point of a bar on the screen.
    static POINT At(const CWnd& bar, int x, int y) { return ScreenPoint(bar.m_hWnd, x, y); }
};

}  // namespace

// The thumb follows the list for list sizes from empty to many pages, at the
// top, in the middle and at the end.
TEST(SkinScrollBar, ThumbFollowsTheListsPosition)
{
    struct Case { int rows; int width; };
    const Case cases[] = { { 0, 50 }, { 1, 100 }, { 12, 300 }, { 40, 700 }, { 500, 3000 } };
    for (const Case& c : cases) {
        ListHost h(c.rows, c.width);
        const int page = h.list.GetCountPerPage();
        for (int step = 0; step < 3; ++step) {
            // top, middle, end
            h.list.Scroll(-(1 << 20), -(1 << 20));  // Wine ignores SB_TOP and SB_LEFT
            if (step == 1) {
                h.list.Scroll(0, (c.rows / 2) * 16);
                h.list.Scroll(c.width / 2, 0);
            } else if (step == 2) {
                h.list.Scroll(0, 1 << 20);
                h.list.Scroll(1 << 20, 0);
            }
            h.list.m_vScroll.UpdateThumb();
            h.list.m_hScroll.UpdateThumb();
            SCOPED_TRACE(testing::Message() << "rows " << c.rows << " (page " << page << "), width "
                         << c.width << ", step " << step << ", vpos " << h.VPos() << ", hpos " << h.HPos());
            EXPECT_EQ(h.list.m_vScroll.m_nThumbPos, ExpectedThumb(h.list, h.list.m_vScroll, true));
            EXPECT_EQ(h.list.m_hScroll.m_nThumbPos, ExpectedThumb(h.list, h.list.m_hScroll, false));
            const int vh = Extent(h.list.m_vScroll, true), hw = Extent(h.list.m_hScroll, false);
            if (step == 0) {
                EXPECT_EQ(h.list.m_vScroll.m_nThumbPos, 41);
                EXPECT_EQ(h.list.m_hScroll.m_nThumbPos, 34);
            } else if (step == 2 && c.rows > page) {
                EXPECT_EQ(h.list.m_vScroll.m_nThumbPos, vh - 67);
            }
            if (step == 2 && c.width > 360) {
                EXPECT_EQ(h.list.m_hScroll.m_nThumbPos, hw - 69);
            }
        }
    }
}


TEST(SkinScrollBar, DrawsEveryPieceWhereItBelongs)
{
    ListHost h(200, 2000);
    h.list.Scroll(0, 50 * 16);
    h.list.Scroll(600, 0);
    CSkinVScrollBar& v = h.list.m_vScroll;
    CSkinHScrollBar& hz = h.list.m_hScroll;
    v.UpdateThumb();
    hz.UpdateThumb();
    const int vh = Extent(v, true), t = v.m_nThumbPos;
    ASSERT_GT(t, 60);
    ASSERT_LT(t, vh - 90);
    ExpectPiece(v, 356, { 0, 0 }, { 0, 0, 15, 16 }, "top cap");
    ExpectPiece(v, 146, { 0, 16 }, { 0, 16, 15, 42 }, "up arrow");
    ExpectPiece(v, 150, { 0, 42 }, { 0, 42, 15, 43 }, "track below the up arrow");
    ExpectPiece(v, 150, { 0, t - 1 }, { 0, t - 1, 15, t }, "track above the thumb");
    ExpectPiece(v, 148, { 0, t }, { 0, t, 15, t + 26 }, "thumb");
    ExpectPiece(v, 150, { 0, t + 26 }, { 0, t + 26, 15, t + 27 }, "track below the thumb");
    ExpectPiece(v, 151, { 0, vh - 42 }, { 0, vh - 42, 15, vh - 16 }, "down arrow");
    ExpectPiece(v, 357, { 1, vh - 16 }, { 1, vh - 16, 15, vh }, "corner");

    const int hw = Extent(hz, false), u = hz.m_nThumbPos;
    ASSERT_GT(u, 50);
    ASSERT_LT(u, hw - 90);
    ExpectPiece(hz, 158, { 0, 0 }, { 0, 0, 35, 16 }, "left arrow");
    ExpectPiece(hz, 153, { 35, 0 }, { 35, 0, 36, 16 }, "track");
    ExpectPiece(hz, 152, { u, 0 }, { u, 0, u + 35, 16 }, "thumb");
    ExpectPiece(hz, 153, { u + 35, 0 }, { u + 35, 0, u + 36, 16 }, "track after the thumb");
    ExpectPiece(hz, 154, { hw - 35, 0 }, { hw - 35, 0, hw, 16 }, "right arrow");
}

// A click in the track pages once toward the pointer, on release only.
TEST(SkinScrollBar, TrackClickPagesOnceOnRelease)
{
    BarHost host;
    struct Case { CSkinScrollBar* bar; bool vertical; int offset; ScrollCall want; };
    const Case cases[] = {
        { &host.v(), true, -10, V(SB_PAGEUP) },
        { &host.v(), true, 40, V(SB_PAGEDOWN) },
        { &host.h(), false, -10, H(SB_PAGELEFT) },
        { &host.h(), false, 45, H(SB_PAGERIGHT) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.want);
        const int t = c.bar->m_nThumbPos;
        const POINT p = BarHost::At(*c.bar, c.vertical ? 7 : t + c.offset, c.vertical ? t + c.offset : 8);
        MoveMouseTo(p);
        MouseDown();
        EXPECT_EQ(::GetCapture(), c.bar->m_hWnd);
        EXPECT_TRUE(host.Take().empty()) << "a press does not scroll";
        MouseUp();
        EXPECT_EQ(host.Take(), std::vector<ScrollCall>{ c.want });
        EXPECT_EQ(::GetCapture(), nullptr);
        EXPECT_FALSE(HadTimer(*c.bar, 1));
        EXPECT_FALSE(HadTimer(*c.bar, 2));
        EXPECT_EQ(c.bar->m_nThumbPos, ExpectedThumb(host.list, *c.bar, c.vertical)) << "the thumb follows";
    }
}

// A press and release anywhere on a drawn arrow is one line step, with no
// timer left behind; anywhere on the drawn thumb it starts a drag.
TEST(SkinScrollBar, ArrowsAndThumbAnswerWhereverTheyAreDrawn)
{
    BarHost host;
    const int vh = Extent(host.v(), true), hw = Extent(host.h(), false);
    // The horizontal bar's top row lies under the list's last one: that row
    // is the list's. Its last column stands over the vertical bar.
    struct Arrow { CSkinScrollBar* bar; RECT drawn; ScrollCall step; };
    const Arrow arrows[] = {
        { &host.v(), { 0, 16, 15, 42 }, V(SB_LINEUP) },
        { &host.v(), { 0, vh - 42, 15, vh - 16 }, V(SB_LINEDOWN) },
        { &host.h(), { 0, 1, 35, 16 }, H(SB_LINELEFT) },
        { &host.h(), { hw - 35, 1, hw, 16 }, H(SB_LINERIGHT) },
        { &host.h(), { hw - 1, 1, hw, 16 }, H(SB_LINERIGHT) },
    };
    for (const Arrow& a : arrows) {
        SCOPED_TRACE(a.step);
        for (int y = a.drawn.top; y < a.drawn.bottom; y += 4) {
            for (int x = a.drawn.left; x < a.drawn.right; x += 4) {
                ClickAt(BarHost::At(*a.bar, x, y));
                ASSERT_EQ(host.Take(), std::vector<ScrollCall>{ a.step }) << "at (" << x << ", " << y << ")";
                ASSERT_FALSE(HadTimer(*a.bar, 1));
                ASSERT_FALSE(HadTimer(*a.bar, 2));
            }
        }
        host.Centre();
    }

    // Every 4th pixel along the thumb, near both of its long edges.
    struct Thumb { CSkinScrollBar* bar; bool vertical; int length; int across[2]; };
    for (const Thumb& t : { Thumb{ &host.v(), true, 26, { 0, 14 } }, Thumb{ &host.h(), false, 35, { 1, 15 } } }) {
        for (int along = 0; along < t.length; along += 4) {
            for (int across : t.across) {
                SCOPED_TRACE(testing::Message() << (t.vertical ? "vertical" : "horizontal") << " thumb, "
                                                << along << " along, " << across << " across");
                const int thumb = t.bar->m_nThumbPos;
                const POINT p = t.vertical ? BarHost::At(*t.bar, across, thumb + along)
                                           : BarHost::At(*t.bar, thumb + along, across);
                MoveMouseTo(p);
                MouseDown();
                MoveMouseTo(t.vertical ? POINT{ p.x, p.y + 20 } : POINT{ p.x + 20, p.y });
                std::vector<ScrollCall> dragged = host.Take();
                ASSERT_FALSE(dragged.empty()) << "a move after the press drags";
                for (const ScrollCall& c : dragged)
                    EXPECT_EQ(c.msg, (UINT)LVM_SCROLL) << c;
                MoveMouseTo(p);  // and back, released on the thumb: no page
                MouseUp();
                host.Take();
            }
        }
    }
}

// Holding an arrow: nothing until the delay timer, then one step per tick of
// the repeat timer, and one more on release; then nothing. Steps are counted
// against the bar's own timer messages, so a loaded machine (fewer ticks)
// cannot fail it.
TEST(SkinScrollBar, HeldArrowRepeatsAfterTheDelayAndStepsOnRelease)
{
    BarHost host(1000, 20000);
    const int vh = Extent(host.v(), true), hw = Extent(host.h(), false);
    struct Case { CSkinScrollBar* bar; POINT pt; ScrollCall step; };
    const Case cases[] = {
        { &host.v(), { 7, vh - 30 }, V(SB_LINEDOWN) },
        { &host.v(), { 7, 30 }, V(SB_LINEUP) },
        { &host.h(), { hw - 10, 8 }, H(SB_LINERIGHT) },
        { &host.h(), { 10, 8 }, H(SB_LINELEFT) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        MessageRecorder timers(*c.bar, { WM_TIMER });
        MoveMouseTo(BarHost::At(*c.bar, c.pt.x, c.pt.y));
        const DWORD pressed = ::GetTickCount();
        MouseDown();
        ASSERT_TRUE(PumpUntil([&] { return !host.calls.empty(); }, 2000));
        EXPECT_GE(::GetTickCount() - pressed, 250u) << "no step before the delay";
        host.Take();
        const DWORD start = ::GetTickCount();
        timers.Clear();
        ASSERT_TRUE(PumpUntil([&] { return host.calls.size() >= 5; }, 3000));
        const DWORD elapsed = ::GetTickCount() - start;
        const std::vector<ScrollCall> repeats = host.Take();
        EXPECT_EQ(CountOf(repeats, c.step), (int)repeats.size());
        EXPECT_GE(timers.messages.size(), repeats.size()) << "one step per tick at most";
        EXPECT_GE(elapsed, 45u * 4) << "ticks at least 50 ms apart";
        MouseUp();
        EXPECT_EQ(host.Take(), std::vector<ScrollCall>{ c.step }) << "one more step on release";
        PumpFor(150);
        EXPECT_TRUE(host.Take().empty()) << "the repeat has stopped";
        EXPECT_FALSE(HadTimer(*c.bar, 1));
        host.Centre();
    }
}

// The horizontal bar steps on a release over an arrow wherever the press
// was; the vertical bar only after a press on that arrow, and otherwise pages.
TEST(SkinScrollBar, ReleaseOverAnArrowAfterPressElsewhere)
{
    BarHost host;
    const int vh = Extent(host.v(), true), hw = Extent(host.h(), false);
    struct Case { CSkinScrollBar* bar; POINT press, release; ScrollCall want; };
    const Case cases[] = {
        { &host.h(), { host.h().m_nThumbPos + 50, 8 }, { hw - 10, 8 }, H(SB_LINERIGHT) },
        { &host.h(), { host.h().m_nThumbPos + 50, 8 }, { 30, 12 }, H(SB_LINELEFT) },
        { &host.v(), { 7, host.v().m_nThumbPos + 40 }, { 7, vh - 20 }, V(SB_PAGEDOWN) },
        { &host.v(), { 7, host.v().m_nThumbPos - 10 }, { 7, 20 }, V(SB_PAGEUP) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.want);
        MoveMouseTo(BarHost::At(*c.bar, c.press.x, c.press.y));
        MouseDown();
        MoveMouseTo(BarHost::At(*c.bar, c.release.x, c.release.y));
        MouseUp();
        EXPECT_EQ(host.Take(), std::vector<ScrollCall>{ c.want });
        host.Centre();
    }
}

// Dragging the thumb scrolls by the thumb's offset from the track's start:
// in 16-pixel rows vertically and in pixels horizontally. A release ends the
// drag where the thumb then stands, beside it or past its end, without a
// page.
TEST(SkinScrollBar, ThumbDragScrollsTheListAndItsReleaseNeverPages)
{
    ListHost h(200, 3000);
    h.Record();
    CSkinVScrollBar& v = h.list.m_vScroll;
    CSkinHScrollBar& hz = h.list.m_hScroll;
    const int vh = Extent(v, true);
    const int limitV = CSkinScrollBar::ScrollLimit(h.list, SB_VERT);

    MoveMouseTo(BarHost::At(v, 7, v.m_nThumbPos + 5));
    MouseDown();
    const int y = 120;
    int target = (int)((y - 16 - 26) / ((double)(vh - 84) / limitV));
    MoveMouseTo(BarHost::At(v, 7, y));
    EXPECT_EQ(h.Take(), (std::vector<ScrollCall>{ { LVM_SCROLL, 0, (LPARAM)(target * 16) } }));
    EXPECT_EQ(v.m_nThumbPos, y - 16) << "the thumb follows the pointer";
    const int rowsNow = h.VPos();
    EXPECT_NEAR(rowsNow, target, target / 8 + 1) << "row height vs 16 pixels";
    // Back up a little: the scroll is relative to where the list now stands.
    MoveMouseTo(BarHost::At(v, 7, y - 30));
    target = (int)((y - 30 - 16 - 26) / ((double)(vh - 84) / limitV));
    EXPECT_EQ(h.Take(), (std::vector<ScrollCall>{ { LVM_SCROLL, 0, (LPARAM)((target - rowsNow) * 16) } }));
    // Pointer far above: the thumb stops at its lowest position.
    MoveMouseTo(BarHost::At(v, 7, -40));
    h.Take();
    EXPECT_EQ(v.m_nThumbPos, 41);
    MoveMouseTo(BarHost::At(v, 7, 150));
    h.Take();

    // Released beside the bar, 3 and 10 pixels off its side: the list stays
    // where the drag left it, though the thumb is then put back where the
    // list's own position says (rows are taken as 16 pixels high, so each
    // move of a drag may also scroll a little).
    for (int off : { 3, 10 }) {
        SCOPED_TRACE(off);
        MoveMouseTo(BarHost::At(v, 7, v.m_nThumbPos + 5));
        MouseDown();
        MoveMouseTo(BarHost::At(v, 7, 120 + 4 * off));
        MoveMouseTo(BarHost::At(v, 15 + off, 120 + 4 * off));
        h.Take();
        const int before = h.VPos();
        MouseUp();
        EXPECT_EQ(h.VPos(), before);
        EXPECT_TRUE(h.Take().empty());
    }

    const int hw = Extent(hz, false);
    const int limitH = CSkinScrollBar::ScrollLimit(h.list, SB_HORZ);
    h.Take();
    MoveMouseTo(BarHost::At(hz, hz.m_nThumbPos + 5, 8));
    MouseDown();
    const int x = 150;
    target = (int)((x - 17 - 34) / ((double)(hw - 86) / limitH));
    MoveMouseTo(BarHost::At(hz, x, 8));
    EXPECT_EQ(h.Take(), (std::vector<ScrollCall>{ { LVM_SCROLL, (WPARAM)target, 0 } }));
    EXPECT_EQ(h.HPos(), target);
    MoveMouseTo(BarHost::At(hz, x + 10, 30));  // off the bar: the drag goes on under capture
    EXPECT_EQ(h.Take().size(), 1u);
    h.Take();
    const int across = h.HPos();
    MouseUp();
    EXPECT_TRUE(h.Take().empty()) << "released below the bar: no page";
    EXPECT_EQ(h.HPos(), across);
    MoveMouseTo(Away());
}

// The second press of a quick pair arrives as a double click; it is a press.
TEST(SkinScrollBar, DoubleClickIsTwoPresses)
{
    BarHost host;
    const int vh = Extent(host.v(), true), hw = Extent(host.h(), false);
    struct Case { CSkinScrollBar* bar; POINT pt; ScrollCall step; };
    const Case cases[] = {
        { &host.v(), { 7, 30 }, V(SB_LINEUP) },
        { &host.v(), { 7, vh - 30 }, V(SB_LINEDOWN) },
        { &host.h(), { 17, 8 }, H(SB_LINELEFT) },
        { &host.h(), { hw - 17, 8 }, H(SB_LINERIGHT) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        MessageRecorder clicks(*c.bar, { WM_LBUTTONDBLCLK });
        ClickAt(BarHost::At(*c.bar, c.pt.x, c.pt.y), 2);
        ASSERT_EQ(clicks.messages.size(), 1u) << "the system made it a double click";
        EXPECT_EQ(host.Take(), (std::vector<ScrollCall>{ c.step, c.step }));
        EXPECT_FALSE(HadTimer(*c.bar, 2));
    }

    // A double click on the thumb, held, then moved: the thumb is dragged.
    const POINT grab = BarHost::At(host.v(), 7, host.v().m_nThumbPos + 5);
    ClickAt(grab);
    MouseDown();
    MoveMouseTo({ grab.x, grab.y + 30 });
    std::vector<ScrollCall> dragged = host.Take();
    ASSERT_EQ(dragged.size(), 1u);
    EXPECT_EQ(dragged[0].msg, (UINT)LVM_SCROLL);
    MouseUp();
}

// Held arrows and drags end when the bar loses the mouse: to another
// window's SetCapture, or to a box opened while the button is down. The list
// then stays put, and later moves over the bar drag nothing.
TEST(SkinScrollBar, LosingTheMouseStopsRepeatAndDrag)
{
    BarHost host(1000, 20000);
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, "STATIC", "", WS_POPUP, CRect(600, 600, 620, 620), nullptr, 0));
    const int vh = Extent(host.v(), true);
    const POINT arrow = BarHost::At(host.v(), 7, vh - 30);

    struct Thief { const char* name; void (*take)(HWND owner, HWND other); };
    const Thief thieves[] = {
        { "SetCapture from another window", [](HWND, HWND hOther) { ::SetCapture(hOther); } },
        { "a box opened by a timer", [](HWND owner, HWND) {
              s_boxList = ::GetDlgItem(owner, 1003);
              ::SetTimer(nullptr, 0, 100, SampleInsideTheBox);
              ::MessageBoxA(owner, "box", "veskar-test", MB_OK);
          } },
    };
    for (const Thief& t : thieves) {
        SCOPED_TRACE(t.name);
        MoveMouseTo(arrow);
        MouseDown();
        ASSERT_TRUE(PumpUntil([&] { return host.calls.size() >= 3; }, 3000)) << "repeating";
        s_boxSamples[0] = s_boxSamples[1] = (DWORD)-1;
        t.take(host.host, other);
        const int now = host.VPos();
        PumpFor(1000);
        if (s_boxSamples[0] != (DWORD)-1) {
            EXPECT_EQ(s_boxSamples[1], s_boxSamples[0]) << "the list moved while the box was up";
        }
        EXPECT_EQ(host.VPos(), now) << "the list moved after the bar lost the mouse";
        EXPECT_FALSE(HadTimer(host.v(), 1));
        EXPECT_FALSE(HadTimer(host.v(), 2));
        ::ReleaseCapture();
        MoveMouseTo(Away());
        MouseUp();
        host.Centre();
    }

    // A drag that loses the mouse: moves over the bar afterwards drag nothing.
    MoveMouseTo(BarHost::At(host.v(), 7, host.v().m_nThumbPos + 5));
    MouseDown();
    ::SetCapture(other);
    MoveMouseTo(Away());
    MouseUp();
    host.Take();
    MoveMouseTo(BarHost::At(host.v(), 7, 100));
    MoveMouseTo(BarHost::At(host.v(), 7, 160));
    EXPECT_TRUE(host.Take().empty());
    other.DestroyWindow();
}

TEST(SkinScrollBar, RedrawsLeaveNoGdiObjectsBehind)
{
    ListHost h(200, 2000);
    h.list.m_vScroll.UpdateThumb();
    h.list.m_hScroll.UpdateThumb();
    DWORD before = GdiObjects();
    for (int i = 0; i < 1000; ++i) {
        h.list.m_vScroll.UpdateThumb();
        h.list.m_hScroll.DrawBar();
    }
    EXPECT_EQ(GdiObjects(), before);
}
