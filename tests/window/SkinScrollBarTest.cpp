// The skinned scroll bars against a real list: thumb position, drawing,
// and the mouse with its timers.
#include "ListHost.h"
#include "controls/SkinHScrollBar.h"
#include "controls/SkinVScrollBar.h"
#include <cmath>

namespace {

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

void Press(CWnd& bar, int x, int y) { bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(x, y)); }
void Move(CWnd& bar, int x, int y) { bar.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(x, y)); }
void Release(CWnd& bar, int x, int y) { bar.SendMessage(WM_LBUTTONUP, 0, At(x, y)); }

ScrollCall V(UINT code) { return { WM_VSCROLL, code, 0 }; }
ScrollCall H(UINT code) { return { WM_HSCROLL, code, 0 }; }
std::vector<ScrollCall> ListScroll(int dx, int dy) { return { { LVM_SCROLL, (WPARAM)dx, (LPARAM)dy } }; }

// Whether the bar still has timer `id` (KillTimer says so, and stops it).
bool HadTimer(HWND hBar, UINT_PTR id) { return ::KillTimer(hBar, id) != FALSE; }

int CountOf(const std::vector<ScrollCall>& calls, const ScrollCall& c)
{
    int n = 0;
    for (const auto& x : calls)
        n += x == c;
    return n;
}

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
            h.list.SendMessage(WM_VSCROLL, SB_TOP, 0);
            h.list.SendMessage(WM_HSCROLL, SB_LEFT, 0);
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
    ListHost h(200, 2000);
    h.list.Scroll(0, 80 * 16);
    h.list.Scroll(900, 0);
    h.list.m_vScroll.UpdateThumb();
    h.list.m_hScroll.UpdateThumb();
    h.Record();

    struct Case { CSkinScrollBar* bar; bool vertical; int offset; ScrollCall want; };
    const Case cases[] = {
        { &h.list.m_vScroll, true, -10, V(SB_PAGEUP) },
        { &h.list.m_vScroll, true, 40, V(SB_PAGEDOWN) },
        { &h.list.m_hScroll, false, -10, H(SB_PAGELEFT) },
        { &h.list.m_hScroll, false, 45, H(SB_PAGERIGHT) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.want);
        int t = c.bar->m_nThumbPos;
        int x = c.vertical ? 5 : t + c.offset, y = c.vertical ? t + c.offset : 8;
        Press(*c.bar, x, y);
        EXPECT_EQ(::GetCapture(), c.bar->m_hWnd);
        EXPECT_TRUE(h.Take().empty()) << "a press does not scroll";
        Release(*c.bar, x, y);
        EXPECT_EQ(h.Take(), std::vector<ScrollCall>{ c.want });
        EXPECT_EQ(::GetCapture(), nullptr);
        EXPECT_FALSE(HadTimer(*c.bar, 1));
        EXPECT_FALSE(HadTimer(*c.bar, 2));
        EXPECT_EQ(c.bar->m_nThumbPos, ExpectedThumb(h.list, *c.bar, c.vertical)) << "the thumb follows";
    }
}

