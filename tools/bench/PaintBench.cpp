// Painting: a full repaint of the main dialog with 100 rows (skin, painted
// chrome, skinned list, header and bars) against the same template as a
// plain dialog with stock controls and the same rows.
#include "Bench.h"
#include "PlainDialog.h"
#include "skin/SkinManager.h"

namespace {

const int kRows = 100, kRounds = 10, kRepaintsPerRound = 20;
const UINT kFullRepaint = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW;

// Milliseconds per full repaint over one round.
double TimeRepaints(HWND hWnd)
{
    const double start = NowMs();
    for (int i = 0; i < kRepaintsPerRound; ++i)
        ::RedrawWindow(hWnd, nullptr, nullptr, kFullRepaint);
    return (NowMs() - start) / kRepaintsPerRound;
}

}  // namespace

TEST_F(Bench, Painting)
{
    Print("\n2. painting: full repaint of the main dialog with %d rows (%d rounds of %d, alternated)\n", kRows, kRounds,
          kRepaintsPerRound);
    AddRows(kRows);
    Open();
    std::vector<std::string> rows;
    for (int i = 0; i < kRows; ++i)
        rows.push_back(Gbk((L"页面 " + std::to_wstring(i)).c_str()));
    HWND hPlain = CreatePlainDialog(rows);
    ASSERT_TRUE(hPlain);
    // Side by side, neither covering the other.
    RECT rc;
    ::GetWindowRect(hPlain, &rc);
    dlg.SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(hPlain, nullptr, ::GetSystemMetrics(SM_CXSCREEN) - (rc.right - rc.left), 0, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    FlushMessages();
    ASSERT_EQ(dlg.m_listWindows.GetItemCount(), kRows);
    ASSERT_EQ(::SendDlgItemMessageA(hPlain, IDC_LIST_WINDOWS, LVM_GETITEMCOUNT, 0, 0), kRows);

    TimeRepaints(dlg);  // unmeasured: code and bitmaps come into memory
    TimeRepaints(hPlain);
    Samples program, plain;
    for (int round = 0; round < kRounds; ++round) {
        program.values.push_back(TimeRepaints(dlg));
        plain.values.push_back(TimeRepaints(hPlain));
        FlushMessages();
    }
    // The skin's thread hook must not have reached the plain dialog.
    EXPECT_NE((WNDPROC)::GetWindowLongPtrA(hPlain, GWLP_WNDPROC), SkinWindowWndProc);
    EXPECT_NE(::GetWindowLongA(::GetDlgItem(hPlain, IDC_REFRESH), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    Print("   veskar main dialog  %s per repaint\n   plain dialog        %s per repaint\n",
          program.Describe("ms").c_str(), plain.Describe("ms").c_str());
    ReportRatio("painting: veskar / plain dialog", program.Median() / plain.Median(), 3.0);
}
