// The main dialog's painted chrome, probed pixel by pixel on the real window.
#include "CaptionFixture.h"
#include "Screenshot.h"
#include "chrome/CaptionFont.h"
#include <string>

namespace {

const COLORREF kFrame = RGB(0xe3, 0xef, 0xf3);
const COLORREF kOutline = RGB(0x57, 0x75, 0x9f);
const COLORREF kLink = RGB(0x00, 0x00, 0x88);
const COLORREF kTitle1 = RGB(0x33, 0xCC, 0x65);
const COLORREF kTitle2 = RGB(0xA0, 0x00, 0xA0);

// Where the link text of the caption font measures, in the test's own DC.
SIZE LinkExtent(const CString& text)
{
    HDC hdc = ::CreateCompatibleDC(nullptr);
    HFONT font = ::CreateFontA(12, 0, 0, 0, FW_NORMAL, FALSE, TRUE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS | DEFAULT_PITCH, "宋体");
    HGDIOBJ old = ::SelectObject(hdc, font);
    SIZE size = {};
    ::GetTextExtentPoint32A(hdc, text, text.GetLength(), &size);
    ::SelectObject(hdc, old);
    ::DeleteObject(font);
    ::DeleteDC(hdc);
    return size;
}

}  // namespace

TEST(ParseColorString, TurnsHashRgbIntoDecimalColourText)
{
    struct Case { const char* in; const char* out; } cases[] = {
        { "#e3eff3", "15986659" },
        { "#E3EFF3", "15986659" },       // either case of digit
        { "#A000A0", "10485920" },
        { "#000000", "0" },
        { "#ffffff", "16777215" },
        { "#57759f", "10450263" },
        { "e3eff3", "" },                // six characters
        { "xe3eff3", "" },               // seven, but no "#"
        { "", "" },
        { "#e3eff30", "" },              // eight
        { "#zz1234", "0" },              // scanning stops at once: nothing read
        { "#12zz34", "18" },             // red read, the rest stays 0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(CRefreshDlg::ParseColorString(c.in), c.out);
    }
}

// Charset 0 would give Chinese text empty boxes outside Chinese Windows (and
// under Wine without a font replacement); the rest is the fixed caption font.
TEST(CaptionFont, IsTwelvePixelSongtiInTheDefaultCharset)
{
    struct Case { int weight; BOOL underline; } cases[] = { { FW_BOLD, FALSE }, { FW_NORMAL, TRUE } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.weight);
        CFont font;
        ASSERT_TRUE(CreateCaptionFont(font, c.weight, c.underline));
        LOGFONTA lf = {};
        ASSERT_EQ(::GetObjectA(font, sizeof lf, &lf), (int)sizeof lf);
        EXPECT_EQ(lf.lfCharSet, DEFAULT_CHARSET);
        EXPECT_EQ(lf.lfHeight, 12);
        EXPECT_EQ(lf.lfWidth, 0);
        EXPECT_EQ(lf.lfWeight, c.weight);
        EXPECT_EQ(lf.lfUnderline, (BYTE)c.underline);
        EXPECT_EQ(lf.lfItalic, 0);
        EXPECT_EQ(lf.lfStrikeOut, 0);
        EXPECT_EQ(lf.lfPitchAndFamily, 0x20);
        EXPECT_STREQ(lf.lfFaceName, "宋体");
    }
}

TEST_F(CaptionDialogTest, TitleIsGreenOnTheFirstPaintAndPurpleOnTheNext)
{
    ASSERT_FALSE(dlg->m_bTitleAltColor);
    dlg->UpdateWindow();
    ASSERT_TRUE(dlg->m_bTitleAltColor) << "one paint so far";
    const RECT title = { 25, 5, w - 80, 22 };
    WindowPixels first(*dlg);
    EXPECT_GT(first.Count(title, kTitle1), 20);
    EXPECT_EQ(first.Count(title, kTitle2), 0);

    Repaint();
    EXPECT_FALSE(dlg->m_bTitleAltColor);
    WindowPixels second(*dlg);
    EXPECT_GT(second.Count(title, kTitle2), 20);
    EXPECT_EQ(second.Count(title, kTitle1), 0);
}

