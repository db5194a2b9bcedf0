// Driving the unmodified program from another process: paths, the fake
// Shell collection's registration, finding the program's windows, reading
// its list view, and the program's process itself. Shared by the end-to-end
// test and the screenshot gallery.
#pragma once
#include "../fakeshell/fakeshell_protocol.h"

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

inline ULONGLONG Now() { return GetTickCount64(); }

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
std::string ToWindowsPath(const std::string& path);
std::string ToUtf8(const char* ansi);
// A fresh folder <temp>\<stem>-<pid> for the run's files.
std::string MakeWorkDir(const char* stem);

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

// Writes the fake collection's configuration: its log file, then `lines`.
// An old log is deleted, so the log holds only what the coming run does.
void WriteFakeShellConfig(const std::string& config, const std::string& log,
                          const std::vector<std::string>& lines);

// A top-level window by process (0: any), class and title (nullptr: any).
HWND FindTopWindow(DWORD pid, const char* cls, const char* title);
// Waits up to `timeoutMs` for such a window to be shown; null if none was.
HWND WaitForShownWindow(DWORD pid, const char* cls, const char* title, DWORD timeoutMs);
// A visible message box of the process, other than `except`: a dialog with
// a Static child that has text (its icon is a Static too, without text).
HWND FindMessageBox(DWORD pid, std::string* text, std::string* caption, HWND except = nullptr);

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
    // The row's whole rectangle in the list's client coordinates.
    bool ItemRect(int row, RECT* rect) const
    {
        RECT r = {LVIR_BOUNDS, 0, 0, 0};
        SIZE_T done = 0;
        if (!WriteProcessMemory(m_process, m_remote, &r, sizeof r, &done) || done != sizeof r ||
            Send(LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(m_remote)) <= 0)
            return false;
        return ReadProcessMemory(m_process, m_remote, rect, sizeof *rect, &done) && done == sizeof *rect;
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
