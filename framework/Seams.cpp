#include "Seams.h"
#include <objbase.h>
#include <shellapi.h>
#include <oleauto.h>

int (WINAPI* g_pfnMessageBox)(HWND, LPCSTR, LPCSTR, UINT) = ::MessageBoxA;
HINSTANCE (WINAPI* g_pfnShellExecute)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT) = ::ShellExecuteA;
HRESULT (WINAPI* g_pfnCoCreateInstance)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*) = ::CoCreateInstance;
HRESULT (WINAPI* g_pfnVariantClear)(VARIANTARG*) = ::VariantClear;
HRESULT (WINAPI* g_pfnCoInitialize)(LPVOID) = ::CoInitialize;
void (WINAPI* g_pfnCoUninitialize)() = ::CoUninitialize;
