#include "Screenshot.h"
#include <cstdio>
#include <vector>

bool SaveScreenBitmap(const RECT& rect, const char* path)
{
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0)
        return false;

    BITMAPINFOHEADER bih = {};
    bih.biSize = sizeof bih;
    bih.biWidth = w;
    bih.biHeight = h;  // bottom-up, as the file wants it
    bih.biPlanes = 1;
    bih.biBitCount = 24;
    bih.biCompression = BI_RGB;
    const DWORD stride = ((DWORD)w * 3 + 3) & ~3u;
    bih.biSizeImage = stride * (DWORD)h;

    void* bits = nullptr;
    HDC hScreen = ::GetDC(nullptr);
    HDC hMem = ::CreateCompatibleDC(hScreen);
    HBITMAP hBmp = ::CreateDIBSection(hScreen, (BITMAPINFO*)&bih, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = false;
    if (hMem && hBmp) {
        HGDIOBJ old = ::SelectObject(hMem, hBmp);
        ok = ::BitBlt(hMem, 0, 0, w, h, hScreen, rect.left, rect.top, SRCCOPY) != FALSE;
        ::GdiFlush();
        ::SelectObject(hMem, old);
    }
    if (ok) {
        BITMAPFILEHEADER bfh = {};
        bfh.bfType = 0x4D42;  // "BM"
        bfh.bfOffBits = sizeof bfh + sizeof bih;
        bfh.bfSize = bfh.bfOffBits + bih.biSizeImage;
        FILE* f = fopen(path, "wb");
        ok = f && fwrite(&bfh, sizeof bfh, 1, f) == 1 && fwrite(&bih, sizeof bih, 1, f) == 1 &&
             fwrite(bits, bih.biSizeImage, 1, f) == 1;
        if (f)
            ok = (fclose(f) == 0) && ok;
    }
    if (hBmp)
        ::DeleteObject(hBmp);
    if (hMem)
        ::DeleteDC(hMem);
    ::ReleaseDC(nullptr, hScreen);
    return ok;
}

bool SaveWindowBitmap(HWND hWnd, const char* path)
{
    RECT r;
    return ::GetWindowRect(hWnd, &r) && SaveScreenBitmap(r, path);
}

std::string ScreenshotPath(const char* name)
{
    char exe[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, exe, sizeof exe);
    std::string dir(exe);
    dir.resize(dir.find_last_of("\\/") + 1);
    dir += "..\\screenshots";
    ::CreateDirectoryA(dir.c_str(), nullptr);
    return dir + "\\" + name;
}
