// The main dialog's mouse handling in place of a system caption: hover and
// pressed faces of the caption buttons, minimise and close, moving the window
// by its surface, and the maker link.
#include "app/RefreshDlg.h"
#include "chrome/MakerContacts.h"
#include "framework/Seams.h"

namespace {
const UINT kHoverTrackMs = 10;
}

void CRefreshDlg::OnMouseMove(UINT, CPoint point)
{
    int region = CaptionHitTest(point);
    if (IsCaptionButton(region)) {
        if (region != m_nHover) {
            Invalidate(FALSE);
            // Follows the pointer from here on, also once it leaves the window.
            SetTimer(TIMER_HOVER, kHoverTrackMs);
            m_nHover = region;
        }
        return;
    }
    if (region == RegionLink)
        ::SetCursor(::LoadCursorA(nullptr, IDC_HAND));
    if (m_bDragging) {
        CRect rect;
        GetWindowRect(&rect);
        SetWindowPos(nullptr, rect.left + point.x - m_ptDragStart.x, rect.top + point.y - m_ptDragStart.y,
                     rect.Width(), rect.Height(), 0);
    }
    UpdateDialogControls(this, TRUE);
    Default();
}

void CRefreshDlg::OnLButtonDown(UINT, CPoint point)
{
    SetCapture();
    m_bPressed = TRUE;
    m_nHover = CaptionHitTest(point);
    if (m_nHover == RegionMinimize || m_nHover == RegionClose) {
        Invalidate(FALSE);
        return;
    }
    if (IsZoomed())
        return;
    m_ptDragStart = point;
    m_bDragging = TRUE;
    Invalidate(FALSE);
    Default();
}

void CRefreshDlg::OnLButtonUp(UINT, CPoint)
{
    ::ReleaseCapture();
    m_bPressed = FALSE;
    m_bDragging = FALSE;
    // The region of the press decides, unless the pointer has since been
    // tracked onto another one.
    switch (m_nHover) {
    case RegionNone:
        Default();
        break;
    case RegionMinimize:
        Invalidate(FALSE);
        SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
        break;
    case RegionMiddle:
        Invalidate(FALSE);
        break;
    case RegionClose:
        Invalidate(FALSE);
        // Straight to the base dialog: our own OnCancel ignores cancels.
        CDialog::OnCancel();
        break;
    case RegionLink:
        g_pfnShellExecute(m_hWnd, "Open", MAKER_WEB_PAGE, nullptr, nullptr, SW_SHOWMAXIMIZED);
        break;
    default:
        break;
    }
}

// Timer 2: keeps the hot button in step with the pointer, and stops once the
// pointer is over no part of the chrome.
void CRefreshDlg::TrackCaptionHover()
{
    CPoint point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    int region = CaptionHitTest(point);
    if (region == RegionNone)
        KillTimer(TIMER_HOVER);
    if (region != m_nHover) {
        Invalidate(FALSE);
        m_nHover = region;
    }
}
