// The main dialog against the counted fakes: what it lists and holds, the pass, the period, faults, every way out.
#include "MainDialog.h"
#include "framework/Seams.h"
#include "framework/WinApp.h"

static HRESULT WINAPI FailingVariantClear(VARIANTARG*) { return DISP_E_BADVARTYPE; }

// Named browsers listed bottom-up, each name as the system converts it up to its first NUL.
TEST_F(MainDialogTest, ListsNamedBrowsersInReverseOrderEachRowHoldingOneReference)
{
    shell.Add(L"", "H")->name.assign((size_t)1 << 20, L'\u754C');  // listed last
    a = shell.Add(L"Alpha", "A");
    FakeBrowser* skipped[] = { shell.Add(L"Folder", "F"), shell.Add(L"", "U"), shell.Add(L"x", "N") };
    skipped[0]->isBrowser = false;
    skipped[2]->nullName = true;
    shell.AddEmptySlot();
    b = shell.Add(L"Alpha", "T");     // a twin
    c = shell.Add(L"x\u0E01y", "X");  // Thai is not in code page 936
    for (std::wstring name : { std::wstring(L"ab\0cd", 5), std::wstring(L"\0x", 2), std::wstring(L"x\xD800y"),
                               std::wstring(L"\xDE00\xD83D"), std::wstring(L"   ") })
        shell.Add(L"", "O")->name = name;
    Open();
    std::vector<std::string> rows = Rows();
    rows.pop_back();  // the huge name, read whole below
    EXPECT_EQ(rows, (std::vector<std::string>{ "   ", "??", "x?y", "", "ab", "x?y", "Alpha", "Alpha" }));
    for (FakeBrowser* w : { a, b, c })
        EXPECT_EQ(w->refs, 2) << w->tag << ": the collection's and the row's";
    for (FakeBrowser* w : skipped)
        EXPECT_EQ(w->refs, 1) << w->tag << " is not listed and keeps no reference";
    EXPECT_TRUE(shell.refs == 2 && factory.creations == 1 && com.inits == 1 && boxes->boxes.empty() && dlg.m_nTimer);
    std::string big(((size_t)1 << 21) + 1, '\0');
    LVITEMA item = { 0, 0, 0, 0, 0, &big[0], (int)big.size() };
    EXPECT_EQ(dlg.m_listWindows.SendMessage(LVM_GETITEMTEXTA, rows.size(), (LPARAM)&item), (1 << 21)) << "huge, whole";
    EXPECT_EQ(big.substr(0, 2), "\xBD\xE7");
    char heading[64];
    HDITEMA hdi = { HDI_TEXT, 0, heading, nullptr, sizeof heading };
    ::SendMessageA(dlg.m_listWindows.GetHeaderCtrl(), HDM_GETITEMA, 0, (LPARAM)&hdi);
    EXPECT_EQ(heading, Gbk(L"等待刷新的界面"));
    for (WPARAM size : { ICON_BIG, ICON_SMALL })
        EXPECT_EQ((HICON)dlg.SendMessage(WM_GETICON, size), dlg.m_hIcon);
    EXPECT_EQ((HICON)dlg.SendMessage(WM_QUERYDRAGICON), dlg.m_hIcon);
}

// A pass reloads the ticked rows top-down whatever they answer, until a rebuild drops the ticks.
TEST_F(MainDialogTest, PassReloadsTickedRowsTopDownAndRebuildDropsTicksAndDrawsOnceWhenEveryRowIsIn)
{
    AddMany(30);
    Open();
    Tick(0);
    Tick(2);
    shell.windows.back()->FailOn("refresh w1", RPC_E_DISCONNECTED);  // its window closed
    RefreshTick();
    dlg.SendMessage(WM_TIMER, 7);  // not the refresh timer
    RefreshTick();
    EXPECT_EQ(log.Take(), (std::vector<std::string>{ "refresh w1", "refresh w3", "refresh w1", "refresh w3" }));
    EXPECT_TRUE(Ticked(0) && !Ticked(1) && Ticked(2)) << "a pass changes no tick";
    std::vector<bool> pending;  // whether the list had something to repaint right after each row went in
    WindowWatch inserts(dlg.m_listWindows, {}, [&](HWND h, UINT m, WPARAM, LPARAM) {
        if (m == LVM_INSERTITEMA)
            pending.push_back(::GetUpdateRect(h, nullptr, FALSE) != FALSE);
    });
    for (int i = 0; i < 3; ++i) {
        FlushMessages();
        Click(IDC_REFRESH);
    }
    ASSERT_EQ(pending.size(), 90u);
    EXPECT_EQ(std::count(pending.begin(), pending.end(), true), 0) << "rows were drawn one by one";
    EXPECT_TRUE(::GetUpdateRect(dlg.m_listWindows, nullptr, FALSE)) << "the filled list is not repainted";
    log.Take();
    RefreshTick();
    EXPECT_TRUE(log.Take().empty()) << "no tick survives a rebuild";
    // A count that fails leaves the list empty, but drawing again.
    shell.FailOn("count", E_UNEXPECTED);
    Click(IDC_REFRESH);
    FlushMessages();
    LVITEMA item = { LVIF_TEXT, 0, 0, 0, 0, const_cast<char*>("row") };
    dlg.m_listWindows.InsertItem(&item);
    EXPECT_TRUE(::GetUpdateRect(dlg.m_listWindows, nullptr, FALSE)) << "the list no longer draws";
}

