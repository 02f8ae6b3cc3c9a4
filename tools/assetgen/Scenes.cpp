#include "Scenes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>

namespace assetgen {

namespace {

constexpr double kTau = 6.283185307179586;

Rgba rgb(int r, int g, int b)
{
    return {static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b), 255};
}

Rgba mix(Rgba a, Rgba b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    auto c = [t](uint8_t u, uint8_t v) { return static_cast<uint8_t>(u + (v - u) * t + 0.5); };
    return {c(a.r, b.r), c(a.g, b.g), c(a.b, b.b), 255};
}

// A fixed-seed generator: the same seed always paints the same picture.
class Dice {
public:
    explicit Dice(int seed) : m_state(static_cast<uint32_t>(seed) * 2654435761u + 7u) { }
    double next()
    {
        m_state = m_state * 1664525u + 1013904223u;
        return (m_state >> 8) / double(1u << 24);
    }
    int below(int n) { return std::min(n - 1, static_cast<int>(next() * n)); }

private:
    uint32_t m_state;
};

class Canvas {
public:
    Canvas(int w, int h) : img(w, h), w(w), h(h) { }

    void sky(Rgba top, Rgba bottom, int to = -1)
    {
        const int end = to < 0 ? h : to;
        for (int y = 0; y < end; ++y)
            img.fillRect(0, y, w, 1, mix(top, bottom, end > 1 ? double(y) / (end - 1) : 0.0));
    }
    // Blends the colour into the pixel by t (every pixel stays opaque).
    void tint(int x, int y, Rgba c, double t)
    {
        if (x < 0 || y < 0 || x >= w || y >= h)
            return;
        img.set(x, y, mix(img.at(x, y), c, t));
    }
    void disc(double cx, double cy, double r, Rgba c, double t = 1.0)
    {
        for (int y = static_cast<int>(cy - r - 1); y <= cy + r + 1; ++y)
            for (int x = static_cast<int>(cx - r - 1); x <= cx + r + 1; ++x) {
                const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
                if (dx * dx + dy * dy <= r * r)
                    tint(x, y, c, t);
            }
    }
    void glow(double cx, double cy, double r, Rgba c, double strength)
    {
        for (int y = static_cast<int>(cy - r); y <= cy + r; ++y)
            for (int x = static_cast<int>(cx - r); x <= cx + r; ++x) {
                const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy) / r;
                if (d < 1)
                    tint(x, y, c, strength * (1 - d) * (1 - d));
            }
    }
    void stars(Dice& dice, int count, int maxRow, Rgba c)
    {
        for (int i = 0; i < count; ++i) {
            const int x = dice.below(w), y = dice.below(std::max(1, maxRow));
            const double t = 0.45 + 0.55 * dice.next();
            tint(x, y, c, t);
            if (dice.next() < 0.12) {
                tint(x - 1, y, c, t * 0.4);
                tint(x + 1, y, c, t * 0.4);
                tint(x, y - 1, c, t * 0.4);
                tint(x, y + 1, c, t * 0.4);
            }
        }
    }
    // Fills every column from its skyline down, darker with depth.
    void land(const std::function<double(int)>& skyline, Rgba c, double darken = 0.35)
    {
        for (int x = 0; x < w; ++x) {
            const int top = std::max(0, static_cast<int>(std::lround(skyline(x))));
            for (int y = top; y < h; ++y)
                img.set(x, y, mix(c, rgb(0, 0, 0), darken * (y - top) / std::max(1, h - top)));
        }
    }
    // Rolling hills: a base row, an amplitude and the seed's phases.
    void hills(Dice& dice, double base, double amp, Rgba c, double darken = 0.3)
    {
        const double p1 = dice.next() * kTau, p2 = dice.next() * kTau, f = 1 + dice.next();
        land(
            [&](int x) {
                return base - amp * (std::sin(x * kTau / w * f + p1) + 0.45 * std::sin(x * kTau / w * 3.3 + p2));
            },
            c, darken);
    }
    void cloud(double cx, double cy, double width, Rgba c, double t = 1.0)
    {
        const int puffs = std::max(3, static_cast<int>(width / 5));
        for (int i = 0; i < puffs; ++i) {
            const double u = puffs > 1 ? double(i) / (puffs - 1) : 0.5;
            const double r = width * (0.16 + 0.12 * std::sin(u * 3.14159));
            disc(cx - width / 2 + u * width, cy - r * 0.4, r, c, t);
        }
        for (int x = static_cast<int>(cx - width / 2); x <= cx + width / 2; ++x)
            for (int y = static_cast<int>(cy - 1); y <= cy + 2; ++y)
                tint(x, y, c, t);
    }
    void line(double x0, double y0, double x1, double y1, Rgba c, double t = 1.0)
    {
        const int steps = static_cast<int>(std::max(std::fabs(x1 - x0), std::fabs(y1 - y0))) + 1;
        for (int i = 0; i <= steps; ++i) {
            const double u = double(i) / steps;
            tint(static_cast<int>(x0 + (x1 - x0) * u), static_cast<int>(y0 + (y1 - y0) * u), c, t);
        }
    }
    void rect(int x, int y, int rw, int rh, Rgba c) { img.fillRect(x, y, rw, rh, c); }

