// Screenshots for people: what is on the screen, written as 24-bit BMP files.
#pragma once
#include <windows.h>

// The window as it stands on the screen, children included.
bool SaveWindowBitmap(HWND hWnd, const char* path);
// A rectangle of the screen.
bool SaveScreenBitmap(const RECT& rect, const char* path);
// "<folder of the test program>\..\screenshots\<name>", folder created.
const char* ScreenshotPath(const char* name);
