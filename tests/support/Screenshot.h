// Screenshots for people to look at: what is on the screen, as a 24-bit
// BMP file. Tests check pixels themselves; these only show what was there.
#pragma once
#include <windows.h>
#include <string>

// The window as it is on the screen, frame included.
bool SaveWindowBitmap(HWND hWnd, const char* path);
// A rectangle of the screen.
bool SaveScreenBitmap(const RECT& rect, const char* path);
// "<build>/screenshots/<name>" for the running test program (which lives in
// <build>/tests), the folder created if need be.
std::string ScreenshotPath(const char* name);
