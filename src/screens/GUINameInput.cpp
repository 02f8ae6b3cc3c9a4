#include "screens/GUINameInput.h"

#include <string>

#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "profile/Profile.h"
#include "base/ScreenMetrics.h"
#include "base/Utils.h"
#include "gui/ScreenUtils.h"
#include "gui/GUIBatchNodeMenu.h"
#include "gui/GUIKeyboard.h"
#include "gui/GUILabel.h"
#include "gui/GUIPopup.h"
#include "gui/GUIProgressBar.h"
#include "gui/GUIWindow.h"
#include "online/ServerLink.h"
#include "platform/CloudStorage.h"
#include "screens/MainMenu.h"

USING_NS_CC;

namespace {

const char* const kSheetFrames = "pvr/InputName.plist";
const char* const kFont = "InputName_ach_fontButtons";

bool progressShown()
{
    return GUIProgressBar::getInstance()->getParent() != nullptr;
}

}  // namespace

GUINameInput* GUINameInput::create()
{
    GUINameInput* layer = new GUINameInput();
    layer->init();
    layer->autorelease();
    return layer;
}

CCScene* GUINameInput::scene(bool nameTaken)
{
    CCScene* scene = CCScene::create();
    GUINameInput* layer = create();
    layer->m_nameTaken = nameTaken;
    scene->addChild(layer);
    auto* borders = new GUIBorderLayer();
    scene->addChild(borders);
    borders->release();
    return scene;
}

bool GUINameInput::init()
{
    if (!CCLayer::init())
        return false;
    setTouchEnabled(true);
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(kSheetFrames);
    GUILabel::setFontName(kFont);
    const float scale = static_cast<float>(2 * screenRatio) * 10.0f / GUILabel::fontSize;
    m_titleLabel = GUILabel::create();
    m_titleLabel->setScale(scale * 1.5f);
    m_titleLabel->setText(LocalUtils::localize("NameInputTitle"));
    // In the strip above the keyboard's panel (168 units high at 4 x the UI
    // scale, centred), so that it stays in sight while the keyboard is up.
    const float panelTop = screenSize.height / 2 + 84.0f * static_cast<float>(4 * screenRatio);
    m_titleLabel->setAnchorPoint(ccp(0.5f, 0.5f));
    m_titleLabel->setPosition(ccp(screenSize.width / 2, (panelTop + screenSize.height) / 2));
    addChild(m_titleLabel);
    m_nameLabel = GUILabel::create();
    m_nameLabel->setScale(scale);
    m_nameLabel->setText(CCString::create(""));
    m_nameLabel->setAnchorPoint(ccp(0.5f, 0.5f));
    m_nameLabel->setPosition(scaledPoint(240, 280));
    addChild(m_nameLabel);
    return true;
}

void GUINameInput::onEnter()
{
    CCLayer::onEnter();
    // The keyboard dims everything under it: the title goes above it.
    if (CCNode* scene = getParent(); scene && m_titleLabel->getParent() == this) {
        m_titleLabel->retain();
        m_titleLabel->removeFromParentAndCleanup(false);
        scene->addChild(m_titleLabel, GUIKeyboard::kZOrder + 1);
        m_titleLabel->release();
    }
    BackButtonAdapter::getInstance()->addListener(this);
    schedule(schedule_selector(GUINameInput::watchProgress), 1.0f / 30);
    if (m_request != Request::None)
        return;
    Profile* profile = Profile::getInstance();
    if (m_nameTaken) {
        // Said over the keyboard, as a name typed here and refused is.
        m_request = Request::Retyping;
        showKeyboardForANewName();
        ScreenUtils::showPopup(LocalUtils::localize("NetErrorNameTaken"), nullptr, nullptr, nullptr, nullptr,
                               GUIPopup::Message);
        return;
    }
    if (profile->hasNickname()) {
        // A name kept from an earlier try: register it again, or go on
        // when there is no server to register with.
        m_nameLabel->setText(profile->getNickname());
        if (ServerLink::getInstance()->isConfigured())
            submitName();
        else
            goOnToMenu();
    } else {
        showKeyboard();
    }
    tellOfAnUnreadableProfile();
}

void GUINameInput::tellOfAnUnreadableProfile()
{
    std::string keptIn;
    if (!Profile::getInstance()->takeUnreadableNotice(keptIn))
        return;
    // Over the keyboard: after OK or the back key the name is typed as ever.
    CCString* text = keptIn.empty()
        ? LocalUtils::localize("ProfileUnreadable")
        : LocalUtils::localizeWithVar("ProfileUnreadableKept", (platform::CloudStorage::root() + "/" + keptIn).c_str());
    ScreenUtils::showPopup(text, nullptr, nullptr, nullptr, nullptr, GUIPopup::Message);
}

void GUINameInput::onExit()
{
    BackButtonAdapter::getInstance()->removeListener(this);
    unschedule(schedule_selector(GUINameInput::watchProgress));
    CCLayer::onExit();
}

void GUINameInput::registerWithTouchDispatcher()
{
    CCDirector::sharedDirector()->getTouchDispatcher()->addTargetedDelegate(this, 0, true);
}

