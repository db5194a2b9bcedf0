// The main dialog's skinned list and its two bitmap bars, under the real pointer and keys.
#include "MainDialog.h"
#include <regex>

namespace {
// What the list is asked to scroll ("v1": WM_VSCROLL with SB_LINEDOWN) and what the bars get.
std::vector<std::string> g_log;
std::string V(WPARAM code) { return "v" + std::to_string(code); }
std::string H(WPARAM code) { return "h" + std::to_string(code); }
void Log(HWND h, UINT m, WPARAM w, LPARAM)
{
    if (m == WM_VSCROLL || m == WM_HSCROLL)  // the list's
        g_log.push_back(m == WM_VSCROLL ? V(w) : H(w));
    else if (::GetDlgCtrlID(h) != IDC_LIST_WINDOWS && (m == WM_TIMER || m == WM_LBUTTONUP || m == WM_LBUTTONDBLCLK))
        g_log.push_back(m == WM_TIMER ? "t" + std::to_string(w) : m == WM_LBUTTONUP ? "up" : "dbl");
}
// The log since the last look: the scrolls only, or everything.
std::string Take(bool all = false)
{
    std::string s;
    for (const std::string& e : g_log)
        if (all || strchr("vh", e[0]))
            s += (s.empty() ? "" : " ") + e;
    g_log.clear();
    return s;
}
int Length(HWND bar) { RECT r; ::GetClientRect(bar, &r); return std::max(r.right, r.bottom); }
bool NoTimers(HWND bar) { return !::KillTimer(bar, 1) && !::KillTimer(bar, 2); }
// The button pressed at a client point of h and moved over the others; let go unless held.
void Press(HWND h, POINT at, std::vector<POINT> on = {}, bool held = true)
{
    MoveMouseTo(ScreenPoint(h, at.x, at.y));
    MouseDown();
    for (POINT p : on)
        MoveMouseTo(ScreenPoint(h, p.x, p.y));
    if (!held)
        MouseUp();
}
class ListTest : public MainDialogTest {
protected:
    CSkinListCtrl& lc = dlg.m_listWindows;
    CSkinVScrollBar& vb = lc.m_vScroll;
    CSkinHScrollBar& hb = lc.m_hScroll;
    int vh = 0, hw = 0;  // the bars' lengths
};
// 200 rows, a column wider than the list, scrolled to the middle; all logged.
struct BarsTest : ListTest {
    void SetUp() override
    {
        ListTest::SetUp();
        AddMany(200);
        Open();
        ListView_SetColumnWidth(lc, 0, 2000);
        for (HWND h : { lc.m_hWnd, vb.m_hWnd, hb.m_hWnd })
            watches.push_back(std::make_unique<WindowWatch>(h, Log));
        Centre();
        vh = Length(vb), hw = Length(hb);
    }
    void Centre()  // 600 px across, row 100 at the top
    {
        RECT row = {};
        ListView_GetItemRect(lc, 0, &row, LVIR_BOUNDS);
        const int dx = 600 - ::GetScrollPos(lc, SB_HORZ);
        const int dy = (100 - ::GetScrollPos(lc, SB_VERT)) * (row.bottom - row.top);
        if (dx || dy)
            lc.Scroll(dx, dy);
        FlushMessages();
        Take();
    }
    std::vector<std::unique_ptr<WindowWatch>> watches;
};
}  // namespace

