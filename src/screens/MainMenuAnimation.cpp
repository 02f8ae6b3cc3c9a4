#include "screens/MainMenuAnimation.h"

#include <algorithm>
#include <cmath>

#include "base/Logger.h"
#include "base/ScreenMetrics.h"

USING_NS_CC;

namespace {

const char* const kSheetTexture = "pvr/mainmenu.png";
const char* const kSheetFrames = "pvr/mainmenu.plist";
// The far bands crawl, the near ones drift: a slow parallax.
constexpr float kHillsSpeed = 2.0f;
constexpr float kDunesSpeed = 5.0f;
constexpr float kSeaSpeed = 9.0f;

CCSprite* frameSprite(const char* name)
{
    CCSpriteFrame* frame = CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName(name);
    if (!frame) {
        LOG_ERROR << "main menu backdrop: no frame" << name;
        return nullptr;
    }
    return CCSprite::createWithSpriteFrame(frame);
}

}  // namespace

MainMenuAnimation* MainMenuAnimation::create()
{
    auto* animation = new MainMenuAnimation();
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(kSheetFrames);
    if (!animation->initWithFile(kSheetTexture, 16) || !animation->build()) {
        delete animation;
        return nullptr;
    }
    animation->autorelease();
    return animation;
}

bool MainMenuAnimation::build()
{
    if (getTexture())
        getTexture()->setAliasTexParameters();
    const float width = std::max(1.0f, screenSize.width);
    const float height = std::max(1.0f, screenSize.height);

    CCSprite* sky = frameSprite("mainmenu_backdropSky.png");
    if (!sky)
        return false;
    sky->setAnchorPoint(CCPointZero);
    sky->setScaleX(width / sky->getContentSize().width);
    sky->setScaleY(height / sky->getContentSize().height);
    addChild(sky);

    // The bands are 200 picture pixels wide: magnified so one copy spans the
    // screen, in whole pixels so the grain stays square.
    CCSprite* probe = frameSprite("mainmenu_backdropHills.png");
    if (!probe)
        return false;
    m_magnification = std::max(1, static_cast<int>(std::ceil(width / probe->getContentSize().width)));
    const float m = static_cast<float>(m_magnification);

    if (CCSprite* sun = frameSprite("mainmenu_backdropSun.png")) {
        sun->setScale(m);
        sun->setPosition(ccp(width * 0.78f, height * 0.58f));
        addChild(sun);
    }
    const struct {
        float x, y, speed;
    } clouds[] = {{0.12f, 0.80f, 6.0f}, {0.55f, 0.70f, 4.0f}, {0.86f, 0.86f, 7.5f}};
    for (const auto& c : clouds) {
        CCSprite* cloud = frameSprite("mainmenu_backdropCloud.png");
        if (!cloud)
            return false;
        cloud->setScale(m);
        cloud->setAnchorPoint(ccp(0, 0.5f));
        cloud->setPosition(ccp(width * c.x, height * c.y));
        addChild(cloud);
        m_clouds.push_back(Cloud{cloud, c.speed, width * c.x});
    }
    return addBand("mainmenu_backdropHills.png", height * 0.12f, kHillsSpeed) &&
        addBand("mainmenu_backdropDunes.png", 0.0f, kDunesSpeed) &&
        addBand("mainmenu_backdropSea.png", 0.0f, kSeaSpeed);
}

bool MainMenuAnimation::addBand(const char* frame, float y, float speed)
{
    Band band;
    band.speed = speed;
    band.y = y;
    for (CCSprite*& tile : band.tiles) {
        tile = frameSprite(frame);
        if (!tile)
            return false;
        tile->setAnchorPoint(CCPointZero);
        tile->setScale(static_cast<float>(m_magnification));
        addChild(tile);
    }
    band.tileWidth = band.tiles[0]->getContentSize().width * static_cast<float>(m_magnification);
    placeBand(band);
    m_bands.push_back(band);
    return true;
}

void MainMenuAnimation::placeBand(Band& band)
{
    // Whole screen pixels, so the magnified pixels never blur or shimmer.
    const float x = -std::floor(band.drift);
    band.tiles[0]->setPosition(ccp(x, band.y));
    band.tiles[1]->setPosition(ccp(x + band.tileWidth, band.y));
}

void MainMenuAnimation::onEnter()
{
    GUIBatchNodeMenu::onEnter();
    scheduleUpdate();
}

void MainMenuAnimation::onExit()
{
    unscheduleUpdate();
    GUIBatchNodeMenu::onExit();
}

void MainMenuAnimation::update(float dt)
{
    if (!(dt > 0) || dt > 1.0f)
        return;
    for (Band& band : m_bands) {
        band.drift = std::fmod(band.drift + band.speed * dt, band.tileWidth);
        placeBand(band);
    }
    const float width = screenSize.width;
    for (Cloud& cloud : m_clouds) {
        const float cloudWidth = cloud.sprite->getContentSize().width * cloud.sprite->getScaleX();
        cloud.x -= cloud.speed * dt;
        // Gone off the left edge: back in from the right.
        if (cloud.x + cloudWidth < 0)
            cloud.x += width + cloudWidth;
        cloud.sprite->setPosition(ccp(std::floor(cloud.x), cloud.sprite->getPosition().y));
    }
}
