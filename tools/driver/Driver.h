// Driving the unmodified program from another process: the fake collection's
// registration and configuration, the program's process and windows, and
// the fake's log. Used by the end-to-end tests, the gallery, the demo and
// the bench. (Messages that carry no pointer reach another process's list
// view as they are; rows are ticked with real keys.)
#pragma once
#include <windows.h>
#include <functional>
#include <map>
#include <string>
#include <vector>

// Polls until pred() holds or the time is up.
bool WaitFor(const std::function<bool()>& pred, DWORD timeoutMs, DWORD stepMs = 50);
// CTest hands over Unix paths; Windows and the registry need DOS paths.
std::string ToWindowsPath(const std::string& path);
std::string ToUtf8(const std::string& ansi);
// A fresh folder <temp>\<stem>-<pid>.
std::string MakeWorkDir(const char* stem);

// Points CLSID_ShellWindows at the fake DLL while it lives, then puts back
// what was there (Wine registers a collection of its own).
class FakeRegistration {
public:
    explicit FakeRegistration(const std::string& dll);
    ~FakeRegistration();
    FakeRegistration(const FakeRegistration&) = delete;
    FakeRegistration& operator=(const FakeRegistration&) = delete;
    bool ok = false;
private:
    std::string m_old;
    bool m_had = false;
};

// Puts the fake's configuration (the log, then `lines` in UTF-8) in this
// process's environment, which the program inherits. An old log is deleted,
// so the log holds only what the coming run does.
void ConfigureFake(const std::string& log, const std::vector<std::string>& lines);

// The fake's log, line by line.
struct FakeEvent {
    ULONGLONG ms;
    std::string kind, id, arg;
};
std::vector<FakeEvent> ReadFakeLog(const std::string& path);
std::vector<ULONGLONG> RefreshTimes(const std::vector<FakeEvent>& log, const std::string& id, ULONGLONG after = 0);

// The program, killed if a failed check leaves it running.
class Program {
public:
    explicit Program(const std::string& exe);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    bool ok() const { return m_pi.hProcess != nullptr; }
    DWORD pid() const { return m_pi.dwProcessId; }
    HANDLE process() const { return m_pi.hProcess; }
    bool WaitExit(DWORD ms) const { return ::WaitForSingleObject(m_pi.hProcess, ms) == WAIT_OBJECT_0; }
private:
    PROCESS_INFORMATION m_pi = {};
};

// A message to another process's window (pointers only where the system
// carries them across, as for WM_GETTEXT); -1 if not answered within 5 s.
LRESULT Ask(HWND hWnd, UINT msg, WPARAM wp = 0, LPARAM lp = 0);
// Nothing of the window waits for its paint, and its thread has been back in
// its message loop since (so a paint it was in has ended).
bool Painted(HWND hWnd);

// A shown top-level window of the process (0: any), class and title
// (nullptr: any); null if none came within the time.
HWND WaitForWindow(DWORD pid, const char* cls, const char* title, DWORD timeoutMs);
// The main dialog's title, by which it is found (and which the bench's bare
// dialog copies); its shown main dialog, null if none came within the time.
inline constexpr char kMainDialogTitle[] = "Veskar -- Tolvane工作室 v1.2";
inline HWND WaitForMainDialog(DWORD pid, DWORD timeoutMs)
{
    return WaitForWindow(pid, "#32770", kMainDialogTitle, timeoutMs);
}
// A shown message box of the process other than `except`, with its text.
HWND FindMessageBox(DWORD pid, std::string* text, HWND except = nullptr);