TEST_F(CaptionDialogTest, PaintsTilesFrameOutlineAndStripWhereTheyBelong)
{
    Repaint();
    WindowPixels win(*dlg);
    ASSERT_EQ(win.w, w) << "borderless: the client area is the whole window";
    ASSERT_EQ(win.h, h);
    ASSERT_GT(w % 60, 0) << "the last tile should be a cut one";

    // Tiles repeat the top-left 60x23 of the caption bitmap; the last one is
    // cut by the edge. Columns right of the title, and under the strip.
    std::vector<COLORREF> bar = BitmapPixels(IDB_CAPTION_BAR, 117, 23);
    for (int y = 1; y < 23; ++y) {
        for (int x = 1; x < w - 1; ++x) {
            bool titleOrIcon = x < 260 && y >= 4;
            bool strip = x >= w - 79 && y < 15;
            if (titleOrIcon || strip)
                continue;
            if (win.at(x, y) != bar[(size_t)y * 117 + x % 60]) {
                ADD_FAILURE() << "caption tile pixel (" << x << ", " << y << ")";
                y = 23;
                break;
            }
        }
    }

    // The outline, one pixel all round (the strip covers its top right).
    for (int x = 0; x < w - 79; x += 7) {
        EXPECT_EQ(win.at(x, 0), kOutline) << "top, x " << x;
        EXPECT_EQ(win.at(x, h - 1), kOutline) << "bottom, x " << x;
    }
    for (int y = 0; y < h; y += 7) {
        EXPECT_EQ(win.at(0, y), kOutline) << "left, y " << y;
        EXPECT_EQ(win.at(w - 1, y), kOutline) << "right, y " << y;
    }

    // Side frames three pixels wide from row 23; the bottom strip 21 high.
    for (int y = 23; y < h - 1; y += 5) {
        EXPECT_EQ(win.at(1, y), kFrame) << "left frame, y " << y;
        EXPECT_EQ(win.at(2, y), kFrame) << "left frame, y " << y;
        EXPECT_EQ(win.at(w - 3, y), kFrame) << "right frame, y " << y;
        if (y < h - 21) {
            EXPECT_NE(win.at(3, y), kFrame) << "left frame too wide at y " << y;
        }
    }
    for (int y = h - 21; y < h - 1; ++y)
        EXPECT_EQ(win.at(4, y), kFrame) << "bottom strip, y " << y;
    EXPECT_NE(win.at(w / 2, h - 22), kFrame) << "bottom strip too high";

    EXPECT_EQ(ShownStrip(), IDB_CAPTION_NORMAL);

    // The icon at (4, 5) covers part of the tiles there.
    int iconPixels = 0;
    for (int y = 5; y < 21; ++y)
        for (int x = 4; x < 20; ++x)
            iconPixels += win.at(x, y) != bar[(size_t)y * 117 + x];
    EXPECT_GT(iconPixels, 30);
}

TEST_F(CaptionDialogTest, LinkRectangleComesFromTheMeasuredText)
{
    Repaint();
    SIZE ext = LinkExtent(dlg->m_strLink);
    ASSERT_GT(ext.cx, 0);
    EXPECT_EQ(dlg->m_rectLink, CRect(w - 5 - ext.cx, h - 23 + ext.cy / 4, w - 5, h - ext.cy / 4));
    EXPECT_EQ(dlg->m_rectStatus, CRect(5, h - 21, w - 5 - ext.cx, h));

    // The underlined text is in the link colour, inside its rectangle only.
    WindowPixels win(*dlg);
    EXPECT_GT(win.Count(dlg->m_rectLink, kLink), ext.cx / 2);
    const RECT status = { 1, h - 21, dlg->m_rectLink.left, h - 1 };
    EXPECT_EQ(win.Count(status, kLink), 0);
    EXPECT_EQ(win.at(dlg->m_rectLink.left - 1, (dlg->m_rectLink.top + dlg->m_rectLink.bottom) / 2), kFrame);
}

TEST_F(CaptionDialogTest, EmptyLinkTextLeavesAZeroWidthLinkThatCannotBeHit)
{
    dlg->m_strLink = "";
    Repaint();
    EXPECT_EQ(dlg->m_rectLink.left, w - 5);
    EXPECT_EQ(dlg->m_rectLink.right, w - 5);
    for (int x = w - 8; x < w; ++x)
        EXPECT_NE(dlg->CaptionHitTest(CPoint(x, h - 10)), RegionLink) << x;
}

TEST_F(CaptionDialogTest, StripFollowsHoverAndPressedState)
{
    struct Case { int hover; BOOL pressed; UINT bitmap; } cases[] = {
        { RegionNone, FALSE, IDB_CAPTION_NORMAL },      { RegionMinimize, FALSE, IDB_CAPTION_MIN_HOT },
        { RegionMinimize, TRUE, IDB_CAPTION_MIN_DOWN }, { RegionMiddle, FALSE, IDB_CAPTION_MID_HOT },
        { RegionMiddle, TRUE, IDB_CAPTION_MID_DOWN },   { RegionClose, FALSE, IDB_CAPTION_CLOSE_HOT },
        { RegionClose, TRUE, IDB_CAPTION_CLOSE_DOWN },  { RegionCaption, TRUE, IDB_CAPTION_NORMAL },
        { RegionLink, TRUE, IDB_CAPTION_NORMAL },       { RegionStatus, FALSE, IDB_CAPTION_NORMAL },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "hover " << c.hover << " pressed " << c.pressed);
        dlg->m_nHover = c.hover;
        dlg->m_bPressed = c.pressed;
        Repaint();
        EXPECT_EQ(ShownStrip(), c.bitmap);
    }
}

TEST_F(CaptionDialogTest, PaintingHoldsNoGdiObjects)
{
    Repaint();
    DWORD gdi = GdiObjects();
    DWORD user = UserObjects();
    // The count must see objects come and go, or the check below means nothing.
    HBRUSH probe[3] = { ::CreateSolidBrush(1), ::CreateSolidBrush(2), ::CreateSolidBrush(3) };
    ASSERT_EQ(GdiObjects(), gdi + 3);
    for (HBRUSH b : probe)
        ::DeleteObject(b);
    ASSERT_EQ(GdiObjects(), gdi);

    for (int i = 0; i < 1000; ++i)
        Repaint();
    EXPECT_EQ(GdiObjects(), gdi);
    EXPECT_EQ(UserObjects(), user);
}

TEST_F(CaptionDialogTest, SavesAScreenshotForPeople)
{
    Repaint();
    FlushMessages();
    Repaint();
    std::string path = ScreenshotPath("main-dialog-chrome.bmp");
    EXPECT_TRUE(SaveWindowBitmap(*dlg, path.c_str())) << path;
}