// A Release or Refresh into another process may let messages run: a pass or a
// rebuild then meets no row of a browser being let go, and the pass keeps its own reference.
TEST_F(MainDialogTest, ReentrantReleaseAndRefreshMeetNoDanglingRow)
{
    AddABC();
    Open();
    for (int row = 0; row < 3; ++row)
        Tick(row);
    bool ran = false;
    for (FakeBrowser* w : { a, b, c })
        w->onRelease = [&, w] {
            EXPECT_GE(w->refs - 1, 1 + RowsHolding(w)) << w->tag << " released while a row holds it";
            if (std::exchange(ran, true))
                return;
            RefreshTick();
            EXPECT_EQ(a->refreshes + b->refreshes + c->refreshes, 0) << "a released browser was reloaded";
            Click(IDC_REFRESH);
        };
    Click(IDC_REFRESH);
    ASSERT_TRUE(ran);
    for (FakeBrowser* w : { a, b, c }) {
        w->onRelease = nullptr;
        EXPECT_EQ(w->refs, 1 + RowsHolding(w)) << w->tag;
    }
    Click(IDC_REFRESH);
    Tick(0);
    c->fault = [&](const std::string& e) {
        if (e == "refresh C") {
            Click(IDC_REFRESH);
            EXPECT_EQ(c->refs, 3) << "the collection's, the new row's and the pass's own";
        }
        return S_OK;
    };
    RefreshTick();
    EXPECT_EQ(c->refs, 2);
}

TEST_F(MainDialogTest, FaultsSkipTheWindowGiveEverythingBackAndLeaveItUsable)
{
    const std::string shellInfo = "shell {85CB6900-4D95-11CF-960C-0080C7F4EE85}";  // who raised it, for what
    struct Fault { const char* event; bool onShell; HRESULT hr; std::vector<std::string> rows; std::string asked; };
    const Fault faults[] = {
        { "count", true, E_UNEXPECTED, {}, shellInfo },
        { "item 1", true, RPC_E_DISCONNECTED, { "Charlie", "Alpha" }, shellInfo },
        { "query B", false, E_FAIL, { "Charlie", "Alpha" }, "" },
        { "name B", false, RPC_E_DISCONNECTED, { "Charlie", "Alpha" }, "B {EAB22AC1-30C1-11CF-A7EB-0000C05BAE0B}" },
    };
    AddABC();
    Open();
    for (const Fault& f : faults) {
        SCOPED_TRACE(f.event);
        (f.onShell ? (FakeObject&)shell : (FakeObject&)*b).FailOn(f.event, f.hr);
        Click(IDC_REFRESH);
        EXPECT_EQ(Rows(), f.rows);
        const std::vector<std::string> calls = log.Take();
        EXPECT_TRUE(f.asked.empty() || std::find(calls.begin(), calls.end(), "errorinfo " + f.asked) != calls.end())
            << "the error carries the object's error information";
        EXPECT_EQ(shell.errorInfo.refs + b->errorInfo.refs, 2) << "the error information is handed back";
        EXPECT_EQ(b->refs, 1) << "the failed window's temporaries are released";
        EXPECT_TRUE(boxes->boxes.empty()) << "a fault is quiet";
        shell.fault = b->fault = nullptr;
        Click(IDC_REFRESH);
        EXPECT_EQ(dlg.m_listWindows.GetItemCount(), 3) << "usable afterwards";
    }
    // A failure after the row went in leaves the row its reference.
    ScopedSeam<decltype(g_pfnVariantClear)> clear(g_pfnVariantClear, FailingVariantClear);
    Click(IDC_REFRESH);
    EXPECT_EQ(Rows(), (std::vector<std::string>{ "Charlie", "Bravo", "Alpha" }));
    dlg.DestroyWindow();
    ExpectAllReleased();
    EXPECT_EQ(shell.refs, 2) << "until the object goes";
}

