// fakeshell.dll: an in-process stand-in for the Shell's window collection.
// Registered for CLSID_ShellWindows in a test prefix, it hands the unmodified
// program a collection of fake browsers and logs every reference change and
// every Refresh, so a test can prove which pages reloaded when and that all
// references were given back. Format of config and log: fakeshell_protocol.h.
#include "fakeshell_protocol.h"
#include "WebBrowserNotImpl.h"

#include <windows.h>
#include <exdisp.h>
#include <oleauto.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace {

// ---------------------------------------------------------------- log
// Plain arrays only: this state is used from DLL_PROCESS_DETACH, when the
// C++ runtime's static destructors may already have run.
HANDLE g_log = INVALID_HANDLE_VALUE;

void OpenLog(const char* path)
{
    if (g_log != INVALID_HANDLE_VALUE)
        CloseHandle(g_log);
    // FILE_APPEND_DATA: every WriteFile lands at the end even when the driver
    // and a second collection write to the same file.
    g_log = CreateFileA(path, FILE_APPEND_DATA,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// One event per WriteFile, unbuffered, so a process that is killed later
// still leaves every line it wrote.
void Log(const char* fmt, ...)
{
    if (g_log == INVALID_HANDLE_VALUE)
        return;
    char line[512];
    int n = std::snprintf(line, sizeof line, "%llu ",
                          static_cast<unsigned long long>(GetTickCount64()));
    va_list args;
    va_start(args, fmt);
    int m = std::vsnprintf(line + n, sizeof line - n - 1, fmt, args);
    va_end(args);
    if (m < 0)
        return;
    n += (m < static_cast<int>(sizeof line) - n - 1) ? m : static_cast<int>(sizeof line) - n - 2;
    line[n++] = '\n';
    DWORD written = 0;
    WriteFile(g_log, line, static_cast<DWORD>(n), &written, nullptr);
}

// ---------------------------------------------------------------- counts
// Every object's count lives here, not in the object, so the counts of
// objects already deleted can still be reported at unload.
struct Tracked {
    char id[16];
    LONG count;
};
constexpr int kMaxTracked = 256;
Tracked g_tracked[kMaxTracked];
LONG g_nTracked;
LONG g_liveObjects;   // objects not yet deleted
LONG g_serverLocks;   // IClassFactory::LockServer

// Returns the slot of a new object, or -1 when the table is full (the object
// then works but is not reported).
int Track(const char* prefix, int number)
{
    LONG slot = InterlockedIncrement(&g_nTracked) - 1;
    if (slot >= kMaxTracked)
        return -1;
    std::snprintf(g_tracked[slot].id, sizeof g_tracked[slot].id, "%s%d", prefix, number);
    g_tracked[slot].count = 1;
    return static_cast<int>(slot);
}

const char* TrackedId(int slot) { return slot >= 0 ? g_tracked[slot].id : "?"; }

// Reference counting shared by every fake: the count is the tracked one and
// the object deletes itself when it reaches zero.
class CountedObject {
public:
    CountedObject(const char* prefix, int number, const std::string& name)
        : m_slot(Track(prefix, number)), m_fallbackCount(1)
    {
        InterlockedIncrement(&g_liveObjects);
        Log("create %s %s", TrackedId(m_slot), name.c_str());
    }
    virtual ~CountedObject() { InterlockedDecrement(&g_liveObjects); }
    CountedObject(const CountedObject&) = delete;
    CountedObject& operator=(const CountedObject&) = delete;

protected:
    ULONG DoAddRef()
    {
        LONG n = InterlockedIncrement(CountCell());
        Log("addref %s %ld", TrackedId(m_slot), static_cast<long>(n));
        return static_cast<ULONG>(n);
    }
    ULONG DoRelease()
    {
        LONG n = InterlockedDecrement(CountCell());
        Log("release %s %ld", TrackedId(m_slot), static_cast<long>(n));
        if (n == 0)
            delete this;
        return static_cast<ULONG>(n);
    }
    const char* Id() const { return TrackedId(m_slot); }

private:
    LONG* CountCell() { return m_slot >= 0 ? &g_tracked[m_slot].count : &m_fallbackCount; }
    int m_slot;
    LONG m_fallbackCount;
};

std::wstring Utf8ToWide(const std::string& s)
{
    if (s.empty())
        return std::wstring();
    int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), &w[0], n);
    return w;
}

// ---------------------------------------------------------------- config
struct Entry {
    enum Kind { Browser, Other, Empty } kind;
    HWND notify;
    std::string name;   // UTF-8
};

