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
