// Skinned push button: nine-slice face painter, the three paint paths, hover
// tracking, and the procedure through which the skin engine drives it.
#include "skin/SkinButton.h"
#include "skin/MemDC.h"
#include "res/resource.h"

namespace {

const char kObjProp[] = "SkinButtonObj";
const char kOldProcProp[] = "OldWndProc";
const char kHandledProp[] = "SkinButtonHandled";

enum { TILE_NONE, TILE_ACROSS, TILE_DOWN };

}  // namespace

BEGIN_MESSAGE_MAP(CSkinButton, CButton)
    // The framework's default processing follows the tracking request.
    VESKAR_ENTRY(WM_MOUSEMOVE, 0, 0, 0, self_->OnMouseMove((UINT)wp_, CPoint(lp_)); r_ = self_->Default())
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
    ON_MESSAGE(WM_MOUSEHOVER, OnMouseHover)
    // A skinned parent sends draw-item requests to the button itself.
    VESKAR_ENTRY(WM_DRAWITEM, 0, 0, 0, self_->DrawItem((LPDRAWITEMSTRUCT)lp_); r_ = TRUE)
END_MESSAGE_MAP()

CSkinButton::CSkinButton()
    : m_nCornerWidth(3), m_nCornerHeight(3),
      m_nBmpNormal(IDB_BUTTON_NORMAL), m_nBmpFocus(IDB_BUTTON_FOCUS), m_nBmpHover(IDB_BUTTON_HOVER),
      m_nBmpPressed(IDB_BUTTON_PRESSED),
      m_bStretchEdges(TRUE), m_bHover(FALSE), m_bTracking(FALSE), m_bFocus(FALSE)
{
}

CSkinButton::~CSkinButton() = default;

BOOL CSkinButton::AttachToButton(HWND hWnd)
{
    if (::GetPropA(hWnd, kObjProp))
        return FALSE;
    CSkinButton* p = new CSkinButton;
    // Not entered in the framework's window map: messages come through
    // SkinButtonWndProc only.
    p->m_hWnd = hWnd;
    p->m_bStretchEdges = m_bStretchEdges;
    p->m_nBmpFocus = m_nBmpFocus;
    p->m_nBmpHover = m_nBmpHover;
    p->m_nBmpNormal = m_nBmpNormal;
    p->m_nBmpPressed = m_nBmpPressed;
    p->m_nCornerWidth = m_nCornerWidth;
    p->m_nCornerHeight = m_nCornerHeight;
    ::SetPropA(hWnd, kObjProp, (HANDLE)p);
    ::SetPropA(hWnd, kOldProcProp, (HANDLE)::GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
    ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)SkinButtonWndProc);
    return TRUE;
}

LRESULT CALLBACK CSkinButton::SkinButtonWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC old = (WNDPROC)::GetPropA(hWnd, kOldProcProp);
    CSkinButton* p = (CSkinButton*)::GetPropA(hWnd, kObjProp);
    if (!old)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    if (!p) {
        // Detached while another procedure sat above ours: only forward.
        if (message == WM_NCDESTROY)
            ::RemovePropA(hWnd, kOldProcProp);
        return ::CallWindowProcA(old, hWnd, message, wParam, lParam);
    }
    LRESULT result = 0;
    try {
        if (p->OnSkinMessage(old, message, wParam, lParam, &result))
            return result;
    } catch (...) {
        // Nothing may unwind through USER32; the message goes on as usual.
    }
    return ::CallWindowProcA(old, hWnd, message, wParam, lParam);
}

