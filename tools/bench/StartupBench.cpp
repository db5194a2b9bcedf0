// Start-up: from process creation to the main dialog's first complete
// paint, the program against the bare dialog, both started and watched from
// here. The first complete paint, seen from outside: the dialog and every
// shown descendant painted (a shown window has an update region until its
// WM_PAINT is handled) and the program back in its message loop.
#include "Bench.h"
#include "Driver.h"
#include "PlainDialog.h"

namespace {

const int kRuns = 15;  // of each program, alternated

// Milliseconds from process creation to the first complete paint of a
// dialog listing the rows; negative if it never got there.
double StartAndMeasure(const std::string& exe)
{
    const double start = NowMs();
    Program prog(exe);
    ::WaitForInputIdle(prog.process(), 10000);
    HWND dlg = nullptr;
    double painted = -1;
    while (painted < 0 && NowMs() - start < 15000 && !prog.WaitExit(1))
        if ((dlg = WaitForMainDialog(prog.pid(), 0)) && Painted(dlg))
            painted = NowMs() - start;
    if (Ask(::GetDlgItem(dlg, IDC_LIST_WINDOWS), LVM_GETITEMCOUNT) != (LRESULT)StartupRows().size())
        painted = -1;
    ::PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
    prog.WaitExit(10000);
    return painted;
}

}  // namespace

TEST_F(Bench, StartUp)
{
    Print("\n1. start-up: process creation to the main dialog's first complete paint (%d runs each, alternated)\n",
          kRuns);
    FakeRegistration registration(PathOf("FAKESHELL_DLL"));
    ASSERT_TRUE(registration.ok);
    // The program lists the same rows as the bare dialog (the config is UTF-8).
    std::vector<std::string> lines;
    for (const std::string& row : StartupRows())
        lines.push_back("browser - " + ToUtf8(row));
    // Nothing reads the fake's log here: it goes to the null device.
    ConfigureFake("NUL", lines);

    const std::string veskar = PathOf("VESKAR_EXE"), bare = PathOf("BENCH_BARE");
    StartAndMeasure(veskar);  // unmeasured: the files come into the cache
    StartAndMeasure(bare);
    Samples program, plain;
    int failures = 0;
    for (int i = 0; i < kRuns; ++i)
        for (bool isProgram : { true, false }) {  // A B A B: a drift of the machine reaches both
            const double ms = StartAndMeasure(isProgram ? veskar : bare);
            failures += ms < 0;
            (isProgram ? program : plain).values.push_back(ms);
        }
    Print("   veskar.exe   %s\n   bare dialog  %s\n", program.Describe("ms").c_str(), plain.Describe("ms").c_str());
    if (failures)
        Report("start-up: veskar / bare dialog", Format("%d starts failed", failures), "<= 1.5", false);
    else
        ReportRatio("start-up: veskar / bare dialog", program.Median() / plain.Median(), 1.5);
}
