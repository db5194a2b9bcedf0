// gallery.exe: pictures of the running, unmodified program for people, each
// with pixel probes for the test suite. The program is started against the
// fake Shell window collection and driven with real mouse and keyboard input
// from outside; every picture is a copy of the screen where its window
// stands, written as a BMP (tools/run-gallery.sh turns them into PNGs).
//
//   gallery <veskar.exe> <fakeshell.dll> <output folder>
//
// Exits non-zero if a probe fails, naming the picture and the pixel.
#include "../e2e/driver/ProgramDriver.h"
#include "Screenshot.h"

#include <windows.h>
#include <commctrl.h>

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

const char kTitle[] = "Veskar -- Tolvane工作室 v1.2";   // GBK, as the program sets it
const char kAboutTitle[] = "关于 Veskar...";
const char kNotNumberText[] = "“请填入一个正整数。”";
const char kOutOfRangeText[] = "“请填入一个在1和10000之间的整数。”";
const int kIdRefresh = 1000, kIdAbout = 1001, kIdList = 1003, kIdPeriod = 1004, kIdSet = 1005;
const int kIdUsage = 1012, kIdHeading = 1015;
const int kIdMailFirst = 1007, kIdWebPage = 1009, kIdChatFirst = 1011;
const int kIdBars = 0xFFFF;   // both custom scroll bars
const int kRows = 60;         // more than the list shows, so its bars have a range

// ---------------------------------------------------------------- colours
// 0xRRGGBB, as a 32-bit screen copy holds them.
using Rgb = DWORD;
constexpr Rgb MakeRgb(int r, int g, int b) { return (Rgb)((r << 16) | (g << 8) | b); }

// What the program is meant to paint, from the pictures' definitions and
// the colours the controls are given.
const Rgb kOutline = 0x57759F, kFrame = 0xE3EFF3, kCaptionBottom = 0xFFFFFF;
const Rgb kTitleColours[] = {0x33CC65, 0xA000A0};   // alternate from one paint to the next
const Rgb kLinkColour = 0x000088;
const Rgb kFaceTop = 0xD1EAF2;                        // caption button at rest
const Rgb kHotTop = 0x7FB4EC, kDownTop = 0xBBD7F4;   // minimise and middle
const Rgb kCloseHotTop = 0xF39A8A, kCloseDownTop = 0xF6C4BA;
const Rgb kButtonBorder = 0x2A4C80;                   // skinned push buttons
const Rgb kHeaderTop = 0x5A5A5A, kHeaderLow = 0xA1A1A1;
const Rgb kTrack = 0xE6EEF6, kThumbEdgeColumn = 0xB5D0EE;
const Rgb kListBack = 0xFFFFFF, kSelBack = MakeRgb(115, 123, 165), kSelText = MakeRgb(229, 229, 229);
const Rgb kLinkOutText = MakeRgb(0, 0, 255), kLinkInText = MakeRgb(255, 0, 0);
const Rgb kUsageText = MakeRgb(0, 0, 255), kHeadingText = MakeRgb(255, 0, 0);
const Rgb kLinkInBack = MakeRgb(217, 222, 227), kMailFirstBack = MakeRgb(225, 228, 232);
const Rgb kChatBack = MakeRgb(233, 236, 239);

std::string Hex(Rgb c)
{
    char s[8];
    std::snprintf(s, sizeof s, "#%06lX", (unsigned long)c);
    return s;
}

Rgb FromColorref(COLORREF c) { return MakeRgb(GetRValue(c), GetGValue(c), GetBValue(c)); }

// The skin's background: one colour per row, linear between fixed stops,
// each channel rounded to the nearest.
Rgb SkinRow(int row)
{
    struct Stop { int row, r, g, b; };
    static const Stop stops[] = {
        {0, 251, 252, 252}, {75, 227, 230, 234}, {150, 208, 213, 220}, {175, 208, 213, 220}, {249, 227, 230, 235},
    };
    for (size_t i = 0; i + 1 < sizeof stops / sizeof stops[0]; ++i) {
        const Stop& a = stops[i];
        const Stop& b = stops[i + 1];
        if (row > b.row)
            continue;
        double t = double(row - a.row) / (b.row - a.row);
        auto lerp = [t](int x, int y) { return (int)std::lround(x + (y - x) * t); };
        return MakeRgb(lerp(a.r, b.r), lerp(a.g, b.g), lerp(a.b, b.b));
    }
    return MakeRgb(227, 230, 235);
}

// Bitmap rows 150 to 175 of the background are one colour, so in a window
// taller than the bitmap (which gets it stretched) this screen row shows it
// whatever the stretching rounds to.
const Rgb kSkinFlatBand = MakeRgb(208, 213, 220);
int FlatBandRow(int clientHeight) { return clientHeight * 162 / 250; }

