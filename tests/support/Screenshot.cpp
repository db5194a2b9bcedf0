// Screenshots: BitBlt from the screen into a DIB and write it as a BMP.
#include "Screenshot.h"
#include <cstdio>
#include <vector>

bool SaveScreenBitmap(const RECT& rect, const char* path)
{
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0)
        return false;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;  // bottom-up, as BMP files store it
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    const DWORD stride = ((DWORD)w * 3 + 3) & ~3u;
    const DWORD imageSize = stride * (DWORD)h;

    HDC hScreen = ::GetDC(nullptr);
    HDC hMem = ::CreateCompatibleDC(hScreen);
    void* bits = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(hScreen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = false;
    if (hMem && hBitmap) {
        HGDIOBJ old = ::SelectObject(hMem, hBitmap);
        ok = ::BitBlt(hMem, 0, 0, w, h, hScreen, rect.left, rect.top, SRCCOPY) != FALSE;
        ::GdiFlush();
        ::SelectObject(hMem, old);
    }
    if (ok) {
        BITMAPFILEHEADER fh = {};
        fh.bfType = 0x4D42;  // "BM"
        fh.bfOffBits = sizeof(fh) + sizeof(bi.bmiHeader);
        fh.bfSize = fh.bfOffBits + imageSize;
        bi.bmiHeader.biSizeImage = imageSize;
        FILE* f = std::fopen(path, "wb");
        ok = f && std::fwrite(&fh, sizeof(fh), 1, f) == 1 &&
             std::fwrite(&bi.bmiHeader, sizeof(bi.bmiHeader), 1, f) == 1 &&
             std::fwrite(bits, imageSize, 1, f) == 1;
        if (f)
            ok = std::fclose(f) == 0 && ok;
    }
    if (hBitmap)
        ::DeleteObject(hBitmap);
    if (hMem)
        ::DeleteDC(hMem);
    ::ReleaseDC(nullptr, hScreen);
    return ok;
}

bool SaveWindowBitmap(HWND hWnd, const char* path)
{
    RECT rect;
    return ::GetWindowRect(hWnd, &rect) && SaveScreenBitmap(rect, path);
}
