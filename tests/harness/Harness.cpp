#include "Harness.h"
#include "FakeShell.h"
#include <commctrl.h>
#include <cstdio>
#include <algorithm>
#include <climits>
#include <map>

void FlushMessages(DWORD maxMs)
{
    const DWORD start = ::GetTickCount();
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
        if (::GetTickCount() - start > maxMs)
            break;
    }
}

void PumpFor(DWORD ms)
{
    for (DWORD start = ::GetTickCount(), t; (t = ::GetTickCount() - start) < ms; FlushMessages(ms))
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - t, QS_ALLINPUT);
}

bool PumpUntil(const std::function<bool()>& pred, DWORD maxMs)
{
    for (DWORD start = ::GetTickCount(); !pred(); PumpFor(10))
        if (::GetTickCount() - start > maxMs)
            return false;
    return true;
}

namespace {
TimerScript* g_script;
BOOL CALLBACK CloseShown(HWND h, LPARAM)
{
    if (::IsWindowVisible(h))
        ::PostMessageA(h, WM_SYSCOMMAND, SC_CLOSE, 0);
    return TRUE;
}
}

TimerScript::TimerScript(std::vector<Step> steps, DWORD timeoutMs)
    : m_steps(std::move(steps)), m_start(::GetTickCount()), m_timeout(timeoutMs)
{
    g_script = this;
    m_timer = ::SetTimer(nullptr, 0, 25, Tick);
}

TimerScript::~TimerScript()
{
    ::KillTimer(nullptr, m_timer);
    g_script = nullptr;
}

void CALLBACK TimerScript::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    TimerScript* self = g_script;
    if (!self || self->m_busy || self->Done() || self->m_timedOut)
        return;
    self->m_busy = true;
    if (::GetTickCount() - self->m_start > self->m_timeout) {
        self->m_timedOut = true;
        ::EnumThreadWindows(::GetCurrentThreadId(), CloseShown, 0);
    } else if (self->m_steps[self->m_next]()) {
        ++self->m_next;
    }
    self->m_busy = false;
}

namespace {

INPUT Mouse(DWORD flags, POINT screen = {})
{
    // Absolute input is in 1/65536 of the screen; rounding up maps back to exactly the pixel asked for.
    auto norm = [](LONG v, int size) { return (LONG)(((long long)v * 65536 + size - 1) / size); };
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    in.mi.dx = norm(screen.x, ::GetSystemMetrics(SM_CXSCREEN));
    in.mi.dy = norm(screen.y, ::GetSystemMetrics(SM_CYSCREEN));
    return in;
}

void Send(std::vector<INPUT> in, bool flush)
{
    ::SendInput((UINT)in.size(), in.data(), sizeof(INPUT));
    // Wine sends a move to the X server when this process next asks it something: until then, others hear the old spot.
    POINT pointer;
    ::GetCursorPos(&pointer);
    if (flush)
        FlushMessages();
}

}  // namespace

void MoveMouseTo(POINT screen, bool flush) { Send({ Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, screen) }, flush); }
void MouseDown(bool flush) { Send({ Mouse(MOUSEEVENTF_LEFTDOWN) }, flush); }
void MouseUp(bool flush) { Send({ Mouse(MOUSEEVENTF_LEFTUP) }, flush); }

void ClickAt(POINT screen, int clicks, bool flush)
{
    std::vector<INPUT> in = { Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, screen) };
    for (int i = 0; i < clicks; ++i) {
        in.push_back(Mouse(MOUSEEVENTF_LEFTDOWN));
        in.push_back(Mouse(MOUSEEVENTF_LEFTUP));
    }
    Send(in, flush);
}

void PressKey(WORD vk, bool flush)
{
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    Send({ in[0], in[1] }, flush);
}

COLORREF PixelAt(HWND hWnd, int x, int y)
{
    HDC hdc = ::GetDC(hWnd);
    COLORREF c = ::GetPixel(hdc, x, y);
    ::ReleaseDC(hWnd, hdc);
    return c;
}

