// Encoders for the three resource file formats: 24-bit BMP, ICO and CUR.
#pragma once

#include "raster.h"

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// BITMAPFILEHEADER + BITMAPINFOHEADER, 24 bpp, BI_RGB, bottom-up rows
// padded to 4 bytes.
Bytes encodeBmp24(const Canvas& c);

enum class Depth { Bgra32, Indexed8, Mono1 };

// One image of an icon or cursor; the hot spot matters for cursors only.
struct IconImage {
    RgbaCanvas pixels;
    Depth depth;
    int hotX = 0, hotY = 0;
};

// Each image is a DIB (height doubled) with its AND mask: set where the
// pixel is transparent. Palette and monochrome images take transparency from
// the mask only, so their pixels should be hardened first.
Bytes encodeIco(const std::vector<IconImage>& images);
Bytes encodeCur(const std::vector<IconImage>& images);

bool writeFile(const std::string& path, const Bytes& data);