struct Config {
    bool failCreate = false;
    bool failShellWindows = false;
    std::vector<Entry> entries;
};

// Reads the file named by the environment (see fakeshell_protocol.h) and
// opens the log it names. A missing variable or file gives an empty
// collection, which is what the real one reports on an idle desktop.
Config ReadConfig()
{
    Config cfg;
    char path[MAX_PATH];
    DWORD len = GetEnvironmentVariableA(FAKESHELL_CONFIG_ENV, path, sizeof path);
    if (len == 0 || len >= sizeof path)
        return cfg;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return cfg;
    std::string text;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(file, buf, sizeof buf, &got, nullptr) && got > 0)
        text.append(buf, got);
    CloseHandle(file);

    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        size_t sp = line.find(' ');
        std::string key = line.substr(0, sp);
        std::string rest = sp == std::string::npos ? std::string() : line.substr(sp + 1);
        if (key == "log") {
            OpenLog(rest.c_str());
        } else if (key == "fail") {
            if (rest == "create")
                cfg.failCreate = true;
            else if (rest == "shellwindows")
                cfg.failShellWindows = true;
        } else if (key == "browser") {
            size_t sp2 = rest.find(' ');
            std::string hwndText = rest.substr(0, sp2);
            Entry e{Entry::Browser, nullptr,
                    sp2 == std::string::npos ? std::string() : rest.substr(sp2 + 1)};
            if (hwndText != "-")
                e.notify = reinterpret_cast<HWND>(
                    static_cast<UINT_PTR>(std::strtoull(hwndText.c_str(), nullptr, 0)));
            cfg.entries.push_back(e);
        } else if (key == "other") {
            cfg.entries.push_back(Entry{Entry::Other, nullptr, std::string()});
        } else if (key == "empty") {
            cfg.entries.push_back(Entry{Entry::Empty, nullptr, std::string()});
        }
    }
    return cfg;
}

// ---------------------------------------------------------------- objects
// IDispatch is implemented only as far as a dual interface must exist: the
// program calls the vtable directly, never through Invoke.
#define FAKE_DISPATCH_STUBS                                                              \
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override                         \
    {                                                                                    \
        if (n) *n = 0;                                                                   \
        return E_NOTIMPL;                                                                \
    }                                                                                    \
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** p) override            \
    {                                                                                    \
        if (p) *p = nullptr;                                                             \
        return E_NOTIMPL;                                                                \
    }                                                                                    \
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)      \
        override { return E_NOTIMPL; }                                                   \
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,  \
                                     EXCEPINFO*, UINT*) override { return E_NOTIMPL; }

// A collection entry that is a window but not a browser: the program must
// skip it (QueryInterface for IWebBrowser2 fails with E_NOINTERFACE).
class FakeOther : public IDispatch, private CountedObject {
public:
    explicit FakeOther(int number) : CountedObject("o", number, "(other)") {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_IDispatch)
            return E_NOINTERFACE;
        *ppv = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return DoAddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return DoRelease(); }
    FAKE_DISPATCH_STUBS
};

