// Resources: GDI and USER objects and private bytes of this process after
// long runs of what a user does most (repaints, hovering the caption buttons,
// rebuilds, About boxes), each against the same counts after a warm-up.
#include "MainDialogHost.h"
#include "Report.h"
#include "TestSupport.h"
#include <psapi.h>

namespace {

struct Snapshot {
    DWORD gdi, gdiReported, user, userReported;
    SIZE_T privateBytes, privateReported;
};

Snapshot Take()
{
    FlushMessages();
    Snapshot s = {};
    s.gdi = GdiObjects();
    s.gdiReported = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    s.user = UserObjects();
    s.userReported = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
    PROCESS_MEMORY_COUNTERS_EX pmc = {};
    pmc.cb = sizeof pmc;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), (PROCESS_MEMORY_COUNTERS*)&pmc, sizeof pmc);
    s.privateReported = pmc.PrivateUsage;
    s.privateBytes = PrivateBytes();
    return s;
}

// Runs `step` warmUp times, takes the counts, runs it `count` times, and
// reports the growth. `step` answers false when what it did went wrong.
template <class Step>
void Measure(Report& report, const char* what, int warmUp, int count, Step step)
{
    int failures = 0;
    for (int i = 0; i < warmUp; ++i)
        failures += !step(i);
    const Snapshot before = Take();
    const double start = NowMs();
    for (int i = 0; i < count; ++i)
        failures += !step(i);
    const double seconds = (NowMs() - start) / 1000;
    const Snapshot after = Take();

    const double growth = before.privateBytes
        ? ((double)after.privateBytes - (double)before.privateBytes) * 100 / (double)before.privateBytes
        : 100;
    Print("   %s: %.1f s%s\n"
          "      GDI objects   %5lu -> %5lu   (GetGuiResources %lu -> %lu)\n"
          "      USER objects  %5lu -> %5lu   (GetGuiResources %lu -> %lu)\n"
          "      private bytes %.3f -> %.3f MB, %+.3f%%   (PrivateUsage %.3f -> %.3f MB)\n",
          what, seconds, failures ? Format(", %d steps FAILED", failures).c_str() : "", before.gdi, after.gdi,
          before.gdiReported, after.gdiReported, before.user, after.user, before.userReported, after.userReported,
          before.privateBytes / 1048576.0, after.privateBytes / 1048576.0, growth,
          before.privateReported / 1048576.0, after.privateReported / 1048576.0);
    const long gdiGrowth = (long)after.gdi - (long)before.gdi;
    const long userGrowth = (long)after.user - (long)before.user;
    report.Add(Format("resources after %s", what),
               Format("GDI %+ld, USER %+ld, mem %+.2f%%", gdiGrowth, userGrowth, growth),
               "+0, +0, < 1%",
               gdiGrowth <= 0 && userGrowth <= 0 && growth < 1.0 && before.user > 0 && before.gdi > 0 &&
                   before.privateBytes > 0 && !failures);
}

// Closes each About box as soon as its paint is done: timer messages come
// after paint messages.
struct AboutCloser {
    static HWND s_main;
    static int s_closed;
    static BOOL CALLBACK Find(HWND hWnd, LPARAM lParam)
    {
        char cls[16] = "";
        ::GetClassNameA(hWnd, cls, sizeof cls);
        if (hWnd != s_main && strcmp(cls, "#32770") == 0 && ::IsWindowVisible(hWnd)) {
            *(HWND*)lParam = hWnd;
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        HWND hBox = nullptr;
        ::EnumThreadWindows(::GetCurrentThreadId(), Find, (LPARAM)&hBox);
        if (hBox && ::PostMessageA(hBox, WM_COMMAND, IDOK, 0))
            ++s_closed;
    }
};
HWND AboutCloser::s_main = nullptr;
int AboutCloser::s_closed = 0;

}  // namespace

void RunResourceBench(Report& report)
{
    Print("\n4. resources: objects and private bytes after long runs, against the counts after a warm-up\n");
    // More rows than the list shows, so its bars have a range; a longer list
    // would only lengthen the list view's own share of each paint.
    const int kRows = 20;
    MainDialogHost host(kRows);
    if (!host.ok()) {
        report.Add("resources: main dialog", "no dialog", "", false);
        return;
    }
    CRefreshDlg& dlg = host.dlg;
    const int screenW = ::GetSystemMetrics(SM_CXSCREEN), screenH = ::GetSystemMetrics(SM_CYSCREEN);
    ::SetCursorPos(screenW - 1, screenH - 1);

    Measure(report, "10,000 repaints", 200, 10000, [&](int) {
        return ::RedrawWindow(dlg, nullptr, nullptr,
                              RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW) != FALSE;
    });

    // A cycle: the pointer onto a caption button (a real pointer move, and the
    // mouse message the dialog gets for it), the hot face painted; then the
    // pointer off the window and the hover timer's tick, the normal face
    // painted. Every 100th cycle waits for the real timer; the others deliver
    // its tick at once, as 10,000 waits of a timer period would take minutes.
    // The dialog clips its children meanwhile: its whole-window invalidation
    // would otherwise repaint every control twice a cycle (a list view paint
    // costs tens of milliseconds under Wine), and those paints are what the
    // repaint run above already counts. The chrome is painted as ever.
    const LONG style = ::GetWindowLongA(dlg, GWL_STYLE);
    ::SetWindowLongA(dlg, GWL_STYLE, style | WS_CLIPCHILDREN);
    CRect client;
    dlg.GetClientRect(&client);
    const CPoint buttons[] = { { client.Width() - 66, 6 }, { client.Width() - 40, 6 }, { client.Width() - 14, 6 } };
    Measure(report, "10,000 hover cycles", 100, 10000, [&](int i) {
        CPoint pt = buttons[i % 3];
        CPoint screen = pt;
        dlg.ClientToScreen(&screen);
        ::SetCursorPos(screen.x, screen.y);
        FlushMessages();
        dlg.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
        dlg.UpdateWindow();
        bool ok = dlg.m_nHover == i % 3 + RegionMinimize;
        ::SetCursorPos(screenW - 1, screenH - 1);
        if (i % 100 == 0)
            ok &= PumpUntil([&] { return dlg.m_nHover == RegionNone; }, 2000);
        else
            dlg.SendMessage(WM_TIMER, CRefreshDlg::TIMER_HOVER);
        dlg.UpdateWindow();
        return ok && dlg.m_nHover == RegionNone;
    });

    ::SetWindowLongA(dlg, GWL_STYLE, style);

    Measure(report, "1,000 rebuilds", 50, 1000, [&](int) {
        host.Rebuild();
        host.log.calls.clear();
        FlushMessages();
        return dlg.m_listWindows.GetItemCount() == kRows;
    });

    AboutCloser::s_main = dlg;
    Measure(report, "1,000 About boxes", 20, 1000, [&](int) {
        const int closed = AboutCloser::s_closed;
        UINT_PTR timer = ::SetTimer(nullptr, 0, 10, AboutCloser::Tick);
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_ABOUT, BN_CLICKED), (LPARAM)dlg.GetDlgItem(IDC_ABOUT));
        ::KillTimer(nullptr, timer);
        return AboutCloser::s_closed == closed + 1;
    });
}
