#include "TestSupport.h"
#include "framework/Seams.h"
#include <psapi.h>
#include <algorithm>
#include <cstdio>
#include <map>

void FlushMessages(DWORD maxMs)
{
    DWORD start = ::GetTickCount();
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
    DWORD start = ::GetTickCount();
    for (;;) {
        DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= ms)
            break;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
        FlushMessages(ms);
    }
}

namespace {
TimerScript* g_script = nullptr;
}

TimerScript::TimerScript(std::vector<Step> steps, DWORD timeoutMs, std::function<void()> giveUp)
    : m_steps(std::move(steps)), m_giveUp(std::move(giveUp)), m_start(::GetTickCount()), m_timeout(timeoutMs)
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
        if (self->m_giveUp)
            self->m_giveUp();
    } else if (self->m_steps[self->m_next]()) {
        ++self->m_next;
    }
    self->m_busy = false;
}

bool TimerScript::Run()
{
    PumpUntil([this] { return Done() || m_timedOut; }, m_timeout + 1000);
    return Done();
}

std::string Gbk(const wchar_t* text)
{
    int n = ::WideCharToMultiByte(936, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string s((size_t)(n > 0 ? n : 1), '\0');
    ::WideCharToMultiByte(936, 0, text, -1, &s[0], n, nullptr, nullptr);
    s.resize(strlen(s.c_str()));
    return s;
}

namespace {
MessageBoxRecorder* g_boxRecorder = nullptr;
}

MessageBoxRecorder::MessageBoxRecorder(int answer) : m_previous(g_pfnMessageBox), m_answer(answer)
{
    g_boxRecorder = this;
    g_pfnMessageBox = Record;
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    g_pfnMessageBox = m_previous;
    g_boxRecorder = nullptr;
}

int WINAPI MessageBoxRecorder::Record(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    g_boxRecorder->boxes.push_back({ owner, text ? text : "", caption ? caption : "", type, ::GetFocus() });
    return g_boxRecorder->m_answer;
}

namespace {
std::map<HWND, MessageRecorder*> g_recorders;
}

MessageRecorder::MessageRecorder(HWND hWnd, std::vector<UINT> only) : m_hWnd(hWnd), m_only(std::move(only))
{
    g_recorders[hWnd] = this;
    m_previous = (WNDPROC)::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)Proc);
}

MessageRecorder::~MessageRecorder()
{
    if (::IsWindow(m_hWnd) && (WNDPROC)::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC) == Proc)
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, (LONG_PTR)m_previous);
    g_recorders.erase(m_hWnd);
}

LRESULT CALLBACK MessageRecorder::Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    MessageRecorder* r = g_recorders[h];
    if (r->m_only.empty() || std::find(r->m_only.begin(), r->m_only.end(), msg) != r->m_only.end())
        r->messages.push_back(msg);
    WNDPROC previous = r->m_previous;
    if (msg == WM_NCDESTROY)
        g_recorders.erase(h);
    return ::CallWindowProcA(previous, h, msg, wp, lp);
}

std::string SequenceText(const std::vector<UINT>& messages)
{
    std::string s;
    char buf[16];
    for (UINT m : messages) {
        snprintf(buf, sizeof buf, "%s0x%04x", s.empty() ? "" : " ", m);
        s += buf;
    }
    return s;
}

DWORD GdiObjects()
{
    // Windows counts them; Wine 8 answers 0, so there the handle table is
    // walked instead: a handle value without generation bits names the
    // slot's current object.
    if (DWORD n = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS))
        return n;
    DWORD n = 0;
    for (UINT_PTR slot = 1; slot < 0x10000; ++slot)
        n += ::GetObjectType((HGDIOBJ)slot) != 0;
    return n;
}

namespace {

bool UnderWine()
{
    return ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

// Wine keeps the USER objects of every process in one table of 16-bit slots
// (handle = slot * 2 + 0x20, a generation in the high word), and a handle
// whose high word is 0 names the slot's current object whatever its
// generation. Each slot is asked whether it holds a window, menu or cursor
// of this process. All three questions are answered from the process's own
// part of the table: a window of another process, or an empty slot, has no
// window procedure for us, and its owner is asked only when it has one.
DWORD WineUserObjects()
{
    using FrameInfoFn = HCURSOR(WINAPI*)(HCURSOR, DWORD, DWORD, DWORD*, DWORD*);
    static const auto pfnFrameInfo = reinterpret_cast<FrameInfoFn>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("user32.dll"), "GetCursorFrameInfo")));
    const DWORD lastError = ::GetLastError();
    const DWORD self = ::GetCurrentProcessId();
    DWORD n = 0;
    for (UINT_PTR h = 0x20; h < 0xFFF0; h += 2) {
        DWORD rate = 0, steps = 0, owner = 0;
        if (::IsMenu((HMENU)h))
            ++n;
        else if (pfnFrameInfo && pfnFrameInfo((HCURSOR)h, 0, 0, &rate, &steps))
            ++n;
        else if (::GetWindowLongPtrA((HWND)h, GWLP_WNDPROC) && ::GetWindowThreadProcessId((HWND)h, &owner) &&
                 owner == self)
            ++n;
    }
    ::SetLastError(lastError);
    return n;
}

}  // namespace

DWORD UserObjects()
{
    // Windows counts them; Wine 8 answers 0, and there the table is walked.
    if (DWORD n = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS))
        return n;
    return UnderWine() ? WineUserObjects() : 0;
}

SIZE_T PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX pmc = {};
    pmc.cb = sizeof pmc;
    if (::GetProcessMemoryInfo(::GetCurrentProcess(), (PROCESS_MEMORY_COUNTERS*)&pmc, sizeof pmc) && pmc.PrivateUsage)
        return pmc.PrivateUsage;
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION mbi;
    for (const BYTE* p = nullptr; ::VirtualQuery(p, &mbi, sizeof mbi) == sizeof mbi;
         p = (const BYTE*)mbi.BaseAddress + mbi.RegionSize) {
        if (mbi.State == MEM_COMMIT && mbi.Type == MEM_PRIVATE)
            total += mbi.RegionSize;
    }
    return total;
}
