// Long and hostile runs of the main dialog against counted fakes: names no
// browser should have, browsers that fail, disconnect or fail now and then,
// a thousand rebuilds, and a thousand refused periods answered by real
// message boxes. Each run ends with every reference given back.
#include "framework/Seams.h"
#include "MainDialogFixture.h"
#include <memory>
#include <string>
#include <vector>

namespace {

class SoakTest : public MainDialogFixture {
protected:
    // Ends as the window menu's Close does, which lets the collection go too.
    void Close()
    {
        dlg.SendMessage(WM_SYSCOMMAND, SC_CLOSE);
        if (dlg.m_hWnd)
            dlg.DestroyWindow();
    }
    void Rebuild() { Click(IDC_REFRESH); }
    int Rows() const { return dlg.m_listWindows.GetItemCount(); }
    FakeBrowser* RowBrowser(int row) const
    {
        return static_cast<FakeBrowser*>((IWebBrowser2*)dlg.m_listWindows.GetItemData(row));
    }
    // Ticks every `step`-th row from the top and gives the reloads a pass
    // must make: those rows' tags, top down.
    std::vector<std::string> TickEvery(int step)
    {
        std::vector<std::string> expected;
        for (int i = 0; i < Rows(); i += step) {
            dlg.m_listWindows.SetCheck(i, TRUE);
            expected.push_back("Refresh " + RowBrowser(i)->tag);
        }
        return expected;
    }
    std::vector<std::string> Reloads()
    {
        std::vector<std::string> reloads;
        for (std::string& call : log.Take()) {
            if (call.compare(0, 8, "Refresh ") == 0)
                reloads.push_back(std::move(call));
        }
        return reloads;
    }
    void ExpectEveryReferenceBack()
    {
        EXPECT_EQ(shell.refs, 1) << "the collection";
        EXPECT_EQ(shell.errors.errorInfo.refs, 1) << "the collection's error information";
        for (FakeBrowser* w : shell.windows) {
            EXPECT_EQ(w->refs, 1) << w->tag;
            EXPECT_EQ(w->addRefs, w->releases) << w->tag;
            EXPECT_EQ(w->errors.errorInfo.refs, 1) << w->tag << "'s error information";
        }
    }
};

std::string Converted(const std::wstring& name)
{
    // What the system makes of the name in the ANSI code page, up to its
    // first NUL, as a list row can only hold that much.
    int n = ::WideCharToMultiByte(CP_ACP, 0, name.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string text((size_t)n, '\0');
    ::WideCharToMultiByte(CP_ACP, 0, name.c_str(), -1, &text[0], n, nullptr, nullptr);
    text.resize((size_t)n - 1);
    return text;
}

TEST_F(SoakTest, HostileLocationNamesAreListedAsConvertedWithoutCrashOrGrowth)
{
    std::wstring huge((size_t)1 << 20, L'\x754C');  // 1 Mi characters of 界
    huge[12345] = L'x';
    // row: what the list must show; null where only the system can say.
    struct Hostile { const char* what; std::wstring name; const char* row; };
    const Hostile names[] = {
        { "1 MiB", huge, nullptr },
        { "embedded NULs", std::wstring(L"ab\0cd\0ef", 8), "ab" },
        { "NUL first", std::wstring(L"\0hidden", 7), "" },
        { "lone high surrogate", L"x\xD800y", "x?y" },
        { "lone low surrogate", L"x\xDC00y", "x?y" },
        { "pair reversed", L"\xDE00\xD83D", "??" },
        { "outside code page 936", L"\x0E01 \x0915 \xD83D\xDE00", nullptr },
        { "only blanks", L"   ", "   " },
        { "control characters", L"\t\r\n", "\t\r\n" },
    };
    for (const Hostile& h : names)
        shell.Add(h.name.c_str(), h.what)->name = h.name;  // keeps the NULs
    Open();

    const int n = (int)(sizeof names / sizeof names[0]);
    ASSERT_EQ(Rows(), n) << "every named window is listed";
    for (int i = 0; i < n; ++i) {
        const Hostile& h = names[n - 1 - i];
        SCOPED_TRACE(h.what);
        EXPECT_EQ(RowBrowser(i)->tag, h.what);
        std::string row = dlg.m_listWindows.GetItemText(i, 0).str();
        EXPECT_EQ(row, h.row ? std::string(h.row) : Converted(h.name));
    }
    std::string big = dlg.m_listWindows.GetItemText(n - 1, 0).str();
    EXPECT_EQ(big.size(), ((size_t)1 << 21) - 1) << "two bytes a character, one for the x";
    EXPECT_EQ(big.substr(24688, 3), std::string("\xBD\xE7x")) << "界 in code page 936, then the x";
    EXPECT_EQ(Converted(names[6].name).find_first_not_of("? "), std::string::npos);

    // Painted, reloaded and rebuilt again and again: memory comes back.
    ::RedrawWindow(dlg.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    for (int i = 0; i < n; ++i)
        dlg.m_listWindows.SetCheck(i, TRUE);
    RefreshTick();
    EXPECT_EQ(Reloads().size(), (size_t)n);
    Rebuild();
    SIZE_T before = PrivateBytes();
    for (int round = 0; round < 20; ++round)
        Rebuild();
    SIZE_T after = PrivateBytes();
    EXPECT_LT(after, before + 8 * 1024 * 1024)
        << "20 rebuilds over a 1 MiB name: " << before << " -> " << after << " bytes";
    EXPECT_EQ(Rows(), n);

    Close();
    ExpectEveryReferenceBack();
}

// A fault pattern that is the same on every run: about one call in `every`
// fails, with one of the errors a browser's process gives when it is busy,
// gone or broken.
class Flaky {
public:
    Flaky(unsigned seed, unsigned every) : m_state(seed), m_every(every) {}
    HRESULT operator()(const char*)
    {
        static const HRESULT errors[] = { RPC_E_DISCONNECTED, HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE),
                                          RPC_E_CALL_REJECTED, E_FAIL };
        m_state = m_state * 1103515245u + 12345u;
        unsigned r = m_state >> 16;
        return r % m_every == 0 ? errors[(r / m_every) % 4] : S_OK;
    }
private:
    unsigned m_state;
    unsigned m_every;
};

TEST_F(SoakTest, FailingDisconnectingAndFlakyBrowsersNeverStopTheOthers)
{
    const int kWindows = 16;
    std::vector<FakeBrowser*> w;
    for (int i = 0; i < kWindows; ++i) {
        wchar_t name[16];
        char tag[8];
        ::wsprintfW(name, L"Page %02d", i);
        ::wsprintfA(tag, "W%02d", i);
        w.push_back(shell.Add(name, tag));
    }
    // W00 fails every call; W01 and W02 are listed, then their processes go.
    w[0]->fault = [](const char*) { return E_FAIL; };
    w[0]->nameResult = E_FAIL;
    w[0]->refreshResult = E_FAIL;
    Open();
    ASSERT_EQ(Rows(), kWindows - 1) << "the browser that fails everything is not listed";
    w[1]->refreshResult = RPC_E_DISCONNECTED;
    w[2]->refreshResult = HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE);
    std::vector<std::string> expected = TickEvery(1);
    RefreshTick();
    EXPECT_EQ(Reloads(), expected) << "gone browsers are asked, and the rest still reloaded in order";

    // From now on the others, and the collection, fail now and then.
    for (int i = 3; i < kWindows; ++i)
        w[i]->fault = Flaky(1000u + i, 5);
    shell.fault = Flaky(7, 23);
    int passes = 0, emptyLists = 0;
    for (int round = 0; round < 300; ++round) {
        Rebuild();
        if (Rows() == 0)
            ++emptyLists;  // the count itself failed: an empty list, quietly
        for (int i = 0; i < Rows(); ++i) {
            FakeBrowser* b = RowBrowser(i);
            ASSERT_NE(b, w[0]);
            ASSERT_EQ(b->refs, 2) << b->tag << " in round " << round;
        }
        expected = TickEvery(round % 3 + 1);
        RefreshTick();
        ++passes;
        ASSERT_EQ(Reloads(), expected) << "round " << round;
    }
    EXPECT_GT(emptyLists, 0) << "the collection's count failed at least once";
    EXPECT_LT(emptyLists, 60);
    EXPECT_EQ(passes, 300);

    Close();
    ExpectEveryReferenceBack();
}

TEST_F(SoakTest, AThousandRebuildsOverAHundredWindowsKeepReferencesToTheUnit)
{
    for (int i = 0; i < 100; ++i) {
        wchar_t name[16];
        char tag[8];
        ::wsprintfW(name, L"Page %03d", i);
        ::wsprintfA(tag, "P%03d", i);
        shell.Add(name, tag);
    }
    Open();
    for (int round = 0; round < 1000; ++round) {
        Rebuild();
        ASSERT_EQ(Rows(), 100);
        LONG held = 0;
        for (FakeBrowser* b : shell.windows)
            held += b->refs - 1;
        ASSERT_EQ(held, 100) << "one reference a row after rebuild " << round;
        std::vector<std::string> expected = TickEvery(2);
        RefreshTick();
        ASSERT_EQ(Reloads(), expected) << "round " << round;
    }
    int reloads = 0, reloaded = 0;
    for (FakeBrowser* b : shell.windows) {
        reloads += b->refreshes;
        reloaded += b->refreshes > 0;
    }
    EXPECT_EQ(reloads, 50 * 1000);
    EXPECT_EQ(reloaded, 50) << "the same rows come back ticked in every round";
    EXPECT_EQ(shell.refs, 2);
    Close();
    ExpectEveryReferenceBack();
}

// Answers every message box of the thread by closing it, and counts them.
class BoxCloser {
public:
    explicit BoxCloser(HWND dialog) : m_dialog(dialog)
    {
        s_self = this;
        m_hook = ::SetWindowsHookExA(WH_CBT, Hook, nullptr, ::GetCurrentThreadId());
    }
    ~BoxCloser()
    {
        ::UnhookWindowsHookEx(m_hook);
        s_self = nullptr;
    }
    int boxes = 0;
    bool closedEveryBox = true;
private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        HWND hWnd = (HWND)wParam;
        if (code == HCBT_ACTIVATE && hWnd && hWnd != s_self->m_dialog) {
            char cls[16] = "";
            ::GetClassNameA(hWnd, cls, sizeof cls);
            if (std::string(cls) == "#32770") {
                ++s_self->boxes;
                s_self->closedEveryBox &= ::PostMessageA(hWnd, WM_CLOSE, 0, 0) != FALSE;
            }
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static BoxCloser* s_self;
    HWND m_dialog;
    HHOOK m_hook;
};
BoxCloser* BoxCloser::s_self;

BOOL CALLBACK CountWindow(HWND, LPARAM count)
{
    ++*(int*)count;
    return TRUE;
}

int ThreadWindows()
{
    int n = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), CountWindow, (LPARAM)&n);
    return n;
}

