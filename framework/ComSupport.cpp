// The three support functions the toolchain's COM classes expect from a
// support library that MinGW does not ship.
#include <comdef.h>
#include <oleauto.h>

namespace _com_util {

BSTR WINAPI ConvertStringToBSTR(const char* pSrc)
{
    if (!pSrc)
        return nullptr;
    int n = ::MultiByteToWideChar(CP_ACP, 0, pSrc, -1, nullptr, 0);
    if (n <= 0)
        _com_issue_error(HRESULT_FROM_WIN32(::GetLastError()));
    BSTR b = ::SysAllocStringLen(nullptr, (UINT)(n - 1));
    if (!b)
        _com_issue_error(E_OUTOFMEMORY);
    ::MultiByteToWideChar(CP_ACP, 0, pSrc, -1, b, n);
    return b;
}

char* WINAPI ConvertBSTRToString(BSTR pSrc)
{
    if (!pSrc)
        return nullptr;
    int len = (int)::SysStringLen(pSrc) + 1;  // with the terminator
    int n = ::WideCharToMultiByte(CP_ACP, 0, pSrc, len, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        _com_issue_error(HRESULT_FROM_WIN32(::GetLastError()));
    char* s = new (std::nothrow) char[n];
    if (!s)
        _com_issue_error(E_OUTOFMEMORY);
    ::WideCharToMultiByte(CP_ACP, 0, pSrc, len, s, n, nullptr, nullptr);
    return s;
}

}  // namespace _com_util

// Raises hr as a _com_error, with the object's error information when the
// object says it supplies some for riid.
void WINAPI _com_issue_errorex(HRESULT hr, IUnknown* punk, REFIID riid)
{
    IErrorInfo* perrinfo = nullptr;
    if (punk) {
        ISupportErrorInfo* psei = nullptr;
        if (SUCCEEDED(punk->QueryInterface(IID_ISupportErrorInfo, (void**)&psei)) && psei) {
            if (psei->InterfaceSupportsErrorInfo(riid) == S_OK) {
                if (::GetErrorInfo(0, &perrinfo) != S_OK)
                    perrinfo = nullptr;
            }
            psei->Release();
        }
    }
    // The error takes over the reference GetErrorInfo gave us.
    __mingw_com_error_handler(hr, perrinfo);
}
