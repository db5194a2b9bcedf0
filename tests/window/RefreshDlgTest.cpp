// The main dialog against counted fakes of the Shell's window collection and
// of browsers: start-up, the list, the periodic refresh, the period, the ways
// it ends, and faults at every COM call.
#include "app/RefreshDlg.h"
#include "framework/Seams.h"
#include "framework/WinApp.h"
#include "MainDialogFixture.h"
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

class RefreshDlgTest : public MainDialogFixture {
protected:
    void AddABC()
    {
        a = shell.Add(L"Alpha", "A");
        b = shell.Add(L"Bravo", "B");
        c = shell.Add(L"Charlie", "C");
    }

    std::vector<std::string> Rows() const
    {
        std::vector<std::string> rows;
        for (int i = 0; i < dlg.m_listWindows.GetItemCount(); ++i)
            rows.push_back(dlg.m_listWindows.GetItemText(i, 0).str());
        return rows;
    }
    int Ticked() const
    {
        int n = 0;
        for (int i = 0; i < dlg.m_listWindows.GetItemCount(); ++i)
            n += dlg.m_listWindows.GetCheck(i) ? 1 : 0;
        return n;
    }
    void Tick(int row) { dlg.m_listWindows.SetCheck(row, TRUE); }
    void SetPeriodText(const char* text) { ::SetWindowTextA(dlg.GetDlgItem(IDC_EDIT_PERIOD), text); }
    // Every browser is back to the test's own single reference.
    void ExpectAllReleased()
    {
        for (FakeBrowser* w : shell.windows) {
            if (w) {
                EXPECT_EQ(w->refs, 1) << w->tag;
            }
        }
    }

    FakeBrowser* a = nullptr;
    FakeBrowser* b = nullptr;
    FakeBrowser* c = nullptr;
};

TEST_F(RefreshDlgTest, StartsWithTheBrowsersInReverseOrderEachHoldingOneReference)
{
    AddABC();
    Open();
    EXPECT_EQ(Rows(), (std::vector<std::string>{ "Charlie", "Bravo", "Alpha" }));
    EXPECT_EQ(Ticked(), 0);
    for (FakeBrowser* w : { a, b, c }) {
        EXPECT_EQ(w->refs, 2) << w->tag << ": the test's and the row's";
        EXPECT_EQ((IWebBrowser2*)dlg.m_listWindows.GetItemData(2 - (int)(w->tag[0] - 'A')), w);
    }
    EXPECT_EQ(shell.refs, 2) << "the test's and the dialog's";
    EXPECT_EQ(factory->creations, 1);
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_NE(dlg.m_nTimer, 0u);
}

TEST_F(RefreshDlgTest, IsSetUpAsTheUserFirstSeesIt)
{
    Open();
    EXPECT_STREQ(dlg.GetWindowText(), Gbk(L"Veskar -- Tolvane工作室 v1.2").c_str());
    EXPECT_STREQ(dlg.m_strTitle, Gbk(L"Veskar -- Tolvane工作室 v1.2").c_str());
    char period[16];
    ::GetWindowTextA(dlg.GetDlgItem(IDC_EDIT_PERIOD), period, sizeof period);
    EXPECT_STREQ(period, "5");
    EXPECT_EQ(dlg.m_listWindows.GetColumnWidth(0), 500);
    HDITEMA hdi = {};
    char heading[64] = "";
    hdi.mask = HDI_TEXT | HDI_FORMAT;
    hdi.pszText = heading;
    hdi.cchTextMax = sizeof heading;
    ::SendMessageA(dlg.m_listWindows.GetHeaderCtrl(), HDM_GETITEMA, 0, (LPARAM)&hdi);
    EXPECT_STREQ(heading, Gbk(L"等待刷新的界面").c_str());
    EXPECT_EQ(hdi.fmt & HDF_JUSTIFYMASK, HDF_LEFT);
    EXPECT_EQ(dlg.m_listWindows.GetExtendedStyle(), (DWORD)0x34);
    EXPECT_EQ(dlg.m_listWindows.GetBkColor(), RGB(255, 255, 255));
    EXPECT_EQ(dlg.m_listWindows.GetTextColor(), RGB(0, 0, 0));
    EXPECT_EQ((HICON)dlg.SendMessage(WM_GETICON, ICON_BIG), dlg.m_hIcon);
    EXPECT_EQ((HICON)dlg.SendMessage(WM_GETICON, ICON_SMALL), dlg.m_hIcon);
    EXPECT_EQ((HICON)dlg.SendMessage(WM_QUERYDRAGICON), dlg.m_hIcon);
    EXPECT_TRUE(dlg.IsWindowVisible());
}

