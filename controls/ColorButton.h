// CColorButton: a flat owner-drawn push button with colours for the pointer
// away and over, an optional icon pair, cursor and tooltip. It learns that
// the pointer has left by holding the mouse capture while it is over it.
#pragma once
#include "framework/Controls.h"
#include "framework/Gdi.h"

class CColorButton : public CButton {
public:
    CColorButton();
    ~CColorButton() override;

    // Icons from the program's resources; 0 for the out icon means the same
    // as the in icon.
    void SetIcon(UINT nIconIn, UINT nIconOut = 0);
    // Takes ownership of the icons; a null out icon means the same as in.
    void SetIcon(HICON hIconIn, HICON hIconOut = nullptr);
    // -1 drops the cursor (the class cursor shows); FALSE if it did not load.
    BOOL SetButtonCursor(int nCursorId = -1);
    // A null text does nothing.
    void SetTooltipText(LPCSTR text, BOOL bActivate = TRUE);

    // A repaint flag of exactly TRUE repaints the whole button at once.
    void SetBkColorOut(COLORREF cr, BOOL bRepaint = TRUE);
    void SetTextColorOut(COLORREF cr, BOOL bRepaint = TRUE);
    void SetBkColorIn(COLORREF cr, BOOL bRepaint = TRUE);
    void SetTextColorIn(COLORREF cr, BOOL bRepaint = TRUE);
    COLORREF GetBkColorOut() const { return m_crBkOut; }
    COLORREF GetTextColorOut() const { return m_crTextOut; }
    COLORREF GetBkColorIn() const { return m_crBkIn; }
    COLORREF GetTextColorIn() const { return m_crTextIn; }

    BOOL IsMouseOver() const { return m_bMouseOver; }
    HICON GetIconIn() const { return m_hIconIn; }
    HICON GetIconOut() const { return m_hIconOut; }
    CSize GetIconSize() const { return CSize(m_cxIcon, m_cyIcon); }
    HCURSOR GetButtonCursor() const { return m_hCursor; }
    CToolTipCtrl& GetToolTip() { return m_toolTip; }

    void PreSubclassWindow() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;

protected:
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnKillFocus(HWND hNewWnd);
    void OnCaptureChanged(HWND hNewCapture);
    BOOL OnSetCursor(HWND hWnd, UINT nHitTest, UINT message);
    HBRUSH CtlColor(HDC hDC, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

private:
    void InitToolTip();
    void DestroyIcons(HICON keepIn, HICON keepOut);
    void SetColor(COLORREF& member, COLORREF cr, BOOL bRepaint);
    void DrawIconPart(CDCHandle dc, const CRect& item, bool titled, bool pressed, bool disabled, bool in,
                      CRect* pText);
    void DrawTitle(CDCHandle dc, const CString& title, CRect text, bool pressed, bool disabled, bool in);

    COLORREF m_crBkOut;
    COLORREF m_crTextOut;
    COLORREF m_crBkIn;
    COLORREF m_crTextIn;
    HICON m_hIconIn = nullptr;
    HICON m_hIconOut = nullptr;
    BYTE m_cxIcon = 0;
    BYTE m_cyIcon = 0;
    HCURSOR m_hCursor = nullptr;
    CToolTipCtrl m_toolTip;
    BOOL m_bMouseOver = FALSE;
};
