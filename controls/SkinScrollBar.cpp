// Thumb arithmetic, mouse handling and auto-repeat shared by both skinned
// scroll bars.
#include "controls/SkinScrollBar.h"
#include "controls/SkinListCtrl.h"
#include <climits>
#include <cmath>

CSkinScrollBar::CPiece::CPiece(HDC hBitmapDC, UINT nID)
    : m_select(hBitmapDC, (m_bitmap.LoadBitmap(nID), (HBITMAP)m_bitmap))
{
}

CSkinScrollBar::CSkinScrollBar(const ScrollAxis& axis, int nThumbPos)
    : m_nThumbPos(nThumbPos), m_axis(axis)
{
}

CSkinScrollBar::~CSkinScrollBar()
{
    // The window is the dialog's child but belongs to this object.
    DestroyWindow();
}

BEGIN_MESSAGE_MAP(CSkinScrollBar, CStatic)
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_TIMER()
    ON_WM_CAPTURECHANGED()
    ON_WM_CANCELMODE()
END_MESSAGE_MAP()

int CSkinScrollBar::ThumbFromScroll(const ScrollAxis& axis, int extent, int pos, int limit)
{
    if (limit <= 0)
        return axis.base;
    double ratio = (double)(extent - axis.span) / limit;
    return (int)(ratio * pos) + axis.base;
}

int CSkinScrollBar::ClampThumbPos(const ScrollAxis& axis, int thumb, int extent)
{
    if (thumb + axis.thumbLength > extent - axis.endArrow)
        thumb = extent - axis.highestFromEnd;
    if (thumb < axis.lowest)
        thumb = axis.lowest;
    return thumb;
}

bool CSkinScrollBar::DragTarget(const ScrollAxis& axis, int thumb, int extent, int limit, int* pTarget)
{
    if (limit <= 0 || extent - axis.span <= 0)
        return false;  // nothing to scroll, or no track: the division would blow up
    double ratio = (double)(extent - axis.span) / limit;
    double target = (thumb - axis.base) / ratio;
    // Far outside the range the list would clamp anyway; keep the pixel
    // arithmetic that follows inside int.
    double bound = (double)(INT_MAX / 2 / axis.dragUnit);
    if (target > bound)
        target = bound;
    if (target < -bound)
        target = -bound;
    *pTarget = (int)target;
    return true;
}

int CSkinScrollBar::ScrollLimit(HWND hList, int nBar)
{
    SCROLLINFO si = { sizeof(si), SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0 };
    if (!::GetScrollInfo(hList, nBar, &si))
        return 0;
    int limit = si.nMax;
    if (si.nPage > 1)
        limit -= (int)si.nPage - 1;
    return limit;
}

int CSkinScrollBar::Extent() const
{
    CRect rc;
    GetClientRect(&rc);
    return m_axis.nBar == SB_VERT ? rc.Height() : rc.Width();
}

void CSkinScrollBar::UpdateThumb()
{
    if (!m_hWnd)
        return;
    int pos = 0, limit = 0;
    if (m_pList && m_pList->m_hWnd) {
        pos = ::GetScrollPos(m_pList->m_hWnd, m_axis.nBar);
        limit = ScrollLimit(m_pList->m_hWnd, m_axis.nBar);
    }
    m_nThumbPos = ThumbFromScroll(m_axis, Extent(), pos, limit);
    ClampThumb();
    DrawBar();
}

void CSkinScrollBar::ClampThumb()
{
    m_nThumbPos = ClampThumbPos(m_axis, m_nThumbPos, Extent());
}

void CSkinScrollBar::Scroll(UINT nCode)
{
    if (m_pList && m_pList->m_hWnd)
        m_pList->SendMessage(m_axis.scrollMsg, nCode, 0);
    UpdateThumb();
}

void CSkinScrollBar::OnPaint()
{
    CPaintDC dc(this);  // validates; the drawing goes through a client context
    DrawBar();
}

void CSkinScrollBar::OnLButtonDown(UINT, CPoint pt)
{
    SetCapture();
    if (InThumb(pt))
        m_bThumbGrabbed = true;
    if (InForward(pt)) {
        m_bForwardHeld = true;
        SetTimer(TIMER_DELAY, DELAY_MS);
    }
    if (InBack(pt)) {
        m_bBackHeld = true;
        SetTimer(TIMER_DELAY, DELAY_MS);
    }
    Default();
}

