// Helpers shared by the window tests: message pumping, seams, recorders.
#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include <vector>
#include <gtest/gtest.h>

// Dispatches pending messages until the queue is idle (bounded in time).
void FlushMessages(DWORD maxMs = 500);
// Dispatches messages for the given time, so that timers can fire.
void PumpFor(DWORD ms);
// Pumps until pred() holds or the time runs out; returns pred().
template <class Pred>
bool PumpUntil(Pred pred, DWORD maxMs)
{
    DWORD start = ::GetTickCount();
    while (!pred()) {
        if (::GetTickCount() - start > maxMs)
            return false;
        PumpFor(10);
    }
    return true;
}

// A user's actions as steps run one after another from a timer of this
// thread, so they run inside whatever modal loop is current (a dialog's, a
// message box's) the way real input is handled there. A step returns false
// to be asked again at the next tick (to wait for something); steps send
// input without dispatching it themselves, or a box they open would run
// inside the step and stop the script.
class TimerScript {
public:
    using Step = std::function<bool()>;
    // After `timeoutMs` the script gives up: `giveUp` runs once (to end
    // whatever modal loop is waiting for the script) and TimedOut() holds.
    TimerScript(std::vector<Step> steps, DWORD timeoutMs = 30000, std::function<void()> giveUp = {});
    ~TimerScript();
    TimerScript(const TimerScript&) = delete;
    TimerScript& operator=(const TimerScript&) = delete;
    bool Done() const { return m_next >= m_steps.size(); }
    bool TimedOut() const { return m_timedOut; }
    // The step that was waiting when the script gave up, counted from 0.
    size_t Stopped() const { return m_next; }
    // Pumps until every step has run or the script gave up.
    bool Run();
private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    std::vector<Step> m_steps;
    std::function<void()> m_giveUp;
    size_t m_next = 0;
    DWORD m_start, m_timeout;
    bool m_busy = false, m_timedOut = false;
    UINT_PTR m_timer = 0;
};

// Text in code page 936 from UTF-8 (test sources are UTF-8; literals in the
// program are GBK already, test literals too, since they share the flags).
std::string Gbk(const wchar_t* text);

// Replaces the message box with a recorder for its lifetime: every box is
// logged and answered with `answer` at once.
class MessageBoxRecorder {
public:
    struct Box { HWND owner; std::string text; std::string caption; UINT type; HWND focusAtShow; };
    explicit MessageBoxRecorder(int answer = IDOK);
    ~MessageBoxRecorder();
    std::vector<Box> boxes;
private:
    static int WINAPI Record(HWND, LPCSTR, LPCSTR, UINT);
    int (WINAPI* m_previous)(HWND, LPCSTR, LPCSTR, UINT);
    int m_answer;
};

// Records the messages a window receives, by subclassing it.
class MessageRecorder {
public:
    explicit MessageRecorder(HWND hWnd, std::vector<UINT> only = {});
    ~MessageRecorder();
    std::vector<UINT> messages;
    void Clear() { messages.clear(); }
private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    HWND m_hWnd;
    WNDPROC m_previous;
    std::vector<UINT> m_only;
};

// Compares a recorded sequence with the expected one, printing both.
#define EXPECT_SEQUENCE(actual, expected, context) \
    EXPECT_EQ(SequenceText(actual), SequenceText(expected)) << (context)
std::string SequenceText(const std::vector<UINT>& messages);

// The process's GDI and USER object counts.
DWORD GdiObjects();
DWORD UserObjects();
// Committed memory of this process that no other process shares:
// PrivateUsage where the system counts it (Windows; Wine 8 answers 0),
// else the committed private regions summed.
SIZE_T PrivateBytes();
