// CSkinHeaderCtrl: the skinned list's column header, painted off-screen from
// three small bitmaps with centred titles. Sizing, tracking and the
// notifications stay the system header's.
#pragma once
#include "framework/Controls.h"
#include "framework/Gdi.h"

class CSkinHeaderCtrl : public CHeaderCtrl {
public:
    // Header items are not owner-drawn here: the whole header is painted by OnPaint.
    void DrawItem(LPDRAWITEMSTRUCT) override {}

protected:
    enum Piece { LeftCap, Middle, RightCap };
    void OnPaint();
    // One column: its caps, middle and centred title.
    void DrawColumn(CDCHandle dc, HDC hBitmapDC, const HBITMAP pieces[3], int i, HDC hPaintDC);
    BOOL OnEraseBkgnd(HDC hDC);
    DECLARE_MESSAGE_MAP()
};