// ---------------------------------------------------------------- screen copies
struct Shot {
    RECT rect{};             // where on the screen
    std::vector<Rgb> px;     // top-down rows
    int Width() const { return rect.right - rect.left; }
    int Height() const { return rect.bottom - rect.top; }
    bool Has(POINT p) const { return PtInRect(&rect, p) != FALSE; }
    Rgb At(POINT p) const { return px[(size_t)(p.y - rect.top) * Width() + (p.x - rect.left)]; }
};

bool Capture(const RECT& rect, Shot* shot)
{
    if (!CaptureScreen(rect, &shot->px))
        return false;
    shot->rect = rect;
    return true;
}

// ---------------------------------------------------------------- probes
// A probe looks at a screen copy; on failure it says what it saw and where.
struct Probe {
    std::string what;
    std::function<bool(const Shot&, std::string* seen)> holds;
};

std::string At(const Shot& shot, POINT p)
{
    char s[48];
    std::snprintf(s, sizeof s, "(%ld, %ld)", p.x - shot.rect.left, p.y - shot.rect.top);
    return s;
}

// The pixel at screen point p is one of `want`.
Probe PixelIs(const std::string& what, POINT p, std::vector<Rgb> want)
{
    return {what, [p, want](const Shot& shot, std::string* seen) {
        std::string wanted;
        for (Rgb c : want)
            wanted += (wanted.empty() ? "" : " or ") + Hex(c);
        if (!shot.Has(p)) {
            *seen = "pixel " + At(shot, p) + " lies outside the picture";
            return false;
        }
        Rgb got = shot.At(p);
        *seen = "pixel " + At(shot, p) + ": got " + Hex(got) + ", want " + wanted;
        for (Rgb c : want)
            if (got == c)
                return true;
        return false;
    }};
}

// At least `least` pixels of the screen rectangle r have one of the colours.
Probe CountAtLeast(const std::string& what, RECT r, std::vector<Rgb> colours, int least)
{
    return {what, [r, colours, least](const Shot& shot, std::string* seen) {
        int n = 0;
        for (LONG y = r.top; y < r.bottom; ++y)
            for (LONG x = r.left; x < r.right; ++x)
                if (shot.Has({x, y}))
                    for (Rgb c : colours)
                        n += shot.At({x, y}) == c;
        std::string names;
        for (Rgb c : colours)
            names += (names.empty() ? "" : "/") + Hex(c);
        char s[160];
        std::snprintf(s, sizeof s, "pixels %s-(%ld, %ld): %d of %s, want at least %d",
                      At(shot, {r.left, r.top}).c_str(), r.right - shot.rect.left, r.bottom - shot.rect.top, n,
                      names.c_str(), least);
        *seen = s;
        return n >= least;
    }};
}

// A fact about the program that is not a pixel (list position, window state).
Probe Fact(const std::string& what, std::function<bool(std::string*)> holds)
{
    return {what, [holds](const Shot&, std::string* seen) { return holds(seen); }};
}

int g_failures;

void Say(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    std::vprintf(fmt, args);
    va_end(args);
    std::printf("\n");
    std::fflush(stdout);
}

// Copies the screen until every probe holds (the program paints in its own
// time) or the time is up, then writes the picture and reports each probe.
class Gallery {
public:
    explicit Gallery(std::string dir) : m_dir(std::move(dir)) {}

    void Take(const char* name, RECT rect, const std::vector<Probe>& probes, DWORD timeoutMs = 4000)
    {
        Shot shot;
        std::vector<std::string> failed;
        const ULONGLONG end = Now() + timeoutMs;
        for (;;) {
            failed.clear();
            if (!Capture(rect, &shot)) {
                failed.push_back("the screen could not be copied");
            } else {
                for (const Probe& p : probes) {
                    std::string seen;
                    if (!p.holds(shot, &seen))
                        failed.push_back(p.what + ": " + seen);
                }
            }
            if (failed.empty() || Now() >= end)
                break;
            Sleep(40);
        }
        std::string file = std::string(name) + ".bmp";
        if (!shot.px.empty() && !WriteBmp((m_dir + "\\" + file).c_str(), shot.Width(), shot.px))
            failed.push_back("could not write " + m_dir + "\\" + file);
        ++m_pictures;
        if (failed.empty()) {
            Say("ok   %s (%dx%d, %zu probe(s))", name, shot.Width(), shot.Height(), probes.size());
            return;
        }
        for (const std::string& f : failed)
            Say("FAIL %s: %s", name, f.c_str());
        g_failures += (int)failed.size();
    }
    int pictures() const { return m_pictures; }

private:
    std::string m_dir;
    int m_pictures = 0;
};

void Fail(const char* fmt, ...)
{
    char text[512];
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(text, sizeof text, fmt, args);
    va_end(args);
    Say("FAIL %s", text);
    ++g_failures;
}

// ---------------------------------------------------------------- real input
// Absolute input is in 1/65536 of the screen; rounding up maps back to
// exactly the pixel asked for.
LONG Normalised(LONG v, int size) { return (LONG)(((long long)v * 65536 + size - 1) / size); }

