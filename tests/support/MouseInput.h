// Real mouse input (SendInput), so that capture, hit testing and double
// clicks go through the system as they do for a user.
#pragma once
#include <windows.h>

// A client point of hWnd in screen coordinates.
POINT ScreenPoint(HWND hWnd, int x, int y);
// Moves the pointer; with flush, the messages are dispatched before return
// (without, a modal loop of the test's own dispatches them).
void MoveMouseTo(POINT screen, bool flush = true);
void MouseDown(bool flush = true);
void MouseUp(bool flush = true);
// Lets go of the left button if a test left it held.
void MouseUpIfDown();
// Moves there and clicks (twice: a double click) in one batch of input, so
// that no timer can come between press and release; with flush, the
// messages are dispatched before return.
void ClickAt(POINT screen, int clicks = 1, bool flush = true);
// One key pressed and let go.
void PressKey(WORD vk, bool flush = true);
