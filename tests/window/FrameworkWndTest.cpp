// Window objects: message maps, default processing, reflection, subclassing
// and the window procedure boundary.
#include "framework/Controls.h"
#include "TestSupport.h"
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_calls;

class MapWnd : public CWnd {
public:
    void OnTimer(UINT_PTR id) { g_calls.push_back("base timer " + std::to_string(id)); }
    void OnRefresh() { g_calls.push_back("base clicked 1000"); }
    void OnRange(UINT id) { g_calls.push_back("base range " + std::to_string(id)); }
    void OnDestroy() { g_calls.push_back("base destroy"); Default(); }
    LRESULT OnThrow(WPARAM, LPARAM) { throw std::runtime_error("handler failed"); }
    void PreSubclassWindow() override
    {
        // The object knows its window, but the window's procedure is not ours yet.
        sawHandle = m_hWnd != nullptr;
        procStillOld = ::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC) != (LONG_PTR)StdWndProc;
    }
    void PostNcDestroy() override { ++postNcDestroys; }
    bool sawHandle = false;
    bool procStillOld = false;
    int postNcDestroys = 0;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MapWnd, CWnd)
    ON_WM_TIMER()
    ON_BN_CLICKED(1000, OnRefresh)
    ON_COMMAND_RANGE(2000, 2009, OnRange)
    ON_WM_DESTROY()
    ON_MESSAGE(WM_APP + 7, OnThrow)
END_MESSAGE_MAP()