// At rest: the bars beside the list, the header, the selected row's colours. Wine's list view keeps turning its own
// bars on: none shows or scrolls by a click, whatever the list goes through. Keys, wheel, column drag move thumbs.
TEST_F(ListTest, LooksAsDrawnAndOnlyOurBarsShowAndFollowWhatMovesTheList)
{
    AddMany(5, L"网页 - 示例站点");
    Open();
    const HWND header = lc.GetHeaderCtrl();
    const CRect l = Rect(lc), v = Rect(vb), h = Rect(hb), head = Rect(header);
    EXPECT_EQ(v, CRect(l.right, l.top + 1, l.right + 15, l.bottom + 15));
    EXPECT_EQ(h, CRect(l.left, l.bottom - 1, l.right + 1, l.bottom + 15));
    CRect r, sel, plain, item;
    ListView_SetColumnWidth(lc, 0, 300);
    Header_GetItemRect(header, 0, &r);
    lc.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    ListView_GetItemRect(lc, 2, &sel, LVIR_LABEL);
    ListView_GetItemRect(lc, 4, &plain, LVIR_LABEL);
    const struct { LONG x, w; UINT id; } pieces[] = { { r.left, 2, IDB_HEADER_LEFT_CAP }, { r.right - 2, 2,
        IDB_HEADER_RIGHT_CAP }, { r.left + 5, 1, IDB_HEADER_MIDDLE }, { r.right + 20, 1, IDB_HEADER_MIDDLE } };
    auto is = [](COLORREF want) { return [want](COLORREF c) { return c == want; }; };
    auto ink = [](COLORREF c) { return std::max({ GetRValue(c), GetGValue(c), GetBValue(c) }) < 110; };
    for (bool alone : { false, true }) {  // the dialog painted, the list not focused; the list alone, focused
        SCOPED_TRACE(alone ? "the list alone" : "the dialog");
        ::SetFocus(alone ? lc.m_hWnd : dlg.GetDlgItem(IDC_EDIT_PERIOD));
        ::RedrawWindow(alone ? lc.m_hWnd : dlg.m_hWnd, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_UPDATENOW | (alone ? 0 : RDW_ALLCHILDREN));
        Shot s = Shot::OfWindow(header), rows = Shot::OfWindow(lc).Part({ 2, 2, 500, 200 });
        for (const auto& p : pieces)
            EXPECT_EQ(s.Part({ p.x, 0, p.x + p.w, 16 }), Shot::OfBitmap(p.id).Part({ 0, 0, p.w, 16 })) << p.id;
        EXPECT_TRUE(!s.Count({ 2, 2, 100, 15 }, ink) && s.Count({ 100, 2, 200, 15 }, ink) > 30 &&
                    !s.Count({ 200, 2, 298, 15 }, ink)) << "the title centred";
        EXPECT_TRUE(rows.At(sel.right - 20, sel.top + 7) == lc.m_crSelBk && rows.Count(sel, is(lc.m_crSelText)) > 10);
        EXPECT_TRUE(rows.At(plain.right - 20, plain.top + 7) == 0xFFFFFF && rows.Count(plain, is(0)) > 10 &&
                    !rows.Count(plain, is(lc.m_crSelText)));
    }
    EXPECT_TRUE(vb.m_nThumbPos == 41 && hb.m_nThumbPos == 34) << "nothing to scroll";

    const int w = l.Width(), ht = l.Height(), top = head.bottom - l.top + 1;
    auto clear = [&](const char* when) {
        FlushMessages();
        for (RECT strip : { RECT{ w - 18, top, w, ht - 18 }, RECT{ 250, ht - 18, w - 18, ht - 1 } })
            EXPECT_EQ(Shot::OfWindow(lc).Count(strip, [](COLORREF c) { return c != 0xFFFFFF; }), 0) << when << strip;
    };
    ListView_SetColumnWidth(lc, 0, 500);  // its width again, wider than the list
    AddMany(60);
    ClickAt(ScreenPoint(dlg.GetDlgItem(IDC_REFRESH), 10, 8));
    clear("rebuilt with 65 rows");
    ClickAt(ScreenPoint(vb, 7, Length(vb) - 30), 3);
    clear("scrolled by our bar");
    ::SetForegroundWindow(dlg);
    ::SetFocus(lc);
    PressKey(VK_END);
    const int keys = ::GetScrollPos(lc, SB_VERT), end = Length(vb) - 67;
    EXPECT_TRUE(keys > 40 && vb.m_nThumbPos == end) << "keys";
    ClickAt(ScreenPoint(lc, w - 8, ht / 2));
    EXPECT_EQ(::GetScrollPos(lc, SB_VERT), keys) << "a click in the right strip";
    lc.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 3 * WHEEL_DELTA), MAKELPARAM(l.left + 100, l.top + 100));
    EXPECT_TRUE(::GetScrollPos(lc, SB_VERT) < keys && vb.m_nThumbPos < end) << "wheel";
    auto scroll = [&](int dx) { lc.Scroll(dx, 0); FlushMessages(); };
    ListView_SetColumnWidth(lc, 0, 1000);
    scroll(1 << 20);
    const int thumb = hb.m_nThumbPos;
    EXPECT_EQ(thumb, Length(hb) - 69) << "at the end";
    Header_GetItemRect(header, 0, &item);
    Press(header, { item.right - 1, 8 }, { { item.right + 150, 8 }, { item.right + 300, 8 } }, false);
    EXPECT_TRUE(ListView_GetColumnWidth(lc, 0) > 1200 && hb.m_nThumbPos < thumb) << "column drag";
    clear("column wider than the list");
    scroll(-(1 << 20));
    ClickAt(ScreenPoint(lc, w / 2, ht - 10));  // may bring the half row in, never sideways
    EXPECT_EQ(::GetScrollPos(lc, SB_HORZ), 0) << "a click in the bottom strip";
    scroll(1 << 20);  // the column's edge in sight
    Header_GetItemRect(header, 0, &item);
    Press(header, { item.right - 1, 8 }, { { 300, 8 }, { 200, 8 } }, false);
    clear("column back inside");
    EXPECT_LT(ListView_GetColumnWidth(lc, 0), 300);
}

