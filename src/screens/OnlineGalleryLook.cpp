// The online gallery's look, shared by its list and its details: its sheet,
// labels in its font, captions that fit their buttons, stars and pictures.
#include "screens/OnlineGallery.h"

#include <algorithm>

#include "SimpleAudioEngine.h"
#include "base/LocalUtils.h"
#include "base/ScreenMetrics.h"
#include "base/Utils.h"
#include "gui/GUIBatchNodeMenu.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "gui/WeakCallRelay.h"
#include "hud/GUI.h"

USING_NS_CC;

namespace {

const char* const kSheetTexture = "pvr/onlinegallery.png";
const char* const kSheetFrames = "pvr/onlinegallery.plist";

}  // namespace

namespace galleryscreen {

const char* const kFont = "onlinegallery_ach_fontButtons";
const ccColor3B kTextColour{255, 255, 255};
const ccColor3B kMutedColour{180, 208, 230};
const ccColor3B kTitleColour{255, 226, 140};

void playSound(const char* name)
{
    CocosDenshion::SimpleAudioEngine::sharedEngine()->playEffect(soundFilePath("sounds", name).c_str(), false);
}

CCSprite* frameSprite(const char* frame)
{
    CCSpriteFrame* f = CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName(frame);
    CCSprite* sprite = f ? CCSprite::createWithSpriteFrame(f) : CCSprite::create();
    sprite->setAnchorPoint(CCPointZero);
    return sprite;
}

GUIBatchNodeMenu* sheetMenu(unsigned int capacity)
{
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(kSheetFrames);
    GUIBatchNodeMenu* menu = GUIBatchNodeMenu::create(kSheetTexture, capacity);
    if (!menu)
        return nullptr;
    if (menu->getTexture())
        menu->getTexture()->setAliasTexParameters();
    const CCSize margin = visibleMargin();
    menu->setAnchorPoint(CCPointZero);
    menu->setPosition(ccp(margin.width / 2, margin.height / 2));
    menu->setScale(sheetScale());
    return menu;
}

void setFittedText(GUILabel* label, const std::string& text, float maxWidth)
{
    std::string shown = text;
    label->setText(CCString::create(shown));
    // Too long: cut whole characters and end with an ellipsis.
    while (!shown.empty() && label->getWidth() * label->getScale() > maxWidth) {
        size_t cut = shown.size() - 1;
        while (cut > 0 && (static_cast<unsigned char>(shown[cut]) & 0xC0) == 0x80)
            --cut;
        shown.erase(cut);
        label->setText(CCString::create(shown + "\xE2\x80\xA6"));
    }
}

GUILabel* addLabel(CCNode* parent, const std::string& text, float size, const CCPoint& at, const CCPoint& anchor,
                   const ccColor3B& colour, float maxWidth)
{
    GUILabel::setFontName(kFont);
    GUILabel* label = GUILabel::create();
    label->setScale(size / GUILabel::fontSize);
    if (maxWidth > 0)
        setFittedText(label, text, maxWidth);
    else
        label->setText(CCString::create(text));
    label->setAnchorPoint(anchor);
    label->setPosition(at);
    label->setColor(colour);
    parent->addChild(label, 2);
    return label;
}

GUIButton* addButton(CCNode* menu, CCObject* target, SEL_CallFuncO selector, CCObject* value, const char* frame,
                     const char* icon, const CCPoint& at)
{
    // Through a relay: the screen's own buttons must not keep it alive.
    GUIButton* button = GUIButton::create(
        CCCallFuncO::create(WeakCallRelay::create(target, selector), callfuncO_selector(WeakCallRelay::fire), value),
        frame, icon);
    if (!button)
        return nullptr;
    button->setAnchorPoint(CCPointZero);
    button->setPosition(at);
    button->setActivateDelayed(true);
    menu->addChild(button);
    return button;
}

void addCaption(GUIButton* button, const char* key, float size)
{
    if (!button)
        return;
    const CCSize box = button->getContentSize();
    GUILabel::setFontName(kFont);
    button->setText(LocalUtils::localize(key), size, ccp(box.width / 2, box.height / 2), ccp(0.5f, 0.5f), kTextColour);
    // A unit of margin each side.
    button->getLabel()->shrinkToWidth(box.width - 4);
}

void addStars(CCNode* parent, double rating, const CCPoint& at, float scale)
{
    for (int i = 0; i < 5; ++i) {
        CCSprite* star = frameSprite(GUI::ratingStarFrame(rating, i));
        star->setScale(scale);
        star->setPosition(ccp(at.x + 7.5f * scale * i, at.y));
        parent->addChild(star, 2);
    }
}

std::string downloadsText(int32_t downloads)
{
    return downloads < 10000 ? std::to_string(downloads) : std::to_string(downloads / 1000) + "k";
}

CCTexture2D* textureOfPng(const std::string& png)
{
    CCImage image;
    if (!image.initWithImageData(png.data(), static_cast<int>(png.size()), CCImage::kFmtPng))
        return nullptr;
    auto* texture = new CCTexture2D();
    if (!texture->initWithImage(&image)) {
        texture->release();
        return nullptr;
    }
    texture->setAliasTexParameters();
    return texture;
}

CCSprite* fittedPicture(CCTexture2D* texture, const CCRect& box)
{
    CCSprite* picture = CCSprite::createWithTexture(texture);
    const CCSize size = picture->getContentSize();
    if (size.width <= 0 || size.height <= 0)
        return picture;
    // The whole world inside the box, centred, its proportions kept.
    const float scale = std::min(box.size.width / size.width, box.size.height / size.height);
    picture->setScale(scale);
    picture->setAnchorPoint(ccp(0.5f, 0.5f));
    picture->setPosition(ccp(box.getMidX(), box.getMidY()));
    return picture;
}

}  // namespace galleryscreen
