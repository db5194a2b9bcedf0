#include "PlainDialog.h"
#include "res/resource.h"
#include <commctrl.h>

namespace {

const char kTitle[] = "Veskar -- Tolvane工作室 v1.2";
const char kColumnHeading[] = "等待刷新的界面";

struct InitArgs {
    const std::vector<std::string>* rows;
    bool modal;
};

void Fill(HWND hDlg, const std::vector<std::string>& rows)
{
    ::SetWindowTextA(hDlg, kTitle);
    HWND hList = ::GetDlgItem(hDlg, IDC_LIST_WINDOWS);
    LVCOLUMNA col = {};
    col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    col.fmt = LVCFMT_LEFT;
    col.cx = 500;
    col.pszText = const_cast<char*>(kColumnHeading);
    ::SendMessageA(hList, LVM_INSERTCOLUMNA, 0, (LPARAM)&col);
    ::SendMessageA(hList, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                   LVS_EX_CHECKBOXES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT);
    for (const std::string& row : rows) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.pszText = const_cast<char*>(row.c_str());
        ::SendMessageA(hList, LVM_INSERTITEMA, 0, (LPARAM)&item);
    }
}

INT_PTR CALLBACK PlainDialogProc(HWND hDlg, UINT message, WPARAM, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        auto* args = (InitArgs*)lParam;
        ::SetWindowLongPtrA(hDlg, DWLP_USER, args->modal);
        Fill(hDlg, *args->rows);
        // Centred like the program's dialogs; the template does not ask for it.
        RECT rc, area;
        ::GetWindowRect(hDlg, &rc);
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
        ::SetWindowPos(hDlg, nullptr, area.left + (area.right - area.left - (rc.right - rc.left)) / 2,
                       area.top + (area.bottom - area.top - (rc.bottom - rc.top)) / 2, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        // The modeless one takes no focus: setting the focus into a window
        // activates it, even while hidden.
        return args->modal;
    }
    case WM_CLOSE:
        if (::GetWindowLongPtrA(hDlg, DWLP_USER))
            ::EndDialog(hDlg, 0);
        else
            ::DestroyWindow(hDlg);
        return TRUE;
    default:
        return FALSE;
    }
}

const DLGTEMPLATE* MainTemplate(DWORD* pSize = nullptr)
{
    HINSTANCE hInst = ::GetModuleHandleA(nullptr);
    HRSRC hRes = ::FindResourceA(hInst, MAKEINTRESOURCEA(IDD_REFRESH_DIALOG), (LPCSTR)RT_DIALOG);
    HGLOBAL hTemplate = hRes ? ::LoadResource(hInst, hRes) : nullptr;
    if (pSize)
        *pSize = hRes ? ::SizeofResource(hInst, hRes) : 0;
    return hTemplate ? (const DLGTEMPLATE*)::LockResource(hTemplate) : nullptr;
}

// The style of an extended template follows its version, signature, help id
// and extended style; a classic template starts with it.
DWORD* TemplateStyle(void* tmpl)
{
    auto* words = (WORD*)tmpl;
    if (words[1] == 0xFFFF)
        return (DWORD*)((BYTE*)tmpl + 12);
    return (DWORD*)tmpl;
}

void InitControls()
{
    static const INITCOMMONCONTROLSEX icc = { sizeof(icc), ICC_WIN95_CLASSES };
    ::InitCommonControlsEx(&icc);
}

}  // namespace

HWND CreatePlainDialog(const std::vector<std::string>& rows)
{
    InitControls();
    DWORD size = 0;
    const DLGTEMPLATE* tmpl = MainTemplate(&size);
    if (!tmpl || size < 16)
        return nullptr;
    // Created hidden: showing it from the template would activate it, and
    // an activation is what a skin's thread hook waits for.
    std::vector<BYTE> copy((const BYTE*)tmpl, (const BYTE*)tmpl + size);
    *TemplateStyle(copy.data()) &= ~(DWORD)WS_VISIBLE;
    InitArgs args = { &rows, false };
    return ::CreateDialogIndirectParamA(::GetModuleHandleA(nullptr), (const DLGTEMPLATE*)copy.data(), nullptr,
                                        PlainDialogProc, (LPARAM)&args);
}

INT_PTR RunPlainDialog(const std::vector<std::string>& rows)
{
    InitControls();
    const DLGTEMPLATE* tmpl = MainTemplate();
    if (!tmpl)
        return -1;
    InitArgs args = { &rows, true };
    return ::DialogBoxIndirectParamA(::GetModuleHandleA(nullptr), tmpl, nullptr, PlainDialogProc,
                                     (LPARAM)&args);
}
