// The few calls whose effects leave the process go through these pointers,
// so that tests can observe them without opening a browser or blocking on a
// box. The program never changes them: they hold the real calls.
#pragma once
#include <windows.h>
#include <oaidl.h>

extern int (WINAPI* g_pfnMessageBox)(HWND, LPCSTR, LPCSTR, UINT);
extern HINSTANCE (WINAPI* g_pfnShellExecute)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
extern HRESULT (WINAPI* g_pfnCoCreateInstance)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
// Part of the rebuild's temporaries; replaceable so that tests can make it fail.
extern HRESULT (WINAPI* g_pfnVariantClear)(VARIANTARG*);
// The apartment's entry and exits, counted by tests.
extern HRESULT (WINAPI* g_pfnCoInitialize)(LPVOID);
extern void (WINAPI* g_pfnCoUninitialize)();