    Image img;
    int w, h;
};

void lightshow(Canvas& c, Dice& d)
{
    c.sky(rgb(6, 6, 22), rgb(34, 20, 60));
    c.stars(d, 60, c.h * 2 / 3, rgb(230, 230, 255));
    const Rgba beams[] = {rgb(255, 80, 120), rgb(80, 220, 255), rgb(255, 230, 90), rgb(140, 255, 120),
                          rgb(200, 110, 255)};
    for (int i = 0; i < 5; ++i) {
        const double foot = c.w * (0.1 + 0.2 * i), angle = (d.next() - 0.5) * 1.1;
        for (int y = 0; y < c.h * 3 / 4; ++y) {
            const double along = double(c.h * 3 / 4 - y);
            const double centre = foot + std::tan(angle) * along, half = 1 + along * 0.09;
            for (int x = static_cast<int>(centre - half); x <= centre + half; ++x)
                c.tint(x, y, beams[i], 0.32 * (1 - std::fabs(x - centre) / (half + 1)) + 0.05);
        }
        c.glow(foot, c.h * 0.75, 6, beams[i], 0.8);
    }
    c.hills(d, c.h * 0.8, 2, rgb(22, 18, 36), 0.3);
}

void polar(Canvas& c, Dice& d)
{
    c.sky(rgb(16, 40, 70), rgb(150, 200, 220), c.h * 2 / 3);
    for (int x = 0; x < c.w; ++x) {
        const double wave = 10 + 6 * std::sin(x * 0.08 + 1) + 3 * std::sin(x * 0.21);
        for (int k = 0; k < 14; ++k)
            c.tint(x, static_cast<int>(wave) + k, k < 7 ? rgb(90, 255, 170) : rgb(170, 120, 255),
                   0.35 * (1 - k / 14.0));
    }
    c.land([&](int) { return c.h * 0.62; }, rgb(40, 90, 130), 0.45);
    for (int i = 0; i < 4; ++i) {
        const double cx = c.w * (0.12 + 0.25 * i + 0.05 * d.next()), width = 10 + 12 * d.next(),
                     top = c.h * (0.45 + 0.08 * d.next());
        for (int x = static_cast<int>(cx - width); x <= cx + width; ++x) {
            const double u = std::fabs(x - cx) / width;
            for (int y = static_cast<int>(top + u * u * (c.h * 0.62 - top)); y < c.h * 0.62 + 2; ++y)
                c.tint(x, y, x < cx ? rgb(240, 250, 255) : rgb(190, 220, 240), 1.0);
        }
    }
    for (int y = static_cast<int>(c.h * 0.64); y < c.h; y += 3)
        for (int x = (y * 7) % 9; x < c.w; x += 9 + d.below(6))
            c.line(x, y, x + 3, y, rgb(120, 180, 210), 0.5);
}

