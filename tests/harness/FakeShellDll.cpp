// fakeshell.dll: the fake collection in-process server. Registered for
// CLSID_ShellWindows in a Wine prefix, it hands the unmodified program a
// collection made from a text file named by FAKESHELL_CONFIG, one entry a
// line: "log <path>", "fail create", "fail shellwindows", "browser <hwnd or
// -> <UTF-8 name>", "other" (no browser), "empty" (no object). Every event
// goes to the log; at unload, the final count of every object it made.
#include "FakeShell.h"
#include <algorithm>
#include <cstdlib>

namespace {

FakeLog g_log;

std::wstring Wide(const std::string& utf8)
{
    std::wstring w(utf8.size() + 1, L'\0');
    w.resize((size_t)::MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, &w[0], (int)w.size()) - 1);
    return w;
}

std::vector<std::string> ConfigLines()
{
    char path[MAX_PATH] = "";
    std::string text;
    if (::GetEnvironmentVariableA("FAKESHELL_CONFIG", path, sizeof path)) {
        HANDLE f = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        char buf[4096];
        DWORD got = 0;
        while (f != INVALID_HANDLE_VALUE && ::ReadFile(f, buf, sizeof buf, &got, nullptr) && got)
            text.append(buf, got);
        if (f != INVALID_HANDLE_VALUE)
            ::CloseHandle(f);
    }
    std::vector<std::string> lines;
    for (size_t pos = 0, end; pos < text.size(); pos = end + 1) {
        end = text.find('\n', pos);
        lines.push_back(text.substr(pos, end == std::string::npos ? std::string::npos : end - pos));
        if (end == std::string::npos)
            break;
    }
    return lines;
}

// A collection as the config file says, or null when it says "fail create".
FakeShellWindows* MakeCollection()
{
    const std::vector<std::string> lines = ConfigLines();
    for (const std::string& l : lines)
        if (l.compare(0, 4, "log ") == 0 && !g_log.file)
            // Appended to by every process that writes it.
            g_log.file = ::CreateFileA(l.c_str() + 4, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_ALWAYS, 0, nullptr);
    for (const std::string& l : lines)
        if (l == "fail create") {
            g_log.Add("fail create");
            return nullptr;
        }
    auto* coll = new FakeShellWindows(&g_log);
    for (const std::string& l : lines) {
        const std::string tag = "b" + std::to_string(coll->windows.size());
        if (l == "fail shellwindows")
            coll->offersShellWindows = false;
        else if (l.compare(0, 8, "browser ") == 0)
            // "browser <hwnd or -> <name>": the name may be empty.
            coll->Add(Wide(l.substr(std::min(l.find(' ', 8) + 1, l.size()))).c_str(), tag,
                      l[8] == '-' ? nullptr : (HWND)(UINT_PTR)std::strtoull(l.c_str() + 8, nullptr, 0));
        else if (l == "other")
            coll->Add(L"", tag)->isBrowser = false;
        else if (l == "empty")
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
