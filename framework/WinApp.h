// CWinApp: the one application object; the program's entry runs it.
#pragma once
#include <windows.h>
#include "String.h"

class CWnd;

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Runs the program; the program ends when it returns (the application
    // has no message loop of its own).
    virtual BOOL InitInstance() { return FALSE; }
    virtual int ExitInstance() { return 0; }

    CWnd* m_pMainWnd = nullptr;
};

CWinApp* GetApp();
// The program file's name without its extension: the caption of boxes that
// have none of their own.
const char* GetAppName();
// A message box owned by the main window (if any), captioned with the
// application name.
int AppMessageBox(LPCSTR lpszText, UINT nType = MB_OK);
int AppMessageBox(UINT nIDPrompt, UINT nType = MB_OK);
// The entry shared by the program's WinMain.
int AppWinMain();
