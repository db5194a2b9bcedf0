// Skin installation: the thread hook, the walk over a window's descendants,
// the top-level window procedure (gradient background, transparent statics,
// draw-item requests sent back to skinned buttons) and icon statics.
#include "skin/SkinManager.h"
#include "res/resource.h"

CSkinManager g_skin;
CSkinManager* g_pSkin = nullptr;
HHOOK g_hSkinHook = nullptr;

namespace {

const char kWindowOldProcProp[] = "SkinWindowOldWndProc";
const char kWindowHandledProp[] = "SkinWindowHandled";
const char kButtonObjProp[] = "SkinButtonObj";
const char kButtonHandledProp[] = "SkinButtonHandled";
// The picture given to a converted icon static; freed with its dialog.
const char kStaticBitmapProp[] = "SkinStaticBitmap";

// Frees the pictures that icon statics received from the skin: a static
// never deletes the bitmap it is given.
BOOL CALLBACK FreeStaticBitmapProc(HWND hWnd, LPARAM)
{
    if (HANDLE hBitmap = ::RemovePropA(hWnd, kStaticBitmapProp)) {
        ::SendMessageA(hWnd, STM_SETIMAGE, IMAGE_BITMAP, 0);
        ::DeleteObject((HBITMAP)hBitmap);
    }
    return TRUE;
}

// A static draws its text on whatever its area shows, and repaints alone
// (a hover, a box closed over it, keyboard cues): text drawn over its own
// earlier self turns bold and blotchy. So the skin's background is put
// under it first, as the window shows it there. Only statics: a group box
// or a check box is not a plain rectangle of its own and may hold other
// controls.
void PaintBackgroundBehind(HWND hWnd, HWND hStatic, HDC hdc)
{
    char className[16] = "";
    ::GetClassNameA(hStatic, className, sizeof className);
    if (!g_pSkin || ::lstrcmpiA(className, "Static") != 0)
        return;
    CRect rcParent;
    ::GetClientRect(hWnd, &rcParent);
    POINT origin = { 0, 0 };  // the static's client origin in the parent
    ::MapWindowPoints(hStatic, hWnd, &origin, 1);
    const int saved = ::SaveDC(hdc);
    // The parent's client origin lands where it lies relative to the static.
    ::SetWindowOrgEx(hdc, origin.x, origin.y, nullptr);
    g_pSkin->DrawBackground(hdc, rcParent);
    ::RestoreDC(hdc, saved);
}

}  // namespace

CSkinManager::~CSkinManager() = default;

void CSkinManager::DrawBackground(CDCHandle dc, CRect rect)
{
    CBitmap bitmap;
    if (!bitmap.LoadBitmap(IDB_SKIN_BACKGROUND))
        return;
    CDC mem;
    if (!mem.CreateCompatibleDC(dc))
        return;
    CSelectObject select(mem, bitmap);
    const CSize size = bitmap.GetSize();
    const int w = rect.Width(), h = rect.Height();
    const int sh = size.cy < h ? size.cy : h;
    // Up to the bitmap's height the rows keep their own height; a taller
    // area shows the whole gradient stretched.
    dc.StretchBlt(0, 0, w, h, mem, 0, 0, size.cx, sh, SRCCOPY);
}

int CSkinManager::Install(HWND hWnd)
{
    if (!g_pSkin)
        g_pSkin = this;
    if (!g_hSkinHook)
        g_hSkinHook = ::SetWindowsHookExA(WH_CBT, SkinHookProc, nullptr, ::GetCurrentThreadId());

    ::EnumChildWindows(hWnd, SkinEnumChildProc, (LPARAM)&m_buttonTemplate);

    if (::GetPropA(hWnd, kWindowOldProcProp))
        return 0;
    ::SetPropA(hWnd, kWindowOldProcProp, (HANDLE)::GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
    ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)SkinWindowWndProc);
    ::SetPropA(hWnd, kWindowHandledProp, (HANDLE)1);
    return 0;
}

LRESULT CALLBACK SkinHookProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode != HCBT_ACTIVATE)
        return ::CallNextHookEx(g_hSkinHook, nCode, wParam, lParam);
    // Wine also reports an activation of no window when a box closes.
    if (HWND hWnd = (HWND)wParam) {
        try {
            CSkinManager lender;
            lender.Install(hWnd);
        } catch (...) {
            // Out of memory inside activation: the window stays as it is.
        }
    }
    return 0;
}

BOOL CALLBACK SkinEnumChildProc(HWND hWnd, LPARAM lParam)
{
    char className[512] = "";
    ::GetClassNameA(hWnd, className, sizeof className);
    if (::lstrcmpiA(className, "Button") == 0) {
        LONG_PTR style = ::GetWindowLongPtrA(hWnd, GWL_STYLE);
        // Lets through BS_PUSHBUTTON, BS_DEFPUSHBUTTON and BS_USERBUTTON only.
        bool skip = (style & 4) == 4 || (style & 9) == 9 || (style & 2) == 2 ||
                    ::GetPropA(hWnd, kButtonHandledProp);
        if (!skip) {
            ::SetWindowLongPtrA(hWnd, GWL_STYLE, style | BS_OWNERDRAW);
            reinterpret_cast<CSkinButton*>(lParam)->AttachToButton(hWnd);
        }
    } else if (::lstrcmpiA(className, "Static") == 0) {
        if (HICON hIcon = (HICON)::SendMessageA(hWnd, STM_GETICON, 0, 0))
            SkinConvertIconStatic(hWnd, hIcon);
    }
    ::EnumChildWindows(hWnd, SkinEnumChildProc, lParam);
    return TRUE;
}

