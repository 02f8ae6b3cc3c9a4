// Looks at a frame a scripted run captured: counts the pixels of a rectangle
// that stand out from the rectangle's most common colour, so a test can tell
// a picture drawn there from the bare panel behind it. With --like, counts
// instead the pixels of the rectangle that match another capture's, that one
// darkened to a share of its brightness (a dimmed window over the same world).
//   e2e_capture_check <capture.png> <x> <y> <width> <height> <least share in %>
//   e2e_capture_check <capture.png> <x> <y> <width> <height> <least share in %> --like <other.png> <dim in %>
// (x, y) is the rectangle's top-left corner in the frame's pixels. Prints the
// share found; exits 0 when it is at least the given one, 1 when not, 2 on bad
// use or an unreadable picture.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <tuple>

#include "cocos2d.h"

USING_NS_CC;

namespace {

using Rgb = std::tuple<int, int, int>;

// A capture read whole; null (and a message) when it cannot be, or the
// rectangle does not lie inside it.
CCImage* readCapture(const char* path, int x0, int y0, int w, int h)
{
    auto* image = new CCImage();
    if (!image->initWithImageFile(path) || image->getBytesPerPixel() < 3 || w <= 0 || h <= 0 || x0 < 0 || y0 < 0 ||
        x0 + w > image->getWidth() || y0 + h > image->getHeight()) {
        std::fprintf(stderr, "cannot read %s, or the rectangle lies outside it\n", path);
        image->release();
        return nullptr;
    }
    return image;
}

Rgb pixel(CCImage* image, int x, int y)
{
    const int bpp = image->getBytesPerPixel();
    const unsigned char* p = image->getData() + (static_cast<size_t>(y) * image->getWidth() + x) * bpp;
    return {p[0], p[1], p[2]};
}

bool near(const Rgb& a, const Rgb& b, int tolerance)
{
    return std::abs(std::get<0>(a) - std::get<0>(b)) <= tolerance &&
        std::abs(std::get<1>(a) - std::get<1>(b)) <= tolerance &&
        std::abs(std::get<2>(a) - std::get<2>(b)) <= tolerance;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool like = argc == 10 && std::strcmp(argv[7], "--like") == 0;
    if (argc != 7 && !like) {
        std::fprintf(stderr,
                     "usage: %s <capture.png> <x> <y> <width> <height> <least share in %%> [--like <other.png> <dim "
                     "in %%>]\n",
                     argv[0]);
        return 2;
    }
    const int x0 = std::atoi(argv[2]), y0 = std::atoi(argv[3]), w = std::atoi(argv[4]), h = std::atoi(argv[5]);
    const double least = std::atof(argv[6]);
    CCImage* image = readCapture(argv[1], x0, y0, w, h);
    CCImage* other = like ? readCapture(argv[8], x0, y0, w, h) : nullptr;
    if (!image || (like && !other)) {
        if (image)
            image->release();
        return 2;
    }
    int counted = 0;
    if (like) {
        const int dim = std::atoi(argv[9]);
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x) {
                const auto [r, g, b] = pixel(other, x, y);
                counted += near(pixel(image, x, y), {r * dim / 100, g * dim / 100, b * dim / 100}, 24);
            }
        other->release();
    } else {
        std::map<Rgb, int> counts;
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x)
                ++counts[pixel(image, x, y)];
        auto common = counts.begin()->first;
        for (const auto& [colour, n] : counts)
            if (n > counts[common])
                common = colour;
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x)
                counted += !near(pixel(image, x, y), common, 48);
    }
    image->release();
    const double share = 100.0 * counted / (w * h);
    std::printf("%s: %.1f %% of the %d x %d pixels at (%d, %d) %s (at least %.1f %% wanted)\n", argv[1], share, w, h,
                x0, y0, like ? "match the other capture" : "stand out", least);
    return share >= least ? 0 : 1;
}
