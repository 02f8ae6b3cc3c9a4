#include "hud/GUIIngameMessage.h"

#include "SimpleAudioEngine.h"
#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "base/ScreenMetrics.h"
#include "base/Utils.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "gui/GUIPopup.h"
#include "hud/GUITopBar.h"
#include "profile/Profile.h"
#include "gui/BackButton.h"
#include "scene/SaveLoadUtils.h"
#include "gui/ScreenUtils.h"
#include "hud/FrontEnd.h"

USING_NS_CC;

namespace {

GUIIngameMessage* g_message = nullptr;

constexpr const char* kSheetTexture = "pvr/intro.pvr.ccz";
constexpr const char* kSheetFallback = "pvr/intro.png";
constexpr const char* kSheetFrames = "pvr/intro.plist";
constexpr const char* kTextFont = "intro_ach_colorFont";
constexpr const char* kButtonFont = "intro_ach_fontButtons";
const ccColor3B kTextColour{36, 75, 98};
const ccColor3B kCaptionColour{255, 255, 255};

using Page = GUIIngameMessage::Page;

// The sequences' pages. Highlight points are in the top bar's units.
constexpr Page kStoryIntro[] = {
    {"intro_intro1.png", "IntroductionPart1", nullptr, 0, 0},
    {"intro_intro2.png", "IntroductionPart2", nullptr, 0, 0},
    {"intro_intro3.png", "IntroductionPart3", "intro_element.png", 0, 132},
    {"intro_intro4.png", "IntroductionPart4", "intro_day.png", 135, 132},
    {"intro_intro5.png", "IntroductionPart5", "intro_day.png", 175, 132},
};
constexpr Page kFreeModeIntro[] = {
    {"intro_freemode1.png", "IntroductionFreePart1", nullptr, 0, 0},
    {"intro_freemode2.png", "IntroductionFreePart2", "intro_day.png", 82, 132},
    {"intro_freemode3.png", "IntroductionFreePart3", nullptr, 0, 0},
    {"intro_freemode4.png", "IntroductionFreePart4", "intro_save.png", 151, 132},
    {"intro_freemode5.png", "IntroductionFreePart5", "intro_camera.png", 210, 132},
};
constexpr Page kReminderDay2[] = {{"intro_day2.png", "StoryReminderIntro1", "intro_glow_day2.png", 83, 132}};
constexpr Page kReminderDay3[] = {{"intro_day3.png", "StoryReminderIntro2", "intro_glow_day3.png", 0, 132}};
constexpr Page kReminderDay4[] = {{"intro_day4.png", "StoryReminderIntro3", "intro_glow_day4.png", 112, 132}};
constexpr Page kOutro[] = {{"intro_outro.png", "Outro", nullptr, 0, 0}};

template <size_t N> constexpr int countOf(const Page (&)[N])
{
    return static_cast<int>(N);
}

void playNextSound()
{
    CocosDenshion::SimpleAudioEngine::sharedEngine()->playEffect(soundFilePath("sounds", "sfx_gui_next").c_str(),
                                                                 false);
}

void unlockBar()
{
    GUITopBar* bar = GUITopBar::getInstance();
    bar->setLocked(false);
    bar->resetButtons();
}

CCString* optional(const char* name)
{
    return name ? CCString::create(name) : nullptr;
}

CCSprite* frameSprite(CCString* frame)
{
    if (!frame)
        return nullptr;
    CCSprite* sprite = CCSprite::createWithSpriteFrameName(frame->getCString());
    if (!sprite)
        LOG << "in-game message: no frame" << frame->getCString();
    return sprite;
}

// A caption label of the current font, child of the button.
GUILabel* addCaption(GUIButton* button, const char* key, float size, const CCPoint& anchor, const CCPoint& at)
{
    GUILabel* label = GUILabel::create();
    label->setText(LocalUtils::localize(key));
    label->setAnchorPoint(anchor);
    label->setPosition(at);
    label->setScale(size / GUILabel::fontSize);
    label->setColor(kCaptionColour);
    button->addChild(label);
    return label;
}

// Fades a page node with what it holds (labels and buttons pass the
// opacity on to their children).
void fadeOutNode(CCNode* node)
{
    if (dynamic_cast<CCRGBAProtocol*>(node))
        node->runAction(CCFadeOut::create(GUIIngameMessage::kFadeSeconds));
}

}  // namespace

