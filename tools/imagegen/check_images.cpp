// Reads the written files back with a decoder of its own and checks what the
// painting code relies on: exact sizes and formats, the colours the program's
// behaviour is described by, and that the hover/pressed strips differ from
// the normal strip only in their own face.
#include "check_images.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Colour {
    int r, g, b;
    bool operator==(const Colour& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Colour& o) const { return !(*this == o); }
};

Colour rgb(std::uint32_t v)
{
    return Colour{int(v >> 16) & 255, int(v >> 8) & 255, int(v) & 255};
}

int g_faults = 0;

void fault(const std::string& file, const std::string& what)
{
    std::fprintf(stderr, "check: %s: %s\n", file.c_str(), what.c_str());
    ++g_faults;
}

std::string str(Colour c)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", c.r, c.g, c.b);
    return buf;
}

unsigned u16(const Bytes& b, std::size_t at)
{
    return at + 2 <= b.size() ? unsigned(b[at] | (b[at + 1] << 8)) : 0;
}

std::uint32_t u32(const Bytes& b, std::size_t at)
{
    return at + 4 <= b.size() ? std::uint32_t(u16(b, at) | (std::uint32_t(u16(b, at + 2)) << 16)) : 0;
}

Bytes readFile(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

int stride(int w, int bits)
{
    return ((w * bits + 31) / 32) * 4;
}

// ---- BMP --------------------------------------------------------------------

struct Bmp {
    std::string name;
    int w = 0, h = 0;
    Bytes data;
    std::size_t pixels = 0;
    bool ok = false;

    Colour at(int x, int y) const  // y counted from the top
    {
        std::size_t p = pixels + std::size_t(h - 1 - y) * stride(w, 24) + std::size_t(x) * 3;
        return Colour{data[p + 2], data[p + 1], data[p]};
    }
};

Bmp loadBmp(const std::string& dir, int id, int w, int h)
{
    Bmp m;
    m.name = "bmp" + std::to_string(id) + ".bmp";
    m.data = readFile(dir + "/" + m.name);
    const Bytes& b = m.data;
    if (b.size() < 54) {
        fault(m.name, "missing or shorter than its headers");
        return m;
    }
    auto expect = [&](const char* field, long got, long want) {
        if (got != want)
            fault(m.name, std::string(field) + " is " + std::to_string(got) + ", expected " + std::to_string(want));
        return got == want;
    };
    std::size_t imageSize = std::size_t(stride(w, 24)) * h;
    bool good = expect("signature", long(u16(b, 0)), 0x4D42)
        & expect("file size field", long(u32(b, 2)), long(b.size()))
        & expect("file length", long(b.size()), long(54 + imageSize))
        & expect("pixel offset", long(u32(b, 10)), 54)
        & expect("header size", long(u32(b, 14)), 40)
        & expect("width", long(std::int32_t(u32(b, 18))), w)
        // Positive height: bottom-up rows.
        & expect("height", long(std::int32_t(u32(b, 22))), h)
        & expect("planes", long(u16(b, 26)), 1)
        & expect("bit count", long(u16(b, 28)), 24)
        & expect("compression", long(u32(b, 30)), 0);
    std::uint32_t sizeImage = u32(b, 34);
    if (sizeImage != 0 && sizeImage != imageSize)
        good = expect("image size", long(sizeImage), long(imageSize));
    m.w = w;
    m.h = h;
    m.pixels = 54;
    m.ok = good;
    return m;
}

bool near(Colour a, Colour b, int tol)
{
    return std::abs(a.r - b.r) <= tol && std::abs(a.g - b.g) <= tol && std::abs(a.b - b.b) <= tol;
}

void probe(const Bmp& m, int x, int y, Colour want, int tol = 0, const char* what = "")
{
    if (!m.ok)
        return;
    Colour got = m.at(x, y);
    if (!near(got, want, tol))
        fault(m.name, "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") " + what + " is " + str(got) +
                          ", expected " + str(want) + (tol ? " +-" + std::to_string(tol) : ""));
}

int brightness(Colour c)
{
    return c.r + c.g + c.b;
}

bool rowUniform(const Bmp& m, int y, int x0, int x1)
{
    for (int x = x0; x <= x1; ++x)
        if (m.at(x, y) != m.at(x0, y))
            return false;
    return true;
}

