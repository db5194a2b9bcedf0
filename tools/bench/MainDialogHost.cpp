#include "MainDialogHost.h"
#include "Report.h"
#include "TestSupport.h"

MainDialogHost::MainDialogHost(int browsers)
{
    for (int i = 0; i < browsers; ++i)
        shell.Add(RowName(i).c_str(), "b");
    all = shell.windows;
    factory = std::make_unique<ScopedShellFactory>(&shell);
    app.m_pMainWnd = &dlg;
    if (dlg.Create()) {
        dlg.ShowWindow(SW_SHOW);
        FlushMessages();
    }
    log.calls.clear();
}

MainDialogHost::~MainDialogHost()
{
    if (dlg.m_hWnd)
        dlg.DestroyWindow();
    FlushMessages();
    app.m_pMainWnd = nullptr;
    // The dialog's initialisation entered the apartment; the program leaves
    // it on shut-down, which DestroyWindow does not run.
    ::CoUninitialize();
}

void MainDialogHost::ListFirst(size_t n)
{
    shell.windows.assign(all.begin(), all.begin() + (ptrdiff_t)std::min(n, all.size()));
}

void MainDialogHost::Rebuild()
{
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_REFRESH, BN_CLICKED), (LPARAM)dlg.GetDlgItem(IDC_REFRESH));
}

void MainDialogHost::RefreshPass()
{
    dlg.SendMessage(WM_TIMER, CRefreshDlg::TIMER_REFRESH);
}

void MainDialogHost::TickHalf()
{
    for (int i = 0, n = dlg.m_listWindows.GetItemCount(); i < n; i += 2)
        dlg.m_listWindows.SetCheck(i, TRUE);
}
