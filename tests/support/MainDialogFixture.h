// The main dialog over a fake collection that each test fills first, with
// message boxes recorded instead of shown.
#pragma once
#include "app/RefreshDlg.h"
#include "FakeShell.h"
#include "TestSupport.h"
#include <memory>

class MainDialogFixture : public testing::Test {
protected:
    MainDialogFixture() : shell(&log) {}

    void Open()
    {
        factory = std::make_unique<ScopedShellFactory>(&shell);
        ASSERT_TRUE(dlg.Create());
        FlushMessages();
        log.calls.clear();
    }
    void TearDown() override
    {
        if (dlg.m_hWnd)
            dlg.DestroyWindow();
        FlushMessages();
    }
    void Click(int id) { dlg.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)dlg.GetDlgItem(id)); }
    // One pass of the refresh timer.
    void RefreshTick() { dlg.SendMessage(WM_TIMER, CRefreshDlg::TIMER_REFRESH); }

    FakeLog log;
    FakeShellWindows shell;
    MessageBoxRecorder boxes;
    std::unique_ptr<ScopedShellFactory> factory;
    CRefreshDlg dlg;
};
