#include "PlainDialog.h"
#include "res/resource.h"
#include "Driver.h"
#include <commctrl.h>

namespace {

INT_PTR CALLBACK PlainDialogProc(HWND hDlg, UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_CLOSE)
        return ::EndDialog(hDlg, 0);  // the window menu's Close of the bare program
    if (message != WM_INITDIALOG)
        return FALSE;
    ::SetWindowTextA(hDlg, kMainDialogTitle);
    HWND hList = ::GetDlgItem(hDlg, IDC_LIST_WINDOWS);
    char heading[] = "等待刷新的界面";
    LVCOLUMNA col = { LVCF_FMT | LVCF_WIDTH | LVCF_TEXT, LVCFMT_LEFT, 500, heading };
    ::SendMessageA(hList, LVM_INSERTCOLUMNA, 0, (LPARAM)&col);
    ::SendMessageA(hList, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                   LVS_EX_CHECKBOXES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT);
    for (const std::string& row : *(const std::vector<std::string>*)lParam) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.pszText = const_cast<char*>(row.c_str());
        ::SendMessageA(hList, LVM_INSERTITEMA, 0, (LPARAM)&item);
    }
    // Centred like the program's dialogs; the template does not ask for it.
    RECT rc, area;
    ::GetWindowRect(hDlg, &rc);
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    ::SetWindowPos(hDlg, nullptr, (area.left + area.right - rc.right + rc.left) / 2,
                   (area.top + area.bottom - rc.bottom + rc.top) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // A hidden one takes no focus: focus set into a window activates it.
    return ::IsWindowVisible(hDlg);
}

// The template; WS_VISIBLE dropped for one created hidden (an extended
// template has its style after version, signature, help id, extended style).
std::vector<BYTE> Template(bool visible)
{
    HRSRC hRes = ::FindResourceA(nullptr, MAKEINTRESOURCEA(IDD_REFRESH_DIALOG), (LPCSTR)RT_DIALOG);
    const BYTE* p = hRes ? (const BYTE*)::LockResource(::LoadResource(nullptr, hRes)) : nullptr;
    std::vector<BYTE> t(p, p + (p ? ::SizeofResource(nullptr, hRes) : 0));
    if (t.size() > 16 && !visible)
        *(DWORD*)&t[((WORD*)t.data())[1] == 0xFFFF ? 12 : 0] &= ~(DWORD)WS_VISIBLE;
    return t;
}

}  // namespace

HWND CreatePlainDialog(const std::vector<std::string>& rows)
{
    std::vector<BYTE> t = Template(false);
    return ::CreateDialogIndirectParamA(nullptr, (DLGTEMPLATE*)t.data(), nullptr, PlainDialogProc, (LPARAM)&rows);
}

INT_PTR RunPlainDialog(const std::vector<std::string>& rows)
{
    std::vector<BYTE> t = Template(true);
    return ::DialogBoxIndirectParamA(nullptr, (DLGTEMPLATE*)t.data(), nullptr, PlainDialogProc, (LPARAM)&rows);
}
