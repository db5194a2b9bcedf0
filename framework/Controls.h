// Thin wrappers of the standard and common controls the program uses. Each
// method is one message or one call.
#pragma once
#include "Wnd.h"
#include <commctrl.h>

class CButton : public CWnd {
public:
    // Owner-drawn buttons paint here; the parent's WM_DRAWITEM is reflected to it.
    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CStatic : public CWnd {
public:
};

class CHeaderCtrl : public CWnd {
public:
    int GetItemCount() const { return (int)SendMessage(HDM_GETITEMCOUNT); }
    BOOL GetItemRect(int nIndex, LPRECT r) const { return (BOOL)SendMessage(HDM_GETITEMRECT, (WPARAM)nIndex, (LPARAM)r); }
    BOOL GetItem(int nIndex, HDITEMA* pItem) const { return (BOOL)SendMessage(HDM_GETITEMA, (WPARAM)nIndex, (LPARAM)pItem); }
    // Owner-drawn header items paint here.
    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
};

class CListCtrl : public CWnd {
public:
    int GetItemCount() const { return (int)SendMessage(LVM_GETITEMCOUNT); }
    DWORD_PTR GetItemData(int nItem) const;
    BOOL SetItemData(int nItem, DWORD_PTR data);
    int InsertItem(const LVITEMA* pItem) { return (int)SendMessage(LVM_INSERTITEMA, 0, (LPARAM)pItem); }
    BOOL SetItem(const LVITEMA* pItem) { return (BOOL)SendMessage(LVM_SETITEMA, 0, (LPARAM)pItem); }
    BOOL DeleteAllItems() { return (BOOL)SendMessage(LVM_DELETEALLITEMS); }
    UINT GetItemState(int nItem, UINT nMask) const { return (UINT)SendMessage(LVM_GETITEMSTATE, (WPARAM)nItem, nMask); }
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    // Tick boxes: state image 2 is ticked, 1 is not.
    BOOL SetBkColor(COLORREF cr) { return (BOOL)SendMessage(LVM_SETBKCOLOR, 0, (LPARAM)cr); }
    BOOL SetTextColor(COLORREF cr) { return (BOOL)SendMessage(LVM_SETTEXTCOLOR, 0, (LPARAM)cr); }
    // Column without a sub-item index.
    int InsertColumn(int nCol, LPCSTR heading, int nFormat, int nWidth);
    // Replaces all extended styles (mask 0).
    DWORD SetExtendedStyle(DWORD dwNewStyle) { return (DWORD)SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, dwNewStyle); }
    HWND GetHeaderCtrl() const { return (HWND)SendMessage(LVM_GETHEADER); }
    BOOL Scroll(int dx, int dy) { return (BOOL)SendMessage(LVM_SCROLL, (WPARAM)dx, dy); }
};

// A tooltip window. It belongs to its object: the window goes with it.
class CToolTipCtrl : public CWnd {
public:
    ~CToolTipCtrl() override { DestroyWindow(); }
    // A popup owned by pParent's top-level window.
    BOOL Create(CWnd* pParent, DWORD dwStyle = 0)
    { return CreateEx(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | dwStyle, CRect(), pParent->m_hWnd, 0); }
    void Activate(BOOL bActivate) { SendMessage(TTM_ACTIVATE, (WPARAM)bActivate); }
    // A tool over rect of pWnd's client area, identified by nIDTool.
    BOOL AddTool(CWnd* pWnd, LPCSTR text, LPCRECT rect, UINT_PTR nIDTool);
    void UpdateTipText(LPCSTR text, CWnd* pWnd, UINT_PTR nIDTool);
    int GetToolCount() const { return (int)SendMessage(TTM_GETTOOLCOUNT); }
    void RelayEvent(MSG* pMsg) { SendMessage(TTM_RELAYEVENT, 0, (LPARAM)pMsg); }
};