namespace {

// The pixels of a drawing context's area as a Shot.
Shot Read(HDC hSrc, int x, int y, int w, int h)
{
    Shot shot;
    BITMAPINFO bi = {};
    bi.bmiHeader = { sizeof bi.bmiHeader, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0 };
    void* bits = nullptr;
    HDC hMem = ::CreateCompatibleDC(hSrc);
    HBITMAP hbm = w > 0 && h > 0 ? ::CreateDIBSection(hSrc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    if (hbm) {
        HGDIOBJ old = ::SelectObject(hMem, hbm);
        if (::BitBlt(hMem, 0, 0, w, h, hSrc, x, y, SRCCOPY)) {
            ::GdiFlush();
            shot.rect = { x, y, x + w, y + h };
            for (const DWORD* p = (const DWORD*)bits; p < (const DWORD*)bits + (size_t)w * h; ++p)
                shot.px.push_back(RGB(GetBValue(*p), GetGValue(*p), GetRValue(*p)));  // 0x00RRGGBB
        }
        ::SelectObject(hMem, old);
        ::DeleteObject(hbm);
    }
    ::DeleteDC(hMem);
    return shot;
}

}  // namespace

Shot Shot::Of(const RECT& r)
{
    HDC hScreen = ::GetDC(nullptr);
    Shot shot = Read(hScreen, r.left, r.top, r.right - r.left, r.bottom - r.top);
    ::ReleaseDC(nullptr, hScreen);
    return shot;
}

Shot Shot::OfBitmap(UINT nID)
{
    HBITMAP hBmp = ::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(nID));
    BITMAP bm = {};
    ::GetObjectA(hBmp, sizeof bm, &bm);
    HDC hMem = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(hMem, hBmp);
    Shot shot = Read(hMem, 0, 0, bm.bmWidth, bm.bmHeight);
    ::SelectObject(hMem, old);
    ::DeleteDC(hMem);
    ::DeleteObject(hBmp);
    return shot;
}

Shot Shot::OfDrawing(int w, int h, const std::function<void(HDC)>& draw)
{
    HDC hScreen = ::GetDC(nullptr), hMem = ::CreateCompatibleDC(hScreen);
    HBITMAP hbm = ::CreateCompatibleBitmap(hScreen, w, h);
    ::ReleaseDC(nullptr, hScreen);
    HGDIOBJ old = ::SelectObject(hMem, hbm);
    const RECT all = { 0, 0, w, h };
    HBRUSH ground = ::CreateSolidBrush(kGround);
    ::FillRect(hMem, &all, ground);
    ::DeleteObject(ground);
    draw(hMem);
    Shot shot = Read(hMem, 0, 0, w, h);
    ::SelectObject(hMem, old);
    ::DeleteObject(hbm);
    ::DeleteDC(hMem);
    return shot;
}

Shot Shot::OfWindow(HWND hWnd)
{
    // The window's own surface: the screen may show it a moment later.
    RECT r = {};
    ::GetWindowRect(hWnd, &r);
    HDC hdc = ::GetWindowDC(hWnd);
    Shot shot = Read(hdc, 0, 0, r.right - r.left, r.bottom - r.top);
    ::ReleaseDC(hWnd, hdc);
    shot.rect = r;
    return shot;
}

Shot Shot::Part(const RECT& r) const
{
    Shot part;
    part.rect = { rect.left + r.left, rect.top + r.top, rect.left + r.right, rect.top + r.bottom };
    for (LONG y = r.top; y < r.bottom; ++y)
        for (LONG x = r.left; x < r.right; ++x)
            part.px.push_back(At(x, y));
    return part;
}

int Shot::Count(const RECT& r, const std::function<bool(COLORREF)>& match) const
{
    int n = 0;
    for (LONG y = std::max(r.top, 0L); y < r.bottom && y < rect.bottom - rect.top; ++y)
        for (LONG x = std::max(r.left, 0L); x < r.right && x < rect.right - rect.left; ++x)
            n += match(At(x, y));
    return n;
}

