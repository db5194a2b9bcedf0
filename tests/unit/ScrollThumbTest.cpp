// Thumb arithmetic of the skinned scroll bars.
#include "controls/SkinHScrollBar.h"
#include "controls/SkinVScrollBar.h"
#include <gtest/gtest.h>

TEST(ScrollThumb, PositionFromTheListsScrollPosition)
{
    struct Case { bool vertical; int extent, pos, limit, thumb; const char* what; };
    const Case cases[] = {
        { true, 241, 0, 100, 41, "top: the base lies under the lowest position" },
        { true, 241, 5, 100, 41, "first positions stay at the lowest" },
        { true, 241, 50, 100, 104, "middle: 157 / 100 * 50 = 78.5 truncates" },
        { true, 241, 95, 100, 174, "near the end: held at h - 67" },
        { true, 241, 100, 100, 174, "end" },
        { true, 241, 0, 0, 41, "nothing to scroll" },
        { true, 241, 3, -1, 41, "negative limit" },
        { true, 90, 0, 10, 41, "short bar: the lower bound wins" },
        { true, 60, 5, 10, 41, "bar shorter than its track" },
        { false, 300, 0, 1000, 34, "left" },
        { false, 300, 333, 1000, 105, "214 / 1000 * 333 = 71.26 truncates" },
        { false, 300, 1000, 1000, 231, "right: held at w - 69" },
        { false, 300, 0, 0, 34, "narrow column" },
        { false, 80, 40, 50, 34, "short bar" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ScrollAxis& axis = c.vertical ? CSkinVScrollBar::s_axis : CSkinHScrollBar::s_axis;
        int thumb = CSkinScrollBar::ThumbFromScroll(axis, c.extent, c.pos, c.limit);
        EXPECT_EQ(CSkinScrollBar::ClampThumbPos(axis, thumb, c.extent), c.thumb);
    }
}

TEST(ScrollThumb, DragTargetTruncatesTowardZeroAndRefusesWithoutTrack)
{
    const ScrollAxis& v = CSkinVScrollBar::s_axis;
    const ScrollAxis& h = CSkinHScrollBar::s_axis;
    int target = 12345;
    EXPECT_TRUE(CSkinScrollBar::DragTarget(v, 104, 241, 100, &target));
    EXPECT_EQ(target, 49);  // 78 / 1.57 = 49.7
    EXPECT_TRUE(CSkinScrollBar::DragTarget(v, 20, 241, 100, &target));
    EXPECT_EQ(target, -3);  // -6 / 1.57 = -3.8
    EXPECT_TRUE(CSkinScrollBar::DragTarget(h, 141, 300, 1000, &target));
    EXPECT_EQ(target, 500);
    target = 7;
    EXPECT_FALSE(CSkinScrollBar::DragTarget(v, 100, 241, 0, &target)) << "nothing to scroll";
    EXPECT_FALSE(CSkinScrollBar::DragTarget(v, 100, 84, 100, &target)) << "no track: would divide by zero";
    EXPECT_FALSE(CSkinScrollBar::DragTarget(h, 100, 50, 100, &target)) << "negative track";
    EXPECT_EQ(target, 7);
    // A one-pixel track over a long range stays inside int once scaled to pixels.
    EXPECT_TRUE(CSkinScrollBar::DragTarget(v, 2000000000, 85, 2000000000, &target));
    EXPECT_LE((long long)target * 16, (long long)INT_MAX);
}
