#include "FakeShell.h"
#include "framework/Seams.h"

STDMETHODIMP FakeErrorInfo::QueryInterface(REFIID riid, void** ppv)
{
    if (riid == IID_IUnknown || riid == IID_IErrorInfo) {
        *ppv = static_cast<IErrorInfo*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP FakeErrorSource::InterfaceSupportsErrorInfo(REFIID riid)
{
    wchar_t text[64];
    ::StringFromGUID2(riid, text, 64);
    char narrow[64];
    ::WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    m_log->calls.push_back("ErrorInfo? " + m_name + " " + narrow);
    return riid == m_iid ? S_OK : S_FALSE;
}

HRESULT FakeErrorSource::Fail(HRESULT hr)
{
    ::SetErrorInfo(0, &errorInfo);
    return hr;
}

FakeBrowser::FakeBrowser(const wchar_t* n, FakeLog* log, const char* t)
    : name(n), tag(t), errors(this, __uuidof(IWebBrowser), log, t), m_log(log)
{
}

FakeBrowser::~FakeBrowser() = default;

STDMETHODIMP FakeBrowser::QueryInterface(REFIID riid, void** ppv)
{
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
        *ppv = static_cast<IWebBrowser2*>(this);
    } else if (riid == IID_ISupportErrorInfo) {
        *ppv = static_cast<ISupportErrorInfo*>(&errors);
    } else if (riid == __uuidof(IWebBrowser2)) {
        if (FAILED(queryResult))
            return queryResult;
        if (HRESULT hr = fault ? fault("QueryInterface") : S_OK; FAILED(hr))
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

STDMETHODIMP_(ULONG) FakeBrowser::Release()
{
    ++releases;
    if (onRelease)
        onRelease();
    return (ULONG)--refs;
}

STDMETHODIMP FakeBrowser::get_LocationName(BSTR* pName)
{
    m_log->calls.push_back("LocationName " + tag);
    *pName = nullptr;
    if (FAILED(nameResult))
        return errors.Fail(nameResult);
    if (HRESULT hr = fault ? fault("LocationName") : S_OK; FAILED(hr))
        return errors.Fail(hr);
    if (!nullName)
        *pName = ::SysAllocStringLen(name.data(), (UINT)name.size());
    return S_OK;
}

STDMETHODIMP FakeBrowser::Refresh()
{
    m_log->calls.push_back("Refresh " + tag);
    ++refreshes;
    if (HRESULT hr = fault ? fault("Refresh") : S_OK; FAILED(hr))
        return hr;
    return refreshResult;
}

FakeShellWindows::FakeShellWindows(FakeLog* log)
    : errors(this, __uuidof(IShellWindows), log, "shell"), m_log(log)
{
}

FakeShellWindows::~FakeShellWindows() = default;

STDMETHODIMP FakeShellWindows::QueryInterface(REFIID riid, void** ppv)
{
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
        *ppv = static_cast<IShellWindows*>(this);
    } else if (riid == __uuidof(IShellWindows)) {
        if (!offersShellWindows)
            return E_NOINTERFACE;
        *ppv = static_cast<IShellWindows*>(this);
    } else if (riid == IID_ISupportErrorInfo) {
        *ppv = static_cast<ISupportErrorInfo*>(&errors);
    } else {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP FakeShellWindows::get_Count(LONG* count)
{
    m_log->calls.push_back("Count");
    *count = 0;
    if (FAILED(countResult))
        return errors.Fail(countResult);
    if (HRESULT hr = fault ? fault("Count") : S_OK; FAILED(hr))
        return errors.Fail(hr);
    *count = (LONG)windows.size();
    return S_OK;
}

STDMETHODIMP FakeShellWindows::Item(VARIANT index, IDispatch** folder)
{
    *folder = nullptr;
    if (V_VT(&index) != VT_I4)
        return E_INVALIDARG;
    LONG i = V_I4(&index);
    m_log->calls.push_back("Item " + std::to_string(i));
    if (i == failItemAt)
        return errors.Fail(itemResult);
    if (HRESULT hr = fault ? fault("Item") : S_OK; FAILED(hr))
        return errors.Fail(hr);
    if (i < 0 || i >= (LONG)windows.size())
        return S_FALSE;
    if (FakeBrowser* b = windows[(size_t)i]) {
        b->AddRef();
        *folder = static_cast<IWebBrowser2*>(b);
    }
    return S_OK;
}

FakeBrowser* FakeShellWindows::Add(const wchar_t* name, const char* tag)
{
    m_owned.push_back(std::make_unique<FakeBrowser>(name, m_log, tag));
    windows.push_back(m_owned.back().get());
    return m_owned.back().get();
}

namespace {
ScopedShellFactory* g_factory = nullptr;
}

ScopedShellFactory::ScopedShellFactory(FakeShellWindows* shell, HRESULT hr)
    : m_previous(g_pfnCoCreateInstance), m_shell(shell), m_hr(hr)
{
    g_factory = this;
    g_pfnCoCreateInstance = Create;
}

ScopedShellFactory::~ScopedShellFactory()
{
    g_pfnCoCreateInstance = m_previous;
    g_factory = nullptr;
}

HRESULT WINAPI ScopedShellFactory::Create(REFCLSID clsid, LPUNKNOWN, DWORD, REFIID riid, LPVOID* ppv)
{
    *ppv = nullptr;
    ++g_factory->creations;
    if (clsid != CLSID_ShellWindows)
        return REGDB_E_CLASSNOTREG;
    if (FAILED(g_factory->m_hr) || !g_factory->m_shell)
        return FAILED(g_factory->m_hr) ? g_factory->m_hr : REGDB_E_CLASSNOTREG;
    return g_factory->m_shell->QueryInterface(riid, ppv);
}
