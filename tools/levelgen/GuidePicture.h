#pragma once
// Guide pictures: a level's background with the cells the player is to fill
// painted in one clearly visible colour, one pixel per cell of the small
// world (row 0 of the picture is the world's top row).
#include <string>
#include <vector>

#include "Image.h"
#include "LevelBuilder.h"

namespace levelgen {

inline constexpr assetgen::Rgba kGuideColour{255, 40, 200, 255};

// The background picture file of a name in the resource tree: a reward
// background wins over a mission one, as in the game. Empty when neither exists.
std::string backgroundPath(const std::string& tree, const std::string& fileName);

// Reads a 120 x 80 background; false with a message otherwise.
bool readBackground(const std::string& path, assetgen::Image& out, std::string& error);

// The background with every marked cell painted in the guide colour.
assetgen::Image guidePicture(const assetgen::Image& background, const std::vector<Cell>& marks);

}  // namespace levelgen
