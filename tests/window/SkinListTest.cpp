// The skinned list and header: in the real main dialog with fake browser
// windows, and on a bare host for header layouts the dialog does not have.
#include "ListHost.h"
#include "FakeShell.h"
#include "MouseInput.h"
#include "Screenshot.h"
#include "app/RefreshDlg.h"

namespace {

const COLORREF kSelText = RGB(229, 229, 229);
const COLORREF kSelBk = RGB(115, 123, 165);
const COLORREF kWhite = RGB(255, 255, 255);

COLORREF BitmapPixel(UINT nID, int x, int y)
{
    HDC hMem = ::CreateCompatibleDC(nullptr);
    HDC hScreen = ::GetDC(nullptr);
    HBITMAP hBmp = ::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(nID));
    HGDIOBJ old = ::SelectObject(hMem, hBmp);
    COLORREF c = ::GetPixel(hMem, x, y);
    ::SelectObject(hMem, old);
    ::DeleteObject(hBmp);
    ::ReleaseDC(nullptr, hScreen);
    ::DeleteDC(hMem);
    return c;
}

COLORREF Pixel(HWND hWnd, int x, int y)
{
    HDC hDC = ::GetDC(hWnd);
    COLORREF c = ::GetPixel(hDC, x, y);
    ::ReleaseDC(hWnd, hDC);
    return c;
}

// Pixels of `colour` in a rectangle of the window, and their mean x.
int CountPixels(HWND hWnd, const RECT& r, bool (*match)(COLORREF), double* pMeanX = nullptr)
{
    HDC hDC = ::GetDC(hWnd);
    int n = 0;
    double sumX = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (match(::GetPixel(hDC, x, y))) {
                ++n;
                sumX += x;
            }
    ::ReleaseDC(hWnd, hDC);
    if (pMeanX)
        *pMeanX = n ? sumX / n : -1;
    return n;
}

bool IsSelText(COLORREF c) { return c == kSelText; }
bool IsDark(COLORREF c) { return GetRValue(c) < 110 && GetGValue(c) < 110 && GetBValue(c) < 110; }

void Repaint(HWND hWnd)
{
    ::RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

CRect RectIn(HWND hWnd, HWND hParent)
{
    CRect r;
    ::GetWindowRect(hWnd, &r);
    ::MapWindowPoints(nullptr, hParent, (LPPOINT)&r, 2);
    return r;
}

}  // namespace

// The real main dialog over a fake collection of `rows` browser windows.
class MainDialogList : public testing::Test {
protected:
    void Open(int rows)
    {
        for (int i = 0; i < rows; ++i) {
            wchar_t name[64];
            swprintf(name, 64, L"网页 %02d - 示例站点", rows - i);
            m_shell.Add(name, ("b" + std::to_string(i)).c_str());
        }
        ScopedShellFactory factory(&m_shell);
        ASSERT_TRUE(m_dlg.Create());
        ::UpdateWindow(m_dlg);
        FlushMessages();
    }
    void TearDown() override
    {
        m_dlg.DestroyWindow();
        FlushMessages();
        ::CoUninitialize();
    }
    CSkinListCtrl& List() { return m_dlg.m_listWindows; }

    FakeLog m_log;
    FakeShellWindows m_shell{ &m_log };
    CRefreshDlg m_dlg;
};

TEST_F(MainDialogList, BarsStandRightOfAndBelowTheList)
{
    Open(30);
    CRect list = RectIn(List(), m_dlg);
    CRect v = RectIn(List().m_vScroll, m_dlg);
    CRect h = RectIn(List().m_hScroll, m_dlg);
    EXPECT_EQ(v, CRect(list.right, list.top + 1, list.right + 15, list.bottom + 15));
    EXPECT_EQ(h, CRect(list.left, list.bottom - 1, list.right + 1, list.bottom + 15));
    EXPECT_TRUE(::IsWindowVisible(List().m_vScroll));
    EXPECT_EQ(::GetParent(List().m_hScroll), m_dlg.m_hWnd);
    // The dialog was centred after its initialisation; the bars moved with it.
    CRect dlg;
    m_dlg.GetWindowRect(&dlg);
    EXPECT_NE(dlg.TopLeft(), CPoint(0, 0));
}