bool CSkinButton::OnSkinMessage(WNDPROC old, UINT message, WPARAM& wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (message) {
    case WM_DRAWITEM:
        DrawItem((LPDRAWITEMSTRUCT)lParam);
        *pResult = 1;
        return true;
    case WM_ERASEBKGND:
        *pResult = PaintOnErase((HDC)wParam);
        return true;
    case WM_PAINT:
        PaintNow();
        break;
    case WM_MOUSEMOVE:
        OnMouseMove((UINT)wParam, CPoint(lParam));
        break;
    case WM_MOUSEHOVER:
        OnMouseHover(wParam, lParam);
        break;
    case WM_MOUSELEAVE:
        OnMouseLeave(wParam, lParam);
        break;
    case BM_SETSTYLE:
        // The dialog manager may set a default-button style on a button it
        // thinks is a push button (Wine does so right after a message box's
        // activation); a skinned button must stay owner-drawn.
        if ((::GetWindowLongPtrA(m_hWnd, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW)
            wParam = (wParam & ~(WPARAM)BS_TYPEMASK) | BS_OWNERDRAW;
        break;
    case WM_DESTROY:
        DetachFromButton(old);  // deletes this
        break;
    default:
        break;
    }
    return false;
}

void CSkinButton::DetachFromButton(WNDPROC old)
{
    // The object goes before the previous procedure sees WM_DESTROY, so
    // nothing can reach it half-destroyed.
    HWND hWnd = m_hWnd;
    bool onTop = (WNDPROC)::GetWindowLongPtrA(hWnd, GWLP_WNDPROC) == SkinButtonWndProc;
    if (onTop)
        ::RemovePropA(hWnd, kOldProcProp);
    ::RemovePropA(hWnd, kObjProp);
    if (onTop)
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)old);
    m_hWnd = nullptr;
    delete this;
}

CString CSkinButton::ButtonText(HWND hWnd)
{
    char text[1024] = "";
    ::GetWindowTextA(hWnd, text, sizeof text);
    return CString(text);
}

UINT CSkinButton::CurrentItemState() const
{
    // BM_GETSTATE has pushed at 0x4 where the item state has disabled, so
    // translate rather than pass it through.
    UINT s = (UINT)::SendMessageA(m_hWnd, BM_GETSTATE, 0, 0);
    UINT state = 0;
    if (s & BST_PUSHED)
        state |= ODS_SELECTED;
    if (s & BST_FOCUS)
        state |= ODS_FOCUS;
    if (!::IsWindowEnabled(m_hWnd))
        state |= ODS_DISABLED;
    return state;
}

void CSkinButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CMemDC mem(lpDIS->hDC);
    CRect rect(lpDIS->rcItem);
    UINT state = lpDIS->itemState;
    CString text = ButtonText(lpDIS->hwndItem);
    m_bFocus = (state & ODS_FOCUS) != 0;
    DrawFace(mem, state, rect, m_bFocus, text);
}

BOOL CSkinButton::PaintOnErase(CDCHandle dc)
{
    CRect rect;
    GetClientRect(&rect);
    CMemDC mem(dc, &rect);
    DrawFace(mem, CurrentItemState(), rect, m_bFocus, ButtonText(m_hWnd));
    // The draw-item path that follows leaves the final picture.
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    return TRUE;
}

void CSkinButton::PaintNow()
{
    CClientDC dc(m_hWnd);
    CRect rect;
    GetClientRect(&rect);
    CMemDC mem(dc, &rect);
    DrawFace(mem, CurrentItemState(), rect, m_bFocus, ButtonText(m_hWnd));
}

void CSkinButton::CopySlice(HDC hdcDst, HDC hdcSrc, const RECT& dst, int xs, int ys, int ws, int hs,
                            int tileDirection) const
{
    if (tileDirection == TILE_NONE) {
        ::StretchBlt(hdcDst, dst.left, dst.top, dst.right - dst.left, dst.bottom - dst.top,
                     hdcSrc, xs, ys, ws, hs, SRCCOPY);
        return;
    }
    // A slice of no size would never advance.
    if (ws <= 0 || hs <= 0)
        return;
    // The last tile may run past its destination; the corners cover it.
    if (tileDirection == TILE_ACROSS) {
        for (int x = dst.left; x <= dst.right; x += ws)
            ::BitBlt(hdcDst, x, dst.top, ws, hs, hdcSrc, xs, ys, SRCCOPY);
    } else {
        for (int y = dst.top; y <= dst.bottom; y += hs)
            ::BitBlt(hdcDst, dst.left, y, ws, hs, hdcSrc, xs, ys, SRCCOPY);
    }
}

