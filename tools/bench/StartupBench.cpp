// Start-up: from process creation to the main dialog's first complete paint,
// the program against the bare dialog, both started and observed from here.
//
// "First complete paint", as seen from outside: after WaitForInputIdle (the
// process has gone idle in its message loop, which happens only once no
// paint is pending), polling until the process's top-level dialog and every
// one of its descendants with WS_VISIBLE are visible and have no update
// region. A shown window gets an update region at once and loses it only
// when its WM_PAINT has been handled, so the moment the last one is empty is
// the end of the first paint. The poll only reads (GetUpdateRect without
// erasing sends nothing to the window).
#include "BenchRows.h"
#include "Report.h"
#include "../e2e/fakeshell/fakeshell_protocol.h"
#include "res/resource.h"
#include <commctrl.h>
#include <cstdio>
#include <cstring>

namespace {

const int kRuns = 15;  // of each program, alternated

// Points the Shell's window collection class at the fake DLL for the
// object's lifetime, then puts back what the prefix had.
class ShellClassRegistration {
public:
    explicit ShellClassRegistration(const std::string& dll)
    {
        HKEY key;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, FAKESHELL_CLSID_KEY, 0, KEY_READ, &key) == ERROR_SUCCESS) {
            m_existed = true;
            m_hadDefault = Read(key, nullptr, &m_default);
            m_hadModel = Read(key, "ThreadingModel", &m_model);
            ::RegCloseKey(key);
        }
        m_ok = Write(dll.c_str(), "Apartment");
    }
    ~ShellClassRegistration()
    {
        if (!m_existed) {
            ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, FAKESHELL_CLSID_KEY);
            return;
        }
        Write(m_hadDefault ? m_default.c_str() : nullptr, m_hadModel ? m_model.c_str() : nullptr);
    }
    ShellClassRegistration(const ShellClassRegistration&) = delete;
    ShellClassRegistration& operator=(const ShellClassRegistration&) = delete;
    bool ok() const { return m_ok; }

private:
    static bool Read(HKEY key, const char* name, std::string* value)
    {
        char buf[MAX_PATH * 2] = {};
        DWORD size = sizeof buf - 1;
        if (::RegQueryValueExA(key, name, nullptr, nullptr, (BYTE*)buf, &size) != ERROR_SUCCESS)
            return false;
        *value = buf;
        return true;
    }
    // A null value is removed.
    static bool Write(const char* dll, const char* model)
    {
        HKEY key;
        if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, FAKESHELL_CLSID_KEY, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                              nullptr) != ERROR_SUCCESS)
            return false;
        bool ok = true;
        for (auto [name, value] : { std::pair<const char*, const char*>{ nullptr, dll }, { "ThreadingModel", model } }) {
            if (value)
                ok &= ::RegSetValueExA(key, name, 0, REG_SZ, (const BYTE*)value, (DWORD)strlen(value) + 1) ==
                      ERROR_SUCCESS;
            else
                ::RegDeleteValueA(key, name);
        }
        ::RegCloseKey(key);
        return ok;
    }

    bool m_existed = false, m_hadDefault = false, m_hadModel = false, m_ok = false;
    std::string m_default, m_model;
};

// Every descendant that is meant to show is shown and painted.
BOOL CALLBACK ChildPaintedProc(HWND hWnd, LPARAM lParam)
{
    if (!(::GetWindowLongA(hWnd, GWL_STYLE) & WS_VISIBLE))
        return TRUE;
    if (!::IsWindowVisible(hWnd) || ::GetUpdateRect(hWnd, nullptr, FALSE)) {
        *(bool*)lParam = false;
        return FALSE;
    }
    return TRUE;
}

