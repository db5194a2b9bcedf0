// demo.exe: Veskar at work. A few small windows play open web pages; the
// fake Shell collection (fakeshell.dll, registered for the run) lists them
// to the program and tells a window whenever the program reloads it, and the
// window counts its reloads.
//
//   demo <veskar.exe> <fakeshell.dll> <work folder> [--headless]
//
// Runs until Veskar is closed. Headless, it ticks the first two rows itself,
// writes <work folder>\ticked, and closes everything once <work folder>\stop
// exists (or after a minute).
#include "Driver.h"
#include "res/resource.h"
#include <commctrl.h>
#include <cstdio>
#include <cstring>

namespace {

struct Page {
    const wchar_t* name;
    COLORREF colour;
    HWND wnd = nullptr;
    LPARAM reloads = 0;
    DWORD lastReload = 0;  // tick count of the last one; 0 before the first
};

// Chinese and Latin names, so the program's conversion to code page 936 shows.
Page g_pages[] = {
    { L"新闻首页 - 今日要闻", RGB(0xE8, 0xF0, 0xFF) },
    { L"Weather: Oslo", RGB(0xE8, 0xFF, 0xE8) },
    { L"股票行情", RGB(0xFF, 0xF4, 0xE0) },
    { L"Tolvane Forum", RGB(0xF4, 0xE8, 0xFF) },
};
const UINT_PTR kFlashTimer = 1;
const UINT g_reloadMsg = ::RegisterWindowMessageA("FakeShellReload");  // what the fake posts
HFONT g_bigFont, g_smallFont;

Page* PageOf(HWND wnd)
{
    for (Page& p : g_pages)
        if (p.wnd == wnd)
            return &p;
    return nullptr;
}

void Paint(HWND wnd, const Page& page)
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(wnd, &ps);
    RECT rc, top, bottom;
    ::GetClientRect(wnd, &rc);
    top = bottom = rc;
    top.bottom = bottom.top = rc.bottom / 2;
    // A reload shows as a short flash of a stronger colour.
    const bool flashing = page.lastReload && ::GetTickCount() - page.lastReload < 400;
    HBRUSH bg = ::CreateSolidBrush(flashing ? RGB(0xFF, 0xD0, 0x40) : page.colour);
    ::FillRect(dc, &rc, bg);
    ::DeleteObject(bg);
    ::SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old = ::SelectObject(dc, g_bigFont);
    ::DrawTextW(dc, page.name, -1, &top, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    ::SelectObject(dc, g_smallFont);
    wchar_t line[64];
    std::swprintf(line, 64, L"刷新次数 (reloads): %ld", (long)page.reloads);
    ::DrawTextW(dc, line, -1, &bottom, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ::SelectObject(dc, old);
    ::EndPaint(wnd, &ps);
}

LRESULT CALLBACK PageProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    Page* page = PageOf(wnd);
    if (msg == g_reloadMsg && page) {
        page->reloads = lp;  // the fake's count of this browser's reloads
        page->lastReload = ::GetTickCount() | 1;
        ::InvalidateRect(wnd, nullptr, FALSE);
        ::SetTimer(wnd, kFlashTimer, 450, nullptr);
        return 0;
    }
    switch (msg) {
    case WM_PAINT:
        if (page)
            Paint(wnd, *page);
        return 0;
    case WM_TIMER:
        ::KillTimer(wnd, wp);
        ::InvalidateRect(wnd, nullptr, FALSE);
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the paint fills everything
    }
    return ::DefWindowProcA(wnd, msg, wp, lp);
}

// Ticks a row of the program's list. LVM_SETITEMSTATE reads its LVITEM in
// the program's process, so the item is written there; this program is built
// alongside the program it shows, with the same pointer size.
bool Tick(HANDLE process, HWND list, int row)
{
    LVITEMA item = {};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(2);
    void* remote = ::VirtualAllocEx(process, nullptr, sizeof item, MEM_COMMIT, PAGE_READWRITE);
    const bool ok = remote && ::WriteProcessMemory(process, remote, &item, sizeof item, nullptr) &&
                    Ask(list, LVM_SETITEMSTATE, row, (LPARAM)remote) == TRUE;
    if (remote)
        ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return ok;
}

// Runs the windows' messages until `done` holds, looking every 100 ms.
void RunUntil(const std::function<bool()>& done)
{
    for (MSG msg; !done();) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&msg);
    }
}

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: demo <veskar.exe> <fakeshell.dll> <work folder> [--headless]\n");
        return 2;
    }
    const bool headless = argc > 4 && std::strcmp(argv[4], "--headless") == 0;
    const std::string work = ToWindowsPath(argv[3]);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = PageProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = "VeskarDemoPage";
    ::RegisterClassA(&wc);
    // DEFAULT_CHARSET: a font asked for with the ANSI set gets no CJK glyphs.
    g_bigFont = ::CreateFontW(-22, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"宋体");
    g_smallFont = ::CreateFontW(-15, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"宋体");

    // A column at the left, clear of the program's centred dialog on a
    // 1280-pixel screen; each window is named to the fake by its handle.
    std::vector<std::string> config;
    for (int i = 0; i < 4; ++i) {
        Page& p = g_pages[i];
        p.wnd = ::CreateWindowExW(0, L"VeskarDemoPage", p.name, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 8, 10 + i * 150, 300,
                                  130, nullptr, nullptr, wc.hInstance, nullptr);
        char name[256];
        ::WideCharToMultiByte(CP_UTF8, 0, p.name, -1, name, sizeof name, nullptr, nullptr);
        config.push_back("browser " + std::to_string((UINT_PTR)p.wnd) + " " + name);
    }
    FakeRegistration registration(ToWindowsPath(argv[2]));
    ConfigureFake(work + "\\fakeshell.log", config);
    Program veskar(ToWindowsPath(argv[1]));
    if (!registration.ok || !veskar.ok()) {
        std::fprintf(stderr, "demo: could not register %s or start %s\n", argv[2], argv[1]);
        return 1;
    }
    HWND dlg = nullptr;
    if (headless) {
        ::DeleteFileA((work + "\\stop").c_str());
        dlg = WaitForMainDialog(veskar.pid(), 15000);
        HWND list = ::GetDlgItem(dlg, IDC_LIST_WINDOWS);
        WaitFor([&] { return Ask(list, LVM_GETITEMCOUNT) == 4; }, 5000);
        if (!dlg || !Tick(veskar.process(), list, 0) || !Tick(veskar.process(), list, 1))
            std::fprintf(stderr, "demo: the rows could not be ticked\n");
        if (FILE* f = std::fopen((work + "\\ticked").c_str(), "wb"))
            std::fclose(f);
        const ULONGLONG end = ::GetTickCount64() + 60000;
        RunUntil([&] { return Exists(work + "\\stop") || ::GetTickCount64() > end || veskar.WaitExit(0); });
        // The window menu's Close, as the captionless dialog's menu sends it.
        ::PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    const ULONGLONG closing = ::GetTickCount64() + 10000;
    RunUntil([&] { return veskar.WaitExit(0) || (headless && ::GetTickCount64() > closing); });
    for (Page& p : g_pages)
        ::DestroyWindow(p.wnd);
    ::DeleteObject(g_bigFont);
    ::DeleteObject(g_smallFont);
    return 0;
}
