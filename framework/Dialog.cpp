#include "Dialog.h"
#include "WinApp.h"
#include <commctrl.h>
#include <cstdio>

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd)
{
}

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

// The dialog manager's procedure: everything reaches the object through the
// window procedure first, so what arrives here has been left to defaults.
INT_PTR CALLBACK CDialog::DialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

HWND CDialog::GetSafeOwner() const
{
    HWND hOwner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    CWinApp* pApp = GetApp();
    if (!hOwner && pApp && pApp->m_pMainWnd && pApp->m_pMainWnd != this)
        hOwner = pApp->m_pMainWnd->m_hWnd;
    return hOwner ? ::GetAncestor(hOwner, GA_ROOT) : nullptr;
}

HWND CDialog::CreateFromTemplate(HWND hOwner)
{
    HINSTANCE hInst = ::GetModuleHandleA(nullptr);
    HRSRC hRes = ::FindResourceA(hInst, MAKEINTRESOURCEA(m_nIDTemplate), (LPCSTR)RT_DIALOG);
    HGLOBAL hTemplate = hRes ? ::LoadResource(hInst, hRes) : nullptr;
    const DLGTEMPLATE* pTemplate = hTemplate ? (const DLGTEMPLATE*)::LockResource(hTemplate) : nullptr;
    if (!pTemplate)
        return nullptr;

    static const INITCOMMONCONTROLSEX icc = { sizeof(icc), ICC_WIN95_CLASSES };
    ::InitCommonControlsEx(&icc);

    struct Args { const DLGTEMPLATE* tmpl; HWND owner; } args = { pTemplate, hOwner };
    return CreateHooked([](void* p) -> HWND {
        Args& a = *static_cast<Args*>(p);
        return ::CreateDialogIndirectParamA(::GetModuleHandleA(nullptr), a.tmpl, a.owner,
                                            DialogProc, 0);
    }, &args);
}

BOOL CDialog::Create(HWND hOwner)
{
    m_bEndModal = false;
    return CreateFromTemplate(hOwner) != nullptr;
}

INT_PTR CDialog::DoModal()
{
    HWND hOwner = GetSafeOwner();
    bool ownerDisabled = hOwner && ::IsWindowEnabled(hOwner);
    if (ownerDisabled)
        ::EnableWindow(hOwner, FALSE);

    m_nModalResult = -1;
    Create(hOwner);
    if (m_hWnd && !m_bEndModal)
        RunModalLoop();

    // Re-enable the owner before the dialog goes, so that the activation
    // passes back to it rather than to some other application.
    if (ownerDisabled)
        ::EnableWindow(hOwner, TRUE);
    if (hOwner && m_hWnd && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(hOwner);
    DestroyWindow();
    return m_nModalResult;
}

void CDialog::RunModalLoop()
{
    // A modal dialog shows whether or not its template says WS_VISIBLE.
    if (!::IsWindowVisible(m_hWnd))
        ShowWindow(SW_SHOWNORMAL);
    MSG msg;
    while (!m_bEndModal && m_hWnd) {
        BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            // WM_QUIT belongs to whoever runs the loop outside us.
            ::PostQuitMessage((int)msg.wParam);
            break;
        }
        if (got < 0)
            break;
        if (!PreTranslateFromTarget(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}

// Offers the message to the objects from its target window up to this dialog.
BOOL CDialog::PreTranslateFromTarget(MSG* pMsg)
{
    for (HWND h = pMsg->hwnd; h; ) {
        if (h == m_hWnd)
            return PreTranslateMessage(pMsg);
        if (CWnd* pWnd = FromHandlePermanent(h))
            if (pWnd->PreTranslateMessage(pMsg))
                return TRUE;
        h = (::GetWindowLongA(h, GWL_STYLE) & WS_CHILD) ? ::GetParent(h) : nullptr;
    }
    return PreTranslateMessage(pMsg);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    // Tab, arrows, Enter, Esc and mnemonics are the dialog manager's.
    if (m_hWnd && pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST)
        return ::IsDialogMessageA(m_hWnd, pMsg);
    return FALSE;
}

void CDialog::EndDialog(int nResult)
{
    m_nModalResult = nResult;
    m_bEndModal = true;
    if (m_hWnd) {
        // Hides the dialog and re-enables its owner at once; the loop then
        // wakes up on the message it posts.
        ::EndDialog(m_hWnd, nResult);
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
    }
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_INITDIALOG)
        return CWnd::WindowProc(message, wParam, lParam);
    CRect before;
    ::GetWindowRect(m_hWnd, &before);
    BOOL result = OnInitDialog();
    // A dialog that did not place itself is centred before it is shown.
    CRect after;
    if (m_hWnd && !m_bEndModal && ::GetWindowRect(m_hWnd, &after) && ::EqualRect(&after, &before))
        CenterWindow();
    return result;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return !dx.Failed();
}

// ---- data exchange -----------------------------------------------------------

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    m_hWndLastControl = m_pDlgWnd->GetDlgItem(nIDC);
    m_bEditLastControl = false;
    return m_hWndLastControl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    HWND h = PrepareCtrl(nIDC);
    m_bEditLastControl = true;
    return h;
}

void CDataExchange::Fail()
{
    m_bFailed = true;
    if (!m_bSaveAndValidate || !m_hWndLastControl)
        return;
    ::SetFocus(m_hWndLastControl);
    if (m_bEditLastControl)
        ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (pDX->Failed() || rControl.m_hWnd)
        return;
    HWND hCtl = pDX->PrepareCtrl(nIDC);
    if (hCtl)
        rControl.SubclassWindow(hCtl);
}

bool ParseUnsignedText(const char* text, UINT* pValue)
{
    const char* p = text;
    while (*p == ' ' || *p == '\t')
        ++p;
    const char first = *p;
    if (first == '-')
        return false;
    if (*p == '+')
        ++p;
    unsigned long long value = 0;
    bool digits = false;
    for (; *p >= '0' && *p <= '9'; ++p) {
        digits = true;
        value = value * 10 + (unsigned)(*p - '0');
        if (value > 0xFFFFFFFFull)
            value = 0x100000000ull;  // saturate; stays above the limit
    }
    if (!digits)
        p = text;  // nothing read: the whole text is left over
    // A 0 counts only if the text itself starts with the digit 0.
    if (value == 0 && first != '0')
        return false;
    while (*p == ' ' || *p == '\t')
        ++p;
    if (*p != '\0')
        return false;
    *pValue = value > 0xFFFFFFFFull ? 0xFFFFFFFFu : (UINT)value;
    return true;
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value)
{
    if (pDX->Failed())
        return;
    HWND hEdit = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        char text[32] = "";  // only the first 31 bytes are looked at
        ::GetWindowTextA(hEdit, text, sizeof text);
        if (!ParseUnsignedText(text, &value)) {
            AppMessageBox(IDP_PARSE_UINT, MB_ICONEXCLAMATION | MB_OK);
            pDX->Fail();
        }
    } else {
        char text[16];
        snprintf(text, sizeof text, "%u", value);
        ::SetWindowTextA(hEdit, text);
    }
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal)
{
    if (pDX->Failed() || !pDX->m_bSaveAndValidate)
        return;
    if (value >= minVal && value <= maxVal)
        return;
    char szMin[16], szMax[16];
    snprintf(szMin, sizeof szMin, "%u", minVal);
    snprintf(szMax, sizeof szMax, "%u", maxVal);
    AppMessageBox(FormatResourceString(IDP_PARSE_INT_RANGE, szMin, szMax), MB_ICONEXCLAMATION | MB_OK);
    pDX->Fail();
}
