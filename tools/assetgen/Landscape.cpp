#include "Landscape.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace assetgen {

namespace {

struct Waves {
    int first, second;
    double phase1, phase2;
};

Waves wavesFor(int seed)
{
    uint32_t state = static_cast<uint32_t>(seed) * 2654435761u + 7u;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) / double(1u << 24);
    };
    Waves w{};
    // Whole waves across the width, so that the two edges meet.
    w.first = 1 + static_cast<int>(next() * 2);
    w.second = 3 + static_cast<int>(next() * 3);
    w.phase1 = next() * 6.283;
    w.phase2 = next() * 6.283;
    return w;
}

int crestOf(const Waves& w, int width, int height, int x)
{
    const double t = double(x) / width * 6.283185307179586;
    const double wave = std::sin(w.first * t + w.phase1) + 0.4 * std::sin(w.second * t + w.phase2);
    return std::clamp(static_cast<int>(height * (0.35 - 0.22 * wave / 1.4)), 0, height - 1);
}

Rgba shade(Rgba c, int delta)
{
    auto channel = [delta](uint8_t v) { return static_cast<uint8_t>(std::clamp(v + delta, 0, 255)); };
    return Rgba{channel(c.r), channel(c.g), channel(c.b), 255};
}

}  // namespace

int ridgeCrest(int width, int height, int seed, int x)
{
    return crestOf(wavesFor(seed), width, height, x);
}

Image drawRidge(int width, int height, int seed, Rgba land)
{
    Image out(width, height);
    const Waves w = wavesFor(seed);
    for (int x = 0; x < width; ++x) {
        const int crest = crestOf(w, width, height, x);
        for (int y = crest; y < height; ++y) {
            // A fixed grain per pixel, darker with depth.
            const uint32_t h = (static_cast<uint32_t>(x) * 73856093u) ^ (static_cast<uint32_t>(y) * 19349663u) ^
                static_cast<uint32_t>(seed);
            const int grain = static_cast<int>((h * 2654435761u) >> 28) - 8;
            const int depth = -24 * (y - crest) / std::max(1, height - crest);
            out.set(x, y, shade(land, (y == crest ? 28 : 0) + grain + depth));
        }
    }
    return out;
}

}  // namespace assetgen
