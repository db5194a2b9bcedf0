// The skin on real windows: which windows and buttons it takes, the face painter read back, and
// the main dialog and its boxes as a person sees them, also after using them.
#include "MainDialog.h"
#include "skin/SkinManager.h"
#include <thread>

namespace {

bool HasProp(HWND h, const char* name) { return ::GetPropA(h, name) != nullptr; }
LONG_PTR Type(HWND h) { return ::GetWindowLongPtrA(h, GWL_STYLE) & BS_TYPEMASK; }
bool InGradient(COLORREF c)
{
    Shot g = Shot::OfBitmap(IDB_SKIN_BACKGROUND);
    return std::find(g.px.begin(), g.px.end(), c) != g.px.end();
}

Shot Face(CSkinButton& button, int w, int h, UINT state, BOOL focus, const char* text)
{
    return Shot::OfDrawing(w, h, [&](HDC dc) { button.DrawFace(dc, state, CRect(0, 0, w, h), focus, CString(text)); });
}
CRect Diff(const Shot& a, const Shot& b) { return a.Bounds([&](int x, int y) { return a.At(x, y) != b.At(x, y); }); }

// A box of this thread on the skin: its buttons kept owner-drawn, the gradient behind, its icon on it.
void ExpectSkinned(HWND box)
{
    HWND ok = ::GetDlgItem(box, IDOK), icon = nullptr;
    for (HWND c = ::GetWindow(box, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
        if ((::GetWindowLongPtrA(c, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP)
            icon = c;
    POINT p = { 0, 0 };
    ::MapWindowPoints(icon, box, &p, 1);
    const COLORREF corner = PixelAt(icon, 0, 0);
    EXPECT_TRUE(HasProp(box, "SkinWindowHandled") && HasProp(ok, "SkinButtonObj"));
    EXPECT_EQ(Type(ok), BS_OWNERDRAW) << "Wine's BM_SETSTYLE after activation must not undo it";
    EXPECT_EQ(PixelAt(box, 2, 3), Shot::OfBitmap(IDB_SKIN_BACKGROUND).At(0, 3));
    EXPECT_TRUE(icon && corner == PixelAt(box, p.x - 2, p.y) && InGradient(corner)) << "the icon's corner";
}

// Windows below the skin: how many still show some of it when the procedure below sees WM_DESTROY.
int g_skinSeenAtDestroy;
void SkinSeenAtDestroy(HWND h, UINT m, WPARAM, LPARAM)
{
    if (m == WM_DESTROY)
        g_skinSeenAtDestroy += HasProp(h, "SkinWindowOldWndProc") || HasProp(h, "SkinButtonObj") ||
                               HasProp(h, "OldWndProc") ||
                               ::GetWindowLongPtrA(h, GWLP_WNDPROC) != (LONG_PTR)WindowWatch::Proc;
}

void CALLBACK OpenTwoButtonBox(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    ::MessageBoxA(::GetActiveWindow(), "hover", "two buttons", MB_OKCANCEL | MB_ICONERROR);
}

}  // namespace

// Push buttons skinned once, the rest left alone; every window of this thread activated later
// skinned, none of another thread's; window and buttons let go before their old procedures see the end.
TEST_F(WindowTest, SkinTakesPushButtonsOnceAndEveryActivatedWindowOfItsThread)
{
    HWND dlg = ::CreateWindowExA(0, "#32770", "Skin", WS_POPUP | WS_CAPTION | WS_VISIBLE, 40, 40, 400, 300, nullptr,
                                 nullptr, nullptr, nullptr);
    auto make = [&](const char* cls, DWORD style, int id) {
        return ::CreateWindowExA(0, cls, "b", WS_CHILD | WS_VISIBLE | style, 10, 25 * id, 100, 22, dlg,
                                 (HMENU)(INT_PTR)id, nullptr, nullptr);
    };
    WNDCLASSA wc = {};
    ::GetClassInfoA(nullptr, "Button", &wc);
    wc.lpszClassName = "BUTTON";  // the button class spelled in capitals
    ::RegisterClassA(&wc);
    const struct { HWND h; bool skinned; } cases[] = {
        { make("Button", BS_PUSHBUTTON, 1), true }, { make("Button", BS_DEFPUSHBUTTON, 2), true },
        { make("Button", BS_USERBUTTON, 3), true }, { make("BUTTON", BS_PUSHBUTTON, 4), true },
        { make("Button", BS_AUTOCHECKBOX, 5), false }, { make("Button", BS_AUTORADIOBUTTON, 6), false },
        { make("Button", BS_3STATE, 7), false }, { make("Button", BS_GROUPBOX, 8), false },
        { make("Button", BS_PUSHBUTTON, 9), false },
    };
    ::SetPropA(cases[8].h, "SkinButtonHandled", (HANDLE)1);
    WindowWatch button(cases[0].h, SkinSeenAtDestroy);
    CSkinButton templ;  // its settings go to the buttons it is attached to
    templ.m_nCornerWidth = 4;
    ASSERT_TRUE(templ.AttachToButton(cases[1].h));
    EXPECT_FALSE(templ.AttachToButton(cases[1].h)) << "once";
    EXPECT_EQ(((CSkinButton*)::GetPropA(cases[1].h, "SkinButtonObj"))->m_nCornerWidth, 4);
    g_skin.Install(dlg);
    for (const auto& c : cases) {
        EXPECT_EQ(HasProp(c.h, "SkinButtonObj"), c.skinned) << ::GetDlgCtrlID(c.h);
        EXPECT_EQ(Type(c.h) == BS_OWNERDRAW, c.skinned) << ::GetDlgCtrlID(c.h);
    }
    HANDLE first = ::GetPropA(cases[0].h, "SkinButtonObj");
    HWND other = ::CreateWindowExA(0, "#32770", "Other", WS_POPUP | WS_CAPTION, 460, 40, 300, 200, nullptr, nullptr,
                                   nullptr, nullptr);
    WindowWatch below(other, SkinSeenAtDestroy);
    ::ShowWindow(other, SW_SHOW);
    for (int i = 0; i < 20; ++i)
        ::SetActiveWindow(i % 2 ? dlg : other);
    EXPECT_EQ(::GetPropA(cases[0].h, "SkinButtonObj"), first) << "attached once";
    EXPECT_TRUE(HasProp(other, "SkinWindowHandled")) << "the hook skins activated windows";
    ::RedrawWindow(dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_TRUE(InGradient(PixelAt(dlg, 300, 100)));
    std::thread thread([] { ::MessageBoxA(nullptr, "other", "SkinOther", MB_OK); });
    HWND theirs = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (theirs = ::FindWindowA("#32770", "SkinOther")) && ::IsWindowVisible(theirs); },
                          5000));
    PumpFor(100);
    EXPECT_FALSE(HasProp(theirs, "SkinWindowHandled"));
    EXPECT_NE(Type(::GetDlgItem(theirs, IDOK)), BS_OWNERDRAW);
    ::PostMessageA(theirs, WM_COMMAND, IDOK, 0);
    thread.join();
    g_skinSeenAtDestroy = 0;
    ::DestroyWindow(other);
    ::DestroyWindow(dlg);
    EXPECT_EQ(g_skinSeenAtDestroy, 0);
}

// The background shows the gradient's rows or stretches it; a face keeps its corners and places the text.
TEST_F(WindowTest, PaintersKeepTheirPicturesAtAnySize)
{
    Shot g = Shot::OfBitmap(IDB_SKIN_BACKGROUND);
    ASSERT_EQ(g.px.size(), 7u * 250);
    const struct { int height, y, row; } cases[] = {
        { 120, 119, 119 }, { 120, 60, 60 }, { 500, 0, 0 }, { 500, 499, 249 }, { 500, 300, 150 } };
    for (const auto& c : cases) {  // drawn from the origin whatever the rectangle
        Shot s = Shot::OfDrawing(50, c.height,
                                 [&](HDC dc) { g_skin.DrawBackground(dc, CRect(10, 10, 60, 10 + c.height)); });
        EXPECT_EQ(s.At(49, c.y), g.At(0, c.row)) << c.height << " high, row " << c.y;
    }
    CSkinButton button;
    Shot s = Face(button, 200, 40, 0, FALSE, ""), f = Shot::OfBitmap(IDB_BUTTON_NORMAL);
    ASSERT_EQ(f.rect.right * f.rect.bottom, 73 * 21);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_TRUE(s.At(x, y) == f.At(x, y) && s.At(197 + x, y) == f.At(70 + x, y) &&
                        s.At(x, 37 + y) == f.At(x, 18 + y) && s.At(197 + x, 37 + y) == f.At(70 + x, 18 + y))
                << "corner pixel " << x << ", " << y;
    EXPECT_EQ(s.At(100, 3), f.At(36, 3));
    EXPECT_EQ(s.At(100, 36), f.At(36, 17));
    EXPECT_EQ(s.At(199, 20), f.At(72, 10)) << "right edge";

    // Text centred; pressed with the focus: face 352 and the text one pixel
    // down and right; face 157 with the focus, whether hovered or not.
    button.m_bHover = TRUE;
    Shot up = Face(button, 120, 30, 0, TRUE, "Wx"), upFace = Face(button, 120, 30, 0, TRUE, "");
    Shot down = Face(button, 120, 30, ODS_SELECTED, TRUE, "Wx");
    Shot downFace = Face(button, 120, 30, ODS_SELECTED, TRUE, "");
    CRect ink = Diff(up, upFace), inkDown = Diff(down, downFace);
    EXPECT_NEAR((ink.left + ink.right) / 2, 60, 3);
    EXPECT_NEAR((ink.top + ink.bottom) / 2, 15, 3);
    EXPECT_EQ(inkDown, CRect(ink.left + 1, ink.top + 1, ink.right + 1, ink.bottom + 1));
    EXPECT_EQ(upFace.At(1, 1), Shot::OfBitmap(IDB_BUTTON_FOCUS).At(1, 1));
    EXPECT_EQ(downFace.At(1, 1), Shot::OfBitmap(IDB_BUTTON_PRESSED).At(1, 1));
    // Disabled text is embossed, never black.
    Shot disabled = Face(button, 120, 30, ODS_DISABLED, FALSE, "WWW");
    EXPECT_EQ(disabled.Count(disabled.rect, [](COLORREF c) { return c == 0; }), 0);
    EXPECT_GT(disabled.Count(disabled.rect, [](COLORREF c) { return c == ::GetSysColor(COLOR_3DSHADOW); }), 0);
}

// The main dialog as a person sees it: the usage note blue, its heading red, "秒" black, all on the
// gradient; its boxes skinned; the pointer lights a button without the focus, here and in a box.
// After a round of use that ends where it began (caption hovers, the About box, a row clicked on and
// off, a refused period, a minimise and restore) all but the list and the alternating title is as it was.
TEST_F(MainDialogTest, ShowsTheSkinAndLooksTheSameAfterARoundOfUse)
{
    AddABC();
    UseRealBoxes();
    Shot rest;
    RECT c = {};
    HWND set = nullptr, cancel = nullptr;
    auto statics = [&] {
        ::RedrawWindow(dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        struct Text { HWND h; COLORREF ink; } texts[] = { { dlg.GetDlgItem(IDC_MAIN_USAGE), RGB(0, 0, 255) },
            { dlg.GetDlgItem(IDC_MAIN_USAGE_HEADING), RGB(255, 0, 0) },
            { ::FindWindowExA(dlg, nullptr, "Static", Gbk(L"秒").c_str()), RGB(0, 0, 0) } };
        for (const Text& t : texts) {
            Shot s = Shot::OfWindow(t.h);
            EXPECT_GT(s.Count({ 0, 0, s.rect.right - s.rect.left, s.rect.bottom - s.rect.top }, [&](COLORREF c) {
                return abs(GetRValue(c) - GetRValue(t.ink)) + abs(GetGValue(c) - GetGValue(t.ink)) +
                       abs(GetBValue(c) - GetBValue(t.ink)) < 250;
            }), 5) << "ink of " << ::GetDlgCtrlID(t.h);
            POINT p = { 0, 0 };
            ::MapWindowPoints(t.h, dlg, &p, 1);
            EXPECT_EQ(PixelAt(t.h, 0, 0), PixelAt(dlg, p.x - 3, p.y)) << "the gradient behind the text";
            EXPECT_TRUE(InGradient(PixelAt(t.h, 0, 0)));
        }
        ::GetClientRect(dlg, &c);
        rest = Shot::OfWindow(dlg);
        return (set = dlg.GetDlgItem(IDC_SET)) != nullptr;
    };
    auto at = [&](int id, int x, int y) {  // x < 0: from the right
        HWND h = id ? dlg.GetDlgItem(id) : dlg.m_hWnd;
        RECT r;
        ::GetClientRect(h, &r);
        return ScreenPoint(h, x < 0 ? r.right + x : x, y);
    };
    auto click = [&](int id, int x, int y) -> Step { return [=] { ClickAt(at(id, x, y), 1, false); return true; }; };
    auto move = [&](int x, int y) -> Step { return [=] { MoveMouseTo(at(0, x, y), false); return true; }; };
    auto onto = [&](HWND& h) -> Step { return [&] { MoveMouseTo(ScreenPoint(h, 20, 8), false); return true; }; };
    const Step away = [] { MoveMouseTo(Away(), false); return true; };
    auto hovered = [&](int region) -> Step { return [=] { return dlg.m_nHover == region; }; };
    auto face = [&](HWND& b, UINT id) -> Step {  // left edge, mid-height: the ring tells normal from hovered
        return [&b, id] {
            RECT r;
            ::GetClientRect(b, &r);
            ::UpdateWindow(b);
            return PixelAt(b, 1, r.bottom / 2) == Shot::OfBitmap(id).At(1, 10);
        };
    };
    auto box = [&]() -> Step { return [&] { HWND b = ShownBox(dlg); return b && Settled(b); }; };
    RunModal({ Shown(), statics,
        face(set, IDB_BUTTON_NORMAL), onto(set), face(set, IDB_BUTTON_HOVER), away, face(set, IDB_BUTTON_NORMAL),
        [&] { return ::SetTimer(nullptr, 0, 1, OpenTwoButtonBox) != 0; },  // a box of the dialog's
        [&] { HWND b = ShownBox(dlg); return b && Settled(b) && (cancel = ::GetDlgItem(b, IDCANCEL)); },
        [&] { ExpectSkinned(ShownBox(dlg)); return true; },
        onto(cancel), face(cancel, IDB_BUTTON_HOVER), away, face(cancel, IDB_BUTTON_NORMAL), Answer(IDOK), BoxGone(),
        click(0, -66, 6), [&] { return ::IsIconic(dlg) && ::PostMessageA(dlg, WM_SYSCOMMAND, SC_RESTORE, 0); }, Shown(),
        click(IDC_ABOUT, 20, 8), box(), Answer(IDOK), BoxGone(),
        click(IDC_LIST_WINDOWS, 60, 30), click(IDC_LIST_WINDOWS, 60, 120),
        click(IDC_EDIT_PERIOD, 10, 5), Key(VK_END), Key(VK_BACK), Key('0'), click(IDC_SET, 20, 8), box(), Answer(IDOK),
        BoxGone(), Key('5'),
        [&] {  // the focus walked back to where it was
            return ::GetDlgCtrlID(::GetFocus()) == IDC_REFRESH || (PressKey(VK_TAB, false), false);
        },
        // Each hover repaints the dialog and its children without an erase.
        move(-66, 6), hovered(RegionMinimize), move(-40, 6), hovered(RegionMiddle), move(-14, 6), hovered(RegionClose),
        away, hovered(RegionNone), Shown(),
        [&] {
            RECT list;
            ::GetWindowRect(dlg.GetDlgItem(IDC_LIST_WINDOWS), &list);
            ::MapWindowPoints(nullptr, dlg, (POINT*)&list, 2);
            const RECT title = { 25, 0, c.right - 79, 23 };
            const Shot now = Shot::OfWindow(dlg);
            const RECT changed = now.Bounds([&](int x, int y) {
                return !::PtInRect(&list, { x, y }) && !::PtInRect(&title, { x, y }) && now.At(x, y) != rest.At(x, y);
            });
            EXPECT_GT(changed.left, changed.right) << "changed in " << changed;
            return ::PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
        } });
}
