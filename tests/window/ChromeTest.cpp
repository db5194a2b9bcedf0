// The main dialog's own chrome as painted, and its caption buttons, link and
// surface under the real pointer.
#include "MainDialog.h"
#include "chrome/CaptionFont.h"

namespace {

class ChromeTest : public MainDialogTest {
protected:
    void SetUp() override
    {
        MainDialogTest::SetUp();
        AddABC();
        Open();
        RECT r;
        ::GetClientRect(dlg, &r);
        w = r.right, h = r.bottom;
    }
    // The strip bitmap the caption shows once painted (0: none of them).
    UINT ShownStrip()
    {
        dlg.UpdateWindow();
        const Shot shown = Shot::OfWindow(dlg).Part({ w - 79, 0, w, 15 });
        for (UINT id : { IDB_CAPTION_NORMAL, IDB_CAPTION_MIN_HOT, IDB_CAPTION_MIN_DOWN, IDB_CAPTION_MID_HOT,
                         IDB_CAPTION_MID_DOWN, IDB_CAPTION_CLOSE_HOT, IDB_CAPTION_CLOSE_DOWN })
            if (Shot::OfBitmap(id).Part({ 0, 0, 79, 15 }) == shown)
                return id;
        return 0;
    }
    POINT Face(int face) { return ScreenPoint(dlg, w - 66 + 26 * face, 6); }  // minimise, middle, close
    CRect Window() const { CRect r; ::GetWindowRect(dlg, &r); return r; }
    int w = 0, h = 0;
};

const COLORREF kOutline = RGB(0x57, 0x75, 0x9F), kFrame = RGB(0xE3, 0xEF, 0xF3), kLink = RGB(0, 0, 0x88);

}  // namespace

