// CColorButton on real windows: drawing by pixel probes, hover tracking by
// real mouse input, double clicks, icons, cursor, tooltip and colours.
#include "controls/ColorButton.h"
#include "framework/Gdi.h"
#include "res/resource.h"
#include "MouseInput.h"
#include "TestSupport.h"
#include <algorithm>
#include <climits>
#include <vector>

namespace {

const COLORREF kBkOut = RGB(10, 200, 30);
const COLORREF kBkIn = RGB(200, 20, 180);
const COLORREF kTextOut = RGB(0, 0, 255);
const COLORREF kTextIn = RGB(255, 0, 0);
const int kW = 160, kH = 30;

// The parent: reflects the button's drawing and colour requests back to it
// (as every CWnd parent does) and counts the button's notifications.
class CHostWnd : public CWnd {
public:
    int clicks = 0;
    int doubleClicks = 0;
    void OnClicked() { ++clicks; }
    void OnDoubleClicked() { ++doubleClicks; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHostWnd, CWnd)
    ON_BN_CLICKED(1007, OnClicked)
    ON_CONTROL(BN_DOUBLECLICKED, 1007, OnDoubleClicked)
END_MESSAGE_MAP()

const char* HostClass()
{
    static ATOM atom = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.hCursor = ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
        wc.hbrBackground = (HBRUSH)::GetStockObject(WHITE_BRUSH);
        wc.lpszClassName = "VeskarColorButtonHost";
        return ::RegisterClassA(&wc);
    }();
    (void)atom;
    return "VeskarColorButtonHost";
}

// A popup with one colour button at (20, 20), active and in front.
struct ButtonFixture : testing::Test {
    CHostWnd host;
    CColorButton button;

