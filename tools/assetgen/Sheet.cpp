#include "Sheet.h"

#include "Plist.h"

#include <algorithm>

namespace assetgen {

namespace {

int nextPowerOfTwo(int v)
{
    int p = 1;
    while (p < v)
        p <<= 1;
    return p;
}

// Places the frames in rows no wider than width; returns the height used.
int layoutRows(std::vector<SheetFrame>& frames, int width)
{
    int x = 0, y = 0, rowHeight = 0;
    for (SheetFrame& f : frames) {
        if (x > 0 && x + f.image.width() > width) {
            x = 0;
            y += rowHeight + kFrameGap;
            rowHeight = 0;
        }
        f.x = x;
        f.y = y;
        x += f.image.width() + kFrameGap;
        rowHeight = std::max(rowHeight, f.image.height());
    }
    return y + rowHeight;
}

}  // namespace

bool packSheet(std::vector<SheetFrame>& frames, Image& atlas, std::string& error)
{
    std::sort(frames.begin(), frames.end(), [](const SheetFrame& a, const SheetFrame& b) { return a.name < b.name; });
    int widest = 1;
    for (const SheetFrame& f : frames)
        widest = std::max(widest, f.image.width());
    for (int width = nextPowerOfTwo(widest); width <= kMaxAtlasSize; width *= 2) {
        int height = layoutRows(frames, width);
        if (height <= width || width == kMaxAtlasSize) {
            int atlasHeight = nextPowerOfTwo(std::max(height, 1));
            if (atlasHeight > kMaxAtlasSize)
                break;
            atlas = Image(width, atlasHeight);
            for (const SheetFrame& f : frames)
                atlas.blit(f.image, f.x, f.y);
            return true;
        }
    }
    error = "the frames do not fit into a " + std::to_string(kMaxAtlasSize) + " x " + std::to_string(kMaxAtlasSize) +
        " atlas";
    return false;
}

std::string sheetPlist(const std::vector<SheetFrame>& frames, const std::string& textureFileName, int atlasWidth,
                       int atlasHeight)
{
    PlistWriter w;
    w.beginDict();
    w.key("frames");
    w.beginDict();
    for (const SheetFrame& f : frames) {
        const int fw = f.image.width(), fh = f.image.height();
        w.key(f.name);
        w.beginDict();
        w.key("frame");
        w.string(rectText(f.x, f.y, fw, fh));
        w.key("offset");
        w.string("{0,0}");
        w.key("rotated");
        w.boolean(false);
        w.key("sourceColorRect");
        w.string(rectText(0, 0, fw, fh));
        w.key("sourceSize");
        w.string(sizeText(fw, fh));
        w.endDict();
    }
    w.endDict();
    w.key("metadata");
    w.beginDict();
    w.key("format");
    w.integer(2);
    w.key("size");
    w.string(sizeText(atlasWidth, atlasHeight));
    w.key("textureFileName");
    w.string(textureFileName);
    w.endDict();
    w.endDict();
    return w.finish();
}

}  // namespace assetgen
