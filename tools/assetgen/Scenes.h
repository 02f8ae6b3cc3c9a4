#pragma once
// Painted pictures: the reward backgrounds (skies and far scenery behind the
// world, one pixel per cell of a small world, every pixel opaque) and the
// share window's panel with its speech bubble and photo frame.
#include <string>
#include <vector>

#include "Image.h"

namespace assetgen {

// The scene's names, in the order the gallery sells them.
const std::vector<std::string>& sceneNames();

// One of sceneNames(), shaped by the seed; an empty image for an unknown name.
Image drawScene(const std::string& name, int width, int height, int seed);

// The share window: a panel with a speech bubble along its top left whose
// tail points at a photo frame of photoW x photoH, centred dx right of and
// dy below the panel's centre.
Image drawSharePanel(int width, int height, int photoW, int photoH, int dx, int dy);

}  // namespace assetgen
