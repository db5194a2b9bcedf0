// The program's long-running actions leave nothing behind: after a warm-up,
// twenty more of each leave the GDI and USER object counts, the apartment
// and every reference exactly as they were. Counts are exact, so twenty prove
// what thousands would.
#include "MainDialog.h"

TEST_F(MainDialogTest, LongRunningActionsLeaveNothingBehind)
{
    AddMany(20);
    UseRealBoxes();
    Open();
    dlg.m_listWindows.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    RECT client;
    ::GetClientRect(dlg, &client);
    // Runs `open`, which shows a modal box, and answers the box with IDOK.
    auto answered = [&](std::function<void()> open) {
        TimerScript script({ [&] {
            HWND box = ShownBox(dlg);
            return box && ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        } }, 10000);
        open();
        EXPECT_TRUE(script.Done());
    };
    struct Action { const char* name; std::function<void()> run; } actions[] = {
        { "repaint", [&] {
              ::RedrawWindow(dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
          } },
        { "caption hover", [&] {
              MoveMouseTo(ScreenPoint(dlg, client.right - 12, 6));
              EXPECT_TRUE(PumpUntil([&] { return dlg.m_nHover == RegionClose; }, 2000));
              MoveMouseTo(Away());
              EXPECT_TRUE(PumpUntil([&] { return dlg.m_nHover == RegionNone; }, 2000));
          } },
        { "rebuild", [&] { Click(IDC_REFRESH); FlushMessages(); } },
        { "About box", [&] { answered([&] { Click(IDC_ABOUT); }); } },
        { "refused period", [&] { SetPeriodText("0"); answered([&] { Click(IDC_SET); }); } },
    };
    auto counts = [&] {
        std::vector<LONG> refs = { (LONG)GdiObjects(), (LONG)UserObjects(), com.inits, com.uninits, shell.refs };
        for (FakeBrowser* w : shell.windows)
            refs.push_back(w->refs);
        return refs;
    };
    for (const Action& action : actions) {
        SCOPED_TRACE(action.name);
        for (int i = 0; i < 3; ++i)
            action.run();
        FlushMessages();
        const std::vector<LONG> before = counts();
        ASSERT_TRUE(before[0] > 0 && before[1] > 0) << "the object counters count";
        for (int i = 0; i < 20; ++i)
            action.run();
        FlushMessages();
        EXPECT_EQ(counts(), before) << "GDI, USER, apartment entries and exits, references";
    }
}
