// Drawing and hit regions of the vertical bar.
#include "controls/SkinVScrollBar.h"
#include "skin/MemDC.h"

const ScrollAxis CSkinVScrollBar::s_axis = {
    SB_VERT, WM_VSCROLL,
    26,   // base
    84,   // span
    26,   // thumb length
    42,   // down arrow
    41,   // lowest
    67,   // highest from the end
    16,   // drag offset
    16,   // a row is taken as 16 pixels
};

namespace {
enum : UINT { BMP_TOP = 356, BMP_UP = 146, BMP_TRACK = 150, BMP_DOWN = 151, BMP_CORNER = 357, BMP_THUMB = 148 };
}

void CSkinVScrollBar::DrawBar()
{
    CRect rc;
    GetClientRect(&rc);
    const int h = rc.Height();
    CClientDC clientDC(this);
    CMemDC dc(&clientDC, &rc);
    dc.FillSolidRect(&rc, RGB(74, 82, 107));

    CDC bitmapDC;
    bitmapDC.CreateCompatibleDC(&clientDC);
    // The bitmaps are 15 wide; the 20-pixel copies are cut by the bar's width.
    {
        CPiece top(bitmapDC, BMP_TOP);
        dc.BitBlt(0, 0, 20, 16, &bitmapDC, 0, 0, SRCCOPY);
    }
    {
        CPiece up(bitmapDC, BMP_UP);
        dc.BitBlt(0, 16, 20, 26, &bitmapDC, 0, 0, SRCCOPY);
    }
    {
        CPiece track(bitmapDC, BMP_TRACK);
        for (int y = 42; y < h; ++y)
            dc.BitBlt(0, y, 20, 1, &bitmapDC, 0, 0, SRCCOPY);
    }
    {
        CPiece down(bitmapDC, BMP_DOWN);
        dc.BitBlt(0, h - 42, 20, 26, &bitmapDC, 0, 0, SRCCOPY);
    }
    {
        CPiece corner(bitmapDC, BMP_CORNER);
        dc.BitBlt(1, h - 16, 20, 16, &bitmapDC, 0, 0, SRCCOPY);
    }
    {
        CPiece thumb(bitmapDC, BMP_THUMB);
        dc.BitBlt(0, m_nThumbPos, 20, 26, &bitmapDC, 0, 0, SRCCOPY);
    }
}

// Press and release test the same regions, narrower than the drawn arrows.
bool CSkinVScrollBar::InThumb(CPoint pt, bool) const
{
    return CRect(0, m_nThumbPos, 20, m_nThumbPos + 25).PtInRect(pt);
}

bool CSkinVScrollBar::InForward(CPoint pt, bool) const
{
    const int h = Extent();
    return CRect(0, h - 26, 20, h - 1).PtInRect(pt);
}

bool CSkinVScrollBar::InBack(CPoint pt, bool) const
{
    return CRect(0, 20, 20, 26).PtInRect(pt);
}
