#include "cocos2d/CCRenderTexture.h"

#include <cstring>
#include <vector>

#include "base/EngineLog.h"
#include "cocos2d/CCImage.h"
#include "cocos2d/CCSprite.h"
#include "render/RenderContext.h"

NS_CC_BEGIN

CCRenderTexture::CCRenderTexture() = default;

CCRenderTexture::~CCRenderTexture()
{
    if (m_bDrawing)
        end();
    CC_SAFE_RELEASE(m_pTexture);
}

CCRenderTexture* CCRenderTexture::create(int width, int height)
{
    return create(width, height, kCCTexture2DPixelFormat_RGBA8888);
}

CCRenderTexture* CCRenderTexture::create(int width, int height, CCTexture2DPixelFormat format)
{
    CCRenderTexture* rt = new CCRenderTexture();
    if (rt->initWithWidthAndHeight(width, height, format)) {
        rt->autorelease();
        return rt;
    }
    delete rt;
    return nullptr;
}

bool CCRenderTexture::initWithWidthAndHeight(int width, int height, CCTexture2DPixelFormat)
{
    if (width <= 0 || height <= 0 || width > 8192 || height > 8192) {
        engineLog("CCRenderTexture: a %d x %d render texture cannot be made", width, height);
        return false;
    }
    m_nWidth = width;
    m_nHeight = height;
    CC_SAFE_RELEASE(m_pTexture);
    m_pTexture = new CCTexture2D();
    m_pTexture->initAsRenderTarget(static_cast<unsigned>(width), static_cast<unsigned>(height));
    if (m_pSprite)
        removeChild(m_pSprite, true);
    m_pSprite = CCSprite::createWithTexture(m_pTexture);
    m_pSprite->setFlipY(true);
    addChild(m_pSprite);
    setContentSize(CCSize(static_cast<float>(width), static_cast<float>(height)));
    return true;
}

void CCRenderTexture::begin()
{
    if (m_bDrawing) {
        engineLog("CCRenderTexture: begin() while already drawing; ignored");
        return;
    }
    m_bDrawing = true;
    CCNode::beginDrawTarget();
    m_bPushed = render::pushTarget(static_cast<SDL_Texture*>(m_pTexture->nativeHandle()), m_nWidth, m_nHeight);
}

void CCRenderTexture::end()
{
    if (!m_bDrawing)
        return;
    m_bDrawing = false;
    if (m_bPushed)
        render::popTarget();
    m_bPushed = false;
    CCNode::endDrawTarget();
}

void CCRenderTexture::beginWithClear(float r, float g, float b, float a)
{
    begin();
    SDL_Renderer* renderer = render::renderer();
    if (!renderer || !m_bPushed)
        return;
    auto byte = [](float v) { return static_cast<Uint8>(v <= 0 ? 0 : v >= 1 ? 255 : v * 255.0f + 0.5f); };
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(renderer, byte(r), byte(g), byte(b), byte(a));
    SDL_RenderClear(renderer);
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
}

void CCRenderTexture::clear(float r, float g, float b, float a)
{
    beginWithClear(r, g, b, a);
    end();
}

bool CCRenderTexture::readPixels(unsigned char* rgba)
{
    SDL_Renderer* renderer = render::renderer();
    SDL_Texture* texture = static_cast<SDL_Texture*>(m_pTexture->nativeHandle());
    if (!renderer || !texture || (m_bDrawing && !m_bPushed))
        return false;
    // Reading needs the texture as the target; this also flushes its drawing.
    const bool pushed = !m_bDrawing;
    if (pushed && !render::pushTarget(texture, m_nWidth, m_nHeight))
        return false;
    bool ok = SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_RGBA32, rgba, m_nWidth * 4) == 0;
    if (!ok)
        engineLog("CCRenderTexture: cannot read the pixels back: %s", SDL_GetError());
    if (pushed)
        render::popTarget();
    return ok;
}

CCImage* CCRenderTexture::newCCImage(bool flipImage)
{
    const size_t row = static_cast<size_t>(m_nWidth) * 4;
    std::vector<unsigned char> pixels(row * m_nHeight, 0);
    if (m_nWidth > 0 && readPixels(pixels.data()) && !flipImage) {
        // As read, row 0 is the top of what was drawn; unflipped means bottom first.
        std::vector<unsigned char> tmp(row);
        for (int y = 0; y < m_nHeight / 2; ++y) {
            unsigned char* a = &pixels[y * row];
            unsigned char* b = &pixels[(m_nHeight - 1 - y) * row];
            std::memcpy(tmp.data(), a, row);
            std::memcpy(a, b, row);
            std::memcpy(b, tmp.data(), row);
        }
    }
    CCImage* image = new CCImage();
    if (m_nWidth <= 0 || !image->initWithRawPixels(pixels.data(), m_nWidth, m_nHeight, true)) {
        image->release();
        return nullptr;
    }
    return image;
}

bool CCRenderTexture::saveToFile(const char* fullPath)
{
    CCImage* image = newCCImage(true);
    if (!image)
        return false;
    bool ok = image->saveToFile(fullPath, false);
    image->release();
    return ok;
}

NS_CC_END
