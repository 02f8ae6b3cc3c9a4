#pragma once
// Sprite sheets: named frames packed into one power-of-two atlas, with the
// frame-list plist the engine's frame cache reads.
#include "Image.h"

#include <string>
#include <vector>

namespace assetgen {

struct SheetFrame {
    std::string name;
    Image image;
    int x = 0, y = 0;  // place in the atlas, set by packSheet
};

constexpr int kFrameGap = 2;
constexpr int kMaxAtlasSize = 2048;

// Sorts the frames by name and packs them in rows; false when they do not fit
// into kMaxAtlasSize. The atlas is the smallest power-of-two width that holds
// them no taller than wide, with a power-of-two height.
bool packSheet(std::vector<SheetFrame>& frames, Image& atlas, std::string& error);
std::string sheetPlist(const std::vector<SheetFrame>& frames, const std::string& textureFileName, int atlasWidth,
                       int atlasHeight);

}  // namespace assetgen
