// The refresh pass (a tick of the refresh timer over the ticked rows) and the
// rebuild (the Refresh button: every row given back, the collection listed
// again) over 10 to 10,000 rows: the cost per row must not grow with the list.
#include "MainDialogHost.h"
#include "Report.h"
#include "TestSupport.h"
#include <algorithm>

namespace {

const int kSizes[] = { 10, 100, 1000, 10000 };
const int kRounds = 9;
// Each sample covers at least this many rows, so small lists are timed over
// several repetitions.
const int kRowsPerSample = 1000;

int Refreshes(const FakeLog& log)
{
    return (int)std::count_if(log.calls.begin(), log.calls.end(),
                              [](const std::string& c) { return c.rfind("Refresh ", 0) == 0; });
}

}  // namespace

void RunRowsBench(Report& report)
{
    Print("\n3. refresh pass and rebuild per row, half the rows ticked (%d rounds, sizes alternated)\n", kRounds);
    MainDialogHost host(kSizes[3]);
    if (!host.ok()) {
        report.Add("rows: main dialog", "no dialog", "", false);
        return;
    }
    Samples pass[4], rebuild[4];
    bool counted = true;
    for (int round = 0; round < kRounds; ++round) {
        for (int s = 0; s < 4; ++s) {
            const int n = kSizes[s];
            const int reps = std::max(1, kRowsPerSample / n);
            host.ListFirst((size_t)n);
            host.Rebuild();  // from the previous size to this one: not timed
            FlushMessages();

            double start = NowMs();
            for (int r = 0; r < reps; ++r)
                host.Rebuild();
            rebuild[s].Add((NowMs() - start) / ((double)reps * n));
            counted &= host.dlg.m_listWindows.GetItemCount() == n;
            FlushMessages();

            host.TickHalf();
            host.log.calls.clear();
            start = NowMs();
            for (int r = 0; r < reps; ++r)
                host.RefreshPass();
            pass[s].Add((NowMs() - start) / ((double)reps * n));
            counted &= Refreshes(host.log) == reps * ((n + 1) / 2);
            host.log.calls.clear();
            FlushMessages();
        }
    }
    for (int s = 0; s < 4; ++s)
        Print("   %5d rows: pass %s/row   rebuild %s/row\n", kSizes[s], Describe(pass[s], "us", 1000).c_str(),
              Describe(rebuild[s], "us", 1000).c_str());
    if (!counted) {
        Print("   the list or the reloads did not match the collection\n");
        report.Add("rows: pass and rebuild", "wrong rows", "", false);
        return;
    }
    report.AddRatio("pass per row: 10,000 / 100 rows", pass[3].Median() / pass[1].Median(), 1.5);
    report.AddRatio("rebuild per row: 10,000 / 100 rows", rebuild[3].Median() / rebuild[1].Median(), 1.5);
}