TEST_F(RefreshDlgTest, WindowMenuEndsWithTheAboutItem)
{
    Open();
    HMENU menu = dlg.GetSystemMenu(FALSE);
    // Windows gives every top-level window a window menu (the taskbar shows
    // it); Wine gives none to a window without WS_SYSMENU, and then the item
    // is simply not added.
    if (!menu && ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version"))
        GTEST_SKIP() << "Wine: a captionless popup has no window menu";
    ASSERT_NE(menu, nullptr);
    int n = ::GetMenuItemCount(menu);
    ASSERT_GE(n, 2);
    EXPECT_TRUE(::GetMenuState(menu, (UINT)n - 2, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(::GetMenuItemID(menu, n - 1), (UINT)IDM_ABOUTBOX);
    char item[64] = "";
    ::GetMenuStringA(menu, (UINT)n - 1, item, sizeof item, MF_BYPOSITION);
    EXPECT_STREQ(item, Gbk(L"关于 Corvalle(&A)...").c_str());
}

TEST_F(RefreshDlgTest, SkipsWhatIsNotANamedBrowser)
{
    a = shell.Add(L"Alpha", "A");
    FakeBrowser* folder = shell.Add(L"Folder", "F");
    folder->isBrowser = false;
    shell.AddEmptySlot();
    FakeBrowser* untitled = shell.Add(L"", "U");
    FakeBrowser* nameless = shell.Add(L"x", "N");
    nameless->nullName = true;
    FakeBrowser* twin = shell.Add(L"Alpha", "T");
    FakeBrowser* foreign = shell.Add(L"x\u0E01y", "X");  // Thai: not in code page 936
    Open();
    EXPECT_EQ(Rows(), (std::vector<std::string>{ "x?y", "Alpha", "Alpha" }));
    EXPECT_EQ(a->refs, 2);
    EXPECT_EQ(twin->refs, 2);
    EXPECT_EQ(foreign->refs, 2);
    for (FakeBrowser* skipped : { folder, untitled, nameless })
        EXPECT_EQ(skipped->refs, 1) << skipped->tag << " keeps no reference";
}

TEST_F(RefreshDlgTest, RebuildDropsTicksAndKeepsExactlyOneReferencePerRow)
{
    AddABC();
    Open();
    Tick(0);
    Tick(2);
    ASSERT_EQ(Ticked(), 2);
    for (int i = 0; i < 5; ++i)
        Click(IDC_REFRESH);
    EXPECT_EQ(Rows(), (std::vector<std::string>{ "Charlie", "Bravo", "Alpha" }));
    EXPECT_EQ(Ticked(), 0);
    for (FakeBrowser* w : { a, b, c }) {
        EXPECT_EQ(w->refs, 2) << w->tag;
        EXPECT_EQ(w->addRefs - w->releases, 1) << w->tag;
    }
    RefreshTick();
    EXPECT_EQ(a->refreshes + b->refreshes + c->refreshes, 0) << "no tick survives a rebuild";
}

TEST_F(RefreshDlgTest, AfterARebuildWhoseCountFailedTheListStillDraws)
{
    AddABC();
    Open();
    // Rows go in with drawing held back; a failed count must not leave it so.
    shell.countResult = E_UNEXPECTED;
    Click(IDC_REFRESH);
    ASSERT_EQ(dlg.m_listWindows.GetItemCount(), 0);
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.pszText = const_cast<char*>("WWWWWW");
    ASSERT_EQ(dlg.m_listWindows.InsertItem(&item), 0);
    FlushMessages();

    // The row's text is on the screen: dark pixels in its label.
    RECT row = { LVIR_LABEL, 0, 0, 0 };
    ASSERT_TRUE(dlg.m_listWindows.SendMessage(LVM_GETITEMRECT, 0, (LPARAM)&row));
    HDC screen = ::GetDC(dlg.m_listWindows.m_hWnd);
    int dark = 0;
    for (int y = row.top; y < row.bottom; ++y) {
        for (int x = row.left; x < row.left + 60; ++x) {
            COLORREF c = ::GetPixel(screen, x, y);
            dark += c != CLR_INVALID && GetRValue(c) + GetGValue(c) + GetBValue(c) < 200;
        }
    }
    ::ReleaseDC(dlg.m_listWindows.m_hWnd, screen);
    EXPECT_GT(dark, 10) << "a row added afterwards is drawn";
    dlg.m_listWindows.DeleteAllItems();
}

// Whether the list had anything to repaint right after each row went in.
std::vector<bool> g_pendingAfterInsert;
WNDPROC g_listProc = nullptr;
LRESULT CALLBACK WatchInserts(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    LRESULT r = ::CallWindowProcA(g_listProc, h, msg, wp, lp);
    if (msg == LVM_INSERTITEMA)
        g_pendingAfterInsert.push_back(::GetUpdateRect(h, nullptr, FALSE) != FALSE);
    return r;
}

// A visible list drawing as the rows go in costs a screen update per row;
// the rebuild draws the list once, after the last row, and leaves it drawing.
TEST_F(RefreshDlgTest, RebuildDrawsTheListOnceWhenEveryRowIsIn)
{
    for (int i = 0; i < 30; ++i)
        shell.Add(L"Row", "R");
    Open();
    HWND list = dlg.m_listWindows;
    ASSERT_TRUE(::IsWindowVisible(list));
    ASSERT_FALSE(::GetUpdateRect(list, nullptr, FALSE));

    g_pendingAfterInsert.clear();
    g_listProc = (WNDPROC)::SetWindowLongPtrA(list, GWLP_WNDPROC, (LONG_PTR)WatchInserts);
    Click(IDC_REFRESH);
    ::SetWindowLongPtrA(list, GWLP_WNDPROC, (LONG_PTR)g_listProc);

    ASSERT_EQ(g_pendingAfterInsert.size(), 30u);
    EXPECT_EQ(std::count(g_pendingAfterInsert.begin(), g_pendingAfterInsert.end(), true), 0)
        << "rows were drawn while the list was being filled";
    EXPECT_TRUE(::GetUpdateRect(list, nullptr, FALSE)) << "the filled list is not repainted";
    EXPECT_TRUE(::IsWindowVisible(list));
    FlushMessages();
    EXPECT_FALSE(::GetUpdateRect(list, nullptr, FALSE));
    EXPECT_EQ(dlg.m_listWindows.GetItemCount(), 30);
    Tick(0);  // a row in view
    EXPECT_TRUE(::GetUpdateRect(list, nullptr, FALSE)) << "the list no longer draws its changes";
}

TEST_F(RefreshDlgTest, TimerReloadsTickedRowsFromTheTopAndNothingElse)
{
    AddABC();
    Open();
    Tick(0);  // Charlie
    Tick(2);  // Alpha
    RefreshTick();
    dlg.SendMessage(WM_TIMER, 7);  // not the refresh timer
    EXPECT_EQ(log.Take(), (std::vector<std::string>{ "Refresh C", "Refresh A" }));
    EXPECT_EQ(Ticked(), 2) << "a pass changes no tick";
    for (FakeBrowser* w : { a, b, c })
        EXPECT_EQ(w->refs, 2) << w->tag << ": a pass keeps the references with their rows";
}

TEST_F(RefreshDlgTest, FailingOrClosedBrowserDoesNotStopThePass)
{
    AddABC();
    Open();
    c->refreshResult = RPC_E_DISCONNECTED;
    b->refreshResult = HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE);
    Tick(0);
    Tick(1);
    Tick(2);
    RefreshTick();
    RefreshTick();
    EXPECT_EQ(log.Take(), (std::vector<std::string>{ "Refresh C", "Refresh B", "Refresh A",
                                                     "Refresh C", "Refresh B", "Refresh A" }));
    EXPECT_EQ(Rows().size(), 3u) << "stale rows stay until the next rebuild";
}

// A fault at one COM call of the rebuild: what is listed, and what is given back.
struct Fault {
    const char* name;
    void (*inject)(FakeShellWindows&, FakeBrowser* b);
    std::vector<std::string> rows;
    const char* errorInfoAsked;  // the ISupportErrorInfo question expected, if any
};

HRESULT WINAPI FailingVariantClear(VARIANTARG*) { return DISP_E_BADVARTYPE; }

TEST_F(RefreshDlgTest, FaultsDuringTheRebuildSkipTheWindowAndLeakNothing)
{
    const Fault faults[] = {
        { "get_Count", [](FakeShellWindows& s, FakeBrowser*) { s.countResult = E_UNEXPECTED; },
          {}, "ErrorInfo? shell {85CB6900-4D95-11CF-960C-0080C7F4EE85}" },
        { "Item", [](FakeShellWindows& s, FakeBrowser*) { s.failItemAt = 1; s.itemResult = RPC_E_DISCONNECTED; },
          { "Charlie", "Alpha" }, "ErrorInfo? shell {85CB6900-4D95-11CF-960C-0080C7F4EE85}" },
        { "QueryInterface", [](FakeShellWindows&, FakeBrowser* b) { b->queryResult = E_FAIL; },
          { "Charlie", "Alpha" }, nullptr },
        { "get_LocationName", [](FakeShellWindows&, FakeBrowser* b) { b->nameResult = RPC_E_DISCONNECTED; },
          { "Charlie", "Alpha" }, "ErrorInfo? B {EAB22AC1-30C1-11CF-A7EB-0000C05BAE0B}" },
    };
    for (const Fault& f : faults) {
        SCOPED_TRACE(f.name);
        FakeLog faultLog;
        FakeShellWindows faultShell(&faultLog);
        FakeBrowser* fa = faultShell.Add(L"Alpha", "A");
        FakeBrowser* fb = faultShell.Add(L"Bravo", "B");
        FakeBrowser* fc = faultShell.Add(L"Charlie", "C");
        f.inject(faultShell, fb);
        ScopedShellFactory fakeFactory(&faultShell);
        CRefreshDlg faultDlg;
        ASSERT_TRUE(faultDlg.Create());
        std::vector<std::string> rows;
        for (int i = 0; i < faultDlg.m_listWindows.GetItemCount(); ++i)
            rows.push_back(faultDlg.m_listWindows.GetItemText(i, 0).str());
        EXPECT_EQ(rows, f.rows);
        if (f.errorInfoAsked) {
            EXPECT_NE(std::find(faultLog.calls.begin(), faultLog.calls.end(), f.errorInfoAsked), faultLog.calls.end())
                << "the error carries the object's error information";
        }
        EXPECT_EQ(faultShell.errors.errorInfo.refs, 1) << "error information handed back";
        EXPECT_EQ(fb->errors.errorInfo.refs, 1);
        EXPECT_EQ(fb->refs, 1) << "the failed window's temporaries are released";
        EXPECT_TRUE(faultDlg.IsWindowVisible()) << "and the program stays up";

        // Usable afterwards: with the fault gone, a rebuild lists everyone.
        faultShell.countResult = S_OK;
        faultShell.failItemAt = -1;
        fb->queryResult = S_OK;
        fb->nameResult = S_OK;
        faultDlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_REFRESH, BN_CLICKED), 0);
        EXPECT_EQ(faultDlg.m_listWindows.GetItemCount(), 3);
        faultDlg.DestroyWindow();
        for (FakeBrowser* w : { fa, fb, fc })
            EXPECT_EQ(w->refs, 1) << w->tag;
    }
}