TEST_F(SoakTest, AThousandRefusedPeriodsEachGetOneClosedBoxAndLeakNothing)
{
    shell.Add(L"Alpha", "A");
    Open();
    HWND edit = dlg.GetDlgItem(IDC_EDIT_PERIOD);
    ::SetWindowTextA(edit, "17");
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SET, BN_CLICKED), 0);
    ASSERT_EQ(dlg.m_nPeriod, 17u);

    // The real message box, skinned, rather than the test's recorder.
    auto recorder = g_pfnMessageBox;
    g_pfnMessageBox = ::MessageBoxA;
    const char* refused[] = { "0", "10001", "abc", "", "4294967296", "-1", " 12a" };
    auto press = [&](int i) {
        ::SetWindowTextA(edit, refused[i % 7]);
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SET, BN_CLICKED), 0);
    };
    BoxCloser closer(dlg.m_hWnd);
    for (int i = 0; i < 20; ++i)  // warm-up: bitmaps, fonts, caches
        press(i);
    FlushMessages();
    DWORD gdi = GdiObjects(), user = UserObjects();
    int windows = ThreadWindows();
    SIZE_T memory = PrivateBytes();
    const int kPresses = 1000;
    for (int i = 0; i < kPresses; ++i)
        press(i);
    FlushMessages();
    g_pfnMessageBox = recorder;

    EXPECT_EQ(closer.boxes, 20 + kPresses) << "one box a press";
    EXPECT_TRUE(closer.closedEveryBox);
    EXPECT_EQ(dlg.m_nPeriod, 17u);
    EXPECT_EQ(::GetFocus(), edit) << "the box gives the focus back to the refused text";
    EXPECT_EQ(GdiObjects(), gdi);
    EXPECT_EQ(UserObjects(), user);
    EXPECT_EQ(ThreadWindows(), windows);
    EXPECT_LT(PrivateBytes(), memory + memory / 100 + 256 * 1024) << memory << " bytes after warm-up";
    EXPECT_TRUE(boxes.boxes.empty());
}

}  // namespace
