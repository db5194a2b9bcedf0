// CSkinButton: a push button drawn from a nine-slice face bitmap with its
// text centred on it. The skin engine attaches one to each plain push button
// and routes the button's messages to it through SkinButtonWndProc; a button
// subclassed by the framework gets the same drawing through its message map.
#pragma once
#include "framework/Controls.h"
#include "framework/Gdi.h"

class CSkinButton : public CButton {
public:
    CSkinButton();
    ~CSkinButton() override;

    // Settings, copied from the skin's template by AttachToButton.
    int m_nCornerWidth;
    int m_nCornerHeight;
    UINT m_nBmpNormal;
    UINT m_nBmpFocus;
    UINT m_nBmpHover;      // 0: no hover face
    UINT m_nBmpPressed;
    BOOL m_bStretchEdges;  // FALSE: edges are tiled
    // Run-time state.
    BOOL m_bHover;
    BOOL m_bTracking;
    BOOL m_bFocus;         // focus at the last draw-item request

    // Called on a template: gives hWnd a new CSkinButton of the same settings,
    // unless it already has one. TRUE when one was attached.
    BOOL AttachToButton(HWND hWnd);
    // Procedure of buttons attached by AttachToButton.
    static LRESULT CALLBACK SkinButtonWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
    BOOL PaintOnErase(CDCHandle dc);
    void PaintNow();
    // Paints face and text. Bit 0 of nState means pressed, bit 2 disabled
    // (ODS_SELECTED, ODS_DISABLED); the frame is laid out from (0, 0).
    void DrawFace(CDCHandle dc, UINT nState, CRect rect, BOOL bFocus, const CString& text);

    void OnMouseMove(UINT nFlags, CPoint point);
    LRESULT OnMouseHover(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);

    // The text as drawn: at most 1023 bytes.
    static CString ButtonText(HWND hWnd);

protected:
    void PreSubclassWindow() override;
    DECLARE_MESSAGE_MAP()

private:
    // What the skin does before the button's own procedure; true when that
    // procedure must not see the message (wParam may be changed for it).
    bool OnSkinMessage(WNDPROC old, UINT message, WPARAM& wParam, LPARAM lParam, LRESULT* pResult);
    // At WM_DESTROY: gives the procedure back and deletes this object.
    void DetachFromButton(WNDPROC old);
    // BM_GETSTATE translated to the owner-draw item state bits DrawFace reads.
    UINT CurrentItemState() const;
    // The face's nine slices over a button R wide and B high.
    void DrawSlices(HDC hdc, UINT nBitmap, int R, int B) const;
    void CopySlice(HDC hdcDst, HDC hdcSrc, const RECT& dst, int xs, int ys, int ws, int hs,
                   int tileDirection) const;
};
