#include "Controls.h"

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_DRAWITEM) {
        DrawItem((LPDRAWITEMSTRUCT)lParam);
        *pResult = TRUE;
        return TRUE;
    }
    return CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

DWORD_PTR CListCtrl::GetItemData(int nItem) const
{
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    SendMessage(LVM_GETITEMA, 0, (LPARAM)&item);
    return (DWORD_PTR)item.lParam;
}

BOOL CListCtrl::SetItemData(int nItem, DWORD_PTR data)
{
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    item.lParam = (LPARAM)data;
    return SetItem(&item);
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask)
{
    LVITEMA item = {};
    item.state = nState;
    item.stateMask = nMask;
    return (BOOL)SendMessage(LVM_SETITEMSTATE, (WPARAM)nItem, (LPARAM)&item);
}

int CListCtrl::InsertColumn(int nCol, LPCSTR heading, int nFormat, int nWidth)
{
    LVCOLUMNA col = {};
    col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    col.fmt = nFormat;
    col.cx = nWidth;
    col.pszText = const_cast<LPSTR>(heading);
    return (int)SendMessage(LVM_INSERTCOLUMNA, (WPARAM)nCol, (LPARAM)&col);
}

namespace {
// The size that version 5 of the common controls accepts too (the later
// fields are not ours to use without a version 6 manifest).
TOOLINFOA MakeToolInfo(CWnd* pWnd, UINT_PTR nIDTool)
{
    TOOLINFOA ti = {};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.hwnd = pWnd->m_hWnd;
    ti.uId = nIDTool;
    return ti;
}
}  // namespace

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCSTR text, LPCRECT rect, UINT_PTR nIDTool)
{
    TOOLINFOA ti = MakeToolInfo(pWnd, nIDTool);
    ti.rect = *rect;
    ti.lpszText = const_cast<LPSTR>(text);
    return (BOOL)SendMessage(TTM_ADDTOOLA, 0, (LPARAM)&ti);
}

void CToolTipCtrl::UpdateTipText(LPCSTR text, CWnd* pWnd, UINT_PTR nIDTool)
{
    TOOLINFOA ti = MakeToolInfo(pWnd, nIDTool);
    ti.lpszText = const_cast<LPSTR>(text);
    SendMessage(TTM_UPDATETIPTEXTA, 0, (LPARAM)&ti);
}

