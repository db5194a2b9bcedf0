// What the end-to-end tests and the gallery share: the unmodified program over
// the registered fake, driven from outside. However a test ends, the program
// is killed, the mouse button let go and the fake unregistered.
#pragma once
#include "Driver.h"
#include "Harness.h"
#include "res/resource.h"
#include <commctrl.h>
#include <cctype>
#include <cstdlib>
#include <memory>

inline std::string Env(const char* name) { const char* v = std::getenv(name); return v ? v : ""; }
inline RECT Rect(HWND h) { RECT r = {}; ::GetWindowRect(h, &r); return r; }
inline POINT Centre(HWND h) { RECT r = Rect(h); return { (r.left + r.right) / 2, (r.top + r.bottom) / 2 }; }

// The keyboard focus (or the capture) of the window's thread.
inline HWND Focus(HWND h, bool capture = false)
{
    GUITHREADINFO gti = { sizeof gti };
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(h, nullptr), &gti);
    return capture ? gti.hwndCapture : gti.hwndFocus;
}

// Clicks into an edit box of the foreground window and types over its text
// (digits, small letters): keys go to the foreground thread's focus.
inline bool TypeInto(HWND edit, const std::string& text)
{
    const HWND top = ::GetAncestor(edit, GA_ROOT);
    ::SetForegroundWindow(top);
    ClickAt(Centre(edit));
    if (!WaitFor([&] { return ::GetForegroundWindow() == top && Focus(edit) == edit; }, 4000))
        return false;
    for (char c : std::string(1, VK_END) + std::string(6, VK_BACK) + text)
        PressKey((WORD)std::toupper((unsigned char)c));
    char now[32] = "";
    return WaitFor([&] { return Ask(edit, WM_GETTEXT, sizeof now, (LPARAM)now) >= 0 && text == now; }, 4000);
}

class ProgramTest : public testing::Test {
protected:
    void SetUp() override
    {
        for (const char* v : { "VESKAR_EXE", "FAKESHELL_DLL" })
            ASSERT_NE(::GetFileAttributesA(ToWindowsPath(Env(v)).c_str()), INVALID_FILE_ATTRIBUTES) << v << ": no file";
        ASSERT_TRUE(reg.ok);
    }
    void TearDown() override
    {
        if (::GetAsyncKeyState(VK_LBUTTON) < 0)
            MouseUp();
        MoveMouseTo(Away());
        prog.reset();
    }
    // The program over a fake configured with these lines.
    void Start(const std::vector<std::string>& lines)
    {
        MoveMouseTo(Away());
        ConfigureFake(log, lines);
        prog = std::make_unique<Program>(ToWindowsPath(Env("VESKAR_EXE")));
        ASSERT_TRUE(prog->ok()) << Env("VESKAR_EXE");
    }
    HWND MainDialog() const { return WaitForMainDialog(prog->pid(), 15000); }

    const std::string log = MakeWorkDir("veskar-e2e") + "\\fakeshell.log";
    FakeRegistration reg{ ToWindowsPath(Env("FAKESHELL_DLL")) };
    std::unique_ptr<Program> prog;  // killed before the registration goes
};
