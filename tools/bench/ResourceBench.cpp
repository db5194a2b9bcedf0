// Resources: GDI and USER objects and private bytes of this process after
// long runs of what a user does most, each against the counts after a
// warm-up. Object counts are exact, so hundreds of runs prove what ten
// thousand would; the memory figure is what the long runs are for.
#include "Bench.h"
#include <functional>

namespace {

struct Snapshot {
    DWORD gdi, user;
    SIZE_T privateBytes;
};

Snapshot Take()
{
    FlushMessages();
    return { GdiObjects(), UserObjects(), PrivateBytes() };
}

// Runs `step` warmUp times, takes the counts, runs it `count` times and
// reports the growth. `step` answers false when what it did went wrong.
void Measure(const char* what, int warmUp, int count, const std::function<bool(int)>& step)
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
    const double growth = ((double)after.privateBytes / (double)before.privateBytes - 1) * 100;
    const long gdi = (long)after.gdi - (long)before.gdi, user = (long)after.user - (long)before.user;
    Print("   %s: %.1f s, %d steps failed\n      GDI objects %lu -> %lu, USER objects %lu -> %lu, ", what, seconds,
          failures, before.gdi, after.gdi, before.user, after.user);
    Print("private bytes %.3f -> %.3f MB\n", before.privateBytes / 1048576.0, after.privateBytes / 1048576.0);
    Report(Format("resources after %s", what), Format("GDI %+ld, USER %+ld, mem %+.2f%%", gdi, user, growth),
           "+0, +0, < 1%", gdi <= 0 && user <= 0 && growth < 1.0 && before.gdi && before.user && !failures);
}

}  // namespace

TEST_F(Bench, Resources)
{
    Print("\n4. resources: objects and private bytes after long runs, against the counts after a warm-up\n");
    AddRows(20);  // more rows than the list shows, so its bars have a range
    Open();
    UseRealBoxes();
    const int screenW = ::GetSystemMetrics(SM_CXSCREEN), screenH = ::GetSystemMetrics(SM_CYSCREEN);
    const UINT everything = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW;
    Measure("500 repaints", 20, 500, [&](int) { return ::RedrawWindow(dlg, nullptr, nullptr, everything); });

    // A cycle: the pointer onto a caption button (a real pointer move and the
    // mouse message for it), the hot face painted; the pointer away and the
    // hover timer's tick, the face at rest painted. Every 100th cycle waits
    // for the real timer. The children are clipped meanwhile: the dialog's
    // invalidation would repaint every control twice a cycle, which the
    // repaints above already count.
    const LONG style = ::GetWindowLongA(dlg, GWL_STYLE);
    ::SetWindowLongA(dlg, GWL_STYLE, style | WS_CLIPCHILDREN);
    RECT client;
    ::GetClientRect(dlg, &client);
    Measure("1,000 hover cycles", 20, 1000, [&](int i) {
        const POINT pt = { client.right - 66 + 26 * (i % 3), 6 }, screen = ScreenPoint(dlg, pt.x, pt.y);
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

    Measure("500 rebuilds", 20, 500, [&](int) {
        Click(IDC_REFRESH);
        log.calls.clear();
        FlushMessages();
        return dlg.m_listWindows.GetItemCount() == 20;
    });

    // The modal box a button opens (with a period typed first), answered as
    // soon as it shows.
    auto answered = [&](int id, const char* period) {
        TimerScript script({ [&] { return ShownBox(dlg) && ::PostMessageA(ShownBox(dlg), WM_COMMAND, IDOK, 0); } });
        if (period)
            SetPeriodText(period);
        Click(id);
        return script.Done();
    };
    Measure("200 About boxes", 20, 200, [&](int) { return answered(IDC_ABOUT, nullptr); });
    Measure("200 refused periods", 20, 200, [&](int) { return answered(IDC_SET, "0"); });
}
