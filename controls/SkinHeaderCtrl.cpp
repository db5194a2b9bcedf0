// Painting of the skinned column header.
#include "controls/SkinHeaderCtrl.h"
#include "skin/MemDC.h"
#include "res/resource.h"

namespace {
const int kTextMax = 255;
}

BEGIN_MESSAGE_MAP(CSkinHeaderCtrl, CHeaderCtrl)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL CSkinHeaderCtrl::OnEraseBkgnd(HDC)
{
    return FALSE;  // the paint covers the whole client area
}

void CSkinHeaderCtrl::OnPaint()
{
    CPaintDC paintDC(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    CMemDC dc(paintDC, &rcClient);
    dc.FillSolidRect(&rcClient, RGB(255, 255, 255));

    CDC bitmapDC;
    bitmapDC.CreateCompatibleDC(paintDC);
    CBitmap pieces[3];
    pieces[LeftCap].LoadBitmap(IDB_HEADER_LEFT_CAP);
    pieces[Middle].LoadBitmap(IDB_HEADER_MIDDLE);
    pieces[RightCap].LoadBitmap(IDB_HEADER_RIGHT_CAP);

    // Background: the gradient from x = 2 on.
    {
        CSelectObject sel(bitmapDC, pieces[Middle]);
        for (int i = 0; i < rcClient.Width(); ++i)
            dc.BitBlt(rcClient.left + i + 2, 0, 1, 16, bitmapDC, 0, 0, SRCCOPY);
    }
    const HBITMAP handles[3] = { pieces[LeftCap], pieces[Middle], pieces[RightCap] };
    for (int i = 0, count = GetItemCount(); i < count; ++i)
        DrawColumn(dc, bitmapDC, handles, i, paintDC);
}

namespace {

void Blit(CDCHandle dc, HDC hBitmapDC, HBITMAP hPiece, int x, int y, int w, int h, int xs = 0)
{
    CSelectObject sel(hBitmapDC, hPiece);
    dc.BitBlt(x, y, w, h, hBitmapDC, xs, 0, SRCCOPY);
}

}  // namespace

void CSkinHeaderCtrl::DrawColumn(CDCHandle dc, HDC hBitmapDC, const HBITMAP pieces[3], int i, HDC hPaintDC)
{
    char text[kTextMax + 1] = "";
    HDITEMA item = {};
    item.mask = HDI_TEXT | HDI_FORMAT | HDI_ORDER;
    item.pszText = text;
    item.cchTextMax = kTextMax;
    GetItem(i, &item);
    CRect r;
    GetItemRect(i, &r);

    if (item.iOrder == 0) {
        Blit(dc, hBitmapDC, pieces[LeftCap], r.left, r.top, 2, 16);
    } else {
        // Between two columns each keeps its own dark edge, as the first
        // column does at the header's left end: the previous column's at
        // r.left - 1 and this column's at r.left.
        Blit(dc, hBitmapDC, pieces[RightCap], r.left - 1, r.top, 1, 16, 1);
        Blit(dc, hBitmapDC, pieces[LeftCap], r.left, r.top, 1, 16);
        Blit(dc, hBitmapDC, pieces[Middle], r.left + 1, r.top, 1, 20);
    }
    {
        CSelectObject sel(hBitmapDC, pieces[Middle]);
        for (int j = 0; j <= r.right - r.left - 5; ++j)
            dc.BitBlt(r.left + 2 + j, 0, 1, 20, hBitmapDC, 0, 0, SRCCOPY);
    }
    Blit(dc, hBitmapDC, pieces[RightCap], r.right - 2, 0, 2, 20);

    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_HEADER;
    dis.itemID = (UINT)i;
    dis.itemAction = ODA_DRAWENTIRE;
    dis.hwndItem = m_hWnd;
    dis.hDC = hPaintDC;
    dis.rcItem = r;
    DrawItem(&dis);

    // A zeroed font asks for ANSI_CHARSET, which outside Chinese Windows
    // finds a Latin face that has no Chinese glyphs; the default character
    // set finds 宋体 or its stand-in everywhere.
    LOGFONTA lf = {};
    lf.lfHeight = 12;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, "宋体", LF_FACESIZE);
    CFont font;
    font.CreateFontIndirect(&lf);
    CSelectObject selFont(dc, font);
    dc.SetBkMode(TRANSPARENT);
    r.DeflateRect(2, 2);
    dc.DrawText(text, -1, &r, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}
