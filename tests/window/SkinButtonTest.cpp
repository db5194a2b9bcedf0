// CSkinButton: the face painter read back pixel by pixel, and the window
// properties and procedures of an attached button.
#include "skin/SkinButton.h"
#include "skin/SkinManager.h"
#include "TestSupport.h"
#include <cstdlib>
#include <new>
#include <string>

namespace {

// A memory surface of the screen's format.
struct Surface {
    CDC dc;
    CBitmap bitmap;
    HGDIOBJ old = nullptr;
    int w, h;
    Surface(int width, int height, COLORREF fill = RGB(0, 128, 0)) : w(width), h(height)
    {
        CClientDC screen(HWND(nullptr));
        dc.CreateCompatibleDC(screen);
        bitmap.CreateCompatibleBitmap(screen, w, h);
        old = dc.SelectObject(bitmap);
        CRect all(0, 0, w, h);
        dc.FillSolidRect(&all, fill);
    }
    ~Surface() { dc.SelectObject(old); }
    COLORREF At(int x, int y) const { return ::GetPixel(dc.m_hDC, x, y); }
};

// A face bitmap as the painter sees it (at screen depth).
struct Face : Surface {
    explicit Face(UINT id) : Surface(1, 1)
    {
        dc.SelectObject(old);
        EXPECT_TRUE(bitmap.LoadBitmap(id)) << id;
        CSize s = bitmap.GetSize();
        w = s.cx;
        h = s.cy;
        old = dc.SelectObject(bitmap);
    }
};

// Bounding box of the pixels where two equally sized surfaces differ.
CRect DiffBox(const Surface& a, const Surface& b)
{
    CRect box(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
    for (int y = 0; y < a.h; ++y)
        for (int x = 0; x < a.w; ++x)
            if (a.At(x, y) != b.At(x, y)) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
    return box;
}

bool SameSurface(const Surface& a, const Surface& b)
{
    return DiffBox(a, b).left == INT_MAX;
}

void Paint(CSkinButton& button, Surface& s, UINT state, BOOL focus, const char* text)
{
    button.DrawFace(s.dc, state, CRect(0, 0, s.w, s.h), focus, CString(text));
}

}  // namespace

TEST(SkinButtonFace, CornersStayExactAndTheRestStretches)
{
    CSkinButton button;
    Surface s(200, 40);
    Paint(button, s, 0, FALSE, "");
    Face f(351);
    ASSERT_EQ(f.w, 73);
    ASSERT_EQ(f.h, 21);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) {
            SCOPED_TRACE(testing::Message() << "corner pixel " << x << "," << y);
            EXPECT_EQ(s.At(x, y), f.At(x, y));
            EXPECT_EQ(s.At(197 + x, y), f.At(70 + x, y));
            EXPECT_EQ(s.At(x, 37 + y), f.At(x, 18 + y));
            EXPECT_EQ(s.At(197 + x, 37 + y), f.At(70 + x, 18 + y));
        }
    // The face's rows run from white to grey: first and last centre rows of
    // the button come from the first and last centre rows of the bitmap.
    EXPECT_EQ(s.At(100, 3), f.At(36, 3));
    EXPECT_EQ(s.At(100, 36), f.At(36, 17));
    EXPECT_EQ(s.At(100, 0), f.At(36, 0));   // top edge
    EXPECT_EQ(s.At(0, 20), f.At(0, 10));    // left edge
    EXPECT_EQ(s.At(199, 20), f.At(72, 10)); // right edge
    EXPECT_NE(s.At(100, 3), s.At(100, 36));
}

TEST(SkinButtonFace, TiledEdgesRepeatAtTheSourceHeight)
{
    // The gradient has a different colour on every row, so tiles show.
    CSkinButton button;
    button.m_nBmpNormal = 147;
    button.m_bStretchEdges = FALSE;
    Surface s(20, 600);
    Paint(button, s, 0, FALSE, "");
    Face f(147);
    const int tile = f.h - 6;
    for (int k : {0, 1, 100, 243}) {
        SCOPED_TRACE(k);
        EXPECT_EQ(s.At(0, 3 + k), f.At(0, 3 + k));
        EXPECT_EQ(s.At(0, 3 + tile + k), f.At(0, 3 + k));
        EXPECT_EQ(s.At(19, 3 + tile + k), f.At(6, 3 + k));
    }
    // The centre is stretched in both modes: its lower half shows lower rows.
    EXPECT_EQ(s.At(10, 596), f.At(3, 246));

    CSkinButton stretched;
    stretched.m_nBmpNormal = 147;
    Surface t(20, 600);
    Paint(stretched, t, 0, FALSE, "");
    EXPECT_NE(t.At(0, 3 + tile + 1), f.At(0, 4));
}