// Pieces where they belong; presses answer where they are drawn, and act on
// release: arrows step, a double click twice; thumbs drag, never page; the track pages once.
TEST_F(BarsTest, PiecesAreDrawnAndPressesAnswerWhereTheyAre)
{
    const int t = vb.m_nThumbPos, u = hb.m_nThumbPos;
    const struct { HWND bar; UINT id; int at, length; } pieces[] = {
        { vb, IDB_VBAR_TOP, 0, 16 }, { vb, IDB_VBAR_UP, 16, 26 }, { vb, IDB_VBAR_TRACK, 42, 1 },
        { vb, IDB_VBAR_TRACK, t - 1, 1 }, { vb, IDB_VBAR_THUMB, t, 26 }, { vb, IDB_VBAR_TRACK, t + 26, 1 },
        { vb, IDB_VBAR_DOWN, vh - 42, 26 }, { vb, IDB_VBAR_CORNER, vh - 16, 16 }, { hb, IDB_HBAR_LEFT, 0, 35 },
        { hb, IDB_HBAR_TRACK, 35, 1 }, { hb, IDB_HBAR_THUMB, u, 35 }, { hb, IDB_HBAR_TRACK, u + 35, 1 },
        { hb, IDB_HBAR_RIGHT, hw - 35, 35 } };
    for (const auto& p : pieces) {  // the corner from x = 1, under the other bar's end; that bar's row 0 is the list's
        const int v = p.bar == vb.m_hWnd, x = p.id == IDB_VBAR_CORNER;
        const RECT drawn = v ? RECT{ x, p.at, 15, p.at + p.length } : RECT{ p.at, 1, p.at + p.length, 16 };
        const RECT source = v ? RECT{ 0, 0, 15 - x, p.length } : RECT{ 0, 1, p.length, 16 };
        EXPECT_EQ(Shot::OfWindow(p.bar).Part(drawn), Shot::OfBitmap(p.id).Part(source)) << p.id << " at " << p.at;
    }
    // Released where pressed unless told; 0 clicks: a press, a move and a release.
    struct Case { CSkinScrollBar* bar; POINT press, release; std::string want; int clicks = 1; };
    std::vector<Case> cases = {
        { &vb, { 7, t - 10 }, {}, "up " + V(SB_PAGEUP) }, { &hb, { u + 45, 8 }, {}, "up " + H(SB_PAGERIGHT) },
        { &hb, { u + 60, 8 }, { hw - 10, 8 }, "up " + H(SB_LINERIGHT), 0 },
        { &hb, { u + 80, 8 }, { 30, 12 }, "up " + H(SB_LINELEFT), 0 },
        { &vb, { 7, t + 40 }, { 7, vh - 20 }, "up " + V(SB_PAGEDOWN), 0 } };
    const struct { CSkinScrollBar* bar; RECT r; std::string want; } areas[] = {
        { &vb, { 0, 16, 15, 42 }, V(SB_LINEUP) }, { &vb, { 0, vh - 42, 15, vh - 16 }, V(SB_LINEDOWN) },
        { &hb, { 0, 1, 35, 16 }, H(SB_LINELEFT) }, { &hb, { hw - 35, 1, hw, 16 }, H(SB_LINERIGHT) },
        { &vb, { 0, t, 15, t + 26 }, "" }, { &hb, { u, 1, u + 35, 16 }, "" } };
    for (const auto& a : areas) {
        const POINT mid = { (a.r.left + a.r.right) / 2, (a.r.top + a.r.bottom) / 2 };
        if (!a.want.empty())
            cases.push_back({ a.bar, mid, {}, "up " + a.want + " dbl up " + a.want, 2 });
        for (int i = a.r.left; i < a.r.right + 3; i += 4)  // every 4th pixel and the last
            for (int j = a.r.top; j < a.r.bottom + 3; j += 4) {
                const int x = std::min<int>(i, a.r.right - 1), y = std::min<int>(j, a.r.bottom - 1);
                const POINT drag = a.bar == &vb ? POINT{ x, y + 20 } : POINT{ x + 20, y };  // a thumb's
                // Presses 1 to 3 pixels apart make a double click.
                cases.push_back(a.want.empty() ? Case{ a.bar, { x, y }, drag, "(dbl )?up", 0 }
                                               : Case{ a.bar, { x, y }, {}, "(dbl )?up " + a.want });
            }
    }
    for (const Case& c : cases) {
        if (c.clicks)
            ClickAt(ScreenPoint(*c.bar, c.press.x, c.press.y), c.clicks);
        else
            Press(*c.bar, c.press, { c.release }, false);
        const std::string seen = Take(true);
        EXPECT_TRUE(std::regex_match(seen, std::regex(c.want)) && !::GetCapture() && NoTimers(*c.bar))
            << c.want << " at " << c.press.x << ", " << c.press.y << ": " << seen << "; thumbs at " << vb.m_nThumbPos
            << ", " << hb.m_nThumbPos;
        Centre();
    }
}

