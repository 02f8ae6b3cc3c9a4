#include "cocos2d/CCSprite.h"

#include "base/EngineLog.h"
#include "cocos2d/CCSpriteFrame.h"
#include "cocos2d/CCSpriteFrameCache.h"
#include "cocos2d/CCTexture2D.h"
#include "cocos2d/CCTextureCache.h"
#include "render/RenderContext.h"

NS_CC_BEGIN

CCSprite::CCSprite()
{
    m_obAnchorPoint = CCPoint(0.5f, 0.5f);
}

CCSprite::~CCSprite()
{
    CC_SAFE_RELEASE(m_pTexture);
}

namespace {

template <typename Init> CCSprite* make(Init init)
{
    CCSprite* sprite = new CCSprite();
    if (init(sprite)) {
        sprite->autorelease();
        return sprite;
    }
    delete sprite;
    return nullptr;
}

}  // namespace

CCSprite* CCSprite::create()
{
    return make([](CCSprite* s) { return s->init(); });
}

CCSprite* CCSprite::create(const char* path)
{
    return make([path](CCSprite* s) { return s->initWithFile(path); });
}

CCSprite* CCSprite::create(const char* path, const CCRect& rect)
{
    return make([path, &rect](CCSprite* s) { return s->initWithFile(path, rect); });
}

CCSprite* CCSprite::createWithTexture(CCTexture2D* texture)
{
    return make([texture](CCSprite* s) { return s->initWithTexture(texture); });
}

CCSprite* CCSprite::createWithTexture(CCTexture2D* texture, const CCRect& rect)
{
    return make([texture, &rect](CCSprite* s) { return s->initWithTexture(texture, rect); });
}

CCSprite* CCSprite::createWithSpriteFrame(CCSpriteFrame* frame)
{
    return make([frame](CCSprite* s) { return s->initWithSpriteFrame(frame); });
}

CCSprite* CCSprite::createWithSpriteFrameName(const char* name)
{
    return make([name](CCSprite* s) { return s->initWithSpriteFrameName(name); });
}

bool CCSprite::init()
{
    setTexture(nullptr);
    setTextureRect(CCRectZero);
    setAnchorPoint(CCPoint(0.5f, 0.5f));
    return true;
}

bool CCSprite::initWithTexture(CCTexture2D* texture)
{
    if (!texture)
        return false;
    const CCSize& size = texture->getContentSize();
    return initWithTexture(texture, CCRect(0, 0, size.width, size.height));
}

bool CCSprite::initWithTexture(CCTexture2D* texture, const CCRect& rect)
{
    if (!texture)
        return false;
    setAnchorPoint(CCPoint(0.5f, 0.5f));
    setTexture(texture);
    setTextureRect(rect);
    return true;
}

bool CCSprite::initWithSpriteFrame(CCSpriteFrame* frame)
{
    if (!frame)
        return false;
    return initWithTexture(frame->getTexture(), frame->getRect());
}

bool CCSprite::initWithSpriteFrameName(const char* name)
{
    CCSpriteFrame* frame = CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName(name);
    return frame && initWithSpriteFrame(frame);
}

bool CCSprite::initWithFile(const char* path)
{
    CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addImage(path);
    return texture && initWithTexture(texture);
}

bool CCSprite::initWithFile(const char* path, const CCRect& rect)
{
    CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addImage(path);
    return texture && initWithTexture(texture, rect);
}

void CCSprite::setTexture(CCTexture2D* texture)
{
    CC_SAFE_RETAIN(texture);
    CC_SAFE_RELEASE(m_pTexture);
    m_pTexture = texture;
}

void CCSprite::setTextureRect(const CCRect& rect)
{
    m_obRect = rect;
    setContentSize(rect.size);
}

void CCSprite::setTextureRect(const CCRect& rect, bool, const CCSize&)
{
    setTextureRect(rect);
}

void CCSprite::setDisplayFrame(CCSpriteFrame* frame)
{
    if (!frame)
        return;
    setTexture(frame->getTexture());
    setTextureRect(frame->getRect());
}

bool CCSprite::isFrameDisplayed(CCSpriteFrame* frame) const
{
    return frame && frame->getTexture() == m_pTexture && frame->getRect().equals(m_obRect);
}

CCSpriteFrame* CCSprite::displayFrame()
{
    return CCSpriteFrame::create(m_pTexture, m_obRect);
}

void CCSprite::draw()
{
    if (!m_pTexture || m_obRect.size.width <= 0 || m_obRect.size.height <= 0)
        return;
    SDL_Texture* texture = static_cast<SDL_Texture*>(m_pTexture->nativeHandle());
    if (!texture || !render::renderer())
        return;
    // Texel rectangles are whole numbers in practice (sheets, glyphs, cells).
    const int ph = static_cast<int>(m_pTexture->getPixelsHigh());
    SDL_Rect src{static_cast<int>(m_obRect.getMinX() + 0.5f), static_cast<int>(m_obRect.getMinY() + 0.5f),
                 static_cast<int>(m_obRect.size.width + 0.5f), static_cast<int>(m_obRect.size.height + 0.5f)};
    bool flipV = m_bFlipY;
    if (m_pTexture->isBottomUp()) {
        // Render textures count rows from the bottom of what was drawn, and
        // an unflipped sprite over one shows it upside down.
        src.y = ph - src.y - src.h;
        flipV = !flipV;
    }
    const CCAffineTransform& t = currentDrawTransform();
    CCPoint p0 = CCPointApplyAffineTransform(CCPointZero, t);
    CCPoint p1 = CCPointApplyAffineTransform(CCPoint(m_obRect.size.width, m_obRect.size.height), t);
    render::drawTexture(texture, src, p0.x, p0.y, p1.x, p1.y, m_bFlipX, flipV,
                        SDL_Color{m_sColor.r, m_sColor.g, m_sColor.b, m_nOpacity});
}

NS_CC_END
