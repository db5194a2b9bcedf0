// e2e_test.exe: drives the unmodified program from outside, the way a user
// would, against the fake Shell window collection (fakeshell.dll), and uses
// the fake's log as the proof of what the program did to the browsers.
//
//   e2e_test <veskar.exe> <fakeshell.dll>   run the end-to-end test
//   e2e_test --tick <row>...                 tick rows of a running program
//   e2e_test --close-all                     window-menu Close on the program,
//                                            then close the demo browsers
// The last two serve the demo script. Paths may be Unix paths (from CTest).
#include "ProgramDriver.h"
#include "../fakeshell/fakeshell_protocol.h"
#include "../../../tools/demo/demo_protocol.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

const char kTitle[] = "Veskar -- Tolvane工作室 v1.2";   // GBK, as the program sets it
const int kIdRefresh = 1000, kIdList = 1003, kIdPeriod = 1004, kIdSet = 1005;

int g_failures;

void Check(bool ok, const char* fmt, ...)
{
    char text[1024];
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(text, sizeof text, fmt, args);
    va_end(args);
    std::printf("%s: %s\n", ok ? "PASS" : "FAIL", text);
    std::fflush(stdout);
    if (!ok)
        ++g_failures;
}

void Note(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    std::printf("  ");
    std::vprintf(fmt, args);
    std::printf("\n");
    va_end(args);
    std::fflush(stdout);
}



// ---------------------------------------------------------------- fake's log
struct Event {
    ULONGLONG ms;
    std::string kind, id, arg;
};

std::vector<Event> ReadLog(const std::string& path)
{
    std::vector<Event> events;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return events;
    char line[1024];
    while (std::fgets(line, sizeof line, f)) {
        size_t len = std::strlen(line);
        if (len == 0 || line[len - 1] != '\n')
            break;   // a line still being written
        line[len - 1] = '\0';
        Event e{};
        char* p = line;
        e.ms = std::strtoull(p, &p, 10);
        std::string rest = p + (*p == ' ');
        size_t a = rest.find(' ');
        e.kind = rest.substr(0, a);
        if (a != std::string::npos) {
            size_t b = rest.find(' ', a + 1);
            e.id = rest.substr(a + 1, b == std::string::npos ? std::string::npos : b - a - 1);
            if (b != std::string::npos)
                e.arg = rest.substr(b + 1);
        }
        events.push_back(e);
    }
    std::fclose(f);
    return events;
}

std::vector<ULONGLONG> RefreshTimes(const std::vector<Event>& log, const std::string& id,
                                    ULONGLONG after = 0)
{
    std::vector<ULONGLONG> t;
    for (const Event& e : log)
        if (e.kind == "refresh" && e.id == id && e.ms > after)
            t.push_back(e.ms);
    return t;
}

// Current count of each object, from its last AddRef/Release line.
std::map<std::string, long> LiveCounts(const std::vector<Event>& log)
{
    std::map<std::string, long> counts;
    for (const Event& e : log) {
        if (e.kind == "create")
            counts[e.id] = 1;
        else if (e.kind == "addref" || e.kind == "release")
            counts[e.id] = std::atol(e.arg.c_str());
    }
    return counts;
}

std::string IdOfName(const std::vector<Event>& log, const std::string& utf8Name)
{
    for (const Event& e : log)
        if (e.kind == "create" && e.arg == utf8Name)
            return e.id;
    return "?";
}

std::string Join(const std::vector<std::string>& v)
{
    std::string s;
    for (const std::string& x : v)
        s += (s.empty() ? "" : ", ") + x;
    return "[" + s + "]";
}

struct Paths {
    std::string exe, dll, dir, config, log;
};

void PressButton(HWND dlg, int id)
{
    // Posted, as a click would be: the program may show a modal box in reply.
    PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dlg, id)));
}

// Every interval between successive times lies within [lo, hi] ms.
bool IntervalsWithin(const std::vector<ULONGLONG>& t, ULONGLONG lo, ULONGLONG hi, std::string* shown)
{
    bool ok = true;
    shown->clear();
    for (size_t i = 1; i < t.size(); ++i) {
        ULONGLONG d = t[i] - t[i - 1];
        *shown += (i > 1 ? " " : "") + std::to_string(d);
        ok &= d >= lo && d <= hi;
    }
    return ok;
}

