// In-process screen capture written as a bottom-up 24-bit BMP.
#include "Screenshot.h"
#include <cstdio>
#include <vector>

bool CaptureScreen(const RECT& rect, std::vector<DWORD>* pixels)
{
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0)
        return false;
    HDC hdcScreen = ::GetDC(nullptr);
    HDC hdcMem = ::CreateCompatibleDC(hdcScreen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP hbm = ::CreateDIBSection(hdcScreen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = false;
    if (hbm) {
        HGDIOBJ old = ::SelectObject(hdcMem, hbm);
        ok = ::BitBlt(hdcMem, 0, 0, w, h, hdcScreen, rect.left, rect.top, SRCCOPY) != FALSE;
        ::GdiFlush();
        ::SelectObject(hdcMem, old);
        if (ok) {
            const DWORD* p = static_cast<const DWORD*>(bits);
            pixels->assign(p, p + (size_t)w * h);
            for (DWORD& c : *pixels)
                c &= 0xFFFFFF;
        }
        ::DeleteObject(hbm);
    }
    ::DeleteDC(hdcMem);
    ::ReleaseDC(nullptr, hdcScreen);
    return ok;
}

bool WriteBmp(const char* path, int width, const std::vector<DWORD>& pixels)
{
    if (width <= 0 || pixels.empty() || pixels.size() % (size_t)width)
        return false;
    const int w = width, h = (int)(pixels.size() / (size_t)width);
    const DWORD stride = ((DWORD)w * 3 + 3) & ~3u;
    std::vector<BYTE> data((size_t)stride * h);
    for (int y = 0; y < h; ++y) {
        BYTE* row = &data[(size_t)(h - 1 - y) * stride];  // BMP rows go bottom-up
        for (int x = 0; x < w; ++x) {
            DWORD c = pixels[(size_t)y * w + x];
            row[x * 3] = (BYTE)c;
            row[x * 3 + 1] = (BYTE)(c >> 8);
            row[x * 3 + 2] = (BYTE)(c >> 16);
        }
    }
    BITMAPINFOHEADER ih = {};
    ih.biSize = sizeof ih;
    ih.biWidth = w;
    ih.biHeight = h;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    ih.biCompression = BI_RGB;
    ih.biSizeImage = (DWORD)data.size();
    BITMAPFILEHEADER fh = {};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + ih.biSizeImage;
    FILE* f = std::fopen(path, "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(&fh, sizeof fh, 1, f) == 1 && std::fwrite(&ih, sizeof ih, 1, f) == 1 &&
              std::fwrite(data.data(), data.size(), 1, f) == 1;
    return std::fclose(f) == 0 && ok;
}

bool SaveScreenBitmap(const RECT& rect, const char* path)
{
    std::vector<DWORD> pixels;
    return CaptureScreen(rect, &pixels) && WriteBmp(path, rect.right - rect.left, pixels);
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