TEST_F(MainDialogList, HeaderShowsBothCapsAndTheCentredTitle)
{
    Open(3);
    HWND hHeader = List().GetHeaderCtrl();
    ASSERT_EQ(CWnd::FromHandlePermanent(hHeader), &List().m_header);
    CRect r;
    ::SendMessageA(hHeader, HDM_GETITEMRECT, 0, (LPARAM)&r);
    Repaint(m_dlg);
    EXPECT_EQ(Pixel(hHeader, r.left, 5), BitmapPixel(159, 0, 5)) << "left cap";
    EXPECT_EQ(Pixel(hHeader, r.left + 1, 5), BitmapPixel(159, 1, 5));
    EXPECT_EQ(Pixel(hHeader, r.right - 2, 5), BitmapPixel(161, 0, 5));
    EXPECT_EQ(Pixel(hHeader, r.right - 1, 5), BitmapPixel(161, 1, 5)) << "right cap";
    EXPECT_EQ(Pixel(hHeader, r.left + 5, 3), BitmapPixel(160, 0, 3)) << "gradient";
    double meanX = 0;
    int ink = CountPixels(hHeader, CRect(r.left + 2, r.top + 2, r.right - 2, r.bottom - 2), IsDark, &meanX);
    EXPECT_GT(ink, 40) << "the title \"等待刷新的界面\"";
    EXPECT_NEAR(meanX, (r.left + r.right) / 2.0, 12) << "centred";
}

TEST_F(MainDialogList, SelectedRowTakesItsOwnColoursAndStaysSelected)
{
    Open(30);
    List().SetCheck(1);
    List().SetCheck(2);
    List().SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    for (bool focus : { false, true }) {
        SCOPED_TRACE(focus ? "list has the focus" : "list without focus");
        if (focus)
            List().SetFocus();
        else
            ::SetFocus(m_dlg.GetDlgItem(IDC_EDIT_PERIOD));
        Repaint(List());
        CRect sel, plain;
        List().GetItemRect(2, &sel, LVIR_LABEL);
        List().GetItemRect(4, &plain, LVIR_LABEL);
        const int y = (sel.top + sel.bottom) / 2;
        EXPECT_EQ(Pixel(List(), sel.right - 20, y), kSelBk);
        EXPECT_GT(CountPixels(List(), sel, IsSelText), 10) << "text in RGB(229, 229, 229)";
        EXPECT_EQ(Pixel(List(), plain.right - 20, (plain.top + plain.bottom) / 2), kWhite);
        EXPECT_GT(CountPixels(List(), plain, [](COLORREF c) { return c == RGB(0, 0, 0); }), 10);
        EXPECT_EQ(CountPixels(List(), plain, IsSelText), 0);
        EXPECT_TRUE(List().GetItemState(2, LVIS_SELECTED)) << "still selected after the paint";
        EXPECT_FALSE(List().GetItemState(4, LVIS_SELECTED));
        EXPECT_TRUE(List().GetCheck(2)) << "tick kept";
        EXPECT_TRUE(List().GetCheck(1));
        EXPECT_FALSE(List().GetCheck(3));
    }
}

TEST_F(MainDialogList, ListPaintNeverCoversTheHeader)
{
    Open(30);
    HWND hHeader = List().GetHeaderCtrl();
    Repaint(m_dlg);
    const COLORREF gradient = BitmapPixel(160, 0, 4);
    ASSERT_EQ(Pixel(hHeader, 40, 4), gradient);
    // Only the list repaints; its copy to the screen would land on the header.
    ::RedrawWindow(List(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(Pixel(hHeader, 40, 4), gradient);
    EXPECT_EQ(Pixel(hHeader, 200, 4), gradient);
}

TEST_F(MainDialogList, KeysAndWheelBringTheThumbToTheNewPosition)
{
    Open(60);
    CSkinVScrollBar& v = List().m_vScroll;
    ASSERT_EQ(v.m_nThumbPos, 41);
    List().SetFocus();
    List().SendMessage(WM_KEYDOWN, VK_NEXT, 0);
    List().SendMessage(WM_KEYDOWN, VK_NEXT, 0);
    List().SendMessage(WM_KEYUP, VK_NEXT, 0);
    FlushMessages();
    const int afterKeys = ::GetScrollPos(List(), SB_VERT);
    EXPECT_GT(afterKeys, 0);
    EXPECT_EQ(v.m_nThumbPos, ExpectedThumb(List(), v, true));
    EXPECT_GT(v.m_nThumbPos, 41);

    CRect rc;
    List().GetWindowRect(&rc);
    List().SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)(-WHEEL_DELTA * 3)), MAKELPARAM(rc.left + 50, rc.top + 50));
    FlushMessages();
    EXPECT_GT(::GetScrollPos(List(), SB_VERT), afterKeys);
    EXPECT_EQ(v.m_nThumbPos, ExpectedThumb(List(), v, true));
}