class FakeBrowser : public WebBrowserNotImpl, private CountedObject {
public:
    FakeBrowser(int number, const Entry& entry)
        : CountedObject("b", number, entry.name), m_number(number), m_notify(entry.notify),
          m_name(entry.name), m_wideName(Utf8ToWide(entry.name))
    {
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_IDispatch && riid != IID_IWebBrowser &&
            riid != IID_IWebBrowserApp && riid != IID_IWebBrowser2)
            return E_NOINTERFACE;
        *ppv = static_cast<IWebBrowser2*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return DoAddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return DoRelease(); }

    // IWebBrowser: the two calls the program makes, the rest refused.
    HRESULT STDMETHODCALLTYPE Refresh() override
    {
        ++m_refreshes;
        Log("refresh %s %s", Id(), m_name.c_str());
        if (m_notify) {
            static const UINT msg = RegisterWindowMessageA(FAKESHELL_RELOAD_MSG);
            PostMessageA(m_notify, msg, static_cast<WPARAM>(m_number),
                         static_cast<LPARAM>(m_refreshes));
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_LocationName(BSTR* name) override
    {
        if (!name)
            return E_POINTER;
        // An empty name is a valid, empty BSTR (a page without a title yet).
        *name = SysAllocStringLen(m_wideName.data(), static_cast<UINT>(m_wideName.size()));
        return *name ? S_OK : E_OUTOFMEMORY;
    }

private:
    int m_number;
    HWND m_notify;
    std::string m_name;
    std::wstring m_wideName;
    LONG m_refreshes = 0;
};

LONG g_nCollections;

#define NOTIMPL(name, ...) \
    HRESULT STDMETHODCALLTYPE name(__VA_ARGS__) override { return E_NOTIMPL; }

class FakeShellWindows : public IShellWindows, private CountedObject {
public:
    explicit FakeShellWindows(const Config& cfg)
        : CountedObject("coll", static_cast<int>(InterlockedIncrement(&g_nCollections)),
                        "(collection)"),
          m_refuseShellWindows(cfg.failShellWindows)
    {
        // The collection owns one reference to each of its windows.
        int number = 0;
        for (const Entry& e : cfg.entries) {
            IDispatch* d = nullptr;
            if (e.kind == Entry::Browser)
                d = new FakeBrowser(number, e);
            else if (e.kind == Entry::Other)
                d = new FakeOther(number);
            m_items.push_back(d);
            ++number;
        }
    }
    ~FakeShellWindows() override
    {
        for (IDispatch* d : m_items)
            if (d)
                d->Release();
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        bool shellWindows = riid == IID_IShellWindows;
        if (shellWindows && m_refuseShellWindows) {
            Log("fail shellwindows");
            return E_NOINTERFACE;
        }
        if (riid != IID_IUnknown && riid != IID_IDispatch && !shellWindows)
            return E_NOINTERFACE;
        *ppv = static_cast<IShellWindows*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return DoAddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return DoRelease(); }

    FAKE_DISPATCH_STUBS

    HRESULT STDMETHODCALLTYPE get_Count(LONG* count) override
    {
        if (!count)
            return E_POINTER;
        *count = static_cast<LONG>(m_items.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Item(VARIANT index, IDispatch** folder) override
    {
        if (!folder)
            return E_POINTER;
        *folder = nullptr;
        VARIANT i;
        VariantInit(&i);
        if (FAILED(VariantChangeType(&i, &index, 0, VT_I4)))
            return E_INVALIDARG;
        // Like the real collection: an index past the end is S_FALSE, no object.
        if (i.lVal < 0 || static_cast<size_t>(i.lVal) >= m_items.size())
            return S_FALSE;
        *folder = m_items[static_cast<size_t>(i.lVal)];
        if (*folder)
            (*folder)->AddRef();
        return S_OK;
    }
    NOTIMPL(_NewEnum, IUnknown**)
    NOTIMPL(Register, IDispatch*, LONG, int, LONG*)
    NOTIMPL(RegisterPending, LONG, VARIANT*, VARIANT*, int, LONG*)
    NOTIMPL(Revoke, LONG)
    NOTIMPL(OnNavigate, LONG, VARIANT*)
    NOTIMPL(OnActivated, LONG, VARIANT_BOOL)
    NOTIMPL(FindWindowSW, VARIANT*, VARIANT*, int, LONG*, int, IDispatch**)
    NOTIMPL(OnCreated, LONG, IUnknown*)
    NOTIMPL(ProcessAttachDetach, VARIANT_BOOL)

private:
    bool m_refuseShellWindows;
    std::vector<IDispatch*> m_items;
};

// A static object: COM may hold it only while the DLL is loaded, and its
// count does not keep the DLL alive (LockServer does).
class ClassFactory : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_IClassFactory)
            return E_NOINTERFACE;
        *ppv = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        Config cfg = ReadConfig();
        if (cfg.failCreate) {
            Log("fail create");
            return E_FAIL;
        }
        FakeShellWindows* coll = new (std::nothrow) FakeShellWindows(cfg);
        if (!coll)
            return E_OUTOFMEMORY;
        HRESULT hr = coll->QueryInterface(riid, ppv);
        coll->Release();   // the creation reference; on failure this deletes it
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override
    {
        if (lock)
            InterlockedIncrement(&g_serverLocks);
        else
            InterlockedDecrement(&g_serverLocks);
        return S_OK;
    }
};

ClassFactory g_factory;

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH) {
        // The proof that every reference came back: one line per object.
        LONG n = g_nTracked < kMaxTracked ? g_nTracked : kMaxTracked;
        for (LONG i = 0; i < n; ++i)
            Log("final %s %ld", g_tracked[i].id, static_cast<long>(g_tracked[i].count));
        Log("unload");
        if (g_log != INVALID_HANDLE_VALUE)
            CloseHandle(g_log);
        g_log = INVALID_HANDLE_VALUE;
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (clsid != CLSID_ShellWindows)
        return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(riid, ppv);
}

STDAPI DllCanUnloadNow()
{
    return (g_liveObjects == 0 && g_serverLocks == 0) ? S_OK : S_FALSE;
}