void watercycle(Canvas& c, Dice& d)
{
    c.sky(rgb(90, 110, 135), rgb(170, 190, 205));
    for (int i = 0; i < 4; ++i)
        c.cloud(c.w * (0.12 + 0.26 * i), c.h * (0.17 + 0.06 * d.next()), 26 + 10 * d.next(), rgb(70, 80, 96));
    for (int i = 0; i < 90; ++i) {
        const double x = d.below(c.w), y = c.h * 0.25 + d.next() * c.h * 0.4;
        c.line(x, y, x - 1, y + 3, rgb(200, 220, 240), 0.6);
    }
    c.hills(d, c.h * 0.62, c.h * 0.08, rgb(70, 120, 80));
    c.hills(d, c.h * 0.75, c.h * 0.05, rgb(50, 100, 60));
}

void nightsky(Canvas& c, Dice& d)
{
    c.sky(rgb(4, 6, 20), rgb(26, 38, 72));
    c.stars(d, 140, c.h * 3 / 4, rgb(255, 255, 235));
    c.glow(c.w * 0.75, c.h * 0.22, 18, rgb(120, 140, 200), 0.5);
    c.disc(c.w * 0.75, c.h * 0.22, 8, rgb(240, 236, 210));
    c.disc(c.w * 0.75 + 3, c.h * 0.22 - 2, 2, rgb(210, 204, 180));
    c.disc(c.w * 0.75 - 3, c.h * 0.22 + 3, 1.5, rgb(210, 204, 180));
    c.hills(d, c.h * 0.78, c.h * 0.04, rgb(16, 22, 36), 0.3);
}

void oilpool(Canvas& c, Dice& d)
{
    c.sky(rgb(50, 30, 70), rgb(230, 120, 60), c.h * 2 / 3);
    c.disc(c.w * 0.3, c.h * 0.62, 9, rgb(255, 190, 90));
    c.land([&](int x) { return c.h * 0.64 + std::sin(x * 0.05) * 1.5; }, rgb(58, 44, 36), 0.4);
    for (int i = 0; i < 3; ++i) {
        const int x = static_cast<int>(c.w * (0.55 + 0.15 * i)), base = static_cast<int>(c.h * 0.64),
                  top = base - 22 + i * 3;
        c.line(x - 6, base, x, top, rgb(24, 18, 22));
        c.line(x + 6, base, x, top, rgb(24, 18, 22));
        for (int y = top + 4; y < base; y += 5)
            c.line(x - 6 * (y - top) / double(base - top), y, x + 6 * (y - top) / double(base - top), y,
                   rgb(24, 18, 22));
    }
    for (int i = 0; i < 4; ++i) {
        const double cx = c.w * (0.15 + 0.22 * i + 0.05 * d.next()), cy = c.h * (0.78 + 0.12 * d.next());
        for (int x = static_cast<int>(cx - 12); x <= cx + 12; ++x)
            for (int y = static_cast<int>(cy - 3); y <= cy + 3; ++y)
                if (std::pow((x - cx) / 12, 2) + std::pow((y - cy) / 3, 2) <= 1)
                    c.tint(x, y, y < cy - 1 ? rgb(60, 50, 80) : rgb(12, 10, 16), 1.0);
    }
}

