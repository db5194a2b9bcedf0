#include "WinApp.h"
#include "Seams.h"
#include "Wnd.h"
#include <commctrl.h>
#include <cstring>

namespace {
CWinApp* g_pApp = nullptr;
}

CWinApp::CWinApp()
{
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
}

CWinApp* GetApp()
{
    return g_pApp;
}

const char* GetAppName()
{
    static char s_name[MAX_PATH];
    if (!s_name[0]) {
        char path[MAX_PATH] = "";
        ::GetModuleFileNameA(nullptr, path, MAX_PATH);
        // The path is in the ANSI code page: walk it by characters, not bytes.
        const char* base = path;
        for (const char* p = path; *p; p = ::CharNextA(p))
            if (*p == '\\' || *p == '/' || *p == ':')
                base = p + 1;
        lstrcpynA(s_name, base, MAX_PATH);
        char* dot = nullptr;
        for (char* p = s_name; *p; p = ::CharNextA(p))
            if (*p == '.')
                dot = p;
        if (dot)
            *dot = '\0';
    }
    return s_name;
}

int AppMessageBox(LPCSTR lpszText, UINT nType)
{
    HWND hOwner = nullptr;
    if (g_pApp && g_pApp->m_pMainWnd)
        hOwner = g_pApp->m_pMainWnd->m_hWnd;
    if (!hOwner)
        hOwner = ::GetActiveWindow();
    return g_pfnMessageBox(hOwner, lpszText, GetAppName(), nType);
}

int AppMessageBox(UINT nIDPrompt, UINT nType)
{
    CString text;
    text.LoadString(nIDPrompt);
    return AppMessageBox(text, nType);
}

int AppWinMain()
{
    CWinApp* pApp = GetApp();
    if (!pApp)
        return -1;
    pApp->InitInstance();
    return pApp->ExitInstance();
}
