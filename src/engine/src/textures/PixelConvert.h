#pragma once
// Internal: widening of the texture formats to RGBA, as a GPU samples them.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "cocos2d/CCTexture2D.h"

namespace cocos2d {

// Bytes per pixel of a format; 0 for formats the layer cannot upload.
int bytesPerPixel(CCTexture2DPixelFormat format);

// Converts count pixels of the format to RGBA (4 bytes each). 16-bit pixels
// are little-endian. Unknown formats give transparent black.
void convertToRgba(CCTexture2DPixelFormat format, const uint8_t* in, size_t count, uint8_t* out);

}  // namespace cocos2d
