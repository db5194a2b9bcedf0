// Helpers shared by the window tests: message pumping, seams, recorders.
#pragma once
#include <windows.h>
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