TEST(SkinButtonFace, TextIsCentredAndShiftedWhenPressed)
{
    CSkinButton button;
    Surface released(120, 30), releasedFace(120, 30);
    Paint(button, released, 0, TRUE, "Wx");
    Paint(button, releasedFace, 0, TRUE, "");
    Surface pressed(120, 30), pressedFace(120, 30);
    Paint(button, pressed, ODS_SELECTED, TRUE, "Wx");
    Paint(button, pressedFace, ODS_SELECTED, TRUE, "");

    CSize extent = released.dc.GetTextExtent("Wx", 2);
    CRect ink = DiffBox(released, releasedFace);
    ASSERT_NE(ink.left, INT_MAX) << "no text drawn";
    int x = 60 - extent.cx / 2, y = 15 - extent.cy / 2;
    EXPECT_GE(ink.left, x);
    EXPECT_LE(ink.right, x + extent.cx);
    EXPECT_GE(ink.top, y);
    EXPECT_LE(ink.bottom, y + extent.cy);
    EXPECT_NEAR((ink.left + ink.right) / 2, 60, 3);

    CRect inkPressed = DiffBox(pressed, pressedFace);
    EXPECT_EQ(inkPressed.left, ink.left + 1);
    EXPECT_EQ(inkPressed.top, ink.top + 1);
    EXPECT_EQ(inkPressed.right, ink.right + 1);
    EXPECT_EQ(inkPressed.bottom, ink.bottom + 1);
    // Face 352 when pressed with focus, 157 when released.
    Face f352(352), f157(157);
    EXPECT_EQ(pressedFace.At(1, 1), f352.At(1, 1));
    EXPECT_EQ(releasedFace.At(1, 1), f157.At(1, 1));
    EXPECT_FALSE(SameSurface(pressedFace, releasedFace));
}

TEST(SkinButtonFace, DisabledTextIsEmbossedNotBlack)
{
    CSkinButton button;
    Surface normal(120, 30), disabled(120, 30);
    Paint(button, normal, 0, FALSE, "WWW");
    Paint(button, disabled, ODS_DISABLED, FALSE, "WWW");
    auto count = [](const Surface& s, COLORREF c) {
        int n = 0;
        for (int y = 0; y < s.h; ++y)
            for (int x = 0; x < s.w; ++x)
                n += s.At(x, y) == c;
        return n;
    };
    EXPECT_GT(count(normal, RGB(0, 0, 0)), 0);
    EXPECT_EQ(count(disabled, RGB(0, 0, 0)), 0);
    EXPECT_GT(count(disabled, ::GetSysColor(COLOR_3DSHADOW)), 0);
}

TEST(SkinButtonFace, HoverFaceOnlyWithoutFocus)
{
    struct Case { BOOL hover; UINT hoverId; BOOL focus; UINT expectedFace; } cases[] = {
        {TRUE, 156, FALSE, 156},
        {TRUE, 0, FALSE, 351},
        {TRUE, 156, TRUE, 157},
        {FALSE, 156, FALSE, 351},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "hover " << c.hover << " id " << c.hoverId << " focus " << c.focus);
        CSkinButton button;
        button.m_bHover = c.hover;
        button.m_nBmpHover = c.hoverId;
        Surface s(80, 30);
        Paint(button, s, 0, c.focus, "OK");
        CSkinButton reference;
        reference.m_nBmpNormal = reference.m_nBmpFocus = c.expectedFace;
        Surface r(80, 30);
        Paint(reference, r, 0, c.focus, "OK");
        EXPECT_TRUE(SameSurface(s, r));
    }
    // The faces do differ, so the comparison above means something.
    CSkinButton a, b;
    b.m_nBmpNormal = 156;
    Surface sa(80, 30), sb(80, 30);
    Paint(a, sa, 0, FALSE, "");
    Paint(b, sb, 0, FALSE, "");
    EXPECT_FALSE(SameSurface(sa, sb));
}

TEST(SkinButtonFace, TextIsCutTo1023Bytes)
{
    HWND hWnd = ::CreateWindowExA(0, "Button", std::string(1500, 'x').c_str(), WS_POPUP, 0, 0, 10, 10,
                                  nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(hWnd);
    EXPECT_EQ(CSkinButton::ButtonText(hWnd).GetLength(), 1023);
    ::DestroyWindow(hWnd);
}

// ---- properties and procedures ----------------------------------------------

namespace {

// Heap watch: tells whether one object has been deleted.
const void* volatile g_watched = nullptr;
volatile bool g_watchedDeleted = false;

struct DestroyObservation {
    bool seen = false;
    bool objectGone = false;
    bool objPropGone = false;
    bool oldProcPropGone = false;
    bool procIsOurs = false;
};
DestroyObservation g_destroy;
WNDPROC g_recorderPrevious = nullptr;

LRESULT CALLBACK RecordingProc(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_DESTROY) {
        g_destroy.seen = true;
        g_destroy.objectGone = g_watchedDeleted;
        g_destroy.objPropGone = !::GetPropA(hWnd, "SkinButtonObj");
        g_destroy.oldProcPropGone = !::GetPropA(hWnd, "OldWndProc");
        g_destroy.procIsOurs = (WNDPROC)::GetWindowLongPtrA(hWnd, GWLP_WNDPROC) == RecordingProc;
    }
    return ::CallWindowProcA(g_recorderPrevious, hWnd, msg, wp, lp);
}

}  // namespace

