// The main dialog's template as a plain dialog: the stock controls the
// template names, no skin, no painted chrome, the list filled directly. The
// benchmarks measure the program against it.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

// The rows both start-up programs show.
inline std::vector<std::string> StartupRows() { return { "Alpha 首页", "北京新闻", "Charlie", "天气预报" }; }

// Created hidden (showing it would activate it, which a skin's hook waits
// for), for the caller to show without activating it.
HWND CreatePlainDialog(const std::vector<std::string>& rows);
// Run modally; it ends on the window menu's Close.
INT_PTR RunPlainDialog(const std::vector<std::string>& rows);
