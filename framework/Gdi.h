// Drawing contexts and GDI objects. A CDC either owns its HDC or borrows it,
// never both; the scope classes pair every acquire with its release. GDI
// object owners are move-only, so a handle is deleted exactly once.
#pragma once
#include <windows.h>
#include <utility>
#include "Types.h"

class CWnd;

class CDC {
public:
    CDC() = default;
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC m_hDC = nullptr;       // where drawing goes
    HDC m_hAttribDC = nullptr; // where attributes are read (same unless told otherwise)
    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }

    // Borrow: Attach/Detach never delete the context.
    BOOL Attach(HDC hDC) { m_hDC = m_hAttribDC = hDC; m_bOwned = false; return hDC != nullptr; }
    HDC Detach() { HDC h = m_hDC; m_hDC = m_hAttribDC = nullptr; m_bOwned = false; return h; }
    // Own: a memory context deleted with the object (or by DeleteDC).
    BOOL CreateCompatibleDC(CDC* pDC);
    BOOL DeleteDC();

    HGDIOBJ SelectObject(HGDIOBJ h) { return ::SelectObject(m_hDC, h); }
    int SaveDC() { return ::SaveDC(m_hDC); }
    BOOL RestoreDC(int n) { return ::RestoreDC(m_hDC, n); }
    BOOL IsPrinting() const { return ::GetDeviceCaps(m_hAttribDC, TECHNOLOGY) == DT_RASPRINTER; }

    BOOL BitBlt(int x, int y, int w, int h, CDC* pSrc, int xs, int ys, DWORD rop)
    { return ::BitBlt(m_hDC, x, y, w, h, pSrc ? pSrc->m_hDC : nullptr, xs, ys, rop); }
    BOOL StretchBlt(int x, int y, int w, int h, CDC* pSrc, int xs, int ys, int ws, int hs, DWORD rop)
    { return ::StretchBlt(m_hDC, x, y, w, h, pSrc->m_hDC, xs, ys, ws, hs, rop); }
    void FillRect(LPCRECT r, HBRUSH hBrush) { ::FillRect(m_hDC, r, hBrush); }
    void FillSolidRect(LPCRECT r, COLORREF cr);
    CPoint MoveTo(int x, int y) { POINT p; ::MoveToEx(m_hDC, x, y, &p); return p; }
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    BOOL TextOut(int x, int y, LPCSTR s, int n) { return ::TextOutA(m_hDC, x, y, s, n); }
    int DrawText(LPCSTR s, int n, LPRECT r, UINT fmt) { return ::DrawTextA(m_hDC, s, n, r, fmt); }
    CSize GetTextExtent(LPCSTR s, int n) const { SIZE sz = {}; ::GetTextExtentPoint32A(m_hAttribDC, s, n, &sz); return sz; }
    COLORREF SetTextColor(COLORREF cr) { return ::SetTextColor(m_hDC, cr); }
    COLORREF SetBkColor(COLORREF cr) { return ::SetBkColor(m_hDC, cr); }
    COLORREF GetBkColor() const { return ::GetBkColor(m_hAttribDC); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    int GetClipBox(LPRECT r) const { return ::GetClipBox(m_hDC, r); }
    int SetMapMode(int mode) { return ::SetMapMode(m_hDC, mode); }
    int GetMapMode() const { return ::GetMapMode(m_hAttribDC); }
    CPoint SetWindowOrg(int x, int y) { POINT p; ::SetWindowOrgEx(m_hDC, x, y, &p); return p; }
    CPoint GetWindowOrg() const { POINT p; ::GetWindowOrgEx(m_hDC, &p); return p; }
    BOOL DrawIcon(int x, int y, HICON h) { return ::DrawIcon(m_hDC, x, y, h); }
    BOOL DrawIconEx(int x, int y, HICON h, int w, int hgt, UINT flags)
    { return ::DrawIconEx(m_hDC, x, y, h, w, hgt, 0, nullptr, flags); }
    BOOL DrawEdge(LPRECT r, UINT edge, UINT flags) { return ::DrawEdge(m_hDC, r, edge, flags); }
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
    int ExcludeClipRect(LPCRECT r) { return ::ExcludeClipRect(m_hDC, r->left, r->top, r->right, r->bottom); }
    int IntersectClipRect(LPCRECT r) { return ::IntersectClipRect(m_hDC, r->left, r->top, r->right, r->bottom); }

protected:
    bool m_bOwned = false;
};