class DerivedWnd : public MapWnd {
public:
    void OnTimer(UINT_PTR id) { g_calls.push_back("derived timer " + std::to_string(id)); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedWnd, MapWnd)
    ON_WM_TIMER()
END_MESSAGE_MAP()

HWND NewPopup(const char* cls = "STATIC")
{
    return ::CreateWindowExA(0, cls, "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                             ::GetModuleHandleA(nullptr), nullptr);
}

void Command(HWND h, UINT id, UINT code = BN_CLICKED)
{
    ::SendMessageA(h, WM_COMMAND, MAKEWPARAM(id, code), 0);
}

class FrameworkWnd : public testing::Test {
protected:
    void SetUp() override { g_calls.clear(); }
};

TEST_F(FrameworkWnd, MapTakesItsMessagesAndTheRestGetsDefaultProcessing)
{
    HWND h = NewPopup();
    MessageRecorder previous(h, { WM_TIMER, WM_COMMAND, WM_USER + 1, WM_SETTEXT });
    MapWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(h));
    EXPECT_TRUE(wnd.sawHandle);
    EXPECT_TRUE(wnd.procStillOld);
    EXPECT_EQ(CWnd::FromHandlePermanent(h), &wnd);

    ::SendMessageA(h, WM_TIMER, 5, 0);
    Command(h, 1000);
    Command(h, 2003);
    Command(h, 1000, BN_DOUBLECLICKED);  // other code: not the clicked entry
    Command(h, 2010);                    // outside the range
    ::SendMessageA(h, WM_USER + 1, 0, 0);
    ::SetWindowTextA(h, "kept by the previous procedure");

    EXPECT_EQ(g_calls, (std::vector<std::string>{ "base timer 5", "base clicked 1000", "base range 2003" }));
    EXPECT_SEQUENCE(previous.messages,
                    (std::vector<UINT>{ WM_COMMAND, WM_COMMAND, WM_USER + 1, WM_SETTEXT }),
                    "only what the map does not take reaches the previous procedure");
    EXPECT_STREQ(wnd.GetWindowText(), "kept by the previous procedure");
    ::DestroyWindow(h);
}

TEST_F(FrameworkWnd, DerivedEntriesComeFirstAndBaseEntriesStillApply)
{
    HWND h = NewPopup();
    DerivedWnd wnd;
    wnd.SubclassWindow(h);
    ::SendMessageA(h, WM_TIMER, 9, 0);
    Command(h, 1000);
    EXPECT_EQ(g_calls, (std::vector<std::string>{ "derived timer 9", "base clicked 1000" }));
    ::DestroyWindow(h);
}

TEST_F(FrameworkWnd, DestroyingTheWindowDetachesTheObject)
{
    HWND h = NewPopup();
    MapWnd wnd;
    wnd.SubclassWindow(h);
    ::DestroyWindow(h);
    EXPECT_EQ(g_calls, (std::vector<std::string>{ "base destroy" }));
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
    EXPECT_EQ(wnd.postNcDestroys, 1);
}

TEST_F(FrameworkWnd, ObjectDyingFirstGivesThePreviousProcedureBack)
{
    HWND h = NewPopup();
    LONG_PTR original = ::GetWindowLongPtrA(h, GWLP_WNDPROC);
    {
        MapWnd wnd;
        wnd.SubclassWindow(h);
        EXPECT_NE(::GetWindowLongPtrA(h, GWLP_WNDPROC), original);
    }
    EXPECT_EQ(::GetWindowLongPtrA(h, GWLP_WNDPROC), original);
    ::SendMessageA(h, WM_TIMER, 1, 0);  // nobody left to hear it
    EXPECT_TRUE(g_calls.empty());
    ::DestroyWindow(h);
}

TEST_F(FrameworkWnd, ObjectDyingUnderAnotherSubclassKeepsTheChainWorking)
{
    HWND h = NewPopup();
    auto wnd = std::make_unique<MapWnd>();
    wnd->SubclassWindow(h);
    MessageRecorder above(h, { WM_USER + 2 });  // stacked on top of ours
    wnd.reset();
    ::SendMessageA(h, WM_USER + 2, 0, 0);
    ::SetWindowTextA(h, "still works");
    char text[32] = "";
    ::GetWindowTextA(h, text, sizeof text);
    EXPECT_STREQ(text, "still works");
    EXPECT_EQ(above.messages.size(), 1u);
    ::DestroyWindow(h);
}

TEST_F(FrameworkWnd, HandlerExceptionsStopAtTheWindowProcedure)
{
    HWND h = NewPopup();
    MapWnd wnd;
    wnd.SubclassWindow(h);
    EXPECT_EQ(::SendMessageA(h, WM_APP + 7, 0, 0), 0);
    ::SendMessageA(h, WM_TIMER, 3, 0);  // and the window goes on working
    EXPECT_EQ(g_calls, (std::vector<std::string>{ "base timer 3" }));
    ::DestroyWindow(h);
}

TEST_F(FrameworkWnd, CreateExHooksTheObjectBeforeTheFirstMessage)
{
    class Created : public CWnd {
    public:
        LRESULT WindowProc(UINT m, WPARAM w, LPARAM l) override
        {
            if (first == 0)
                first = m;
            return CWnd::WindowProc(m, w, l);
        }
        UINT first = 0;
    } wnd;
    ASSERT_TRUE(wnd.CreateEx(0, "STATIC", "x", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    // The hook attaches before WM_GETMINMAXINFO/WM_NCCREATE, the window's first messages.
    EXPECT_TRUE(wnd.first == WM_GETMINMAXINFO || wnd.first == WM_NCCREATE) << std::hex << wnd.first;
    wnd.DestroyWindow();
    EXPECT_EQ(wnd.m_hWnd, nullptr);
}

// ---- reflection ---------------------------------------------------------------

class ReflectingButton : public CButton {
public:
    void OnClickedHere() { g_calls.push_back("child took click"); }
    void DrawItem(LPDRAWITEMSTRUCT dis) override { lastDrawnId = dis->CtlID; ++draws; }
    UINT lastDrawnId = 0;
    int draws = 0;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ReflectingButton, CButton)
    ON_CONTROL_REFLECT(BN_CLICKED, OnClickedHere)
END_MESSAGE_MAP()

class Parent : public CWnd {
public:
    void OnChildClicked() { g_calls.push_back("parent took click"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Parent, CWnd)
    ON_BN_CLICKED(77, OnChildClicked)
    ON_BN_CLICKED(78, OnChildClicked)
END_MESSAGE_MAP()

TEST_F(FrameworkWnd, ParentOffersChildNotificationsToTheChildFirst)
{
    Parent parent;
    ASSERT_TRUE(parent.CreateEx(0, "STATIC", "", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 100), nullptr, 0));
    ReflectingButton reflecting;
    ASSERT_TRUE(reflecting.Create("a", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 50, 20), &parent, 77));
    CButton plain;
    ASSERT_TRUE(plain.Create("b", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(60, 0, 110, 20), &parent, 78));
    FlushMessages();
    g_calls.clear();

    reflecting.draws = 0;
    ::RedrawWindow(reflecting.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_GE(reflecting.draws, 1) << "the parent's WM_DRAWITEM reaches the button's DrawItem";
    EXPECT_EQ(reflecting.lastDrawnId, 77u);
    reflecting.SendMessage(BM_CLICK);
    plain.SendMessage(BM_CLICK);
    EXPECT_EQ(g_calls, (std::vector<std::string>{ "child took click", "parent took click" }));
    parent.DestroyWindow();
}

}  // namespace
