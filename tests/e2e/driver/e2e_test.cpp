// e2e_test.exe: drives the unmodified program from outside, the way a user
// would, against the fake Shell window collection (fakeshell.dll), and uses
// the fake's log as the proof of what the program did to the browsers.
//
//   e2e_test <veskar.exe> <fakeshell.dll>   run the end-to-end test
//   e2e_test --tick <row>...                 tick rows of a running program
//   e2e_test --close-all                     window-menu Close on the program,
//                                            then close the demo browsers
// The last two serve the demo script. Paths may be Unix paths (from CTest).
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

ULONGLONG Now() { return GetTickCount64(); }

// Polls until pred() holds or the time is up; Wine's timers and process
// start are not exact, so every wait is bounded, never a fixed sleep.
template <class Pred>
bool WaitFor(Pred pred, DWORD timeoutMs, DWORD stepMs = 50)
{
    ULONGLONG end = Now() + timeoutMs;
    for (;;) {
        if (pred())
            return true;
        if (Now() >= end)
            return false;
        Sleep(stepMs);
    }
}

// CTest hands over Unix paths; Windows APIs and the registry need DOS paths.
std::string ToWindowsPath(const std::string& path)
{
    if (path.empty() || path[0] != '/')
        return path;
    using ToDos = WCHAR* (CDECL*)(const char*);
    auto toDos = reinterpret_cast<ToDos>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_dos_file_name")));
    if (toDos) {
        if (WCHAR* w = toDos(path.c_str())) {
            char buf[MAX_PATH * 2];
            int n = WideCharToMultiByte(CP_ACP, 0, w, -1, buf, sizeof buf, nullptr, nullptr);
            HeapFree(GetProcessHeap(), 0, w);
            if (n > 0)
                return buf;
        }
    }
    std::string dos = "Z:" + path;   // Wine maps Z: to the Unix root
    for (char& c : dos)
        if (c == '/')
            c = '\\';
    return dos;
}

std::string ToUtf8(const char* ansi)
{
    wchar_t w[512];
    char out[1024];
    if (!MultiByteToWideChar(CP_ACP, 0, ansi, -1, w, 512) ||
        !WideCharToMultiByte(CP_UTF8, 0, w, -1, out, sizeof out, nullptr, nullptr))
        return std::string();
    return out;
}

// ---------------------------------------------------------------- registry
// Points CLSID_ShellWindows at the fake for as long as the object lives and
// then puts back exactly what was there (Wine registers its own server).
class FakeRegistration {
public:
    explicit FakeRegistration(const std::string& dllPath)
    {
        HKEY key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, FAKESHELL_CLSID_KEY, 0, KEY_READ, &key) == ERROR_SUCCESS) {
            m_existed = true;
            m_oldDefault = Read(key, nullptr, &m_hadDefault);
            m_oldModel = Read(key, "ThreadingModel", &m_hadModel);
            RegCloseKey(key);
        }
        m_ok = Write(dllPath.c_str(), true, "Apartment", true);
    }
    ~FakeRegistration()
    {
        if (!m_existed)
            RegDeleteKeyA(HKEY_LOCAL_MACHINE, FAKESHELL_CLSID_KEY);
        else
            Write(m_oldDefault.c_str(), m_hadDefault, m_oldModel.c_str(), m_hadModel);
    }
    FakeRegistration(const FakeRegistration&) = delete;
    FakeRegistration& operator=(const FakeRegistration&) = delete;
    bool ok() const { return m_ok; }

private:
    static std::string Read(HKEY key, const char* name, bool* had)
    {
        char buf[MAX_PATH * 2] = {};
        DWORD size = sizeof buf - 1, type = 0;
        *had = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) ==
               ERROR_SUCCESS;
        return buf;
    }
    static bool Write(const char* dll, bool setDll, const char* model, bool setModel)
    {
        HKEY key;
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, FAKESHELL_CLSID_KEY, 0, nullptr, 0, KEY_WRITE,
                            nullptr, &key, nullptr) != ERROR_SUCCESS)
            return false;
        bool ok = true;
        if (setDll)
            ok &= RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(dll),
                                 static_cast<DWORD>(std::strlen(dll) + 1)) == ERROR_SUCCESS;
        else
            RegDeleteValueA(key, nullptr);
        if (setModel)
            ok &= RegSetValueExA(key, "ThreadingModel", 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(model),
                                 static_cast<DWORD>(std::strlen(model) + 1)) == ERROR_SUCCESS;
        else
            RegDeleteValueA(key, "ThreadingModel");
        RegCloseKey(key);
        return ok;
    }

    bool m_existed = false, m_hadDefault = false, m_hadModel = false, m_ok = false;
    std::string m_oldDefault, m_oldModel;
};

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