void electroshow(Canvas& c, Dice& d)
{
    c.sky(rgb(20, 22, 40), rgb(60, 64, 96));
    for (int i = 0; i < 6; ++i)
        c.cloud(c.w * (0.05 + 0.19 * i), c.h * (0.1 + 0.06 * d.next()), 30, rgb(36, 38, 58));
    for (int b = 0; b < 3; ++b) {
        double x = c.w * (0.2 + 0.3 * b + 0.1 * d.next()), y = c.h * 0.16;
        c.glow(x, c.h * 0.4, 20, rgb(160, 180, 255), 0.35);
        while (y < c.h * 0.68) {
            const double nx = x + (d.next() - 0.5) * 10, ny = y + 3 + d.next() * 5;
            c.line(x, y, nx, ny, rgb(240, 245, 255));
            c.line(x + 1, y, nx + 1, ny, rgb(150, 170, 255), 0.6);
            if (d.next() < 0.2)
                c.line(nx, ny, nx + (d.next() - 0.5) * 16, ny + 6, rgb(200, 210, 255), 0.7);
            x = nx;
            y = ny;
        }
    }
    c.hills(d, c.h * 0.72, c.h * 0.04, rgb(30, 34, 44));
}

void sunset(Canvas& c, Dice& d)
{
    c.sky(rgb(70, 40, 110), rgb(255, 150, 80), c.h * 5 / 8);
    c.glow(c.w * 0.5, c.h * 0.6, 40, rgb(255, 220, 140), 0.6);
    c.disc(c.w * 0.5, c.h * 0.6, 12, rgb(255, 210, 110));
    for (int i = 0; i < 3; ++i)
        c.cloud(c.w * (0.15 + 0.35 * i), c.h * (0.2 + 0.1 * d.next()), 22, rgb(200, 100, 120), 0.6);
    c.land([&](int) { return c.h * 0.625; }, rgb(90, 50, 90), 0.5);
    for (int y = static_cast<int>(c.h * 0.64); y < c.h; y += 2) {
        const double half = 14 - (y - c.h * 0.64) * 0.2;
        for (int x = static_cast<int>(c.w * 0.5 - half); x <= c.w * 0.5 + half; x += 2 + d.below(3))
            c.tint(x, y, rgb(255, 200, 110), 0.7);
    }
}

void desert(Canvas& c, Dice& d)
{
    c.sky(rgb(70, 140, 220), rgb(210, 225, 235), c.h * 2 / 3);
    c.glow(c.w * 0.8, c.h * 0.18, 16, rgb(255, 250, 200), 0.6);
    c.disc(c.w * 0.8, c.h * 0.18, 7, rgb(255, 245, 190));
    c.hills(d, c.h * 0.6, c.h * 0.05, rgb(214, 170, 110), 0.2);
    c.hills(d, c.h * 0.72, c.h * 0.06, rgb(232, 190, 120), 0.25);
    for (int i = 0; i < 3; ++i) {
        const int x = static_cast<int>(c.w * (0.2 + 0.3 * i)), base = static_cast<int>(c.h * 0.74),
                  top = base - 10 - d.below(5);
        c.rect(x, top, 2, base - top, rgb(60, 120, 60));
        c.rect(x - 3, top + 4, 3, 1, rgb(60, 120, 60));
        c.rect(x - 3, top + 1, 1, 3, rgb(60, 120, 60));
        c.rect(x + 2, top + 6, 3, 1, rgb(60, 120, 60));
        c.rect(x + 4, top + 3, 1, 3, rgb(60, 120, 60));
    }
}

void forest(Canvas& c, Dice& d)
{
    c.sky(rgb(120, 180, 230), rgb(210, 235, 230), c.h * 2 / 3);
    for (int i = 0; i < 3; ++i)
        c.cloud(c.w * (0.2 + 0.3 * i), c.h * (0.12 + 0.08 * d.next()), 18, rgb(250, 250, 250));
    c.hills(d, c.h * 0.58, c.h * 0.05, rgb(120, 160, 130), 0.2);
    for (int row = 0; row < 2; ++row) {
        const Rgba green = row == 0 ? rgb(50, 110, 70) : rgb(30, 80, 50);
        const double base = c.h * (row == 0 ? 0.66 : 0.76);
        for (double x = d.next() * 6; x < c.w + 6; x += 6 + d.next() * 5) {
            const double height = 12 + d.next() * 10 + row * 4;
            for (int y = static_cast<int>(base - height); y <= base; ++y) {
                const double half = (y - (base - height)) * 0.32;
                for (int px = static_cast<int>(x - half); px <= x + half; ++px)
                    c.tint(px, y, green, 1.0);
            }
        }
        c.land([&](int) { return base; }, green, 0.4);
    }
}

