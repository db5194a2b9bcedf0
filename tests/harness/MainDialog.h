// The main dialog over the fake collection, its boxes recorded (unless a test wants real ones), its apartment counted.
#pragma once
#include "app/RefreshDlg.h"
#include "framework/WinApp.h"
#include "FakeShell.h"
#include "Harness.h"
#include <memory>

class MainDialogTest : public WindowTest {
protected:
    MainDialogTest() { app.m_pMainWnd = &dlg; }  // as the program has it
    // Three browsers A, B, C in collection order.
    void AddABC()
    {
        a = shell.Add(L"Alpha", "A");
        b = shell.Add(L"Bravo", "B");
        c = shell.Add(L"Charlie", "C");
    }
    // Browsers named "<name> <n>", n counting down.
    void AddMany(int n, const wchar_t* name = L"网页")
    {
        for (int i = n; i > 0; --i)
            shell.Add((std::wstring(name) + L" " + std::to_wstring(i)).c_str(), "w" + std::to_string(i));
    }
    // The dialog, modeless, as it stands after its initialisation.
    void Open()
    {
        ASSERT_TRUE(dlg.Create());
        FlushMessages();
        log.Take();
    }
    // Runs the dialog modally as the program does, with a user's steps; closed if the steps get stuck.
    INT_PTR RunModal(std::vector<TimerScript::Step> steps, DWORD timeoutMs = 30000)
    {
        TimerScript script(std::move(steps), timeoutMs);
        INT_PTR result = dlg.DoModal();
        EXPECT_TRUE(script.Done()) << "stuck at step " << script.Stopped();
        return result;
    }
    void UseRealBoxes() { boxes.reset(); }

    // Steps of a user's: the dialog up, in front and painted; a key; a box answered with its button `id`; the box gone.
    using Step = TimerScript::Step;
    Step Shown()
    {
        return [this] {
            return dlg.m_hWnd && ::IsWindowVisible(dlg) && !::IsIconic(dlg) && ::SetForegroundWindow(dlg) &&
                   Settled(dlg);
        };
    }
    static Step Key(WORD vk) { return [vk] { PressKey(vk, false); return true; }; }
    Step Answer(int id)
    {
        return [this, id] {
            HWND box = ShownBox(dlg), button = box ? ::GetDlgItem(box, id) : nullptr;
            if (!button || !::IsWindowEnabled(box))
                return false;
            ClickAt(Centre(button), 1, false);
            return true;
        };
    }
    Step BoxGone() { return [this] { return ShownBox(dlg) == nullptr; }; }
    std::vector<std::string> Rows() const
    {
        std::vector<std::string> rows;
        char text[512];
        for (int i = 0; i < dlg.m_listWindows.GetItemCount(); ++i) {
            ListView_GetItemText(dlg.m_listWindows, i, 0, text, sizeof text);
            rows.push_back(text);
        }
        return rows;
    }
    bool Ticked(int row) const { return (dlg.m_listWindows.GetItemState(row, LVIS_STATEIMAGEMASK) >> 12) == 2; }
    void Tick(int row) { dlg.m_listWindows.SetItemState(row, INDEXTOSTATEIMAGEMASK(2), LVIS_STATEIMAGEMASK); }
    int RowsHolding(FakeBrowser* w) const
    {
        int n = 0;
        for (int i = 0; i < dlg.m_listWindows.GetItemCount(); ++i)
            n += dlg.m_listWindows.GetItemData(i) == (DWORD_PTR)(IWebBrowser2*)w;
        return n;
    }
    // A command as a button sends it; one pass of the refresh timer.
    void Click(int id) { dlg.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)dlg.GetDlgItem(id)); }
    void RefreshTick() { dlg.SendMessage(WM_TIMER, CRefreshDlg::TIMER_REFRESH); }
    void SetPeriodText(const char* text) { ::SetWindowTextA(dlg.GetDlgItem(IDC_EDIT_PERIOD), text); }
    // Every browser is back to its single first reference.
    void ExpectAllReleased() const
    {
        for (FakeBrowser* w : shell.windows)
            EXPECT_TRUE(!w || w->refs == 1) << w->tag << " has " << w->refs;
    }

    FakeLog log;
    FakeShellWindows shell{ &log };
    std::unique_ptr<MessageBoxRecorder> boxes = std::make_unique<MessageBoxRecorder>();
    ComRecorder com;
    ScopedShellFactory factory{ &shell };
    CRefreshDlg dlg;
    CWinApp app;
    FakeBrowser *a = nullptr, *b = nullptr, *c = nullptr;
};
