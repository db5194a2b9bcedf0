// CMemDC: what reaches the target, read back pixel by pixel.
#include "skin/MemDC.h"
#include "TestSupport.h"

namespace {

const COLORREF kUntouched = RGB(0, 128, 0);
const COLORREF kBack = RGB(200, 10, 10);
const COLORREF kInk = RGB(10, 10, 200);

// A 100x100 memory target filled with kUntouched, background colour kBack.
struct Target {
    CDC dc;
    CBitmap bitmap;
    HGDIOBJ old = nullptr;
    Target()
    {
        CClientDC screen(HWND(nullptr));
        dc.CreateCompatibleDC(screen);
        bitmap.CreateCompatibleBitmap(screen, 100, 100);
        old = dc.SelectObject(bitmap);
        CRect all(0, 0, 100, 100);
        dc.FillSolidRect(&all, kUntouched);
        dc.SetBkColor(kBack);
    }
    ~Target() { dc.SelectObject(old); }
    COLORREF At(int x, int y) const { return ::GetPixel(dc.m_hDC, x, y); }
};

}  // namespace

TEST(CMemDC, WithoutRectangleCoversTheClipBoxOnly)
{
    Target t;
    CRect clip(10, 20, 50, 40);
    ::IntersectClipRect(t.dc, clip.left, clip.top, clip.right, clip.bottom);
    {
        CMemDC mem(t.dc);
        CRect inner(30, 30, 35, 35);
        mem.FillSolidRect(&inner, kInk);
    }
    ::SelectClipRgn(t.dc.m_hDC, nullptr);
    struct { int x, y; COLORREF expected; } probes[] = {
        {10, 20, kBack}, {49, 39, kBack}, {30, 30, kInk}, {34, 34, kInk},
        {9, 20, kUntouched}, {50, 39, kUntouched}, {10, 19, kUntouched}, {49, 40, kUntouched},
    };
    for (const auto& p : probes) {
        SCOPED_TRACE(testing::Message() << "(" << p.x << ", " << p.y << ")");
        EXPECT_EQ(t.At(p.x, p.y), p.expected);
    }
}

TEST(CMemDC, OffsetRectangleKeepsLogicalCoordinates)
{
    Target t;
    CRect area(20, 30, 60, 70);
    {
        CMemDC mem(t.dc, &area);
        CRect inner(25, 35, 30, 40);
        mem.FillSolidRect(&inner, kInk);
        // Outside the covered area: never reaches the target.
        CRect outside(0, 0, 10, 10);
        mem.FillSolidRect(&outside, kInk);
        // Nothing is copied before closing.
        EXPECT_EQ(t.At(25, 35), kUntouched);
    }
    EXPECT_EQ(t.At(25, 35), kInk);
    EXPECT_EQ(t.At(29, 39), kInk);
    EXPECT_EQ(t.At(30, 40), kBack);
    EXPECT_EQ(t.At(20, 30), kBack);
    EXPECT_EQ(t.At(59, 69), kBack);
    EXPECT_EQ(t.At(19, 30), kUntouched);
    EXPECT_EQ(t.At(60, 69), kUntouched);
    EXPECT_EQ(t.At(5, 5), kUntouched);
}

TEST(CMemDC, ScreenWindowGetsTheWholeRectangleInOneCopy)
{
    HWND hWnd = ::CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, 50, 50, 120, 80,
                                  nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(hWnd);
    ::UpdateWindow(hWnd);
    FlushMessages();
    HDC hdc = ::GetDC(hWnd);
    CDCHandle dc(hdc);
    dc.SetBkColor(RGB(0, 255, 255));
    CRect client;
    ::GetClientRect(hWnd, &client);
    {
        CMemDC mem(dc, &client);
        CRect inner(10, 10, 20, 20);
        mem.FillSolidRect(&inner, kInk);
    }
    EXPECT_EQ(::GetPixel(dc, 0, 0), RGB(0, 255, 255));
    EXPECT_EQ(::GetPixel(dc, 119, 79), RGB(0, 255, 255));
    EXPECT_EQ(::GetPixel(dc, 15, 15), kInk);
    ::ReleaseDC(hWnd, hdc);
    ::DestroyWindow(hWnd);
}

TEST(CMemDC, PrinterContextIsDrawnStraightThroughAndNotFreed)
{
    // Looked up at run time: the test programs do not link the spooler.
    using GetDefaultPrinterFn = BOOL(WINAPI*)(LPSTR, LPDWORD);
    HMODULE spooler = ::LoadLibraryA("winspool.drv");
    auto getDefault = spooler ? (GetDefaultPrinterFn)(void*)::GetProcAddress(spooler, "GetDefaultPrinterA") : nullptr;
    char name[256] = "";
    DWORD size = sizeof name;
    HDC hdcPrinter = getDefault && getDefault(name, &size) ? ::CreateDCA("WINSPOOL", name, nullptr, nullptr) : nullptr;
    if (!hdcPrinter)
        GTEST_SKIP() << "no printer in this environment (a fresh Wine prefix has none)";
    CDCHandle printer(hdcPrinter);
    ASSERT_TRUE(printer.IsPrinting());
    {
        CRect area(0, 0, 100, 100);
        CMemDC mem(printer, &area);
        EXPECT_EQ(mem.m_hDC, hdcPrinter);
    }
    // Still a valid context after the CMemDC has gone.
    EXPECT_NE(::GetDeviceCaps(hdcPrinter, TECHNOLOGY), 0);
    ::DeleteDC(hdcPrinter);
}

TEST(CMemDC, LeavesNoGdiObjectBehind)
{
    Target t;
    DWORD before = GdiObjects();
    for (int i = 0; i < 1000; ++i) {
        CRect area(i % 50, 0, 100, 100);
        CMemDC mem(t.dc, &area);
        CRect inner(60, 60, 70, 70);
        mem.FillSolidRect(&inner, kInk);
    }
    EXPECT_EQ(GdiObjects(), before);
    EXPECT_EQ(t.At(65, 65), kInk);
}
