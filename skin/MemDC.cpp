// Off-screen drawing context.
#include "MemDC.h"

CMemDC::CMemDC(CDC* pDC, const CRect* pRect)
    : m_pDC(pDC), m_bMemDC(!pDC->IsPrinting())
{
    if (pRect)
        m_rect = *pRect;
    else
        pDC->GetClipBox(&m_rect);

    if (m_bMemDC) {
        CreateCompatibleDC(pDC);
        // The bitmap is sized in device pixels, whatever the mapping mode.
        ::LPtoDP(pDC->m_hAttribDC, reinterpret_cast<POINT*>(&m_rect), 2);
        m_bitmap.CreateCompatibleBitmap(pDC, m_rect.Width(), m_rect.Height());
        m_pOldBitmap = SelectObject(m_bitmap);
        SetMapMode(pDC->GetMapMode());
        ::DPtoLP(pDC->m_hAttribDC, reinterpret_cast<POINT*>(&m_rect), 2);
        // Callers keep drawing at the target's logical coordinates.
        SetWindowOrg(m_rect.left, m_rect.top);
    } else {
        // Borrowed: the base class must never free these.
        m_hDC = pDC->m_hDC;
        m_hAttribDC = pDC->m_hAttribDC;
        m_bOwned = false;
    }
    FillSolidRect(&m_rect, pDC->GetBkColor());
}

CMemDC::~CMemDC()
{
    if (m_bMemDC) {
        m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(),
                      this, m_rect.left, m_rect.top, SRCCOPY);
        // Deselect before m_bitmap is deleted (members die after this body).
        if (m_pOldBitmap)
            SelectObject(m_pOldBitmap);
    } else {
        m_hDC = m_hAttribDC = nullptr;
    }
}
