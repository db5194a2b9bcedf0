// Value types over the Win32 point, size and rectangle structures.
#pragma once
#include <windows.h>

class CPoint : public POINT {
public:
    CPoint() { x = 0; y = 0; }
    CPoint(int ix, int iy) { x = ix; y = iy; }
    CPoint(POINT pt) { x = pt.x; y = pt.y; }
    // Mouse messages pack the position into lParam as signed words.
    explicit CPoint(LPARAM lp) { x = (short)LOWORD(lp); y = (short)HIWORD(lp); }
};

class CSize : public SIZE {
public:
    CSize() { cx = 0; cy = 0; }
    CSize(int w, int h) { cx = w; cy = h; }
    CSize(SIZE s) { cx = s.cx; cy = s.cy; }
};

class CRect : public RECT {
public:
    CRect() { SetRectEmpty(); }
    CRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
    CRect(const RECT& r) { left = r.left; top = r.top; right = r.right; bottom = r.bottom; }
    CRect(POINT pt, SIZE s) { left = pt.x; top = pt.y; right = pt.x + s.cx; bottom = pt.y + s.cy; }

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    // Left and top edges are inside, right and bottom edges outside.
    bool PtInRect(POINT pt) const { return ::PtInRect(this, pt) != FALSE; }
    void SetRect(int l, int t, int r, int b) { ::SetRect(this, l, t, r, b); }
    void SetRectEmpty() { left = top = right = bottom = 0; }
    void OffsetRect(int dx, int dy) { ::OffsetRect(this, dx, dy); }
    void DeflateRect(int dx, int dy) { ::InflateRect(this, -dx, -dy); }
    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }
};
