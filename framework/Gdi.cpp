#include "Gdi.h"
#include "Wnd.h"

void CDCHandle::FillSolidRect(LPCRECT r, COLORREF cr)
{
    // The background colour fills an opaque ExtTextOut without a brush.
    COLORREF old = ::SetBkColor(m_hDC, cr);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, r, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, old);
}

CDC& CDC::operator=(CDC&& o) noexcept
{
    if (this != &o) {
        DeleteDC();
        m_hDC = std::exchange(o.m_hDC, nullptr);
        m_hAttribDC = std::exchange(o.m_hAttribDC, nullptr);
    }
    return *this;
}

BOOL CDC::CreateCompatibleDC(HDC hRef)
{
    DeleteDC();
    m_hDC = m_hAttribDC = ::CreateCompatibleDC(hRef);
    return m_hDC != nullptr;
}

BOOL CDC::DeleteDC()
{
    BOOL ok = m_hDC ? ::DeleteDC(m_hDC) : FALSE;
    m_hDC = m_hAttribDC = nullptr;
    return ok;
}

CPaintDC::CPaintDC(HWND hWnd) : m_hWnd(hWnd)
{
    m_hDC = m_hAttribDC = ::BeginPaint(m_hWnd, &m_ps);
}

CPaintDC::CPaintDC(const CWnd* pWnd) : CPaintDC(pWnd->m_hWnd)
{
}

CPaintDC::~CPaintDC()
{
    ::EndPaint(m_hWnd, &m_ps);
}

CClientDC::CClientDC(HWND hWnd, bool bWholeWindow) : m_hWnd(hWnd)
{
    m_hDC = m_hAttribDC = bWholeWindow ? ::GetWindowDC(m_hWnd) : ::GetDC(m_hWnd);
}

CClientDC::CClientDC(const CWnd* pWnd) : CClientDC(pWnd ? pWnd->m_hWnd : nullptr)
{
}

CClientDC::~CClientDC()
{
    ::ReleaseDC(m_hWnd, m_hDC);
}

CWindowDC::CWindowDC(const CWnd* pWnd) : CClientDC(pWnd ? pWnd->m_hWnd : nullptr, true)
{
}