void ocean(Canvas& c, Dice& d)
{
    c.sky(rgb(90, 170, 235), rgb(200, 230, 245), c.h / 2);
    for (int i = 0; i < 3; ++i)
        c.cloud(c.w * (0.15 + 0.33 * i), c.h * (0.12 + 0.1 * d.next()), 20, rgb(255, 255, 255));
    c.land([&](int) { return c.h * 0.5; }, rgb(30, 110, 170), 0.5);
    for (int y = static_cast<int>(c.h * 0.52); y < c.h; y += 3)
        for (int x = d.below(8); x < c.w; x += 8 + d.below(8))
            c.line(x, y, x + 2 + d.below(3), y, rgb(150, 210, 240), 0.6);
    const double sx = c.w * 0.7, sy = c.h * 0.47;
    c.line(sx - 7, sy, sx + 7, sy, rgb(240, 240, 240));
    c.line(sx - 6, sy + 1, sx + 6, sy + 1, rgb(120, 70, 50));
    c.line(sx, sy - 10, sx, sy, rgb(80, 60, 40));
    for (int y = 0; y < 8; ++y)
        c.line(sx + 1, sy - 10 + y, sx + 1 + y * 0.7, sy - 10 + y, rgb(250, 250, 245));
}

void mountains(Canvas& c, Dice& d)
{
    c.sky(rgb(80, 140, 210), rgb(200, 220, 240), c.h * 2 / 3);
    for (int range = 0; range < 2; ++range) {
        const Rgba rock = range == 0 ? rgb(120, 130, 160) : rgb(80, 90, 110);
        const double base = c.h * (range == 0 ? 0.55 : 0.7), peak = c.h * (range == 0 ? 0.22 : 0.38);
        std::vector<double> sky(static_cast<size_t>(c.w));
        const int peaks = 3 + range;
        std::vector<double> at, high;
        for (int p = 0; p < peaks; ++p) {
            at.push_back(c.w * (p + 0.3 + 0.4 * d.next()) / peaks);
            high.push_back(peak + d.next() * (base - peak) * 0.4);
        }
        for (int x = 0; x < c.w; ++x) {
            double top = base;
            for (int p = 0; p < peaks; ++p)
                top = std::min(top, high[static_cast<size_t>(p)] + std::fabs(x - at[static_cast<size_t>(p)]) * 0.9);
            sky[static_cast<size_t>(x)] = top + (d.next() - 0.5);
        }
        c.land([&](int x) { return sky[static_cast<size_t>(x)]; }, rock, 0.3);
        for (int x = 0; x < c.w; ++x)
            for (int y = static_cast<int>(sky[static_cast<size_t>(x)]); y < peak + 8 + range * 6; ++y)
                c.tint(x, y, rgb(245, 248, 255), 0.9);
    }
}

