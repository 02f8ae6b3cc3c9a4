#include "world/FieldOverlay.h"

#include "base/ScreenMetrics.h"
#include "cocos2d/CCSprite.h"
#include "world/CCMutableTexture2D.h"

USING_NS_CC;

FieldOverlay::FieldOverlay(int width, int height, float cellScale, ccColor4B clear)
{
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    m_texture = CCMutableTexture2D::createWithSize(CCSize(w, h));
    m_texture->retain();
    m_texture->fill(clear);
    m_texture->apply();
    m_texture->setAliasTexParameters();
    m_sprite = CCSprite::createWithTexture(m_texture, CCRect(0, 0, w, h));
    m_sprite->retain();
    m_sprite->setAnchorPoint(CCPoint(0, 0));
    // Scaled like the world sprite (p x p per world cell), so the overlays
    // lie exactly over the cells they describe.
    const float p = static_cast<float>(pixelSize);
    m_sprite->setScale(cellScale * p * p);
    m_sprite->setFlipY(true);
    m_sprite->setVisible(false);
}

FieldOverlay::~FieldOverlay()
{
    m_sprite->release();
    m_texture->release();
}

void FieldOverlay::setPixel(int x, int y, ccColor4B colour)
{
    m_texture->setPixel(x, y, colour);
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
    m_sprite->setVisible(visible);
}