void operator delete(void* p) noexcept
{
    if (p && p == g_watched)
        g_watchedDeleted = true;
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    ::operator delete(p);
}

TEST(SkinButtonAttach, PropertiesComeAndGoInOrder)
{
    HWND hParent = ::CreateWindowExA(0, "#32770", "", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    HWND hButton = ::CreateWindowExA(0, "Button", "OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 24,
                                     hParent, (HMENU)1, nullptr, nullptr);
    ASSERT_TRUE(hButton);
    g_recorderPrevious = (WNDPROC)::SetWindowLongPtrA(hButton, GWLP_WNDPROC, (LONG_PTR)RecordingProc);

    CSkinButton templ;
    templ.m_nBmpHover = 0;
    templ.m_bStretchEdges = FALSE;
    templ.m_nCornerWidth = 4;
    ASSERT_TRUE(templ.AttachToButton(hButton));
    EXPECT_FALSE(templ.AttachToButton(hButton));
    auto* obj = (CSkinButton*)::GetPropA(hButton, "SkinButtonObj");
    ASSERT_TRUE(obj);
    EXPECT_NE(obj, &templ);
    EXPECT_EQ(obj->m_hWnd, hButton);
    EXPECT_EQ(obj->m_nBmpHover, 0u);
    EXPECT_EQ(obj->m_bStretchEdges, FALSE);
    EXPECT_EQ(obj->m_nCornerWidth, 4);
    EXPECT_EQ(obj->m_nBmpNormal, 351u);
    EXPECT_EQ(::GetPropA(hButton, "OldWndProc"), (HANDLE)RecordingProc);
    EXPECT_EQ((WNDPROC)::GetWindowLongPtrA(hButton, GWLP_WNDPROC), CSkinButton::SkinButtonWndProc);
    EXPECT_EQ(CWnd::FromHandlePermanent(hButton), nullptr);

    g_watched = obj;
    g_watchedDeleted = false;
    g_destroy = {};
    ::DestroyWindow(hParent);
    g_watched = nullptr;
    EXPECT_TRUE(g_destroy.seen);
    EXPECT_TRUE(g_destroy.objectGone);
    EXPECT_TRUE(g_destroy.objPropGone);
    EXPECT_TRUE(g_destroy.oldProcPropGone);
    EXPECT_TRUE(g_destroy.procIsOurs);
}

TEST(SkinButtonAttach, KeepsOwnerDrawWhenTheDialogManagerResetsTheStyle)
{
    HWND hParent = ::CreateWindowExA(0, "#32770", "", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    HWND hButton = ::CreateWindowExA(0, "Button", "OK", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 10, 10, 80, 24,
                                     hParent, (HMENU)1, nullptr, nullptr);
    CSkinButton templ;
    ASSERT_TRUE(templ.AttachToButton(hButton));
    ::SendMessageA(hButton, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_EQ(::GetWindowLongPtrA(hButton, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    ::DestroyWindow(hParent);
}

TEST(SkinButtonAttach, FrameworkRouteMarksTheButton)
{
    HWND hParent = ::CreateWindowExA(0, "#32770", "", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    HWND hButton = ::CreateWindowExA(0, "Button", "OK", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 10, 10, 80, 24,
                                     hParent, (HMENU)1, nullptr, nullptr);
    {
        CSkinButton button;
        ASSERT_TRUE(button.SubclassWindow(hButton));
        EXPECT_EQ(::GetWindowLongPtrA(hButton, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
        EXPECT_EQ(::GetPropA(hButton, "SkinButtonHandled"), (HANDLE)1);
        EXPECT_EQ(CWnd::FromHandlePermanent(hButton), &button);
        // A draw-item request sent to the button itself is drawn by it.
        Surface s(80, 24);
        DRAWITEMSTRUCT dis = {ODT_BUTTON, 1, 0, ODA_DRAWENTIRE, 0, hButton, s.dc.m_hDC, {0, 0, 80, 24}, 0};
        EXPECT_EQ(::SendMessageA(hButton, WM_DRAWITEM, 1, (LPARAM)&dis), 1);
        Face f(351);
        EXPECT_EQ(s.At(0, 0), f.At(0, 0));
        EXPECT_EQ(s.At(40, 12), f.At(36, 10));
    }
    ::DestroyWindow(hParent);
}