// ---------------------------------------------------------------- scenarios
// Lists three browsers, ticks two, follows the reloads through a period
// change and a rebuild, then closes through the window menu.
void RefreshScenario(const Paths& p)
{
    std::printf("--- listing, periodic reload, period change, rebuild, close\n");
    // Config order A, B, C, with entries the program must skip in between:
    // a browser without a name, a window that is no browser, no object.
    const char* nameA = u8"Alpha 首页";
    const char* nameB = u8"北京新闻";
    const char* nameC = u8"Charlie";
    WriteFakeShellConfig(p.config, p.log, {std::string("browser - ") + nameA, "browser - ", std::string("browser - ") + nameB,
                    "other", "empty", std::string("browser - ") + nameC});
    Program prog(p.exe);
    Check(prog.ok(), "program started (%s)", p.exe.c_str());
    if (!prog.ok())
        return;

    HWND dlg = WaitForShownWindow(prog.pid(), "#32770", kTitle, 15000);
    Check(dlg != nullptr, "main dialog shown with its title");
    if (!dlg)
        return;
    const ULONGLONG shown = Now();
    RemoteListView list(prog.process(), GetDlgItem(dlg, kIdList));
    Check(list.ok(), "memory for list messages in the program");

    std::vector<Event> log = ReadLog(p.log);
    const std::string idA = IdOfName(log, nameA), idB = IdOfName(log, nameB), idC = IdOfName(log, nameC);

    // (a) reverse collection order, skipped entries absent, nothing ticked.
    std::vector<std::string> rows = list.Rows();
    std::vector<std::string> expected = {"Charlie", "北京新闻", "Alpha 首页"};   // GBK literals
    Check(rows == expected, "rows in reverse collection order: %s", ToUtf8(Join(rows).c_str()).c_str());
    Check(list.StateImage(0) == 1 && list.StateImage(1) == 1 && list.StateImage(2) == 1,
          "new rows are unticked (state images %d %d %d)", list.StateImage(0), list.StateImage(1),
          list.StateImage(2));

    // (b) tick C and A, leave B: only they reload, every 5 s, top row first.
    list.SetStateImage(0, 2);
    list.SetStateImage(2, 2);
    Check(list.StateImage(0) == 2 && list.StateImage(1) == 1 && list.StateImage(2) == 2,
          "rows 0 and 2 ticked");
    bool got = WaitFor([&] {
        std::vector<Event> l = ReadLog(p.log);
        return RefreshTimes(l, idC).size() >= 3 && RefreshTimes(l, idA).size() >= 3;
    }, 19000, 100);
    log = ReadLog(p.log);
    std::vector<ULONGLONG> tC = RefreshTimes(log, idC), tA = RefreshTimes(log, idA);
    std::string iv;
    Check(got, "three reloads of the ticked top row within 19 s (got %zu)", tC.size());
    Check(!tC.empty() && tC[0] <= shown + 6500,
          "first reload within 6.5 s of the dialog showing (after %lld ms)",
          tC.empty() ? -1LL : static_cast<long long>(tC[0] - shown));
    Check(IntervalsWithin(tC, 4500, 6500, &iv), "default period: intervals %s ms in 4500..6500", iv.c_str());
    Check(RefreshTimes(log, idB).empty(), "the unticked row's browser never reloads");
    bool order = tA.size() == tC.size();
    for (size_t i = 0; order && i < tC.size(); ++i)
        order = tA[i] >= tC[i] && tA[i] - tC[i] < 1000;
    Check(order, "each pass reloads the top ticked row, then the next (%zu and %zu reloads)", tC.size(), tA.size());
    bool othersQuiet = true;
    for (const Event& e : log)
        if (e.kind == "refresh" && e.id != idA && e.id != idC)
            othersQuiet = false;
    Check(othersQuiet, "no other object is asked to reload");

    // (c) period 2: the countdown restarts at the press, then every 2 s.
    SendMessageTimeoutA(GetDlgItem(dlg, kIdPeriod), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("2"),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
    const ULONGLONG pressed = Now();
    PressButton(dlg, kIdSet);
    WaitFor([&] { return RefreshTimes(ReadLog(p.log), idC, pressed).size() >= 3; }, 9000, 100);
    tC = RefreshTimes(ReadLog(p.log), idC, pressed);
    Check(tC.size() >= 3, "three reloads within 9 s of setting period 2 (got %zu)", tC.size());
    Check(!tC.empty() && tC[0] >= pressed + 1500 && tC[0] <= pressed + 3500,
          "first reload one new period after the press (%lld ms)",
          tC.empty() ? -1LL : static_cast<long long>(tC[0] - pressed));
    Check(IntervalsWithin(tC, 1500, 3000, &iv), "new period: intervals %s ms in 1500..3000", iv.c_str());

    // Rebuild: ticks are gone, and each row still holds exactly one reference.
    std::map<std::string, long> before = LiveCounts(ReadLog(p.log));
    const ULONGLONG rebuilt = Now();
    PressButton(dlg, kIdRefresh);
    Sleep(500);
    rows = list.Rows();
    Check(rows == expected, "rebuild lists the same rows: %s", ToUtf8(Join(rows).c_str()).c_str());
    Check(list.Count() == 3 && list.StateImage(0) == 1 && list.StateImage(2) == 1,
          "rebuild clears the ticks");
    std::map<std::string, long> after = LiveCounts(ReadLog(p.log));
    Check(before == after, "rebuild gives back the old rows' references before taking new ones");
    // The collection keeps one reference to each of its windows; rows add one.
    Check(after[idA] == 2 && after[idB] == 2 && after[idC] == 2,
          "one reference per row (counts %ld %ld %ld, collection's included)", after[idA],
          after[idB], after[idC]);
    Sleep(2600);
    Check(RefreshTimes(ReadLog(p.log), idC, rebuilt).empty() &&
              RefreshTimes(ReadLog(p.log), idA, rebuilt).empty(),
          "no reloads once the rebuild cleared the ticks");

    // (d) window-menu Close gives every reference back and ends the program.
    PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
    Check(prog.WaitExit(10000), "program ends after the window menu's Close");
    log = ReadLog(p.log);
    bool unloaded = false, balanced = true;
    int finals = 0;
    std::map<std::string, long> created;
    for (const Event& e : log) {
        if (e.kind == "create")
            created[e.id] = 0;
        if (e.kind == "unload")
            unloaded = true;
        if (e.kind == "final") {
            ++finals;
            if (std::atol(e.arg.c_str()) != 0) {
                balanced = false;
                Note("%s still has %s references", e.id.c_str(), e.arg.c_str());
            }
        }
    }
    Check(unloaded, "the fake collection's DLL was unloaded");
    Check(balanced && finals == static_cast<int>(created.size()) && finals > 0,
          "every AddRef matched by a Release (%d objects reported at unload)", finals);
}

// A collection that cannot be created: one "Failed" box, and OK ends the
// program without its dialog ever staying open.
void FailureScenario(const Paths& p, const char* mode)
{
    std::printf("--- collection creation fails (%s)\n", mode);
    WriteFakeShellConfig(p.config, p.log, {std::string("fail ") + mode, "browser - Alpha"});
    Program prog(p.exe);
    if (!prog.ok()) {
        Check(false, "program started");
        return;
    }
    HWND box = nullptr;
    std::string text, caption;
    WaitFor([&] { return (box = FindMessageBox(prog.pid(), &text, &caption)) != nullptr; }, 15000);
    Check(box && text == "Failed", "message box says \"Failed\" (got \"%s\")", text.c_str());
    Check(box && lstrcmpiA(caption.c_str(), "veskar") == 0, "box caption is the program name (got \"%s\")",
          caption.c_str());
    if (!box)
        return;
    HWND dlg = FindTopWindow(prog.pid(), "#32770", kTitle);
    if (dlg && IsWindowVisible(dlg))
        Note("the main dialog is visible behind the box");
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    bool ended = prog.WaitExit(10000);
    Check(ended, "OK ends the program");
    std::vector<Event> log = ReadLog(p.log);
    bool delivered = false, balanced = true;
    for (const Event& e : log) {
        delivered |= e.kind == "fail";
        if (e.kind == "final" && std::atol(e.arg.c_str()) != 0)
            balanced = false;
    }
    Check(delivered, "the failure was delivered by the fake");
    Check(balanced, "nothing created along the way is left referenced");
}

int RunTest(const char* exeArg, const char* dllArg)
{
    Paths p;
    p.exe = ToWindowsPath(exeArg);
    p.dll = ToWindowsPath(dllArg);
    p.dir = MakeWorkDir("veskar-e2e");
    p.config = p.dir + "\\fakeshell.cfg";
    p.log = p.dir + "\\fakeshell.log";
    std::printf("program %s\nfake    %s\nlog     %s\n", p.exe.c_str(), p.dll.c_str(), p.log.c_str());
    if (GetFileAttributesA(p.exe.c_str()) == INVALID_FILE_ATTRIBUTES ||
        GetFileAttributesA(p.dll.c_str()) == INVALID_FILE_ATTRIBUTES) {
        Check(false, "program and fake exist");
        return 1;
    }
    // The program inherits this and passes it on to the fake in its process.
    SetEnvironmentVariableA(FAKESHELL_CONFIG_ENV, p.config.c_str());
    {
        FakeRegistration reg(p.dll);
        Check(reg.ok(), "fake registered for CLSID_ShellWindows");
        if (reg.ok()) {
            const ULONGLONG start = Now();
            RefreshScenario(p);
            FailureScenario(p, "create");
            FailureScenario(p, "shellwindows");
            std::printf("(%.1f s)\n", (Now() - start) / 1000.0);
        }
    }
    if (g_failures == 0) {
        DeleteFileA(p.config.c_str());
        DeleteFileA(p.log.c_str());
        RemoveDirectoryA(p.dir.c_str());
    } else {
        std::printf("fake's log kept: %s\n", p.log.c_str());
    }
    std::printf("%s: %d failed check(s)\n", g_failures ? "FAILED" : "PASSED", g_failures);
    return g_failures ? 1 : 0;
}

// ---------------------------------------------------------------- demo helpers
HWND FindProgram(DWORD* pid)
{
    HWND dlg = nullptr;
    WaitFor([&] { return (dlg = FindTopWindow(0, "#32770", kTitle)) != nullptr; }, 15000);
    if (dlg)
        GetWindowThreadProcessId(dlg, pid);
    return dlg;
}

int TickRows(int argc, char** argv)
{
    DWORD pid = 0;
    HWND dlg = FindProgram(&pid);
    if (!dlg) {
        std::fprintf(stderr, "no program window\n");
        return 1;
    }
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process)
        return 1;
    int failed = 0;
    {
        RemoteListView list(process, GetDlgItem(dlg, kIdList));
        WaitFor([&] { return list.Count() > 0; }, 5000);
        for (int i = 2; i < argc; ++i)
            failed += !list.SetStateImage(std::atoi(argv[i]), 2);
    }
    CloseHandle(process);
    return failed ? 1 : 0;
}

int CloseAll()
{
    int closed = 0;
    if (HWND dlg = FindTopWindow(0, "#32770", kTitle)) {
        PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
        if (!WaitFor([&] { return !IsWindow(dlg); }, 10000))
            return 1;
        ++closed;
    }
    while (HWND demo = FindTopWindow(0, DEMO_WINDOW_CLASS, nullptr)) {
        PostMessageA(demo, WM_CLOSE, 0, 0);
        if (!WaitFor([&] { return !IsWindow(demo); }, 5000))
            return 1;
        ++closed;
    }
    if (closed == 0)
        std::fprintf(stderr, "no program or demo window found\n");
    return closed ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--tick") == 0)
        return TickRows(argc, argv);
    if (argc == 2 && std::strcmp(argv[1], "--close-all") == 0)
        return CloseAll();
    if (argc != 3) {
        std::fprintf(stderr, "usage: e2e_test <veskar.exe> <fakeshell.dll>\n"
                             "       e2e_test --tick <row>...\n"
                             "       e2e_test --close-all\n");
        return 2;
    }
    return RunTest(argv[1], argv[2]);
}
