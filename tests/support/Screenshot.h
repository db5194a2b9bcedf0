// Screenshots for people (tests probe pixels themselves): 24-bit BMP files
// captured from the screen in-process.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

// The screen's pixels in `rect`: top-down rows of 0x00RRGGBB.
bool CaptureScreen(const RECT& rect, std::vector<DWORD>* pixels);
// Writes such pixels, `width` a row, as a bottom-up 24-bit BMP file.
bool WriteBmp(const char* path, int width, const std::vector<DWORD>& pixels);

// The window's whole rectangle as it is on the screen.
bool SaveWindowBitmap(HWND hWnd, const char* path);
bool SaveScreenBitmap(const RECT& rect, const char* path);
// <build>/screenshots/<name>, next to the folder of the test program; the
// folder is created when missing.
std::string ScreenshotPath(const char* name);