// ---- Caption --------------------------------------------------------------------

void checkCaption(const std::string& dir)
{
    Bmp bar = loadBmp(dir, 135, 117, 23);
    if (bar.ok) {
        probe(bar, 0, 0, rgb(0xEFF7F7), 2, "top row");
        probe(bar, 59, 11, rgb(0xE9F1F5), 2, "middle row");
        probe(bar, 30, 22, rgb(0xFFFFFF), 0, "bottom row");
        // Tiles of 60 columns must join without a seam.
        for (int y = 0; y < 23; ++y)
            if (!rowUniform(bar, y, 0, 116))
                fault(bar.name, "row " + std::to_string(y) + " is not one colour");
    }

    const Colour outline = rgb(0x57759F);
    Bmp normal = loadBmp(dir, 129, 79, 15);
    struct Variant { int id; int face; };
    const Variant variants[] = {{130, 0}, {131, 0}, {137, 1}, {138, 1}, {140, 2}, {141, 2}};
    std::vector<Bmp> strips;
    for (const Variant& v : variants)
        strips.push_back(loadBmp(dir, v.id, 79, 15));

    std::vector<const Bmp*> all{&normal};
    for (const Bmp& s : strips)
        all.push_back(&s);
    for (const Bmp* s : all) {
        if (!s->ok)
            continue;
        for (int x : {0, 26, 52, 78})
            for (int y = 0; y < 15; ++y)
                probe(*s, x, y, outline, 0, "separator column");
        for (int y : {0, 14})
            for (int x = 0; x < 79; ++x)
                probe(*s, x, y, outline, 0, "frame row");
    }
    if (!normal.ok)
        return;
    // A point of each face away from its glyph.
    const int faceX[3] = {4, 30, 56};
    for (int f = 0; f < 3; ++f) {
        Colour c = normal.at(faceX[f], 2);
        if (!(c.b > c.r && c.b >= 230 && c.r >= 200))
            fault(normal.name, "face " + std::to_string(f) + " is " + str(c) + ", expected light blue");
    }
    // The glyphs are dark on the normal faces: bar, square, X.
    probe(normal, 1 + 12, 9, rgb(0x1E3554), 40, "minimise glyph");
    probe(normal, 27 + 8, 7, rgb(0x1E3554), 40, "middle glyph");
    probe(normal, 53 + 12, 7, rgb(0x1E3554), 40, "close glyph");

    for (std::size_t i = 0; i < strips.size(); ++i) {
        const Bmp& s = strips[i];
        if (!s.ok)
            continue;
        int face = variants[i].face;
        int l = 1 + 26 * face;
        // Only the hot face may differ from the normal strip.
        for (int y = 0; y < 15; ++y)
            for (int x = 0; x < 79; ++x)
                if ((x < l || x > l + 24) && s.at(x, y) != normal.at(x, y)) {
                    fault(s.name, "differs from bmp129 outside its own face at (" + std::to_string(x) + ", " +
                                      std::to_string(y) + ")");
                    y = 15;
                    break;
                }
        Colour c = s.at(faceX[face], 2);
        Colour was = normal.at(faceX[face], 2);
        bool red = variants[i].id >= 140;
        if (red ? !(c.r > c.g + 40 && c.r > c.b + 40) : !(c.b > c.r + 30))
            fault(s.name, "hot face is " + str(c) + ", expected " + (red ? "red" : "blue"));
        if (c == was)
            fault(s.name, "hot face looks like the normal face");
    }
    // Pressed faces are paler than the hot ones.
    for (std::size_t i = 0; i + 1 < strips.size(); i += 2) {
        const Bmp& hot = strips[i];
        const Bmp& down = strips[i + 1];
        if (hot.ok && down.ok) {
            int x = faceX[variants[i].face];
            if (brightness(down.at(x, 10)) <= brightness(hot.at(x, 10)))
                fault(down.name, "pressed face is not paler than " + hot.name);
        }
    }
}

// ---- Background and push buttons --------------------------------------------------

