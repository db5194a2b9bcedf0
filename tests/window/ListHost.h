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
    ListHost(int rows, int columnWidth, DWORD listStyle = 0)
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
};
