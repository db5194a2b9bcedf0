// The unmodified program over fakeshell.dll, driven with real input; the fake's log of reloads and references
// is the proof. The gallery's runs write their pictures to VESKAR_GALLERY_OUT, if set, and check only what the
// window tests cannot see from inside one process. However a test ends, the program is killed.
#include "Driver.h"
#include "Harness.h"
#include "res/resource.h"
#include <commctrl.h>
#include <cctype>
#include <cstdlib>
#include <map>
#include <memory>

namespace {

std::string Env(const char* name) { const char* v = std::getenv(name); return v ? v : ""; }

// The keyboard focus (or the capture) of the window's thread.
HWND Focus(HWND h, bool capture = false)
{
    GUITHREADINFO gti = { sizeof gti };
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(h, nullptr), &gti);
    return capture ? gti.hwndCapture : gti.hwndFocus;
}

// Clicks into an edit box of the foreground window and types digits or small letters over its text.
bool TypeInto(HWND edit, const std::string& text)
{
    const HWND top = ::GetAncestor(edit, GA_ROOT);
    ::SetForegroundWindow(top);
    ClickAt(Centre(edit));
    if (!WaitFor([&] { return ::GetForegroundWindow() == top && Focus(edit) == edit; }, 4000))
        return false;
    for (char c : std::string(1, VK_END) + std::string(6, VK_BACK) + text)
        PressKey((WORD)std::toupper((unsigned char)c));
    char now[32] = "";
    return WaitFor([&] { return Ask(edit, WM_GETTEXT, sizeof now, (LPARAM)now) >= 0 && text == now; }, 4000);
}

class ProgramTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(reg.ok) << Env("FAKESHELL_DLL"); }
    void TearDown() override
    {
        if (::GetAsyncKeyState(VK_LBUTTON) < 0)
            MouseUp();
        MoveMouseTo(Away());
        prog.reset();
    }
    // The program over a fake configured with these lines.
    void Start(const std::vector<std::string>& lines)
    {
        MoveMouseTo(Away());
        ConfigureFake(log, lines);
        prog = std::make_unique<Program>(ToWindowsPath(Env("VESKAR_EXE")));
        ASSERT_TRUE(prog->ok()) << Env("VESKAR_EXE");
    }
    HWND MainDialog() const { return WaitForMainDialog(prog->pid(), 15000); }

    const std::string log = MakeWorkDir("veskar-e2e") + "\\fakeshell.log";
    FakeRegistration reg{ ToWindowsPath(Env("FAKESHELL_DLL")) };
    std::unique_ptr<Program> prog;  // killed before the registration goes
};
using EndToEnd = ProgramTest;

// The rows' tick state images, top row first: 1 unticked, 2 ticked.
std::string Ticks(HWND list)
{
    std::string s;
    for (int i = 0, n = (int)Ask(list, LVM_GETITEMCOUNT); i < n; ++i)
        s += (char)('0' + (Ask(list, LVM_GETITEMSTATE, i, LVIS_STATEIMAGEMASK) >> 12));
    return s;
}

// The mean of n intervals between reloads of C after `after`: a timer is never early on average; load delays it.
std::vector<ULONGLONG> ExpectPeriod(const std::string& log, ULONGLONG after, size_t n, double periodMs)
{
    std::vector<ULONGLONG> t;
    auto enough = [&] { return (t = RefreshTimes(ReadFakeLog(log), "b5", after)).size() > n; };
    WaitFor(enough, DWORD(periodMs * (n + 2)), 100);
    if (t.size() <= n) {
        ADD_FAILURE() << t.size() << " reloads at period " << periodMs;
        return { 0 };
    }
    const double mean = double(t[n] - t[0]) / n;
    EXPECT_GE(mean, 0.98 * periodMs);
    EXPECT_LE(mean, 1.10 * periodMs);
    return t;
}

