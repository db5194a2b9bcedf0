// The screenshot gallery: pictures of the unmodified program under real
// input, each with the few probes only such a picture can make (exact pixels
// are the window tests' job), colours read from the program's own bitmaps.
// With VESKAR_GALLERY_OUT naming a folder, each picture is written there.
#include "ProgramTest.h"
#include "controls/SkinListCtrl.h"
#include <map>

namespace {

// A bitmap of the program's, read from its file once.
const Shot& Bitmap(UINT id)
{
    static const HMODULE exe =
        ::LoadLibraryExA(ToWindowsPath(Env("VESKAR_EXE")).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    static std::map<UINT, Shot> loaded;
    Shot& s = loaded[id];
    if (!s.px.empty())
        return s;
    HBITMAP bmp = ::LoadBitmapA(exe, MAKEINTRESOURCEA(id));
    BITMAP bm = {};
    ::GetObjectA(bmp, sizeof bm, &bm);
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, bmp);
    s.rect = { 0, 0, bm.bmWidth, bm.bmHeight };
    for (int i = 0; i < bm.bmWidth * bm.bmHeight; ++i)
        s.px.push_back(::GetPixel(dc, i % bm.bmWidth, i / bm.bmWidth));
    ::DeleteObject(::SelectObject(dc, old));
    ::DeleteDC(dc);
    return s;
}

// The screen shows the bitmap with its top left at a point.
bool Drawn(UINT id, POINT at)
{
    const Shot& b = Bitmap(id);
    return !b.px.empty() && Shot::Of({ at.x, at.y, at.x + b.rect.right, at.y + b.rect.bottom }).px == b.px;
}

// What the screen shows at a point (another process's window).
COLORREF OnScreen(POINT p) { return Shot::Of({ p.x, p.y, p.x + 1, p.y + 1 }).At(0, 0); }

// Behind a box's client corner, the skin's gradient (rows one to one).
bool Skinned(HWND box) { return OnScreen(ScreenPoint(box, 2, 2)) == Bitmap(IDB_SKIN_BACKGROUND).At(0, 2); }

// Wine draws the About box's title bar with Marlett glyphs: without the font
// in the prefix, its close glyph shows as the letter "r".
bool MarlettDrawn()
{
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, ::CreateFontA(-12, 0, 0, 0, 0, 0, 0, 0, SYMBOL_CHARSET, 0, 0, 0, 0, "Marlett"));
    char face[LF_FACESIZE] = "";
    ::GetTextFaceA(dc, sizeof face, face);
    ::DeleteObject(::SelectObject(dc, old));
    ::ReleaseDC(nullptr, dc);
    return lstrcmpiA(face, "Marlett") == 0;
}

using Probes = std::vector<std::pair<const char*, std::function<bool()>>>;

// Copies the window (or a part) once it is painted and every probe holds,
// waiting up to 4 s for the program to get there.
void Take(const std::string& name, HWND w, const Probes& probes, RECT part = {})
{
    std::string wrong;
    WaitFor([&] {
        wrong = Painted(w) ? "" : "still painting; ";
        for (const auto& p : probes)
            wrong += p.second() ? "" : std::string(p.first) + "; ";
        return wrong.empty();
    }, 4000, 40);
    EXPECT_EQ(wrong, "") << name;
    if (!Env("VESKAR_GALLERY_OUT").empty()) {
        const std::string file = ToWindowsPath(Env("VESKAR_GALLERY_OUT")) + "\\" + name + ".bmp";
        EXPECT_TRUE(Shot::Of(::IsRectEmpty(&part) ? Rect(w) : part).WriteBmp(file)) << file;
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
        strip = { Rect(dlg).right - 79, Rect(dlg).top };  // the caption buttons (the popup has no frame)
    }
    // A box of the program other than the main dialog, with its message.
    bool Box(HWND* box, std::string* said) const
    {
        return WaitFor([&] { return (*box = FindMessageBox(prog->pid(), said, dlg)) != nullptr; }, 15000);
    }
    HWND dlg = nullptr, list = nullptr;
    POINT strip = {};
};

}  // namespace