void SendMouse(DWORD flags, POINT p = {0, 0})
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_ABSOLUTE) {
        in.mi.dx = Normalised(p.x, GetSystemMetrics(SM_CXSCREEN));
        in.mi.dy = Normalised(p.y, GetSystemMetrics(SM_CYSCREEN));
    }
    SendInput(1, &in, sizeof in);
}

void MoveTo(POINT p) { SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, p); }
void ButtonDown() { SendMouse(MOUSEEVENTF_LEFTDOWN); }
void ButtonUp() { SendMouse(MOUSEEVENTF_LEFTUP); }

// A few steps, so that the windows on the way see the pointer move.
void SlideTo(POINT from, POINT to, int steps = 6)
{
    for (int i = 1; i <= steps; ++i) {
        MoveTo({from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
        Sleep(15);
    }
}

void Click(POINT p)
{
    MoveTo(p);
    Sleep(30);
    ButtonDown();
    Sleep(30);
    ButtonUp();
}

void Key(WORD vk, bool up)
{
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
}

void Press(WORD vk)
{
    Key(vk, false);
    Key(vk, true);
}

// Replaces the focused edit's text as a user would: End, Shift+Home, then
// the keys of the new text (digits and letters only).
void TypeOver(const char* text)
{
    Press(VK_END);
    Key(VK_SHIFT, false);
    Press(VK_HOME);
    Key(VK_SHIFT, true);
    for (const char* c = text; *c; ++c)
        Press((WORD)(*c >= 'a' && *c <= 'z' ? *c - 'a' + 'A' : *c));
}

// ---------------------------------------------------------------- geometry
RECT WindowRect(HWND wnd)
{
    RECT r{};
    GetWindowRect(wnd, &r);
    return r;
}

RECT ClientRect(HWND wnd)
{
    RECT r{};
    GetClientRect(wnd, &r);
    return r;
}

// A client point of the window on the screen.
POINT Pt(HWND wnd, int x, int y)
{
    POINT p{x, y};
    ClientToScreen(wnd, &p);
    return p;
}

RECT ScreenRect(HWND wnd, int left, int top, int right, int bottom)
{
    POINT a = Pt(wnd, left, top), b = Pt(wnd, right, bottom);
    return {a.x, a.y, b.x, b.y};
}

POINT Centre(HWND wnd)
{
    RECT r = ClientRect(wnd);
    return Pt(wnd, r.right / 2, r.bottom / 2);
}

// The pointer's parking place: a corner of the screen far from every window.
POINT FarAway() { return {GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2}; }

HWND FindBar(HWND dlg, bool vertical)
{
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(c) != kIdBars)
            continue;
        RECT r = ClientRect(c);
        if ((r.bottom > r.right) == vertical)
            return c;
    }
    return nullptr;
}

// A skinned push button: its dark-blue border at mid-height on the left.
Probe SkinnedButton(const std::string& what, HWND button)
{
    RECT r = ClientRect(button);
    return PixelIs(what + " has the skin's button border", Pt(button, 0, r.bottom / 2), {kButtonBorder});
}

// The skin's gradient behind a dialog's client point (dialogs up to the
// background bitmap's height show its rows one to one).
Probe SkinBackground(const std::string& what, HWND dlg, int x, int y)
{
    return PixelIs(what, Pt(dlg, x, y), {SkinRow(y)});
}

// An icon static, after the skin has put its icon on the gradient: its
// top-left corner (transparent in the icon) shows the background. Found by
// class and style: a message box gives its icon id 1088 under Wine and
// another one on Windows.
HWND FindIconStatic(HWND dlg)
{
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char cls[32];
        GetClassNameA(c, cls, sizeof cls);
        LONG type = GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK;
        if (lstrcmpiA(cls, "Static") == 0 && (type == SS_ICON || type == SS_BITMAP))
            return c;
    }
    return nullptr;
}

// The static that shows a message box's text.
HWND FindTextStatic(HWND box)
{
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char cls[32], text[8];
        GetClassNameA(c, cls, sizeof cls);
        if (lstrcmpiA(cls, "Static") == 0 && GetWindowTextA(c, text, sizeof text) > 0)
            return c;
    }
    return nullptr;
}

// Text on the skin is drawn without a background, in the window's text colour.
Probe TextDrawn(const std::string& what, HWND wnd, Rgb colour, int least)
{
    RECT r = ClientRect(wnd);
    return CountAtLeast(what, ScreenRect(wnd, 0, 0, r.right, r.bottom), {colour}, least);
}

Probe IconOnBackground(const std::string& what, HWND dlg, HWND icon)
{
    POINT p = Pt(icon, 0, 0);
    POINT client = p;
    ScreenToClient(dlg, &client);
    return PixelIs(what, p, {SkinRow(client.y)});
}

