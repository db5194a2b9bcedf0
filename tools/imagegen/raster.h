// Pixel canvases and the few drawing primitives the pictures need.
// Opaque bitmaps use Canvas; icons and cursors use RgbaCanvas, whose shapes
// are described by signed distances so that outlines and anti-aliasing come
// from one description.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

struct Rgb {
    std::uint8_t r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};

// 0xRRGGBB, as colours are written in the descriptions.
constexpr Rgb hex(std::uint32_t v)
{
    return Rgb{std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v)};
}

// Linear mix: t = 0 gives a, t = 1 gives b (rounded to nearest).
Rgb mix(Rgb a, Rgb b, double t);

// Colour at step i of n steps from a to b (i = 0 gives a, i = n - 1 gives b).
Rgb ramp(Rgb a, Rgb b, int i, int n);

// Opaque RGB picture, (0, 0) at the top-left.
class Canvas {
public:
    Canvas(int w, int h, Rgb fill = Rgb{255, 255, 255});
    int width() const { return w_; }
    int height() const { return h_; }
    Rgb at(int x, int y) const { return px_[std::size_t(y) * w_ + x]; }
    void set(int x, int y, Rgb c);  // ignores points outside
    void fill(int x0, int y0, int x1, int y1, Rgb c);  // inclusive corners
    void hline(int x0, int x1, int y, Rgb c) { fill(x0, y, x1, y, c); }
    void vline(int x, int y0, int y1, Rgb c) { fill(x, y0, x, y1, c); }
    void frame(int x0, int y0, int x1, int y1, Rgb c);  // 1-pixel outline
    // Every row of the inclusive rectangle in one colour, top to bottom a..b.
    void vgradient(int x0, int y0, int x1, int y1, Rgb a, Rgb b);
    // Every column in one colour, left to right a..b.
    void hgradient(int x0, int y0, int x1, int y1, Rgb a, Rgb b);
    // Every other pixel of the outline, starting with the corner.
    void dottedFrame(int x0, int y0, int x1, int y1, Rgb c);

private:
    int w_, h_;
    std::vector<Rgb> px_;
};

struct Rgba {
    std::uint8_t r, g, b, a;
};

// Signed distance in design units: negative inside, positive outside.
using Shape = std::function<double(double x, double y)>;
using Paint = std::function<Rgb(double x, double y)>;

namespace shape {
Shape disc(double cx, double cy, double r);
Shape ellipse(double cx, double cy, double rx, double ry);
Shape roundBox(double x0, double y0, double x1, double y1, double radius);
Shape segment(double ax, double ay, double bx, double by, double halfWidth);
// Convex polygon, points listed in either turning direction.
Shape polygon(std::vector<std::pair<double, double>> pts);
// Ring of radius r and half-thickness t from angle a0 to a1 (degrees,
// counter-clockwise from +x with y pointing down the picture), round ends.
Shape arc(double cx, double cy, double r, double t, double a0, double a1);
Shape unite(Shape a, Shape b);
Shape intersect(Shape a, Shape b);
// Grows (d > 0) or shrinks the shape.
Shape grow(Shape s, double d);
}  // namespace shape

inline Paint solid(Rgb c)
{
    return [c](double, double) { return c; };
}

// Straight-alpha picture drawn in a square design space of `design` units,
// so one description renders at 32x32 and at 16x16.
class RgbaCanvas {
public:
    RgbaCanvas(int size, double design = 32.0);
    int size() const { return n_; }
    Rgba at(int x, int y) const { return px_[std::size_t(y) * n_ + x]; }
    void set(int x, int y, Rgba c) { px_[std::size_t(y) * n_ + x] = c; }
    // Composites paint over the canvas where the shape covers each pixel,
    // coverage measured by 4x4 supersampling.
    void draw(const Shape& s, const Paint& p);
    // Makes every pixel fully opaque or fully transparent (for palette and
    // monochrome formats, which have only the AND mask for transparency).
    void harden(std::uint8_t threshold = 128);

private:
    int n_;
    double scale_;
    std::vector<Rgba> px_;
};
