// CSkinVScrollBar: the bitmap-drawn vertical bar to the right of the skinned
// list, scrolling it by rows.
#pragma once
#include "controls/SkinScrollBar.h"

class CSkinVScrollBar : public CSkinScrollBar {
public:
    static const ScrollAxis s_axis;

    CSkinVScrollBar() : CSkinScrollBar(s_axis, 26) {}

    void DrawBar() override;
    void LineUp() { Scroll(SB_LINEUP); }
    void LineDown() { Scroll(SB_LINEDOWN); }
    void PageUp() { Scroll(SB_PAGEUP); }
    void PageDown() { Scroll(SB_PAGEDOWN); }

protected:
    CRect ThumbRect() const override;
    CRect ForwardRect() const override;
    CRect BackRect() const override;
    bool StepsOnUnheldRelease() const override { return false; }
};