std::string Describe(HWND wnd)
{
    char s[64];
    std::snprintf(s, sizeof s, "%p", (void*)wnd);
    return s;
}

// ---------------------------------------------------------------- the program
struct Session {
    Gallery& gallery;
    const Program& prog;
    HWND dlg;
    HWND list;
    RemoteListView& rows;
};

// The pixel columns of the caption-button faces (the 79x15 strip stands at
// the client's right edge; faces start 1, 27 and 53 pixels into it).
int FaceX(int clientWidth, int face) { return clientWidth - 79 + 1 + 26 * face + 3; }
POINT FaceCentre(HWND dlg, int face)
{
    const int w = ClientRect(dlg).right;
    return Pt(dlg, w - 79 + 1 + 26 * face + 12, 6);
}

// The three faces' top rows: `face` shows `top`, the others are at rest.
std::vector<Probe> CaptionFaces(HWND dlg, int face, Rgb top)
{
    const char* names[] = {"minimise", "middle", "close"};
    const int w = ClientRect(dlg).right;
    std::vector<Probe> probes;
    for (int f = 0; f < 3; ++f)
        probes.push_back(PixelIs(std::string(names[f]) + " button face", Pt(dlg, FaceX(w, f), 1),
                                 {f == face ? top : kFaceTop}));
    return probes;
}

RECT CaptionCrop(HWND dlg)
{
    RECT r = WindowRect(dlg);
    return {r.right - 160, r.top, r.right, r.top + 30};
}

Probe StillOpen(HWND dlg, RECT where)
{
    return Fact("the dialog is still open, in place and not minimised", [dlg, where](std::string* seen) {
        RECT now = WindowRect(dlg);
        bool ok = IsWindowVisible(dlg) && !IsIconic(dlg) && EqualRect(&now, &where);
        char s[96];
        std::snprintf(s, sizeof s, "visible %d, minimised %d, at (%ld, %ld)", IsWindowVisible(dlg) != 0,
                      IsIconic(dlg) != 0, now.left, now.top);
        *seen = s;
        return ok;
    });
}

void MainAtRest(Session& s)
{
    HWND dlg = s.dlg;
    const RECT c = ClientRect(dlg);
    const int w = c.right, h = c.bottom;
    HWND header = GetDlgItem(s.list, 0);
    HWND vbar = FindBar(dlg, true);
    std::vector<Probe> probes = CaptionFaces(dlg, -1, 0);
    probes.push_back(PixelIs("outline", Pt(dlg, 0, h / 2), {kOutline}));
    probes.push_back(PixelIs("side frame", Pt(dlg, 1, h / 2), {kFrame}));
    probes.push_back(PixelIs("caption bar's white bottom row", Pt(dlg, w / 2, 22), {kCaptionBottom}));
    probes.push_back(CountAtLeast("title in one of its two colours", ScreenRect(dlg, 25, 4, 260, 22),
                                  {kTitleColours[0], kTitleColours[1]}, 20));
    probes.push_back(CountAtLeast("maker link", ScreenRect(dlg, w / 2, h - 21, w - 3, h - 1), {kLinkColour}, 20));
    probes.push_back(PixelIs("skin gradient beside the group boxes", Pt(dlg, 6, FlatBandRow(h)), {kSkinFlatBand}));
    RECT first{};
    if (s.rows.ItemRect(0, &first))
        probes.push_back(PixelIs("list background beside a row's text",
                                 Pt(s.list, first.left + 420, (first.top + first.bottom) / 2), {kListBack}));
    else
        Fail("main: the first row's rectangle could not be read");
    probes.push_back(TextDrawn("usage text in its own colour", GetDlgItem(dlg, kIdUsage), kUsageText, 50));
    probes.push_back(TextDrawn("heading in its own colour", GetDlgItem(dlg, kIdHeading), kHeadingText, 8));
    if (header) {
        // Where the list view would draw its own vertical bar: only the list.
        const RECT lw = WindowRect(s.list), hw = WindowRect(header);
        const RECT strip = {lw.right - 18, hw.bottom + 1, lw.right, lw.bottom - 18};
        probes.push_back({"only our vertical bar: the list's own strip is white", [strip](const Shot& shot, std::string* seen) {
            int other = 0;
            for (LONG y = strip.top; y < strip.bottom; ++y)
                for (LONG x = strip.left; x < strip.right; ++x)
                    other += shot.Has({x, y}) && shot.At({x, y}) != kListBack;
            *seen = std::to_string(other) + " pixels of another colour";
            return other == 0;
        }});
        probes.push_back(PixelIs("header's dark top line", Pt(header, 30, 0), {kHeaderTop}));
        probes.push_back(PixelIs("header's shaded bottom", Pt(header, 30, 14), {kHeaderLow}));
    } else {
        Fail("main: the list has no header");
    }
    if (vbar) {
        // Scrolled to the top, the thumb rests right under the up arrow.
        probes.push_back(PixelIs("vertical thumb at the top", Pt(vbar, 1, 41 + 5), {kThumbEdgeColumn}));
        probes.push_back(PixelIs("vertical track", Pt(vbar, 7, 41 + 26 + 10), {kTrack}));
    } else {
        Fail("main: no vertical scroll bar");
    }
    probes.push_back(SkinnedButton("刷新(&R)", GetDlgItem(dlg, kIdRefresh)));
    probes.push_back(SkinnedButton("设置(&S)", GetDlgItem(dlg, kIdSet)));
    probes.push_back(SkinnedButton("关于(&A)...", GetDlgItem(dlg, kIdAbout)));
    probes.push_back(Fact("every row listed", [&s](std::string* seen) {
        *seen = std::to_string(s.rows.Count()) + " rows";
        return s.rows.Count() == kRows;
    }));
    s.gallery.Take("main", WindowRect(dlg), probes);
}