GUIIngameMessage* GUIIngameMessage::getInstance()
{
    if (!g_message) {
        g_message = new GUIIngameMessage();
        g_message->initWithSize(CCDirector::sharedDirector()->getWinSize());
    }
    return g_message;
}

GUIIngameMessage* GUIIngameMessage::existingInstance()
{
    return g_message;
}

void GUIIngameMessage::resetInstanceForTests()
{
    if (!g_message)
        return;
    GUIIngameMessage* message = g_message;
    g_message = nullptr;
    BackButtonAdapter::getInstance()->removeListener(message);
    if (message->m_background) {
        message->m_background->stopAllActions();
        message->m_background->removeAllChildrenWithCleanup(true);
    }
    message->removeFromParentAndCleanup(true);
    message->release();
}

CCPoint GUIIngameMessage::highlightPlacement(float x, float y)
{
    return ccp((x + 1.0f) * 1.0625f, y + 29.75f);
}

bool GUIIngameMessage::initWithSize(CCSize size)
{
    bool done = GUIWindow::initWithSize(size);
    // Shown by being attached, not slid in.
    m_state = Open;
    setVisible(true);
    setTouchEnabled(true);
    setPosition(CCPointZero);

    m_dimming = CCLayerColor::create(ccc4(0, 0, 0, 128), size.width, size.height);
    m_dimming->setAnchorPoint(CCPointZero);
    m_dimming->setPosition(CCPointZero);
    addChild(m_dimming);

    CCTexture2D::PVRImagesHavePremultipliedAlpha(true);
    m_batchNode = CCSpriteBatchNode::create(kSheetTexture, 500);
    if (!m_batchNode)
        m_batchNode = CCSpriteBatchNode::create(kSheetFallback, 500);
    if (!m_batchNode) {
        LOG_ERROR << "in-game message: no sheet" << kSheetTexture;
        return false;
    }
    if (m_batchNode->getTexture())
        m_batchNode->getTexture()->setAliasTexParameters();
    addChild(m_batchNode);
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(kSheetFrames);

    m_background = CCSprite::createWithSpriteFrameName("intro_background.png");
    if (!m_background) {
        LOG_ERROR << "in-game message: no page background";
        m_background = CCSprite::create();
    }
    m_background->setScale(sheetScale());
    m_background->setAnchorPoint(CCPointZero);
    m_background->setPosition(CCPointZero);
    m_buttonContainer = m_background;
    m_batchNode->addChild(m_background);

    const CCSize margin = visibleMargin();
    m_batchNode->setPosition(ccp(margin.width * 0.5f, margin.height * 0.5f));
    return done;
}

// --- the sequences -----------------------------------------------------------------

void GUIIngameMessage::startSequence()
{
    GUITopBar::getInstance()->setLocked(true);
    GUITopBar::getInstance()->holdNotifications();
    m_pageIndex = 0;
    m_closing = false;
    m_choicePage = false;
    if (m_background) {
        m_background->stopAllActions();
        m_background->setOpacity(255);
    }
}

void GUIIngameMessage::dismiss()
{
    // A window opened over the page meanwhile (today's goals) keeps the touches.
    ScreenUtils* screens = ScreenUtils::getInstance();
    if (screens->getCurrentWindow() == this)
        screens->setCurrentWindow(nullptr);
    BackButtonAdapter::getInstance()->removeListener(this);
    detach();
}

void GUIIngameMessage::detach()
{
    removeFromParentAndCleanup(true);
    // Back to the game: the notices that waited for the page come (unless
    // today's goals came up meanwhile).
    GUITopBar::getInstance()->showHeldNotifications();
}

void GUIIngameMessage::showStoryIntro()
{
    if (!m_storyIntroDone) {
        startSequence();
        showStoryIntroPage();
        return;
    }
    // Seen already this run: today's goals instead, unless a notice came up
    // over the day as it started: the notice keeps the touches, and the day
    // button shows the goals once it is answered.
    GUIPopup* popup = GUIPopup::getInstance();
    ScreenUtils::getInstance()->setCurrentWindow(popup->isShown() && !popup->isClosing() ? popup : nullptr);
    if (!popup->isShown())
        GUITopBar::getInstance()->onDayButton();
    unlockBar();
    dismiss();
}

