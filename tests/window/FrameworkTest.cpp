// The framework under the program: message maps, window objects coming and going, the exception boundary, the
// modal loop, the COM error helper; and the generated pictures' contracts the drawing relies on.
#include "Harness.h"
#include "FakeShell.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/Gdi.h"
#include "res/resource.h"
#include <comdef.h>
#include <memory>
#include <stdexcept>

namespace {

std::vector<std::string> g_calls;

struct MapWnd : CWnd {
    void OnTimer(UINT_PTR id) { g_calls.push_back("base timer " + std::to_string(id)); }
    void OnClicked() { g_calls.push_back("base clicked"); }
    LRESULT OnThrow(WPARAM, LPARAM) { throw std::runtime_error("handler failed"); }
    void PreSubclassWindow() override { procWasOld = GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC) != (LONG_PTR)StdWndProc; }
    LRESULT WindowProc(UINT m, WPARAM w, LPARAM l) override
    {
        first = first ? first : m;
        return CWnd::WindowProc(m, w, l);
    }
    bool procWasOld = false;
    UINT first = 0;  // the first message it saw
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(MapWnd, CWnd)
    ON_WM_TIMER()
    ON_BN_CLICKED(1000, OnClicked)
    ON_MESSAGE(WM_APP + 7, OnThrow)
END_MESSAGE_MAP()

struct DerivedWnd : MapWnd {
    void OnTimer(UINT_PTR id) { g_calls.push_back("derived timer " + std::to_string(id)); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(DerivedWnd, MapWnd)
    ON_WM_TIMER()
END_MESSAGE_MAP()

HWND Popup() { return ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 99, 99, nullptr, nullptr, nullptr, nullptr); }
void Command(HWND h, UINT id, UINT code = BN_CLICKED) { ::SendMessageA(h, WM_COMMAND, MAKEWPARAM(id, code), 0); }

// Offers a key to its OK button and then meets a quit, logging who is offered the key.
struct LoopDialog : CDialog {
    LoopDialog() : CDialog(IDD_ABOUTBOX, nullptr) {}
    struct Watched : CButton {
        BOOL PreTranslateMessage(MSG* m) override { return Log("button", m); }
    } ok;
    static BOOL Log(const char* who, MSG* m)
    {
        if (m->message == WM_KEYDOWN)
            g_calls.push_back(who);
        return FALSE;
    }
    BOOL PreTranslateMessage(MSG* m) override { return Log("dialog", m) || CDialog::PreTranslateMessage(m); }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        ok.SubclassWindow(GetDlgItem(IDOK));
        ::PostMessageA(ok, WM_KEYDOWN, 'Q', 0);
        ::PostQuitMessage(17);
        return FALSE;
    }
};

}  // namespace

// Maps take their messages, derived first, past a throwing handler; window objects keep the chain as they go.
TEST_F(WindowTest, MapsAndWindowObjectsKeepTheChainOfProcedures)
{
    g_calls.clear();
    HWND h = Popup();
    MessageRecorder previous(h, { WM_COMMAND, WM_USER + 1, WM_SETTEXT });
    DerivedWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(h));
    EXPECT_TRUE(wnd.procWasOld) << "told before it takes the procedure";
    ::SendMessageA(h, WM_TIMER, 5, 0);
    EXPECT_EQ(::SendMessageA(h, WM_APP + 7, 0, 0), 0);  // a throw stops at the procedure; the window goes on
    Command(h, 1000);
    Command(h, 1000, BN_DOUBLECLICKED);  // another code: not the clicked entry
    Command(h, 1001);
    ::SendMessageA(h, WM_USER + 1, 0, 0);
    ::SetWindowTextA(h, "x");
    EXPECT_EQ(g_calls, (std::vector<std::string>{ "derived timer 5", "base clicked" }));
    EXPECT_EQ(previous.messages, (std::vector<UINT>{ WM_COMMAND, WM_COMMAND, WM_USER + 1, WM_SETTEXT }));

    // The object going first gives the procedure back.
    h = Popup();
    const LONG_PTR original = ::GetWindowLongPtrA(h, GWLP_WNDPROC);
    std::make_unique<MapWnd>()->SubclassWindow(h);
    EXPECT_EQ(::GetWindowLongPtrA(h, GWLP_WNDPROC), original);
    // ... or, under another subclass, keeps forwarding to it.
    auto under = std::make_unique<MapWnd>();
    under->SubclassWindow(h);
    {
        MessageRecorder above(h, { WM_GETDLGCODE });
        under.reset();
        EXPECT_EQ(::SendMessageA(h, WM_GETDLGCODE, 0, 0), DLGC_STATIC) << "the class's own answer";
        EXPECT_EQ(above.messages.size(), 1u);
    }
    EXPECT_EQ(::SendMessageA(h, WM_GETDLGCODE, 0, 0), DLGC_STATIC) << "once the subclass above has gone too";
    // Created: the object sees the window's very first message.
    MapWnd created;
    ASSERT_TRUE(created.CreateEx(0, "STATIC", "x", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    EXPECT_TRUE(created.first == WM_GETMINMAXINFO || created.first == WM_NCCREATE) << created.first;
}

TEST_F(WindowTest, ModalLoopOffersKeysFromTheTargetUpAndPassesQuitOn)
{
    g_calls.clear();
    LoopDialog dialog;
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_EQ(g_calls, (std::vector<std::string>{ "button", "dialog" }));
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 17u);
}

