#include "app/RefreshApp.h"
#include "app/RefreshDlg.h"

BOOL CRefreshApp::InitInstance()
{
    CRefreshDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    // No message loop of our own: the program ends with the dialog.
    return FALSE;
}
