#include "MouseInput.h"
#include "TestSupport.h"

POINT ScreenPoint(HWND hWnd, int x, int y)
{
    POINT pt = { x, y };
    ::ClientToScreen(hWnd, &pt);
    return pt;
}

namespace {

INPUT Mouse(DWORD flags, LONG dx = 0, LONG dy = 0)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = dx;
    in.mi.dy = dy;
    in.mi.dwFlags = flags;
    return in;
}

void Send(DWORD flags, LONG dx = 0, LONG dy = 0)
{
    INPUT in = Mouse(flags, dx, dy);
    ::SendInput(1, &in, sizeof in);
}

// Absolute input is in 1/65536 of the screen; rounding up maps back to
// exactly the pixel asked for.
LONG Normalised(LONG v, int size)
{
    return (LONG)(((long long)v * 65536 + size - 1) / size);
}

INPUT MoveInput(POINT screen)
{
    return Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, Normalised(screen.x, ::GetSystemMetrics(SM_CXSCREEN)),
                 Normalised(screen.y, ::GetSystemMetrics(SM_CYSCREEN)));
}

}  // namespace

void MoveMouseTo(POINT screen, bool flush)
{
    INPUT in = MoveInput(screen);
    ::SendInput(1, &in, sizeof in);
    if (flush)
        FlushMessages();
}

void ClickAt(POINT screen, int clicks, bool flush)
{
    INPUT in[5] = { MoveInput(screen) };
    UINT n = 1;
    for (int i = 0; i < clicks && n + 2 <= 5; ++i) {
        in[n++] = Mouse(MOUSEEVENTF_LEFTDOWN);
        in[n++] = Mouse(MOUSEEVENTF_LEFTUP);
    }
    ::SendInput(n, in, sizeof in[0]);
    if (flush)
        FlushMessages();
}

void PressKey(WORD vk, bool flush)
{
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, in, sizeof in[0]);
    if (flush)
        FlushMessages();
}

void MouseDown(bool flush)
{
    Send(MOUSEEVENTF_LEFTDOWN);
    if (flush)
        FlushMessages();
}

void MouseUp(bool flush)
{
    Send(MOUSEEVENTF_LEFTUP);
    if (flush)
        FlushMessages();
}

void MouseUpIfDown()
{
    if (::GetAsyncKeyState(VK_LBUTTON) < 0)
        MouseUp();
}