// A column drag ends in HDN_ENDTRACKA, which comes to the dialog from the
// header (id 0); the horizontal thumb must follow at once.
TEST_F(MainDialogList, ColumnDragUpdatesTheHorizontalThumb)
{
    Open(5);
    HWND hHeader = List().GetHeaderCtrl();
    CRect r;
    ::SendMessageA(hHeader, HDM_GETITEMRECT, 0, (LPARAM)&r);
    CSkinHScrollBar& h = List().m_hScroll;
    h.m_nThumbPos = 9999;  // stale; only an UpdateThumb puts it right
    ::SendMessageA(hHeader, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.right - 1, 5));
    ::SendMessageA(hHeader, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(r.right + 300, 5));
    ::SendMessageA(hHeader, WM_LBUTTONUP, 0, MAKELPARAM(r.right + 300, 5));
    EXPECT_GT(List().GetColumnWidth(0), 700) << "the drag resized the column";
    EXPECT_EQ(h.m_nThumbPos, ExpectedThumb(List(), h, false));
    FlushMessages();
}

// Wine's list view keeps turning its own bars on. Whatever the list goes
// through (a rebuild, a scroll by our bar, a column dragged wider than the
// list and back), none of their pixels shows in the strips along the list's
// right and bottom edges where they would be, and clicks there scroll
// nothing. Real input throughout.
TEST_F(MainDialogList, OnlyOurScrollBarsShowAndTakeClicks)
{
    Open(60);
    HWND list = List(), header = List().GetHeaderCtrl();
    const POINT away = { ::GetSystemMetrics(SM_CXSCREEN) - 5, ::GetSystemMetrics(SM_CYSCREEN) - 5 };
    MoveMouseTo(away);
    CRect win, head;
    ::GetWindowRect(list, &win);
    ::GetWindowRect(header, &head);
    const int w = win.Width(), h = win.Height(), top = head.bottom - win.top + 1;
    // The strips, in the list window's coordinates. Rows show text at their
    // left only, so both strips are the list's white there. The last row of
    // the window lies under our horizontal bar.
    const CRect right(w - 18, top, w, h - 18), bottom(250, h - 18, w - 18, h - 1);
    auto expectClear = [&](const char* when) {
        SCOPED_TRACE(when);
        ::UpdateWindow(m_dlg);
        FlushMessages();
        std::vector<DWORD> px;
        ASSERT_TRUE(CaptureScreen(win, &px));
        for (const CRect& strip : { right, bottom }) {
            int other = 0;
            std::string first;
            for (int y = strip.top; y < strip.bottom; ++y)
                for (int x = strip.left; x < strip.right; ++x)
                    if (px[(size_t)y * w + x] != 0xFFFFFF && other++ == 0)
                        first = "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
            EXPECT_EQ(other, 0) << "pixels that are not the list's white, the first at " << first;
        }
    };
    expectClear("after the first fill");
    ClickAt(ScreenPoint(m_dlg.GetDlgItem(IDC_REFRESH), 10, 8));
    expectClear("after a rebuild");

    CSkinVScrollBar& v = List().m_vScroll;
    for (int i = 0; i < 3; ++i)
        ClickAt(ScreenPoint(v, 7, Extent(v, true) - 30));
    ASSERT_EQ(::GetScrollPos(list, SB_VERT), 3);
    expectClear("after a scroll by our bar");

    // The column's right edge dragged far past the list, then back.
    CRect item;
    ::SendMessageA(header, HDM_GETITEMRECT, 0, (LPARAM)&item);
    MoveMouseTo(ScreenPoint(header, item.right - 1, 8));
    MouseDown();
    MoveMouseTo(ScreenPoint(header, item.right + 150, 8));
    MoveMouseTo(ScreenPoint(header, w + 300, 8));
    MouseUp();
    MoveMouseTo(away);
    ASSERT_GT(List().GetColumnWidth(0), w + 100);
    ASSERT_GT(CSkinScrollBar::ScrollLimit(list, SB_HORZ), 0);
    expectClear("with the column wider than the list");

    const int vpos = ::GetScrollPos(list, SB_VERT), hpos = ::GetScrollPos(list, SB_HORZ);
    ClickAt(ScreenPoint(list, w - 8, h / 2));
    EXPECT_EQ(::GetScrollPos(list, SB_VERT), vpos) << "a click in the right strip";
    ClickAt(ScreenPoint(list, w / 2, h - 10));
    EXPECT_EQ(::GetScrollPos(list, SB_HORZ), hpos) << "a click in the bottom strip";
    MoveMouseTo(away);

    // The column's edge is out of sight: our horizontal thumb is dragged to
    // the end first.
    CSkinHScrollBar& hz = List().m_hScroll;
    MoveMouseTo(ScreenPoint(hz, hz.m_nThumbPos + 10, 8));
    MouseDown();
    MoveMouseTo(ScreenPoint(hz, Extent(hz, false) + 50, 8));
    MouseUp();
    ::SendMessageA(header, HDM_GETITEMRECT, 0, (LPARAM)&item);
    MoveMouseTo(ScreenPoint(header, item.right - 1, 8));
    MouseDown();
    MoveMouseTo(ScreenPoint(header, 300, 8));
    MoveMouseTo(ScreenPoint(header, 200, 8));
    MouseUp();
    MoveMouseTo(away);
    ASSERT_LT(List().GetColumnWidth(0), 300);
    expectClear("with the column back inside the list");
}

