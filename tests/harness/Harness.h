// What every test stands on: pumping, scripted real input, pixels, object counts, the seams' recorders,
// and a fixture base that cleans up however a test ends.
#pragma once
#include <windows.h>
#include "framework/Seams.h"
#include <functional>
#include <string>
#include <vector>
#include <gtest/gtest.h>

void FlushMessages(DWORD maxMs = 500);  // dispatches what is queued
void PumpFor(DWORD ms);                  // ... and waits for timers
bool PumpUntil(const std::function<bool()>& pred, DWORD maxMs);

// A user's steps, run one after another from a timer of this thread, inside whatever modal loop is current.
// A step returns false to be asked again at the next tick. Steps send input without dispatching it: a box they
// opened would otherwise run inside the step. After timeoutMs every shown window of the thread is asked to close.
class TimerScript {
public:
    using Step = std::function<bool()>;
    explicit TimerScript(std::vector<Step> steps, DWORD timeoutMs = 30000);
    ~TimerScript();
    bool Done() const { return m_next >= m_steps.size(); }
    size_t Stopped() const { return m_next; }
    bool Run() { PumpUntil([this] { return Done() || m_timedOut; }, m_timeout + 1000); return Done(); }
private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    std::vector<Step> m_steps;
    size_t m_next = 0;
    DWORD m_start, m_timeout;
    bool m_busy = false, m_timedOut = false;
    UINT_PTR m_timer;
};

// Real input (SendInput), at screen points (Away: off every window of the tests). ClickAt sends move, presses and
// releases in one batch: no timer comes between them.
inline POINT ScreenPoint(HWND h, int x, int y) { POINT p = { x, y }; ::ClientToScreen(h, &p); return p; }
inline POINT Away() { return { ::GetSystemMetrics(SM_CXSCREEN) - 5, ::GetSystemMetrics(SM_CYSCREEN) - 5 }; }
inline RECT Rect(HWND h) { RECT r = {}; ::GetWindowRect(h, &r); return r; }  // on the screen
inline POINT Centre(HWND h) { RECT r = Rect(h); return { (r.left + r.right) / 2, (r.top + r.bottom) / 2 }; }
void MoveMouseTo(POINT screen, bool flush = true);
void MouseDown(bool flush = true);
void MouseUp(bool flush = true);
void ClickAt(POINT screen, int clicks = 1, bool flush = true);
void PressKey(WORD vk, bool flush = true);

// A copy of the screen, top-down rows of COLORREF.
struct Shot {
    RECT rect = {};
    std::vector<COLORREF> px;
    static Shot Of(const RECT& screen);  // as the screen shows it (another process's windows)
    static Shot OfWindow(HWND hWnd);     // the window's own surface, frame included
    static Shot OfBitmap(UINT nID);  // one of the program's bitmaps
    // What draw paints on a w x h memory surface of the screen's format, over kGround.
    static Shot OfDrawing(int w, int h, const std::function<void(HDC)>& draw);
    static constexpr COLORREF kGround = RGB(0, 128, 0);
    bool operator==(const Shot& o) const { return px == o.px; }
    Shot Part(const RECT& r) const;  // the area r of this picture
    COLORREF At(int x, int y) const { return px[(size_t)y * (rect.right - rect.left) + x]; }
    int Count(const RECT& r, const std::function<bool(COLORREF)>& match) const;
    // The smallest rectangle holding every pixel where pick(x, y) holds (left > right if none).
    RECT Bounds(const std::function<bool(int, int)>& pick) const;
    bool WritePpm(const std::string& path) const;  // binary PPM
};
COLORREF PixelAt(HWND hWnd, int x, int y);  // what a window shows at a client point

DWORD GdiObjects();
DWORD UserObjects();

// Puts a seam back when it goes.
template <class F>
struct ScopedSeam {
    ScopedSeam(F& seam, F replacement) : m_seam(seam), m_old(seam) { seam = replacement; }
    ~ScopedSeam() { m_seam = m_old; }
    F& m_seam;
    F m_old;
};

// The newest recorder of a kind, which its seams report to until it goes.
template <class R>
struct Newest {
    static inline R* current = nullptr;
    R* const m_prev = current;
    Newest() { current = static_cast<R*>(this); }
    ~Newest() { current = m_prev; }
};

// Boxes logged and answered IDOK at once; links handed to the Shell logged instead of opened; the apartment's
// entries and exits counted (the real calls still made); CoCreateInstance handing out a fake (or failing with hr).
struct MessageBoxRecorder : Newest<MessageBoxRecorder> {
    struct Box { HWND owner; std::string text, caption; UINT type; };
    MessageBoxRecorder();
    std::vector<Box> boxes;
    ScopedSeam<decltype(g_pfnMessageBox)> m_seam;
};
struct ShellExecuteRecorder : Newest<ShellExecuteRecorder> {
    struct Call { HWND owner; std::string verb, file; bool noParams, noDir; INT show; };
    ShellExecuteRecorder();
    std::vector<Call> calls;
    ScopedSeam<decltype(g_pfnShellExecute)> m_seam;
};
struct ComRecorder : Newest<ComRecorder> {
    ComRecorder();
    int inits = 0, uninits = 0;
    ScopedSeam<decltype(g_pfnCoInitialize)> m_init;
    ScopedSeam<decltype(g_pfnCoUninitialize)> m_uninit;
};
class FakeShellWindows;
struct ScopedShellFactory : Newest<ScopedShellFactory> {
    explicit ScopedShellFactory(FakeShellWindows* shell, HRESULT hr = S_OK);
    FakeShellWindows* shell;
    HRESULT hr;
    int creations = 0;
    ScopedSeam<decltype(g_pfnCoCreateInstance)> m_seam;
};

// Sees the messages a window receives, before and after its procedure (one watch a window at a time); the
// procedure is put back when the watch goes, unless someone has subclassed above it since.
class WindowWatch {
public:
    using Fn = std::function<void(HWND, UINT, WPARAM, LPARAM)>;
    WindowWatch(HWND hWnd, Fn before, Fn after = {});
    ~WindowWatch();
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);  // on top while watched
private:
    HWND m_hWnd;
    WNDPROC m_previous;
    Fn m_before, m_after;
};
// The messages of those listed that a window receives.
struct MessageRecorder {
    MessageRecorder(HWND hWnd, const std::vector<UINT>& only);
    std::vector<UINT> messages;
    WindowWatch m_watch;
};

// Rectangles compare by value (the program's own types need no comparison).
inline bool operator==(const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; }
inline std::ostream& operator<<(std::ostream& os, const RECT& r)
{
    return os << "(" << r.left << ", " << r.top << ")-(" << r.right << ", " << r.bottom << ")";
}

bool Settled(HWND hWnd);               // nothing of it or its children waits to be painted
HWND ShownBox(HWND except);            // a shown dialog box of this thread
std::string Gbk(const wchar_t* text);  // code page 936

// Every window test's base: however it ends, the button is let go, the pointer parked, its windows destroyed.
class WindowTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
private:
    std::vector<HWND> m_before;
};
