#pragma once
// Guide pictures: a level's background with the cells the player is to fill
// painted in one clearly visible colour, or faintly in the colours of the
// elements they want, one pixel per cell of the small world (row 0 of the
// picture is the world's top row).
#include <string>
#include <vector>

#include "Image.h"
#include "LevelBuilder.h"

namespace levelgen {

inline constexpr assetgen::Rgba kGuideColour{255, 40, 200, 255};
// Cells to leave empty: a blue that stands apart from the brick-red Wall
// stencils and the Obsidian ink of the outline levels.
inline constexpr assetgen::Rgba kKeepEmptyColour{20, 90, 235, 255};
// How far a guide cell is blended from the background to its colour, of 256:
// faint enough to tell from painted cells, plain enough to paint after.
inline constexpr int kGuideStrength = 150;

// The background picture file of a name in the resource tree: a reward
// background wins over a mission one, as in the game. Empty when neither exists.
std::string backgroundPath(const std::string& tree, const std::string& fileName);

// Reads a 120 x 80 background; false with a message otherwise.
bool readBackground(const std::string& path, assetgen::Image& out, std::string& error);

// The colour an element is drawn in when it is made (the first colour row
// of one that sets none).
assetgen::Rgba elementColour(uint32_t type);

// The background with every marked cell painted in the guide colour, and
// every guide cell blended towards its element's colour (or the keep-empty
// colour); a later guide cell of the same cell wins.
assetgen::Image guidePicture(const assetgen::Image& background, const std::vector<Cell>& marks,
                             const std::vector<GuideCell>& guides = {});

}  // namespace levelgen