TEST_F(RefreshDlgTest, FailingVariantClearAfterARowIsAddedKeepsThatRowsReference)
{
    AddABC();
    auto previous = g_pfnVariantClear;
    g_pfnVariantClear = FailingVariantClear;
    Open();
    g_pfnVariantClear = previous;
    EXPECT_EQ(Rows(), (std::vector<std::string>{ "Charlie", "Bravo", "Alpha" }));
    for (FakeBrowser* w : { a, b, c })
        EXPECT_EQ(w->refs, 2) << w->tag;
    dlg.DestroyWindow();
    ExpectAllReleased();
}

TEST_F(RefreshDlgTest, WindowMenuCloseGivesEveryReferenceBackAndEndsWithZero)
{
    AddABC();
    factory = std::make_unique<ScopedShellFactory>(&shell);
    static CRefreshDlg* s_dlg;
    s_dlg = &dlg;
    struct Closer {
        static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
        {
            if (s_dlg->m_hWnd)
                s_dlg->PostMessage(WM_SYSCOMMAND, SC_CLOSE);
        }
    };
    UINT_PTR timer = ::SetTimer(nullptr, 0, 50, Closer::Tick);
    EXPECT_EQ(dlg.DoModal(), 0);
    ::KillTimer(nullptr, timer);
    ExpectAllReleased();
    EXPECT_EQ(shell.refs, 1) << "the collection is released";
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(RefreshDlgTest, EnterEscCloseAndNearCloseCommandsLeaveItOpen)
{
    AddABC();
    Open();
    SetPeriodText("7");
    dlg.SendMessage(WM_COMMAND, IDOK);
    dlg.SendMessage(WM_COMMAND, IDCANCEL);
    dlg.SendMessage(WM_CLOSE);
    dlg.SendMessage(WM_SYSCOMMAND, SC_CLOSE | 1);  // not the window menu's Close
    FlushMessages();
    EXPECT_TRUE(dlg.IsWindowVisible());
    EXPECT_EQ(dlg.m_nPeriod, 5u) << "Enter does not apply the period";
    EXPECT_EQ(Rows().size(), 3u);
    EXPECT_EQ(a->refs, 2);
    EXPECT_EQ(shell.refs, 2);
}

TEST_F(RefreshDlgTest, EndingAnyOtherWayStillGivesTheRowsReferencesBack)
{
    AddABC();
    Open();
    dlg.EndDialog(IDCANCEL);
    dlg.DestroyWindow();
    ExpectAllReleased();
}

TEST_F(RefreshDlgTest, CollectionThatCannotBeHadShowsFailedAndEnds)
{
    struct Case { const char* name; HRESULT create; bool offers; };
    const Case cases[] = {
        { "not registered", REGDB_E_CLASSNOTREG, true },
        { "no IShellWindows", S_OK, false },
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        boxes.boxes.clear();
        FakeLog l;
        FakeShellWindows s(&l);
        s.offersShellWindows = k.offers;
        ScopedShellFactory f(&s, k.create);
        CRefreshDlg failing;
        EXPECT_EQ(failing.DoModal(), 1);
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].text, "Failed");
        EXPECT_STREQ(boxes.boxes[0].caption.c_str(), GetAppName());
        EXPECT_EQ(boxes.boxes[0].type, (UINT)MB_OK);
        EXPECT_NE(boxes.boxes[0].owner, nullptr) << "owned by the dialog";
        EXPECT_EQ(s.refs, 1) << "the temporary reference is released";
        EXPECT_FALSE(failing.m_pShellWindows);
    }
}

