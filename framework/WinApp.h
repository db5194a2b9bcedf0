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

    // Runs the program; FALSE ends it without a message loop of the application's.
    virtual BOOL InitInstance() { return FALSE; }
    virtual int ExitInstance() { return 0; }
    // The application's own message loop, entered only if InitInstance says TRUE.
    virtual int Run();

    CWnd* m_pMainWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;
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
int AppWinMain(HINSTANCE hInstance);
