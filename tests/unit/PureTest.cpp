// The pure functions, one table each: caption hit test, period parse, location names, scroll-bar arithmetic.
#include "app/RefreshDlg.h"
#include "chrome/CaptionHitTest.h"
#include "controls/SkinHScrollBar.h"
#include "controls/SkinVScrollBar.h"
#include "framework/Dialog.h"
#include <climits>
#include <gtest/gtest.h>

TEST(Pure, CaptionHitTestFollowsEveryEdge)
{
    const RECT client = { 0, 0, 500, 400 }, link = { 400, 380, 495, 396 }, status = { 5, 379, 400, 400 };
    const RECT wide = { 5, 379, 495, 400 }, empty = {}, noLink = { 495, 380, 495, 396 };
    struct Case { int x, y; CaptionRegion region; const RECT* link; const RECT* status; } cases[] = {
        // Buttons at (w-78)-(w-53), (w-52)-(w-27) and (w-26)-(w+1), rows 0-12.
        { 422, 0, RegionMinimize }, { 446, 12, RegionMinimize }, { 421, 5, RegionCaption }, { 430, 13, RegionCaption },
        { 448, 0, RegionMiddle }, { 472, 12, RegionMiddle }, { 473, 5, RegionCaption },
        { 474, 0, RegionClose }, { 500, 5, RegionClose }, { 501, 5, RegionNone },
        { 0, 0, RegionCaption }, { 499, 19, RegionCaption }, { 499, 20, RegionNone }, { -1, 5, RegionNone },
        { 400, 380, RegionLink }, { 494, 395, RegionLink }, { 495, 390, RegionNone }, { 399, 390, RegionStatus },
        { 4, 390, RegionNone }, { 10, 400, RegionNone }, { 0, 390, RegionNone, &empty, &empty },  // before a paint
        { 420, 390, RegionLink, &link, &wide }, { 420, 397, RegionStatus, &link, &wide },  // the link wins
        { 495, 390, RegionNone, &noLink, &wide },                                           // no link text
    };
    for (const Case& c : cases)
        EXPECT_EQ(CaptionHitTest(client, POINT{ c.x, c.y }, c.link ? *c.link : link, c.status ? *c.status : status),
                  c.region) << "(" << c.x << ", " << c.y << ")";
}

TEST(Pure, PeriodTextReadsLikeTheNumberExchange)
{
    struct Case { const char* text; bool valid; UINT value; } cases[] = {
        { "5", true, 5 }, { " \t 42 \t ", true, 42 }, { "+7", true, 7 }, { "0", true, 0 }, { "00", true, 0 },
        { "4294967295", true, 4294967295u }, { "99999999999999999999", true, 4294967295u }, { "", false },
        { "-5", false }, { "+0", false }, { "+ 7", false }, { "0x10", false }, { "\n7", false }, { "７", false },
        { "5秒", false },
    };
    for (const Case& c : cases) {
        UINT value = 12345;
        EXPECT_EQ(ParseUnsignedText(c.text, &value), c.valid) << '"' << c.text << '"';
        EXPECT_EQ(value, c.valid ? c.value : 12345u) << '"' << c.text << "\": a refused text leaves the value";
    }
}

TEST(Pure, LocationNameFitsEveryCodePage)
{
    std::string cjk100;
    for (int i = 0; i < 100; ++i)
        cjk100 += "\xE7\x95\x8C";
    struct Case { UINT codePage; std::wstring name; HRESULT hr; std::string text; } cases[] = {
        { 65001, std::wstring(100, L'\u754C'), S_OK, cjk100 },  // three bytes a unit
        { 65001, L"a\U0001F600b", S_OK, "a\xF0\x9F\x98\x80" "b" },  // a surrogate pair, four bytes
        { 65001, L"\u0E01", S_OK, "\xE0\xB8\x81" },                 // Thai
        { 936, L"\u754Cx\u0E01", S_OK, "\xBD\xE7x?" },                // 936 has no Thai
        { 12345, L"x", HRESULT_FROM_WIN32(ERROR_INVALID_PARAMETER), "" },
    };
    for (const Case& c : cases) {
        std::string text;
        EXPECT_EQ(LocationNameToAnsi(c.name.c_str(), c.codePage, &text), c.hr) << c.codePage;
        EXPECT_EQ(c.hr == S_OK ? text : "", c.text) << c.codePage;
    }
}

TEST(Pure, ScrollThumbAndDragArithmetic)
{
    const ScrollAxis &v = CSkinVScrollBar::s_axis, &h = CSkinHScrollBar::s_axis;
    struct Thumb { const ScrollAxis& axis; int extent, pos, limit, thumb; } thumbs[] = {
        { v, 241, 0, 100, 41 }, { v, 241, 50, 100, 104 }, { v, 241, 95, 100, 174 }, { v, 241, 0, 0, 41 },
        { h, 300, 333, 1000, 105 }, { h, 300, 1000, 1000, 231 }, { h, 80, 40, 50, 34 },  // 333 * 214 / 1000 truncates
    };
    for (const Thumb& t : thumbs) {
        const int raw = CSkinScrollBar::ThumbFromScroll(t.axis, t.extent, t.pos, t.limit);
        EXPECT_EQ(CSkinScrollBar::ClampThumbPos(t.axis, raw, t.extent), t.thumb) << t.extent << ", " << t.pos;
    }
    struct Drag { const ScrollAxis& axis; int thumb, extent, limit; bool ok; int target; } drags[] = {
        { v, 104, 241, 100, true, 49 }, { v, 20, 241, 100, true, -3 },  // toward zero
        { h, 141, 300, 1000, true, 500 }, { v, 100, 241, 0, false, 7 }, { v, 100, 84, 100, false, 7 },  // no track
    };
    for (const Drag& d : drags) {
        int target = 7;
        EXPECT_EQ(CSkinScrollBar::DragTarget(d.axis, d.thumb, d.extent, d.limit, &target), d.ok);
        EXPECT_EQ(target, d.target);
    }
    int target = 0;  // a one-pixel track over a long range stays inside int in pixels
    EXPECT_TRUE(CSkinScrollBar::DragTarget(v, 2000000000, 85, 2000000000, &target));
    EXPECT_LE((long long)target * 16, (long long)INT_MAX);
}