bool GUINameInput::ccTouchBegan(CCTouch* touch, CCEvent*)
{
    if (GUIWindow* window = ScreenUtils::shownWindow())
        window->handleTouchBegan(touch);
    return true;
}

void GUINameInput::ccTouchMoved(CCTouch* touch, CCEvent*)
{
    if (GUIWindow* window = ScreenUtils::shownWindow())
        window->handleTouchMoved(touch);
}

void GUINameInput::ccTouchEnded(CCTouch* touch, CCEvent*)
{
    if (GUIWindow* window = ScreenUtils::shownWindow())
        window->handleTouchEnded(touch);
}

void GUINameInput::showKeyboard()
{
    ScreenUtils::showKeyboard(m_nameLabel, this, callfuncO_selector(GUINameInput::onNameEntered));
    GUIKeyboard::getInstance()->updateCharsLeft();
}

void GUINameInput::showKeyboardForANewName()
{
    // The refusal is said as the empty field's hint, in the player's
    // language: it is never text, so never taken for a name.
    m_nameLabel->setText(CCString::create(""));
    ScreenUtils::showKeyboard(m_nameLabel, this, callfuncO_selector(GUINameInput::onNameEntered),
                              LocalUtils::localize("NameDuplicate"));
}

void GUINameInput::onNameEntered(CCObject* text)
{
    auto* entered = dynamic_cast<CCString*>(text);
    std::string name = trimmedText(entered ? entered->getString() : std::string());
    if (name.empty()) {
        // No name: the keyboard stays up, its field saying why.
        LOG << "name screen: no name typed; the keyboard stays up";
        m_nameLabel->setText(CCString::create(""));
        ScreenUtils::showKeyboard(m_nameLabel, this, callfuncO_selector(GUINameInput::onNameEntered),
                                  LocalUtils::localize("NameInputEmpty"));
        return;
    }
    m_nameLabel->setText(CCString::create(name));
    Profile* profile = Profile::getInstance();
    profile->setNickname(CCString::create(name));
    profile->save();
    if (!ServerLink::getInstance()->isConfigured()) {
        // Offline: the name is all there is to do; the menu follows once the
        // keyboard has slid away (watchProgress).
        LOG << "no server configured: the name is kept and the game plays offline";
        m_request = Request::Succeeded;
        return;
    }
    submitName();
}

void GUINameInput::submitName()
{
    if (m_request == Request::Pending)
        return;
    m_request = Request::Pending;
    Profile* profile = Profile::getInstance();
    profile->setPendingCallback(this, callfunc_selector(GUINameInput::onRegistered));
    profile->setDuplicateNameHandler(this, callfunc_selector(GUINameInput::onNameRefused));
    ScreenUtils::getInstance()->setBusy(true);
    ScreenUtils::showProgress(this);
    GUIProgressBar::getInstance()->setFailedCallback(this, callfunc_selector(GUINameInput::onRequestFailed));
    // An empty result closes the bar at 100 on success.
    GUIProgressBar::getInstance()->setResultText(CCString::create(""));
    profile->ensureRegistered();
}

void GUINameInput::onLoginTimeout()
{
    // The bar also reaches 100 after a success: only a pending request times out.
    if (m_request != Request::Pending)
        return;
    m_request = Request::Failed;
    unscheduleAllSelectors();
    schedule(schedule_selector(GUINameInput::watchProgress), 1.0f / 30);
    LOG << "timeout";
    ScreenUtils::getInstance()->setBusy(false);
    GUIProgressBar* bar = GUIProgressBar::getInstance();
    bar->setResultText(LocalUtils::localize("NetErrorTimeout"));
    bar->showFailure();
}

void GUINameInput::onRegistered()
{
    if (m_request != Request::Pending)
        return;  // a late answer: the player has gone on or times out
    m_request = Request::Succeeded;
    if (!progressShown())
        goOnToMenu();
}

void GUINameInput::onNameRefused()
{
    if (m_request == Request::Pending)
        m_request = Request::Refused;
}

void GUINameInput::onRequestFailed()
{
    // A refusal keeps its state: it brings the keyboard back instead.
    if (m_request == Request::Pending)
        m_request = Request::Failed;
}

void GUINameInput::watchProgress(float)
{
    // The keyboard gives its window back when its slide ends: leaving before
    // that would leave the menu's touches going to a keyboard that is gone.
    if (progressShown() || GUIKeyboard::getInstance()->getParent())
        return;
    switch (m_request) {
    case Request::Succeeded:
    case Request::Failed: goOnToMenu(); break;
    case Request::Refused:
        m_request = Request::Retyping;
        showKeyboardForANewName();
        break;
    default: break;
    }
}

void GUINameInput::goOnToMenu()
{
    if (m_request == Request::Left)
        return;
    m_request = Request::Left;
    unschedule(schedule_selector(GUINameInput::watchProgress));
    ScreenUtils::getInstance()->setBusy(false);
    Profile::getInstance()->setDuplicateNameHandler(nullptr, nullptr);
    CCDirector::sharedDirector()->replaceScene(MainMenu::scene());
}