TEST_F(RefreshDlgTest, WinesOwnCollectionGivesAnEmptyListAndNoError)
{
    // The real class: under Wine it is created but cannot count its windows.
    ASSERT_TRUE(dlg.Create());
    FlushMessages();
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_TRUE(dlg.m_pShellWindows);
    EXPECT_EQ(dlg.m_listWindows.GetItemCount(), 0);
    Click(IDC_REFRESH);
    EXPECT_TRUE(dlg.IsWindowVisible());
}

TEST_F(RefreshDlgTest, RefusedPeriodsKeepThePreviousOne)
{
    Open();
    SetPeriodText("12");
    Click(IDC_SET);
    ASSERT_EQ(dlg.m_nPeriod, 12u);
    for (const char* text : { "0", "10001", "4294967296", "", "abc", "7s", "-5" }) {
        SCOPED_TRACE(text);
        boxes.boxes.clear();
        SetPeriodText(text);
        Click(IDC_SET);
        EXPECT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(dlg.m_nPeriod, 12u);
        EXPECT_EQ(::GetFocus(), dlg.GetDlgItem(IDC_EDIT_PERIOD));
    }
    boxes.boxes.clear();
    SetPeriodText("  10000 ");
    Click(IDC_SET);
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(dlg.m_nPeriod, 10000u);
}

