// The real main dialog, created modelessly over a fake Shell collection, and
// the probes the caption tests read it with.
#pragma once
#include "app/RefreshDlg.h"
#include "res/resource.h"
#include "FakeShell.h"
#include "TestSupport.h"
#include <memory>
#include <vector>

// Pixels of an area of a drawing context, as colour values.
inline std::vector<COLORREF> ReadPixels(HDC hSrc, int x, int y, int w, int h)
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC hMem = ::CreateCompatibleDC(hSrc);
    HBITMAP hBmp = ::CreateDIBSection(hSrc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(hMem, hBmp);
    ::BitBlt(hMem, 0, 0, w, h, hSrc, x, y, SRCCOPY);
    ::GdiFlush();
    std::vector<COLORREF> out((size_t)w * h);
    const DWORD* p = (const DWORD*)bits;
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = RGB((p[i] >> 16) & 0xFF, (p[i] >> 8) & 0xFF, p[i] & 0xFF);
    ::SelectObject(hMem, old);
    ::DeleteObject(hBmp);
    ::DeleteDC(hMem);
    return out;
}

// The pixels of one of the program's bitmaps.
inline std::vector<COLORREF> BitmapPixels(UINT id, int w, int h)
{
    HBITMAP hBmp = ::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
    HDC hScreen = ::GetDC(nullptr);
    HDC hMem = ::CreateCompatibleDC(hScreen);
    HGDIOBJ old = ::SelectObject(hMem, hBmp);
    std::vector<COLORREF> px = ReadPixels(hMem, 0, 0, w, h);
    ::SelectObject(hMem, old);
    ::DeleteDC(hMem);
    ::ReleaseDC(nullptr, hScreen);
    ::DeleteObject(hBmp);
    return px;
}

// Everything a window shows, read through its window DC.
struct WindowPixels {
    int w = 0, h = 0;
    std::vector<COLORREF> px;
    explicit WindowPixels(HWND hWnd)
    {
        RECT r;
        ::GetWindowRect(hWnd, &r);
        w = r.right - r.left;
        h = r.bottom - r.top;
        HDC hdc = ::GetWindowDC(hWnd);
        px = ReadPixels(hdc, 0, 0, w, h);
        ::ReleaseDC(hWnd, hdc);
    }
    COLORREF at(int x, int y) const { return px[(size_t)y * w + x]; }
    int Count(const RECT& r, COLORREF cr) const
    {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                n += at(x, y) == cr;
        return n;
    }
};

class CaptionDialogTest : public testing::Test {
protected:
    FakeLog log;
    FakeShellWindows shell{&log};
    std::unique_ptr<ScopedShellFactory> factory;
    MessageBoxRecorder boxes;
    std::unique_ptr<CRefreshDlg> dlg;
    int w = 0, h = 0;

    void SetUp() override
    {
        shell.Add(L"页面一", "A");
        shell.Add(L"页面二", "B");
        factory = std::make_unique<ScopedShellFactory>(&shell);
        dlg = std::make_unique<CRefreshDlg>();
        ASSERT_TRUE(dlg->Create());
        CRect rc;
        dlg->GetClientRect(&rc);
        w = rc.Width();
        h = rc.Height();
        // A pointer left on the dialog by an earlier test must not steer this one.
        ::SetCursorPos(1, 1);
    }

    void TearDown() override
    {
        if (dlg && dlg->m_hWnd)
            dlg->DestroyWindow();
        dlg.reset();
        FlushMessages();
    }

    void Repaint() { ::RedrawWindow(*dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }

    CPoint ToScreen(CPoint pt) const { dlg->ClientToScreen(&pt); return pt; }

    // The pointer goes to the client point and the dialog hears of it, as a
    // real move would tell it (and Wine may tell it too).
    void MoveTo(CPoint client, WPARAM keys = 0)
    {
        CPoint screen = ToScreen(client);
        PointerTo(screen);
        FlushMessages();
        CPoint now = screen;
        dlg->ScreenToClient(&now);
        dlg->SendMessage(WM_MOUSEMOVE, keys, MAKELPARAM(now.x, now.y));
    }
    // Moves the pointer in screen coordinates without telling the dialog.
    static void PointerTo(CPoint screen) { ::SetCursorPos(screen.x, screen.y); }

    void Press(CPoint client) { dlg->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.x, client.y)); }
    void Release(CPoint client) { dlg->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y)); }

    // Centres of the caption buttons.
    CPoint MinimizeCentre() const { return CPoint(w - 66, 6); }
    CPoint MiddleCentre() const { return CPoint(w - 40, 6); }
    CPoint CloseCentre() const { return CPoint(w - 14, 6); }
    CPoint CaptionPoint() const { return CPoint(w / 2, 10); }

    // Which state bitmap the caption-button strip shows now (0: none of them).
    UINT ShownStrip() const
    {
        HDC hdc = ::GetWindowDC(*dlg);
        std::vector<COLORREF> shown = ReadPixels(hdc, w - 79, 0, 79, 15);
        ::ReleaseDC(*dlg, hdc);
        for (UINT id : { IDB_CAPTION_NORMAL, IDB_CAPTION_MIN_HOT, IDB_CAPTION_MIN_DOWN, IDB_CAPTION_MID_HOT,
                         IDB_CAPTION_MID_DOWN, IDB_CAPTION_CLOSE_HOT, IDB_CAPTION_CLOSE_DOWN })
            if (BitmapPixels(id, 79, 15) == shown)
                return id;
        return 0;
    }
};
