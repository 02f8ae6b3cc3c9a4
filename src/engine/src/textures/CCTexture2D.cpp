#include "cocos2d/CCTexture2D.h"

#include <SDL.h>

#include <cstring>
#include <vector>

#include "base/EngineLog.h"
#include "cocos2d/CCImage.h"
#include "render/RenderContext.h"
#include "textures/PixelConvert.h"

NS_CC_BEGIN

namespace {

CCTexture2DPixelFormat g_defaultAlphaFormat = kCCTexture2DPixelFormat_RGBA8888;
bool g_pvrPremultiplied = false;
unsigned int g_nextName = 1;

SDL_Texture* native(void* p)
{
    return static_cast<SDL_Texture*>(p);
}

}  // namespace

CCTexture2D::CCTexture2D() : m_uName(g_nextName++) { }

CCTexture2D::~CCTexture2D()
{
    releaseNative();
}

void CCTexture2D::releaseNative()
{
    if (m_pNative)
        SDL_DestroyTexture(native(m_pNative));
    m_pNative = nullptr;
}

bool CCTexture2D::createNative(int access)
{
    releaseNative();
    SDL_Renderer* r = render::renderer();
    if (!r)
        return false;  // headless: the size is all there is
    SDL_Texture* t = SDL_CreateTexture(r, SDL_PIXELFORMAT_RGBA32, access, static_cast<int>(m_uPixelsWide),
                                       static_cast<int>(m_uPixelsHigh));
    if (!t) {
        engineLog("CCTexture2D: cannot make a %u x %u texture: %s", m_uPixelsWide, m_uPixelsHigh, SDL_GetError());
        return false;
    }
    SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
    SDL_SetTextureScaleMode(t, m_bAliased ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
    m_pNative = t;
    return true;
}

bool CCTexture2D::initWithData(const void* data, CCTexture2DPixelFormat pixelFormat, unsigned int pixelsWide,
                               unsigned int pixelsHigh, const CCSize& contentSize)
{
    if (pixelsWide == 0 || pixelsHigh == 0 || pixelsWide > 16384 || pixelsHigh > 16384) {
        engineLog("CCTexture2D: a %u x %u texture cannot be made", pixelsWide, pixelsHigh);
        return false;
    }
    setGeometry(pixelFormat, pixelsWide, pixelsHigh, contentSize);
    if (createNative(SDL_TEXTUREACCESS_STREAMING))
        updateData(data);
    return true;
}

void CCTexture2D::updateData(const void* data)
{
    if (!m_pNative)
        return;
    SDL_Texture* t = native(m_pNative);
    const size_t w = m_uPixelsWide, h = m_uPixelsHigh;
    const int inBpp = bytesPerPixel(m_ePixelFormat);
    const uint8_t* in = static_cast<const uint8_t*>(data);
    int access = 0;
    SDL_QueryTexture(t, nullptr, &access, nullptr, nullptr);
    void* out = nullptr;
    int pitch = 0;
    // Streaming textures (the world, every step) are converted straight into
    // the locked pixels: no allocation per upload.
    if (access == SDL_TEXTUREACCESS_STREAMING && SDL_LockTexture(t, nullptr, &out, &pitch) == 0) {
        for (size_t y = 0; y < h; ++y) {
            uint8_t* row = static_cast<uint8_t*>(out) + y * static_cast<size_t>(pitch);
            if (in)
                convertToRgba(m_ePixelFormat, in + y * w * inBpp, w, row);
            else
                std::memset(row, 0, w * 4);
        }
        SDL_UnlockTexture(t);
        return;
    }
    std::vector<uint8_t> rgba(w * h * 4, 0);
    if (in)
        convertToRgba(m_ePixelFormat, in, w * h, rgba.data());
    if (SDL_UpdateTexture(t, nullptr, rgba.data(), static_cast<int>(w) * 4) != 0)
        engineLog("CCTexture2D: upload failed: %s", SDL_GetError());
}

bool CCTexture2D::initWithImage(CCImage* image)
{
    if (!image || !image->getData()) {
        engineLog("CCTexture2D: no picture to make a texture of");
        return false;
    }
    const unsigned w = image->getWidth(), h = image->getHeight();
    setGeometry(image->hasAlpha() ? kCCTexture2DPixelFormat_RGBA8888 : kCCTexture2DPixelFormat_RGB888, w, h,
                CCSize(static_cast<float>(w), static_cast<float>(h)));
    if (createNative(SDL_TEXTUREACCESS_STATIC))
        updateData(image->getData());
    return true;
}

bool CCTexture2D::initWithSizeOnly(unsigned int pixelsWide, unsigned int pixelsHigh)
{
    releaseNative();
    setGeometry(kCCTexture2DPixelFormat_RGBA8888, pixelsWide, pixelsHigh,
                CCSize(static_cast<float>(pixelsWide), static_cast<float>(pixelsHigh)));
    return true;
}

void CCTexture2D::setGeometry(CCTexture2DPixelFormat format, unsigned int pixelsWide, unsigned int pixelsHigh,
                              const CCSize& contentSize)
{
    m_ePixelFormat = format;
    m_uPixelsWide = pixelsWide;
    m_uPixelsHigh = pixelsHigh;
    m_tContentSize = contentSize;
    m_fMaxS = pixelsWide ? contentSize.width / static_cast<float>(pixelsWide) : 1.0f;
    m_fMaxT = pixelsHigh ? contentSize.height / static_cast<float>(pixelsHigh) : 1.0f;
    m_bHasPremultipliedAlpha = false;
    m_bBottomUp = false;
}

bool CCTexture2D::initAsRenderTarget(unsigned int pixelsWide, unsigned int pixelsHigh)
{
    initWithSizeOnly(pixelsWide, pixelsHigh);
    m_bBottomUp = true;
    if (!render::canRenderToTextures())
        return true;  // headless, or a renderer without targets: size only
    if (!createNative(SDL_TEXTUREACCESS_TARGET))
        return true;
    // A new target starts fully transparent.
    if (render::pushTarget(native(m_pNative), static_cast<int>(pixelsWide), static_cast<int>(pixelsHigh))) {
        SDL_Renderer* r = render::renderer();
        SDL_SetRenderDrawBlendMode(r, SDL_BLENDMODE_NONE);
        SDL_SetRenderDrawColor(r, 0, 0, 0, 0);
        SDL_RenderClear(r);
        SDL_SetRenderDrawBlendMode(r, SDL_BLENDMODE_BLEND);
        render::popTarget();
    }
    return true;
}

void CCTexture2D::setAliasTexParameters()
{
    m_bAliased = true;
    if (m_pNative)
        SDL_SetTextureScaleMode(native(m_pNative), SDL_ScaleModeNearest);
}

void CCTexture2D::setAntiAliasTexParameters()
{
    m_bAliased = false;
    if (m_pNative)
        SDL_SetTextureScaleMode(native(m_pNative), SDL_ScaleModeLinear);
}

void CCTexture2D::setDefaultAlphaPixelFormat(CCTexture2DPixelFormat format)
{
    g_defaultAlphaFormat = format;
}
CCTexture2DPixelFormat CCTexture2D::defaultAlphaPixelFormat()
{
    return g_defaultAlphaFormat;
}
void CCTexture2D::PVRImagesHavePremultipliedAlpha(bool flag)
{
    g_pvrPremultiplied = flag;
}
bool CCTexture2D::PVRImagesHavePremultipliedAlphaFlag()
{
    return g_pvrPremultiplied;
}

NS_CC_END
