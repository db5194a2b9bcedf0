// The main dialog's template as a plain dialog: the stock controls the
// template names, no skin, no painted chrome, and the list filled directly.
// The benchmarks measure the program against it.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

// Rows are inserted at the top one after the other, as the program does.
// Created hidden, for the caller to show without activating it.
HWND CreatePlainDialog(const std::vector<std::string>& rows);
// Runs it modally; it ends on the window menu's Close.
INT_PTR RunPlainDialog(const std::vector<std::string>& rows);
