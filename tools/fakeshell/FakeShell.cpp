#include "FakeShell.h"
#include <cstdio>

void FakeLog::Add(const std::string& event)
{
    calls.push_back(event);
    if (!file)
        return;
    // One line a WriteFile: a process killed later loses nothing written.
    char line[600];
    int n = std::snprintf(line, sizeof line, "%llu %.540s\n", (unsigned long long)::GetTickCount64(), event.c_str());
    DWORD written = 0;
    ::WriteFile((HANDLE)file, line, (DWORD)n, &written, nullptr);
}

STDMETHODIMP FakeErrorInfo::QueryInterface(REFIID riid, void** ppv)
{
    *ppv = riid == IID_IUnknown || riid == IID_IErrorInfo ? static_cast<IErrorInfo*>(this) : nullptr;
    if (!*ppv)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

namespace {
// Every object a logging fake made, for the report at unload; plain arrays,
// since that report runs when static destructors may have run already.
FakeObject* g_made[256];
char g_madeTags[256][16];
LONG g_finalRefs[256];
int g_nMade;
}

FakeObject::FakeObject(FakeLog* log, std::string t, const std::string& what) : tag(std::move(t)), m_log(log)
{
    if (m_log->file && g_nMade < 256) {
        g_made[g_nMade] = this;
        std::snprintf(g_madeTags[g_nMade++], 16, "%s", tag.c_str());
        m_log->Add("create " + tag + " " + what);
    }
}

FakeObject::~FakeObject()
{
    for (int i = 0; i < g_nMade; ++i)
        if (g_made[i] == this) {
            g_made[i] = nullptr;
            g_finalRefs[i] = refs;
        }
}

void FakeObject::ReportFinalCounts(FakeLog* log)
{
    for (int i = 0; i < g_nMade; ++i)
        log->Add(std::string("final ") + g_madeTags[i] + " " +
                 std::to_string(g_made[i] ? g_made[i]->refs : g_finalRefs[i]));
}

ULONG FakeObject::Counted(bool add)
{
    if (add) {
        ++addRefs;
        ++refs;
    } else {
        ++releases;
        if (onRelease)
            onRelease();
        --refs;
    }
    const LONG n = refs;
    if (m_log->file) {
        m_log->Add(std::string(add ? "addref " : "release ") + tag + " " + std::to_string(n));
        if (n == 0)
            delete this;
    }
    return (ULONG)n;
}

HRESULT FakeObject::Call(const std::string& event, bool errorInfoOnFailure)
{
    m_log->Add(event);
    HRESULT hr = fault ? fault(event) : S_OK;
    if (FAILED(hr) && errorInfoOnFailure)
        ::SetErrorInfo(0, &errorInfo);
    return hr;
}

HRESULT FakeObject::SupportsErrorInfo(REFIID riid, REFIID mine)
{
    wchar_t text[64];
    ::StringFromGUID2(riid, text, 64);
    char narrow[64];
    ::WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    m_log->Add("errorinfo " + tag + " " + narrow);
    return riid == mine ? S_OK : S_FALSE;
}

FakeBrowser::FakeBrowser(FakeLog* log, const wchar_t* n, const std::string& t, HWND hNotify)
    : FakeObject(log, t, "browser"), name(n), notify(hNotify)
{
}

STDMETHODIMP FakeBrowser::QueryInterface(REFIID riid, void** ppv)
{
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
        *ppv = static_cast<IWebBrowser2*>(this);
    } else if (riid == IID_ISupportErrorInfo) {
        *ppv = static_cast<ISupportErrorInfo*>(this);
    } else if (riid == IID_IWebBrowser2) {
        if (HRESULT hr = Call("query " + tag, false); FAILED(hr))  // QueryInterface sets no error information
            return hr;
        if (!isBrowser)
            return E_NOINTERFACE;
        *ppv = static_cast<IWebBrowser2*>(this);
    } else {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP FakeBrowser::InterfaceSupportsErrorInfo(REFIID riid)
{
    return SupportsErrorInfo(riid, IID_IWebBrowser);
}

STDMETHODIMP FakeBrowser::get_LocationName(BSTR* pName)
{
    *pName = nullptr;
    if (HRESULT hr = Call("name " + tag); FAILED(hr))
        return hr;
    if (!nullName)
        *pName = ::SysAllocStringLen(name.data(), (UINT)name.size());
    return S_OK;
}

STDMETHODIMP FakeBrowser::Refresh()
{
    ++refreshes;
    HRESULT hr = Call("refresh " + tag);
    if (notify) {
        static const UINT msg = ::RegisterWindowMessageA("FakeShellReload");
        ::PostMessageA(notify, msg, 0, refreshes);
    }
    return hr;
}

FakeShellWindows::FakeShellWindows(FakeLog* log) : FakeObject(log, "shell", "collection")
{
}

FakeShellWindows::~FakeShellWindows()
{
    if (m_log->file)
        for (FakeBrowser* b : windows)
            if (b)
                b->Release();
}

STDMETHODIMP FakeShellWindows::QueryInterface(REFIID riid, void** ppv)
{
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDispatch || (riid == IID_IShellWindows && offersShellWindows))
        *ppv = static_cast<IShellWindows*>(this);
    else if (riid == IID_ISupportErrorInfo)
        *ppv = static_cast<ISupportErrorInfo*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP FakeShellWindows::InterfaceSupportsErrorInfo(REFIID riid)
{
    return SupportsErrorInfo(riid, IID_IShellWindows);
}

STDMETHODIMP FakeShellWindows::get_Count(LONG* count)
{
    *count = 0;
    if (HRESULT hr = Call("count"); FAILED(hr))
        return hr;
    *count = (LONG)windows.size();
    return S_OK;
}

STDMETHODIMP FakeShellWindows::Item(VARIANT index, IDispatch** folder)
{
    *folder = nullptr;
    if (V_VT(&index) != VT_I4)
        return E_INVALIDARG;
    const LONG i = V_I4(&index);
    if (HRESULT hr = Call("item " + std::to_string(i)); FAILED(hr))
        return hr;
    // Like the real collection: an index past the end is S_FALSE, no object.
    if (i < 0 || i >= (LONG)windows.size())
        return S_FALSE;
    if (FakeBrowser* b = windows[(size_t)i]) {
        b->AddRef();
        *folder = static_cast<IWebBrowser2*>(b);
    }
    return S_OK;
}

FakeBrowser* FakeShellWindows::Add(const wchar_t* n, const std::string& t, HWND notify)
{
    auto* b = new FakeBrowser(m_log, n, t, notify);
    if (!m_log->file)
        m_owned.emplace_back(b);  // the test's; a logging fake's go with their last Release
    windows.push_back(b);
    return b;
}