RECT Shot::Bounds(const std::function<bool(int, int)>& pick) const
{
    RECT box = { LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN };
    for (LONG y = 0; y < rect.bottom - rect.top; ++y)
        for (LONG x = 0; x < rect.right - rect.left; ++x)
            if (pick(x, y))
                box = { std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                        std::max(box.bottom, y + 1) };
    return box;
}

bool Shot::WritePpm(const std::string& path) const
{
    std::string data = "P6\n" + std::to_string(rect.right - rect.left) + " " + std::to_string(rect.bottom - rect.top) +
                       "\n255\n";
    for (COLORREF c : px)
        data += { (char)GetRValue(c), (char)GetGValue(c), (char)GetBValue(c) };
    FILE* f = std::fopen(path.c_str(), "wb");
    const bool written = f && std::fwrite(data.data(), data.size(), 1, f) == 1;
    return f && std::fclose(f) == 0 && written;
}

DWORD GdiObjects()
{
    // Wine 8 answers 0: walk the handle table (a handle without generation bits names its slot's object).
    if (DWORD n = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS))
        return n;
    DWORD n = 0;
    for (UINT_PTR slot = 1; slot < 0x10000; ++slot)
        n += ::GetObjectType((HGDIOBJ)slot) != 0;
    return n;
}

DWORD UserObjects()
{
    if (DWORD n = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS))
        return n;
    if (!::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version"))
        return 0;
    // Wine keeps every process's USER objects in one table of 16-bit slots (handle = slot * 2 + 0x20); a
    // handle whose high word is 0 names the slot's current object. Each is asked whether it is a window, menu or
    // cursor of this process.
    using FrameInfoFn = HCURSOR(WINAPI*)(HCURSOR, DWORD, DWORD, DWORD*, DWORD*);
    static const auto pfnFrameInfo = reinterpret_cast<FrameInfoFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("user32.dll"), "GetCursorFrameInfo")));
    const DWORD lastError = ::GetLastError(), self = ::GetCurrentProcessId();
    DWORD n = 0;
    for (UINT_PTR h = 0x20; h < 0xFFF0; h += 2) {
        DWORD rate = 0, steps = 0, owner = 0;
        if (::IsMenu((HMENU)h) || (pfnFrameInfo && pfnFrameInfo((HCURSOR)h, 0, 0, &rate, &steps)))
            ++n;
        else if (::GetWindowLongPtrA((HWND)h, GWLP_WNDPROC) && ::GetWindowThreadProcessId((HWND)h, &owner) &&
                 owner == self)
            ++n;
    }
    ::SetLastError(lastError);
    return n;
}

namespace {

int WINAPI RecordBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    MessageBoxRecorder::current->boxes.push_back({ owner, text ? text : "", caption ? caption : "", type });
    return IDOK;
}

HINSTANCE WINAPI RecordLink(HWND h, LPCSTR verb, LPCSTR file, LPCSTR params, LPCSTR dir, INT show)
{
    ShellExecuteRecorder::current->calls.push_back({ h, verb ? verb : "", file ? file : "", !params, !dir, show });
    return (HINSTANCE)(INT_PTR)33;
}

HRESULT WINAPI CountInit(LPVOID) { ++ComRecorder::current->inits; return ::CoInitialize(nullptr); }
void WINAPI CountUninit() { ++ComRecorder::current->uninits; ::CoUninitialize(); }

HRESULT WINAPI CreateFake(REFCLSID clsid, LPUNKNOWN, DWORD, REFIID riid, LPVOID* ppv)
{
    ScopedShellFactory* f = ScopedShellFactory::current;
    *ppv = nullptr;
    ++f->creations;
    if (clsid != CLSID_ShellWindows || !f->shell)
        return REGDB_E_CLASSNOTREG;
    return FAILED(f->hr) ? f->hr : f->shell->QueryInterface(riid, ppv);
}

}  // namespace

