// The skinned list: custom scroll bars, double-buffered paint and the
// selected-row colours.
#include "controls/SkinListCtrl.h"
#include "skin/MemDC.h"
#include "res/resource.h"

bool CSkinListCtrl::s_bItemWasSelected = false;

namespace {

// The 32-bit import library of MinGW lacks the flat scroll bar functions, so
// they are looked up in the common controls library the program already uses.
void DisableFlatScrollBars(HWND hWnd)
{
    HMODULE hComctl = ::GetModuleHandleA("comctl32.dll");
    if (!hComctl)
        return;
    using InitFn = BOOL(WINAPI*)(HWND);
    using EnableFn = BOOL(WINAPI*)(HWND, int, UINT);
    auto pfnInit = reinterpret_cast<InitFn>(reinterpret_cast<void*>(::GetProcAddress(hComctl, "InitializeFlatSB")));
    auto pfnEnable = reinterpret_cast<EnableFn>(reinterpret_cast<void*>(::GetProcAddress(hComctl, "FlatSB_EnableScrollBar")));
    if (pfnInit)
        pfnInit(hWnd);
    if (pfnEnable)
        pfnEnable(hWnd, SB_BOTH, ESB_DISABLE_BOTH);
}

// Wine is told apart by the export its ntdll adds.
bool RunningUnderWine()
{
    static const bool s_bWine =
        ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
    return s_bWine;
}

}  // namespace

CSkinListCtrl::CSkinListCtrl()
    : m_crSelText(RGB(229, 229, 229)), m_crSelBk(RGB(115, 123, 165))
{
}

BEGIN_MESSAGE_MAP(CSkinListCtrl, CListCtrl)
    ON_WM_NCCALCSIZE()
    ON_WM_MOUSEWHEEL()
    ON_MESSAGE(WM_KEYDOWN, OnKeyMessage)
    ON_MESSAGE(WM_KEYUP, OnKeyMessage)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
END_MESSAGE_MAP()

void CSkinListCtrl::PreSubclassWindow()
{
    m_header.SubclassWindow(GetHeaderCtrl());
    CListCtrl::PreSubclassWindow();
}

void CSkinListCtrl::InitScrollBars()
{
    DisableFlatScrollBars(m_hWnd);

    HWND hParent = GetParent();
    CRect rc;
    GetWindowRect(&rc);
    LONG parentStyle = ::GetWindowLongA(hParent, GWL_STYLE);
    int cap = (parentStyle & WS_CAPTION) ? ::GetSystemMetrics(SM_CYSIZE) : 0;
    int fr = (parentStyle & WS_BORDER) ? ::GetSystemMetrics(SM_CYDLGFRAME) : 0;
    if (parentStyle & WS_THICKFRAME)
        fr += 1;

    const DWORD style = WS_CHILD | WS_VISIBLE | WS_GROUP | SS_NOTIFY;
    m_vScroll.CreateEx(0, "STATIC", "", style,
                       CRect(rc.right - fr, rc.top - fr - cap + 1, rc.right - fr + 15, rc.bottom - fr - cap + 15),
                       hParent, IDC_SKIN_SCROLLBAR);
    m_hScroll.CreateEx(0, "STATIC", "", style,
                       CRect(rc.left - fr, rc.bottom - fr - cap - 1, rc.right - fr + 1, rc.bottom - fr - cap + 15),
                       hParent, IDC_SKIN_SCROLLBAR);
    m_vScroll.m_pList = this;
    m_hScroll.m_pList = this;
    // The horizontal bar's last column stands over the vertical bar's first,
    // next to its bottom piece: the horizontal bar is kept above there, and
    // the vertical one leaves that column to it when drawing, so that the
    // picture does not depend on which bar drew last and clicks go where
    // the picture says.
    HWND hAbove = ::GetWindow(m_vScroll, GW_HWNDPREV);
    ::SetWindowPos(m_hScroll, hAbove ? hAbove : HWND_TOP, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
}

void CSkinListCtrl::UpdateThumbs()
{
    m_vScroll.UpdateThumb();
    m_hScroll.UpdateThumb();
}

LRESULT CSkinListCtrl::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* pParams)
{
    UpdateWindow();  // a pending repaint is done before the frame changes
    const RECT rcWindow = pParams ? pParams->rgrc[0] : RECT{};
    LRESULT result = Default();
    // Wine difference: there the flat-bar calls do nothing, and the list view
    // turns its own bars on again at every layout, so they would be drawn
    // and clicked beside ours. Wine places them just outside the client
    // area, over the frame. So the client area reaches the window's right and
    // bottom edges: the bars have no pixel of the window left to be drawn or
    // hit in (our bars stand there instead of the frame), while the list
    // keeps its scroll range and position for our bars, the keys and the
    // wheel. Both forms of the message start with the client rectangle.
    if (RunningUnderWine() && pParams) {
        pParams->rgrc[0].right = rcWindow.right;
        pParams->rgrc[0].bottom = rcWindow.bottom;
    }
    return result;
}

