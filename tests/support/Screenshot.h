// Screenshots for people: a part of the screen written as a 24-bit BMP file.
#pragma once
#include <windows.h>

// The screen area `rect` (screen coordinates) as it is now; false on failure.
bool SaveScreenBitmap(const RECT& rect, const char* path);
// The window's whole area as it shows on the screen now.
bool SaveWindowBitmap(HWND hWnd, const char* path);
