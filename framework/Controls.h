// Thin wrappers of the standard and common controls the program uses. Each
// method is one message or one call.
#pragma once
#include "Wnd.h"
#include <commctrl.h>

class CButton : public CWnd {
public:
    BOOL Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* pParent, UINT nID)
    { return CreateEx(0, "BUTTON", text, style, rect, pParent->m_hWnd, nID); }
    UINT GetState() const { return (UINT)SendMessage(BM_GETSTATE); }
    UINT GetButtonStyle() const { return (UINT)::GetWindowLongA(m_hWnd, GWL_STYLE) & 0xFFFF; }
    void SetButtonStyle(UINT style, BOOL bRedraw = TRUE) { SendMessage(BM_SETSTYLE, style, bRedraw); }
    // Owner-drawn buttons paint here; the parent's WM_DRAWITEM is reflected to it.
    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CStatic : public CWnd {
public:
    BOOL Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* pParent, UINT nID = 0xFFFF)
    { return CreateEx(0, "STATIC", text, style, rect, pParent->m_hWnd, nID); }
};

class CEdit : public CWnd {
public:
    void SetSel(int nStart, int nEnd) { SendMessage(EM_SETSEL, (WPARAM)nStart, nEnd); }
};

class CHeaderCtrl : public CWnd {
public:
    int GetItemCount() const { return (int)SendMessage(HDM_GETITEMCOUNT); }
    BOOL GetItemRect(int nIndex, LPRECT r) const { return (BOOL)SendMessage(HDM_GETITEMRECT, (WPARAM)nIndex, (LPARAM)r); }
    BOOL GetItem(int nIndex, HDITEMA* pItem) const { return (BOOL)SendMessage(HDM_GETITEMA, (WPARAM)nIndex, (LPARAM)pItem); }
    BOOL GetOrderArray(int* piArray, int nCount) const { return (BOOL)SendMessage(HDM_GETORDERARRAY, (WPARAM)nCount, (LPARAM)piArray); }
    // Owner-drawn header items paint here.
    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
};

class CListCtrl : public CWnd {
public:
    int GetItemCount() const { return (int)SendMessage(LVM_GETITEMCOUNT); }
    DWORD_PTR GetItemData(int nItem) const;
    BOOL SetItemData(int nItem, DWORD_PTR data);
    int InsertItem(const LVITEMA* pItem) { return (int)SendMessage(LVM_INSERTITEMA, 0, (LPARAM)pItem); }
    int InsertItem(int nItem, LPCSTR text);
    BOOL SetItem(const LVITEMA* pItem) { return (BOOL)SendMessage(LVM_SETITEMA, 0, (LPARAM)pItem); }
    BOOL DeleteAllItems() { return (BOOL)SendMessage(LVM_DELETEALLITEMS); }
    UINT GetItemState(int nItem, UINT nMask) const { return (UINT)SendMessage(LVM_GETITEMSTATE, (WPARAM)nItem, nMask); }
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    CString GetItemText(int nItem, int nSubItem) const;
    // Tick boxes: state image 2 is ticked, 1 is not.
    BOOL GetCheck(int nItem) const { return ((GetItemState(nItem, LVIS_STATEIMAGEMASK) >> 12) - 1) != 0; }
    BOOL SetCheck(int nItem, BOOL bCheck = TRUE) { return SetItemState(nItem, INDEXTOSTATEIMAGEMASK(bCheck ? 2 : 1), LVIS_STATEIMAGEMASK); }
    BOOL SetBkColor(COLORREF cr) { return (BOOL)SendMessage(LVM_SETBKCOLOR, 0, (LPARAM)cr); }
    COLORREF GetBkColor() const { return (COLORREF)SendMessage(LVM_GETBKCOLOR); }
    BOOL SetTextColor(COLORREF cr) { return (BOOL)SendMessage(LVM_SETTEXTCOLOR, 0, (LPARAM)cr); }
    COLORREF GetTextColor() const { return (COLORREF)SendMessage(LVM_GETTEXTCOLOR); }
    // Column without a sub-item index.
    int InsertColumn(int nCol, LPCSTR heading, int nFormat, int nWidth);
    int GetColumnWidth(int nCol) const { return (int)SendMessage(LVM_GETCOLUMNWIDTH, (WPARAM)nCol); }
    // Replaces all extended styles (mask 0).
    DWORD SetExtendedStyle(DWORD dwNewStyle) { return (DWORD)SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, dwNewStyle); }
    DWORD GetExtendedStyle() const { return (DWORD)SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE); }
    HWND GetHeaderCtrl() const { return (HWND)SendMessage(LVM_GETHEADER); }
    int GetTopIndex() const { return (int)SendMessage(LVM_GETTOPINDEX); }
    int GetCountPerPage() const { return (int)SendMessage(LVM_GETCOUNTPERPAGE); }
    BOOL Scroll(int dx, int dy) { return (BOOL)SendMessage(LVM_SCROLL, (WPARAM)dx, dy); }
    BOOL GetItemRect(int nItem, LPRECT r, UINT nCode) const;
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
    // The text of a tool; empty if there is no such tool.
    CString GetText(CWnd* pWnd, UINT_PTR nIDTool) const;
    void RelayEvent(MSG* pMsg) { SendMessage(TTM_RELAYEVENT, 0, (LPARAM)pMsg); }
};
