#pragma once
// Landscape pictures for backdrops.
#include "Image.h"

namespace assetgen {

// A band of land in the colour below a skyline of whole waves, transparent
// above it, grainy like the world's powders and darker with depth, with a lit
// crest. Column x and column x + width would have the same crest, so copies
// side by side scroll without a seam. The seed picks the waves.
Image drawRidge(int width, int height, int seed, Rgba land);

// The row of the crest in column x of drawRidge's picture.
int ridgeCrest(int width, int height, int seed, int x);

}  // namespace assetgen
