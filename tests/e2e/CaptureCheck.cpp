// Looks at a frame a scripted run captured: counts the pixels of a rectangle
// that stand out from the rectangle's most common colour, so a test can tell
// a picture drawn there from the bare panel behind it.
//   e2e_capture_check <capture.png> <x> <y> <width> <height> <least share in %>
// (x, y) is the rectangle's top-left corner in the frame's pixels. Prints the
// share found; exits 0 when it is at least the given one, 1 when not, 2 on bad
// use or an unreadable picture.
#include <cstdio>
#include <cstdlib>
#include <map>
#include <tuple>

#include "cocos2d.h"

USING_NS_CC;

int main(int argc, char** argv)
{
    if (argc != 7) {
        std::fprintf(stderr, "usage: %s <capture.png> <x> <y> <width> <height> <least share in %%>\n", argv[0]);
        return 2;
    }
    const int x0 = std::atoi(argv[2]), y0 = std::atoi(argv[3]), w = std::atoi(argv[4]), h = std::atoi(argv[5]);
    const double least = std::atof(argv[6]);
    auto* image = new CCImage();
    if (!image->initWithImageFile(argv[1]) || image->getBytesPerPixel() < 3 || w <= 0 || h <= 0 || x0 < 0 || y0 < 0 ||
        x0 + w > image->getWidth() || y0 + h > image->getHeight()) {
        std::fprintf(stderr, "cannot read %s, or the rectangle lies outside it\n", argv[1]);
        return 2;
    }
    const int bpp = image->getBytesPerPixel();
    auto pixel = [&](int x, int y) {
        const unsigned char* p = image->getData() + (static_cast<size_t>(y) * image->getWidth() + x) * bpp;
        return std::make_tuple(int(p[0]), int(p[1]), int(p[2]));
    };
    std::map<std::tuple<int, int, int>, int> counts;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            ++counts[pixel(x, y)];
    auto common = counts.begin()->first;
    for (const auto& [colour, n] : counts)
        if (n > counts[common])
            common = colour;
    int standing = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) {
            const auto [r, g, b] = pixel(x, y);
            const auto [cr, cg, cb] = common;
            standing += std::abs(r - cr) > 48 || std::abs(g - cg) > 48 || std::abs(b - cb) > 48;
        }
    image->release();
    const double share = 100.0 * standing / (w * h);
    std::printf("%s: %.1f %% of the %d x %d pixels at (%d, %d) stand out (at least %.1f %% wanted)\n", argv[1], share,
                w, h, x0, y0, least);
    return share >= least ? 0 : 1;
}
