// File encoders. All multi-byte fields are little-endian, as Windows reads them.
#include "formats.h"

#include <fstream>
#include <map>
#include <stdexcept>

namespace {

void put16(Bytes& b, unsigned v)
{
    b.push_back(std::uint8_t(v));
    b.push_back(std::uint8_t(v >> 8));
}

void put32(Bytes& b, std::uint32_t v)
{
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

int stride(int width, int bits)
{
    return ((width * bits + 31) / 32) * 4;
}

void putInfoHeader(Bytes& b, int w, int h, int bits, std::uint32_t imageSize, std::uint32_t colours)
{
    put32(b, 40);  // biSize
    put32(b, std::uint32_t(w));
    put32(b, std::uint32_t(h));
    put16(b, 1);  // biPlanes
    put16(b, unsigned(bits));
    put32(b, 0);  // BI_RGB
    put32(b, imageSize);
    put32(b, 2835);  // 72 dpi
    put32(b, 2835);
    put32(b, colours);
    put32(b, 0);
}

// Rows of 1-bit values, bottom-up, padded to 4 bytes.
void putBits(Bytes& b, int n, const std::vector<bool>& bits)
{
    int rowBytes = stride(n, 1);
    for (int y = n - 1; y >= 0; --y) {
        Bytes row(std::size_t(rowBytes), 0);
        for (int x = 0; x < n; ++x)
            if (bits[std::size_t(y) * n + x])
                row[std::size_t(x / 8)] |= std::uint8_t(0x80 >> (x % 8));
        b.insert(b.end(), row.begin(), row.end());
    }
}

// The image data as it appears in the file, from BITMAPINFOHEADER on.
// The colour part of an icon image, one function per depth; each starts
// with its own info header (height doubled for the mask that follows).
void putBgra32(Bytes& b, const RgbaCanvas& p)
{
    const int n = p.size();
    putInfoHeader(b, n, 2 * n, 32, std::uint32_t(n * 4 * n + stride(n, 1) * n), 0);
    for (int y = n - 1; y >= 0; --y) {
        for (int x = 0; x < n; ++x) {
            Rgba c = p.at(x, y);
            b.insert(b.end(), {c.b, c.g, c.r, c.a});
        }
    }
}

void putIndexed8(Bytes& b, const RgbaCanvas& p)
{
    const int n = p.size();
    // Palette in order of first appearance keeps the output deterministic.
    std::map<std::uint32_t, int> index;
    std::vector<Rgb> palette{Rgb{0, 0, 0}};  // entry 0: transparent pixels
    index[0] = 0;
    std::vector<std::uint8_t> idx(std::size_t(n) * n, 0);
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            Rgba c = p.at(x, y);
            if (c.a == 0)
                continue;
            std::uint32_t key = (std::uint32_t(c.r) << 16) | (c.g << 8) | c.b;
            auto it = index.find(key);
            if (it == index.end()) {
                if (palette.size() == 256)
                    throw std::runtime_error("more than 256 colours in an 8-bit image");
                it = index.emplace(key, int(palette.size())).first;
                palette.push_back(Rgb{c.r, c.g, c.b});
            }
            idx[std::size_t(y) * n + x] = std::uint8_t(it->second);
        }
    }
    const int rowBytes = stride(n, 8);
    putInfoHeader(b, n, 2 * n, 8, std::uint32_t(rowBytes * n + stride(n, 1) * n), 256);
    for (int i = 0; i < 256; ++i) {
        Rgb c = i < int(palette.size()) ? palette[std::size_t(i)] : Rgb{0, 0, 0};
        b.insert(b.end(), {c.b, c.g, c.r, 0});
    }
    for (int y = n - 1; y >= 0; --y) {
        Bytes row(std::size_t(rowBytes), 0);
        for (int x = 0; x < n; ++x)
            row[std::size_t(x)] = idx[std::size_t(y) * n + x];
        b.insert(b.end(), row.begin(), row.end());
    }
}

