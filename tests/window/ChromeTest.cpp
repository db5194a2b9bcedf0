// The main dialog's own chrome as painted, and its caption buttons, link and surface under the real pointer.
#include "MainDialog.h"
#include "chrome/CaptionFont.h"

namespace {
using ChromeTest = MainDialogTest;
const COLORREF kOutline = RGB(0x57, 0x75, 0x9F), kFrame = RGB(0xE3, 0xEF, 0xF3), kLink = RGB(0, 0, 0x88);
}  // namespace

// Painted: tiles, outline, frame, icon, a title alternating its two colours, the link where measured.
// Each button lights under the pointer; off the window the hover timer stops, over the caption bar it
// ticks on without repainting. Close slid off does nothing; the middle button moves the window only once
// the pointer leaves it; the link drags the window and opens its page only when let go; minimise minimises.
TEST_F(ChromeTest, PaintsItselfAndAnswersThePointer)
{
    Open();
    auto window = [&] { return CRect(Rect(dlg)); };
    const int w = window().Width(), h = window().Height();  // borderless
    auto face = [&](int i) { return ScreenPoint(dlg, w - 66 + 26 * i, 6); };  // minimise, middle, close
    auto shows = [&](UINT strip) {  // once painted
        dlg.UpdateWindow();
        return Shot::OfWindow(dlg).Part({ w - 79, 0, w, 15 }) == Shot::OfBitmap(strip).Part({ 0, 0, 79, 15 });
    };
    ::RedrawWindow(dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Shot win = Shot::OfWindow(dlg), bar = Shot::OfBitmap(IDB_CAPTION_BAR);
    ASSERT_GT(w % 60, 0) << "the last tile should be a cut one";
    int wrongTile = 0, icon = 0;
    for (int y = 1; y < 23; ++y)
        for (int x = 1; x < w - 1; ++x)
            if (x >= 4 && x < 20 && y >= 5 && y < 21)
                icon += win.At(x, y) != bar.At(x, y);
            else if (!(x < 300 && y >= 4) && !(x >= w - 79 && y < 15))  // not the title, not the strip
                wrongTile += win.At(x, y) != bar.At(x % 60, y);           // the first 60 columns, tiled
    EXPECT_EQ(wrongTile, 0);
    EXPECT_GT(icon, 30) << "the icon at (4, 5)";
    auto count = [&](const RECT& r, COLORREF c) { return win.Count(r, [c](COLORREF p) { return p == c; }); };
    EXPECT_EQ(count({ 0, 0, w - 79, 1 }, kOutline) + count({ 0, h - 1, w - 79, h }, kOutline) +
              count({ 0, 0, 1, h }, kOutline) + count({ w - 1, 0, w, h }, kOutline), 2 * (w - 79) + 2 * h)
        << "one pixel all round";
    EXPECT_EQ(count({ 1, 23, 2, h - 1 }, kFrame) + count({ 3, 23, 4, h - 1 }, kFrame) +
              count({ w - 3, 23, w - 2, h - 1 }, kFrame), 2 * (h - 24) + 20)
        << "3 pixels each side from row 23; the bottom strip 21 high";

    // The title alternates its two colours from paint to paint.
    const RECT title = { 25, 5, w - 80, 22 };
    const COLORREF green = RGB(0x33, 0xCC, 0x65), purple = RGB(0xA0, 0x00, 0xA0);
    const bool greenFirst = count(title, green) > 20;
    EXPECT_EQ(count(title, greenFirst ? purple : green), 0);
    ::RedrawWindow(dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    win = Shot::OfWindow(dlg);
    EXPECT_GT(count(title, greenFirst ? purple : green), 20);

    {  // The link's rectangle comes from its text measured in 宋体 (Chinese glyphs), drawn there only.
        CClientDC dc(dlg);
        CFont font;
        CreateCaptionFont(font, FW_NORMAL, TRUE);
        CSelectObject sel(dc, font);
        const CSize ext = dc.GetTextExtent(dlg.m_strLink, dlg.m_strLink.GetLength());
        EXPECT_EQ(::GetTextCharset(dc), GB2312_CHARSET);
        EXPECT_EQ(dlg.m_rectLink, CRect(w - 5 - ext.cx, h - 23 + ext.cy / 4, w - 5, h - ext.cy / 4));
        EXPECT_EQ(dlg.m_rectStatus, CRect(5, h - 21, w - 5 - ext.cx, h));
        EXPECT_GT(count(dlg.m_rectLink, kLink), ext.cx / 2);
        EXPECT_EQ(count({ 1, h - 21, dlg.m_rectLink.left, h - 1 }, kLink), 0);
    }

    const UINT hot[] = { IDB_CAPTION_MIN_HOT, IDB_CAPTION_MID_HOT, IDB_CAPTION_CLOSE_HOT };
    for (int i = 0; i < 3; ++i) {
        MoveMouseTo(face(i));
        EXPECT_TRUE(shows(hot[i])) << i;
    }
    MoveMouseTo({ window().right + 40, window().top + 6 });
    ASSERT_TRUE(PumpUntil([&] { return dlg.m_nHover == RegionNone; }, 1000));
    EXPECT_TRUE(shows(IDB_CAPTION_NORMAL));
    MessageRecorder rec(dlg, { WM_TIMER, WM_PAINT });
    PumpFor(200);
    EXPECT_TRUE(rec.messages.empty()) << "the hover timer still runs";
    MoveMouseTo(face(0));
    MoveMouseTo(ScreenPoint(dlg, w / 2, 10));
    ASSERT_TRUE(PumpUntil([&] { return dlg.m_nHover == RegionCaption; }, 1000));
    dlg.UpdateWindow();
    rec.messages.clear();
    auto seen = [&](UINT m) { return std::count(rec.messages.begin(), rec.messages.end(), m); };
    EXPECT_TRUE(PumpUntil([&] { return seen(WM_TIMER) >= 5; }, 3000));
    EXPECT_EQ(seen(WM_PAINT), 0);

    const CRect start = window();
    MoveMouseTo(face(2));
    MouseDown();
    EXPECT_TRUE(shows(IDB_CAPTION_CLOSE_DOWN));
    MoveMouseTo(ScreenPoint(dlg, w / 2, 10));
    ASSERT_TRUE(PumpUntil([&] { return dlg.m_nHover == RegionCaption; }, 1000));
    MouseUp();
    EXPECT_TRUE(::IsWindowVisible(dlg) && window() == start && !::GetCapture()) << "a press on close moves nothing";

    const POINT middle = face(1);
    MoveMouseTo(middle);
    MouseDown();
    EXPECT_TRUE(shows(IDB_CAPTION_MID_DOWN));
    MoveMouseTo({ middle.x + 3, middle.y + 2 });
    EXPECT_EQ(window(), start) << "inside the button the window stays";
    MoveMouseTo({ middle.x, middle.y + 30 });
    EXPECT_EQ(window().top, start.top + 30);
    MouseUp();

    ShellExecuteRecorder links;
    const CRect before = window();
    const CRect& l = dlg.m_rectLink;
    const POINT on = ScreenPoint(dlg, (l.left + l.right) / 2, (l.top + l.bottom) / 2);
    MoveMouseTo(on);
    EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, IDC_HAND));
    MouseDown();
    for (int step = 1; step <= 4; ++step)
        MoveMouseTo({ on.x + 10 * step, on.y + 6 * step });
    EXPECT_EQ(window(), CRect(before.left + 40, before.top + 24, before.right + 40, before.bottom + 24));
    EXPECT_TRUE(links.calls.empty()) << "nothing opens before the release";
    MouseUp();
    ASSERT_EQ(links.calls.size(), 1u);
    const ShellExecuteRecorder::Call& call = links.calls[0];
    EXPECT_TRUE(call.owner == dlg.m_hWnd && call.verb == "Open" && call.file.rfind("http://", 0) == 0 &&
                call.noParams && call.noDir && call.show == SW_SHOWMAXIMIZED) << call.file;

    MoveMouseTo(face(0));
    MouseDown();
    EXPECT_TRUE(shows(IDB_CAPTION_MIN_DOWN));
    MouseUp();
    EXPECT_TRUE(::IsIconic(dlg));
}