void GUIIngameMessage::showStoryIntroPage()
{
    step(kStoryIntro, countOf(kStoryIntro), callfunc_selector(GUIIngameMessage::showStoryIntroPage),
         &GUIIngameMessage::endStoryIntro);
}

void GUIIngameMessage::endStoryIntro()
{
    m_storyIntroDone = true;
    Profile::getInstance()->save();
    unlockBar();
    closeToGame();
}

void GUIIngameMessage::showFreeModeIntro()
{
    if (!m_freeModeIntroDone) {
        startSequence();
        showFreeModeIntroPage();
        return;
    }
    unlockBar();
    dismiss();
}

void GUIIngameMessage::showFreeModeIntroPage()
{
    step(kFreeModeIntro, countOf(kFreeModeIntro), callfunc_selector(GUIIngameMessage::showFreeModeIntroPage),
         &GUIIngameMessage::endFreeModeIntro);
}

void GUIIngameMessage::endFreeModeIntro()
{
    m_freeModeIntroDone = true;
    Profile::getInstance()->save();
    unlockBar();
    closeToGame();
}

void GUIIngameMessage::showStoryReminder(int day)
{
    startSequence();
    switch (day) {
    case 2: showReminderDay2Page(); break;
    case 3: showReminderDay3Page(); break;
    case 4: showReminderDay4Page(); break;
    default:
        LOG << "in-game message: no reminder for day" << day;
        unlockBar();
        dismiss();
        break;
    }
}

void GUIIngameMessage::showReminderDay2Page()
{
    step(kReminderDay2, 1, callfunc_selector(GUIIngameMessage::showReminderDay2Page), &GUIIngameMessage::endReminder);
}

void GUIIngameMessage::showReminderDay3Page()
{
    step(kReminderDay3, 1, callfunc_selector(GUIIngameMessage::showReminderDay3Page), &GUIIngameMessage::endReminder);
}

void GUIIngameMessage::showReminderDay4Page()
{
    step(kReminderDay4, 1, callfunc_selector(GUIIngameMessage::showReminderDay4Page), &GUIIngameMessage::endReminder);
}

void GUIIngameMessage::endReminder()
{
    closeToGame();
    unlockBar();
}

void GUIIngameMessage::showFreeModeMessage()
{
    if (!m_freeModeMessageDone) {
        startSequence();
        showFreeModeMessagePage();
        return;
    }
    // Answered already this run: the wrapper attached the window; leave as
    // the introductions do when they are done, or the world would stay
    // frozen under a window that shows nothing.
    unlockBar();
    dismiss();
}

void GUIIngameMessage::showFreeModeMessagePage()
{
    // The sequence ends through a choice; later steps do nothing.
    if (m_closing || m_pageIndex != 0)
        return;
    beginStep();
    buildChoicePage(CCString::create("IntroductionFreeMode"), CCString::create("intro_day8.png"));
    unlockBar();
}

void GUIIngameMessage::showOutro()
{
    step(kOutro, 1, callfunc_selector(GUIIngameMessage::showOutro), &GUIIngameMessage::endOutro);
}

void GUIIngameMessage::endOutro()
{
    closeToPreviousScene();
    unlockBar();
}

// --- the page step ---------------------------------------------------------------------

bool GUIIngameMessage::beginStep()
{
    if (m_pageIndex != 0)
        playNextSound();
    if (m_background)
        m_background->removeAllChildrenWithCleanup(true);
    m_pageButton = m_freeModeButton = m_storyModeButton = nullptr;
    m_choicePage = false;
    ++m_pageIndex;
    return true;
}

void GUIIngameMessage::step(const Page* pages, int count, SEL_CallFunc self, void (GUIIngameMessage::*end)())
{
    // After the end, and while the window fades out, presses do nothing.
    if (m_closing || m_pageIndex > count)
        return;
    beginStep();
    if (m_pageIndex <= count) {
        const Page& page = pages[m_pageIndex - 1];
        buildPage(CCString::create(page.textKey), self, optional(page.picture), optional(page.highlight),
                  m_pageIndex == count, ccp(page.highlightX, page.highlightY));
        return;
    }
    (this->*end)();
}

