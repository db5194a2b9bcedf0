// Off-screen drawing context: stands in for a target context, collects the
// drawing in a bitmap and copies it to the target once, when it goes out of
// scope. On a printer it draws straight through.
#pragma once
#include "framework/Gdi.h"

class CMemDC : public CDCHandle {
public:
    // pRect null: cover the target's clip box. The target must outlive this.
    explicit CMemDC(CDCHandle target, const CRect* pRect = nullptr);
    ~CMemDC();
    CMemDC(const CMemDC&) = delete;
    CMemDC& operator=(const CMemDC&) = delete;

private:
    CDC m_memDC;                      // the off-screen context, when there is one
    CBitmap m_bitmap;                 // the off-screen picture (deselected before it goes)
    HGDIOBJ m_pOldBitmap = nullptr;   // selected before m_bitmap, put back at closing
    CDCHandle m_target;
    CRect m_rect;                     // covered area, target's logical units
    BOOL m_bMemDC;                    // FALSE: drawing goes straight to a printer
};