// A raised error carries the object's error information only for its own interface, and gives references back.
TEST_F(WindowTest, ComErrorsCarryTheObjectsInformationForItsInterfaceOnly)
{
    FakeLog log;
    FakeShellWindows shell(&log);
    struct Case { REFIID iid; bool carried; } cases[] = { { __uuidof(IShellWindows), true },
                                                          { __uuidof(IWebBrowser2), false } };
    for (const Case& c : cases) {
        shell.FailOn("count", RPC_E_DISCONNECTED);
        LONG count = 0;
        HRESULT hr = shell.get_Count(&count);  // leaves its error information with the thread
        try {
            _com_issue_errorex(hr, static_cast<IShellWindows*>(&shell), c.iid);
            ADD_FAILURE() << "nothing raised";
        } catch (const _com_error& e) {
            EXPECT_EQ(e.Error(), RPC_E_DISCONNECTED);
            IErrorInfo* info = e.ErrorInfo();  // a reference of its own
            EXPECT_EQ(info, c.carried ? &shell.errorInfo : nullptr);
            if (info)
                info->Release();
        }
        ::SetErrorInfo(0, nullptr);
        EXPECT_EQ(shell.refs, 1);
        EXPECT_EQ(shell.errorInfo.refs, 1);
    }
}

// Tiles join without seams, strips differ only in their own face, the button slices' edges stretch unchanged, caps
// continue the header, and icons and the hand have see-through corners (the hand's hot spot on the hand).
TEST_F(WindowTest, GeneratedPicturesKeepTheContractsOfTheirDrawing)
{
    auto uniformRows = [](const Shot& s, const RECT& r) {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (s.At(x, y) != s.At(r.left, y))
                    return false;
        return true;
    };
    EXPECT_TRUE(uniformRows(Shot::OfBitmap(IDB_CAPTION_BAR), { 0, 0, 117, 23 }));
    EXPECT_TRUE(uniformRows(Shot::OfBitmap(IDB_SKIN_BACKGROUND), { 0, 0, 7, 250 }));
    for (UINT id : { IDB_BUTTON_NORMAL, IDB_BUTTON_HOVER, IDB_BUTTON_FOCUS, IDB_BUTTON_PRESSED }) {
        const Shot f = Shot::OfBitmap(id);
        EXPECT_TRUE(uniformRows(f, { 3, 0, 70, 3 }) && uniformRows(f, { 3, 18, 70, 21 })) << id;
    }
    const Shot normal = Shot::OfBitmap(IDB_CAPTION_NORMAL);
    const UINT strips[] = { IDB_CAPTION_MIN_HOT, IDB_CAPTION_MIN_DOWN, IDB_CAPTION_MID_HOT,
                            IDB_CAPTION_MID_DOWN, IDB_CAPTION_CLOSE_HOT, IDB_CAPTION_CLOSE_DOWN };
    for (int i = 0; i < 6; ++i) {  // two a face: minimise, middle, close
        const Shot s = Shot::OfBitmap(strips[i]);
        ASSERT_EQ(s.px.size(), 79u * 15);
        int changed = 0, stray = 0;
        for (int y = 0; y < 15; ++y)
            for (int x = 0; x < 79; ++x) {
                const bool own = x > 26 * (i / 2) && x < 26 * (i / 2) + 26, differs = s.At(x, y) != normal.At(x, y);
                changed += own && differs;
                stray += (!own && differs) + (x % 26 == 0 && s.At(x, y) != s.At(0, 0));  // faces and separators
            }
        EXPECT_TRUE(changed > 100 && stray == 0) << strips[i] << ": " << changed << " changed, " << stray << " stray";
    }
    const Shot mid = Shot::OfBitmap(IDB_HEADER_MIDDLE), left = Shot::OfBitmap(IDB_HEADER_LEFT_CAP),
               right = Shot::OfBitmap(IDB_HEADER_RIGHT_CAP), top = Shot::OfBitmap(IDB_VBAR_TOP);
    for (int y = 0; y < 16; ++y)
        EXPECT_TRUE(left.At(1, y) == mid.At(0, y) && right.At(0, y) == mid.At(0, y) && top.At(5, y) == mid.At(0, y))
            << y;
    struct Image { UINT id, type; int size; } images[] = { { IDR_MAINFRAME, IMAGE_ICON, 32 },
        { IDR_MAINFRAME, IMAGE_ICON, 16 }, { IDI_WEB, IMAGE_ICON, 32 }, { IDI_MAIL, IMAGE_ICON, 32 },
        { IDI_MESSENGER, IMAGE_ICON, 16 }, { IDC_CURSOR_HAND, IMAGE_CURSOR, 32 } };
    for (const Image& i : images) {
        HANDLE h = ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(i.id), i.type, i.size, i.size, 0);
        ICONINFO info = {};
        ASSERT_TRUE(h && ::GetIconInfo((HICON)h, &info)) << i.id;
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        CSelectObject sel(dc, info.hbmMask);
        EXPECT_NE(::GetPixel(dc, 0, 0), 0u) << i.id << " corner";
        EXPECT_TRUE(i.type != IMAGE_CURSOR || ::GetPixel(dc, info.xHotspot, info.yHotspot) == 0) << "hot spot";
        ::DeleteObject(info.hbmMask);
        ::DeleteObject(info.hbmColor);
        i.type == IMAGE_CURSOR ? ::DestroyCursor((HCURSOR)h) : ::DestroyIcon((HICON)h);
    }
}
