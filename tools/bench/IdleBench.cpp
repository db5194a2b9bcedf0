// Idle: the main dialog run modally by the program's own loop, the pointer
// far from the caption buttons, for 30 seconds. Only the refresh timer may
// reach the dialog and its children, once per period.
#include "Bench.h"
#include <cmath>
#include <map>

namespace {

const double kIdleMs = 30000;
HWND g_dialog;
HHOOK g_getHook, g_sendHook;
std::map<UINT_PTR, int> g_ticks;  // timer id -> WM_TIMERs seen

void Record(HWND hWnd, UINT message, WPARAM id)
{
    if (message == WM_TIMER && g_dialog && (hWnd == g_dialog || ::IsChild(g_dialog, hWnd)))
        ++g_ticks[id];
}

// Timers posted by the system, as the loop takes them from the queue.
LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && wParam == PM_REMOVE)
        Record(((MSG*)lParam)->hwnd, ((MSG*)lParam)->message, ((MSG*)lParam)->wParam);
    return ::CallNextHookEx(g_getHook, code, wParam, lParam);
}

// And any sent straight to a window.
LRESULT CALLBACK CallWndHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION)
        Record(((CWPSTRUCT*)lParam)->hwnd, ((CWPSTRUCT*)lParam)->message, ((CWPSTRUCT*)lParam)->wParam);
    return ::CallNextHookEx(g_sendHook, code, wParam, lParam);
}

}  // namespace

TEST_F(Bench, Idle)
{
    Print("\n5. idle: timers reaching the main dialog and its children over %.0f s, pointer away\n", kIdleMs / 1000);
    AddRows(4);
    g_getHook = ::SetWindowsHookExA(WH_GETMESSAGE, GetMessageHook, nullptr, ::GetCurrentThreadId());
    g_sendHook = ::SetWindowsHookExA(WH_CALLWNDPROC, CallWndHook, nullptr, ::GetCurrentThreadId());
    double shown = 0, ended = 0;
    // The count starts once the dialog shows; the script's own timer is the
    // thread's, not the dialog's.
    RunModal({ [&] {
                  g_dialog = dlg.m_hWnd && ::IsWindowVisible(dlg) ? dlg.m_hWnd : nullptr;
                  shown = NowMs();
                  return g_dialog != nullptr;
              },
               [&] {
                  if (NowMs() - shown < kIdleMs)
                      return false;
                  ended = NowMs();
                  dlg.EndDialog(IDCANCEL);
                  return true;
              } },
             60000);
    ::UnhookWindowsHookEx(g_getHook);
    ::UnhookWindowsHookEx(g_sendHook);
    g_dialog = nullptr;

    int others = 0;
    std::string counts;
    for (auto [id, n] : g_ticks) {
        counts += Format("%stimer %llu: %d", counts.empty() ? "" : ", ", (unsigned long long)id, n);
        others += id == CRefreshDlg::TIMER_REFRESH ? 0 : n;
    }
    const double expected = (ended - shown) / 1000 / dlg.m_nPeriod;
    const int refresh = g_ticks[CRefreshDlg::TIMER_REFRESH];
    Print("   %.1f s idle, period %u s: %s\n", (ended - shown) / 1000, dlg.m_nPeriod,
          counts.empty() ? "no WM_TIMER" : counts.c_str());
    Report("idle: WM_TIMER of other timers", Format("%d", others), "0", others == 0);
    Report("idle: refresh timer ticks in 30 s", Format("%d (%.1f expected)", refresh, expected), "expected +-1",
           std::fabs(refresh - expected) <= 1.0);
}
