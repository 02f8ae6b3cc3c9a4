#pragma once
// effects.manifest:
//   effect NAME SECONDS once|loop GROUP   then its layers:
//   layer SOURCE key=value...
#include <string>
#include <vector>

#include "Synth.h"

namespace assetgen {
struct ManifestLine;
}

namespace soundgen {

// Names the project chooses: lower-case letters, digits, '_' and the '#' of
// notes. Nothing else reaches a file name, so no path leaves the output folder.
bool safeName(const std::string& name);

bool readEffects(const std::string& path, std::vector<EffectRecipe>& out, std::string& error);

// Shared by both manifests: a "layer" line joins the recipe above it.
bool addLayerLine(const assetgen::ManifestLine& line, EffectRecipe* recipe, std::string& error);

}  // namespace soundgen
