// CSkinHeaderCtrl: the skinned list's column header, painted off-screen from
// three small bitmaps with centred titles. Sizing, tracking and the
// notifications stay the system header's.
#pragma once
#include "framework/Controls.h"

class CSkinHeaderCtrl : public CHeaderCtrl {
public:
    // Header items are not owner-drawn here: the whole header is painted by OnPaint.
    void DrawItem(LPDRAWITEMSTRUCT) override {}

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(HDC hDC);
    DECLARE_MESSAGE_MAP()
};
