// The unmodified program over fakeshell.dll, driven with real input from
// this process; the fake's log of reloads and references is the proof.
#include "ProgramTest.h"
#include <map>

namespace {

using EndToEnd = ProgramTest;

// The rows' tick state images, top row first: 1 unticked, 2 ticked.
std::string Ticks(HWND list)
{
    std::string s;
    for (int i = 0, n = (int)Ask(list, LVM_GETITEMCOUNT); i < n; ++i)
        s += (char)('0' + (Ask(list, LVM_GETITEMSTATE, i, LVIS_STATEIMAGEMASK) >> 12));
    return s;
}

// Waits for n intervals between reloads of C after `after` and checks their
// mean: a timer is never early on average, and load only delays it.
std::vector<ULONGLONG> ExpectPeriod(const std::string& log, ULONGLONG after, size_t n, double periodMs)
{
    std::vector<ULONGLONG> t;
    auto enough = [&] { return (t = RefreshTimes(ReadFakeLog(log), "b5", after)).size() > n; };
    WaitFor(enough, DWORD(periodMs * (n + 2)), 100);
    if (t.size() <= n) {
        ADD_FAILURE() << t.size() << " reloads at period " << periodMs;
        return { 0 };
    }
    const double mean = double(t[n] - t[0]) / n;
    EXPECT_GE(mean, 0.98 * periodMs);
    EXPECT_LE(mean, 1.10 * periodMs);
    return t;
}

// Once the program has ended: every object it made is back to 0, and the
// apartment, left, unloaded the DLL.
void ExpectAllReleased(const std::vector<FakeEvent>& log)
{
    std::map<std::string, int> n;
    for (const FakeEvent& e : log) {
        ++n[e.kind];
        EXPECT_TRUE(e.kind != "final" || e.arg == "0") << e.id << " keeps " << e.arg;
    }
    EXPECT_EQ(n["final"], n["create"]);
    EXPECT_EQ(n["unload"], 1);
}

}  // namespace

TEST_F(EndToEnd, RefreshAndClose)
{
    // Listed: C, B, A (b5, b2, b0). Not listed: a browser without a name, a
    // window that is no browser, an empty slot.
    Start({ "browser - A", "browser - ", "browser - B", "other", "empty", "browser - C" });
    HWND dlg = MainDialog();
    ASSERT_TRUE(dlg);
    HWND list = ::GetDlgItem(dlg, IDC_LIST_WINDOWS);
    ASSERT_EQ(Ticks(list), "111");

    // Real keys tick the top row and the bottom one.
    ::SetForegroundWindow(dlg);
    ClickAt({ Centre(list).x, Rect(list).bottom - 20 });  // below the rows
    ASSERT_TRUE(WaitFor([&] { return Focus(dlg) == list; }, 4000));
    for (WORD vk : { VK_HOME, VK_SPACE, VK_DOWN, VK_DOWN, VK_SPACE })
        PressKey(vk);
    ASSERT_TRUE(WaitFor([&] { return Ticks(list) == "212"; }, 4000)) << Ticks(list);
    ExpectPeriod(log, ::GetTickCount64(), 2, 5000);

    // Period 1 set right after a reload, so that no reload of the old period
    // comes between; the countdown starts at the press.
    ASSERT_TRUE(TypeInto(::GetDlgItem(dlg, IDC_EDIT_PERIOD), "1"));
    const ULONGLONG pressed = ::GetTickCount64();
    ClickAt(Centre(::GetDlgItem(dlg, IDC_SET)));
    EXPECT_GE(ExpectPeriod(log, pressed, 8, 1000)[0], pressed + 950);

    // 刷新(&R) clears the ticks. The window menu's Close comes as the message
    // the menu sends: the captionless popup's menu is out of the pointer's reach.
    ClickAt(Centre(::GetDlgItem(dlg, IDC_REFRESH)));
    ASSERT_TRUE(WaitFor([&] { return Ticks(list) == "111"; }, 4000)) << Ticks(list);
    ::PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(prog->WaitExit(10000));
    const std::vector<FakeEvent> events = ReadFakeLog(log);
    ExpectAllReleased(events);
    for (const FakeEvent& e : events)
        EXPECT_TRUE(e.kind != "refresh" || e.id == "b5" || e.id == "b0") << "unticked " << e.id << " reloaded";
}

TEST_F(EndToEnd, FailedCreate)
{
    Start({ "fail create", "browser - A" });
    std::string text;
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = FindMessageBox(prog->pid(), &text)) != nullptr; }, 15000));
    char caption[64] = "";
    ::GetWindowTextA(box, caption, sizeof caption);
    EXPECT_EQ(text, "Failed");
    EXPECT_STREQ(caption, "veskar");  // the program file's name
    ClickAt(Centre(::GetDlgItem(box, IDOK)));
    ASSERT_TRUE(prog->WaitExit(10000));
    ExpectAllReleased(ReadFakeLog(log));
}
