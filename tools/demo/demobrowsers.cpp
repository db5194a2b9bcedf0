// demobrowsers.exe: a few small windows that play the part of open web pages
// for the demo. Each shows its page name and how often it has been reloaded;
// the fake Shell collection (fakeshell.dll, loaded by the program) posts a
// message to the window whenever the program calls Refresh on its browser.
//
//   demobrowsers <config path> [<log path>]
// writes the fake's config naming these windows, then runs until every
// window is closed.
#include "../../tests/e2e/fakeshell/fakeshell_protocol.h"
#include "demo_protocol.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

struct Page {
    const wchar_t* name;
    COLORREF colour;
    HWND wnd;
    LONG reloads;
    DWORD lastReload;   // GetTickCount of the last reload, 0 before the first
};

// Chinese and Latin names, so the program's conversion to code page 936 shows.
Page g_pages[] = {
    {L"新闻首页 - 今日要闻", RGB(0xE8, 0xF0, 0xFF), nullptr, 0, 0},
    {L"Weather: Oslo", RGB(0xE8, 0xFF, 0xE8), nullptr, 0, 0},
    {L"股票行情", RGB(0xFF, 0xF4, 0xE0), nullptr, 0, 0},
    {L"Tolvane Forum", RGB(0xF4, 0xE8, 0xFF), nullptr, 0, 0},
};
const int kPages = sizeof g_pages / sizeof g_pages[0];
const UINT_PTR kFlashTimer = 1;
UINT g_reloadMsg;
int g_open;
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
    HDC dc = BeginPaint(wnd, &ps);
    RECT rc;
    GetClientRect(wnd, &rc);
    // A reload shows as a short flash of a stronger colour.
    bool flashing = page.lastReload && GetTickCount() - page.lastReload < 400;
    HBRUSH bg = CreateSolidBrush(flashing ? RGB(0xFF, 0xD0, 0x40) : page.colour);
    FillRect(dc, &rc, bg);
    DeleteObject(bg);
    SetBkMode(dc, TRANSPARENT);

    HGDIOBJ old = SelectObject(dc, g_bigFont);
    RECT top = rc;
    top.bottom = rc.bottom / 2;
    DrawTextW(dc, page.name, -1, &top, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    SelectObject(dc, g_smallFont);
    wchar_t line[64];
    std::swprintf(line, 64, L"刷新次数 (reloads): %ld", page.reloads);
    RECT bottom = rc;
    bottom.top = rc.bottom / 2;
    DrawTextW(dc, line, -1, &bottom, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, old);
    EndPaint(wnd, &ps);
}

LRESULT CALLBACK PageProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    Page* page = PageOf(wnd);
    if (msg == g_reloadMsg && g_reloadMsg != 0 && page) {
        ++page->reloads;
        page->lastReload = GetTickCount();
        if (!page->lastReload)
            page->lastReload = 1;   // 0 means "never"
        InvalidateRect(wnd, nullptr, TRUE);
        SetTimer(wnd, kFlashTimer, 450, nullptr);
        return 0;
    }
    switch (msg) {
    case WM_PAINT:
        if (page) {
            Paint(wnd, *page);
            return 0;
        }
        break;
    case WM_TIMER:
        if (wp == kFlashTimer) {
            KillTimer(wnd, kFlashTimer);
            InvalidateRect(wnd, nullptr, TRUE);
            return 0;
        }
        break;
    case WM_ERASEBKGND:
        return 1;   // WM_PAINT fills everything
    case WM_DESTROY:
        if (--g_open == 0)
            PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(wnd, msg, wp, lp);
}

std::string Utf8(const wchar_t* w)
{
    char buf[512];
    int n = WideCharToMultiByte(CP_UTF8, 0, w, -1, buf, sizeof buf, nullptr, nullptr);
    return n > 0 ? std::string(buf) : std::string();
}

// Written under a temporary name and renamed, so whoever waits for the file
// never reads half of it.
bool WriteConfig(const char* path, const char* logPath)
{
    std::string temp = std::string(path) + ".tmp";
    FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f)
        return false;
    if (logPath)
        std::fprintf(f, "log %s\n", logPath);
    for (const Page& p : g_pages)
        std::fprintf(f, "browser 0x%llx %s\n",
                     static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(p.wnd)),
                     Utf8(p.name).c_str());
    bool ok = std::fclose(f) == 0;
    return ok && MoveFileExA(temp.c_str(), path, MOVEFILE_REPLACE_EXISTING);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    const char* configPath = __argc > 1 ? __argv[1] : std::getenv(FAKESHELL_CONFIG_ENV);
    const char* logPath = __argc > 2 ? __argv[2] : nullptr;
    if (!configPath) {
        MessageBoxA(nullptr, "usage: demobrowsers <config path> [<log path>]", "demobrowsers", MB_OK);
        return 2;
    }
    g_reloadMsg = RegisterWindowMessageA(FAKESHELL_RELOAD_MSG);

    WNDCLASSA wc{};
    wc.lpfnWndProc = PageProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = DEMO_WINDOW_CLASS;
    if (!RegisterClassA(&wc))
        return 1;
    // DEFAULT_CHARSET: a font asked for with the ANSI set gets no CJK glyphs.
    g_bigFont = CreateFontW(-22, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"宋体");
    g_smallFont = CreateFontW(-15, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"宋体");

    // A column at the left, clear of the program's centred dialog (about 630
    // pixels wide) on a 1280-pixel screen.
    for (int i = 0; i < kPages; ++i) {
        Page& p = g_pages[i];
        p.wnd = CreateWindowExA(0, DEMO_WINDOW_CLASS, "", WS_OVERLAPPEDWINDOW, 8, 10 + i * 150,
                                300, 130, nullptr, nullptr, instance, nullptr);
        if (!p.wnd)
            return 1;
        SetWindowTextW(p.wnd, p.name);
        ++g_open;
        ShowWindow(p.wnd, show);
    }
    if (!WriteConfig(configPath, logPath))
        return 1;

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    DeleteObject(g_bigFont);
    DeleteObject(g_smallFont);
    return 0;
}