void CSkinScrollBar::OnMouseMove(UINT, CPoint pt)
{
    if (m_bThumbGrabbed) {
        const int thumb = (m_axis.nBar == SB_VERT ? pt.y : pt.x) - m_axis.dragOffset;
        m_nThumbPos = thumb;
        int target = 0;
        if (m_pList && m_pList->m_hWnd) {
            int limit = ScrollLimit(m_pList->m_hWnd, m_axis.nBar);
            int pos = ::GetScrollPos(m_pList->m_hWnd, m_axis.nBar);
            if (DragTarget(m_axis, m_nThumbPos, Extent(), limit, &target)) {
                // The list scrolls in pixels; a row is taken as 16 of them.
                int delta = (target - pos) * m_axis.dragUnit;
                if (m_axis.nBar == SB_VERT)
                    m_pList->Scroll(0, delta);
                else
                    m_pList->Scroll(delta, 0);
            }
        }
        // The thumb follows the pointer inside its bounds, also when the
        // scroll has repainted the list and that has moved the thumb.
        m_nThumbPos = thumb;
        ClampThumb();
        DrawBar();
    }
    Default();
}

void CSkinScrollBar::OnLButtonUp(UINT, CPoint pt)
{
    // Taken before the capture goes, since losing it clears them.
    const bool bGrabbed = m_bThumbGrabbed, bBackHeld = m_bBackHeld, bForwardHeld = m_bForwardHeld;
    UpdateThumb();
    StopTracking();
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();

    bool bHandled = false;
    if (InBack(pt) && (bBackHeld || StepsOnUnheldRelease())) {
        Scroll(m_axis.nBar == SB_VERT ? SB_LINEUP : SB_LINELEFT);
        bHandled = true;
    }
    if (InForward(pt) && (bForwardHeld || StepsOnUnheldRelease())) {
        Scroll(m_axis.nBar == SB_VERT ? SB_LINEDOWN : SB_LINERIGHT);
        bHandled = true;
    }
    // A release elsewhere pages once toward the pointer; not at the end of a
    // drag, where the thumb has just been put back under the list's position
    // and the pointer may well be beside it.
    if (!bHandled && !bGrabbed && !InThumb(pt)) {
        int along = m_axis.nBar == SB_VERT ? pt.y : pt.x;
        if (along > m_nThumbPos)
            Scroll(m_axis.nBar == SB_VERT ? SB_PAGEDOWN : SB_PAGERIGHT);
        else
            Scroll(m_axis.nBar == SB_VERT ? SB_PAGEUP : SB_PAGELEFT);
    }
    Default();
}

void CSkinScrollBar::StopTracking()
{
    KillTimer(TIMER_REPEAT);
    KillTimer(TIMER_DELAY);
    m_bThumbGrabbed = false;
    m_bBackHeld = false;
    m_bForwardHeld = false;
}

void CSkinScrollBar::OnCaptureChanged(HWND hNewCapture)
{
    // Another window took the mouse (a box, a menu, a switch of programs):
    // the release will never come here, so nothing may go on repeating or
    // dragging.
    if (hNewCapture != m_hWnd)
        StopTracking();
    Default();
}

void CSkinScrollBar::OnCancelMode()
{
    StopTracking();
    Default();  // lets go of the capture
}

void CSkinScrollBar::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == TIMER_DELAY) {
        // The delay is over: repeat from now on.
        if (m_bForwardHeld) {
            KillTimer(TIMER_DELAY);
            SetTimer(TIMER_REPEAT, REPEAT_MS);
        }
        if (m_bBackHeld) {
            KillTimer(TIMER_DELAY);
            SetTimer(TIMER_REPEAT, REPEAT_MS);
        }
    } else if (nIDEvent == TIMER_REPEAT) {
        if (m_bForwardHeld)
            Scroll(m_axis.nBar == SB_VERT ? SB_LINEDOWN : SB_LINERIGHT);
        if (m_bBackHeld)
            Scroll(m_axis.nBar == SB_VERT ? SB_LINEUP : SB_LINELEFT);
    }
    Default();
}