void checkBackground(const std::string& dir)
{
    Bmp bg = loadBmp(dir, 147, 7, 250);
    if (!bg.ok)
        return;
    probe(bg, 3, 0, Colour{251, 252, 252}, 0, "top row");
    probe(bg, 3, 75, Colour{227, 230, 234}, 0, "row 75");
    for (int y : {150, 160, 175})
        probe(bg, 3, y, Colour{208, 213, 220}, 3, "blue-grey band");
    probe(bg, 3, 249, Colour{227, 230, 235}, 0, "last row");
    for (int y = 0; y < 250; ++y)
        if (!rowUniform(bg, y, 0, 6))
            fault(bg.name, "row " + std::to_string(y) + " is not one colour");
    for (int y = 1; y <= 150; ++y)
        if (brightness(bg.at(0, y)) > brightness(bg.at(0, y - 1)))
            fault(bg.name, "gets lighter at row " + std::to_string(y) + " on the way down to the band");
}

void checkButtons(const std::string& dir)
{
    Bmp normal = loadBmp(dir, 351, 73, 21);
    Bmp hover = loadBmp(dir, 156, 73, 21);
    Bmp focus = loadBmp(dir, 157, 73, 21);
    Bmp pressed = loadBmp(dir, 352, 73, 21);
    for (const Bmp* f : {&normal, &hover, &focus, &pressed}) {
        if (!f->ok)
            continue;
        Colour border = f->at(36, 0);
        if (!(border.b > border.r + 40 && brightness(border) < 400))
            fault(f->name, "border is " + str(border) + ", expected dark blue");
        if (f->at(0, 0) == border)
            fault(f->name, "corner is not softened");
        // Nine-slice: the stretched edge rows must not change along the edge.
        for (int y = 0; y < 3; ++y)
            if (!rowUniform(*f, y, 3, 69) || !rowUniform(*f, 20 - y, 3, 69))
                fault(f->name, "edge row " + std::to_string(y) + " varies along the edge");
    }
    if (normal.ok) {
        probe(normal, 36, 1, rgb(0xFFFFFF), 8, "face top");
        if (brightness(normal.at(36, 19)) >= brightness(normal.at(36, 1)))
            fault(normal.name, "face does not fade towards grey");
    }
    if (hover.ok) {
        Colour ring = hover.at(1, 10);
        if (!(ring.r > ring.b + 80))
            fault(hover.name, "ring is " + str(ring) + ", expected amber");
    }
    if (focus.ok) {
        Colour ring = focus.at(1, 10);
        if (!(ring.b > ring.r + 80))
            fault(focus.name, "ring is " + str(ring) + ", expected blue");
    }
    for (const Bmp* f : {&focus, &pressed})
        if (f->ok && f->at(3, 3) == f->at(4, 3))
            fault(f->name, "no dotted focus rectangle at (3, 3)");
    if (normal.ok && pressed.ok && brightness(pressed.at(36, 10)) >= brightness(normal.at(36, 10)))
        fault(pressed.name, "face is not darker than bmp351");
}

// ---- Header and scroll bars ---------------------------------------------------------

void checkHeader(const std::string& dir)
{
    Bmp left = loadBmp(dir, 159, 2, 16);
    Bmp mid = loadBmp(dir, 160, 1, 16);
    Bmp right = loadBmp(dir, 161, 2, 16);
    if (mid.ok) {
        probe(mid, 0, 0, rgb(0x5A5A5A), 0, "top line");
        probe(mid, 0, 15, rgb(0x5A5A5A), 0, "bottom line");
        for (int y = 1; y <= 3; ++y)
            probe(mid, 0, y, rgb(0xFFFFFF), 0, "white rows");
        probe(mid, 0, 14, rgb(0xA1A1A1), 0, "row 14");
        for (int y = 2; y <= 14; ++y)
            if (brightness(mid.at(0, y)) > brightness(mid.at(0, y - 1)))
                fault(mid.name, "gradient gets lighter at row " + std::to_string(y));
    }
    for (int y = 0; y < 16; ++y) {
        probe(left, 0, y, rgb(0x5B5B5B), 0, "dark column");
        probe(right, 1, y, rgb(0x5B5B5B), 0, "dark column");
        if (mid.ok) {
            probe(left, 1, y, mid.at(0, y), 0, "gradient column (as bmp160)");
            probe(right, 0, y, mid.at(0, y), 0, "gradient column (as bmp160)");
        }
    }
}

