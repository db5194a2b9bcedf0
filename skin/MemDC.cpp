// Off-screen drawing context.
#include "skin/MemDC.h"

CMemDC::CMemDC(CDCHandle target, const CRect* pRect)
    : m_target(target), m_bMemDC(!target.IsPrinting())
{
    if (pRect)
        m_rect = *pRect;
    else
        target.GetClipBox(&m_rect);

    if (m_bMemDC) {
        m_memDC.CreateCompatibleDC(target);
        m_hDC = m_hAttribDC = m_memDC;
        // The bitmap is sized in device pixels, whatever the mapping mode.
        ::LPtoDP(target.m_hAttribDC, reinterpret_cast<POINT*>(&m_rect), 2);
        m_bitmap.CreateCompatibleBitmap(target, m_rect.Width(), m_rect.Height());
        m_pOldBitmap = SelectObject(m_bitmap);
        SetMapMode(target.GetMapMode());
        ::DPtoLP(target.m_hAttribDC, reinterpret_cast<POINT*>(&m_rect), 2);
        // Callers keep drawing at the target's logical coordinates.
        SetWindowOrg(m_rect.left, m_rect.top);
    } else {
        m_hDC = target.m_hDC;
        m_hAttribDC = target.m_hAttribDC;
    }
    FillSolidRect(&m_rect, target.GetBkColor());
}

CMemDC::~CMemDC()
{
    if (m_bMemDC) {
        m_target.BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(),
                        m_hDC, m_rect.left, m_rect.top, SRCCOPY);
        // Deselect before m_bitmap is deleted (members die after this body).
        if (m_pOldBitmap)
            SelectObject(m_pOldBitmap);
    }
}
