// CColorButton: drawing, hover tracking by capture, icons, cursor, tooltip.
#include "controls/ColorButton.h"
#include "framework/Gdi.h"

namespace {

const UINT_PTR kToolId = 1;

// A one-pixel frame: top and left in one colour, bottom and right in the
// other (the corners where they meet take the bottom-right colour).
void Draw3dRect(CDCHandle dc, const CRect& r, COLORREF topLeft, COLORREF bottomRight)
{
    int x = r.left, y = r.top, cx = r.Width(), cy = r.Height();
    CRect top(x, y, x + cx - 1, y + 1);
    CRect left(x, y, x + 1, y + cy - 1);
    CRect right(x + cx - 1, y, x + cx, y + cy);
    CRect bottom(x, y + cy - 1, x + cx, y + cy);
    dc.FillSolidRect(top, topLeft);
    dc.FillSolidRect(left, topLeft);
    dc.FillSolidRect(right, bottomRight);
    dc.FillSolidRect(bottom, bottomRight);
}

}  // namespace

CColorButton::CColorButton()
    : m_crBkOut(::GetSysColor(COLOR_BTNFACE)),
      m_crTextOut(::GetSysColor(COLOR_BTNTEXT)),
      m_crBkIn(::GetSysColor(COLOR_BTNFACE)),
      m_crTextIn(::GetSysColor(COLOR_BTNTEXT))
{
}

CColorButton::~CColorButton()
{
    DestroyIcons(nullptr, nullptr);
    if (m_hCursor)
        ::DestroyCursor(m_hCursor);
}

BEGIN_MESSAGE_MAP(CColorButton, CButton)
    ON_WM_MOUSEMOVE()
    ON_WM_KILLFOCUS()
    ON_WM_CAPTURECHANGED()
    ON_WM_SETCURSOR()
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

// Destroys the icons held, except the ones about to be held again; a handle
// shared by both states goes once.
void CColorButton::DestroyIcons(HICON keepIn, HICON keepOut)
{
    auto kept = [&](HICON h) { return h == keepIn || h == keepOut; };
    if (m_hIconIn && !kept(m_hIconIn))
        ::DestroyIcon(m_hIconIn);
    if (m_hIconOut && m_hIconOut != m_hIconIn && !kept(m_hIconOut))
        ::DestroyIcon(m_hIconOut);
    m_hIconIn = m_hIconOut = nullptr;
}

void CColorButton::SetIcon(UINT nIconIn, UINT nIconOut)
{
    HINSTANCE hInst = ::GetModuleHandleA(nullptr);
    auto load = [hInst](UINT id) -> HICON {
        return (HICON)::LoadImageA(hInst, MAKEINTRESOURCEA((WORD)id), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR);
    };
    HICON hIn = load(nIconIn);
    HICON hOut = nIconOut ? load(nIconOut) : nullptr;
    SetIcon(hIn, hOut);
}

void CColorButton::SetIcon(HICON hIconIn, HICON hIconOut)
{
    DestroyIcons(hIconIn, hIconOut);
    m_hIconIn = hIconIn;
    m_hIconOut = hIconOut ? hIconOut : hIconIn;
    m_cxIcon = m_cyIcon = 0;

    // An icon's hot spot is its centre, so twice it is the icon's size.
    ICONINFO info = {};
    if (hIconIn && ::GetIconInfo(hIconIn, &info)) {
        m_cxIcon = (BYTE)(info.xHotspot * 2);
        m_cyIcon = (BYTE)(info.yHotspot * 2);
        // GetIconInfo hands out copies of both bitmaps: they are ours to free.
        if (info.hbmMask)
            ::DeleteObject(info.hbmMask);
        if (info.hbmColor)
            ::DeleteObject(info.hbmColor);
    }
}

BOOL CColorButton::SetButtonCursor(int nCursorId)
{
    if (m_hCursor) {
        ::DestroyCursor(m_hCursor);
        m_hCursor = nullptr;
    }
    if (nCursorId == -1)
        return TRUE;
    m_hCursor = (HCURSOR)::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA((WORD)nCursorId),
                                      IMAGE_CURSOR, 0, 0, LR_DEFAULTCOLOR);
    return m_hCursor != nullptr;
}

void CColorButton::InitToolTip()
{
    if (m_toolTip.m_hWnd)
        return;
    m_toolTip.Create(this, 0);
    // Silent until SetTooltipText switches it on.
    m_toolTip.Activate(FALSE);
}

void CColorButton::SetTooltipText(LPCSTR text, BOOL bActivate)
{
    if (!text)
        return;
    InitToolTip();
    if (m_toolTip.GetToolCount() == 0) {
        CRect rect;
        GetClientRect(&rect);
        m_toolTip.AddTool(this, text, &rect, kToolId);
    }
    m_toolTip.UpdateTipText(text, this, kToolId);
    m_toolTip.Activate(bActivate);
}

void CColorButton::SetColor(COLORREF& member, COLORREF cr, BOOL bRepaint)
{
    member = cr;
    if (bRepaint == TRUE)
        Invalidate(TRUE);
}

void CColorButton::SetBkColorOut(COLORREF cr, BOOL bRepaint) { SetColor(m_crBkOut, cr, bRepaint); }
void CColorButton::SetTextColorOut(COLORREF cr, BOOL bRepaint) { SetColor(m_crTextOut, cr, bRepaint); }
void CColorButton::SetBkColorIn(COLORREF cr, BOOL bRepaint) { SetColor(m_crBkIn, cr, bRepaint); }
void CColorButton::SetTextColorIn(COLORREF cr, BOOL bRepaint) { SetColor(m_crTextIn, cr, bRepaint); }

