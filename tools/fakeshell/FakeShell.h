// The one fake of the Shell's window collection and its browsers. The
// window tests own the objects and read their counts; fakeshell.dll, loaded
// by the unmodified program, lets them delete themselves and writes every
// event to a file. Every call can be told to fail.
#pragma once
#include <exdisp.h>
#include <oaidl.h>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Events in the order they came: "count", "item 2", "query A", "name A",
// "refresh A", "errorinfo A {iid}"; with a file, also "create", "addref" and
// "release" with the count after the call, each line time-stamped.
struct FakeLog {
    std::vector<std::string> calls;
    void* file = nullptr;  // the DLL's log file: every event is appended there
    void Add(const std::string& event);
    std::vector<std::string> Take() { auto c = std::move(calls); calls.clear(); return c; }
};

// The error information a failing call hands to its thread; counted.
class FakeErrorInfo : public IErrorInfo {
public:
    LONG refs = 1;
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return (ULONG)++refs; }
    STDMETHODIMP_(ULONG) Release() override { return (ULONG)--refs; }  // owned by its fake
    STDMETHODIMP GetGUID(GUID* g) override { *g = GUID_NULL; return S_OK; }
    STDMETHODIMP GetSource(BSTR* b) override { *b = ::SysAllocString(L"fake"); return S_OK; }
    STDMETHODIMP GetDescription(BSTR* b) override { *b = ::SysAllocString(L"injected"); return S_OK; }
    STDMETHODIMP GetHelpFile(BSTR* b) override { *b = nullptr; return S_OK; }
    STDMETHODIMP GetHelpContext(DWORD* c) override { *c = 0; return S_OK; }
};

// Reference counting shared by the fakes. With a file log the object deletes
// itself at 0; otherwise its owner does.
class FakeObject {
public:
    FakeObject(FakeLog* log, std::string tag, const std::string& what);
    virtual ~FakeObject();
    FakeObject(const FakeObject&) = delete;
    FakeObject& operator=(const FakeObject&) = delete;
    LONG refs = 1;
    int addRefs = 0, releases = 0;
    std::string tag;
    // Runs inside Release before the count drops, as a Release into another
    // process lets the caller's messages run while it waits.
    std::function<void()> onRelease;
    // The last count of every object the DLL made, for its final report.
    static void ReportFinalCounts(FakeLog* log);
    // Asked before each call with its event ("query A", "name A", "refresh A",
    // "count", "item 2"): a failure code fails that call.
    std::function<HRESULT(const std::string& event)> fault;
    // Fails every call of that event with hr.
    void FailOn(const std::string& event, HRESULT hr)
    { fault = [event, hr](const std::string& e) { return e == event ? hr : S_OK; }; }
    FakeErrorInfo errorInfo;        // handed to the thread with every failure
protected:
    ULONG Counted(bool add);
    // Logs the call; its fault, if any, with the error information set.
    HRESULT Call(const std::string& event, bool errorInfoOnFailure = true);
    HRESULT SupportsErrorInfo(REFIID riid, REFIID mine);
    FakeLog* m_log;
};

#define FAKE_IUNKNOWN                                                                     \
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;                        \
    STDMETHODIMP_(ULONG) AddRef() override { return Counted(true); }                      \
    STDMETHODIMP_(ULONG) Release() override { return Counted(false); }

class FakeBrowser : public IWebBrowser2, public ISupportErrorInfo, public FakeObject {
public:
    FakeBrowser(FakeLog* log, const wchar_t* name, const std::string& tag, HWND notify = nullptr);
    FAKE_IUNKNOWN
    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID riid) override;
    STDMETHODIMP get_LocationName(BSTR* name) override;
    STDMETHODIMP Refresh() override;
#include "WebBrowserStubs.h"

    std::wstring name;
    bool isBrowser = true;          // false: QueryInterface(IWebBrowser2) says E_NOINTERFACE
    bool nullName = false;          // get_LocationName gives a null BSTR
    int refreshes = 0;
    HWND notify;                    // told of each Refresh (the demo's windows)
};

class FakeShellWindows : public IShellWindows, public ISupportErrorInfo, public FakeObject {
public:
    explicit FakeShellWindows(FakeLog* log);
    ~FakeShellWindows() override;
    FAKE_IUNKNOWN
    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID riid) override;
    STDMETHODIMP get_Count(LONG* count) override;
    STDMETHODIMP Item(VARIANT index, IDispatch** folder) override;
    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    { return E_NOTIMPL; }
    STDMETHODIMP _NewEnum(IUnknown**) override { return E_NOTIMPL; }
    STDMETHODIMP Register(IDispatch*, LONG, int, LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP RegisterPending(LONG, VARIANT*, VARIANT*, int, LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP Revoke(LONG) override { return E_NOTIMPL; }
    STDMETHODIMP OnNavigate(LONG, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP OnActivated(LONG, VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP FindWindowSW(VARIANT*, VARIANT*, int, LONG*, int, IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP OnCreated(LONG, IUnknown*) override { return E_NOTIMPL; }
    STDMETHODIMP ProcessAttachDetach(VARIANT_BOOL) override { return E_NOTIMPL; }

    // A window of the collection, in collection order; the collection holds
    // one reference to it. A null entry is an item without object.
    FakeBrowser* Add(const wchar_t* name, const std::string& tag, HWND notify = nullptr);
    void AddEmptySlot() { windows.push_back(nullptr); }

    std::vector<FakeBrowser*> windows;
    bool offersShellWindows = true; // false: QueryInterface(IShellWindows) fails
private:
    std::vector<std::unique_ptr<FakeBrowser>> m_owned;  // in-process only
};

