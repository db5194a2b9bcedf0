// Painting of the skinned column header.
#include "controls/SkinHeaderCtrl.h"
#include "skin/MemDC.h"

namespace {
enum : UINT { BMP_LEFT_CAP = 159, BMP_MIDDLE = 160, BMP_RIGHT_CAP = 161 };
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
    CMemDC dc(&paintDC, &rcClient);
    dc.FillSolidRect(&rcClient, RGB(255, 255, 255));

    CDC bitmapDC;
    bitmapDC.CreateCompatibleDC(&paintDC);

    // Background: the gradient from x = 2 on.
    {
        CBitmap middle;
        middle.LoadBitmap(BMP_MIDDLE);
        CSelectObject sel(bitmapDC, middle);
        for (int i = 0; i < rcClient.Width(); ++i)
            dc.BitBlt(rcClient.left + i + 2, 0, 1, 16, &bitmapDC, 0, 0, SRCCOPY);
    }

    const int count = GetItemCount();
    CBitmap leftCap, middle, rightCap;
    leftCap.LoadBitmap(BMP_LEFT_CAP);
    middle.LoadBitmap(BMP_MIDDLE);
    rightCap.LoadBitmap(BMP_RIGHT_CAP);

    for (int i = 0; i < count; ++i) {
        char text[kTextMax + 1] = "";
        HDITEMA item = {};
        item.mask = HDI_TEXT | HDI_FORMAT | HDI_ORDER;
        item.pszText = text;
        item.cchTextMax = kTextMax;
        GetItem(i, &item);
        CRect r;
        GetItemRect(i, &r);

        if (item.iOrder == 0) {
            CSelectObject sel(bitmapDC, leftCap);
            dc.BitBlt(r.left, r.top, 2, 16, &bitmapDC, 0, 0, SRCCOPY);
        } else {
            // Between two columns each keeps its own dark edge, as the
            // first column does at the header's left end: the previous
            // column's at r.left - 1 and this column's at r.left.
            {
                CSelectObject sel(bitmapDC, rightCap);
                dc.BitBlt(r.left - 1, r.top, 1, 16, &bitmapDC, 1, 0, SRCCOPY);
            }
            {
                CSelectObject sel(bitmapDC, leftCap);
                dc.BitBlt(r.left, r.top, 1, 16, &bitmapDC, 0, 0, SRCCOPY);
            }
            CSelectObject sel(bitmapDC, middle);
            dc.BitBlt(r.left + 1, r.top, 1, 20, &bitmapDC, 0, 0, SRCCOPY);
        }
        {
            CSelectObject sel(bitmapDC, middle);
            for (int j = 0; j <= r.right - r.left - 5; ++j)
                dc.BitBlt(r.left + 2 + j, 0, 1, 20, &bitmapDC, 0, 0, SRCCOPY);
        }
        {
            CSelectObject sel(bitmapDC, rightCap);
            dc.BitBlt(r.right - 2, 0, 2, 20, &bitmapDC, 0, 0, SRCCOPY);
        }

        CRect t;
        GetItemRect(i, &t);
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_HEADER;
        dis.itemID = (UINT)i;
        dis.itemAction = ODA_DRAWENTIRE;
        dis.hwndItem = m_hWnd;
        dis.hDC = paintDC.m_hDC;
        dis.rcItem = t;
        DrawItem(&dis);

        // A zeroed font asks for ANSI_CHARSET, which outside Chinese Windows
        // finds a Latin face that has no Chinese glyphs; the default
        // character set finds 宋体 or its stand-in everywhere.
        LOGFONTA lf = {};
        lf.lfHeight = 12;
        lf.lfCharSet = DEFAULT_CHARSET;
        lstrcpynA(lf.lfFaceName, "宋体", LF_FACESIZE);
        CFont font;
        font.CreateFontIndirect(&lf);
        CSelectObject selFont(dc, font);
        dc.SetBkMode(TRANSPARENT);

        t.DeflateRect(2, 2);
        text[0] = '\0';
        GetItem(i, &item);
        dc.DrawText(text, -1, &t, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
}
