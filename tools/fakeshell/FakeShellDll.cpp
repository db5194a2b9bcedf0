// fakeshell.dll: the fake collection in-process server. Registered for
// CLSID_ShellWindows in a Wine prefix, it hands the unmodified program a
// collection made as the environment variable FAKESHELL_CONFIG says, one
// entry a line: "log <path>", "fail create", "fail shellwindows", "browser
// <hwnd or -> <name>", "other" (no browser), "empty" (no object). Every
// event goes to the log; at unload, the final count of every object it made.
#include "FakeShell.h"
#include <algorithm>
#include <cwchar>
#include <sstream>

namespace {

FakeLog g_log;

// A collection as configured, or null when it says "fail create".
FakeShellWindows* MakeCollection()
{
    std::wstring config(32767, L'\0'), l;
    config.resize(::GetEnvironmentVariableW(L"FAKESHELL_CONFIG", &config[0], (DWORD)config.size()));
    std::vector<std::wstring> lines;
    for (std::wistringstream in(config); std::getline(in, l);)
        lines.push_back(l);
    for (const std::wstring& l : lines)
        if (l.compare(0, 4, L"log ") == 0 && !g_log.file)  // appended to by every process that writes it
            g_log.file = ::CreateFileW(l.c_str() + 4, FILE_APPEND_DATA,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_ALWAYS, 0, nullptr);
    if (std::find(lines.begin(), lines.end(), L"fail create") != lines.end()) {
        g_log.Add("fail create");
        return nullptr;
    }
    auto* coll = new FakeShellWindows(&g_log);
    for (const std::wstring& l : lines) {
        const std::string tag = "b" + std::to_string(coll->windows.size());
        if (l == L"fail shellwindows")
            coll->offersShellWindows = false;
        else if (l.compare(0, 8, L"browser ") == 0)  // the name may be empty
            coll->Add(l.substr(std::min(l.find(L' ', 8) + 1, l.size())).c_str(), tag,
                      l[8] == L'-' ? nullptr : (HWND)(UINT_PTR)std::wcstoull(l.c_str() + 8, nullptr, 0));
        else if (l == L"other")
            coll->Add(L"", tag)->isBrowser = false;
        else if (l == L"empty")
            coll->AddEmptySlot();
    }
    return coll;
}

class ClassFactory : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        *ppv = riid == IID_IUnknown || riid == IID_IClassFactory ? this : nullptr;
        return *ppv ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }  // static: lives with the DLL
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override
    {
        *ppv = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        FakeShellWindows* coll = MakeCollection();
        if (!coll)
            return E_FAIL;
        HRESULT hr = coll->QueryInterface(riid, ppv);
        coll->Release();  // the creation reference
        return hr;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
} g_factory;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_DETACH && g_log.file) {
        FakeObject::ReportFinalCounts(&g_log);
        g_log.Add("unload");
        ::CloseHandle(g_log.file);
        g_log.file = nullptr;
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* ppv)
{
    *ppv = nullptr;
    return clsid == CLSID_ShellWindows ? g_factory.QueryInterface(riid, ppv) : CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow()
{
    return S_FALSE;  // stays until the process ends, so the final counts are complete
}