TEST_F(MainDialogTest, RefusedPeriodsShowTheirMessageAndKeepThePreviousPeriod)
{
    Open();
    const std::string range = Gbk(L"“请填入一个在1和10000之间的整数。”"), notNumber = Gbk(L"“请填入一个正整数。”");
    struct Case { const char* text; UINT period; const std::string* message; } cases[] = {
        { "12", 12 }, { "0", 12, &range }, { "10001", 12, &range }, { "7s", 12, &notNumber }, { "  10000 ", 10000 },
        { "7                              x", 7 },  // only the first 31 bytes are read
    };
    HWND edit = dlg.GetDlgItem(IDC_EDIT_PERIOD);
    for (const Case& k : cases) {
        SCOPED_TRACE(k.text);
        boxes->boxes.clear();
        SetPeriodText(k.text);
        Click(IDC_SET);
        EXPECT_EQ(dlg.m_nPeriod, k.period);
        ASSERT_EQ(boxes->boxes.size(), k.message ? 1u : 0u);
        if (!k.message)
            continue;
        const MessageBoxRecorder::Box& box = boxes->boxes[0];
        EXPECT_TRUE(box.text == *k.message && box.caption == GetAppName() &&
                    box.type == (MB_ICONEXCLAMATION | MB_OK)) << box.text;
        DWORD from = 1, to = 0;
        ::SendMessageA(edit, EM_GETSEL, (WPARAM)&from, (LPARAM)&to);
        EXPECT_TRUE(::GetFocus() == edit && from == 0 && to == strlen(k.text)) << "focus back, the text selected";
    }
}

// Set restarts the countdown, and starts a timer that failed before; a refused period leaves it
// alone. Load may delay a reload, never hasten it: wall time is bounded from below.
TEST_F(MainDialogTest, SetRestartsTheCountdownAndStartsAMissingTimer)
{
    AddABC();
    Open();
    Tick(1);
    SetPeriodText("1");
    Click(IDC_SET);
    PumpFor(500);
    Click(IDC_SET);
    const DWORD pressed = ::GetTickCount();
    ASSERT_TRUE(PumpUntil([&] { return b->refreshes > 0; }, 3000));
    EXPECT_GE(::GetTickCount() - pressed, 990u) << "the old countdown went on";
    dlg.KillTimer(CRefreshDlg::TIMER_REFRESH);  // as after a failed SetTimer
    dlg.m_nTimer = 0;
    Click(IDC_SET);
    EXPECT_TRUE(PumpUntil([&] { return b->refreshes > 1; }, 3000));
    // A refused period leaves the countdown running: its reload comes before a restarted one could.
    SetPeriodText("2");
    Click(IDC_SET);
    PumpFor(1000);
    SetPeriodText("0");
    Click(IDC_SET);
    const DWORD refused = ::GetTickCount();
    const int before = b->refreshes;
    ASSERT_TRUE(PumpUntil([&] { return b->refreshes > before; }, 3000));
    EXPECT_LT(::GetTickCount() - refused, 1900u) << "the refusal restarted the countdown";
    EXPECT_EQ(a->refreshes + c->refreshes, 0);
}

