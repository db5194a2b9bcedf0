// CSkinListCtrl: the list of browser windows in the main dialog. Paints
// double-buffered with its own colours for selected rows, wears the skinned
// header, and has two bitmap-drawn scroll bars standing beside it in place of
// its own.
#pragma once
#include "framework/Controls.h"
#include "controls/SkinHeaderCtrl.h"
#include "controls/SkinHScrollBar.h"
#include "controls/SkinVScrollBar.h"

class CSkinListCtrl : public CListCtrl {
public:
    CSkinListCtrl();

    // Disables the list's own scroll bars and creates the custom ones as
    // siblings right of and below the list. The rectangles are computed from
    // the list's screen position, so the parent must still stand at the
    // screen origin; call once, before the list is shown.
    void InitScrollBars();

    CSkinHeaderCtrl m_header;
    COLORREF m_crSelText;
    COLORREF m_crSelBk;
    CSkinVScrollBar m_vScroll;
    CSkinHScrollBar m_hScroll;

protected:
    void PreSubclassWindow() override;

    LRESULT OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* pParams);
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    LRESULT OnKeyMessage(WPARAM wParam, LPARAM lParam);
    BOOL OnEraseBkgnd(HDC hDC);
    void OnPaint();
    void OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    void UpdateThumbs();

    // Carries whether a row was selected from its pre-paint to its post-paint
    // notification; the two follow each other on the one UI thread.
    static bool s_bItemWasSelected;
};
