// The main dialog run as the program runs it (its own modal loop, real
// message boxes, the About box) and used with the real mouse and keyboard:
// what a person sees after using it, and the push buttons' hover face.
#include "app/RefreshDlg.h"
#include "FakeShell.h"
#include "MouseInput.h"
#include "Screenshot.h"
#include "TestSupport.h"
#include <memory>

namespace {

POINT Away() { return { ::GetSystemMetrics(SM_CXSCREEN) - 5, ::GetSystemMetrics(SM_CYSCREEN) - 5 }; }

POINT CentreOf(HWND hWnd)
{
    RECT r;
    ::GetClientRect(hWnd, &r);
    return ScreenPoint(hWnd, r.right / 2, r.bottom / 2);
}

COLORREF ScreenPixel(HWND hWnd, int x, int y)
{
    HDC hDC = ::GetDC(hWnd);
    COLORREF c = ::GetPixel(hDC, x, y);
    ::ReleaseDC(hWnd, hDC);
    return c;
}

COLORREF BitmapPixel(UINT nID, int x, int y)
{
    HDC hMem = ::CreateCompatibleDC(nullptr);
    HBITMAP hBmp = ::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(nID));
    HGDIOBJ old = ::SelectObject(hMem, hBmp);
    COLORREF c = ::GetPixel(hMem, x, y);
    ::SelectObject(hMem, old);
    ::DeleteObject(hBmp);
    ::DeleteDC(hMem);
    return c;
}

struct FindBox { HWND except, found; };

BOOL CALLBACK FindBoxProc(HWND h, LPARAM lp)
{
    auto* f = reinterpret_cast<FindBox*>(lp);
    char cls[16] = "";
    ::GetClassNameA(h, cls, sizeof cls);
    if (h != f->except && ::IsWindowVisible(h) && lstrcmpA(cls, "#32770") == 0) {
        f->found = h;
        return FALSE;
    }
    return TRUE;
}

// A shown dialog box of this thread other than `except`.
HWND ShownBox(HWND except)
{
    FindBox find = { except, nullptr };
    ::EnumThreadWindows(::GetCurrentThreadId(), FindBoxProc, (LPARAM)&find);
    return find.found;
}

// Opens a box of the active window's with two buttons, from a timer of its
// own so that the script goes on inside the box's loop.
void CALLBACK OpenTwoButtonBox(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    ::MessageBoxA(::GetActiveWindow(), "hover", "veskar-test", MB_OKCANCEL);
}