BOOL CSkinListCtrl::OnMouseWheel(UINT, short, CPoint)
{
    UpdateThumbs();
    return (BOOL)Default();
}

LRESULT CSkinListCtrl::OnKeyMessage(WPARAM, LPARAM)
{
    UpdateThumbs();
    return Default();
}

BOOL CSkinListCtrl::OnEraseBkgnd(HDC)
{
    UpdateThumbs();
    return FALSE;  // the paint fills the whole background
}

void CSkinListCtrl::OnPaint()
{
    CPaintDC paintDC(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    CMemDC dc(paintDC, &rcClient);

    // The final copy must never draw over the header, which paints itself.
    if (HWND hHeader = ::GetDlgItem(m_hWnd, 0)) {
        CRect rcHeader;
        ::GetWindowRect(hHeader, &rcHeader);
        ::MapWindowPoints(nullptr, m_hWnd, (LPPOINT)&rcHeader, 2);
        paintDC.ExcludeClipRect(&rcHeader);
    }

    CRect rcClip;
    dc.GetClipBox(&rcClip);
    dc.FillSolidRect(&rcClip, RGB(255, 255, 255));
    SendMessage(LVM_SETTEXTBKCOLOR, 0, (LPARAM)RGB(255, 255, 255));
    UpdateThumbs();
    // The list view paints its items into the context it is given.
    DefWindowProc(WM_PAINT, (WPARAM)dc.m_hDC, 0);
}

void CSkinListCtrl::OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMLVCUSTOMDRAW* pDraw = reinterpret_cast<NMLVCUSTOMDRAW*>(pNMHDR);
    *pResult = CDRF_DODEFAULT;
    switch (pDraw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        *pResult = CDRF_NOTIFYITEMDRAW;
        break;
    case CDDS_ITEMPREPAINT: {
        int nItem = (int)pDraw->nmcd.dwItemSpec;
        s_bItemWasSelected = GetItemState(nItem, LVIS_SELECTED) != 0;
        if (s_bItemWasSelected) {
            pDraw->clrText = m_crSelText;
            pDraw->clrTextBk = m_crSelBk;
            // Unselected for the moment, so that the list view uses these
            // colours instead of its own highlight.
            SetItemState(nItem, 0, LVIS_SELECTED);
            // Some list views take the selection from the record rather
            // than from the row (Wine's, while it has the focus).
            pDraw->nmcd.uItemState &= ~CDIS_SELECTED;
        }
        *pResult = CDRF_NOTIFYPOSTPAINT;
        break;
    }
    case CDDS_ITEMPOSTPAINT:
        if (s_bItemWasSelected)
            SetItemState((int)pDraw->nmcd.dwItemSpec, 0xFF, LVIS_SELECTED);
        break;
    default:
        break;
    }
}
