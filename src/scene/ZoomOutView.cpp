#include "scene/ZoomOutView.h"

#include "base/Logger.h"
#include "base/ScreenMetrics.h"
#include "world/CCMutableTexture2D.h"
#include "world/World.h"

USING_NS_CC;

ZoomOutView::~ZoomOutView()
{
    CC_SAFE_RELEASE(m_frameTexture);
    m_frameTexture = nullptr;
    CC_SAFE_RELEASE(m_frameSprite);
    m_frameSprite = nullptr;
}

void ZoomOutView::setup(CCTexture2D* texture)
{
    const float u = static_cast<float>(screenRatio);
    const CCSize t = texture ? texture->getContentSize() : CCSize(World::kSmallWidth, World::kSmallHeight);
    const bool big = t.width >= World::kMaxWidth;
    const float s = big ? 2.0f * u : 4.0f * u;
    const CCSize panel(s * t.width / 2, s * t.height / 2);
    initWithColor(ccc4(32, 32, 32, 255), panel.width, panel.height);
    setAnchorPoint(CCPointZero);
    setPosition(ccp(screenSize.width - visibleMargin().width / 2 - panel.width, 0));

    const float unit = 15.0f * u;
    m_frameSize =
        unit > 0 ? CCSize(static_cast<int>(panel.width / unit), static_cast<int>(panel.height / unit)) : CCSize(0, 0);
    LOG_ERROR << "frameSize.width" << m_frameSize.width << "frameSize.height" << m_frameSize.height;

    CC_SAFE_RELEASE(m_frameTexture);
    m_frameTexture = CCMutableTexture2D::createWithSize(m_frameSize);
    CC_SAFE_RETAIN(m_frameTexture);
    if (m_frameTexture) {
        m_frameTexture->setAliasTexParameters();
        redrawFrame();
    }

    if (m_frameSprite) {
        m_frameSprite->removeFromParentAndCleanup(true);
        m_frameSprite->release();
    }
    m_frameSprite = CCSprite::createWithTexture(m_frameTexture);
    CC_SAFE_RETAIN(m_frameSprite);
    if (m_frameSprite) {
        m_frameSprite->setAnchorPoint(CCPointZero);
        m_frameSprite->setPosition(CCPointZero);
    }

    if (m_worldSprite)
        m_worldSprite->removeFromParentAndCleanup(true);
    m_worldSprite = texture ? CCSprite::createWithTexture(texture, CCRect(0, 0, t.width, t.height)) : nullptr;
    if (m_worldSprite) {
        m_worldSprite->setFlipY(true);
        m_worldSprite->setAnchorPoint(CCPointZero);
        m_worldSprite->setPosition(CCPointZero);
        m_worldSprite->setScale(s / 2);
        if (m_frameSprite)
            m_worldSprite->addChild(m_frameSprite);
        addChild(m_worldSprite);
    }
}

void ZoomOutView::redrawFrame()
{
    if (!m_frameTexture)
        return;
    m_frameTexture->fill(ccc4(0, 0, 0, 0));
    const ccColor4B edge = ccc4(255, 0, 255, 128);
    const int w = static_cast<int>(m_frameSize.width);
    const int h = static_cast<int>(m_frameSize.height);
    if (w <= 0 || h <= 0) {
        m_frameTexture->apply();
        return;
    }
    for (int x = 0; x < w; ++x) {
        m_frameTexture->setPixelAt(x, 0, edge);
        m_frameTexture->setPixelAt(x, h - 1, edge);
    }
    for (int y = 0; y < h; ++y) {
        m_frameTexture->setPixelAt(0, y, edge);
        m_frameTexture->setPixelAt(w - 1, y, edge);
    }
    m_frameTexture->apply();
}