// Hover, then a press held with the capture; minimise and close slide off
// before the release so that nothing happens, the middle button (which does
// nothing on release) is let go where it was pressed: sliding would move the
// window, since a press on it also starts a drag.
void CaptionButtons(Session& s)
{
    HWND dlg = s.dlg;
    const RECT where = WindowRect(dlg);
    struct Face { int index; const char* name; Rgb hot, down; };
    const Face faces[] = {
        {0, "minimise", kHotTop, kDownTop},
        {1, "middle", kHotTop, kDownTop},
        {2, "close", kCloseHotTop, kCloseDownTop},
    };
    const POINT off = Pt(dlg, ClientRect(dlg).right / 2, 10);   // caption bar, no button
    for (const Face& f : faces) {
        const POINT on = FaceCentre(dlg, f.index);
        MoveTo(off);
        Sleep(20);
        SlideTo(off, on, 4);
        std::vector<Probe> hover = CaptionFaces(dlg, f.index, f.hot);
        s.gallery.Take((std::string("caption-") + f.name + "-hover").c_str(), CaptionCrop(dlg), hover);

        ButtonDown();
        std::vector<Probe> down = CaptionFaces(dlg, f.index, f.down);
        down.push_back(Fact("the dialog holds the mouse capture", [dlg](std::string* seen) {
            GUITHREADINFO gti = {};
            gti.cbSize = sizeof gti;
            GetGUIThreadInfo(GetWindowThreadProcessId(dlg, nullptr), &gti);
            *seen = "capture " + Describe(gti.hwndCapture) + ", dialog " + Describe(dlg);
            return gti.hwndCapture == dlg;
        }));
        s.gallery.Take((std::string("caption-") + f.name + "-pressed").c_str(), CaptionCrop(dlg), down);

        if (f.index != 1) {
            SlideTo(on, off, 4);
            // The release acts on the region the hover timer last saw: wait
            // until the face has gone back to rest.
            Shot shot;
            const POINT top = Pt(dlg, FaceX(ClientRect(dlg).right, f.index), 1);
            WaitFor([&] { return Capture(CaptionCrop(dlg), &shot) && shot.Has(top) && shot.At(top) == kFaceTop; },
                    3000, 20);
        }
        ButtonUp();
        Sleep(100);
        std::string seen;
        Probe open = StillOpen(dlg, where);
        if (!open.holds(Shot(), &seen))
            Fail("after the %s button's press: %s (%s)", f.name, open.what.c_str(), seen.c_str());
    }
    MoveTo(FarAway());
}

void SelectedRow(Session& s)
{
    const int row = 1;
    RECT item{};
    if (!s.rows.ItemRect(row, &item)) {
        Fail("row-selected: the row's rectangle could not be read");
        return;
    }
    const int mid = (item.top + item.bottom) / 2;
    // On the text, clear of the tick box, which a click would toggle.
    Click(Pt(s.list, item.left + 70, mid));
    MoveTo(FarAway());
    std::vector<Probe> probes;
    probes.push_back(Fact("the clicked row is the selection, unticked", [&s, row](std::string* seen) {
        DWORD_PTR sel = 0;
        SendMessageTimeoutA(s.list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED, SMTO_ABORTIFHUNG, 5000, &sel);
        const int tick = s.rows.StateImage(row);
        *seen = "selected row " + std::to_string((int)sel) + ", tick state " + std::to_string(tick);
        return (int)sel == row && tick == 1;
    }));
    const int height = item.bottom - item.top;
    probes.push_back(PixelIs("selected row's own background", Pt(s.list, item.right - 40, mid), {kSelBack}));
    const RECT text = ScreenRect(s.list, item.left, item.top, item.left + 300, item.bottom);
    probes.push_back(CountAtLeast("selected row's own text colour", text, {kSelText}, 10));
    probes.push_back(PixelIs("row below stays white", Pt(s.list, item.right - 40, mid + height), {kListBack}));
    s.gallery.Take("row-selected", WindowRect(s.dlg), probes);
}