TEST_F(ChromeTest, PaintsTilesFrameOutlineIconTitleAndLink)
{
    ::RedrawWindow(dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Shot win = Shot::OfWindow(dlg), bar = Shot::OfBitmap(IDB_CAPTION_BAR);
    ASSERT_EQ(win.rect.right - win.rect.left, w) << "borderless: the client area is the whole window";
    ASSERT_GT(w % 60, 0) << "the last tile should be a cut one";
    int wrongTile = 0, icon = 0, outline = 0, frame = 0;
    for (int y = 1; y < 23; ++y)
        for (int x = 1; x < w - 1; ++x)
            if (x >= 4 && x < 20 && y >= 5 && y < 21)
                icon += win.At(x, y) != bar.At(x, y);
            else if (!(x < 300 && y >= 4) && !(x >= w - 79 && y < 15))  // not the title, not the strip
                wrongTile += win.At(x, y) != bar.At(x % 60, y);           // the first 60 columns, tiled
    EXPECT_EQ(wrongTile, 0);
    EXPECT_GT(icon, 30) << "the icon at (4, 5)";
    for (int x = 0; x < w - 79; ++x)
        outline += (win.At(x, 0) == kOutline) + (win.At(x, h - 1) == kOutline);
    for (int y = 0; y < h; ++y)
        outline += (win.At(0, y) == kOutline) + (win.At(w - 1, y) == kOutline);
    for (int y = 23; y < h - 1; ++y)
        frame += (win.At(1, y) == kFrame) + (win.At(3, y) == kFrame) + (win.At(w - 3, y) == kFrame);
    EXPECT_EQ(outline, 2 * (w - 79) + 2 * h) << "one pixel all round";
    EXPECT_EQ(frame, 2 * (h - 24) + 20) << "3 pixels each side from row 23; the bottom strip 21 high";

    // The title alternates its two colours from paint to paint.
    const RECT title = { 25, 5, w - 80, 22 };
    auto titled = [&](const Shot& s, COLORREF c) { return s.Count(title, [c](COLORREF p) { return p == c; }); };
    const COLORREF green = RGB(0x33, 0xCC, 0x65), purple = RGB(0xA0, 0x00, 0xA0);
    const bool greenFirst = titled(win, green) > 20;
    EXPECT_EQ(titled(win, greenFirst ? purple : green), 0);
    ::RedrawWindow(dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_GT(titled(Shot::OfWindow(dlg), greenFirst ? purple : green), 20);

    // The link's rectangle comes from its text measured in 宋体 (Chinese glyphs), drawn there only.
    CClientDC dc(dlg);
    CFont font;
    CreateCaptionFont(font, FW_NORMAL, TRUE);
    CSelectObject sel(dc, font);
    const CSize ext = dc.GetTextExtent(dlg.m_strLink, dlg.m_strLink.GetLength());
    EXPECT_EQ(::GetTextCharset(dc), GB2312_CHARSET);
    EXPECT_EQ(dlg.m_rectLink, CRect(w - 5 - ext.cx, h - 23 + ext.cy / 4, w - 5, h - ext.cy / 4));
    EXPECT_EQ(dlg.m_rectStatus, CRect(5, h - 21, w - 5 - ext.cx, h));
    auto link = [](COLORREF p) { return p == kLink; };
    EXPECT_GT(win.Count(dlg.m_rectLink, link), ext.cx / 2);
    EXPECT_EQ(win.Count({ 1, h - 21, dlg.m_rectLink.left, h - 1 }, link), 0);
}

// Each button lights under the pointer; off the window the hover timer stops,
// over the caption bar it ticks on without repainting.
TEST_F(ChromeTest, PointerLightsEachButtonAndTheTimerFollowsIt)
{
    const UINT hot[] = { IDB_CAPTION_MIN_HOT, IDB_CAPTION_MID_HOT, IDB_CAPTION_CLOSE_HOT };
    for (int face = 0; face < 3; ++face) {
        MoveMouseTo(Face(face));
        EXPECT_EQ(ShownStrip(), hot[face]);
    }
    MoveMouseTo({ Window().right + 40, Window().top + 6 });
    ASSERT_TRUE(PumpUntil([&] { return dlg.m_nHover == RegionNone; }, 1000));
    EXPECT_EQ(ShownStrip(), (UINT)IDB_CAPTION_NORMAL);
    {
        MessageRecorder off(dlg, { WM_TIMER });
        PumpFor(200);
        EXPECT_TRUE(off.messages.empty()) << "the hover timer still runs";
    }
    MoveMouseTo(Face(0));
    MoveMouseTo(ScreenPoint(dlg, w / 2, 10));
    ASSERT_TRUE(PumpUntil([&] { return dlg.m_nHover == RegionCaption; }, 1000));
    dlg.UpdateWindow();
    MessageRecorder over(dlg, { WM_TIMER, WM_PAINT });
    auto count = [&](UINT m) { return std::count(over.messages.begin(), over.messages.end(), m); };
    EXPECT_TRUE(PumpUntil([&] { return count(WM_TIMER) >= 5; }, 3000));
    EXPECT_EQ(count(WM_PAINT), 0);
}

// Close slid off does nothing; the middle button moves the window only once
// the pointer leaves it; the link drags the window and opens its page only
// when let go; minimise minimises.
TEST_F(ChromeTest, PressesMinimiseMoveAndOpenTheLinkButSlidingOffCloseDoesNothing)
{
    const CRect start = Window();
    MoveMouseTo(Face(2));
    MouseDown();
    EXPECT_EQ(ShownStrip(), (UINT)IDB_CAPTION_CLOSE_DOWN);
    MoveMouseTo(ScreenPoint(dlg, w / 2, 10));
    ASSERT_TRUE(PumpUntil([&] { return dlg.m_nHover == RegionCaption; }, 1000));
    MouseUp();
    EXPECT_TRUE(::IsWindowVisible(dlg) && Window() == start && !::GetCapture()) << "a press on close moves nothing";

    const POINT middle = Face(1);
    MoveMouseTo(middle);
    MouseDown();
    EXPECT_EQ(ShownStrip(), (UINT)IDB_CAPTION_MID_DOWN);
    MoveMouseTo({ middle.x + 3, middle.y + 2 });
    EXPECT_EQ(Window(), start) << "inside the button the window stays";
    MoveMouseTo({ middle.x, middle.y + 30 });
    EXPECT_EQ(Window().top, start.top + 30);
    MouseUp();

    ShellExecuteRecorder links;
    const CRect before = Window();
    const CRect& l = dlg.m_rectLink;
    const POINT on = ScreenPoint(dlg, (l.left + l.right) / 2, (l.top + l.bottom) / 2);
    MoveMouseTo(on);
    EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, IDC_HAND));
    MouseDown();
    for (int step = 1; step <= 4; ++step)
        MoveMouseTo({ on.x + 10 * step, on.y + 6 * step });
    EXPECT_EQ(Window(), CRect(before.left + 40, before.top + 24, before.right + 40, before.bottom + 24));
    EXPECT_TRUE(links.calls.empty()) << "nothing opens before the release";
    MouseUp();
    ASSERT_EQ(links.calls.size(), 1u);
    const ShellExecuteRecorder::Call& call = links.calls[0];
    EXPECT_TRUE(call.owner == dlg.m_hWnd && call.verb == "Open" && call.file.rfind("http://", 0) == 0 &&
                call.noParams && call.noDir && call.show == SW_SHOWMAXIMIZED) << call.file;

    MoveMouseTo(Face(0));
    MouseDown();
    EXPECT_EQ(ShownStrip(), (UINT)IDB_CAPTION_MIN_DOWN);
    MouseUp();
    EXPECT_TRUE(::IsIconic(dlg));
}