MessageBoxRecorder::MessageBoxRecorder() : m_seam(g_pfnMessageBox, RecordBox) {}
ShellExecuteRecorder::ShellExecuteRecorder() : m_seam(g_pfnShellExecute, RecordLink) {}
ComRecorder::ComRecorder() : m_init(g_pfnCoInitialize, CountInit), m_uninit(g_pfnCoUninitialize, CountUninit) {}
ScopedShellFactory::ScopedShellFactory(FakeShellWindows* s, HRESULT h)
    : shell(s), hr(h), m_seam(g_pfnCoCreateInstance, CreateFake) {}

static std::map<HWND, WindowWatch*> g_watches;

WindowWatch::WindowWatch(HWND hWnd, Fn before, Fn after)
    : m_hWnd(hWnd), m_before(std::move(before)), m_after(std::move(after))
{
    g_watches[hWnd] = this;
    m_previous = (WNDPROC)::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)Proc);
}

WindowWatch::~WindowWatch()
{
    if (::IsWindow(m_hWnd) && (WNDPROC)::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC) == Proc)
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, (LONG_PTR)m_previous);
    g_watches.erase(m_hWnd);
}

LRESULT CALLBACK WindowWatch::Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    WindowWatch* w = g_watches[h];
    if (w->m_before)
        w->m_before(h, msg, wp, lp);
    const LRESULT result = ::CallWindowProcA(w->m_previous, h, msg, wp, lp);
    if (w->m_after)
        w->m_after(h, msg, wp, lp);
    return result;
}

MessageRecorder::MessageRecorder(HWND hWnd, const std::vector<UINT>& only)
    : m_watch(hWnd, [this, only](HWND, UINT msg, WPARAM, LPARAM) {
          if (std::find(only.begin(), only.end(), msg) != only.end())
              messages.push_back(msg);
      })
{
}

namespace {

BOOL CALLBACK AddWindow(HWND h, LPARAM lp)
{
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
    return TRUE;
}

std::vector<HWND> ThreadWindows()
{
    std::vector<HWND> all;
    ::EnumThreadWindows(::GetCurrentThreadId(), AddWindow, (LPARAM)&all);
    return all;
}

}  // namespace

HWND ShownBox(HWND except)
{
    for (HWND h : ThreadWindows()) {
        char cls[16] = "";
        ::GetClassNameA(h, cls, sizeof cls);
        if (h != except && ::IsWindowVisible(h) && lstrcmpA(cls, "#32770") == 0)
            return h;
    }
    return nullptr;
}

std::string Gbk(const wchar_t* text)
{
    char s[1024] = "";
    ::WideCharToMultiByte(936, 0, text, -1, s, sizeof s, nullptr, nullptr);
    return s;
}

void WindowTest::SetUp()
{
    m_before = ThreadWindows();
    MoveMouseTo(Away());
}

void WindowTest::TearDown()
{
    if (::GetAsyncKeyState(VK_LBUTTON) < 0)
        MouseUp();
    MoveMouseTo(Away());
    for (HWND h : ThreadWindows())
        if (std::find(m_before.begin(), m_before.end(), h) == m_before.end() && ::IsWindow(h))
            ::DestroyWindow(h);
    FlushMessages();
}

int main(int argc, char** argv)
{
    INITCOMMONCONTROLSEX icc = { sizeof(icc), ICC_WIN95_CLASSES };
    ::InitCommonControlsEx(&icc);
    testing::InitGoogleTest(&argc, argv);
    if (::GetACP() != 936) {
        std::fprintf(stderr, "the tests need the ANSI code page 936 (LANG=zh_CN.UTF-8), not %u\n", ::GetACP());
        return 1;
    }
    return RUN_ALL_TESTS();
}

bool Settled(HWND hWnd)
{
    bool settled = !::GetUpdateRect(hWnd, nullptr, FALSE);
    for (HWND c = ::GetWindow(hWnd, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
        settled &= !::IsWindowVisible(c) || !::GetUpdateRect(c, nullptr, FALSE);
    return settled;
}
