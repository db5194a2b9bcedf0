// What the fake Shell window collection (fakeshell.dll) shares with the
// programs that feed it (the end-to-end driver and the demo browsers).
//
// The program under test is unmodified, so the fake is steered from outside:
// it inherits an environment variable naming a text file, read each time a
// collection is created. One setting per line, blank lines and '#' ignored:
//
//   log <path>             append the event log here (ANSI path)
//   fail create            the class factory's CreateInstance returns E_FAIL
//   fail shellwindows      the collection refuses QueryInterface(IShellWindows)
//   browser <hwnd> <name>  a browser window; <hwnd> is '-' or a number (C
//                          notation) of a window that is told of each Refresh;
//                          <name> (UTF-8, may be empty) is the rest of the line
//   other                  an entry that is an IDispatch but no browser
//   empty                  an entry for which Item yields no object
//
// Log lines (UTF-8, one WriteFile each, so a killed process loses nothing):
//   <ms> create <id> <name>      object made (ids: coll<n>, b<n>, o<n>)
//   <ms> addref <id> <count>     count after the call
//   <ms> release <id> <count>
//   <ms> refresh <id> <name>     IWebBrowser2::Refresh was called
//   <ms> fail <what>             a configured failure was delivered
//   <ms> final <id> <count>      at DLL unload, for every object ever made
//   <ms> unload
// <ms> is GetTickCount64(), the same clock in every process of the machine.
#pragma once

#define FAKESHELL_CONFIG_ENV "FAKESHELL_CONFIG"

// Registered message posted to a browser's window on each Refresh:
// wParam = the browser's position in the config, lParam = its refresh count.
#define FAKESHELL_RELOAD_MSG "FakeShellReload"

// {9BA05972-F6A8-11CF-A442-00A0C90A8F39}, the class the program creates.
#define FAKESHELL_CLSID_KEY \
    "Software\\Classes\\CLSID\\{9BA05972-F6A8-11CF-A442-00A0C90A8F39}\\InprocServer32"
