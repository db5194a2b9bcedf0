// Idle: the main dialog run modally by the program's own loop, the pointer
// far from the caption buttons, for 30 seconds. Only the refresh timer may
// reach the dialog and its children, once per period.
#include "app/RefreshDlg.h"
#include "framework/WinApp.h"
#include "FakeShell.h"
#include "Report.h"
#include <cmath>
#include <map>

namespace {

const DWORD kIdleMs = 30000;

HWND g_dialog = nullptr;
std::map<UINT_PTR, int> g_ticks;  // timer id -> WM_TIMERs seen
HHOOK g_getHook = nullptr, g_sendHook = nullptr;

void Record(HWND hWnd, UINT message, WPARAM id)
{
    if (message == WM_TIMER && g_dialog && (hWnd == g_dialog || ::IsChild(g_dialog, hWnd)))
        ++g_ticks[id];
}

// Timers posted by the system, as the loop takes them from the queue.
LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        auto* msg = (MSG*)lParam;
        Record(msg->hwnd, msg->message, msg->wParam);
    }
    return ::CallNextHookEx(g_getHook, code, wParam, lParam);
}

// And any sent straight to a window.
LRESULT CALLBACK CallWndHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION) {
        auto* cwp = (CWPSTRUCT*)lParam;
        Record(cwp->hwnd, cwp->message, cwp->wParam);
    }
    return ::CallNextHookEx(g_sendHook, code, wParam, lParam);
}

CRefreshDlg* g_running = nullptr;
double g_shownAt = 0, g_endedAt = 0;

// A thread timer (no window): starts the count once the dialog is up, ends
// the run after the idle time.
void CALLBACK Watch(HWND, UINT, UINT_PTR, DWORD)
{
    if (!g_dialog && g_running->m_hWnd && ::IsWindowVisible(*g_running)) {
        g_dialog = *g_running;
        g_ticks.clear();
        g_shownAt = NowMs();
    }
    if (g_dialog && NowMs() - g_shownAt >= kIdleMs && !g_endedAt) {
        g_endedAt = NowMs();
        g_running->EndDialog(IDCANCEL);
    }
}

}  // namespace

void RunIdleBench(Report& report)
{
    Print("\n5. idle: timers reaching the main dialog and its children over %lu s, pointer away\n", kIdleMs / 1000);
    FakeLog log;
    FakeShellWindows shell(&log);
    for (int i = 0; i < 4; ++i)
        shell.Add(RowName(i).c_str(), "b");
    ScopedShellFactory factory(&shell);
    CWinApp app;
    CRefreshDlg dlg;
    app.m_pMainWnd = &dlg;

    ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    g_running = &dlg;
    g_getHook = ::SetWindowsHookExA(WH_GETMESSAGE, GetMessageHook, nullptr, ::GetCurrentThreadId());
    g_sendHook = ::SetWindowsHookExA(WH_CALLWNDPROC, CallWndHook, nullptr, ::GetCurrentThreadId());
    UINT_PTR watch = ::SetTimer(nullptr, 0, 50, Watch);
    dlg.DoModal();
    ::KillTimer(nullptr, watch);
    ::UnhookWindowsHookEx(g_getHook);
    ::UnhookWindowsHookEx(g_sendHook);
    const UINT period = dlg.m_nPeriod;
    app.m_pMainWnd = nullptr;
    g_running = nullptr;
    g_dialog = nullptr;
    ::CoUninitialize();  // entered by this run's initialisation

    int others = 0;
    std::string counts;
    for (auto [id, n] : g_ticks) {
        counts += Format("%stimer %llu: %d", counts.empty() ? "" : ", ", (unsigned long long)id, n);
        if (id != CRefreshDlg::TIMER_REFRESH)
            others += n;
    }
    const double seconds = (g_endedAt - g_shownAt) / 1000;
    const int refresh = g_ticks[CRefreshDlg::TIMER_REFRESH];
    const double expected = seconds / period;
    Print("   %.1f s idle, period %u s: %s\n", seconds, period, counts.empty() ? "no WM_TIMER" : counts.c_str());
    report.Add("idle: WM_TIMER of other timers", Format("%d", others), "0", others == 0);
    report.Add("idle: refresh timer ticks in 30 s", Format("%d (%.1f expected)", refresh, expected),
               "expected +-1", std::fabs(refresh - expected) <= 1.0);
}