struct FindArgs {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindDialogProc(HWND hWnd, LPARAM lParam)
{
    auto* args = (FindArgs*)lParam;
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    char cls[16] = "";
    ::GetClassNameA(hWnd, cls, sizeof cls);
    // The main dialog, not a message box: it has the list.
    if (pid == args->pid && strcmp(cls, "#32770") == 0 && ::IsWindowVisible(hWnd) &&
        ::GetDlgItem(hWnd, IDC_LIST_WINDOWS)) {
        args->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

bool FirstPaintDone(DWORD pid, HWND* pDialog)
{
    FindArgs args = { pid, nullptr };
    ::EnumWindows(FindDialogProc, (LPARAM)&args);
    if (!args.found || ::GetUpdateRect(args.found, nullptr, FALSE))
        return false;
    bool painted = true;
    ::EnumChildWindows(args.found, ChildPaintedProc, (LPARAM)&painted);
    *pDialog = args.found;
    return painted;
}

// Milliseconds from CreateProcess to the first complete paint; negative if
// the dialog never got there. The program is closed through its window menu.
double StartAndMeasure(const std::string& exe)
{
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::string cmd = "\"" + exe + "\"";
    const double start = NowMs();
    if (!::CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return -1;
    ::WaitForInputIdle(pi.hProcess, 10000);
    double painted = -1;
    HWND hDialog = nullptr;
    while (NowMs() - start < 15000) {
        if (FirstPaintDone(pi.dwProcessId, &hDialog)) {
            painted = NowMs() - start;
            // Only a dialog that lists the browsers counts.
            DWORD_PTR rows = 0;
            if (!::SendMessageTimeoutA(::GetDlgItem(hDialog, IDC_LIST_WINDOWS), LVM_GETITEMCOUNT, 0, 0,
                                       SMTO_ABORTIFHUNG, 5000, &rows) ||
                rows != StartupRowNames().size())
                painted = -1;
            break;
        }
        if (::WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0)
            break;
    }
    if (hDialog)
        ::PostMessageA(hDialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (::WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) {
        ::TerminateProcess(pi.hProcess, 99);
        ::WaitForSingleObject(pi.hProcess, 5000);
    }
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return painted;
}

}  // namespace

void RunStartupBench(Report& report, const BenchPaths& paths)
{
    Print("\n1. start-up: process creation to the main dialog's first complete paint (%d runs each, alternated)\n",
          kRuns);
    ShellClassRegistration registration(paths.fakeshell);
    if (!registration.ok()) {
        report.Add("start-up: veskar / bare dialog", "no registration", "<= 1.5", false);
        return;
    }
    // The program lists the same four browsers the bare dialog shows.
    const std::string config = paths.workDir + "\\bench-fakeshell.cfg";
    if (FILE* f = std::fopen(config.c_str(), "wb")) {
        for (const std::string& name : StartupRowNames()) {
            // The config is UTF-8, the names here code page 936.
            wchar_t wide[128];
            char utf8[256];
            ::MultiByteToWideChar(936, 0, name.c_str(), -1, wide, 128);
            ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof utf8, nullptr, nullptr);
            std::fprintf(f, "browser - %s\n", utf8);
        }
        std::fclose(f);
    }
    ::SetEnvironmentVariableA(FAKESHELL_CONFIG_ENV, config.c_str());

    // One unmeasured start of each: the files come into the cache.
    StartAndMeasure(paths.veskar);
    StartAndMeasure(paths.bare);
    Samples program, bare;
    int failures = 0;
    for (int i = 0; i < kRuns; ++i) {
        // A B A B ...: a drift of the machine reaches both alike.
        for (bool programNow : { true, false }) {
            double ms = StartAndMeasure(programNow ? paths.veskar : paths.bare);
            if (ms < 0)
                ++failures;
            else
                (programNow ? program : bare).Add(ms);
        }
    }
    ::SetEnvironmentVariableA(FAKESHELL_CONFIG_ENV, nullptr);
    ::DeleteFileA(config.c_str());

    Print("   veskar.exe   %s\n", Describe(program, "ms").c_str());
    Print("   bare dialog  %s\n", Describe(bare, "ms").c_str());
    if (failures)
        Print("   %d start(s) never reached a complete paint\n", failures);
    if (program.values.empty() || bare.values.empty() || failures) {
        report.Add("start-up: veskar / bare dialog", "failed", "<= 1.5", false);
        return;
    }
    report.AddRatio("start-up: veskar / bare dialog", program.Median() / bare.Median(), 1.5);
}
