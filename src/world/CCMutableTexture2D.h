#pragma once
// A texture with a CPU copy of its pixels: single pixels are read and written
// in main memory, and the whole picture is uploaded once when it changed.
// The world is drawn this way (one texel per cell), and so are the field
// overlays, the overview and snapshots. Every live texture is listed in a
// registry so all of them can be uploaded again after a return from the
// background. Without a renderer (headless) only the CPU copy matters.
//
// Pixel buffer: pixelsWide x pixelsHigh pixels in the texture's format, row 0
// first, 16-bit pixels little-endian. Formats: 0 RGBA8888, 1 RGB888 (read
// only), 2 RGB565, 3 A8, 6 RGBA4444, 7 RGB5A1.
#include <cstdint>
#include <set>

#include "cocos2d.h"

class CCMutableTexture2D : public cocos2d::CCTexture2D {
public:
    // Engine pixel-format values.
    enum Format : int {
        kRGBA8888 = 0,
        kRGB888 = 1,
        kRGB565 = 2,
        kA8 = 3,
        kRGBA4444 = 6,
        kRGB5A1 = 7,
    };

    // Power-of-two buffer in the engine's default alpha pixel format; autoreleased.
    static CCMutableTexture2D* createWithSize(const cocos2d::CCSize& size);
    // A copy of the image's pixels; null when the image is too large. Autoreleased.
    static CCMutableTexture2D* createWithImage(cocos2d::CCImage* image);

    CCMutableTexture2D();
    ~CCMutableTexture2D() override;

    bool initWithSize(int format, const cocos2d::CCSize& size);
    bool initWithImage(cocos2d::CCImage* image);

    // (0, 0, 0, 0) outside the content size or without a buffer.
    cocos2d::ccColor4B getPixelAt(float x, float y) const;
    cocos2d::ccColor4B getPixelAt(const cocos2d::CCPoint& p) const { return getPixelAt(p.x, p.y); }
    // False (nothing written) without a buffer, outside the texture, or for a
    // format that cannot be written.
    bool setPixelAt(float x, float y, cocos2d::ccColor4B colour);
    bool setPixelAt(const cocos2d::CCPoint& p, cocos2d::ccColor4B colour) { return setPixelAt(p.x, p.y, colour); }
    // setPixelAt at whole coordinates; the world draws a cell for every move,
    // so its own format is written in line.
    bool setPixel(int x, int y, cocos2d::ccColor4B colour)
    {
        if (m_ePixelFormat != cocos2d::kCCTexture2DPixelFormat_RGBA8888 || !m_pixels ||
            static_cast<unsigned>(x) >= m_uPixelsWide || static_cast<unsigned>(y) >= m_uPixelsHigh)
            return setPixelAt(static_cast<float>(x), static_cast<float>(y), colour);
        uint8_t* p =
            m_pixels + 4 * (static_cast<size_t>(m_uPixelsWide) * static_cast<unsigned>(y) + static_cast<unsigned>(x));
        p[0] = colour.r;
        p[1] = colour.g;
        p[2] = colour.b;
        p[3] = colour.a;
        m_dirty = true;
        return true;
    }
    // The buffer as 32-bit texels, for a writer of many pixels at once (the
    // world step); null unless the format is RGBA8888 with a buffer. The
    // writer calls markDirty() once it has written.
    uint32_t* rgbaTexels()
    {
        return m_ePixelFormat == cocos2d::kCCTexture2DPixelFormat_RGBA8888 && m_pixels
            ? reinterpret_cast<uint32_t*>(m_pixels)
            : nullptr;
    }
    void markDirty() { m_dirty = true; }
    // Every pixel inside the content size; the rest of the buffer is kept.
    void fill(cocos2d::ccColor4B colour);
    // Uploads the whole buffer when dirty.
    void apply();
    // Marks every live texture for upload again.
    static void invalidateAll();

    bool isDirty() const { return m_dirty; }
    const uint8_t* pixelData() const { return m_pixels; }
    int bytesPerPixel() const { return bytesPerPixelOf(m_ePixelFormat); }
    static int bytesPerPixelOf(int format);
    // The registry (tests and the background return read it).
    static const std::set<CCMutableTexture2D*>& registry();

private:
    // Where a pixel lives; -1 outside the buffer.
    long pixelIndex(float x, float y) const;

    uint8_t* m_pixels = nullptr;  // malloc'd, owned
    bool m_dirty = false;
};