// Once the program has ended: every object it made is back to 0, and the apartment, left, unloaded the DLL.
void ExpectAllReleased(const std::vector<FakeEvent>& log)
{
    std::map<std::string, int> n;
    for (const FakeEvent& e : log) {
        ++n[e.kind];
        EXPECT_TRUE(e.kind != "final" || e.arg == "0") << e.id << " keeps " << e.arg;
    }
    EXPECT_EQ(n["final"], n["create"]);
    EXPECT_EQ(n["unload"], 1);
}

// What the screen shows at a point (another process's window).
COLORREF OnScreen(POINT p) { return Shot::Of({ p.x, p.y, p.x + 1, p.y + 1 }).At(0, 0); }

// Copies the window (or a part) once it is painted and shows what its name says (within 4 s).
void Take(const std::string& name, HWND w, const std::function<bool()>& shows = {}, RECT part = {})
{
    EXPECT_TRUE(WaitFor([&] { return Painted(w) && (!shows || shows()); }, 4000, 40)) << name << " not reached";
    if (!Env("VESKAR_GALLERY_OUT").empty()) {
        const std::string file = ToWindowsPath(Env("VESKAR_GALLERY_OUT")) + "\\" + name + ".ppm";
        EXPECT_TRUE(Shot::Of(::IsRectEmpty(&part) ? Rect(w) : part).WritePpm(file)) << file;
    }
}

class Gallery : public ProgramTest {
protected:
    // The main dialog over 60 browsers, more than the list shows.
    void StartMain()
    {
        const char* names[] = { u8"新浪首页", u8"北京新闻 - 今日要闻", u8"Example Domain", u8"天气预报 - 一周天气",
                                u8"股票行情 实时", u8"Project status board", u8"火车票余票查询", u8"论坛 - 最新回复" };
        std::vector<std::string> lines;
        for (int i = 0; i < 60; ++i)  // "name", ..., "name (2)", ...
            lines.push_back("browser - " + std::string(names[i % 8]) +
                            (i < 8 ? "" : " (" + std::to_string(1 + i / 8) + ")"));
        ASSERT_NO_FATAL_FAILURE(Start(lines));
        ASSERT_TRUE(dlg = MainDialog());
        list = ::GetDlgItem(dlg, IDC_LIST_WINDOWS);
        ASSERT_TRUE(WaitFor([&] { return Ask(list, LVM_GETITEMCOUNT) == 60; }, 5000));
    }
    HWND Box() const { return WaitForWindow(prog->pid(), "#32770", "veskar", 15000); }  // the program's boxes
    HWND dlg = nullptr, list = nullptr;
};

}  // namespace

