// The refresh pass (a tick of the refresh timer over the ticked rows) and
// the rebuild (the Refresh button: every row given back, the collection
// listed again) over 10 to 10,000 rows: the cost per row must not grow with
// the list.
#include "Bench.h"
#include <algorithm>

namespace {
const int kSizes[] = { 10, 100, 1000, 10000 };
const int kRounds = 5, kRowsPerSample = 1000;  // small lists are timed over several repetitions
}

TEST_F(Bench, Rows)
{
    Print("\n3. refresh pass and rebuild per row, half the rows ticked (%d rounds, sizes alternated)\n", kRounds);
    AddRows(kSizes[3]);
    Open();
    const std::vector<FakeBrowser*> all = shell.windows;
    Samples pass[4], rebuild[4];
    for (int round = 0; round < kRounds; ++round)
        for (int s = 0; s < 4; ++s) {
            const int n = kSizes[s], reps = std::max(1, kRowsPerSample / n);
            shell.windows.assign(all.begin(), all.begin() + n);  // the collection lists its first n
            Click(IDC_REFRESH);  // from the previous size to this one: not timed
            FlushMessages();
            double start = NowMs();
            for (int r = 0; r < reps; ++r)
                Click(IDC_REFRESH);
            rebuild[s].values.push_back((NowMs() - start) / ((double)reps * n));
            ASSERT_EQ(dlg.m_listWindows.GetItemCount(), n);
            FlushMessages();

            for (int i = 0; i < n; i += 2)
                Tick(i);
            log.calls.clear();
            start = NowMs();
            for (int r = 0; r < reps; ++r)
                RefreshTick();
            pass[s].values.push_back((NowMs() - start) / ((double)reps * n));
            auto refresh = [](const std::string& call) { return call.rfind("refresh", 0) == 0; };
            ASSERT_EQ(std::count_if(log.calls.begin(), log.calls.end(), refresh), reps * ((n + 1) / 2));
            log.calls.clear();
            FlushMessages();
        }
    for (int s = 0; s < 4; ++s)
        Print("   %5d rows: pass %s/row   rebuild %s/row\n", kSizes[s], pass[s].Describe("us", 1000).c_str(),
              rebuild[s].Describe("us", 1000).c_str());
    ReportRatio("pass per row: 10,000 / 100 rows", pass[3].Median() / pass[1].Median(), 1.5);
    ReportRatio("rebuild per row: 10,000 / 100 rows", rebuild[3].Median() / rebuild[1].Median(), 1.5);
}
