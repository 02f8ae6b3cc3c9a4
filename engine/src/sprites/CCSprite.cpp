#include "cocos2d/CCSprite.h"

#include "base/EngineLog.h"
#include "cocos2d/CCSpriteFrame.h"
#include "cocos2d/CCSpriteFrameCache.h"
#include "cocos2d/CCTexture2D.h"
#include "cocos2d/CCTextureCache.h"
#include "render/RenderContext.h"

NS_CC_BEGIN

CCSprite::CCSprite() { m_obAnchorPoint = CCPoint(0.5f, 0.5f); }

CCSprite::~CCSprite() { CC_SAFE_RELEASE(m_pTexture); }

namespace {

template <typename Init>
CCSprite* make(Init init)
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

void CCSprite::setTextureRect(const CCRect& rect, bool, const CCSize&) { setTextureRect(rect); }

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

CCSpriteFrame* CCSprite::displayFrame() { return CCSpriteFrame::create(m_pTexture, m_obRect); }

void CCSprite::draw()
{
    if (!m_pTexture || m_obRect.size.width <= 0 || m_obRect.size.height <= 0)
        return;
    SDL_Texture* texture = static_cast<SDL_Texture*>(m_pTexture->nativeHandle());
    if (!texture || !render::renderer())
        return;
    const float pw = static_cast<float>(m_pTexture->getPixelsWide());
    const float ph = static_cast<float>(m_pTexture->getPixelsHigh());
    float uLeft = m_obRect.getMinX() / pw, uRight = m_obRect.getMaxX() / pw;
    float vTop, vBottom;
    if (m_pTexture->isBottomUp()) {
        // Render textures count rows from the bottom of what was drawn, and
        // an unflipped sprite over one shows it upside down.
        vTop = (ph - m_obRect.getMinY()) / ph;
        vBottom = (ph - m_obRect.getMaxY()) / ph;
    } else {
        vTop = m_obRect.getMinY() / ph;
        vBottom = m_obRect.getMaxY() / ph;
    }
    if (m_bFlipX)
        std::swap(uLeft, uRight);
    if (m_bFlipY)
        std::swap(vTop, vBottom);

    const CCAffineTransform& t = currentDrawTransform();
    const float w = m_obRect.size.width, h = m_obRect.size.height;
    const float xs[4] = {0, w, w, 0};
    const float ys[4] = {0, 0, h, h};
    const float us[4] = {uLeft, uRight, uRight, uLeft};
    const float vs[4] = {vBottom, vBottom, vTop, vTop};
    render::Quad q;
    for (int i = 0; i < 4; ++i) {
        CCPoint p = CCPointApplyAffineTransform(CCPoint(xs[i], ys[i]), t);
        q.x[i] = p.x;
        q.y[i] = p.y;
        q.u[i] = us[i];
        q.v[i] = vs[i];
    }
    render::drawQuad(texture, q, SDL_Color{m_sColor.r, m_sColor.g, m_sColor.b, m_nOpacity});
}

NS_CC_END
