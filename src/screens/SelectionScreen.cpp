#include "screens/SelectionScreen.h"

#include <string>

#include "SimpleAudioEngine.h"
#include "base/LocalUtils.h"
#include "base/ScreenMetrics.h"
#include "base/Utils.h"
#include "gui/GUIBatchNodeMenu.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "gui/GUIWindow.h"
#include "gui/WeakCallRelay.h"
#include "gui/ScreenUtils.h"

USING_NS_CC;

namespace {

constexpr float kLeaveDelay = 0.25f;

// Wrapping width of a caption, in button pixels less a margin each side.
constexpr float kCaptionMargin = 4.0f;

}  // namespace

CCScene* selectionScene(CCLayer* layer)
{
    CCScene* scene = CCScene::create();
    scene->addChild(layer);
    auto* borders = new GUIBorderLayer();
    scene->addChild(borders);
    borders->release();
    return scene;
}

bool SelectionScreen::initScreen(const char* sheet, CCString* title)
{
    if (!CCLayer::init())
        return false;
    setTouchEnabled(true);
    const std::string name(sheet);
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(("pvr/" + name + ".plist").c_str());
    m_font = name + "_ach_fontButtons";
    addChild(CCLayerColor::create(ccc4(18, 22, 40, 255)), -1);
    m_menu = GUIBatchNodeMenu::create(("pvr/" + name + ".png").c_str(), 64);
    if (!m_menu)
        return true;
    if (m_menu->getTexture())
        m_menu->getTexture()->setAliasTexParameters();
    addChild(m_menu);

    useFont();
    m_titleLabel = GUILabel::create();
    m_titleLabel->setText(title);
    m_titleLabel->setAnchorPoint(ccp(0.5f, 0.5f));
    m_titleLabel->setScale(static_cast<float>(2 * screenRatio) * 16.0f / GUILabel::fontSize);
    m_titleLabel->setColor(ccc3(255, 226, 140));
    m_titleLabel->setPosition(scaledPoint(224, 276));
    addChild(m_titleLabel, 1);

    m_backButton = addButton(callfuncO_selector(SelectionScreen::goBack), nullptr, (name + "_back.png").c_str(),
                             scaledPoint(16, 10));
    if (m_backButton)
        addCaption(m_backButton, LocalUtils::localize("SelectionBack"), ccc3(255, 255, 255));
    return true;
}

void SelectionScreen::useFont() const
{
    GUILabel::setFontName(m_font.c_str());
}

GUIButton* SelectionScreen::addButton(SEL_CallFuncO selector, CCObject* value, const char* frame, const CCPoint& at)
{
    if (!m_menu)
        return nullptr;
    // Through a relay: the screen's own buttons must not keep it alive.
    CCObject* action =
        CCCallFuncO::create(WeakCallRelay::create(this, selector), callfuncO_selector(WeakCallRelay::fire), value);
    GUIButton* button = GUIButton::create(action, frame, nullptr);
    if (!button)
        return nullptr;
    button->setScale(static_cast<float>(2 * screenRatio));
    button->setPosition(at);
    button->setActivateDelayed(true);
    m_menu->addChild(button);
    return button;
}

GUILabel* SelectionScreen::addCaption(GUIButton* button, CCString* text, const ccColor3B& colour)
{
    const CCSize box = button->getContentSize();
    const float scale = 10.0f / GUILabel::fontSize;
    auto line = [&](const std::string& words, const CCPoint& anchor, float y) {
        GUILabel* label = GUILabel::create();
        label->setText(CCString::create(words));
        label->setAnchorPoint(anchor);
        label->setPosition(ccp(box.width * 0.5f, y));
        label->setScale(scale);
        label->setColor(colour);
        button->addChild(label);
        return label;
    };
    const std::string words = text ? text->getString() : std::string();
    GUILabel* whole = line(words, ccp(0.5f, 0.5f), box.height * 0.5f);
    const size_t middle = words.size() / 2;
    size_t split = std::string::npos;
    for (size_t i = 0; i < words.size(); ++i)
        if (words[i] == ' ' &&
            (split == std::string::npos ||
             (i > middle ? i - middle : middle - i) < (split > middle ? split - middle : middle - split)))
            split = i;
    if (whole->getWidth() * scale <= box.width - 2 * kCaptionMargin || split == std::string::npos)
        return whole;
    // Too wide for one line: two, one standing on the middle and one
    // hanging below it, split at the space nearest the middle.
    button->removeChild(whole, true);
    GUILabel* first = line(words.substr(0, split), ccp(0.5f, 0), box.height * 0.5f + 1);
    line(words.substr(split + 1), ccp(0.5f, 1), box.height * 0.5f - 1);
    return first;
}

void SelectionScreen::onEnter()
{
    CCLayer::onEnter();
    BackButtonAdapter::getInstance()->addListener(this);
}

void SelectionScreen::onExit()
{
    BackButtonAdapter::getInstance()->removeListener(this);
    CCLayer::onExit();
}

void SelectionScreen::registerWithTouchDispatcher()
{
    CCDirector::sharedDirector()->getTouchDispatcher()->addTargetedDelegate(this, 0, true);
}

bool SelectionScreen::ccTouchBegan(CCTouch* touch, CCEvent*)
{
    // A popup over the screen takes the touches first.
    if (GUIWindow* window = ScreenUtils::shownWindow())
        window->handleTouchBegan(touch);
    else if (m_menu && !m_leaving)
        m_menu->handleTouchBegan(touch);
    return true;
}

void SelectionScreen::ccTouchEnded(CCTouch* touch, CCEvent*)
{
    if (GUIWindow* window = ScreenUtils::shownWindow())
        window->handleTouchEnded(touch);
    else if (m_menu && !m_leaving)
        m_menu->handleTouchEnded(touch);
}

void SelectionScreen::onBackPressed()
{
    goBack();
}

void SelectionScreen::goBack(CCObject*)
{
    if (m_leaving)
        return;
    m_leaving = true;
    CocosDenshion::SimpleAudioEngine::sharedEngine()->playEffect(soundFilePath("sounds", "sfx_gui_back").c_str(),
                                                                 false);
    scheduleOnce(schedule_selector(SelectionScreen::leaveNow), kLeaveDelay);
}

void SelectionScreen::leaveNow(float)
{
    leave();
}
