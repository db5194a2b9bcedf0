// In-process screen capture written as a bottom-up 24-bit BMP.
#include "Screenshot.h"
#include <cstdio>
#include <vector>

bool SaveScreenBitmap(const RECT& rect, const char* path)
{
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0)
        return false;
    HDC hdcScreen = ::GetDC(nullptr);
    HDC hdcMem = ::CreateCompatibleDC(hdcScreen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;  // bottom-up, as BMP files store rows
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP hbm = ::CreateDIBSection(hdcScreen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = false;
    if (hbm) {
        HGDIOBJ old = ::SelectObject(hdcMem, hbm);
        ok = ::BitBlt(hdcMem, 0, 0, w, h, hdcScreen, rect.left, rect.top, SRCCOPY) != FALSE;
        ::GdiFlush();
        ::SelectObject(hdcMem, old);
        const DWORD stride = ((DWORD)w * 3 + 3) & ~3u;
        const DWORD imageSize = stride * (DWORD)h;
        BITMAPFILEHEADER fh = {};
        fh.bfType = 0x4D42;
        fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
        fh.bfSize = fh.bfOffBits + imageSize;
        bi.bmiHeader.biSizeImage = imageSize;
        if (ok) {
            FILE* f = std::fopen(path, "wb");
            ok = f && std::fwrite(&fh, sizeof fh, 1, f) == 1 &&
                 std::fwrite(&bi.bmiHeader, sizeof bi.bmiHeader, 1, f) == 1 &&
                 std::fwrite(bits, imageSize, 1, f) == 1;
            if (f && std::fclose(f) != 0)
                ok = false;
        }
        ::DeleteObject(hbm);
    }
    ::DeleteDC(hdcMem);
    ::ReleaseDC(nullptr, hdcScreen);
    return ok;
}

bool SaveWindowBitmap(HWND hWnd, const char* path)
{
    RECT rect;
    return ::GetWindowRect(hWnd, &rect) && SaveScreenBitmap(rect, path);
}

std::string ScreenshotPath(const char* name)
{
    char exe[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string dir(exe);
    // <build>/tests/x.exe -> <build>/screenshots
    for (int i = 0; i < 2; ++i) {
        size_t slash = dir.find_last_of("\\/");
        dir = slash == std::string::npos ? std::string(".") : dir.substr(0, slash);
    }
    dir += "\\screenshots";
    ::CreateDirectoryA(dir.c_str(), nullptr);
    return dir + "\\" + name;
}
