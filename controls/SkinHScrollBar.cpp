// Drawing and hit regions of the horizontal bar.
#include "controls/SkinHScrollBar.h"
#include "skin/MemDC.h"
#include "res/resource.h"

const ScrollAxis CSkinHScrollBar::s_axis = {
    SB_HORZ, WM_HSCROLL,
    34,   // base
    86,   // span
    35,   // thumb length
    35,   // right arrow
    34,   // lowest
    69,   // highest from the end
    17,   // drag offset
    1,    // the list scrolls horizontally in pixels
};

void CSkinHScrollBar::DrawBar()
{
    CRect rc;
    GetClientRect(&rc);
    const int w = rc.Width();
    CClientDC clientDC(this);
    CMemDC dc(clientDC, &rc);
    dc.FillSolidRect(&rc, RGB(255, 255, 255));

    CDC bitmapDC;
    bitmapDC.CreateCompatibleDC(clientDC);
    {
        CPiece left(bitmapDC, IDB_HBAR_LEFT);
        dc.BitBlt(0, 0, 35, 16, bitmapDC, 0, 0, SRCCOPY);
    }
    {
        CPiece track(bitmapDC, IDB_HBAR_TRACK);
        for (int x = 35; x < w; ++x)
            dc.BitBlt(x, 0, 1, 16, bitmapDC, 0, 0, SRCCOPY);
    }
    {
        CPiece right(bitmapDC, IDB_HBAR_RIGHT);
        dc.BitBlt(w - 35, 0, 35, 16, bitmapDC, 0, 0, SRCCOPY);
    }
    {
        CPiece thumb(bitmapDC, IDB_HBAR_THUMB);
        dc.BitBlt(m_nThumbPos, 0, 35, 16, bitmapDC, 0, 0, SRCCOPY);
    }
}

CRect CSkinHScrollBar::ThumbRect() const
{
    CRect rc;
    GetClientRect(&rc);
    return CRect(m_nThumbPos, 0, m_nThumbPos + 35, rc.bottom);
}

CRect CSkinHScrollBar::ForwardRect() const
{
    CRect rc;
    GetClientRect(&rc);
    return CRect(rc.right - 35, 0, rc.right, rc.bottom);
}

CRect CSkinHScrollBar::BackRect() const
{
    CRect rc;
    GetClientRect(&rc);
    return CRect(0, 0, 35, rc.bottom);
}
