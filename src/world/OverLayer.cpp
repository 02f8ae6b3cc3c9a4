#include "world/OverLayer.h"

#include <algorithm>

#include "base/Logger.h"
#include "base/ScreenMetrics.h"
#include "world/World.h"

USING_NS_CC;

bool OverLayer::init()
{
    if (!CCLayer::init())
        return false;
    setTouchEnabled(false);
    return true;
}

void OverLayer::onEnter()
{
    CCLayer::onEnter();
    LOG << "_";
    CCTexture2D::PVRImagesHavePremultipliedAlpha(true);
    if (m_batchNode)
        return;
    auto* batch = new CCSpriteBatchNode();
    if (!batch->initWithFile("pvr/overlay.pvr.ccz", 150)) {
        LOG_ERROR << "OverLayer: the overlay sheet did not load; no balloons are shown";
        batch->release();
        return;
    }
    batch->autorelease();
    m_batchNode = batch;
    if (CCTexture2D* texture = m_batchNode->getTexture())
        texture->setAliasTexParameters();
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile("pvr/overlay.plist");
    m_batchNode->setAnchorPoint(CCPointZero);
    m_batchNode->setPosition(CCPointZero);
    addChild(m_batchNode);
}

CCPoint OverLayer::cellCentre(float x, float y)
{
    const float p2 = static_cast<float>(pixelSize * pixelSize);
    return ccp(p2 * x + p2 / 2, p2 * y + p2 / 2);
}

float OverLayer::balloonScale(bool bigWorld)
{
    const float s = static_cast<float>(screenRatio) * 4.0f;
    return bigWorld ? s * s : 2.0f * s * s;
}

CCSprite* OverLayer::showBalloon(CCString* balloonKind, CCString* iconKind, float x, float y)
{
    if (!m_batchNode) {
        LOG_ERROR << "OverLayer: a balloon was asked for before the layer entered the scene";
        return nullptr;
    }
    const std::string balloonName =
        std::string("overlay_balloon_") + (balloonKind ? balloonKind->getString() : std::string()) + ".png";
    const std::string iconName =
        std::string("overlay_icon_") + (iconKind ? iconKind->getString() : std::string()) + ".png";
    CCSpriteFrameCache* frames = CCSpriteFrameCache::sharedSpriteFrameCache();
    if (!frames->spriteFrameByName(balloonName.c_str()) || !frames->spriteFrameByName(iconName.c_str())) {
        LOG_ERROR << "OverLayer: no frame for the balloon" << balloonName << "or the icon" << iconName;
        return nullptr;
    }
    CCSprite* balloon = CCSprite::createWithSpriteFrameName(balloonName.c_str());
    balloon->setAnchorPoint(CCPointZero);
    balloon->setScale(balloonScale(gWorld && gWorld->bigWorld));
    placeAtCell(balloon, x, y);
    m_batchNode->addChild(balloon);
    CCSprite* icon = CCSprite::createWithSpriteFrameName(iconName.c_str());
    icon->setAnchorPoint(ccp(0.5f, 0.5f));
    const CCSize size = balloon->getContentSize();
    icon->setPosition(ccp(size.width / 2, size.height / 2));
    balloon->addChild(icon);
    return balloon;
}

void OverLayer::placeAtCell(CCSprite* sprite, float x, float y)
{
    if (!sprite)
        return;
    const CCPoint centre = cellCentre(x, y);
    const CCPoint spot = clearSpot(sprite, centre);
    sprite->setPosition(spot);
    // Left of its speaker, the balloon's tail points back to it.
    sprite->setFlipX(spot.x < centre.x);
}

namespace {
// Boxes that share more than an edge.
bool overlap(const CCRect& a, const CCRect& b)
{
    return a.getMinX() < b.getMaxX() && b.getMinX() < a.getMaxX() && a.getMinY() < b.getMaxY() &&
        b.getMinY() < a.getMaxY();
}
}  // namespace

CCPoint OverLayer::clearSpot(CCSprite* balloon, CCPoint at) const
{
    const CCSize size = balloon->boundingBox().size;
    const float p2 = static_cast<float>(pixelSize * pixelSize);
    const float worldW = gWorld ? static_cast<float>(gWorld->width) * p2 : size.width;
    const float worldH = gWorld ? static_cast<float>(gWorld->height) * p2 : size.height;
    if (at.x + size.width > worldW)
        at.x -= size.width;
    at.x = std::clamp(at.x, 0.0f, std::max(0.0f, worldW - size.width));
    at.y = std::clamp(at.y, 0.0f, std::max(0.0f, worldH - size.height));
    if (!m_batchNode || !m_batchNode->getChildren())
        return at;
    // Each move clears one balloon; six speakers at most share the world.
    for (unsigned tries = 0; tries <= m_batchNode->getChildren()->count(); ++tries) {
        const CCRect mine(at.x, at.y, size.width, size.height);
        const CCSprite* covered = nullptr;
        for (CCObject* child : *m_batchNode->getChildren()) {
            auto* other = dynamic_cast<CCSprite*>(child);
            if (other && other != balloon && other->isVisible() && overlap(other->boundingBox(), mine)) {
                covered = other;
                break;
            }
        }
        if (!covered)
            break;
        const CCRect other = covered->boundingBox();
        at.y = other.getMaxY() + size.height <= worldH ? other.getMaxY() : other.getMinY() - size.height;
        if (at.y < 0)
            break;
    }
    return at;
}

void OverLayer::removeSprite(CCSprite* sprite)
{
    if (!sprite || !m_batchNode || !m_batchNode->getChildren() || !m_batchNode->getChildren()->containsObject(sprite))
        return;
    m_batchNode->removeChild(sprite, true);
}

void OverLayer::removeAll()
{
    if (m_batchNode)
        m_batchNode->removeAllChildrenWithCleanup(true);
}
