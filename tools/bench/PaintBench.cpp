// Painting: a full repaint of the program's main dialog with 100 rows (skin,
// painted chrome, skinned list, header and bars) against the same template
// as a plain dialog with stock controls and the same rows.
#include "MainDialogHost.h"
#include "PlainDialog.h"
#include "Report.h"
#include "TestSupport.h"
#include "skin/SkinManager.h"

namespace {

const int kRows = 100;
const int kRounds = 15;
const int kRepaintsPerRound = 20;
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

void RunPaintBench(Report& report)
{
    Print("\n2. painting: full repaint of the main dialog with %d rows (%d rounds of %d, alternated)\n", kRows,
          kRounds, kRepaintsPerRound);
    MainDialogHost host(kRows);
    std::vector<std::string> rows;
    for (int i = 0; i < kRows; ++i)
        rows.push_back(Gbk(RowName(i).c_str()));
    HWND hPlain = CreatePlainDialog(rows);
    if (!host.ok() || !hPlain) {
        report.Add("painting: veskar / plain dialog", "no dialog", "<= 3.0", false);
        return;
    }
    // Side by side, neither covering the other, the pointer away from both.
    RECT rcMain, rcPlain;
    host.dlg.GetWindowRect(&rcMain);
    ::GetWindowRect(hPlain, &rcPlain);
    const int screenW = ::GetSystemMetrics(SM_CXSCREEN), screenH = ::GetSystemMetrics(SM_CYSCREEN);
    host.dlg.SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(hPlain, nullptr, screenW - (rcPlain.right - rcPlain.left), 0, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::ShowWindow(hPlain, SW_SHOWNOACTIVATE);
    ::SetCursorPos(screenW - 1, screenH - 1);
    FlushMessages();
    if (host.dlg.m_listWindows.GetItemCount() != kRows ||
        ::SendDlgItemMessageA(hPlain, IDC_LIST_WINDOWS, LVM_GETITEMCOUNT, 0, 0) != kRows) {
        report.Add("painting: veskar / plain dialog", "rows missing", "<= 3.0", false);
        ::DestroyWindow(hPlain);
        return;
    }

    // Unmeasured: code and bitmaps come into memory.
    TimeRepaints(host.dlg);
    TimeRepaints(hPlain);
    Samples program, plain;
    for (int round = 0; round < kRounds; ++round) {
        program.Add(TimeRepaints(host.dlg));
        plain.Add(TimeRepaints(hPlain));
        FlushMessages();
    }
    // The skin's thread hook must not have reached the plain dialog.
    const bool plainStayedPlain = (WNDPROC)::GetWindowLongPtrA(hPlain, GWLP_WNDPROC) != SkinWindowWndProc &&
        (::GetWindowLongA(::GetDlgItem(hPlain, IDC_REFRESH), GWL_STYLE) & BS_TYPEMASK) != BS_OWNERDRAW;
    ::DestroyWindow(hPlain);

    if (!plainStayedPlain) {
        report.Add("painting: veskar / plain dialog", "plain dialog skinned", "<= 3.0", false);
        return;
    }
    Print("   veskar main dialog  %s per repaint\n", Describe(program, "ms").c_str());
    Print("   plain dialog        %s per repaint\n", Describe(plain, "ms").c_str());
    report.AddRatio("painting: veskar / plain dialog", program.Median() / plain.Median(), 3.0);
}
