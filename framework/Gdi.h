// Drawing contexts and GDI objects. A borrowed context (CDCHandle) and an
// owned one (CDC) are different types: a handle never releases what it
// wraps, an owner always does. The scope classes pair every acquire with its
// release. GDI object owners are move-only, so a handle is deleted once.
#pragma once
#include <windows.h>
#include <utility>
#include "Types.h"

class CWnd;

// A drawing context used but not owned: copies are free and none releases
// it; whoever handed out the HDC gives it back.
class CDCHandle {
public:
    CDCHandle() = default;
    CDCHandle(HDC hDC) : m_hDC(hDC), m_hAttribDC(hDC) {}

    HDC m_hDC = nullptr;       // where drawing goes
    HDC m_hAttribDC = nullptr; // where attributes are read (same unless told otherwise)
    operator HDC() const { return m_hDC; }

    HGDIOBJ SelectObject(HGDIOBJ h) { return ::SelectObject(m_hDC, h); }
    BOOL IsPrinting() const { return ::GetDeviceCaps(m_hAttribDC, TECHNOLOGY) == DT_RASPRINTER; }

    BOOL BitBlt(int x, int y, int w, int h, HDC hSrc, int xs, int ys, DWORD rop)
    { return ::BitBlt(m_hDC, x, y, w, h, hSrc, xs, ys, rop); }
    BOOL StretchBlt(int x, int y, int w, int h, HDC hSrc, int xs, int ys, int ws, int hs, DWORD rop)
    { return ::StretchBlt(m_hDC, x, y, w, h, hSrc, xs, ys, ws, hs, rop); }
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
    BOOL DrawIcon(int x, int y, HICON h) { return ::DrawIcon(m_hDC, x, y, h); }
    BOOL DrawIconEx(int x, int y, HICON h, int w, int hgt, UINT flags)
    { return ::DrawIconEx(m_hDC, x, y, h, w, hgt, 0, nullptr, flags); }
    int ExcludeClipRect(LPCRECT r) { return ::ExcludeClipRect(m_hDC, r->left, r->top, r->right, r->bottom); }
};

// A memory drawing context owned by the object and deleted with it.
class CDC : public CDCHandle {
public:
    CDC() = default;
    ~CDC() { DeleteDC(); }
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    CDC(CDC&& o) noexcept : CDCHandle(o) { o.m_hDC = o.m_hAttribDC = nullptr; }
    CDC& operator=(CDC&& o) noexcept;

    // Compatible with hRef (the screen when null).
    BOOL CreateCompatibleDC(HDC hRef);
    BOOL DeleteDC();
};

// BeginPaint/EndPaint for one scope.
class CPaintDC : public CDCHandle {
public:
    explicit CPaintDC(HWND hWnd);
    explicit CPaintDC(const CWnd* pWnd);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    PAINTSTRUCT m_ps = {};
private:
    HWND m_hWnd;
};

// GetDC/ReleaseDC (or GetWindowDC/ReleaseDC) for one scope.
class CClientDC : public CDCHandle {
public:
    explicit CClientDC(HWND hWnd, bool bWholeWindow = false);
    explicit CClientDC(const CWnd* pWnd);
    ~CClientDC();
    CClientDC(const CClientDC&) = delete;
    CClientDC& operator=(const CClientDC&) = delete;
private:
    HWND m_hWnd;
};

// The whole window, frame included.
class CWindowDC : public CClientDC {
public:
    explicit CWindowDC(HWND hWnd) : CClientDC(hWnd, true) {}
    explicit CWindowDC(const CWnd* pWnd);
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
    void Attach(H h) { DeleteObject(); m_h = h; }
    // Gives the object up: the caller owns it from now on.
    H Detach() { return std::exchange(m_h, nullptr); }
    BOOL DeleteObject() { BOOL ok = m_h ? ::DeleteObject(m_h) : FALSE; m_h = nullptr; return ok; }

protected:
    H m_h = nullptr;
};

class CBitmap : public CGdiHandle<HBITMAP> {
public:
    BOOL LoadBitmap(UINT nID) { Attach(::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(nID))); return m_h != nullptr; }
    BOOL CreateCompatibleBitmap(HDC hRef, int w, int h) { Attach(::CreateCompatibleBitmap(hRef, w, h)); return m_h != nullptr; }
    CSize GetSize() const { BITMAP bm = {}; ::GetObjectA(m_h, sizeof bm, &bm); return CSize(bm.bmWidth, bm.bmHeight); }
};

class CBrush : public CGdiHandle<HBRUSH> {
public:
    explicit CBrush(COLORREF cr) : CGdiHandle(::CreateSolidBrush(cr)) {}
};

class CPen : public CGdiHandle<HPEN> {
public:
    CPen(int style, int width, COLORREF cr) : CGdiHandle(::CreatePen(style, width, cr)) {}
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
    CSelectObject(HDC hDC, HGDIOBJ h) : m_hDC(hDC), m_hOld(h ? ::SelectObject(hDC, h) : nullptr) {}
    ~CSelectObject() { if (m_hOld) ::SelectObject(m_hDC, m_hOld); }
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;
private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};
