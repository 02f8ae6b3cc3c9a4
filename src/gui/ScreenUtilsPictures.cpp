// ScreenUtils: pictures of the screen and of a node; the world's picture and
// the saved worlds' thumbnails are the game's (through the toolkit's host).
#include "base/ScreenMetrics.h"
#include "gui/GuiHost.h"
#include "gui/ScreenUtils.h"

USING_NS_CC;

CCSprite* ScreenUtils::createWorldSnapshot()
{
    return guiHost().createWorldSnapshot();
}

CCImage* ScreenUtils::renderScreenToImage()
{
    const CCSize s = screenSize;
    const CCSize v = visibleSize;
    CCRenderTexture* whole = CCRenderTexture::create(static_cast<int>(s.width), static_cast<int>(s.height));
    whole->setPosition(CCPointZero);
    whole->setAnchorPoint(CCPointZero);
    whole->begin();
    if (CCScene* running = CCDirector::sharedDirector()->getRunningScene())
        running->visit();
    whole->end();

    const CCRect crop(static_cast<int>(0.5f * (s.width - v.width)), static_cast<int>(0.5f * (s.height - v.height)),
                      v.width, v.height);
    CCSprite* cropped = CCSprite::createWithTexture(whole->getTexture(), crop);
    cropped->setPosition(CCPointZero);
    cropped->setAnchorPoint(CCPointZero);
    CCRenderTexture* visible = CCRenderTexture::create(static_cast<int>(v.width), static_cast<int>(v.height));
    visible->setPosition(CCPointZero);
    visible->setAnchorPoint(CCPointZero);
    visible->begin();
    cropped->visit();
    visible->end();
    return visible->newCCImage(false);
}

CCImage* ScreenUtils::renderNodeToImage(CCNode* node)
{
    if (!node)
        return nullptr;
    const CCPoint anchor = node->getAnchorPoint();
    node->setAnchorPoint(CCPointZero);
    const CCSize size = node->getContentSize();
    CCRenderTexture* target = CCRenderTexture::create(static_cast<int>(size.width), static_cast<int>(size.height));
    target->begin();
    node->visit();
    target->end();
    node->setAnchorPoint(anchor);
    return target->newCCImage(true);
}

CCSprite* ScreenUtils::loadThumbnailSprite(CCString* worldName)
{
    return guiHost().loadThumbnailSprite(worldName);
}
