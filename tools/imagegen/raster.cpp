// Drawing primitives for the generated pictures.
#include "raster.h"

#include <algorithm>
#include <cmath>

namespace {
const double kPi = 3.14159265358979323846;

std::uint8_t lerp8(int a, int b, double t)
{
    return std::uint8_t(std::lround(a + (b - a) * t));
}
}  // namespace

Rgb mix(Rgb a, Rgb b, double t)
{
    return Rgb{lerp8(a.r, b.r, t), lerp8(a.g, b.g, t), lerp8(a.b, b.b, t)};
}

Rgb ramp(Rgb a, Rgb b, int i, int n)
{
    return n <= 1 ? a : mix(a, b, double(i) / (n - 1));
}

Canvas::Canvas(int w, int h, Rgb fill) : w_(w), h_(h), px_(std::size_t(w) * h, fill) {}

void Canvas::set(int x, int y, Rgb c)
{
    if (x >= 0 && y >= 0 && x < w_ && y < h_)
        px_[std::size_t(y) * w_ + x] = c;
}

void Canvas::fill(int x0, int y0, int x1, int y1, Rgb c)
{
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            set(x, y, c);
}

void Canvas::frame(int x0, int y0, int x1, int y1, Rgb c)
{
    hline(x0, x1, y0, c);
    hline(x0, x1, y1, c);
    vline(x0, y0, y1, c);
    vline(x1, y0, y1, c);
}

void Canvas::vgradient(int x0, int y0, int x1, int y1, Rgb a, Rgb b)
{
    for (int y = y0; y <= y1; ++y)
        hline(x0, x1, y, ramp(a, b, y - y0, y1 - y0 + 1));
}

void Canvas::hgradient(int x0, int y0, int x1, int y1, Rgb a, Rgb b)
{
    for (int x = x0; x <= x1; ++x)
        vline(x, y0, y1, ramp(a, b, x - x0, x1 - x0 + 1));
}

void Canvas::dottedFrame(int x0, int y0, int x1, int y1, Rgb c)
{
    for (int x = x0; x <= x1; ++x) {
        if ((x - x0) % 2 == 0) {
            set(x, y0, c);
            set(x, y1, c);
        }
    }
    for (int y = y0; y <= y1; ++y) {
        if ((y - y0) % 2 == 0) {
            set(x0, y, c);
            set(x1, y, c);
        }
    }
}

namespace shape {

Shape disc(double cx, double cy, double r)
{
    return [=](double x, double y) { return std::hypot(x - cx, y - cy) - r; };
}

Shape ellipse(double cx, double cy, double rx, double ry)
{
    // Not an exact distance, but close enough near the outline for
    // anti-aliasing and thin strokes.
    return [=](double x, double y) {
        double k = std::hypot((x - cx) / rx, (y - cy) / ry);
        return (k - 1.0) * std::min(rx, ry);
    };
}

Shape roundBox(double x0, double y0, double x1, double y1, double radius)
{
    double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    double hx = (x1 - x0) / 2 - radius, hy = (y1 - y0) / 2 - radius;
    return [=](double x, double y) {
        double qx = std::fabs(x - cx) - hx, qy = std::fabs(y - cy) - hy;
        double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
        return outside + std::min(std::max(qx, qy), 0.0) - radius;
    };
}

Shape segment(double ax, double ay, double bx, double by, double halfWidth)
{
    return [=](double x, double y) {
        double dx = bx - ax, dy = by - ay;
        double len2 = dx * dx + dy * dy;
        double t = len2 > 0 ? ((x - ax) * dx + (y - ay) * dy) / len2 : 0.0;
        t = std::clamp(t, 0.0, 1.0);
        return std::hypot(x - (ax + t * dx), y - (ay + t * dy)) - halfWidth;
    };
}

Shape polygon(std::vector<std::pair<double, double>> pts)
{
    // Orientation decides which side of each edge is inside.
    double area = 0;
    for (std::size_t i = 0; i < pts.size(); ++i) {
        const auto& p = pts[i];
        const auto& q = pts[(i + 1) % pts.size()];
        area += p.first * q.second - q.first * p.second;
    }
    double sign = area > 0 ? 1.0 : -1.0;
    return [pts, sign](double x, double y) {
        double d = -1e9;
        for (std::size_t i = 0; i < pts.size(); ++i) {
            const auto& p = pts[i];
            const auto& q = pts[(i + 1) % pts.size()];
            double ex = q.first - p.first, ey = q.second - p.second;
            double len = std::hypot(ex, ey);
            // Signed distance to the edge's line, positive outside.
            double s = sign * ((x - p.first) * ey - (y - p.second) * ex) / len;
            d = std::max(d, s);
        }
        return d;
    };
}

Shape arc(double cx, double cy, double r, double t, double a0, double a1)
{
    return [=](double x, double y) {
        double dx = x - cx, dy = y - cy;
        // y points down, so counter-clockwise on screen is atan2(-dy, dx).
        double a = std::atan2(-dy, dx) * 180.0 / kPi;
        double rel = std::fmod(a - a0 + 720.0, 360.0);
        double span = std::fmod(a1 - a0 + 720.0, 360.0);
        if (rel <= span)
            return std::fabs(std::hypot(dx, dy) - r) - t;
        double e0x = cx + r * std::cos(a0 * kPi / 180), e0y = cy - r * std::sin(a0 * kPi / 180);
        double e1x = cx + r * std::cos(a1 * kPi / 180), e1y = cy - r * std::sin(a1 * kPi / 180);
        return std::min(std::hypot(x - e0x, y - e0y), std::hypot(x - e1x, y - e1y)) - t;
    };
}

Shape unite(Shape a, Shape b)
{
    return [a, b](double x, double y) { return std::min(a(x, y), b(x, y)); };
}

Shape intersect(Shape a, Shape b)
{
    return [a, b](double x, double y) { return std::max(a(x, y), b(x, y)); };
}

Shape grow(Shape s, double d)
{
    return [s, d](double x, double y) { return s(x, y) - d; };
}

}  // namespace shape

RgbaCanvas::RgbaCanvas(int size, double design)
    : n_(size), scale_(design / size), px_(std::size_t(size) * size, Rgba{0, 0, 0, 0})
{
}

void RgbaCanvas::draw(const Shape& s, const Paint& p)
{
    const int kSub = 4;
    for (int y = 0; y < n_; ++y) {
        for (int x = 0; x < n_; ++x) {
            int hits = 0;
            for (int sy = 0; sy < kSub; ++sy)
                for (int sx = 0; sx < kSub; ++sx)
                    if (s((x + (sx + 0.5) / kSub) * scale_, (y + (sy + 0.5) / kSub) * scale_) <= 0)
                        ++hits;
            if (hits == 0)
                continue;
            double cover = double(hits) / (kSub * kSub);
            Rgb c = p((x + 0.5) * scale_, (y + 0.5) * scale_);
            Rgba& d = px_[std::size_t(y) * n_ + x];
            // Straight-alpha "over".
            double da = d.a / 255.0;
            double oa = cover + da * (1 - cover);
            auto blend = [&](int src, int dst) {
                return std::uint8_t(std::lround((src * cover + dst * da * (1 - cover)) / oa));
            };
            d = Rgba{blend(c.r, d.r), blend(c.g, d.g), blend(c.b, d.b),
                     std::uint8_t(std::lround(oa * 255))};
        }
    }
}

void RgbaCanvas::harden(std::uint8_t threshold)
{
    for (Rgba& p : px_) {
        if (p.a >= threshold)
            p.a = 255;
        else
            p = Rgba{0, 0, 0, 0};
    }
}
