#include "MouseInput.h"
#include "TestSupport.h"

POINT ScreenPoint(HWND hWnd, int x, int y)
{
    POINT pt = { x, y };
    ::ClientToScreen(hWnd, &pt);
    return pt;
}

namespace {

void Send(DWORD flags, LONG dx = 0, LONG dy = 0)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = dx;
    in.mi.dy = dy;
    in.mi.dwFlags = flags;
    ::SendInput(1, &in, sizeof in);
}

// Absolute input is in 1/65536 of the screen; rounding up maps back to
// exactly the pixel asked for.
LONG Normalised(LONG v, int size)
{
    return (LONG)(((long long)v * 65536 + size - 1) / size);
}

}  // namespace

void MoveMouseTo(POINT screen, bool flush)
{
    Send(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, Normalised(screen.x, ::GetSystemMetrics(SM_CXSCREEN)),
         Normalised(screen.y, ::GetSystemMetrics(SM_CYSCREEN)));
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
