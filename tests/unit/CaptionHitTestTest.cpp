// Hit testing of the caption chrome, edge by edge.
#include "chrome/CaptionHitTest.h"
#include <gtest/gtest.h>

TEST(CaptionHitTest, EveryRegionEdgeFollowsPtInRect)
{
    const RECT client = { 0, 0, 500, 400 };
    const RECT link = { 400, 380, 495, 396 };
    const RECT status = { 5, 379, 400, 400 };
    struct Case { int x, y; CaptionRegion region; } cases[] = {
        // Minimise: (w-78, 0)-(w-53, 13).
        { 422, 0, RegionMinimize }, { 446, 12, RegionMinimize }, { 421, 5, RegionCaption },
        { 447, 5, RegionCaption }, { 430, 13, RegionCaption },
        // Middle: (w-52, 0)-(w-27, 13).
        { 448, 0, RegionMiddle }, { 472, 12, RegionMiddle }, { 473, 5, RegionCaption },
        // Close: (w-26, 0)-(w+1, 13), one pixel past the client area.
        { 474, 0, RegionClose }, { 499, 12, RegionClose }, { 500, 5, RegionClose }, { 501, 5, RegionNone },
        { 480, 13, RegionCaption },
        // Caption bar: (0, 0)-(w, 20).
        { 0, 0, RegionCaption }, { 499, 19, RegionCaption }, { 499, 20, RegionNone }, { 100, 20, RegionNone },
        { -1, 5, RegionNone }, { 5, -1, RegionNone },
        // Link, then status.
        { 400, 380, RegionLink }, { 494, 395, RegionLink }, { 495, 390, RegionNone }, { 450, 396, RegionNone },
        { 399, 390, RegionStatus }, { 5, 379, RegionStatus }, { 4, 390, RegionNone }, { 10, 400, RegionNone },
        { 200, 200, RegionNone },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "(" << c.x << ", " << c.y << ")");
        EXPECT_EQ(CaptionHitTest(client, POINT{ c.x, c.y }, link, status), c.region);
    }
}

TEST(CaptionHitTest, LinkWinsOverStatusAndEmptyRectsNeverHit)
{
    const RECT client = { 0, 0, 500, 400 };
    const RECT link = { 400, 380, 495, 396 };
    const RECT wideStatus = { 5, 379, 495, 400 };
    EXPECT_EQ(CaptionHitTest(client, POINT{ 420, 390 }, link, wideStatus), RegionLink);
    EXPECT_EQ(CaptionHitTest(client, POINT{ 420, 397 }, link, wideStatus), RegionStatus);
    // Before the first paint both rectangles are empty.
    const RECT empty = {};
    EXPECT_EQ(CaptionHitTest(client, POINT{ 0, 0 }, empty, empty), RegionCaption);
    EXPECT_EQ(CaptionHitTest(client, POINT{ 0, 390 }, empty, empty), RegionNone);
    // A zero-width link (no text) at w-5.
    const RECT noLink = { 495, 380, 495, 396 };
    EXPECT_EQ(CaptionHitTest(client, POINT{ 495, 390 }, noLink, RECT{ 5, 379, 495, 400 }), RegionNone);
}