TEST_F(RefreshDlgTest, SetAppliesTheNewPeriodAndRestartsTheCountdown)
{
    AddABC();
    Open();
    Tick(1);
    auto refreshed = [&] { return b->refreshes > 0; };

    SetPeriodText("1");
    Click(IDC_SET);
    PumpFor(600);
    SetPeriodText("1");
    Click(IDC_SET);  // same period: the countdown starts again
    DWORD pressed = ::GetTickCount();
    PumpFor(600);
    EXPECT_EQ(b->refreshes, 0) << "1.2 s after the first press, but only 0.6 s after the second";
    ASSERT_TRUE(PumpUntil(refreshed, 1500));
    DWORD elapsed = ::GetTickCount() - pressed;
    EXPECT_GE(elapsed, 900u);
    EXPECT_LE(elapsed, 1500u);
    EXPECT_EQ(a->refreshes + c->refreshes, 0);
}

}  // namespace

namespace {

TEST_F(RefreshDlgTest, WindowMenuAboutCommandsOpenANewAboutBoxEachTime)
{
    Open();
    static std::vector<std::string> s_opened;
    s_opened.clear();
    static HWND s_main;
    s_main = dlg.m_hWnd;
    // Closes whatever box is active over the dialog, noting its title.
    struct Closer {
        static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
        {
            HWND active = ::GetActiveWindow();
            if (active && active != s_main) {
                char title[64] = "";
                ::GetWindowTextA(active, title, sizeof title);
                s_opened.push_back(title);
                ::PostMessageA(active, WM_COMMAND, IDCANCEL, 0);
            }
        }
    };
    UINT_PTR timer = ::SetTimer(nullptr, 0, 30, Closer::Tick);
    for (UINT cmd : { 0x0010u, 0x0013u, 0x001Fu })
        dlg.SendMessage(WM_SYSCOMMAND, cmd);
    dlg.SendMessage(WM_SYSCOMMAND, 0x0020u);  // outside the About range
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(s_opened.size(), 3u);
    EXPECT_TRUE(dlg.IsWindowVisible());
}

}  // namespace
