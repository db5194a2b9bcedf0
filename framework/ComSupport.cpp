// The support function the toolchain's COM classes expect from a support
// library that MinGW does not ship, of those the program calls.
#include <comdef.h>
#include <oleauto.h>

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
