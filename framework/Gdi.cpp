#include "Gdi.h"
#include "Wnd.h"

CDC::~CDC()
{
    DeleteDC();
}

BOOL CDC::CreateCompatibleDC(CDC* pDC)
{
    DeleteDC();
    HDC h = ::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr);
    m_hDC = m_hAttribDC = h;
    m_bOwned = h != nullptr;
    return h != nullptr;
}

BOOL CDC::DeleteDC()
{
    BOOL ok = FALSE;
    if (m_bOwned && m_hDC)
        ok = ::DeleteDC(m_hDC);
    if (m_bOwned)
        m_hDC = m_hAttribDC = nullptr;
    m_bOwned = false;
    return ok;
}

void CDC::FillSolidRect(LPCRECT r, COLORREF cr)
{
    // The background colour fills an opaque ExtTextOut without a brush.
    COLORREF old = ::SetBkColor(m_hDC, cr);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, r, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, old);
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd)
{
    Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC()
{
    ::EndPaint(m_hWnd, &m_ps);
    Detach();
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr)
{
    Attach(::GetDC(m_hWnd));
}

CClientDC::~CClientDC()
{
    ::ReleaseDC(m_hWnd, Detach());
}

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr)
{
    Attach(::GetWindowDC(m_hWnd));
}

CWindowDC::~CWindowDC()
{
    ::ReleaseDC(m_hWnd, Detach());
}
