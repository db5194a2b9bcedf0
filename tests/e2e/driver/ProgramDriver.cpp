// Driving the unmodified program from another process.
#include "ProgramDriver.h"

#include <cstdio>
#include <cstring>

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

std::string MakeWorkDir(const char* stem)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string dir = std::string(temp) + stem + "-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

namespace {

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

// The message box is a dialog of the process with a Static child that has
// text (its icon is a Static too, without text).
struct BoxArgs {
    DWORD pid;
    HWND except;
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
    if (pid != a->pid || wnd == a->except || std::strcmp(cls, "#32770") != 0 || !IsWindowVisible(wnd))
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

}  // namespace

HWND FindTopWindow(DWORD pid, const char* cls, const char* title)
{
    FindArgs args{pid, title, cls, nullptr};
    EnumWindows(FindProc, reinterpret_cast<LPARAM>(&args));
    return args.found;
}

HWND FindMessageBox(DWORD pid, std::string* text, std::string* caption, HWND except)
{
    BoxArgs args{pid, except, nullptr, std::string()};
    EnumWindows(FindBoxProc, reinterpret_cast<LPARAM>(&args));
    if (args.box) {
        char cap[256] = {};
        GetWindowTextA(args.box, cap, sizeof cap);
        *text = args.text;
        *caption = cap;
    }
    return args.box;
}

void WriteFakeShellConfig(const std::string& config, const std::string& log,
                          const std::vector<std::string>& lines)
{
    DeleteFileA(log.c_str());
    FILE* f = std::fopen(config.c_str(), "wb");
    if (!f)
        return;
    std::fprintf(f, "log %s\n", log.c_str());
    for (const std::string& l : lines)
        std::fprintf(f, "%s\n", l.c_str());
    std::fclose(f);
}

HWND WaitForShownWindow(DWORD pid, const char* cls, const char* title, DWORD timeoutMs)
{
    HWND wnd = nullptr;
    WaitFor([&] {
        wnd = FindTopWindow(pid, cls, title);
        return wnd && IsWindowVisible(wnd);
    }, timeoutMs);
    return wnd && IsWindowVisible(wnd) ? wnd : nullptr;
}
