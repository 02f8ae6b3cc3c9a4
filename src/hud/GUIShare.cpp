#include "hud/GUIShare.h"

#include <algorithm>
#include <cmath>

#include "SimpleAudioEngine.h"
#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "base/PlatformUtils.h"
#include "base/ScreenMetrics.h"
#include "base/StatsUtils.h"
#include "base/Utils.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "gui/GUIPopup.h"
#include "hud/GUITopBar.h"
#include "hud/GameHost.h"
#include "platform/SaveFileDialog.h"
#include "profile/Profile.h"
#include "scene/GameLayer.h"
#include "gui/ScreenUtils.h"
#include "world/CCMutableTexture2D.h"
#include "world/World.h"
#include "gui/Retained.h"

USING_NS_CC;

namespace {

constexpr const char* kSheet = "pvr/guishare.pvr.ccz";
constexpr const char* kFrames = "pvr/guishare.plist";
constexpr ccColor3B kBubbleInk = {36, 75, 98};

int32_t g_shareCounter = 0;

void playSound(const char* name)
{
    CocosDenshion::SimpleAudioEngine::sharedEngine()->playEffect(soundFilePath("sounds", name).c_str(), false);
}

}  // namespace

GUIShare* GUIShare::create(CCSize size)
{
    auto* window = new GUIShare();
    window->initWithSize(size);
    window->autorelease();
    return window;
}

GUIShare::~GUIShare()
{
    BackButtonAdapter::getInstance()->removeListener(this);
    hold(m_worldImage, static_cast<CCImage*>(nullptr));
    hold(m_screenImage, static_cast<CCImage*>(nullptr));
}

int32_t GUIShare::getShareCounter()
{
    return g_shareCounter;
}

bool GUIShare::initWithSize(CCSize size)
{
    const bool done = GUIWindow::initWithSize(size);
    const float s = static_cast<float>(screenRatio);
    if (CCNode* old = getChildByTag(kDimTag))
        old->removeFromParentAndCleanup(true);
    addChild(CCLayerColor::create(ccc4(0, 0, 0, 150), size.width, size.height), 0, kDimTag);

    CCTexture2D::PVRImagesHavePremultipliedAlpha(true);
    m_batchNode = CCSpriteBatchNode::create(kSheet, 500);
    if (m_batchNode) {
        if (m_batchNode->getTexture())
            m_batchNode->getTexture()->setAliasTexParameters();
        addChild(m_batchNode);
    }
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(kFrames);

    m_windowSprite = CCSprite::createWithSpriteFrameName("guishare_share_window.png");
    if (m_windowSprite && m_batchNode) {
        m_windowSprite->setScale(4 * s);
        m_windowSprite->setPosition(ccp(size.width / 2 - 28 * s, size.height / 2 + 10 * s));
        m_batchNode->addChild(m_windowSprite);
        m_buttonContainer = m_windowSprite;
    }
    g_shareCounter = std::clamp(Profile::getInstance()->getShareCount(), 0, kShareLimit);
    // The game layer lets it go once it has slid out.
    setRemoveOnClose(true);
    return done;
}

void GUIShare::cleanup()
{
    clearContent();
    GUIWindow::cleanup();
}

void GUIShare::clearContent()
{
    if (m_snapshot)
        m_snapshot->removeFromParentAndCleanup(true);
    if (m_bubbleLabel)
        m_bubbleLabel->removeFromParentAndCleanup(true);
    if (m_okButton)
        m_okButton->removeFromParentAndCleanup(true);
    if (m_saveButton)
        m_saveButton->removeFromParentAndCleanup(true);
    m_snapshot = nullptr;
    m_bubbleLabel = nullptr;
    m_okButton = m_saveButton = nullptr;
}