void checkScrollBars(const std::string& dir)
{
    const Colour outline = rgb(0x57759F);
    Bmp top = loadBmp(dir, 356, 15, 19);
    Bmp up = loadBmp(dir, 146, 15, 26);
    Bmp track = loadBmp(dir, 150, 15, 1);
    Bmp down = loadBmp(dir, 151, 15, 26);
    Bmp corner = loadBmp(dir, 357, 14, 16);
    Bmp vthumb = loadBmp(dir, 148, 15, 26);
    Bmp left = loadBmp(dir, 158, 35, 17);
    Bmp htrack = loadBmp(dir, 153, 1, 16);
    Bmp right = loadBmp(dir, 154, 35, 16);
    Bmp hthumb = loadBmp(dir, 152, 35, 16);
    (void)corner;  // size and format only

    // The cap continues the header beside it.
    Bmp header = loadBmp(dir, 160, 1, 16);
    if (top.ok && header.ok)
        for (int y = 0; y < 16; ++y)
            probe(top, 5, y, header.at(0, y), 0, "as header");

    const Colour glyph = rgb(0x1E3554);
    probe(up, 7, 10, glyph, 0, "arrow tip");
    probe(up, 7, 17, up.ok ? up.at(7, 20) : Colour{}, 8, "below the arrow");
    probe(down, 7, 15, glyph, 0, "arrow tip");
    probe(left, 15, 7, glyph, 0, "arrow tip");
    probe(right, 19, 7, glyph, 0, "arrow tip");
    for (const Bmp* b : {&up, &down, &left, &right, &vthumb, &hthumb})
        probe(*b, b->w / 2, 0, outline, 0, "frame");
    // Tracks are lighter inside than at their edges.
    if (track.ok && brightness(track.at(7, 0)) <= brightness(track.at(0, 0)))
        fault(track.name, "middle not lighter than edge");
    if (htrack.ok && brightness(htrack.at(0, 8)) <= brightness(htrack.at(0, 0)))
        fault(htrack.name, "middle not lighter than edge");
    // Grip dots: two columns on the vertical thumb, two rows on the horizontal.
    if (vthumb.ok && !(brightness(vthumb.at(5, 8)) < 400 && brightness(vthumb.at(8, 8)) < 400))
        fault(vthumb.name, "no grip dots at (5, 8) and (8, 8)");
    if (hthumb.ok && !(brightness(hthumb.at(11, 5)) < 400 && brightness(hthumb.at(11, 9)) < 400))
        fault(hthumb.name, "no grip dots at (11, 5) and (11, 9)");
}

// ---- Icons and cursor -----------------------------------------------------------------

struct IconEntry {
    int w, h, bits;
    int hotX, hotY;          // cursor only
    std::size_t at, size;
};

struct IconFile {
    std::string name;
    Bytes data;
    std::vector<IconEntry> entries;
    bool ok = false;
};

IconFile loadIconFile(const std::string& dir, const std::string& name, unsigned type)
{
    IconFile f;
    f.name = name;
    f.data = readFile(dir + "/" + name);
    const Bytes& b = f.data;
    if (b.size() < 6 || u16(b, 0) != 0 || u16(b, 2) != type) {
        fault(name, "missing, or not an " + std::string(type == 1 ? "icon" : "cursor") + " directory");
        return f;
    }
    unsigned count = u16(b, 4);
    bool good = true;
    for (unsigned i = 0; i < count; ++i) {
        std::size_t e = 6 + 16 * i;
        IconEntry en{};
        en.w = b[e] ? b[e] : 256;
        en.h = b[e + 1] ? b[e + 1] : 256;
        en.hotX = type == 2 ? int(u16(b, e + 4)) : 0;
        en.hotY = type == 2 ? int(u16(b, e + 6)) : 0;
        en.size = u32(b, e + 8);
        en.at = u32(b, e + 12);
        if (en.at + en.size > b.size() || en.size < 40) {
            fault(name, "image " + std::to_string(i) + " lies outside the file");
            good = false;
            continue;
        }
        const std::size_t h = en.at;
        en.bits = int(u16(b, h + 14));
        if (u32(b, h) != 40 || int(u32(b, h + 4)) != en.w || int(u32(b, h + 8)) != 2 * en.h)
            fault(name, "image " + std::to_string(i) + " header does not match its directory entry"), good = false;
        if (type == 1 && int(u16(b, e + 6)) != en.bits)
            fault(name, "image " + std::to_string(i) + " bit count differs from its directory entry"), good = false;
        std::size_t colours = en.bits <= 8 ? (u32(b, h + 32) ? u32(b, h + 32) : (1u << en.bits)) : 0;
        std::size_t need = 40 + 4 * colours + std::size_t(stride(en.w, en.bits)) * en.h +
                           std::size_t(stride(en.w, 1)) * en.h;
        if (need != en.size)
            fault(name, "image " + std::to_string(i) + " is " + std::to_string(en.size) + " bytes, expected " +
                            std::to_string(need)), good = false;
        f.entries.push_back(en);
    }
    f.ok = good;
    return f;
}