// ---------------------------------------------------------------- windows
struct FindArgs {
    DWORD pid;          // 0: any process
    const char* title;  // nullptr: any
    const char* cls;
    HWND found;
};

BOOL CALLBACK FindProc(HWND wnd, LPARAM lp)
{
    auto* args = reinterpret_cast<FindArgs*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (args->pid && pid != args->pid)
        return TRUE;
    char cls[64], text[256];
    GetClassNameA(wnd, cls, sizeof cls);
    if (std::strcmp(cls, args->cls) != 0)
        return TRUE;
    GetWindowTextA(wnd, text, sizeof text);
    if (args->title && std::strcmp(text, args->title) != 0)
        return TRUE;
    args->found = wnd;
    return FALSE;
}

HWND FindTopWindow(DWORD pid, const char* cls, const char* title)
{
    FindArgs args{pid, title, cls, nullptr};
    EnumWindows(FindProc, reinterpret_cast<LPARAM>(&args));
    return args.found;
}

// The message box is a dialog of the process with a Static child that has
// text (its icon is a Static too, without text).
struct BoxArgs {
    DWORD pid;
    HWND box;
    std::string text;
};

BOOL CALLBACK FindBoxProc(HWND wnd, LPARAM lp)
{
    auto* a = reinterpret_cast<BoxArgs*>(lp);
    DWORD pid = 0;
    char cls[64];
    GetWindowThreadProcessId(wnd, &pid);
    GetClassNameA(wnd, cls, sizeof cls);
    if (pid != a->pid || std::strcmp(cls, "#32770") != 0 || !IsWindowVisible(wnd))
        return TRUE;
    for (HWND c = GetWindow(wnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char ccls[64], t[256];
        GetClassNameA(c, ccls, sizeof ccls);
        if (lstrcmpiA(ccls, "Static") == 0 && GetWindowTextA(c, t, sizeof t) > 0) {
            a->box = wnd;
            a->text = t;
            return FALSE;
        }
    }
    return TRUE;
}

HWND FindMessageBox(DWORD pid, std::string* text, std::string* caption)
{
    BoxArgs args{pid, nullptr, std::string()};
    EnumWindows(FindBoxProc, reinterpret_cast<LPARAM>(&args));
    if (args.box) {
        char cap[256] = {};
        GetWindowTextA(args.box, cap, sizeof cap);
        *text = args.text;
        *caption = cap;
    }
    return args.box;
}

// Reads and writes rows of a list view in another process: the messages carry
// pointers, so the structure and text buffer live in memory of that process.
// The layout written there is this process's, so driver and program must be
// built for the same architecture.
class RemoteListView {
public:
    RemoteListView(HANDLE process, HWND list) : m_process(process), m_list(list)
    {
        m_remote = static_cast<char*>(VirtualAllocEx(process, nullptr, kSize,
                                                     MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    }
    ~RemoteListView()
    {
        if (m_remote)
            VirtualFreeEx(m_process, m_remote, 0, MEM_RELEASE);
    }
    RemoteListView(const RemoteListView&) = delete;
    RemoteListView& operator=(const RemoteListView&) = delete;

    bool ok() const { return m_remote != nullptr; }
    int Count() const { return static_cast<int>(Send(LVM_GETITEMCOUNT, 0, 0)); }
    int StateImage(int row) const
    {
        return static_cast<int>((Send(LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK) & 0xF000) >> 12);
    }
    std::string Text(int row) const
    {
        LVITEMA item{};
        item.iSubItem = 0;
        item.pszText = m_remote + sizeof(LVITEMA);
        item.cchTextMax = kSize - sizeof(LVITEMA) - 1;
        if (!Put(item))
            return "<write failed>";
        Send(LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(m_remote));
        char text[kSize] = {};
        SIZE_T got = 0;
        ReadProcessMemory(m_process, m_remote + sizeof(LVITEMA), text, kSize - sizeof(LVITEMA) - 1,
                          &got);
        return text;
    }
    bool SetStateImage(int row, int image) const
    {
        LVITEMA item{};
        item.stateMask = LVIS_STATEIMAGEMASK;
        item.state = INDEXTOSTATEIMAGEMASK(image);
        return Put(item) && Send(LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(m_remote)) != 0;
    }
    std::vector<std::string> Rows() const
    {
        std::vector<std::string> rows;
        for (int i = 0, n = Count(); i < n; ++i)
            rows.push_back(Text(i));
        return rows;
    }

private:
    static constexpr SIZE_T kSize = 2048;
    bool Put(const LVITEMA& item) const
    {
        SIZE_T put = 0;
        return WriteProcessMemory(m_process, m_remote, &item, sizeof item, &put) &&
               put == sizeof item;
    }
    LRESULT Send(UINT msg, WPARAM wp, LPARAM lp) const
    {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutA(m_list, msg, wp, lp, SMTO_ABORTIFHUNG, 5000, &result))
            return -1;
        return static_cast<LRESULT>(result);
    }
    HANDLE m_process;
    HWND m_list;
    char* m_remote = nullptr;
};

std::string Join(const std::vector<std::string>& v)
{
    std::string s;
    for (const std::string& x : v)
        s += (s.empty() ? "" : ", ") + x;
    return "[" + s + "]";
}

// The program under test; killed if a failed check leaves it running.
class Program {
public:
    explicit Program(const std::string& exe)
    {
        STARTUPINFOA si{};
        si.cb = sizeof si;
        std::string cmd = "\"" + exe + "\"";
        m_ok = CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &si, &m_pi) != FALSE;
    }
    ~Program()
    {
        if (!m_ok)
            return;
        if (WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(m_pi.hProcess, 99);
            WaitForSingleObject(m_pi.hProcess, 5000);
        }
        CloseHandle(m_pi.hThread);
        CloseHandle(m_pi.hProcess);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    bool ok() const { return m_ok; }
    DWORD pid() const { return m_pi.dwProcessId; }
    HANDLE process() const { return m_pi.hProcess; }
    bool WaitExit(DWORD ms) const { return WaitForSingleObject(m_pi.hProcess, ms) == WAIT_OBJECT_0; }

private:
    PROCESS_INFORMATION m_pi{};
    bool m_ok = false;
};

struct Paths {
    std::string exe, dll, dir, config, log;
};

void WriteConfig(const Paths& p, const std::vector<std::string>& lines)
{
    DeleteFileA(p.log.c_str());
    FILE* f = std::fopen(p.config.c_str(), "wb");
    if (!f)
        return;
    std::fprintf(f, "log %s\n", p.log.c_str());
    for (const std::string& l : lines)
        std::fprintf(f, "%s\n", l.c_str());
    std::fclose(f);
}

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
    WriteConfig(p, {std::string("browser - ") + nameA, "browser - ", std::string("browser - ") + nameB,
                    "other", "empty", std::string("browser - ") + nameC});
    Program prog(p.exe);
    Check(prog.ok(), "program started (%s)", p.exe.c_str());
    if (!prog.ok())
        return;

    HWND dlg = nullptr;
    WaitFor([&] { dlg = FindTopWindow(prog.pid(), "#32770", kTitle); return dlg && IsWindowVisible(dlg); },
            15000);
    Check(dlg && IsWindowVisible(dlg), "main dialog shown with its title");
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
    WriteConfig(p, {std::string("fail ") + mode, "browser - Alpha"});
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

std::string MakeWorkDir()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string dir = std::string(temp) + "veskar-e2e-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

int RunTest(const char* exeArg, const char* dllArg)
{
    Paths p;
    p.exe = ToWindowsPath(exeArg);
    p.dll = ToWindowsPath(dllArg);
    p.dir = MakeWorkDir();
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
