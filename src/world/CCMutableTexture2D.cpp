#include "world/CCMutableTexture2D.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "base/Logger.h"

USING_NS_CC;

namespace {

std::set<CCMutableTexture2D*>& liveTextures()
{
    static std::set<CCMutableTexture2D*>* textures = new std::set<CCMutableTexture2D*>();
    return *textures;
}

// Longest side that gets a pixel buffer; the engine makes no larger texture.
constexpr unsigned kMaxSide = 16384;

unsigned powerOfTwoAtLeast(float extent)
{
    // Capped just past the largest side, so a huge or endless extent neither
    // overflows the cast nor doubles the size past 2^31 forever.
    const float capped = extent > 0.0f ? std::min(extent, static_cast<float>(2 * kMaxSide)) : 0.0f;
    const unsigned wanted = static_cast<unsigned>(capped);
    unsigned size = 2;
    while (size < wanted)
        size <<= 1;
    return size;
}

bool hasUpload(int format)
{
    switch (format) {
    case CCMutableTexture2D::kRGBA8888:
    case CCMutableTexture2D::kRGB565:
    case CCMutableTexture2D::kA8:
    case CCMutableTexture2D::kRGBA4444:
    case CCMutableTexture2D::kRGB5A1: return true;
    default: return false;
    }
}

uint16_t read16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

void write16(uint8_t* p, uint32_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

}  // namespace

CCMutableTexture2D* CCMutableTexture2D::createWithSize(const CCSize& size)
{
    CCMutableTexture2D* texture = new CCMutableTexture2D();
    texture->initWithSize(CCTexture2D::defaultAlphaPixelFormat(), size);
    texture->autorelease();
    return texture;
}

CCMutableTexture2D* CCMutableTexture2D::createWithImage(CCImage* image)
{
    CCMutableTexture2D* texture = new CCMutableTexture2D();
    if (!texture->initWithImage(image)) {
        texture->release();
        return nullptr;
    }
    texture->autorelease();
    return texture;
}

CCMutableTexture2D::CCMutableTexture2D()
{
    liveTextures().insert(this);
}

CCMutableTexture2D::~CCMutableTexture2D()
{
    liveTextures().erase(this);
    if (m_pixels) {
        std::free(m_pixels);
        m_pixels = nullptr;
    }
}

const std::set<CCMutableTexture2D*>& CCMutableTexture2D::registry()
{
    return liveTextures();
}

int CCMutableTexture2D::bytesPerPixelOf(int format)
{
    switch (format) {
    case kRGBA8888: return 4;
    case kRGB888: return 3;
    case kRGB565:
    case kRGBA4444:
    case kRGB5A1: return 2;
    case kA8: return 1;
    default: return 0;
    }
}

bool CCMutableTexture2D::initWithSize(int format, const CCSize& size)
{
    m_ePixelFormat = static_cast<CCTexture2DPixelFormat>(format);
    m_tContentSize = size;
    m_uPixelsWide = powerOfTwoAtLeast(size.width);
    m_uPixelsHigh = powerOfTwoAtLeast(size.height);
    // RGB888 has no write rule, so a texture made by size in it has no buffer;
    // neither has one too large to be made.
    const bool tooLarge = m_uPixelsWide > kMaxSide || m_uPixelsHigh > kMaxSide;
    if (tooLarge)
        LOG << "texture too large for a pixel buffer:" << size.width << "x" << size.height;
    const int bpp = format == kRGB888 || tooLarge ? 0 : bytesPerPixelOf(format);
    const size_t bytes = static_cast<size_t>(m_uPixelsWide) * m_uPixelsHigh * bpp;
    if (m_pixels) {
        std::free(m_pixels);
        m_pixels = nullptr;
    }
    if (bytes > 0)
        m_pixels = static_cast<uint8_t*>(std::calloc(bytes, 1));
    if (hasUpload(format) && !tooLarge) {
        initWithData(m_pixels, m_ePixelFormat, m_uPixelsWide, m_uPixelsHigh, size);
        setAntiAliasTexParameters();
    }
    m_fMaxS = size.width / static_cast<float>(m_uPixelsWide);
    m_fMaxT = size.height / static_cast<float>(m_uPixelsHigh);
    m_bHasPremultipliedAlpha = false;
    m_dirty = false;
    return true;
}

bool CCMutableTexture2D::initWithImage(CCImage* image)
{
    if (!image || !image->getData())
        return false;
    const unsigned width = image->getWidth();
    const unsigned height = image->getHeight();
    const CCSize contentSize(static_cast<float>(width), static_cast<float>(height));
    const int maxSize = CCConfiguration::sharedConfiguration()->getMaxTextureSize();
    if (static_cast<int>(width) > maxSize || static_cast<int>(height) > maxSize) {
        LOG << "image too large for a texture:" << width << "x" << height;
        return false;
    }
    int format;
    if (image->hasAlpha())
        format = kRGBA8888;
    else if (image->getBitsPerComponent() >= 8)
        format = kRGB888;
    else
        format = kRGB565;

    const size_t pixelCount = static_cast<size_t>(width) * height;
    const int bpp = bytesPerPixelOf(format);
    const size_t bytes = pixelCount * bpp;
    uint8_t* copy = static_cast<uint8_t*>(std::calloc(bytes ? bytes : 1, 1));
    if (!copy)
        return false;
    const uint8_t* source = image->getData();
    const size_t available = image->getDataLen() > 0 ? static_cast<size_t>(image->getDataLen()) : 0;
    if (format == kRGB565) {
        for (size_t i = 0; i < pixelCount && i * 3 + 2 < available; ++i) {
            const uint8_t* px = source + i * 3;
            write16(copy + i * 2, ((px[0] >> 3) << 11) | ((px[1] >> 2) << 5) | (px[2] >> 3));
        }
    } else {
        std::memcpy(copy, source, bytes < available ? bytes : available);
    }
    initWithData(copy, static_cast<CCTexture2DPixelFormat>(format), width, height, contentSize);
    m_ePixelFormat = static_cast<CCTexture2DPixelFormat>(format);
    m_tContentSize = contentSize;
    m_uPixelsWide = width;
    m_uPixelsHigh = height;
    if (m_pixels)
        std::free(m_pixels);
    m_pixels = copy;
    m_dirty = false;
    m_bHasPremultipliedAlpha = image->isPremultipliedAlpha();
    return true;
}

long CCMutableTexture2D::pixelIndex(float x, float y) const
{
    if (!(x >= 0.0f) || !(y >= 0.0f) || x >= static_cast<float>(m_uPixelsWide) ||
        y >= static_cast<float>(m_uPixelsHigh))
        return -1;
    return static_cast<long>(m_uPixelsWide) * static_cast<long>(y) + static_cast<long>(x);
}

ccColor4B CCMutableTexture2D::getPixelAt(float x, float y) const
{
    ccColor4B c = ccc4(0, 0, 0, 0);
    if (!m_pixels || !(x >= 0.0f) || !(y >= 0.0f) || x >= m_tContentSize.width || y >= m_tContentSize.height)
        return c;
    const long index = pixelIndex(x, y);
    if (index < 0)
        return c;
    const int format = m_ePixelFormat;
    const uint8_t* p = m_pixels + index * bytesPerPixelOf(format);
    switch (format) {
    case kRGBA8888: return ccc4(p[0], p[1], p[2], p[3]);
    case kRGB888: return ccc4(p[0], p[1], p[2], 255);
    case kRGB565: {
        const uint16_t v = read16(p);
        return ccc4(static_cast<uint8_t>((v >> 8) & 0xF8), static_cast<uint8_t>((v >> 5) << 2),
                    static_cast<uint8_t>(v << 3), 255);
    }
    case kA8: return ccc4(255, 255, 255, p[0]);
    case kRGBA4444: {
        const uint16_t v = read16(p);
        return ccc4(static_cast<uint8_t>(((v >> 12) & 0xF) * 17), static_cast<uint8_t>(((v >> 8) & 0xF) * 17),
                    static_cast<uint8_t>(((v >> 4) & 0xF) * 17), static_cast<uint8_t>((v & 0xF) * 17));
    }
    case kRGB5A1: {
        const uint16_t v = read16(p);
        return ccc4(static_cast<uint8_t>((v >> 8) & 0xF8), static_cast<uint8_t>((v >> 6) << 3),
                    static_cast<uint8_t>((v >> 1) << 3), (v & 1) ? 255 : 0);
    }
    default: return c;
    }
}

bool CCMutableTexture2D::setPixelAt(float x, float y, ccColor4B c)
{
    if (!m_pixels)
        return false;
    // Positions outside the buffer are refused instead of written past its end.
    const long index = pixelIndex(x, y);
    if (index < 0)
        return false;
    m_dirty = true;
    const int format = m_ePixelFormat;
    uint8_t* p = m_pixels + index * bytesPerPixelOf(format);
    switch (format) {
    case kRGBA8888:
        p[0] = c.r;
        p[1] = c.g;
        p[2] = c.b;
        p[3] = c.a;
        return true;
    case kRGB565: write16(p, ((c.r >> 3) << 11) | ((c.g >> 2) << 5) | (c.b >> 3)); return true;
    case kA8: p[0] = c.a; return true;
    case kRGBA4444: write16(p, ((c.r >> 4) << 12) | ((c.g >> 4) << 8) | ((c.b >> 4) << 4) | (c.a >> 4)); return true;
    case kRGB5A1:
        write16(p, ((c.r >> 3) << 11) | ((c.g >> 3) << 6) | ((c.b >> 3) << 1) | (c.a != 0 ? 1 : 0));
        return true;
    default: m_dirty = false; return false;
    }
}

void CCMutableTexture2D::fill(ccColor4B colour)
{
    // One pixel through the format's encoder, its bytes doubled along the
    // first row of the content rectangle (clipped to the buffer), and that
    // row copied to the others: a world reset clears several full-size
    // textures, and a copy per pixel was most of a reset's time.
    if (!setPixelAt(0.0f, 0.0f, colour))
        return;
    const size_t bytes = static_cast<size_t>(bytesPerPixelOf(m_ePixelFormat));
    long wide = 0;
    while (static_cast<float>(wide) < m_tContentSize.width && wide < static_cast<long>(m_uPixelsWide))
        ++wide;
    long high = 0;
    while (static_cast<float>(high) < m_tContentSize.height && high < static_cast<long>(m_uPixelsHigh))
        ++high;
    if (wide == 0 || high == 0)
        return;
    const size_t rowBytes = static_cast<size_t>(wide) * bytes;
    for (size_t done = bytes; done < rowBytes; done *= 2)
        std::memcpy(m_pixels + done, m_pixels, std::min(done, rowBytes - done));
    const size_t stride = static_cast<size_t>(m_uPixelsWide) * bytes;
    for (long y = 1; y < high; ++y)
        std::memcpy(m_pixels + static_cast<size_t>(y) * stride, m_pixels, rowBytes);
}

void CCMutableTexture2D::apply()
{
    if (!m_dirty || !m_pixels)
        return;
    if (hasUpload(m_ePixelFormat))
        updateData(m_pixels);
    m_dirty = false;
}

void CCMutableTexture2D::invalidateAll()
{
    FunctionTrace trace(22);
    for (CCMutableTexture2D* texture : liveTextures()) {
        texture->setAliasTexParameters();
        texture->m_dirty = true;
    }
}