// Nothing of the window or its children waits to be painted.
bool Settled(HWND hWnd)
{
    if (::GetUpdateRect(hWnd, nullptr, FALSE))
        return false;
    for (HWND c = ::GetWindow(hWnd, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
        if (::IsWindowVisible(c) && ::GetUpdateRect(c, nullptr, FALSE))
            return false;
    return true;
}

class MainDialogInUse : public testing::Test {
protected:
    MainDialogInUse()
    {
        static const wchar_t* const names[] = { L"新浪首页", L"Example Domain", L"天气预报 - 一周天气",
                                                L"论坛 - 最新回复", L"Project status board" };
        for (const wchar_t* n : names)
            shell.Add(n, "w");
        MoveMouseTo(Away());
    }
    void TearDown() override
    {
        MouseUpIfDown();
        MoveMouseTo(Away());
    }
    // The dialog is up, in front and fully painted.
    TimerScript::Step Shown()
    {
        return [this] {
            if (!dlg.m_hWnd || !dlg.IsWindowVisible())
                return false;
            ::SetForegroundWindow(dlg);
            return Settled(dlg);
        };
    }
    TimerScript::Step Click(HWND hWnd)
    {
        return [hWnd] { ClickAt(CentreOf(hWnd), 1, false); return true; };
    }
    TimerScript::Step ClickItem(int id) { return [this, id] { ClickAt(CentreOf(dlg.GetDlgItem(id)), 1, false); return true; }; }
    TimerScript::Step Move(std::function<POINT()> where)
    {
        return [where] { MoveMouseTo(where(), false); return true; };
    }
    TimerScript::Step Key(WORD vk) { return [vk] { PressKey(vk, false); return true; }; }
    // Waits for a box over the dialog, then clicks its button `id`.
    TimerScript::Step AnswerBox(int id)
    {
        return [this, id] {
            HWND box = ShownBox(dlg);
            if (!box || !::IsWindowEnabled(box))
                return false;
            ClickAt(CentreOf(::GetDlgItem(box, id)), 1, false);
            return true;
        };
    }
    TimerScript::Step BoxGone() { return [this] { return ShownBox(dlg) == nullptr; }; }
    // Ends the modal run of a script that got stuck, boxes first.
    std::function<void()> GiveUp()
    {
        return [this] {
            if (HWND box = ShownBox(dlg))
                ::PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
            dlg.PostMessage(WM_SYSCOMMAND, SC_CLOSE);
        };
    }
    POINT CaptionFace(int face)
    {
        RECT r;
        dlg.GetClientRect(&r);
        return ScreenPoint(dlg, r.right - 79 + 1 + 26 * face + 12, 6);
    }
    TimerScript::Step Hover(int face, int region)
    {
        return [this, face, region] {
            if (dlg.m_nHover == region)
                return true;
            MoveMouseTo(CaptionFace(face), false);
            return false;
        };
    }

    FakeLog log;
    FakeShellWindows shell{ &log };
    ScopedShellFactory factory{ &shell };
    CRefreshDlg dlg;
};

}  // namespace

// However a person has used the dialog, once it is back at rest (the focus
// on 刷新(&R), the pointer away) every pixel outside the list's rows and the
// (alternating) title is what it was at the start: above all, transparent
// texts are never drawn over themselves. Compared after each kind of use,
// since a later full repaint would hide the damage of an earlier one.
TEST_F(MainDialogInUse, LooksTheSameAfterUse)
{
    RECT win = {};
    CRect rows, title(25, 4, 300, 22);
    std::vector<DWORD> rest;
    auto atRest = [&](const char* after) -> TimerScript::Step {
        return [&, after] {
            if (dlg.m_nHover != RegionNone || ::IsIconic(dlg) || !Settled(dlg))
                return false;
            std::vector<DWORD> now;
            EXPECT_TRUE(CaptureScreen(win, &now));
            if (rest.empty()) {
                rest = now;
                return true;
            }
            const int w = win.right - win.left;
            int differ = 0;
            std::string first;
            for (size_t i = 0; i < rest.size() && i < now.size(); ++i) {
                const POINT p = { (LONG)(i % w), (LONG)(i / w) };
                if (rest[i] != now[i] && !rows.PtInRect(p) && !title.PtInRect(p) && differ++ == 0)
                    first = "(" + std::to_string(p.x) + ", " + std::to_string(p.y) + ")";
            }
            EXPECT_EQ(differ, 0) << "after " << after << ": pixels changed, the first at " << first;
            if (differ) {
                WriteBmp(ScreenshotPath("in-use-rest.bmp").c_str(), w, rest);
                WriteBmp(ScreenshotPath("in-use-after.bmp").c_str(), w, now);
            }
            return true;
        };
    };
    auto backToRest = [&](const char* after) {
        return std::vector<TimerScript::Step>{ ClickItem(IDC_REFRESH), Move(Away), atRest(after) };
    };
    std::vector<TimerScript::Step> steps = {
        Shown(),
        [&] {
            dlg.GetWindowRect(&win);
            CRect list, header;
            ::GetWindowRect(dlg.m_listWindows.GetDlgItem(0), &header);
            ::GetWindowRect(dlg.m_listWindows, &list);
            rows = CRect(list.left - win.left, header.bottom - win.top, list.right - win.left, list.bottom - win.top);
            return true;
        },
        atRest("nothing"),
        // The caption buttons under the pointer, then away again.
        Hover(0, RegionMinimize), Hover(1, RegionMiddle), Hover(2, RegionClose), Move(Away),
        atRest("caption hovers"),
        // A refused period: its box, closed with its OK; then the old text.
        ClickItem(IDC_EDIT_PERIOD), Key(VK_END), Key(VK_BACK), Key('0'), ClickItem(IDC_SET),
        AnswerBox(IDOK), BoxGone(), Key('5'),
    };
    auto add = [&](std::vector<TimerScript::Step> more) { steps.insert(steps.end(), more.begin(), more.end()); };
    add(backToRest("a refused period's box"));
    // The About box, opened and closed.
    add({ ClickItem(IDC_ABOUT), AnswerBox(IDOK), BoxGone() });
    add(backToRest("the About box"));
    // A row clicked, then the empty list below the rows.
    add({
        [&] {
            RECT row = { LVIR_LABEL };
            dlg.m_listWindows.SendMessage(LVM_GETITEMRECT, 1, (LPARAM)&row);
            ClickAt(ScreenPoint(dlg.m_listWindows, row.left + 20, (row.top + row.bottom) / 2), 1, false);
            return true;
        },
        [&] { ClickAt(ScreenPoint(dlg.m_listWindows, 200, 200), 1, false); return true; },
    });
    add(backToRest("a row clicked on and off"));
    // Minimised by the caption's button, restored as from the taskbar.
    add({
        [&] { ClickAt(CaptionFace(0), 1, false); return true; },
        [&] { return ::IsIconic(dlg) != FALSE; },
        [&] { dlg.ShowWindow(SW_RESTORE); return true; },
    });
    add(backToRest("minimise and restore"));
    add({ [&] { dlg.PostMessage(WM_SYSCOMMAND, SC_CLOSE); return true; } });

    TimerScript script(steps, 40000, GiveUp());
    dlg.DoModal();
    EXPECT_TRUE(script.Done()) << "stuck at step " << script.Stopped();
}

// The real pointer over a push button without the focus lights its face,
// and leaving darkens it again: in the dialog and in a message box.
TEST_F(MainDialogInUse, PointerLightsPushButtons)
{
    const UINT kNormal = 351, kHover = 156;
    // Left edge, mid-height: the face's ring, which tells the two apart.
    auto face = [](HWND button) {
        RECT r;
        ::GetClientRect(button, &r);
        return ScreenPixel(button, 1, r.bottom / 2);
    };
    ASSERT_NE(BitmapPixel(kNormal, 1, 10), BitmapPixel(kHover, 1, 10));
    auto faceIs = [&](HWND button, UINT bitmap) {
        return [&, button, bitmap] {
            ::UpdateWindow(button);
            return face(button) == BitmapPixel(bitmap, 1, 10);
        };
    };
    HWND set = nullptr, cancel = nullptr;
    bool boxLit = false;
    TimerScript script({
        Shown(),
        [&] { set = dlg.GetDlgItem(IDC_SET); return faceIs(set, kNormal)(); },
        [&] { MoveMouseTo(CentreOf(set), false); return true; },
        [&] { return faceIs(set, kHover)(); },
        Move(Away),
        [&] { return faceIs(set, kNormal)(); },
        // A box of the dialog's, skinned by the hook, with a second button
        // that has no focus.
        [&] {
            ::SetTimer(nullptr, 0, 1, OpenTwoButtonBox);
            return true;
        },
        [&] {
            HWND box = ShownBox(dlg);
            if (!box || !Settled(box))
                return false;
            cancel = ::GetDlgItem(box, IDCANCEL);
            MoveMouseTo(CentreOf(cancel), false);
            return true;
        },
        [&] { return boxLit = faceIs(cancel, kHover)(); },
        Move(Away),
        [&] { return faceIs(cancel, kNormal)(); },
        AnswerBox(IDOK), BoxGone(),
        [&] { dlg.PostMessage(WM_SYSCOMMAND, SC_CLOSE); return true; },
    }, 20000, GiveUp());
    dlg.DoModal();
    EXPECT_TRUE(script.Done()) << "stuck at step " << script.Stopped() << ": a face that did not come";
    EXPECT_TRUE(boxLit);
}