void CSkinButton::DrawFace(CDCHandle dc, UINT nState, CRect rect, BOOL bFocus, const CString& text)
{
    UINT nBitmap;
    if (bFocus)
        nBitmap = (nState & 1) ? m_nBmpPressed : m_nBmpFocus;
    else
        nBitmap = (m_bHover && m_nBmpHover) ? m_nBmpHover : m_nBmpNormal;
    DrawSlices(dc, nBitmap, rect.right, rect.bottom);

    // The button's font stays the button's: selected for the text only.
    HFONT hFont = m_hWnd ? (HFONT)::SendMessageA(m_hWnd, WM_GETFONT, 0, 0) : nullptr;
    CSelectObject selectFont(dc, hFont);
    if (!text.IsEmpty()) {
        CSize extent = dc.GetTextExtent(text, text.GetLength());
        int x = (rect.left + rect.right) / 2 - extent.cx / 2;
        int y = (rect.top + rect.bottom) / 2 - extent.cy / 2;
        if (nState & 1) {
            ++x;
            ++y;
        }
        int oldMode = dc.SetBkMode(TRANSPARENT);
        UINT flags = DST_PREFIXTEXT | ((nState & 4) ? DSS_DISABLED : 0);
        ::DrawStateA(dc, nullptr, nullptr, (LPARAM)text.GetString(), 0, x, y, extent.cx, extent.cy, flags);
        dc.SetBkMode(oldMode);
    }
}

void CSkinButton::DrawSlices(HDC d, UINT nBitmap, int R, int B) const
{
    CDC mem;
    mem.CreateCompatibleDC(nullptr);
    CBitmap bitmap;
    bitmap.LoadBitmap(nBitmap);
    if (!bitmap || !mem)
        return;
    CSelectObject select(mem, bitmap);
    const CSize size = bitmap.GetSize();
    const int W = size.cx, H = size.cy;
    const int cw = m_nCornerWidth, ch = m_nCornerHeight;
    const int across = m_bStretchEdges ? TILE_NONE : TILE_ACROSS;
    const int down = m_bStretchEdges ? TILE_NONE : TILE_DOWN;
    HDC s = mem;

    CopySlice(d, s, CRect(cw, 0, R - cw, ch), cw, 0, W - 2 * cw, ch, across);
    CopySlice(d, s, CRect(cw, B - ch, R - cw, B), cw, H - ch, W - 2 * cw, ch, across);
    CopySlice(d, s, CRect(0, ch, cw, B - ch), 0, ch, cw, H - 2 * ch, down);
    CopySlice(d, s, CRect(R - cw, ch, R, B - ch), W - cw, ch, cw, H - 2 * ch, down);
    CopySlice(d, s, CRect(cw, ch, R - cw, B - ch), cw, ch, W - 2 * cw, H - 2 * ch, TILE_NONE);

    ::BitBlt(d, 0, 0, cw, ch, s, 0, 0, SRCCOPY);
    ::BitBlt(d, R - cw, 0, cw, ch, s, W - cw, 0, SRCCOPY);
    ::BitBlt(d, 0, B - ch, cw, ch, s, 0, H - ch, SRCCOPY);
    ::BitBlt(d, R - cw, B - ch, cw, ch, s, W - cw, H - ch, SRCCOPY);
}

void CSkinButton::OnMouseMove(UINT, CPoint)
{
    if (!m_bTracking) {
        TRACKMOUSEEVENT tme = {};
        tme.cbSize = sizeof tme;
        tme.dwFlags = TME_HOVER | TME_LEAVE;
        tme.hwndTrack = m_hWnd;
        tme.dwHoverTime = 1;
        m_bTracking = ::_TrackMouseEvent(&tme);
    }
}

LRESULT CSkinButton::OnMouseHover(WPARAM, LPARAM)
{
    m_bHover = TRUE;
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return 1;
}

LRESULT CSkinButton::OnMouseLeave(WPARAM, LPARAM)
{
    m_bTracking = FALSE;
    m_bHover = FALSE;
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    return 0;
}

void CSkinButton::PreSubclassWindow()
{
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, ::GetWindowLongPtrA(m_hWnd, GWL_STYLE) | BS_OWNERDRAW);
    ::SetPropA(m_hWnd, kHandledProp, (HANDLE)1);
    CButton::PreSubclassWindow();
}
