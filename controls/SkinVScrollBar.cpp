// Drawing and hit regions of the vertical bar.
#include "controls/SkinVScrollBar.h"
#include "controls/SkinListCtrl.h"
#include "skin/MemDC.h"
#include "res/resource.h"

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

void CSkinVScrollBar::DrawBar()
{
    CRect rc;
    GetClientRect(&rc);
    const int h = rc.Height();
    CClientDC clientDC(this);
    if (m_pList && m_pList->m_hScroll.m_hWnd) {
        CRect rcOver;  // the horizontal bar's end, which stands over ours
        m_pList->m_hScroll.GetWindowRect(&rcOver);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rcOver), 2);
        clientDC.ExcludeClipRect(&rcOver);
    }
    CMemDC dc(clientDC, &rc);
    dc.FillSolidRect(&rc, RGB(74, 82, 107));

    CDC bitmapDC;
    bitmapDC.CreateCompatibleDC(clientDC);
    // The bitmaps are 15 wide; the 20-pixel copies are cut by the bar's width.
    {
        CPiece top(bitmapDC, IDB_VBAR_TOP);
        dc.BitBlt(0, 0, 20, 16, bitmapDC, 0, 0, SRCCOPY);
    }
    {
        CPiece up(bitmapDC, IDB_VBAR_UP);
        dc.BitBlt(0, 16, 20, 26, bitmapDC, 0, 0, SRCCOPY);
    }
    {
        CPiece track(bitmapDC, IDB_VBAR_TRACK);
        for (int y = 42; y < h; ++y)
            dc.BitBlt(0, y, 20, 1, bitmapDC, 0, 0, SRCCOPY);
    }
    {
        CPiece down(bitmapDC, IDB_VBAR_DOWN);
        dc.BitBlt(0, h - 42, 20, 26, bitmapDC, 0, 0, SRCCOPY);
    }
    {
        CPiece corner(bitmapDC, IDB_VBAR_CORNER);
        dc.BitBlt(1, h - 16, 20, 16, bitmapDC, 0, 0, SRCCOPY);
    }
    {
        CPiece thumb(bitmapDC, IDB_VBAR_THUMB);
        dc.BitBlt(0, m_nThumbPos, 20, 26, bitmapDC, 0, 0, SRCCOPY);
    }
}

CRect CSkinVScrollBar::ThumbRect() const
{
    CRect rc;
    GetClientRect(&rc);
    return CRect(0, m_nThumbPos, rc.right, m_nThumbPos + 26);
}

CRect CSkinVScrollBar::ForwardRect() const
{
    CRect rc;
    GetClientRect(&rc);
    return CRect(0, rc.bottom - 42, rc.right, rc.bottom - 16);
}

CRect CSkinVScrollBar::BackRect() const
{
    CRect rc;
    GetClientRect(&rc);
    return CRect(0, 16, rc.right, 42);
}