// The thumb's top in the vertical bar: the first row of a run of its light
// left column.
int ThumbTop(const Shot& shot, HWND vbar)
{
    RECT r = ClientRect(vbar);
    int run = 0;
    for (int y = 0; y < r.bottom; ++y) {
        POINT p = Pt(vbar, 1, y);
        run = shot.Has(p) && shot.At(p) == kThumbEdgeColumn ? run + 1 : 0;
        if (run == 20)
            return y - 19 - 1;   // the thumb's outline row sits above its face
    }
    return -1;
}

int TopIndex(HWND list)
{
    DWORD_PTR top = 0;
    SendMessageTimeoutA(list, LVM_GETTOPINDEX, 0, 0, SMTO_ABORTIFHUNG, 5000, &top);
    return (int)top;
}

Probe ThumbAt(const std::string& what, HWND vbar, std::function<bool(int)> where, const std::string& want)
{
    return {what, [vbar, where, want](const Shot& shot, std::string* seen) {
        int top = ThumbTop(shot, vbar);
        *seen = "thumb top at " + std::to_string(top) + " in the bar, want " + want;
        return top >= 0 && where(top);
    }};
}

void ScrollBars(Session& s)
{
    HWND vbar = FindBar(s.dlg, true);
    if (!vbar) {
        Fail("scroll pictures: no vertical scroll bar");
        return;
    }
    const int h = ClientRect(vbar).bottom;

    // The down arrow held: after a delay it repeats, and the list and the
    // thumb follow while the button is still down.
    const POINT arrow = Pt(vbar, 7, h - 20);
    MoveTo(arrow);
    Sleep(30);
    ButtonDown();
    WaitFor([&] { return TopIndex(s.list) >= 4; }, 4000, 20);
    std::vector<Probe> held;
    held.push_back(Fact("the list scrolls while the arrow is held", [&s](std::string* seen) {
        int top = TopIndex(s.list);
        *seen = "top row " + std::to_string(top);
        return top >= 4;
    }));
    held.push_back(ThumbAt("thumb moved down from rest", vbar, [](int top) { return top > 41; }, "below 41"));
    held.push_back(PixelIs("track above the thumb", Pt(vbar, 7, 42), {kTrack}));
    s.gallery.Take("scroll-arrow-held", WindowRect(s.dlg), held);
    ButtonUp();
    Sleep(100);

    // The thumb dragged: it follows the pointer (16 pixels below its top)
    // and the list scrolls with it.
    Shot shot;
    int start = -1;
    WaitFor([&] { return Capture(WindowRect(vbar), &shot) && (start = ThumbTop(shot, vbar)) > 0; }, 2000, 20);
    if (start < 0) {
        Fail("scroll-thumb-drag: no thumb to grab");
        return;
    }
    // Down, or up if the arrow has already taken the list near its end.
    const int delta = start + 70 <= h - 67 ? 70 : -70;
    const int before = TopIndex(s.list);
    const POINT grab = Pt(vbar, 7, start + 16);
    const POINT to = Pt(vbar, 7, start + 16 + delta);
    MoveTo(grab);
    Sleep(30);
    ButtonDown();
    Sleep(30);
    SlideTo(grab, to, 7);
    std::vector<Probe> drag;
    const int want = start + delta;
    drag.push_back(ThumbAt("thumb follows the pointer", vbar, [want](int top) { return std::abs(top - want) <= 1; },
                           std::to_string(want) + " (the pointer less 16)"));
    drag.push_back(Fact("the list scrolled with the drag", [&s, before, delta](std::string* seen) {
        int top = TopIndex(s.list);
        *seen = "top row " + std::to_string(top) + ", was " + std::to_string(before);
        return delta > 0 ? top > before : top < before;
    }));
    s.gallery.Take("scroll-thumb-drag", WindowRect(s.dlg), drag);
    ButtonUp();   // on the thumb: no paging
    MoveTo(FarAway());
}

// Checks shared by every box the program shows: its exact text (`shown` is
// the text as the box holds it, `expected` as the program means it, both in
// the program's code page), the text drawn, the skin's gradient behind it
// and a skinned OK button.
std::vector<Probe> MessageBoxProbes(const char* name, HWND box, const std::string& shown, const std::string& expected)
{
    HWND ok = GetDlgItem(box, IDOK);
    HWND textStatic = FindTextStatic(box);
    std::vector<Probe> probes;
    probes.push_back(Fact("the message", [shown, expected](std::string* seen) {
        *seen = "\"" + ToUtf8(shown.c_str()) + "\"";
        return shown == expected;
    }));
    if (textStatic)
        probes.push_back(TextDrawn("the message drawn in black", textStatic, 0x000000, 10));
    probes.push_back(SkinBackground("skin gradient, top row", box, 2, 0));
    probes.push_back(SkinBackground("skin gradient, lower", box, 2, ClientRect(box).bottom - 3));
    if (ok)
        probes.push_back(SkinnedButton("OK", ok));
    else
        Fail("%s: the box has no OK button", name);
    return probes;
}

