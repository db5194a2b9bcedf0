// In-process fakes of the Shell's window collection and of browsers. Each
// object counts its references to the unit and logs the calls it serves;
// every call can be told to fail.
#pragma once
#include "WebBrowserNotImpl.h"
#include <exdisp.h>
#include <oaidl.h>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Calls in the order they arrived, e.g. "Refresh A".
struct FakeLog {
    std::vector<std::string> calls;
    std::vector<std::string> Take() { auto c = std::move(calls); calls.clear(); return c; }
};

// An error information object, counted like the others.
class FakeErrorInfo : public IErrorInfo {
public:
    LONG refs = 1;
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return (ULONG)++refs; }
    STDMETHODIMP_(ULONG) Release() override { return (ULONG)--refs; }  // owned by the test
    STDMETHODIMP GetGUID(GUID* g) override { *g = GUID_NULL; return S_OK; }
    STDMETHODIMP GetSource(BSTR* b) override { *b = ::SysAllocString(L"fake"); return S_OK; }
    STDMETHODIMP GetDescription(BSTR* b) override { *b = ::SysAllocString(L"injected failure"); return S_OK; }
    STDMETHODIMP GetHelpFile(BSTR* b) override { *b = nullptr; return S_OK; }
    STDMETHODIMP GetHelpContext(DWORD* c) override { *c = 0; return S_OK; }
};

// Answers ISupportErrorInfo for one interface and logs who asked for what.
class FakeErrorSource : public ISupportErrorInfo {
public:
    FakeErrorSource(IUnknown* outer, IID iid, FakeLog* log, const char* name)
        : m_outer(outer), m_iid(iid), m_log(log), m_name(name) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return m_outer->QueryInterface(riid, ppv); }
    STDMETHODIMP_(ULONG) AddRef() override { return m_outer->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return m_outer->Release(); }
    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID riid) override;
    // Fails a call: hands the error information to the thread first.
    HRESULT Fail(HRESULT hr);
    FakeErrorInfo errorInfo;
private:
    IUnknown* m_outer;
    IID m_iid;
    FakeLog* m_log;
    std::string m_name;
};

class FakeBrowser : public WebBrowserNotImpl {
public:
    FakeBrowser(const wchar_t* name, FakeLog* log, const char* tag);
    ~FakeBrowser() override;

    // IUnknown: counted; the test owns the first reference and the object.
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { ++addRefs; return (ULONG)++refs; }
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP get_LocationName(BSTR* name) override;
    STDMETHODIMP Refresh() override;

    LONG refs = 1;
    int addRefs = 0;
    int releases = 0;
    int refreshes = 0;
    bool isBrowser = true;          // false: QueryInterface(IWebBrowser2) says E_NOINTERFACE
    bool nullName = false;          // get_LocationName gives a null BSTR
    HRESULT queryResult = S_OK;     // failure of QueryInterface(IWebBrowser2)
    HRESULT nameResult = S_OK;      // failure of get_LocationName
    HRESULT refreshResult = S_OK;   // what Refresh answers
    // Asked before every call ("QueryInterface", "LocationName", "Refresh"):
    // a failure code fails that call, for faults that come and go.
    std::function<HRESULT(const char* call)> fault;
    // Runs inside Release before the count drops, as a Release into another
    // process lets the caller's messages run while it waits.
    std::function<void()> onRelease;
    std::wstring name;
    std::string tag;
    FakeErrorSource errors;
private:
    FakeLog* m_log;
};

class FakeShellWindows : public IShellWindows {
public:
    explicit FakeShellWindows(FakeLog* log);
    virtual ~FakeShellWindows();

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { ++addRefs; return (ULONG)++refs; }
    STDMETHODIMP_(ULONG) Release() override { ++releases; return (ULONG)--refs; }
    // IDispatch
    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return E_NOTIMPL; }
    // IShellWindows
    STDMETHODIMP get_Count(LONG* count) override;
    STDMETHODIMP Item(VARIANT index, IDispatch** folder) override;
    STDMETHODIMP _NewEnum(IUnknown**) override { return E_NOTIMPL; }
    STDMETHODIMP Register(IDispatch*, LONG, int, LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP RegisterPending(LONG, VARIANT*, VARIANT*, int, LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP Revoke(LONG) override { return E_NOTIMPL; }
    STDMETHODIMP OnNavigate(LONG, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP OnActivated(LONG, VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP FindWindowSW(VARIANT*, VARIANT*, int, LONG*, int, IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP OnCreated(LONG, IUnknown*) override { return E_NOTIMPL; }
    STDMETHODIMP ProcessAttachDetach(VARIANT_BOOL) override { return E_NOTIMPL; }

    // The windows in collection order; a null entry is an item without object.
    FakeBrowser* Add(const wchar_t* name, const char* tag);
    void AddEmptySlot() { windows.push_back(nullptr); }

    LONG refs = 1;
    int addRefs = 0;
    int releases = 0;
    HRESULT countResult = S_OK;
    int failItemAt = -1;            // index whose Item call fails
    HRESULT itemResult = E_FAIL;
    bool offersShellWindows = true; // false: QueryInterface(IShellWindows) fails
    // Asked before every "Count" and "Item" call; a failure code fails it.
    std::function<HRESULT(const char* call)> fault;
    std::vector<FakeBrowser*> windows;
    FakeErrorSource errors;
private:
    std::vector<std::unique_ptr<FakeBrowser>> m_owned;
    FakeLog* m_log;
};

// Makes the program's CoCreateInstance hand out `shell` (or fail with hr)
// for its lifetime.
class ScopedShellFactory {
public:
    explicit ScopedShellFactory(FakeShellWindows* shell, HRESULT hr = S_OK);
    ~ScopedShellFactory();
    int creations = 0;
private:
    static HRESULT WINAPI Create(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
    HRESULT (WINAPI* m_previous)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
    FakeShellWindows* m_shell;
    HRESULT m_hr;
};