// --- pages -------------------------------------------------------------------------------

void GUIIngameMessage::addPageText(CCString* textKey, CCString* picture)
{
    LOG << "in-game message: page" << (textKey ? textKey->getCString() : "");
    // Each page is a new question: the second click of a double click on
    // Next, or a click meant for the world as the page comes up, does not
    // turn a page the player never read.
    startOpening();
    BackButtonAdapter* adapter = BackButtonAdapter::getInstance();
    adapter->removeListener(this);
    adapter->addListener(this);
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(kSheetFrames);
    GUILabel::setFontName(kTextFont);
    GUILabel::lineSpacing = kLineSpacing;
    if (m_background) {
        GUILabel* text = GUILabel::create();
        text->setScale(10.0f / GUILabel::fontSize);
        text->setColor(kTextColour);
        // The pages colour their key words.
        text->setMarkup(true);
        text->setColoredText(LocalUtils::localizeCCString(textKey), kTextWidth);
        text->setAnchorPoint(CCPointZero);
        // The first line's baseline: its letters a little under the panel's top.
        text->setPosition(ccp(kTextX, kPanelTop - 19));
        m_background->addChild(text);
        if (CCSprite* sprite = frameSprite(picture)) {
            sprite->setAnchorPoint(CCPointZero);
            sprite->setPosition(ccp(kPictureX, kPictureY));
            m_background->addChild(sprite);
        }
    }
    GUILabel::lineSpacing = 0.0f;
    GUILabel::setFontName(kButtonFont);
}

void GUIIngameMessage::buildPage(CCString* textKey, SEL_CallFunc callback, CCString* picture, CCString* highlight,
                                 bool isLast, const CCPoint& highlightPoint)
{
    addPageText(textKey, picture);
    if (!m_background)
        return;
    if (CCSprite* glow = frameSprite(highlight)) {
        glow->setAnchorPoint(CCPointZero);
        glow->setPosition(highlightPlacement(highlightPoint.x, highlightPoint.y));
        m_background->addChild(glow);
    }
    CCCallFunc* action = CCCallFunc::create(this, callback);
    GUIButton* button = GUIButton::create(action, isLast ? "intro_button.png" : "intro_continue.png", nullptr);
    button->setAnchorPoint(ccp(1, 1));
    button->setPosition(ccp(222, 30));
    button->setActivateDelayed(true);
    m_background->addChild(button);
    const float height = button->getContentSize().height;
    if (isLast) {
        button->setIconAt("intro_ok.png", ccp(24, height - 1));
        if (CCSprite* icon = button->getIcon()) {
            icon->setAnchorPoint(ccp(0, 1));
            icon->setVisible(true);
        }
        // Right-aligned at x 20 by its ink: the letter space after the last
        // glyph lies past it.
        const float okSize = 10.0f;
        const float trailing = GUILabel::letterSpace * okSize / GUILabel::fontSize;
        button->setText(LocalUtils::localize("GenericOkBut"), okSize, ccp(20 + trailing, (height + 2) * 0.5f),
                        ccp(1, 0.5f), kCaptionColour);
    } else {
        button->setText(LocalUtils::localize("GenericNextBut"), 10, ccp(6, (height + 2) * 0.5f), ccp(0, 0.5f),
                        kCaptionColour);
    }
    m_pageButton = button;
}