// Every way out: what it returns and gives back, the apartment entered once and left once (not by the
// caption). Before the window menu's Close, real keys: Tab walks the tab stops in template order; Enter
// and Esc in the period box, the dialog manager's close and a command next to Close do nothing.
TEST_F(MainDialogTest, KeysEndNothingAndEveryWayOutGivesTheReferencesBackAndLeavesTheApartmentOnce)
{
    AddABC();
    std::vector<int> focus;
    auto tab = [&] { focus.push_back(::GetDlgCtrlID(::GetFocus())); PressKey(VK_TAB, false); return true; };
    EXPECT_EQ(RunModal({ Shown(), tab, tab, tab, tab, tab,
        [&] {
            focus.push_back(::GetDlgCtrlID(::GetFocus()));
            ClickAt(ScreenPoint(dlg.GetDlgItem(IDC_EDIT_PERIOD), 10, 5), 1, false);
            return true;
        },
        Key(VK_END), Key(VK_BACK), Key('7'), Key(VK_RETURN), Key(VK_ESCAPE),
        [&] {
            dlg.SendMessage(WM_CLOSE);
            dlg.SendMessage(WM_SYSCOMMAND, SC_CLOSE | 1);
            return true;
        },
        [&] {
            EXPECT_TRUE(::IsWindowVisible(dlg));
            EXPECT_EQ(dlg.m_nPeriod, 5u) << "Enter does not apply the period";
            EXPECT_EQ(Rows().size(), 3u);
            EXPECT_EQ(a->refs, 2);
            return ::PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
        } }), 0);
    EXPECT_EQ(focus,
              (std::vector<int>{ IDC_REFRESH, IDC_LIST_WINDOWS, IDC_EDIT_PERIOD, IDC_SET, IDC_ABOUT, IDC_REFRESH }));
    ExpectAllReleased();
    EXPECT_EQ(shell.refs, 1) << "the window menu's Close lets the collection go";
    EXPECT_TRUE(com.inits == 1 && com.uninits == 1 && boxes->boxes.empty());
    EXPECT_EQ(RunModal({ Shown(), [&] {
        RECT r;
        ::GetClientRect(dlg, &r);
        ClickAt(ScreenPoint(dlg, r.right - 12, 6), 1, false);  // the caption's close button
        return true;
    } }), IDCANCEL);
    ExpectAllReleased();
    EXPECT_EQ(shell.refs, 2) << "kept until the object goes";
    EXPECT_EQ(com.uninits, 1) << "the caption's close does not leave the apartment";

    struct Failure { const char* name; HRESULT create; bool offers; } failures[] = {
        { "not registered", REGDB_E_CLASSNOTREG, true }, { "no IShellWindows", S_OK, false } };
    for (const Failure& f : failures) {
        SCOPED_TRACE(f.name);
        FakeLog l;
        FakeShellWindows s(&l);
        s.offersShellWindows = f.offers;
        ScopedShellFactory factory2(&s, f.create);
        boxes->boxes.clear();
        const int inits = com.inits, uninits = com.uninits;
        CRefreshDlg failing;
        EXPECT_EQ(failing.DoModal(), 1);
        ASSERT_EQ(boxes->boxes.size(), 1u);
        const MessageBoxRecorder::Box& box = boxes->boxes[0];
        EXPECT_TRUE(box.text == "Failed" && box.caption == GetAppName() && box.type == MB_OK && box.owner) << box.text;
        EXPECT_EQ(s.refs, 1) << "the temporary is released";
        EXPECT_TRUE(com.inits - inits == 1 && com.uninits - uninits == 1) << "the apartment left once";
    }
}

// After a warm-up, twenty more of each long-running action leave the GDI and USER object counts,
// the apartment and every reference as they were. Counts are exact: twenty prove what thousands would.
TEST_F(MainDialogTest, LongRunningActionsLeaveNothingBehind)
{
    AddMany(20);
    UseRealBoxes();
    Open();
    dlg.m_listWindows.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    RECT client;
    ::GetClientRect(dlg, &client);
    auto answered = [&](int id) {  // the command opens a box, answered with OK
        TimerScript script({ [&] { return ShownBox(dlg) && ::PostMessageA(ShownBox(dlg), WM_COMMAND, IDOK, 0); } });
        Click(id);
        EXPECT_TRUE(script.Done());
    };
    struct Action { const char* name; std::function<void()> run; } actions[] = {
        { "caption hover", [&] {
              MoveMouseTo(ScreenPoint(dlg, client.right - 12, 6));
              EXPECT_TRUE(PumpUntil([&] { return dlg.m_nHover == RegionClose; }, 2000));
              MoveMouseTo(Away());
              EXPECT_TRUE(PumpUntil([&] { return dlg.m_nHover == RegionNone; }, 2000));
          } },
        { "repaint", [&] {
              ::RedrawWindow(dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
          } },
        { "rebuild", [&] { Click(IDC_REFRESH); FlushMessages(); } },
        { "About box", [&] { answered(IDC_ABOUT); } },
        { "refused period", [&] { SetPeriodText("0"); answered(IDC_SET); } },
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
