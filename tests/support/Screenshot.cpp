#include "Screenshot.h"
#include <cstdio>
#include <string>
#include <vector>

bool SaveScreenBitmap(const RECT& rect, const char* path)
{
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0)
        return false;
    HDC hScreen = ::GetDC(nullptr);
    HDC hMem = ::CreateCompatibleDC(hScreen);
    HBITMAP hBmp = ::CreateCompatibleBitmap(hScreen, w, h);
    HGDIOBJ hOld = ::SelectObject(hMem, hBmp);
    ::BitBlt(hMem, 0, 0, w, h, hScreen, rect.left, rect.top, SRCCOPY);
    ::SelectObject(hMem, hOld);

    BITMAPINFOHEADER bih = {};
    bih.biSize = sizeof bih;
    bih.biWidth = w;
    bih.biHeight = h;  // bottom-up, as BMP files store it
    bih.biPlanes = 1;
    bih.biBitCount = 24;
    bih.biCompression = BI_RGB;
    const int stride = (w * 3 + 3) & ~3;
    std::vector<BYTE> pixels((size_t)stride * h);
    bool ok = ::GetDIBits(hMem, hBmp, 0, (UINT)h, pixels.data(), (BITMAPINFO*)&bih, DIB_RGB_COLORS) == h;
    ::DeleteObject(hBmp);
    ::DeleteDC(hMem);
    ::ReleaseDC(nullptr, hScreen);
    if (!ok)
        return false;

    BITMAPFILEHEADER bfh = {};
    bfh.bfType = 0x4D42;
    bfh.bfOffBits = sizeof bfh + sizeof bih;
    bfh.bfSize = bfh.bfOffBits + (DWORD)pixels.size();
    FILE* f = fopen(path, "wb");
    if (!f)
        return false;
    ok = fwrite(&bfh, sizeof bfh, 1, f) == 1 && fwrite(&bih, sizeof bih, 1, f) == 1 &&
         fwrite(pixels.data(), pixels.size(), 1, f) == 1;
    return fclose(f) == 0 && ok;
}

bool SaveWindowBitmap(HWND hWnd, const char* path)
{
    RECT rc;
    return ::GetWindowRect(hWnd, &rc) && SaveScreenBitmap(rc, path);
}

const char* ScreenshotPath(const char* name)
{
    static std::string s_path;
    char exe[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string dir(exe);
    dir = dir.substr(0, dir.find_last_of("\\/") + 1) + "..\\screenshots";
    ::CreateDirectoryA(dir.c_str(), nullptr);
    s_path = dir + "\\" + name;
    return s_path.c_str();
}