void cavern(Canvas& c, Dice& d)
{
    c.sky(rgb(20, 16, 24), rgb(40, 34, 44));
    for (int x = 0; x < c.w; ++x) {
        const double wall = 6 + 4 * std::sin(x * 0.1) + 3 * std::sin(x * 0.37 + 2);
        for (int y = 0; y < wall; ++y)
            c.tint(x, y, rgb(60, 50, 58), 1.0);
    }
    for (int i = 0; i < 16; ++i) {
        const double x = d.below(c.w), len = 4 + d.next() * 16, top = 8;
        for (int y = 0; y < len; ++y)
            for (int px = static_cast<int>(x - (1 - y / len) * 2); px <= x + (1 - y / len) * 2; ++px)
                c.tint(px, static_cast<int>(top + y), rgb(72, 60, 70), 1.0);
    }
    const Rgba gems[] = {rgb(90, 220, 255), rgb(200, 120, 255), rgb(120, 255, 160)};
    for (int i = 0; i < 9; ++i) {
        const double x = d.below(c.w), y = c.h * (0.35 + 0.35 * d.next());
        const Rgba g = gems[i % 3];
        c.glow(x, y, 9, g, 0.45);
        c.line(x, y - 3, x, y + 2, g);
        c.line(x - 1, y - 1, x + 1, y - 1, g);
    }
    c.hills(d, c.h * 0.8, c.h * 0.04, rgb(48, 40, 48), 0.3);
}

void aurora(Canvas& c, Dice& d)
{
    c.sky(rgb(4, 10, 26), rgb(20, 44, 60));
    c.stars(d, 80, c.h * 2 / 3, rgb(230, 240, 255));
    for (int band = 0; band < 3; ++band) {
        const Rgba colour = band == 1 ? rgb(180, 110, 255) : rgb(90, 255, 160);
        const double p = d.next() * kTau, base = c.h * (0.15 + 0.12 * band);
        for (int x = 0; x < c.w; ++x) {
            const double top = base + 6 * std::sin(x * 0.06 + p) + 3 * std::sin(x * 0.17 + p * 2);
            const double length = 14 + 6 * std::sin(x * 0.11 + p);
            for (int k = 0; k < length; ++k)
                c.tint(x, static_cast<int>(top + k), colour,
                       0.45 * (1 - k / length) * (0.6 + 0.4 * std::sin(x * 0.5 + p)));
        }
    }
    c.hills(d, c.h * 0.78, c.h * 0.05, rgb(14, 26, 34), 0.3);
}

void volcano(Canvas& c, Dice& d)
{
    c.sky(rgb(40, 20, 24), rgb(170, 70, 40), c.h * 2 / 3);
    const double cx = c.w * 0.5, top = c.h * 0.3;
    for (int i = 0; i < 7; ++i)
        c.cloud(cx + (d.next() - 0.3) * 30 + i * 4, top - 6 - i * 3, 16 + i * 2, rgb(70, 60, 64), 0.8);
    c.glow(cx, top, 22, rgb(255, 140, 40), 0.6);
    c.land([&](int x) { return std::min(top + std::fabs(x - cx) * 0.75, c.h * 0.7); }, rgb(60, 40, 36), 0.35);
    for (int k = 0; k < 3; ++k) {
        double x = cx + (k - 1) * 2, y = top;
        while (y < c.h * 0.68) {
            const double nx = x + (d.next() - 0.5 + (k - 1) * 0.5) * 2;
            c.line(x, y, nx, y + 2, rgb(255, 120 + k * 30, 40));
            x = nx;
            y += 2;
        }
    }
    c.rect(static_cast<int>(cx - 5), static_cast<int>(top), 11, 2, rgb(255, 170, 60));
}

void city(Canvas& c, Dice& d)
{
    c.sky(rgb(18, 20, 50), rgb(90, 70, 120), c.h * 2 / 3);
    c.stars(d, 40, c.h / 3, rgb(240, 240, 255));
    c.disc(c.w * 0.15, c.h * 0.16, 5, rgb(240, 236, 210));
    for (int row = 0; row < 2; ++row) {
        const Rgba wall = row == 0 ? rgb(50, 48, 80) : rgb(30, 30, 52);
        const int ground = static_cast<int>(c.h * (row == 0 ? 0.66 : 0.74));
        for (int x = -d.below(6); x < c.w;) {
            const int bw = 8 + d.below(10), bh = 12 + d.below(row == 0 ? 34 : 22);
            c.rect(x, ground - bh, bw, bh + (c.h - ground), wall);
            for (int wy = ground - bh + 3; wy < ground - 2; wy += 4)
                for (int wx = x + 2; wx < x + bw - 2; wx += 3)
                    if (d.next() < 0.45)
                        c.rect(wx, wy, 1, 2, d.next() < 0.7 ? rgb(255, 220, 120) : rgb(160, 220, 255));
            x += bw + d.below(3);
        }
    }
}