// Holding an arrow: nothing before 250 ms, then one step every 50 ms, and
// one more on release. Wine's timers are not exact, so the counts are ranges.
TEST(SkinScrollBar, HeldArrowRepeatsAfterDelayAndStepsOnRelease)
{
    ListHost h(1000, 20000);
    h.list.Scroll(0, 500 * 16);
    h.list.Scroll(10000, 0);
    h.list.m_vScroll.UpdateThumb();
    h.list.m_hScroll.UpdateThumb();
    h.Record();

    struct Case { CSkinScrollBar* bar; POINT pt; ScrollCall step; };
    const int vh = Extent(h.list.m_vScroll, true), hw = Extent(h.list.m_hScroll, false);
    const Case cases[] = {
        { &h.list.m_vScroll, { 5, vh - 10 }, V(SB_LINEDOWN) },
        { &h.list.m_vScroll, { 5, 22 }, V(SB_LINEUP) },
        { &h.list.m_hScroll, { hw - 10, 8 }, H(SB_LINERIGHT) },
        { &h.list.m_hScroll, { 10, 8 }, H(SB_LINELEFT) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        DWORD start = ::GetTickCount();
        Press(*c.bar, c.pt.x, c.pt.y);
        PumpFor(180);
        EXPECT_TRUE(h.Take().empty()) << "no step before the delay";
        bool stepped = PumpUntil([&] { return !h.calls.empty(); }, 400);
        DWORD first = ::GetTickCount() - start;
        EXPECT_TRUE(stepped);
        EXPECT_GE(first, 250u);
        h.Take();
        // Every step also repaints the list and both bars, which under Wine
        // (loading their bitmaps takes about 1 ms each) and far more under an
        // emulated 32-bit Wine can outlast a tick, so fewer steps get through
        // than the ten a half second gives on Windows. What must hold: the
        // steps go on while the arrow is held, never faster than the timer.
        DWORD from = ::GetTickCount();
        PumpUntil([&] { return h.calls.size() >= 3; }, 3000);
        DWORD took = ::GetTickCount() - from;
        std::vector<ScrollCall> repeats = h.Take();
        EXPECT_GE(repeats.size(), 3u) << "it keeps stepping while held";
        EXPECT_LE(repeats.size(), took / 50 + 2) << "about one step per 50 ms, " << took << " ms";
        EXPECT_EQ(CountOf(repeats, c.step), (int)repeats.size());
        Release(*c.bar, c.pt.x, c.pt.y);
        EXPECT_EQ(h.Take(), std::vector<ScrollCall>{ c.step }) << "one more step on release";
        PumpFor(150);
        EXPECT_TRUE(h.Take().empty()) << "the repeat has stopped";
        EXPECT_FALSE(HadTimer(*c.bar, 1));
    }
}

TEST(SkinScrollBar, QuickArrowClickStepsOnceAndLeavesNoTimer)
{
    ListHost h(200, 2000);
    h.list.Scroll(0, 50 * 16);
    h.list.m_vScroll.UpdateThumb();
    h.Record();
    CSkinVScrollBar& v = h.list.m_vScroll;
    const int vh = Extent(v, true);
    Press(v, 5, vh - 10);
    PumpFor(100);
    Release(v, 5, vh - 10);
    EXPECT_EQ(h.Take(), std::vector<ScrollCall>{ V(SB_LINEDOWN) });
    EXPECT_FALSE(HadTimer(v, 1));
    EXPECT_FALSE(HadTimer(v, 2));
    PumpFor(400);
    EXPECT_TRUE(h.Take().empty());
}

// The horizontal bar steps on a release over an arrow wherever the press
// was; the vertical bar only after a press on that arrow, and otherwise pages.
TEST(SkinScrollBar, ReleaseOverAnArrowAfterPressElsewhere)
{
    ListHost h(200, 2000);
    h.list.Scroll(0, 50 * 16);
    h.list.Scroll(600, 0);
    h.list.m_vScroll.UpdateThumb();
    h.list.m_hScroll.UpdateThumb();
    h.Record();
    CSkinVScrollBar& v = h.list.m_vScroll;
    CSkinHScrollBar& hz = h.list.m_hScroll;
    const int vh = Extent(v, true), hw = Extent(hz, false);

    Press(hz, hz.m_nThumbPos + 50, 8);
    Release(hz, hw - 10, 8);
    EXPECT_EQ(h.Take(), std::vector<ScrollCall>{ H(SB_LINERIGHT) });
    Press(hz, hz.m_nThumbPos + 50, 8);
    Release(hz, 10, 18);  // the release region of the left arrow is taller than the drawing
    EXPECT_EQ(h.Take(), std::vector<ScrollCall>{ H(SB_LINELEFT) });

    Press(v, 5, v.m_nThumbPos + 40);
    Release(v, 5, vh - 10);
    EXPECT_EQ(h.Take(), std::vector<ScrollCall>{ V(SB_PAGEDOWN) });
    Press(v, 5, v.m_nThumbPos - 10);
    Release(v, 5, 22);
    EXPECT_EQ(h.Take(), std::vector<ScrollCall>{ V(SB_PAGEUP) });
}

// Dragging the thumb scrolls by the thumb's offset from the track's start:
// in 16-pixel rows vertically and in pixels horizontally.
TEST(SkinScrollBar, ThumbDragScrollsTheList)
{
    ListHost h(200, 3000);
    h.Record();
    CSkinVScrollBar& v = h.list.m_vScroll;
    CSkinHScrollBar& hz = h.list.m_hScroll;
    const int vh = Extent(v, true), hw = Extent(hz, false);

    Press(v, 5, v.m_nThumbPos + 5);
    ASSERT_TRUE(v.m_bThumbGrabbed);
    const int limitV = CSkinScrollBar::ScrollLimit(h.list, SB_VERT);
    const int y = 120;
    int target = (int)((y - 16 - 26) / ((double)(vh - 84) / limitV));
    Move(v, 5, y);
    EXPECT_EQ(h.Take(), ListScroll(0, target * 16));
    EXPECT_EQ(v.m_nThumbPos, y - 16) << "the thumb follows the pointer";
    const int rowsNow = h.VPos();
    EXPECT_NEAR(rowsNow, target, target / 8 + 1) << "row height vs 16 pixels";
    // Back up a little: the scroll is relative to where the list now stands.
    Move(v, 5, y - 30);
    target = (int)((y - 30 - 16 - 26) / ((double)(vh - 84) / limitV));
    EXPECT_EQ(h.Take(), ListScroll(0, (target - rowsNow) * 16));
    // Pointer far above: the thumb stops at its lowest position.
    Move(v, 5, 0);
    h.Take();
    EXPECT_EQ(v.m_nThumbPos, 41);
    Release(v, 5, v.m_nThumbPos + 3);
    EXPECT_TRUE(h.Take().empty()) << "released on the thumb: no page";
    EXPECT_FALSE(v.m_bThumbGrabbed);

    Press(hz, hz.m_nThumbPos + 5, 8);
    const int limitH = CSkinScrollBar::ScrollLimit(h.list, SB_HORZ);
    const int x = 150;
    target = (int)((x - 17 - 34) / ((double)(hw - 86) / limitH));
    Move(hz, x, 8);
    EXPECT_EQ(h.Take(), ListScroll(target, 0));
    EXPECT_EQ(h.HPos(), target);
    Move(hz, x + 10, 30);  // off the bar: the drag goes on under capture
    EXPECT_EQ(h.Take().size(), 1u);
    // Released away from where the thumb settles: one page toward the pointer.
    Release(hz, ExpectedThumb(h.list, hz, false) + 80, 8);
    EXPECT_EQ(h.Take(), std::vector<ScrollCall>{ H(SB_PAGERIGHT) });
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