void SkinConvertIconStatic(HWND hStatic, HICON hIcon)
{
    LONG_PTR style = ::GetWindowLongPtrA(hStatic, GWL_STYLE);
    ::SetWindowLongPtrA(hStatic, GWL_STYLE, (style & ~(LONG_PTR)0x01) | 0x0E);  // SS_ICON -> SS_BITMAP

    CClientDC ref(hStatic);
    HWND hParent = ::GetParent(hStatic);
    CRect rcParent;
    ::GetClientRect(hParent, &rcParent);
    CRect rcStatic;
    ::GetWindowRect(hStatic, &rcStatic);
    ::ScreenToClient(hParent, reinterpret_cast<POINT*>(&rcStatic.left));
    ::ScreenToClient(hParent, reinterpret_cast<POINT*>(&rcStatic.right));

    HBITMAP hPicture = nullptr;
    {
        CDC dcParent, dcStatic;
        dcParent.CreateCompatibleDC(ref);
        dcStatic.CreateCompatibleDC(ref);
        CBitmap bmParent, bmStatic;
        bmParent.CreateCompatibleBitmap(ref, rcParent.Width(), rcParent.Height());
        bmStatic.CreateCompatibleBitmap(ref, rcStatic.Width(), rcStatic.Height());
        {
            CSelectObject selParent(dcParent, bmParent);
            CSelectObject selStatic(dcStatic, bmStatic);
            if (g_pSkin)
                g_pSkin->DrawBackground(dcParent, rcParent);
            dcStatic.BitBlt(0, 0, rcStatic.Width(), rcStatic.Height(), dcParent,
                            rcStatic.left, rcStatic.top, SRCCOPY);
            dcStatic.DrawIcon(0, 0, hIcon);
        }
        hPicture = bmStatic.Detach();
    }

    if (hPicture) {
        // The static shows the picture but never deletes it: keep it on the
        // window so it is freed with the dialog. The old icon is not ours.
        ::SendMessageA(hStatic, STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)hPicture);
        ::SetPropA(hStatic, kStaticBitmapProp, (HANDLE)hPicture);
    }
}

namespace {

// A skinned button draws itself: the request goes back to it. Every request
// is marked as a button's first, whoever it comes from.
bool SkinDrawItem(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    auto* dis = (LPDRAWITEMSTRUCT)lParam;
    dis->CtlType = ODT_BUTTON;
    if (!::GetPropA(dis->hwndItem, kButtonObjProp) && !::GetPropA(dis->hwndItem, kButtonHandledProp))
        return false;
    *pResult = ::SendMessageA(dis->hwndItem, WM_DRAWITEM, wParam, lParam);
    return true;
}

// The gradient, except on windows with a minimise box, which keep theirs.
bool SkinEraseBackground(HWND hWnd, HDC hdc)
{
    LONG_PTR style = ::GetWindowLongPtrA(hWnd, GWL_STYLE);
    if (!(style & WS_DLGFRAME) && !::GetPropA(hWnd, kWindowHandledProp))
        return false;
    if ((style & WS_MINIMIZEBOX) || !g_pSkin)
        return false;
    CRect rect;
    ::GetClientRect(hWnd, &rect);
    g_pSkin->DrawBackground(hdc, rect);
    return true;
}

// Text statics show the skin through their text; two of them have colours
// of their own. Controls without text get the usual colours.
bool SkinStaticColour(HWND hWnd, HDC hdc, HWND hCtl, LRESULT* pResult)
{
    char text[512] = "";
    ::GetWindowTextA(hCtl, text, sizeof text);
    if (!text[0])
        return false;
    PaintBackgroundBehind(hWnd, hCtl, hdc);
    ::SetBkMode(hdc, TRANSPARENT);
    int id = ::GetDlgCtrlID(hCtl);
    if (id == IDC_MAIN_USAGE)
        ::SetTextColor(hdc, RGB(0, 0, 255));
    else if (id == IDC_MAIN_USAGE_HEADING || id == IDC_ABOUT_VERSION)
        ::SetTextColor(hdc, RGB(255, 0, 0));
    *pResult = (LRESULT)::GetStockObject(NULL_BRUSH);
    return true;
}

void SkinDestroy(HWND hWnd, WNDPROC old)
{
    ::EnumChildWindows(hWnd, FreeStaticBitmapProc, 0);
    // Give the procedure back only if nobody subclassed above us; otherwise
    // stay in the chain and keep forwarding until the end.
    if ((WNDPROC)::GetWindowLongPtrA(hWnd, GWLP_WNDPROC) == SkinWindowWndProc) {
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)old);
        ::RemovePropA(hWnd, kWindowOldProcProp);
    }
}

}  // namespace

LRESULT CALLBACK SkinWindowWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC old = (WNDPROC)::GetPropA(hWnd, kWindowOldProcProp);
    if (!old)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);

    LRESULT result = 0;
    switch (message) {
    case WM_DRAWITEM:
        if (SkinDrawItem(wParam, lParam, &result))
            return result;
        break;
    case WM_ERASEBKGND:
        if (SkinEraseBackground(hWnd, (HDC)wParam))
            return 1;
        break;
    case WM_CTLCOLORSTATIC:
        if (SkinStaticColour(hWnd, (HDC)wParam, (HWND)lParam, &result))
            return result;
        break;
    case WM_DESTROY:
        SkinDestroy(hWnd, old);
        break;
    case WM_NCDESTROY:
        ::RemovePropA(hWnd, kWindowOldProcProp);
        break;
    default:
        break;
    }
    return ::CallWindowProcA(old, hWnd, message, wParam, lParam);
}