// A held arrow steps per repeat tick after the delay's and once on release (by order, not
// time); a double-clicked thumb drags its own axis, on off the bar, never paging; a box taking
// the mouse stops the arrow, another window taking it the drag, for good.
TEST_F(BarsTest, HeldArrowsRepeatAndThumbsDragUntilLetGoOrTheMouseIsLost)
{
    UseRealBoxes();
    SetPeriodText("0");  // Set then opens a box
    const struct { CSkinScrollBar* bar; POINT at; std::string step; bool box; } cases[] = {
        { &vb, { 7, vh - 30 }, V(SB_LINEDOWN), false }, { &hb, { 10, 8 }, H(SB_LINELEFT), false },
        { &hb, { 10, 8 }, H(SB_LINELEFT), true } };
    for (const auto& c : cases) {
        Press(*c.bar, c.at);
        EXPECT_TRUE(PumpUntil([&] { return std::count(g_log.begin(), g_log.end(), c.step) >= 2; }, 10000)) << c.step;
        if (c.box) {  // shown and answered; the bar does not get the mouse back
            EXPECT_TRUE(TimerScript({ [&] { return ::PostMessageA(dlg, WM_COMMAND, IDC_SET, 0) != FALSE; },
                                      [&] { return ShownBox(dlg) && (Take(), true); },
                                      [&] { return ::PostMessageA(ShownBox(dlg), WM_COMMAND, IDOK, 0) != FALSE; } },
                                    10000).Run());
            PumpFor(300);
        }
        MouseUp();  // after a box, a release the bar did not see pressed: it steps
        PumpFor(150);
        const std::string seen = Take(true), held = c.box ? "" : "t2( t1 " + c.step + ")+ ";
        EXPECT_TRUE(std::regex_match(seen, std::regex(held + "up " + c.step)) && NoTimers(*c.bar)) << seen;
        Centre();
    }
    // The thumb follows the pointer inside its track; the list follows the thumb, to its ends when
    // the pointer leaves the bar's. The last moves let go beside the vertical bar, past the other's end.
    const struct { CSkinScrollBar* bar; int offset, lowest, highest; std::vector<POINT> moves; } drags[] = {
        { &vb, 16, 41, vh - 67, { { 7, 120 }, { 7, 90 }, { 7, -40 }, { 18, vh + 10 } } },
        { &hb, 17, 34, hw - 69, { { 150, 8 }, { -40, 8 }, { 160, 30 }, { hw + 10, 8 } } } };
    for (const auto& d : drags) {
        const int v = d.bar == &vb, n = v ? SB_VERT : SB_HORZ, across = ::GetScrollPos(lc, !n);
        ClickAt(ScreenPoint(*d.bar, v ? 7 : d.bar->m_nThumbPos + 5, v ? d.bar->m_nThumbPos + 5 : 8));
        MouseDown();
        for (POINT p : d.moves) {
            const int along = v ? p.y : p.x, thumb = along - d.offset, was = d.bar->m_nThumbPos;
            const int from = ::GetScrollPos(lc, n);
            MoveMouseTo(ScreenPoint(*d.bar, p.x, p.y));
            const int pos = ::GetScrollPos(lc, n);
            const bool follows = along < 0                 ? pos == 0
                                 : along > (v ? vh : hw) ? pos == CSkinScrollBar::ScrollLimit(lc, n)
                                                         : pos != from && (pos > from) == (thumb > was);
            EXPECT_TRUE(Take().empty() && follows && ::GetScrollPos(lc, !n) == across &&
                        d.bar->m_nThumbPos == std::clamp(thumb, d.lowest, d.highest))
                << p.x << ", " << p.y << ": " << from << " to " << pos << ", thumb " << d.bar->m_nThumbPos;
        }
        MouseUp();
        EXPECT_EQ(Take(), "") << "the release";
    }
    const HWND other = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    Press(vb, { 7, vb.m_nThumbPos + 5 });
    ::SetCapture(other);
    MouseUp();  // to the other window
    ::ReleaseCapture();
    const int pos = ::GetScrollPos(lc, SB_VERT);
    MoveMouseTo(ScreenPoint(vb, 7, 100));
    MoveMouseTo(ScreenPoint(vb, 7, 160));
    EXPECT_TRUE(Take().empty() && ::GetScrollPos(lc, SB_VERT) == pos && NoTimers(vb)) << "a lost drag drags on";
}