TEST_F(MainDialogList, PaintsLeaveNoGdiObjectsBehind)
{
    Open(30);
    List().SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    Repaint(List());
    DWORD before = GdiObjects();
    for (int i = 0; i < 1000; ++i)
        Repaint(List());
    EXPECT_EQ(GdiObjects(), before);
}

TEST_F(MainDialogList, ScreenshotWithThirtyRows)
{
    Open(30);
    for (int i : { 0, 6, 8, 11 })
        List().SetCheck(i);
    List().SetItemState(8, LVIS_SELECTED, LVIS_SELECTED);
    List().Scroll(0, 4 * 16);
    Repaint(m_dlg);
    FlushMessages();
    EXPECT_TRUE(SaveWindowBitmap(m_dlg, ScreenshotPath("main-dialog-list.bmp").c_str()));
}

// Header layouts the main dialog does not have.
TEST(SkinHeader, WithoutItemsShowsTheGradientFromTheThirdColumn)
{
    ListHost h(0, 0);
    HWND hHeader = h.list.GetHeaderCtrl();
    Repaint(h.host);
    CRect rc;
    ::GetClientRect(hHeader, &rc);
    ASSERT_GT(rc.Height(), 5);
    for (int y : { 1, 5, 10 }) {
        SCOPED_TRACE(y);
        EXPECT_EQ(Pixel(hHeader, 0, y), kWhite);
        EXPECT_EQ(Pixel(hHeader, 1, y), kWhite);
        EXPECT_EQ(Pixel(hHeader, 2, y), BitmapPixel(160, 0, y));
        EXPECT_EQ(Pixel(hHeader, rc.right - 1, y), BitmapPixel(160, 0, y));
    }
}

TEST(SkinHeader, ColumnsMeetAtDarkEdgesAndTitlesAreCentred)
{
    ListHost h(0, 100);
    h.list.InsertColumn(1, "Right", LVCFMT_RIGHT, 150);
    HWND hHeader = h.list.GetHeaderCtrl();
    Repaint(h.host);
    CRect r0, r1;
    ::SendMessageA(hHeader, HDM_GETITEMRECT, 0, (LPARAM)&r0);
    ::SendMessageA(hHeader, HDM_GETITEMRECT, 1, (LPARAM)&r1);
    const COLORREF dark = BitmapPixel(161, 1, 5);
    EXPECT_EQ(Pixel(hHeader, r0.left, 5), BitmapPixel(159, 0, 5));
    EXPECT_EQ(Pixel(hHeader, r1.left - 1, 5), dark) << "first column's right end";
    EXPECT_EQ(Pixel(hHeader, r1.left, 5), BitmapPixel(159, 0, 5)) << "second column's left end";
    EXPECT_EQ(Pixel(hHeader, r1.left + 1, 5), BitmapPixel(160, 0, 5));
    EXPECT_EQ(Pixel(hHeader, r1.right - 1, 5), dark);
    double meanX = 0;
    EXPECT_GT(CountPixels(hHeader, CRect(r1.left + 2, r1.top + 2, r1.right - 2, r1.bottom - 2), IsDark, &meanX), 10);
    EXPECT_NEAR(meanX, (r1.left + r1.right) / 2.0, 8) << "a right-aligned title is still centred";
}