// Types `text` into the period box, presses 设置(&S) and pictures the box
// that refuses it; OK then closes the box.
void PeriodMessage(Session& s, const char* name, const char* text, const char* message)
{
    HWND edit = GetDlgItem(s.dlg, kIdPeriod);
    Click(Centre(edit));
    Sleep(50);
    TypeOver(text);
    WaitFor([&] {
        char now[32] = "";
        GetWindowTextA(edit, now, sizeof now);
        return std::string(now) == text;
    }, 2000, 20);
    Click(Centre(GetDlgItem(s.dlg, kIdSet)));
    MoveTo(FarAway());

    HWND box = nullptr;
    std::string said, caption;
    WaitFor([&] { return (box = FindMessageBox(s.prog.pid(), &said, &caption, s.dlg)) != nullptr; }, 5000);
    if (!box) {
        char now[32] = "";
        GetWindowTextA(edit, now, sizeof now);
        Fail("%s: no message box after 设置(&S) with \"%s\" in the box (it holds \"%s\")", name, text, now);
        return;
    }
    HWND ok = GetDlgItem(box, IDOK);
    HWND icon = FindIconStatic(box);
    std::vector<Probe> probes = MessageBoxProbes(name, box, said, message);
    if (icon)
        probes.push_back(IconOnBackground("exclamation icon on the gradient", box, icon));
    else
        Fail("%s: the box shows no icon", name);
    s.gallery.Take(name, WindowRect(box), probes);

    if (ok)
        Click(Centre(ok));
    if (!WaitFor([&] { return !IsWindow(box); }, 5000)) {
        Fail("%s: OK did not close the box", name);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    MoveTo(FarAway());
}

void AboutBox(Session& s)
{
    Click(Centre(GetDlgItem(s.dlg, kIdAbout)));
    HWND about = WaitForShownWindow(s.prog.pid(), "#32770", kAboutTitle, 5000);
    if (!about) {
        Fail("about: the About box did not open");
        return;
    }
    HWND web = GetDlgItem(about, kIdWebPage);
    HWND mail = GetDlgItem(about, kIdMailFirst);
    // Near the link's left end, clear of its text: the tooltip that follows
    // a moment later opens below the pointer, away from the probes.
    SlideTo(FarAway(), Pt(web, 4, 4), 6);
    const Rgb raised = FromColorref(GetSysColor(COLOR_BTNHILIGHT));
    std::vector<Probe> probes;
    probes.push_back(PixelIs("hovered link's background", Pt(web, 2, 2), {kLinkInBack}));
    probes.push_back(PixelIs("hovered link's raised edge", Pt(web, 0, 0), {raised}));
    probes.push_back(TextDrawn("hovered link's text", web, kLinkInText, 20));
    probes.push_back(PixelIs("other link's background", Pt(mail, 2, 2), {kMailFirstBack}));
    probes.push_back(TextDrawn("other link's text", mail, kLinkOutText, 20));
    probes.push_back(PixelIs("chat link's background", Pt(GetDlgItem(about, kIdChatFirst), 1, 1), {kChatBack}));
    probes.push_back(SkinBackground("skin gradient, top row", about, 2, 0));
    probes.push_back(SkinBackground("skin gradient, row 75", about, 2, 75));
    probes.push_back(SkinnedButton("确 定", GetDlgItem(about, IDOK)));
    // Wine draws this box's title bar, its close glyph in Marlett: the font
    // must be there, or the glyph shows as the letter "r".
    probes.push_back(Fact("title-bar glyphs drawn in Marlett", [](std::string* seen) {
        HDC dc = GetDC(nullptr);
        HFONT font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, SYMBOL_CHARSET, 0, 0, 0, 0, "Marlett");
        HGDIOBJ old = SelectObject(dc, font);
        char face[LF_FACESIZE] = "";
        GetTextFaceA(dc, sizeof face, face);
        SelectObject(dc, old);
        DeleteObject(font);
        ReleaseDC(nullptr, dc);
        *seen = std::string("the font drawn is ") + face;
        return lstrcmpiA(face, "Marlett") == 0;
    }));
    if (HWND icon = FindIconStatic(about))
        probes.push_back(IconOnBackground("program icon on the gradient", about, icon));
    else
        Fail("about: no icon static");
    s.gallery.Take("about-link-hover", WindowRect(about), probes);

    Click(Centre(GetDlgItem(about, IDOK)));
    MoveTo(FarAway());
    if (!WaitFor([&] { return !IsWindow(about); }, 5000)) {
        Fail("about: 确 定 did not close the About box");
        PostMessageA(about, WM_COMMAND, IDOK, 0);
    }
}

struct Paths {
    std::string exe, dll, out, config, log;
};