TEST_F(Gallery, MainDialogInUse)
{
    ASSERT_NO_FATAL_FAILURE(StartMain());
    // Where the list view would draw its own vertical bar, only the list's white.
    const RECT l = Rect(list), own = { l.right - 18, Rect(::GetDlgItem(list, 0)).bottom + 1, l.right, l.bottom - 18 };
    auto other = [](COLORREF c) { return c != RGB(255, 255, 255); };
    const POINT c = Centre(dlg), mid = { ::GetSystemMetrics(SM_CXSCREEN) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2 };
    Take("main", dlg);
    EXPECT_EQ(Shot::Of(own).Count({ 0, 0, 18, 9999 }, other), 0) << "a second scroll bar";
    EXPECT_TRUE(std::abs(c.x - mid.x) <= 1 && std::abs(c.y - mid.y) <= 1) << "not centred";

    // The thumb, 41 px down its bar at rest, dragged 70 px; then the down arrow held.
    // Each press waits for the bar to take the capture, each release for it to let go.
    const HWND bar = ::GetWindow(::GetDlgItem(dlg, IDC_SKIN_SCROLLBAR), GW_HWNDNEXT);  // the vertical one
    const RECT b = Rect(bar);
    auto press = [&](POINT p, bool down) {
        MoveMouseTo(p);
        down ? MouseDown() : MouseUp();
        ASSERT_TRUE(WaitFor([&] { return (Focus(dlg, true) == bar) == down; }, 4000));
    };
    ASSERT_NO_FATAL_FAILURE(press({ b.left + 7, b.top + 57 }, true));
    for (int i = 1; i <= 7; ++i)
        MoveMouseTo({ b.left + 7, b.top + 57 + 10 * i });
    Take("scroll-thumb-drag", dlg, [&] { return Ask(list, LVM_GETTOPINDEX) > 0; });
    ASSERT_NO_FATAL_FAILURE(press({ b.left + 7, b.top + 127 }, false));
    const LRESULT row = Ask(list, LVM_GETTOPINDEX);
    ASSERT_NO_FATAL_FAILURE(press({ b.left + 7, b.bottom - 20 }, true));
    Take("scroll-arrow-held", dlg, [&] { return Ask(list, LVM_GETTOPINDEX) >= row + 4; });
    MouseUp();

    const RECT header = Rect(::GetDlgItem(list, 0));
    ClickAt({ header.left + 70, header.bottom + 25 });  // on a row's text, clear of its tick box
    MoveMouseTo(Away());
    Take("row-selected", dlg, [&] { return Ask(list, LVM_GETSELECTEDCOUNT) == 1; });
    const LRESULT sel = Ask(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
    EXPECT_EQ(Ask(list, LVM_GETITEMSTATE, sel, LVIS_STATEIMAGEMASK), (LRESULT)INDEXTOSTATEIMAGEMASK(1)) << "ticked";

    // Each caption button hovered and pressed; minimise and close slid off before the release (the capture crossing
    // processes) do nothing, and the middle one is let go where it was pressed (sliding would drag).
    const RECT where = Rect(dlg), part = { where.right - 160, where.top, where.right, where.top + 30 };
    const RECT strip = { where.right - 79, where.top, where.right, where.top + 15 };
    const POINT off = { strip.left - 100, strip.top + 10 };  // on the caption bar
    const Shot rest = Shot::Of(strip);
    const char* names[] = { "caption-minimise", "caption-middle", "caption-close" };
    for (int i = 0; i < 3; ++i) {
        const std::string name = names[i];
        MoveMouseTo(off);
        MoveMouseTo({ strip.left + 11 + 26 * i, strip.top + 6 });  // arriving in steps, as a pointer does
        MoveMouseTo({ strip.left + 13 + 26 * i, strip.top + 6 });
        Take(name + "-hover", dlg, [&] { return !(Shot::Of(strip) == rest); }, part);
        const Shot hover = Shot::Of(strip);
        MouseDown();
        Take(name + "-pressed", dlg, [&] { return !(Shot::Of(strip) == hover) && Focus(dlg, true) == dlg; }, part);
        if (i != 1) {
            MoveMouseTo(off);
            ASSERT_TRUE(WaitFor([&] { return Shot::Of(strip) == rest; }, 4000)) << name;
        }
        MouseUp();
        // Handled once the capture is let go and a message sent later is back.
        ASSERT_TRUE(WaitFor([&] { return !Focus(dlg, true) && Ask(dlg, WM_NULL) == 0; }, 4000));
        const RECT now = Rect(dlg);
        EXPECT_TRUE(::IsWindowVisible(dlg) && !::IsIconic(dlg) && ::EqualRect(&now, &where)) << name;
    }
}

TEST_F(Gallery, Boxes)
{
    ASSERT_NO_FATAL_FAILURE(StartMain());
    const struct { const char *name, *typed; } refusals[] = { { "period-not-number", "abc" },
                                                               { "period-out-of-range", "0" } };
    for (const auto& r : refusals) {
        ASSERT_TRUE(TypeInto(::GetDlgItem(dlg, IDC_EDIT_PERIOD), r.typed));
        ClickAt(Centre(::GetDlgItem(dlg, IDC_SET)));
        MoveMouseTo(Away());
        HWND box = Box();
        ASSERT_TRUE(box) << r.name;
        Take(r.name, box);
        ClickAt(Centre(::GetDlgItem(box, IDOK)));
        EXPECT_TRUE(WaitFor([&] { return !::IsWindow(box); }, 5000)) << r.name;
    }

    ClickAt(Centre(::GetDlgItem(dlg, IDC_ABOUT)));
    HWND about = WaitForWindow(prog->pid(), "#32770", "关于 Veskar...", 5000);
    ASSERT_TRUE(about);
    // Near the link's left end, clear of its text: the tooltip opens below the pointer.
    HWND web = ::GetDlgItem(about, IDC_WEB_PAGE);
    MoveMouseTo(ScreenPoint(web, 4, 4));
    Take("about-link-hover", about, [&] { return OnScreen(ScreenPoint(web, 2, 2)) == RGB(217, 222, 227); });
    MoveMouseTo(Centre(::GetDlgItem(about, IDOK)));  // the lit link holds the pointer until it leaves
    ASSERT_TRUE(WaitFor([&] { return !Focus(about, true); }, 4000));
    ClickAt(Centre(::GetDlgItem(about, IDOK)));
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(about); }, 5000));

    // The program's own box when the collection cannot be had; then everything given back.
    ::PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(prog->WaitExit(10000));
    ASSERT_NO_FATAL_FAILURE(Start({ "fail create" }));
    std::string text;
    HWND box = Box();  // titled with the program file's name
    ASSERT_TRUE(box && FindMessageBox(prog->pid(), &text) == box);
    EXPECT_EQ(text, "Failed");
    const COLORREF plain = ::GetSysColor(COLOR_3DFACE);  // a box without the skin's gradient
    Take("failed", box, [&] { return OnScreen(ScreenPoint(box, 2, 2)) != plain; });
    ClickAt(Centre(::GetDlgItem(box, IDOK)));
    ASSERT_TRUE(prog->WaitExit(10000));
    ExpectAllReleased(ReadFakeLog(log));
}

