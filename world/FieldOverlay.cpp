#include "world/FieldOverlay.h"

#include "app/ScreenMetrics.h"
#include "world/CCMutableTexture2D.h"

#if __has_include("cocos2d/CCSprite.h")
#include "cocos2d/CCSprite.h"
#define TESMORA_HAVE_SPRITES 1
#endif

USING_NS_CC;

namespace {

// Screen pixels per world cell, from the screen metrics.
float cellPixelSize()
{
    return static_cast<float>(pixelSize);
}

} // namespace

FieldOverlay::FieldOverlay(int width, int height, float cellScale, ccColor4B clear)
{
    m_texture = CCMutableTexture2D::createWithSize(CCSize(static_cast<float>(width), static_cast<float>(height)));
    m_texture->retain();
    m_texture->fill(clear);
    m_texture->apply();
    m_texture->setAliasTexParameters();
#ifdef TESMORA_HAVE_SPRITES
    m_sprite = CCSprite::createWithTexture(m_texture, CCRect(0, 0, static_cast<float>(width), static_cast<float>(height)));
    m_sprite->retain();
    m_sprite->setAnchorPoint(CCPoint(0, 0));
    const float p = cellPixelSize();
    m_sprite->setScale(cellScale * p * p);
    m_sprite->setFlipY(true);
    m_sprite->setVisible(false);
#else
    (void)cellScale;
    (void)cellPixelSize;
#endif
}

FieldOverlay::~FieldOverlay()
{
#ifdef TESMORA_HAVE_SPRITES
    if (m_sprite)
        m_sprite->release();
#endif
    if (m_texture)
        m_texture->release();
}

void FieldOverlay::setPixel(int x, int y, ccColor4B colour)
{
    m_texture->setPixelAt(static_cast<float>(x), static_cast<float>(y), colour);
}

ccColor4B FieldOverlay::pixel(int x, int y) const
{
    return m_texture->getPixelAt(static_cast<float>(x), static_cast<float>(y));
}

void FieldOverlay::fill(ccColor4B colour)
{
    m_texture->fill(colour);
}

void FieldOverlay::flush()
{
    m_texture->apply();
}

void FieldOverlay::setVisible(bool visible)
{
    m_visible = visible;
#ifdef TESMORA_HAVE_SPRITES
    if (m_sprite)
        m_sprite->setVisible(visible);
#endif
}