void CColorButton::PreSubclassWindow()
{
    // Whatever kind of button it was, it now draws itself.
    UINT style = (UINT)::GetWindowLongA(m_hWnd, GWL_STYLE) & 0xFF;
    SendMessage(BM_SETSTYLE, style | BS_OWNERDRAW, TRUE);
    CButton::PreSubclassWindow();
}

BOOL CColorButton::PreTranslateMessage(MSG* pMsg)
{
    InitToolTip();
    m_toolTip.RelayEvent(pMsg);
    return CButton::PreTranslateMessage(pMsg);
}

LRESULT CColorButton::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // An owner-drawn button only reports a double click; pressing it again
    // is what the user meant.
    if (message == WM_LBUTTONDBLCLK)
        message = WM_LBUTTONDOWN;
    return CButton::DefWindowProc(message, wParam, lParam);
}

void CColorButton::OnMouseMove(UINT nFlags, CPoint point)
{
    Default();
    // A press that began elsewhere and is dragged here does not light us.
    if ((nFlags & MK_LBUTTON) && !m_bMouseOver)
        return;

    HWND hActive = ::GetActiveWindow();
    HWND hOwner = ::GetWindow(m_hWnd, GW_OWNER);
    if (!hOwner)
        hOwner = GetParent();

    if (::GetCapture() != m_hWnd && hActive && hOwner) {
        // Holding the capture is how we see the first move off the button.
        m_bMouseOver = TRUE;
        SetCapture();
        Invalidate(TRUE);
        return;
    }

    CPoint screen = point;
    ClientToScreen(&screen);
    HWND hUnder = ::WindowFromPoint(screen);
    if (hUnder && hUnder != m_hWnd) {
        if (m_bMouseOver) {
            m_bMouseOver = FALSE;
            Invalidate(TRUE);
        }
        // While the button is held the press owns the capture.
        if (!(nFlags & MK_LBUTTON))
            ::ReleaseCapture();
    }
}

void CColorButton::OnKillFocus(HWND)
{
    Default();
    if (m_bMouseOver) {
        m_bMouseOver = FALSE;
        Invalidate(TRUE);
    }
}

void CColorButton::OnCaptureChanged(HWND hNewCapture)
{
    // The flag stays: the next move over the button captures again. Only a
    // capture that is still ours is given up; one that another window has
    // taken, or that we took again ourselves for a press, is left alone.
    if (m_bMouseOver) {
        if (hNewCapture != m_hWnd && ::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        Invalidate(TRUE);
    }
    Default();
}

BOOL CColorButton::OnSetCursor(HWND, UINT, UINT)
{
    if (m_hCursor) {
        ::SetCursor(m_hCursor);
        return TRUE;
    }
    return (BOOL)Default();
}

HBRUSH CColorButton::CtlColor(HDC, UINT)
{
    return (HBRUSH)::GetStockObject(NULL_BRUSH);
}

void CColorButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CDCHandle dc(lpDIS->hDC);
    const bool pressed = (lpDIS->itemState & ODS_SELECTED) != 0;
    const bool disabled = (lpDIS->itemState & ODS_DISABLED) != 0;
    const bool in = m_bMouseOver || pressed;
    const CRect item(lpDIS->rcItem);

    dc.SetBkMode(TRANSPARENT);
    {
        CBrush background(in ? m_crBkIn : m_crBkOut);
        dc.FillRect(item, background);
    }
    if (pressed)
        Draw3dRect(dc, item, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHILIGHT));
    else if (m_bMouseOver)
        Draw3dRect(dc, item, ::GetSysColor(COLOR_BTNHILIGHT), ::GetSysColor(COLOR_BTNSHADOW));

    CString title = GetWindowText();
    CRect text = item;
    if (m_hIconIn)
        DrawIconPart(dc, item, !title.IsEmpty(), pressed, disabled, in, &text);
    if (!title.IsEmpty())
        DrawTitle(dc, title, text, pressed, disabled, in);
}

// The icon: 3 pixels in before a title (which then starts after it),
// centred without one; one pixel further when pressed.
void CColorButton::DrawIconPart(CDCHandle dc, const CRect& item, bool titled, bool pressed, bool disabled,
                                bool in, CRect* pText)
{
    CRect icon = item;
    if (titled) {
        icon.left += 3;
        pText->left += m_cxIcon + 3;
    } else {
        icon.left += (icon.Width() - m_cxIcon) / 2;
    }
    icon.top += (icon.Height() - m_cyIcon) / 2;
    if (pressed)
        icon.OffsetRect(1, 1);
    ::DrawStateA(dc, nullptr, nullptr, (LPARAM)(in ? m_hIconIn : m_hIconOut), 0,
                 icon.left, icon.top, icon.Width(), icon.Height(),
                 DST_ICON | (disabled ? DSS_DISABLED : DSS_NORMAL));
}

// The title centred in what the icon leaves; one pixel further when pressed.
void CColorButton::DrawTitle(CDCHandle dc, const CString& title, CRect text, bool pressed, bool disabled, bool in)
{
    if (pressed)
        text.OffsetRect(1, 1);
    dc.SetTextColor(in ? m_crTextIn : m_crTextOut);
    dc.SetBkColor(in ? m_crBkIn : m_crBkOut);
    CRect centred = text;
    dc.DrawText(title, -1, centred, DT_SINGLELINE | DT_CALCRECT);
    centred.OffsetRect((text.Width() - centred.Width()) / 2, (text.Height() - centred.Height()) / 2);
    dc.SetBkMode(TRANSPARENT);
    ::DrawStateA(dc, nullptr, nullptr, (LPARAM)title.GetString(), 0,
                 centred.left, centred.top, centred.Width(), centred.Height(),
                 DST_PREFIXTEXT | (disabled ? DSS_DISABLED : DSS_NORMAL));
}