struct NamedScene {
    const char* name;
    void (*paint)(Canvas&, Dice&);
};

const NamedScene kScenes[] = {
    {"lightshow", lightshow}, {"polar", polar},         {"watercycle", watercycle},
    {"nightsky", nightsky},   {"oilpool", oilpool},     {"electroshow", electroshow},
    {"sunset", sunset},       {"desert", desert},       {"forest", forest},
    {"ocean", ocean},         {"mountains", mountains}, {"cavern", cavern},
    {"aurora", aurora},       {"volcano", volcano},     {"city", city},
};

// A rounded box: fill and a one-pixel outline, corners cut.
void roundedBox(Image& img, int x, int y, int w, int h, Rgba fill, Rgba outline)
{
    img.fillRect(x + 1, y, w - 2, h, outline);
    img.fillRect(x, y + 1, w, h - 2, outline);
    img.fillRect(x + 1, y + 1, w - 2, h - 2, fill);
}

}  // namespace

const std::vector<std::string>& sceneNames()
{
    static const std::vector<std::string> names = [] {
        std::vector<std::string> out;
        for (const NamedScene& s : kScenes)
            out.push_back(s.name);
        return out;
    }();
    return names;
}

Image drawScene(const std::string& name, int width, int height, int seed)
{
    for (const NamedScene& s : kScenes)
        if (name == s.name) {
            Canvas canvas(width, height);
            Dice dice(seed);
            s.paint(canvas, dice);
            return canvas.img;
        }
    return Image();
}

Image drawSharePanel(int width, int height, int photoW, int photoH, int dx, int dy)
{
    Image img(width, height);
    const Rgba body{44, 70, 92, 255}, light{92, 118, 140, 255}, dark{20, 34, 46, 255};
    img.fillRect(0, 0, width, height, body);
    for (int y = 2; y < height - 2; ++y)
        for (int x = 2; x < width - 2; ++x)
            if ((x + y) % 6 == 0)
                img.set(x, y, Rgba{56, 82, 104, 255});
    img.fillRect(0, 0, width, 1, light);
    img.fillRect(0, 0, 1, height, light);
    img.fillRect(0, height - 1, width, 1, dark);
    img.fillRect(width - 1, 0, 1, height, dark);

    // The photo: a cream mat round the picture's place, a dark inside.
    const int px = width / 2 + dx - photoW / 2, py = height / 2 + dy - photoH / 2;
    img.fillRect(px - 4, py - 4, photoW + 8, photoH + 8, Rgba{236, 226, 196, 255});
    img.fillRect(px - 4, py + photoH + 3, photoW + 8, 1, Rgba{180, 168, 140, 255});
    img.fillRect(px - 1, py - 1, photoW + 2, photoH + 2, Rgba{24, 28, 36, 255});

    // The bubble along the top, its tail pointing down at the photo.
    const Rgba paper{246, 248, 250, 255}, ink{36, 75, 98, 255};
    const int bx = 30, by = 2, bw = std::min(width - bx - 14, 170), bh = 19;
    roundedBox(img, bx, by, bw, bh, paper, ink);
    for (int k = 0; k < 7; ++k) {
        img.fillRect(px + 18 - k / 2, by + bh - 1 + k, 7 - k, 1, paper);
        img.set(px + 18 - k / 2 - 1, by + bh - 1 + k, ink);
        img.set(px + 18 - k / 2 + 7 - k, by + bh - 1 + k, ink);
    }
    return img;
}

}  // namespace assetgen
