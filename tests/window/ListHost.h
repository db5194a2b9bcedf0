// A skinned list on a captionless window at the screen origin (where the
// list's bars expect their parent), with the list's scroll requests recorded.
#pragma once
#include "controls/SkinListCtrl.h"
#include "TestSupport.h"
#include <string>
#include <vector>

// One scroll request that reached the list.
struct ScrollCall {
    UINT msg;
    WPARAM wp;
    LPARAM lp;
    bool operator==(const ScrollCall& o) const { return msg == o.msg && wp == o.wp && lp == o.lp; }
};

inline std::ostream& operator<<(std::ostream& os, const ScrollCall& c)
{
    const char* name = c.msg == WM_VSCROLL ? "WM_VSCROLL" : c.msg == WM_HSCROLL ? "WM_HSCROLL" : "LVM_SCROLL";
    return os << name << "(" << (long long)c.wp << ", " << (long long)c.lp << ")";
}

class ListHost {
public:
    // rows of text, one column of `columnWidth` pixels.
    ListHost(int rows, int columnWidth, DWORD listStyle = 0) : m_rows(rows), m_width(columnWidth)
    {
        static bool registered = false;
        if (!registered) {
            WNDCLASSA wc = {};
            wc.lpfnWndProc = ::DefWindowProcA;
            wc.hInstance = ::GetModuleHandleA(nullptr);
            wc.hbrBackground = (HBRUSH)::GetStockObject(LTGRAY_BRUSH);
            wc.lpszClassName = "VeskarListHost";
            ::RegisterClassA(&wc);
            registered = true;
        }
        // Filled while hidden, as the main dialog is: every change of a
        // visible list repaints it and redraws both bars.
        host.CreateEx(0, "VeskarListHost", "", WS_POPUP | WS_CLIPCHILDREN,
                      CRect(0, 0, 420, 320), nullptr, 0);
        HWND hList = ::CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | listStyle,
                                       10, 10, 360, 240, host.m_hWnd, (HMENU)1003,
                                       ::GetModuleHandleA(nullptr), nullptr);
        list.SubclassWindow(hList);
        list.InitScrollBars();
        list.SetBkColor(RGB(255, 255, 255));
        list.SetTextColor(RGB(0, 0, 0));
        if (columnWidth > 0)
            list.InsertColumn(0, "Column", LVCFMT_LEFT, columnWidth);
        for (int i = 0; i < rows; ++i)
            list.InsertItem(i, ("row " + std::to_string(i)).c_str());
        host.ShowWindow(SW_SHOWNOACTIVATE);
        ::UpdateWindow(host.m_hWnd);
        FlushMessages();
    }

    ~ListHost()
    {
        StopRecording();
        host.DestroyWindow();
    }

    // Records the scroll requests the list receives from now on.
    void Record()
    {
        s_current = this;
        m_previous = (WNDPROC)::SetWindowLongPtrA(list.m_hWnd, GWLP_WNDPROC, (LONG_PTR)RecordProc);
    }
    void StopRecording()
    {
        if (m_previous && ::IsWindow(list.m_hWnd))
            ::SetWindowLongPtrA(list.m_hWnd, GWLP_WNDPROC, (LONG_PTR)m_previous);
        m_previous = nullptr;
        s_current = nullptr;
    }
    std::vector<ScrollCall> Take() { auto c = std::move(calls); calls.clear(); return c; }

    int Rows() const { return m_rows; }
    int Width() const { return m_width; }
    int VPos() const { return ::GetScrollPos(list.m_hWnd, SB_VERT); }
    int HPos() const { return ::GetScrollPos(list.m_hWnd, SB_HORZ); }

    CWnd host;
    CSkinListCtrl list;
    std::vector<ScrollCall> calls;

private:
    static LRESULT CALLBACK RecordProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
    {
        ListHost* self = s_current;
        if (msg == WM_VSCROLL || msg == WM_HSCROLL || msg == LVM_SCROLL)
            self->calls.push_back({ msg, wp, lp });
        return ::CallWindowProcA(self->m_previous, h, msg, wp, lp);
    }
    static inline ListHost* s_current = nullptr;
    WNDPROC m_previous = nullptr;
    int m_rows;
    int m_width;
};

inline int Extent(HWND hBar, bool vertical)
{
    RECT rc;
    ::GetClientRect(hBar, &rc);
    return vertical ? rc.bottom : rc.right;
}

// The thumb the list's position calls for, computed from scratch.
inline int ExpectedThumb(HWND hList, HWND hBar, bool vertical)
{
    const int nBar = vertical ? SB_VERT : SB_HORZ;
    SCROLLINFO si = { sizeof(si), SIF_ALL, 0, 0, 0, 0, 0 };
    int limit = 0;
    if (::GetScrollInfo(hList, nBar, &si))
        limit = si.nMax - (si.nPage > 1 ? (int)si.nPage - 1 : 0);
    const int e = Extent(hBar, vertical);
    const int base = vertical ? 26 : 34, span = vertical ? 84 : 86;
    int thumb = limit > 0 ? (int)((double)(e - span) / limit * si.nPos) + base : base;
    if (vertical) {
        if (thumb + 26 > e - 42) thumb = e - 67;
        if (thumb < 41) thumb = 41;
    } else {
        if (thumb + 35 > e - 35) thumb = e - 69;
        if (thumb < 34) thumb = 34;
    }
    return thumb;
}

// Compares a window's pixels in `area` with bitmap `nID` placed at `origin`.
inline void ExpectPiece(HWND hBar, UINT nID, POINT origin, RECT area, const char* what)
{
    HDC hBarDC = ::GetDC(hBar);
    HDC hMem = ::CreateCompatibleDC(hBarDC);
    HBITMAP hBmp = ::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(nID));
    HGDIOBJ old = ::SelectObject(hMem, hBmp);
    int wrong = 0;
    std::string first;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            COLORREF want = ::GetPixel(hMem, x - origin.x, y - origin.y);
            COLORREF got = ::GetPixel(hBarDC, x, y);
            if (want != got && wrong++ == 0)
                first = "at (" + std::to_string(x) + ", " + std::to_string(y) + ") got " +
                        std::to_string(got) + " want " + std::to_string(want);
        }
    ::SelectObject(hMem, old);
    ::DeleteObject(hBmp);
    ::DeleteDC(hMem);
    ::ReleaseDC(hBar, hBarDC);
    EXPECT_EQ(wrong, 0) << what << ": first difference " << first;
}
