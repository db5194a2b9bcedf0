// The COM support functions the toolchain's smart types rely on.
#include "FakeShell.h"
#include "TestSupport.h"
#include <comdef.h>

namespace {

TEST(ComSupport, RaisedErrorCarriesTheObjectsErrorInformationForItsInterface)
{
    FakeLog log;
    FakeShellWindows shell(&log);
    shell.countResult = RPC_E_DISCONNECTED;
    LONG count = 0;
    HRESULT hr = shell.get_Count(&count);  // leaves its error information with the thread
    try {
        _com_issue_errorex(hr, static_cast<IShellWindows*>(&shell), __uuidof(IShellWindows));
        FAIL() << "no error raised";
    } catch (const _com_error& e) {
        EXPECT_EQ(e.Error(), RPC_E_DISCONNECTED);
        IErrorInfo* info = e.ErrorInfo();  // adds a reference
        EXPECT_EQ(info, static_cast<IErrorInfo*>(&shell.errors.errorInfo));
        if (info)
            info->Release();
        EXPECT_STREQ((const char*)e.Description(), "injected failure");
    }
    EXPECT_EQ(shell.errors.errorInfo.refs, 1) << "the error gave its reference back";
    EXPECT_EQ(shell.refs, 1) << "asking for ISupportErrorInfo left no reference behind";
}

TEST(ComSupport, ErrorForAnotherInterfaceCarriesTheResultAlone)
{
    FakeLog log;
    FakeShellWindows shell(&log);
    try {
        _com_issue_errorex(E_FAIL, static_cast<IShellWindows*>(&shell), __uuidof(IWebBrowser));
        FAIL() << "no error raised";
    } catch (const _com_error& e) {
        EXPECT_EQ(e.Error(), E_FAIL);
        EXPECT_EQ(e.ErrorInfo(), nullptr);
    }
    try {
        _com_issue_errorex(E_OUTOFMEMORY, nullptr, IID_IUnknown);
        FAIL() << "no error raised";
    } catch (const _com_error& e) {
        EXPECT_EQ(e.Error(), E_OUTOFMEMORY);
    }
}

TEST(ComSupport, StringConversionsUseTheAnsiCodePage)
{
    _bstr_t text(Gbk(L"网页Veskar").c_str());  // ANSI -> BSTR
    EXPECT_EQ(std::wstring((const wchar_t*)text), L"网页Veskar");
    _bstr_t back(L"关于 Corvalle");
    EXPECT_EQ(std::string((const char*)back), Gbk(L"关于 Corvalle"));  // BSTR -> ANSI
}

}  // namespace
