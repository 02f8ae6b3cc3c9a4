#pragma once
// Pixel maps: text grids with a colour legend, the source of hand-drawn art.
//
//   scale 2                  optional: each cell becomes a 2 x 2 block
//   color . 0 0 0 0          legend: one ASCII character, then R G B A
//   color # 40 30 20 255
//   pixels                   every later line is one row, top row first
//   ..##..
#include "Image.h"

#include <string>

namespace assetgen {

bool readPixelMap(const std::string& path, Image& out, std::string& error);

}  // namespace assetgen