TEST_F(EndToEnd, RefreshAndClose)
{
    // Listed: C, B, A (b5, b2, b0). Not listed: a browser without a name, a window that is no browser, an empty slot.
    Start({ "browser - A", "browser - ", "browser - B", "other", "empty", "browser - C" });
    HWND dlg = MainDialog(), list = ::GetDlgItem(dlg, IDC_LIST_WINDOWS);
    ASSERT_TRUE(dlg);
    ASSERT_EQ(Ticks(list), "111");

    // Real keys tick the top row and the bottom one.
    ::SetForegroundWindow(dlg);
    ClickAt({ Centre(list).x, Rect(list).bottom - 20 });  // below the rows
    ASSERT_TRUE(WaitFor([&] { return Focus(dlg) == list; }, 4000));
    for (WORD vk : { VK_HOME, VK_SPACE, VK_DOWN, VK_DOWN, VK_SPACE })
        PressKey(vk);
    ASSERT_TRUE(WaitFor([&] { return Ticks(list) == "212"; }, 4000)) << Ticks(list);
    ExpectPeriod(log, ::GetTickCount64(), 2, 5000);

    // Period 1 set right after a reload, so that no reload of the old period comes between; counted from the press.
    ASSERT_TRUE(TypeInto(::GetDlgItem(dlg, IDC_EDIT_PERIOD), "1"));
    const ULONGLONG pressed = ::GetTickCount64();
    ClickAt(Centre(::GetDlgItem(dlg, IDC_SET)));
    EXPECT_GE(ExpectPeriod(log, pressed, 8, 1000)[0], pressed + 950);

    // 刷新(&R) clears the ticks. The window menu's Close comes as the message it sends (out of the pointer's reach).
    ClickAt(Centre(::GetDlgItem(dlg, IDC_REFRESH)));
    ASSERT_TRUE(WaitFor([&] { return Ticks(list) == "111"; }, 4000)) << Ticks(list);
    ::PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(prog->WaitExit(10000));
    const std::vector<FakeEvent> events = ReadFakeLog(log);
    ExpectAllReleased(events);
    for (const FakeEvent& e : events)
        EXPECT_TRUE(e.kind != "refresh" || e.id == "b5" || e.id == "b0") << "unticked " << e.id << " reloaded";
}
