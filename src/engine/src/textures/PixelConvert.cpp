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

namespace {

// Bit replication widens n bits to 8 the way samplers do.
inline uint8_t five(unsigned v)
{
    return static_cast<uint8_t>((v << 3) | (v >> 2));
}
inline uint8_t six(unsigned v)
{
    return static_cast<uint8_t>((v << 2) | (v >> 4));
}
inline unsigned le16(const uint8_t* p)
{
    return p[0] | (p[1] << 8);
}

// One pass per format, so the world's upload every step does not branch on
// the format once per pixel.
template <typename Pixel> void convertEach(const uint8_t* in, size_t count, size_t inBytes, uint8_t* out, Pixel pixel)
{
    for (size_t i = 0; i < count; ++i, in += inBytes, out += 4) {
        pixel(in, out);
    }
}

}  // namespace

void convertToRgba(CCTexture2DPixelFormat format, const uint8_t* in, size_t count, uint8_t* out)
{
    switch (format) {
    case kCCTexture2DPixelFormat_RGBA8888: std::memcpy(out, in, count * 4); return;
    case kCCTexture2DPixelFormat_RGB888:
        convertEach(in, count, 3, out, [](const uint8_t* p, uint8_t* o) {
            o[0] = p[0];
            o[1] = p[1];
            o[2] = p[2];
            o[3] = 255;
        });
        return;
    case kCCTexture2DPixelFormat_RGB565:
        convertEach(in, count, 2, out, [](const uint8_t* p, uint8_t* o) {
            unsigned v = le16(p);
            o[0] = five((v >> 11) & 31);
            o[1] = six((v >> 5) & 63);
            o[2] = five(v & 31);
            o[3] = 255;
        });
        return;
    case kCCTexture2DPixelFormat_RGBA4444:
        convertEach(in, count, 2, out, [](const uint8_t* p, uint8_t* o) {
            unsigned v = le16(p);
            o[0] = static_cast<uint8_t>(((v >> 12) & 15) * 17);
            o[1] = static_cast<uint8_t>(((v >> 8) & 15) * 17);
            o[2] = static_cast<uint8_t>(((v >> 4) & 15) * 17);
            o[3] = static_cast<uint8_t>((v & 15) * 17);
        });
        return;
    case kCCTexture2DPixelFormat_RGB5A1:
        convertEach(in, count, 2, out, [](const uint8_t* p, uint8_t* o) {
            unsigned v = le16(p);
            o[0] = five((v >> 11) & 31);
            o[1] = five((v >> 6) & 31);
            o[2] = five((v >> 1) & 31);
            o[3] = (v & 1) ? 255 : 0;
        });
        return;
    case kCCTexture2DPixelFormat_A8:
        convertEach(in, count, 1, out, [](const uint8_t* p, uint8_t* o) {
            o[0] = o[1] = o[2] = 255;
            o[3] = p[0];
        });
        return;
    case kCCTexture2DPixelFormat_I8:
        convertEach(in, count, 1, out, [](const uint8_t* p, uint8_t* o) {
            o[0] = o[1] = o[2] = p[0];
            o[3] = 255;
        });
        return;
    case kCCTexture2DPixelFormat_AI88:
        convertEach(in, count, 2, out, [](const uint8_t* p, uint8_t* o) {
            o[0] = o[1] = o[2] = p[0];
            o[3] = p[1];
        });
        return;
    }
    std::memset(out, 0, count * 4);
}

}  // namespace cocos2d