void putMono1(Bytes& b, const RgbaCanvas& p)
{
    const int n = p.size();
    // Opaque pixels are black or white by brightness; the mask does the rest.
    std::vector<bool> white(std::size_t(n) * n);
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            Rgba c = p.at(x, y);
            white[std::size_t(y) * n + x] = c.a != 0 && (c.r * 3 + c.g * 6 + c.b) >= 1280;
        }
    }
    putInfoHeader(b, n, 2 * n, 1, std::uint32_t(stride(n, 1) * n * 2), 2);
    b.insert(b.end(), {0, 0, 0, 0, 255, 255, 255, 0});
    putBits(b, n, white);
}

Bytes encodeIconDib(const IconImage& img)
{
    const RgbaCanvas& p = img.pixels;
    const int n = p.size();
    Bytes b;
    switch (img.depth) {
    case Depth::Bgra32: putBgra32(b, p); break;
    case Depth::Indexed8: putIndexed8(b, p); break;
    case Depth::Mono1: putMono1(b, p); break;
    }
    // The AND mask: set where the pixel is transparent.
    std::vector<bool> mask(std::size_t(n) * n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            mask[std::size_t(y) * n + x] = p.at(x, y).a == 0;
    putBits(b, n, mask);
    return b;
}

Bytes encodeDirectory(const std::vector<IconImage>& images, unsigned type)
{
    std::vector<Bytes> dibs;
    for (const IconImage& img : images)
        dibs.push_back(encodeIconDib(img));

    Bytes b;
    put16(b, 0);
    put16(b, type);  // 1 = icon, 2 = cursor
    put16(b, unsigned(images.size()));
    std::uint32_t offset = std::uint32_t(6 + 16 * images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const IconImage& img = images[i];
        int n = img.pixels.size();
        b.push_back(std::uint8_t(n == 256 ? 0 : n));
        b.push_back(std::uint8_t(n == 256 ? 0 : n));
        b.push_back(img.depth == Depth::Mono1 ? 2 : 0);  // colour count; 0 = 256 or more
        b.push_back(0);
        int bits = img.depth == Depth::Bgra32 ? 32 : img.depth == Depth::Indexed8 ? 8 : 1;
        if (type == 2) {
            put16(b, unsigned(img.hotX));
            put16(b, unsigned(img.hotY));
        } else {
            put16(b, 1);
            put16(b, unsigned(bits));
        }
        put32(b, std::uint32_t(dibs[i].size()));
        put32(b, offset);
        offset += std::uint32_t(dibs[i].size());
    }
    for (const Bytes& d : dibs)
        b.insert(b.end(), d.begin(), d.end());
    return b;
}

}  // namespace

Bytes encodeBmp24(const Canvas& c)
{
    const int w = c.width(), h = c.height();
    const int rowBytes = stride(w, 24);
    const std::uint32_t imageSize = std::uint32_t(rowBytes * h);
    Bytes b;
    b.push_back('B');
    b.push_back('M');
    put32(b, 14 + 40 + imageSize);
    put32(b, 0);
    put32(b, 14 + 40);  // pixel data offset
    putInfoHeader(b, w, h, 24, imageSize, 0);
    for (int y = h - 1; y >= 0; --y) {
        Bytes row(std::size_t(rowBytes), 0);
        for (int x = 0; x < w; ++x) {
            Rgb p = c.at(x, y);
            row[std::size_t(x) * 3 + 0] = p.b;
            row[std::size_t(x) * 3 + 1] = p.g;
            row[std::size_t(x) * 3 + 2] = p.r;
        }
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

Bytes encodeIco(const std::vector<IconImage>& images)
{
    return encodeDirectory(images, 1);
}

Bytes encodeCur(const std::vector<IconImage>& images)
{
    return encodeDirectory(images, 2);
}

bool writeFile(const std::string& path, const Bytes& data)
{
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    if (!f)
        return false;
    f.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
    return bool(f.flush());
}