void GUIIngameMessage::buildChoicePage(CCString* textKey, CCString* picture)
{
    addPageText(textKey, picture);
    if (!m_background)
        return;
    struct Choice {
        const char* frame;
        CCPoint at;
        SEL_CallFunc action;
        const char* first;
        const char* second;
        GUIButton** field;
    };
    const Choice choices[] = {
        {"intro_freemode.png", ccp(97, 7), callfunc_selector(GUIIngameMessage::onChoseFreeMode), "GoFreeModeLabel1",
         "GoFreeModeLabel2", &m_freeModeButton},
        {"intro_continue.png", ccp(173, 7), callfunc_selector(GUIIngameMessage::onChoseStoryMode), "GoStoryModeLabel1",
         "GoStoryModeLabel2", &m_storyModeButton},
    };
    // Two lines at twice the font's pixels, centred on the button with two
    // font pixels between the first line's descenders and the second's letters.
    const float unit = 2.0f / sheetScale();
    const float ascent = (GUILabel::fontSize - GUILabel::baseLine) * unit, descent = GUILabel::baseLine * unit;
    for (const Choice& choice : choices) {
        GUIButton* button = GUIButton::create(CCCallFunc::create(this, choice.action), choice.frame, nullptr);
        button->setAnchorPoint(CCPointZero);
        button->setPosition(choice.at);
        button->setActivateDelayed(true);
        const CCSize size = button->getContentSize();
        const float lower = (size.height - 2 * (ascent + descent) - 2 * unit) / 2 + descent;
        const float upper = lower + ascent + descent + 2 * unit;
        // The two lines are the caption; the button's own empty one goes.
        button->setText(LocalUtils::localize(choice.first), unit * GUILabel::fontSize, ccp(size.width / 2, upper),
                        ccp(0.5f, 0), kCaptionColour);
        addCaption(button, choice.second, unit * GUILabel::fontSize, ccp(0.5f, 0), ccp(size.width / 2, lower));
        m_background->addChild(button);
        *choice.field = button;
    }
    m_choicePage = true;
}

// --- ends -----------------------------------------------------------------------------------

void GUIIngameMessage::fadeOutTo(SEL_CallFunc finish)
{
    m_closing = true;
    BackButtonAdapter::getInstance()->removeListener(this);
    if (!m_background) {
        (this->*finish)();
        return;
    }
    m_background->stopAllActions();
    m_background->setOpacity(255);
    for (CCObject* child : *m_background->getChildren())
        fadeOutNode(static_cast<CCNode*>(child));
    m_background->runAction(
        CCSequence::create(CCFadeOut::create(kFadeSeconds), CCCallFunc::create(this, finish), nullptr));
}

void GUIIngameMessage::closeToGame()
{
    fadeOutTo(callfunc_selector(GUIIngameMessage::onClosedToGame));
}

void GUIIngameMessage::closeToPreviousScene()
{
    fadeOutTo(callfunc_selector(GUIIngameMessage::onClosedToPreviousScene));
}

void GUIIngameMessage::closeToFreeMode()
{
    fadeOutTo(callfunc_selector(GUIIngameMessage::onClosedToFreeMode));
}

void GUIIngameMessage::onClosedToGame()
{
    ScreenUtils::getInstance()->setCurrentWindow(nullptr);
    // Story, campaign or daily quest: today's goals.
    if (!SaveLoadUtils::isFreePlay())
        GUITopBar::getInstance()->onDayButton();
    detach();
}

void GUIIngameMessage::onClosedToPreviousScene()
{
    LOG << "TESTIIINGGGGGGGGGGG!!!!!!!!!";
    ScreenUtils::getInstance()->setCurrentWindow(nullptr);
    removeFromParentAndCleanup(true);
    unlockBar();
    popSceneAfterDelay(0.25f);
}

void GUIIngameMessage::onClosedToFreeMode()
{
    LOG << "TESTIIINGGGGGGGGGGG!!!!!!!!!";
    ScreenUtils::getInstance()->setCurrentWindow(nullptr);
    removeFromParentAndCleanup(true);
    unlockBar();
    CocosDenshion::SimpleAudioEngine::sharedEngine()->stopBackgroundMusic();
    frontEnd().startFreeMode();
}

void GUIIngameMessage::choose(bool freeMode)
{
    // One choice only: a second press while the first fades is ignored.
    if (m_closing || !m_choicePage)
        return;
    BackButtonAdapter::getInstance()->removeListener(this);
    m_freeModeMessageDone = true;
    Profile::getInstance()->save();
    if (freeMode)
        closeToFreeMode();
    else
        closeToGame();
}

void GUIIngameMessage::onChoseFreeMode()
{
    choose(true);
}

void GUIIngameMessage::onChoseStoryMode()
{
    choose(false);
}