void GUIShare::buildContent(CCObject* worldImage, CCObject* screenImage)
{
    clearContent();
    const float s = static_cast<float>(screenRatio);
    auto* world = dynamic_cast<CCImage*>(worldImage);
    auto* screen = dynamic_cast<CCImage*>(screenImage);
    hold(m_worldImage, world);
    hold(m_screenImage, screen);

    // A big world's picture has twice the cells: drawn at half the scale.
    GameLayer* layer = GameLayer::existingInstance();
    const float f = layer && layer->getWorld().bigWorld ? 0.5f : 1.0f;
    if (CCMutableTexture2D* texture = world ? CCMutableTexture2D::createWithImage(world) : nullptr) {
        m_snapshot = CCSprite::createWithTexture(texture);
        if (m_snapshot) {
            texture->setAliasTexParameters();
            m_snapshot->setScale(4 * s * f);
            m_snapshot->setPosition(ccp(m_size.width / 2 + 32 * s, m_size.height / 2 - 8 * s));
            addChild(m_snapshot, 1);
        }
    } else {
        LOG << "share window: no picture of the world to show";
    }
    if (!m_windowSprite)
        return;
    const CCSize window = m_windowSprite->getContentSize();

    GUILabel::setFontName("guishare_ach_colorFont");
    m_bubbleLabel = GUILabel::create();
    m_bubbleLabel->scaleToSize(10);
    m_bubbleLabel->setColoredText(LocalUtils::localize("ShareBubbleLabel"), 180);
    m_bubbleLabel->setColor(kBubbleInk);
    m_bubbleLabel->setAnchorPoint(CCPointZero);
    m_bubbleLabel->setPosition(ccp(window.width * 0.25f - 16, window.height / 1.17f + 8));
    m_windowSprite->addChild(m_bubbleLabel);

    GUILabel::setFontName("guishare_ach_fontButtons");
    m_okButton = GUIButton::create(CCCallFunc::create(this, callfunc_selector(GUIShare::onOkPressed)),
                                   "guishare_btnClose.png", nullptr);
    const CCSize ok = m_okButton->getContentSize();
    m_okButton->setText(LocalUtils::localize("GenericOkBut"), 10, ccp(ok.width / 2 - 2, ok.height / 2 + 1));
    m_okButton->setAnchorPoint(ccp(0.5f, 0.5f));
    m_okButton->setPosition(ccp(window.width / 2 + 80, 8));
    m_okButton->setActivateDelayed(true);
    m_windowSprite->addChild(m_okButton);

    m_saveButton = GUIButton::create(CCCallFunc::create(this, callfunc_selector(GUIShare::saveScreenshotAs)),
                                     "guishare_share_button.png", "guishare_share_btnSave.png");
    const CCSize save = m_saveButton->getContentSize();
    m_saveButton->setText(LocalUtils::localize("SaveUniverseNameBut"), 10,
                          ccp(save.width / 2 - 4, save.height / 2 - 1));
    m_saveButton->setAnchorPoint(ccp(1, 0.5f));
    m_saveButton->setPosition(ccp(m_okButton->getPosition().x - 28, 8));
    m_saveButton->setActivateDelayed(true);
    // The caption, centred left of the disk icon, is set smaller where it
    // would run under the icon or off the button ("Sauvegarder").
    const float centre = save.width / 2 - 4;
    float right = save.width - 3;
    if (CCSprite* icon = m_saveButton->getIcon()) {
        icon->setPosition(ccp(icon->getPosition().x + save.width / 2 - 8, icon->getPosition().y));
        right = icon->boundingBox().getMinX() - 2;
    }
    GUILabel* caption = m_saveButton->getLabel();
    GUILabel* okCaption = m_okButton->getLabel();
    if (caption && okCaption) {
        caption->shrinkToWidth(2 * std::fmin(centre - 3, right - centre));
        // The window's two captions at one size.
        okCaption->setScale(std::fmin(okCaption->getScale(), caption->getScale()));
    }
    m_windowSprite->addChild(m_saveButton);
}

void GUIShare::toggle()
{
    GUITopBar* bar = GUITopBar::getInstance();
    if (m_state == Open) {
        bar->setLocked(false);
        bar->resetButtons();
        close();
        return;
    }
    if (!mayOpenAsCurrent())
        return;
    bar->setLocked(true);
    openAsCurrent();
}

void GUIShare::onOkPressed()
{
    playSound("sfx_gui_next");
    if (g_shareCounter < kShareLimit) {
        ++g_shareCounter;
        if (g_shareCounter < kShareLimit) {
            Profile* profile = Profile::getInstance();
            profile->setShareCount(g_shareCounter);
            profile->setShareVersion(Profile::currentVersionNumber());
            StatsUtils::earnedExternalMana(CCString::create("Twitter"), kReward);
            if (!profile->isRewardsOff())
                profile->setPendingMana(profile->getPendingMana() + kReward);
            profile->save();
            ScreenUtils::showPopup(LocalUtils::localizeCCStringWithVar(CCString::create("TweetRewardMessage"),
                                                                       CCString::createWithFormat("%d", kReward)),
                                   nullptr, nullptr, nullptr, nullptr, GUIPopup::Message);
        }
    }
    if (m_state == Open)
        toggle();
}

void GUIShare::onBackPressed()
{
    LOG << "share window: back";
    onOkPressed();
}

void GUIShare::saveScreenshotAs()
{
    if (m_state != Open)
        return;
    // The dialog is another program's window: full screen is left for it
    // and taken up again, the window the player had coming back as it was.
    // A window is left alone.
    CCEGLView* view = CCEGLView::sharedOpenGLView();
    const bool fullScreen = view->isFullscreen();
    if (fullScreen) {
        const CCSize window = view->getWindowSize();
        view->exitFullscreen(0, 0, static_cast<int>(window.width), static_cast<int>(window.height), 0, 0);
    }
    const platform::SaveDialogAnswer answer =
        platform::SaveFileDialog::askForPng("Save Screenshot As", screenshotsFolder);
    if (fullScreen)
        view->enterFullscreen(0, 0);

    if (answer.kind != platform::SaveDialogAnswer::Chosen) {
        LOG << "Save Screenshot Dialog Error: " << answer.code;
        return;
    }
    // A missing screen picture fails the save (logged): the window stays open.
    // A file the disk refused says why, as a world's save does, and the
    // window stays open for another place.
    int error = 0;
    if (saveScreenshotImage(m_screenImage, answer.path, &error))
        ScreenUtils::showPopup(LocalUtils::localize("CameraSaveDone"), this, callfunc_selector(GUIShare::closeIfOpen),
                               nullptr, nullptr, GUIPopup::Message);
    else if (error != 0)
        ScreenUtils::showPopup(LocalUtils::localizeWithVar("CameraSaveFailedBecause", saveFailureReason(error).c_str()),
                               nullptr, nullptr, nullptr, nullptr, GUIPopup::Message);
}

void GUIShare::closeIfOpen()
{
    if (m_state == Open)
        toggle();
}
