#include "gui/GUIModalPanel.h"

#include <string>

#include "base/LocalUtils.h"
#include "base/ScreenMetrics.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"

USING_NS_CC;

CCLayerColor* addModalDimming(CCNode* window, CCSize size, uint8_t opacity, int tag)
{
    CCLayerColor* dimming = CCLayerColor::create(ccc4(0, 0, 0, opacity), size.width, size.height);
    window->addChild(dimming, 0, tag);
    return dimming;
}

CCSpriteBatchNode* addModalSheet(CCNode* window, const char* sheet)
{
    const std::string path = std::string("pvr/") + sheet;
    CCTexture2D::PVRImagesHavePremultipliedAlpha(true);
    CCSpriteBatchNode* batch = CCSpriteBatchNode::create((path + ".pvr.ccz").c_str(), 500);
    if (!batch)
        batch = CCSpriteBatchNode::create((path + ".png").c_str(), 500);
    if (!batch)
        return nullptr;
    if (batch->getTexture())
        batch->getTexture()->setAliasTexParameters();
    window->addChild(batch, 1);
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile((path + ".plist").c_str());
    return batch;
}

CCSprite* addModalPanel(CCSpriteBatchNode* batch, const char* sheet, CCPoint at)
{
    CCSprite* panel = CCSprite::createWithSpriteFrameName((std::string(sheet) + "_back.png").c_str());
    if (!panel)
        return nullptr;
    panel->setScale(sheetScale());
    panel->setPosition(at);
    batch->addChild(panel);
    return panel;
}

void useModalFont(const char* sheet)
{
    GUILabel::setFontName((std::string(sheet) + "_ach_fontButtons").c_str());
    GUILabel::lineSpacing = 1;
}

GUIButton* addModalOkButton(CCNode* panel, CCObject* callback, const char* frame, const char* icon, CCPoint at,
                            float iconRightInset)
{
    GUIButton* button = GUIButton::create(callback, frame, icon);
    button->setAnchorPoint(ccp(0, 0.5f));
    button->setPosition(at);
    button->setActivateDelayed(true);
    const CCSize size = button->getContentSize();
    if (CCSprite* picture = button->getIcon())
        picture->setPosition(ccp(size.width - iconRightInset, size.height / 2));
    GUILabel* caption = GUILabel::create();
    caption->setText(LocalUtils::localize("GenericOkBut"));
    caption->setAnchorPoint(ccp(0.5f, 0.5f));
    caption->setPosition(ccp(size.width / 2 - 4, size.height / 2));
    caption->setScale(15.0f / GUILabel::fontSize);
    button->addChild(caption);
    panel->addChild(button);
    return button;
}
