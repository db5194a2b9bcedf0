#include "Driver.h"
#include <cstring>
#include <fstream>
#include <sstream>

namespace {
const char kClassKey[] = "Software\\Classes\\CLSID\\{9BA05972-F6A8-11CF-A442-00A0C90A8F39}\\InprocServer32";
}

bool WaitFor(const std::function<bool()>& pred, DWORD timeoutMs, DWORD stepMs)
{
    for (ULONGLONG end = ::GetTickCount64() + timeoutMs; !pred(); ::Sleep(stepMs))
        if (::GetTickCount64() >= end)
            return false;
    return true;
}

std::string ToWindowsPath(const std::string& path)
{
    if (path.empty() || path[0] != '/')
        return path;
    std::string dos = "Z:" + path;  // Wine maps Z: to the Unix root
    for (char& c : dos)
        if (c == '/')
            c = '\\';
    return dos;
}

std::string ToUtf8(const std::string& ansi)
{
    wchar_t w[1024];
    char out[2048] = "";
    ::MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, w, 1024);
    ::WideCharToMultiByte(CP_UTF8, 0, w, -1, out, sizeof out, nullptr, nullptr);
    return out;
}

std::string MakeWorkDir(const char* stem)
{
    char temp[MAX_PATH];
    ::GetTempPathA(sizeof temp, temp);
    std::string dir = std::string(temp) + stem + "-" + std::to_string(::GetCurrentProcessId());
    ::CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

FakeRegistration::FakeRegistration(const std::string& dll)
{
    char old[MAX_PATH * 2] = "";
    LONG size = sizeof old;
    m_had = ::RegQueryValueA(HKEY_LOCAL_MACHINE, kClassKey, old, &size) == ERROR_SUCCESS;
    m_old = old;
    HKEY key;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kClassKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    ok = ::RegSetValueExA(key, nullptr, 0, REG_SZ, (const BYTE*)dll.c_str(), (DWORD)dll.size() + 1) == ERROR_SUCCESS &&
         ::RegSetValueExA(key, "ThreadingModel", 0, REG_SZ, (const BYTE*)"Apartment", 10) == ERROR_SUCCESS;
    ::RegCloseKey(key);
}

FakeRegistration::~FakeRegistration()
{
    if (m_had)
        ::RegSetValueA(HKEY_LOCAL_MACHINE, kClassKey, REG_SZ, m_old.c_str(), (DWORD)m_old.size());
    else
        ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kClassKey);
}

void ConfigureFake(const std::string& log, const std::vector<std::string>& lines)
{
    ::DeleteFileA(log.c_str());
    std::string config = "log " + ToUtf8(log);
    for (const std::string& l : lines)
        config += "\n" + l;
    std::wstring wide(config.size() + 1, L'\0');
    wide.resize((size_t)::MultiByteToWideChar(CP_UTF8, 0, config.c_str(), -1, &wide[0], (int)wide.size()) - 1);
    ::SetEnvironmentVariableW(L"FAKESHELL_CONFIG", wide.c_str());
}

std::vector<FakeEvent> ReadFakeLog(const std::string& path)
{
    std::vector<FakeEvent> events;
    std::ifstream in(path, std::ios::binary);
    // A last line without its end is still being written.
    for (std::string line; std::getline(in, line) && !in.eof();) {
        std::istringstream words(line);
        FakeEvent e{};
        words >> e.ms >> e.kind >> e.id;
        std::getline(words >> std::ws, e.arg);
        events.push_back(e);
    }
    return events;
}

std::vector<ULONGLONG> RefreshTimes(const std::vector<FakeEvent>& log, const std::string& id, ULONGLONG after)
{
    std::vector<ULONGLONG> t;
    for (const FakeEvent& e : log)
        if (e.kind == "refresh" && e.id == id && e.ms > after)
            t.push_back(e.ms);
    return t;
}

Program::Program(const std::string& exe)
{
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    std::string cmd = "\"" + exe + "\"";
    if (!::CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_pi))
        m_pi = {};
}

Program::~Program()
{
    if (!ok())
        return;
    if (::WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(m_pi.hProcess, 99);
        ::WaitForSingleObject(m_pi.hProcess, 5000);
    }
    ::CloseHandle(m_pi.hThread);
    ::CloseHandle(m_pi.hProcess);
}

LRESULT Ask(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp)
{
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutA(hWnd, msg, wp, lp, SMTO_ABORTIFHUNG, 5000, &result) ? (LRESULT)result : -1;
}

namespace {

BOOL CALLBACK FindUnpainted(HWND hWnd, LPARAM found)
{
    *(bool*)found |= ::IsWindowVisible(hWnd) && ::GetUpdateRect(hWnd, nullptr, FALSE);
    return TRUE;
}

}  // namespace

bool Painted(HWND hWnd)
{
    bool found = Ask(hWnd, WM_NULL) != 0 || ::GetUpdateRect(hWnd, nullptr, FALSE);
    ::EnumChildWindows(hWnd, FindUnpainted, (LPARAM)&found);
    return !found;
}

namespace {

struct Find {
    DWORD pid;
    const char *cls, *title;
    HWND except, found;
    std::string text;  // a box's message
};

// A shown window of the process with that class and title; with no title
// asked, a box: a dialog with a Static child that has text (its icon is a
// Static too, without text).
BOOL CALLBACK FindProc(HWND wnd, LPARAM lp)
{
    auto* f = reinterpret_cast<Find*>(lp);
    DWORD pid = 0;
    char cls[64] = "", text[512] = "";
    ::GetWindowThreadProcessId(wnd, &pid);
    ::GetClassNameA(wnd, cls, sizeof cls);
    ::GetWindowTextA(wnd, text, sizeof text);
    if ((f->pid && pid != f->pid) || wnd == f->except || std::strcmp(cls, f->cls) || !::IsWindowVisible(wnd))
        return TRUE;
    if (f->title) {
        if (std::strcmp(text, f->title))
            return TRUE;
        f->found = wnd;
        return FALSE;
    }
    for (HWND c = ::GetWindow(wnd, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        ::GetClassNameA(c, cls, sizeof cls);
        if (lstrcmpiA(cls, "Static") == 0 && ::GetWindowTextA(c, text, sizeof text) > 0) {
            f->found = wnd;
            f->text = text;
            return FALSE;
        }
    }
    return TRUE;
}

}  // namespace

HWND WaitForWindow(DWORD pid, const char* cls, const char* title, DWORD timeoutMs)
{
    Find f{ pid, cls, title, nullptr, nullptr, "" };
    WaitFor([&] { ::EnumWindows(FindProc, (LPARAM)&f); return f.found != nullptr; }, timeoutMs);
    return f.found;
}

HWND FindMessageBox(DWORD pid, std::string* text, HWND except)
{
    Find f{ pid, "#32770", nullptr, except, nullptr, "" };
    ::EnumWindows(FindProc, (LPARAM)&f);
    *text = f.text;
    return f.found;
}