TEST_F(Gallery, MainDialogInUse)
{
    ASSERT_NO_FATAL_FAILURE(StartMain());
    // Where the list view would draw its own vertical bar, only the list's
    // white: ours stands beside it.
    const RECT l = Rect(list), header = Rect(::GetDlgItem(list, 0));
    const RECT own = { l.right - 18, header.bottom + 1, l.right, l.bottom - 18 };
    auto other = [](COLORREF c) { return c != RGB(255, 255, 255); };
    const POINT c = Centre(dlg), mid = { ::GetSystemMetrics(SM_CXSCREEN) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2 };
    Take("main", dlg, { { "caption buttons at rest", [&] { return Drawn(IDB_CAPTION_NORMAL, strip); } },
                        { "one scroll bar", [&] { return Shot::Of(own).Count({ 0, 0, 18, 9999 }, other) == 0; } },
                        { "centred", [&] { return std::abs(c.x - mid.x) <= 1 && std::abs(c.y - mid.y) <= 1; } } });

    // The thumb dragged follows the pointer, and the list follows the thumb.
    const RECT b = Rect(::GetWindow(::GetDlgItem(dlg, IDC_SKIN_SCROLLBAR), GW_HWNDNEXT));  // the vertical bar
    auto thumbAt = [&](int y) { return Drawn(IDB_VBAR_THUMB, { b.left, b.top + y }); };
    const Shot bar = Shot::Of(b), &thumb = Bitmap(IDB_VBAR_THUMB);
    const RECT t = thumb.rect;
    int top = 0;  // where the thumb is drawn, found in one copy of the bar
    while (top + t.bottom < b.bottom - b.top && !(bar.Part({ 0, top, t.right, top + t.bottom }) == thumb))
        ++top;
    MoveMouseTo({ b.left + 7, b.top + top + 16 });
    MouseDown();
    for (int i = 1; i <= 7; ++i)
        MoveMouseTo({ b.left + 7, b.top + top + 16 + 10 * i });
    Take("scroll-thumb-drag", dlg, { { "thumb follows", [&] { return thumbAt(top + 69) || thumbAt(top + 70); } },
                                     { "list follows", [&] { return Ask(list, LVM_GETTOPINDEX) > 0; } } });
    MouseUp();
    MoveMouseTo({ b.left + 7, b.bottom - 20 });  // the down arrow, held
    const LRESULT row = Ask(list, LVM_GETTOPINDEX);
    MouseDown();
    Take("scroll-arrow-held", dlg, { { "list scrolls", [&] { return Ask(list, LVM_GETTOPINDEX) >= row + 4; } } });
    MouseUp();

    ClickAt({ header.left + 70, header.bottom + 25 });  // on a row's text, clear of its tick box
    MoveMouseTo(Away());
    Take("row-selected", dlg, {
        { "one row selected, unticked", [&] {
             const LRESULT row = Ask(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
             return Ask(list, LVM_GETSELECTEDCOUNT) == 1 &&
                    Ask(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(1); } },
        { "selected colour", [&] {
             return OnScreen({ header.left + 300, header.bottom + 25 }) == CSkinListCtrl().m_crSelBk;
         } } });
}

TEST_F(Gallery, CaptionButtons)
{
    ASSERT_NO_FATAL_FAILURE(StartMain());
    const struct { const char* name; UINT hot, down; } faces[] = {
        { "caption-minimise", IDB_CAPTION_MIN_HOT, IDB_CAPTION_MIN_DOWN },
        { "caption-middle", IDB_CAPTION_MID_HOT, IDB_CAPTION_MID_DOWN },
        { "caption-close", IDB_CAPTION_CLOSE_HOT, IDB_CAPTION_CLOSE_DOWN } };
    const RECT where = Rect(dlg), part = { where.right - 160, where.top, where.right, where.top + 30 };
    const POINT off = { strip.x - 100, strip.y + 10 };  // on the caption bar
    for (int i = 0; i < 3; ++i) {
        const std::string name = faces[i].name;
        MoveMouseTo(off);
        MoveMouseTo({ strip.x + 13 + 26 * i, strip.y + 6 });
        Take(name + "-hover", dlg, { { "hot", [&] { return Drawn(faces[i].hot, strip); } } }, part);
        MouseDown();
        Take(name + "-pressed", dlg, { { "pressed", [&] { return Drawn(faces[i].down, strip); } },
                                       { "capture held", [&] { return Focus(dlg, true) == dlg; } } }, part);
        // Minimise and close slid off before the release do nothing; the
        // middle one is let go where it was pressed (sliding would drag).
        if (i != 1) {
            MoveMouseTo(off);
            ASSERT_TRUE(WaitFor([&] { return Drawn(IDB_CAPTION_NORMAL, strip); }, 4000));
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
    const struct { const char *name, *typed, *message; } refusals[] = {
        { "period-not-number", "abc", "“请填入一个正整数。”" },
        { "period-out-of-range", "0", "“请填入一个在1和10000之间的整数。”" } };
    for (const auto& r : refusals) {
        ASSERT_TRUE(TypeInto(::GetDlgItem(dlg, IDC_EDIT_PERIOD), r.typed));
        ClickAt(Centre(::GetDlgItem(dlg, IDC_SET)));
        MoveMouseTo(Away());
        HWND box = nullptr;
        std::string said;
        ASSERT_TRUE(Box(&box, &said)) << r.name;
        EXPECT_EQ(ToUtf8(said), ToUtf8(r.message));
        Take(r.name, box, { { "skinned", [&] { return Skinned(box); } } });
        ClickAt(Centre(::GetDlgItem(box, IDOK)));
        EXPECT_TRUE(WaitFor([&] { return !::IsWindow(box); }, 5000)) << r.name;
    }

    ClickAt(Centre(::GetDlgItem(dlg, IDC_ABOUT)));
    HWND about = WaitForWindow(prog->pid(), "#32770", "关于 Veskar...", 5000);
    ASSERT_TRUE(about);
    HWND web = ::GetDlgItem(about, IDC_WEB_PAGE), icon = ::GetWindow(about, GW_CHILD);  // the program's icon
    // Near the link's left end, clear of its text: the tooltip that follows
    // opens below the pointer, away from the probes.
    MoveMouseTo(ScreenPoint(web, 4, 4));
    POINT corner = ScreenPoint(icon, 0, 0);  // clear in the icon: the skin shows
    ::ScreenToClient(about, &corner);
    const COLORREF behind = Bitmap(IDB_SKIN_BACKGROUND).At(0, corner.y);
    Take("about-link-hover", about, {
        { "hovered link", [&] { return OnScreen(ScreenPoint(web, 2, 2)) == RGB(217, 222, 227); } },
        { "skin behind the icon's corner", [&] { return OnScreen(ScreenPoint(icon, 0, 0)) == behind; } },
        { "title-bar glyphs in Marlett", MarlettDrawn } });
    ClickAt(Centre(::GetDlgItem(about, IDOK)));
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(about); }, 5000));

    // The program's own box, when the collection cannot be had.
    ::PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(prog->WaitExit(10000));
    ASSERT_NO_FATAL_FAILURE(Start({ "fail create" }));
    HWND box = nullptr;
    std::string said;
    ASSERT_TRUE(Box(&box, &said));
    EXPECT_EQ(said, "Failed");
    Take("failed", box, { { "skinned", [&] { return Skinned(box); } } });
    ClickAt(Centre(::GetDlgItem(box, IDOK)));
    EXPECT_TRUE(prog->WaitExit(10000));
}