// Whether pixel (x, y), y from the top, is drawn (AND mask bit clear).
bool opaque(const IconFile& f, const IconEntry& e, int x, int y)
{
    const Bytes& b = f.data;
    std::size_t colours = e.bits <= 8 ? (u32(b, e.at + 32) ? u32(b, e.at + 32) : (1u << e.bits)) : 0;
    std::size_t mask = e.at + 40 + 4 * colours + std::size_t(stride(e.w, e.bits)) * e.h;
    std::size_t p = mask + std::size_t(e.h - 1 - y) * stride(e.w, 1) + std::size_t(x / 8);
    return (b[p] & (0x80 >> (x % 8))) == 0;
}

void expectEntries(const IconFile& f, const std::vector<std::vector<int>>& want)
{
    if (!f.ok)
        return;
    if (f.entries.size() != want.size()) {
        fault(f.name, std::to_string(f.entries.size()) + " images, expected " + std::to_string(want.size()));
        return;
    }
    for (std::size_t i = 0; i < want.size(); ++i) {
        const IconEntry& e = f.entries[i];
        std::vector<int> got{e.w, e.h, e.bits};
        if (want[i].size() == 5) {
            got.push_back(e.hotX);
            got.push_back(e.hotY);
        }
        if (got != want[i])
            fault(f.name, "image " + std::to_string(i) + " has the wrong size, depth or hot spot");
    }
}

void checkIcons(const std::string& dir)
{
    for (int id : {128, 129, 130}) {
        IconFile f = loadIconFile(dir, "ico" + std::to_string(id) + ".ico", 1);
        expectEntries(f, {{32, 32, 32}, {16, 16, 32}});
        if (f.ok && f.entries.size() == 2) {
            for (const IconEntry& e : f.entries) {
                if (opaque(f, e, 0, 0))
                    fault(f.name, std::to_string(e.w) + "px image has an opaque corner");
                int drawn = 0;
                for (int y = 0; y < e.h; ++y)
                    for (int x = 0; x < e.w; ++x)
                        drawn += opaque(f, e, x, y);
                if (drawn < e.w * e.h / 5)
                    fault(f.name, std::to_string(e.w) + "px image is nearly empty");
            }
        }
    }
    IconFile messenger = loadIconFile(dir, "ico134.ico", 1);
    expectEntries(messenger, {{16, 16, 8}});

    IconFile hand = loadIconFile(dir, "cur133.cur", 2);
    expectEntries(hand, {{32, 32, 1, 8, 8}, {16, 16, 8, 4, 4}});
    if (hand.ok && hand.entries.size() == 2) {
        for (const IconEntry& e : hand.entries) {
            if (!opaque(hand, e, e.hotX, e.hotY))
                fault(hand.name, std::to_string(e.w) + "px image: hot spot is on a transparent pixel");
            if (opaque(hand, e, 0, 0) || opaque(hand, e, e.w - 1, e.h - 1))
                fault(hand.name, std::to_string(e.w) + "px image has an opaque corner");
        }
    }
}

}  // namespace

int checkImages(const std::string& dir)
{
    g_faults = 0;
    checkCaption(dir);
    checkBackground(dir);
    checkButtons(dir);
    checkHeader(dir);
    checkScrollBars(dir);
    checkIcons(dir);
    if (g_faults == 0)
        std::printf("check: all pictures in %s are as expected\n", dir.c_str());
    return g_faults;
}