    void SetUp() override
    {
        ASSERT_TRUE(host.CreateEx(WS_EX_TOPMOST, HostClass(), "host", WS_POPUP | WS_VISIBLE,
                                  CRect(100, 100, 400, 200), nullptr, 0));
        HWND hButton = ::CreateWindowExA(0, "BUTTON", "WWW", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                         20, 20, kW, kH, host, (HMENU)1007, ::GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(button.SubclassWindow(hButton));
        button.SetBkColorOut(kBkOut);
        button.SetBkColorIn(kBkIn);
        button.SetTextColorOut(kTextOut);
        button.SetTextColorIn(kTextIn);
        ::SetForegroundWindow(host);
        ::SetActiveWindow(host);
        FlushMessages();
        MoveMouseTo(ScreenPoint(host, 5, 5));
    }
    void TearDown() override
    {
        MouseUpIfDown();
        host.DestroyWindow();
        FlushMessages();
    }
    // A point of the button's client area in screen coordinates.
    POINT OnButton(int x = kW / 2, int y = kH / 2) { return ScreenPoint(button, x, y); }
};

// ---- drawing, into a memory context ----------------------------------------

// The button drawn by DrawItem into a 32-bit bitmap, with a font that is
// never smoothed, so that text pixels carry the text colour exactly.
struct Drawing {
    std::vector<COLORREF> pixels;
    COLORREF at(int x, int y) const { return pixels[(size_t)(y * kW + x)]; }
    int Count(COLORREF cr, const RECT& area) const
    {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                n += at(x, y) == cr;
        return n;
    }
    // Bounding box of the pixels in `area` that differ from `background`.
    CRect Ink(COLORREF background, const RECT& area) const
    {
        CRect box(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if (at(x, y) != background) {
                    box.left = std::min(box.left, (LONG)x);
                    box.top = std::min(box.top, (LONG)y);
                    box.right = std::max(box.right, (LONG)x + 1);
                    box.bottom = std::max(box.bottom, (LONG)y + 1);
                }
        return box;
    }
};

Drawing Draw(CColorButton& button, UINT state, CSize* textSize = nullptr)
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = kW;
    bi.bmiHeader.biHeight = -kH;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC hScreen = ::GetDC(nullptr);
    HDC hMem = ::CreateCompatibleDC(hScreen);
    ::ReleaseDC(nullptr, hScreen);
    HBITMAP hBmp = ::CreateDIBSection(hMem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HFONT hFont = ::CreateFontA(-13, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0, "Tahoma");
    Drawing d;
    {
        CSelectObject selBmp(hMem, hBmp), selFont(hMem, hFont);
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_BUTTON;
        dis.CtlID = 1007;
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = state;
        dis.hwndItem = button;
        dis.hDC = hMem;
        dis.rcItem = CRect(0, 0, kW, kH);
        button.DrawItem(&dis);
        if (textSize) {
            CString title = button.GetWindowText();
            ::GetTextExtentPoint32A(hMem, title, title.GetLength(), textSize);
        }
        ::GdiFlush();
        d.pixels.resize((size_t)(kW * kH));
        for (size_t i = 0; i < d.pixels.size(); ++i) {
            DWORD v = static_cast<DWORD*>(bits)[i];
            d.pixels[i] = RGB(GetBValue(v), GetGValue(v), GetRValue(v));  // BGRX -> COLORREF
        }
    }
    ::DeleteObject(hFont);
    ::DeleteObject(hBmp);
    ::DeleteDC(hMem);
    return d;
}

TEST_F(ButtonFixture, DrawsEachStateWithItsColoursAndEdge)
{
    const COLORREF hilight = ::GetSysColor(COLOR_BTNHILIGHT), shadow = ::GetSysColor(COLOR_BTNSHADOW);
    const CRect whole(0, 0, kW, kH);
    CSize textSize;

    Drawing away = Draw(button, 0, &textSize);
    EXPECT_EQ(away.at(0, 0), kBkOut) << "no edge while away";
    EXPECT_EQ(away.at(kW - 1, kH - 1), kBkOut);
    EXPECT_GT(away.Count(kTextOut, whole), 0);
    EXPECT_EQ(away.Count(kTextIn, whole), 0);

    // The title is centred in the button.
    CRect cell((kW - textSize.cx) / 2, (kH - textSize.cy) / 2, 0, 0);
    cell.right = cell.left + textSize.cx;
    cell.bottom = cell.top + textSize.cy;
    CRect ink = away.Ink(kBkOut, whole);
    EXPECT_GE(ink.left, cell.left);
    EXPECT_LE(ink.right, cell.right);
    EXPECT_GE(ink.top, cell.top);
    EXPECT_LE(ink.bottom, cell.bottom);

    // Hover is entered by a real move over the button.
    MoveMouseTo(OnButton());
    FlushMessages();
    ASSERT_TRUE(button.IsMouseOver());
    Drawing over = Draw(button, 0);
    EXPECT_EQ(over.at(0, 0), hilight) << "raised edge";
    EXPECT_EQ(over.at(kW - 1, 5), shadow);
    EXPECT_EQ(over.at(5, kH - 1), shadow);
    EXPECT_EQ(over.at(1, 1), kBkIn);
    EXPECT_GT(over.Count(kTextIn, whole), 0);
    EXPECT_EQ(over.Count(kTextOut, whole), 0);
    EXPECT_EQ(over.Ink(kBkIn, CRect(1, 1, kW - 1, kH - 1)), ink) << "same place as away";

    Drawing pressed = Draw(button, ODS_SELECTED);
    EXPECT_EQ(pressed.at(0, 0), shadow) << "sunken edge";
    EXPECT_EQ(pressed.at(kW - 1, 5), hilight);
    EXPECT_EQ(pressed.at(5, kH - 1), hilight);
    CRect shifted = ink;
    shifted.OffsetRect(1, 1);
    EXPECT_EQ(pressed.Ink(kBkIn, CRect(1, 1, kW - 1, kH - 1)), shifted) << "text moves by (1, 1)";

    // Greyed by the system: neither text colour shows.
    Drawing disabled = Draw(button, ODS_DISABLED);
    EXPECT_EQ(disabled.Count(kTextOut, whole) + disabled.Count(kTextIn, whole), 0);
    EXPECT_GT(disabled.Count(shadow, CRect(1, 1, kW - 1, kH - 1)), 0);
}

TEST_F(ButtonFixture, IconSitsThreePixelsInAndCentredAndShiftsWhenPressed)
{
    button.SetIcon(IDI_MESSENGER, 0);
    ASSERT_NE(button.GetIconIn(), nullptr);
    EXPECT_EQ(button.GetIconOut(), button.GetIconIn()) << "one icon serves both states";
    EXPECT_EQ(button.GetIconSize().cx, 16) << "twice the hot spot (8, 8)";
    EXPECT_EQ(button.GetIconSize().cy, 16);

    // Where the icon's own pixels lie when drawn at (0, 0).
    Drawing alone;
    {
        CColorButton plain;
        plain.SubclassWindow(::CreateWindowExA(0, "BUTTON", "", WS_CHILD, 0, 0, kW, kH, host, nullptr, nullptr, nullptr));
        plain.SetBkColorOut(kBkOut);
        plain.SetIcon(IDI_MESSENGER, 0);
        alone = Draw(plain, 0);
        plain.DestroyWindow();
    }
    // Without a title the icon is centred both ways.
    const CRect whole(0, 0, kW, kH);
    CRect iconInk = alone.Ink(kBkOut, whole);
    ASSERT_FALSE(iconInk.IsRectEmpty());
    iconInk.OffsetRect(-(kW - 16) / 2, -(kH - 16) / 2);

    const CRect iconArea(0, 0, 3 + 16, kH);
    CRect expected = iconInk;
    expected.OffsetRect(3, (kH - 16) / 2);
    EXPECT_EQ(Draw(button, 0).Ink(kBkOut, iconArea), expected);
    expected.OffsetRect(1, 1);
    EXPECT_EQ(Draw(button, ODS_SELECTED).Ink(kBkIn, CRect(1, 1, 3 + 16 + 1, kH - 1)), expected);

    // The title is centred in what is right of the icon.
    CSize textSize;
    Drawing away = Draw(button, 0, &textSize);
    CRect textInk = away.Ink(kBkOut, CRect(3 + 16, 0, kW, kH));
    int cellLeft = 19 + (kW - 19 - textSize.cx) / 2;
    EXPECT_GE(textInk.left, cellLeft);
    EXPECT_LE(textInk.right, cellLeft + textSize.cx);
}

// ---- drawing on the screen, through the parent's reflection -----------------

TEST_F(ButtonFixture, PaintsItselfOnTheScreenThroughTheParent)
{
    EXPECT_EQ(button.GetButtonStyle() & BS_TYPEMASK, (UINT)BS_OWNERDRAW);
    auto probe = [&](int x, int y) {
        ::RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        HDC hdc = ::GetDC(button);
        COLORREF cr = ::GetPixel(hdc, x, y);
        ::ReleaseDC(button, hdc);
        return cr;
    };
    EXPECT_EQ(probe(2, 2), kBkOut);
    MoveMouseTo(OnButton());
    FlushMessages();
    EXPECT_EQ(probe(2, 2), kBkIn);
    EXPECT_EQ(probe(0, 0), ::GetSysColor(COLOR_BTNHILIGHT));
    // The colour request is answered with the hollow brush.
    EXPECT_EQ((HGDIOBJ)host.SendMessage(WM_CTLCOLORBTN, 0, (LPARAM)button.m_hWnd), ::GetStockObject(NULL_BRUSH));
}

// ---- hover tracking ----------------------------------------------------------

TEST_F(ButtonFixture, HoverHoldsTheCaptureAndEndsAtTheFirstMoveOutside)
{
    EXPECT_FALSE(button.IsMouseOver());
    MoveMouseTo(OnButton(5, 5));
    FlushMessages();
    EXPECT_TRUE(button.IsMouseOver());
    EXPECT_EQ(::GetCapture(), button.m_hWnd);

    MoveMouseTo(OnButton(kW - 5, kH - 5));
    FlushMessages();
    EXPECT_TRUE(button.IsMouseOver());

    MoveMouseTo(OnButton(kW + 10, kH / 2));  // on the parent, beside the button
    FlushMessages();
    EXPECT_FALSE(button.IsMouseOver());
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(ButtonFixture, PressingElsewhereAndDraggingOnDoesNotLightIt)
{
    MoveMouseTo(OnButton(kW + 10, kH / 2));
    MouseDown();
    MoveMouseTo(OnButton());
    MoveMouseTo(OnButton(10, 10));
    FlushMessages();
    EXPECT_FALSE(button.IsMouseOver());
    EXPECT_NE(::GetCapture(), button.m_hWnd);
    MouseUp();
    EXPECT_EQ(host.clicks, 0);

    // Once the button is let go, the next move lights it.
    MoveMouseTo(OnButton(12, 12));
    FlushMessages();
    EXPECT_TRUE(button.IsMouseOver());
}

TEST_F(ButtonFixture, DoubleClickIsTwoClicks)
{
    MoveMouseTo(OnButton());
    FlushMessages();
    MouseDown();
    MouseUp();
    MouseDown();
    MouseUp();
    FlushMessages();
    EXPECT_EQ(host.clicks, 2);
    EXPECT_EQ(host.doubleClicks, 0);
    EXPECT_TRUE(button.IsMouseOver());

    // The click gave the button the focus; losing it ends the hover.
    ASSERT_EQ(::GetFocus(), button.m_hWnd);
    host.SetFocus();
    EXPECT_FALSE(button.IsMouseOver());
}

TEST_F(ButtonFixture, LosingTheCaptureToAnotherWindowLeavesThatWindowsCapture)
{
    MoveMouseTo(OnButton());
    FlushMessages();
    ASSERT_EQ(::GetCapture(), button.m_hWnd);
    ::SetCapture(host);
    FlushMessages();
    EXPECT_EQ(::GetCapture(), host.m_hWnd) << "the button must not release someone else's capture";
    EXPECT_TRUE(button.IsMouseOver()) << "the hover flag waits for the next move";
    ::ReleaseCapture();
}

// ---- resources and settings --------------------------------------------------

TEST_F(ButtonFixture, CursorShowsOverTheButton)
{
    EXPECT_FALSE(button.SetButtonCursor(4242));
    EXPECT_EQ(button.GetButtonCursor(), nullptr);
    EXPECT_TRUE(button.SetButtonCursor(IDC_CURSOR_HAND));
    ASSERT_NE(button.GetButtonCursor(), nullptr);
    EXPECT_TRUE(button.SendMessage(WM_SETCURSOR, (WPARAM)button.m_hWnd, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(::GetCursor(), button.GetButtonCursor());
    EXPECT_TRUE(button.SetButtonCursor(-1));
    EXPECT_EQ(button.GetButtonCursor(), nullptr);
}

TEST_F(ButtonFixture, IconsAreOwnedAndNothingLeaks)
{
    HICON first = (HICON)::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_MESSENGER), IMAGE_ICON, 0, 0, 0);
    button.SetIcon(first, nullptr);
    // Given again, a held icon stays alive.
    button.SetIcon(first, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(::GetIconInfo(first, &info));
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);

    // Replaced (the new icons load first, so no handle can be reused yet).
    button.SetIcon(IDI_MESSENGER, IDI_WEB);
    EXPECT_FALSE(::GetIconInfo(first, &info)) << "the replaced icon was destroyed";

    auto cycle = [&](int i) {
        button.SetIcon(IDI_MESSENGER, i % 2 ? IDI_WEB : 0);
        button.SetButtonCursor(IDC_CURSOR_HAND);
        button.SetTooltipText("tip");
        (void)Draw(button, i % 3 ? 0 : ODS_SELECTED | ODS_DISABLED);
    };
    auto release = [&] {
        button.SetIcon(4242u, 0u);
        button.SetButtonCursor(-1);
    };
    // The counts compare like with like: both taken with no icon or cursor
    // held, after a warm-up that creates the tooltip and fills the system's
    // one-time caches. (Wine 8 answers GetGuiResources with 0 for USER.)
    cycle(0);
    cycle(1);
    release();
    const DWORD gdi = GdiObjects(), user = UserObjects();
    for (int i = 0; i < 50; ++i)
        cycle(i);
    release();
    EXPECT_EQ(button.GetIconIn(), nullptr) << "a missing resource leaves no icon";
    EXPECT_EQ(button.GetIconSize().cx, 0);
    EXPECT_EQ(GdiObjects(), gdi);
    EXPECT_EQ(UserObjects(), user);
}

TEST_F(ButtonFixture, TooltipHasOneToolWhoseTextFollowsTheLastCall)
{
    button.SetTooltipText(nullptr);
    EXPECT_EQ(button.GetToolTip().m_hWnd, nullptr) << "a null text does nothing";
    button.SetTooltipText("first");
    button.SetTooltipText("second");
    ASSERT_NE(button.GetToolTip().m_hWnd, nullptr);
    EXPECT_EQ(button.GetToolTip().GetToolCount(), 1);
    EXPECT_EQ(button.GetToolTip().GetText(&button, 1), "second");
}

TEST_F(ButtonFixture, ColourSettersRepaintOnlyWhenAskedWithTrue)
{
    struct Case { BOOL flag; bool repaints; } cases[] = { { FALSE, false }, { TRUE, true }, { 2, false } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flag);
        ::ValidateRect(button, nullptr);
        button.SetTextColorIn(RGB(1, 2, 3), c.flag);
        EXPECT_EQ(::GetUpdateRect(button, nullptr, FALSE) != FALSE, c.repaints);
    }
    EXPECT_EQ(button.GetTextColorIn(), RGB(1, 2, 3));
}

}  // namespace
