#pragma once
// Blueprint sources: one text file per blueprint folder of the resource tree.
//
//   # comment lines and blank lines are skipped outside the grids
//   size W H                     every grid is W columns by H rows
//   stage ELEMENT ORDER          one line per stage, in build order
//   flipping                     the picture may be mirrored (stage 0)
//   color C STAGE R G B          legend: the grid character C places a pixel
//                                of stage STAGE (0-based) in that colour;
//                                '.' is always a hole
//   variant                      the next H lines are a grid, top row first
//
// One variant writes specs.plist and the stage pictures 0.png, 1.png ... into
// the folder; several write randomVars.plist and one such folder per variant
// (0, 1, ...). Every stage picture has the grid's size; pixels are alpha 255
// or holes (alpha 0).
#include <string>
#include <vector>

#include "Image.h"

namespace assetgen {

struct BlueprintSource {
    struct Stage {
        std::string element;
        std::string order;
    };
    struct Legend {
        int stage = 0;
        Rgba colour;
    };
    std::string name;  // for messages
    int width = 0;
    int height = 0;
    bool flipping = false;
    std::vector<Stage> stages;
    Legend legend[256];
    bool inLegend[256] = {};
    std::vector<std::vector<std::string>> variants;  // grids, rows top first
};

bool readBlueprintSource(const std::string& path, BlueprintSource& out, std::string& error);
// The stage pictures of one variant.
std::vector<Image> blueprintStageImages(const BlueprintSource& source, size_t variant);
bool writeBlueprintFolder(const BlueprintSource& source, const std::string& folder, std::string& error);
// Every <group>/<name>.bp under `sources`, written to <out>/<group>/<name>.
bool generateBlueprints(const std::string& sources, const std::string& out, std::string& error);

}  // namespace assetgen