// Page titles of the sort a browser shows, in UTF-8 as the fake reads them.
std::vector<std::string> DemoBrowsers()
{
    static const char* const names[] = {
        u8"新浪首页", u8"北京新闻 - 今日要闻", u8"Example Domain", u8"天气预报 - 一周天气",
        u8"股票行情 实时", u8"Project status board", u8"火车票余票查询", u8"论坛 - 最新回复",
    };
    std::vector<std::string> lines;
    for (int i = 0; i < kRows; ++i) {
        const char* name = names[i % (sizeof names / sizeof names[0])];
        lines.push_back(std::string("browser - ") + name + (i >= 8 ? " (" + std::to_string(i / 8 + 1) + ")" : ""));
    }
    return lines;
}

void MainProgram(Gallery& gallery, const Paths& p)
{
    WriteFakeShellConfig(p.config, p.log, DemoBrowsers());
    MoveTo(FarAway());
    Program prog(p.exe);
    if (!prog.ok()) {
        Fail("the program did not start (%s)", p.exe.c_str());
        return;
    }
    HWND dlg = WaitForShownWindow(prog.pid(), "#32770", kTitle, 15000);
    if (!dlg) {
        Fail("the main dialog did not open");
        return;
    }
    HWND list = GetDlgItem(dlg, kIdList);
    RemoteListView rows(prog.process(), list);
    if (!rows.ok()) {
        Fail("no memory for list messages in the program");
        return;
    }
    WaitFor([&] { return rows.Count() == kRows; }, 5000);
    Session s{gallery, prog, dlg, list, rows};

    MainAtRest(s);
    CaptionButtons(s);
    SelectedRow(s);
    ScrollBars(s);
    PeriodMessage(s, "period-not-number", "abc", kNotNumberText);
    PeriodMessage(s, "period-out-of-range", "0", kOutOfRangeText);
    AboutBox(s);

    // The window menu of this captionless dialog is out of the pointer's
    // reach, so its Close comes as the message the menu would send.
    PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (!prog.WaitExit(10000))
        Fail("the program did not end after the window menu's Close");
}

// The collection cannot be created: the one message of the program's own.
void FailedBox(Gallery& gallery, const Paths& p)
{
    WriteFakeShellConfig(p.config, p.log, {"fail create", "browser - Alpha"});
    Program prog(p.exe);
    if (!prog.ok()) {
        Fail("the program did not start (%s)", p.exe.c_str());
        return;
    }
    HWND box = nullptr;
    std::string text, caption;
    WaitFor([&] { return (box = FindMessageBox(prog.pid(), &text, &caption)) != nullptr; }, 15000);
    if (!box) {
        Fail("failed: no message box");
        return;
    }
    HWND ok = GetDlgItem(box, IDOK);
    std::vector<Probe> probes = MessageBoxProbes("failed", box, text, "Failed");
    gallery.Take("failed", WindowRect(box), probes);
    if (ok)
        Click(Centre(ok));
    MoveTo(FarAway());
    if (!prog.WaitExit(10000))
        Fail("failed: OK did not end the program");
}

int Run(const char* exeArg, const char* dllArg, const char* outArg)
{
    const ULONGLONG start = Now();
    Paths p;
    p.exe = ToWindowsPath(exeArg);
    p.dll = ToWindowsPath(dllArg);
    p.out = ToWindowsPath(outArg);
    const std::string work = MakeWorkDir("veskar-gallery");
    p.config = work + "\\fakeshell.cfg";
    p.log = work + "\\fakeshell.log";
    CreateDirectoryA(p.out.c_str(), nullptr);
    if (GetFileAttributesA(p.exe.c_str()) == INVALID_FILE_ATTRIBUTES ||
        GetFileAttributesA(p.dll.c_str()) == INVALID_FILE_ATTRIBUTES ||
        GetFileAttributesA(p.out.c_str()) == INVALID_FILE_ATTRIBUTES) {
        Say("FAIL program, fake or output folder missing: %s %s %s", p.exe.c_str(), p.dll.c_str(), p.out.c_str());
        return 1;
    }
    Say("pictures in %s", p.out.c_str());
    // The program inherits this and passes it on to the fake in its process.
    SetEnvironmentVariableA(FAKESHELL_CONFIG_ENV, p.config.c_str());
    Gallery gallery(p.out);
    {
        FakeRegistration reg(p.dll);
        if (!reg.ok()) {
            Say("FAIL the fake could not be registered for CLSID_ShellWindows");
            return 1;
        }
        MainProgram(gallery, p);
        FailedBox(gallery, p);
    }
    DeleteFileA(p.config.c_str());
    DeleteFileA(p.log.c_str());
    RemoveDirectoryA(work.c_str());
    Say("%s: %d picture(s), %d failed probe(s) (%.1f s)", g_failures ? "FAILED" : "PASSED", gallery.pictures(),
        g_failures, (Now() - start) / 1000.0);
    return g_failures ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: gallery <veskar.exe> <fakeshell.dll> <output folder>\n");
        return 2;
    }
    return Run(argv[1], argv[2], argv[3]);
}
