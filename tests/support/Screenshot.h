// Screenshots for people (tests probe pixels themselves): 24-bit BMP files
// captured from the screen in-process.
#pragma once
#include <windows.h>
#include <string>

// The window's whole rectangle as it is on the screen.
bool SaveWindowBitmap(HWND hWnd, const char* path);
bool SaveScreenBitmap(const RECT& rect, const char* path);
// <build>/screenshots/<name>, next to the folder of the test program; the
// folder is created when missing.
std::string ScreenshotPath(const char* name);
