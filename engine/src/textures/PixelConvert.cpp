#include "textures/PixelConvert.h"

#include <cstring>

namespace cocos2d {

int bytesPerPixel(CCTexture2DPixelFormat format)
{
    switch (format) {
    case kCCTexture2DPixelFormat_RGBA8888: return 4;
    case kCCTexture2DPixelFormat_RGB888: return 3;
    case kCCTexture2DPixelFormat_RGB565:
    case kCCTexture2DPixelFormat_RGBA4444:
    case kCCTexture2DPixelFormat_RGB5A1:
    case kCCTexture2DPixelFormat_AI88: return 2;
    case kCCTexture2DPixelFormat_A8:
    case kCCTexture2DPixelFormat_I8: return 1;
    }
    return 0;
}

void convertToRgba(CCTexture2DPixelFormat format, const uint8_t* in, size_t count, uint8_t* out)
{
    // Bit replication widens n bits to 8 the way samplers do.
    auto five = [](unsigned v) { return static_cast<uint8_t>((v << 3) | (v >> 2)); };
    auto six = [](unsigned v) { return static_cast<uint8_t>((v << 2) | (v >> 4)); };
    for (size_t i = 0; i < count; ++i, out += 4) {
        switch (format) {
        case kCCTexture2DPixelFormat_RGBA8888:
            std::memcpy(out, in + i * 4, 4);
            break;
        case kCCTexture2DPixelFormat_RGB888:
            out[0] = in[i * 3];
            out[1] = in[i * 3 + 1];
            out[2] = in[i * 3 + 2];
            out[3] = 255;
            break;
        case kCCTexture2DPixelFormat_RGB565: {
            unsigned v = in[i * 2] | (in[i * 2 + 1] << 8);
            out[0] = five((v >> 11) & 31);
            out[1] = six((v >> 5) & 63);
            out[2] = five(v & 31);
            out[3] = 255;
            break;
        }
        case kCCTexture2DPixelFormat_RGBA4444: {
            unsigned v = in[i * 2] | (in[i * 2 + 1] << 8);
            out[0] = static_cast<uint8_t>(((v >> 12) & 15) * 17);
            out[1] = static_cast<uint8_t>(((v >> 8) & 15) * 17);
            out[2] = static_cast<uint8_t>(((v >> 4) & 15) * 17);
            out[3] = static_cast<uint8_t>((v & 15) * 17);
            break;
        }
        case kCCTexture2DPixelFormat_RGB5A1: {
            unsigned v = in[i * 2] | (in[i * 2 + 1] << 8);
            out[0] = five((v >> 11) & 31);
            out[1] = five((v >> 6) & 31);
            out[2] = five((v >> 1) & 31);
            out[3] = (v & 1) ? 255 : 0;
            break;
        }
        case kCCTexture2DPixelFormat_A8:
            out[0] = out[1] = out[2] = 255;
            out[3] = in[i];
            break;
        case kCCTexture2DPixelFormat_I8:
            out[0] = out[1] = out[2] = in[i];
            out[3] = 255;
            break;
        case kCCTexture2DPixelFormat_AI88:
            out[0] = out[1] = out[2] = in[i * 2];
            out[3] = in[i * 2 + 1];
            break;
        default:
            std::memset(out, 0, 4);
        }
    }
}

}  // namespace cocos2d
