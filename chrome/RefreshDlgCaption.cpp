// The main dialog's own chrome: it has no system caption or frame, so every
// WM_PAINT draws the caption bar, frame, outline, caption buttons, icon,
// title and maker link straight onto the window. Everything is created and
// freed within the paint.
#include "app/RefreshDlg.h"
#include "chrome/CaptionFont.h"
#include "framework/Gdi.h"
#include <cstdlib>
#include <optional>

namespace {

const int kCaptionTileWidth = 60;   // only this much of IDB_CAPTION_BAR is used
const int kCaptionHeight = 23;
const int kSideFrameWidth = 3;
const int kBottomStripHeight = 21;
const int kButtonStripWidth = 79;
const int kButtonStripHeight = 15;
const int kLinkRightMargin = 5;

COLORREF ColorOf(const CString& colorString)
{
    return (COLORREF)atoi(colorString);
}

UINT ButtonStripBitmap(int hover, BOOL pressed)
{
    switch (hover) {
    case RegionMinimize: return pressed ? IDB_CAPTION_MIN_DOWN : IDB_CAPTION_MIN_HOT;
    case RegionMiddle:   return pressed ? IDB_CAPTION_MID_DOWN : IDB_CAPTION_MID_HOT;
    case RegionClose:    return pressed ? IDB_CAPTION_CLOSE_DOWN : IDB_CAPTION_CLOSE_HOT;
    default:             return IDB_CAPTION_NORMAL;
    }
}

// A bitmap resource selected into a memory context compatible with the
// target, for one paint; deselected, then deleted with its context.
class BitmapSource {
public:
    BitmapSource(HDC hTarget, UINT nID)
    {
        m_dc.CreateCompatibleDC(hTarget);
        m_bitmap.LoadBitmap(nID);
        m_select.emplace(m_dc, m_bitmap);
    }
    HDC dc() const { return m_dc; }
private:
    CDC m_dc;
    CBitmap m_bitmap;
    std::optional<CSelectObject> m_select;
};

}  // namespace

void CRefreshDlg::OnPaint()
{
    // Validates the window and lets the skin erase the client background
    // before the chrome goes on top.
    Default();
    CWindowDC dc(this);
    DrawFrame(dc);
    DrawCaption(dc);
}

void CRefreshDlg::DrawFrame(CDCHandle dc)
{
    CRect rect;
    GetClientRect(&rect);
    const int w = rect.Width();
    const int h = rect.Height();

    {
        BitmapSource tiles(dc, IDB_CAPTION_BAR);
        // The last tile is cut by the window edge.
        for (int x = 0; x < w; x += kCaptionTileWidth)
            dc.BitBlt(x, 0, kCaptionTileWidth, kCaptionHeight, tiles.dc(), 0, 0, SRCCOPY);
    }

    const CRect frames[] = {
        CRect(0, kCaptionHeight, kSideFrameWidth, h),
        CRect(w - kSideFrameWidth, kCaptionHeight, w, h),
        CRect(0, h - kBottomStripHeight, w, h),
    };
    for (const CRect& frame : frames) {
        CBrush brush(ColorOf(m_strFrameColor));
        dc.FillRect(frame, brush);
    }

    CPen pen(PS_SOLID, 1, ColorOf(m_strBorderColor));
    CSelectObject selPen(dc, pen);
    dc.MoveTo(0, 0);
    dc.LineTo(w, 0);
    dc.MoveTo(0, h - 1);
    dc.LineTo(w, h - 1);
    dc.MoveTo(0, 0);
    dc.LineTo(0, h);
    dc.MoveTo(w - 1, 0);
    dc.LineTo(w - 1, h);
}

void CRefreshDlg::DrawCaption(CDCHandle dc)
{
    CRect rect;
    GetClientRect(&rect);
    const int w = rect.Width();
    const int h = rect.Height();

    BitmapSource strip(dc, ButtonStripBitmap(m_nHover, m_bPressed));
    dc.BitBlt(w - kButtonStripWidth, 0, kButtonStripWidth, kButtonStripHeight, strip.dc(), 0, 0, SRCCOPY);

    dc.DrawIconEx(4, 5, m_hIcon, 16, 16, DI_NORMAL);

    dc.SetBkMode(TRANSPARENT);
    {
        CFont titleFont;
        CreateCaptionFont(titleFont, FW_BOLD, FALSE);
        CSelectObject selFont(dc, titleFont);
        // The title alternates between its two colours from one paint to the next.
        if (m_bTitleAltColor) {
            dc.SetTextColor(ColorOf(m_strTitleColor2));
            m_bTitleAltColor = FALSE;
        } else {
            dc.SetTextColor(ColorOf(m_strTitleColor1));
            m_bTitleAltColor = TRUE;
        }
        dc.TextOut(25, 7, m_strTitle, m_strTitle.GetLength());
    }

    CFont linkFont;
    CreateCaptionFont(linkFont, FW_NORMAL, TRUE);
    CSelectObject selFont(dc, linkFont);
    CSize extent = dc.GetTextExtent(m_strLink, m_strLink.GetLength());
    m_rectLink.SetRect(w - kLinkRightMargin - extent.cx, h - 23 + extent.cy / 4, w - kLinkRightMargin,
                       h - extent.cy / 4);
    m_rectStatus.SetRect(5, h - kBottomStripHeight, w - kLinkRightMargin - extent.cx, h);

    dc.SetTextColor(ColorOf(m_strLinkColor));
    CRect textRect = m_rectLink;
    dc.DrawText(m_strLink, m_strLink.GetLength(), textRect, DT_SINGLELINE | DT_VCENTER);
}

int CRefreshDlg::CaptionHitTest(CPoint point) const
{
    CRect client;
    GetClientRect(&client);
    return ::CaptionHitTest(client, point, m_rectLink, m_rectStatus);
}
