// The program's main dialog in this process, set up as the program sets it
// up (the application's main window, the skin installed by its own
// initialisation), listing fake browsers served through the program's
// CoCreateInstance seam.
#pragma once
#include "app/RefreshDlg.h"
#include "framework/WinApp.h"
#include "FakeShell.h"
#include <memory>
#include <string>
#include <vector>

class MainDialogHost {
public:
    // `browsers` fake browser windows; the dialog lists them all at start.
    explicit MainDialogHost(int browsers);
    ~MainDialogHost();
    MainDialogHost(const MainDialogHost&) = delete;
    MainDialogHost& operator=(const MainDialogHost&) = delete;

    bool ok() const { return dlg.m_hWnd != nullptr; }
    // The collection lists its first n browsers from now on.
    void ListFirst(size_t n);
    // The Refresh button: the list is rebuilt from the collection.
    void Rebuild();
    // A tick of the refresh timer: the ticked rows' browsers reload.
    void RefreshPass();
    // Ticks every second row.
    void TickHalf();

    FakeLog log;
    FakeShellWindows shell{ &log };
    std::vector<FakeBrowser*> all;
    std::unique_ptr<ScopedShellFactory> factory;
    CWinApp app;
    CRefreshDlg dlg;
};