// BeginPaint/EndPaint.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps = {};
private:
    HWND m_hWnd;
};

// GetDC/ReleaseDC.
class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;
private:
    HWND m_hWnd;
};

// GetWindowDC/ReleaseDC.
class CWindowDC : public CDC {
public:
    explicit CWindowDC(CWnd* pWnd);
    ~CWindowDC() override;
private:
    HWND m_hWnd;
};

// Owner of one GDI object; move-only.
template <class H>
class CGdiHandle {
public:
    CGdiHandle() = default;
    explicit CGdiHandle(H h) : m_h(h) {}
    ~CGdiHandle() { DeleteObject(); }
    CGdiHandle(const CGdiHandle&) = delete;
    CGdiHandle& operator=(const CGdiHandle&) = delete;
    CGdiHandle(CGdiHandle&& o) noexcept : m_h(std::exchange(o.m_h, nullptr)) {}
    CGdiHandle& operator=(CGdiHandle&& o) noexcept { if (this != &o) { DeleteObject(); m_h = std::exchange(o.m_h, nullptr); } return *this; }

    operator H() const { return m_h; }
    H GetSafeHandle() const { return m_h; }
    void Attach(H h) { DeleteObject(); m_h = h; }
    H Detach() { return std::exchange(m_h, nullptr); }
    BOOL DeleteObject() { BOOL ok = m_h ? ::DeleteObject(m_h) : FALSE; m_h = nullptr; return ok; }

protected:
    H m_h = nullptr;
};

class CBitmap : public CGdiHandle<HBITMAP> {
public:
    BOOL LoadBitmap(UINT nID) { Attach(::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(nID))); return m_h != nullptr; }
    BOOL CreateCompatibleBitmap(CDC* pDC, int w, int h) { Attach(::CreateCompatibleBitmap(pDC->m_hDC, w, h)); return m_h != nullptr; }
    CSize GetSize() const { BITMAP bm = {}; ::GetObjectA(m_h, sizeof bm, &bm); return CSize(bm.bmWidth, bm.bmHeight); }
};

class CBrush : public CGdiHandle<HBRUSH> {
public:
    CBrush() = default;
    explicit CBrush(COLORREF cr) { CreateSolidBrush(cr); }
    BOOL CreateSolidBrush(COLORREF cr) { Attach(::CreateSolidBrush(cr)); return m_h != nullptr; }
};

class CPen : public CGdiHandle<HPEN> {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF cr) { CreatePen(style, width, cr); }
    BOOL CreatePen(int style, int width, COLORREF cr) { Attach(::CreatePen(style, width, cr)); return m_h != nullptr; }
};

class CFont : public CGdiHandle<HFONT> {
public:
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                    BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                    BYTE quality, BYTE pitchAndFamily, LPCSTR face)
    {
        Attach(::CreateFontA(height, width, escapement, orientation, weight, italic, underline, strikeOut,
                             charSet, outPrecision, clipPrecision, quality, pitchAndFamily, face));
        return m_h != nullptr;
    }
    BOOL CreateFontIndirect(const LOGFONTA* lf) { Attach(::CreateFontIndirectA(lf)); return m_h != nullptr; }
};

// Selects an object into a context for one scope and puts the previous one
// back at the end, so the object can be deleted afterwards.
class CSelectObject {
public:
    CSelectObject(CDC& dc, HGDIOBJ h) : m_hDC(dc.m_hDC), m_hOld(h ? ::SelectObject(dc.m_hDC, h) : nullptr) {}
    CSelectObject(HDC hDC, HGDIOBJ h) : m_hDC(hDC), m_hOld(h ? ::SelectObject(hDC, h) : nullptr) {}
    ~CSelectObject() { if (m_hOld) ::SelectObject(m_hDC, m_hOld); }
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;
private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};
