// CSkinHScrollBar: the bitmap-drawn horizontal bar below the skinned list,
// scrolling it by pixels.
#pragma once
#include "controls/SkinScrollBar.h"

class CSkinHScrollBar : public CSkinScrollBar {
public:
    static const ScrollAxis s_axis;

    CSkinHScrollBar() : CSkinScrollBar(s_axis, 34) {}

    void DrawBar() override;
    void LineLeft() { Scroll(SB_LINELEFT); }
    void LineRight() { Scroll(SB_LINERIGHT); }
    void PageLeft() { Scroll(SB_PAGELEFT); }
    void PageRight() { Scroll(SB_PAGERIGHT); }

protected:
    CRect ThumbRect() const override;
    CRect ForwardRect() const override;
    CRect BackRect() const override;
    bool StepsOnUnheldRelease() const override { return true; }
};
