// GameLayer: the picture behind the world, the HUD's four menu buttons and
// the windows the layer opens (goals, day cleared, background gallery, share)
// through the HUD (SceneHud).
#include <string>

#include "SimpleAudioEngine.h"
#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "base/ScreenMetrics.h"
#include "base/Utils.h"
#include "profile/Profile.h"
#include "goals/AchievementManager.h"
#include "gui/GUIButton.h"
#include "scene/GameLayer.h"
#include "scene/SceneHud.h"

USING_NS_CC;

namespace {

constexpr const char* kRewards = "backgrounds/Rewards/";
constexpr const char* kMissions = "backgrounds/Missions/";
constexpr int kPaletteMenu = 1;
constexpr int kToolMenu = 2;
constexpr int kWorldSettingsMenu = 3;
constexpr int kWorldMenu = 4;

bool resourceExists(const std::string& path)
{
    return CCFileUtils::sharedFileUtils()->isFileExist(path);
}

// "name.png" -> "name_en.png": every "." gets the language's file suffix.
std::string languageVariant(const std::string& name)
{
    CCString* suffix = LocalUtils::localize("files_lang");
    const std::string lang = suffix ? suffix->getString() : std::string();
    std::string out;
    for (char c : name) {
        if (c == '.')
            out += lang;
        out += c;
    }
    return out;
}

}  // namespace

void GameLayer::changeBackground(const char* name, bool isDefault)
{
    const std::string file = name ? name : "";
    LOG << file;
    if (m_backgroundSprite) {
        m_backgroundSprite->removeFromParentAndCleanup(true);
        m_backgroundSprite = nullptr;
    }
    std::string path;
    if (resourceExists(kRewards + file)) {
        if (!isDefault) {
            CC_SAFE_RELEASE(m_backgroundName);
            m_backgroundName = new CCString(file);
            LOG << "changeBackground: Rewards - " << file;
        } else {
            LOG << "changeBackground: Rewards (default) - " << file;
        }
        path = kRewards + file;
    } else if (isDefault) {
        LOG << "changeBackground: Missions (default)- " << file;
        path = kMissions + file;
    } else {
        const std::string chosen = resourceExists(kMissions + file) ? file : languageVariant(file);
        CC_SAFE_RELEASE(m_backgroundName);
        m_backgroundName = new CCString(chosen);
        LOG << "changeBackground: Missions - " << chosen;
        path = kMissions + chosen;
    }

    CCSprite* sprite = resourceExists(path) ? CCSprite::create(path.c_str()) : nullptr;
    m_backgroundSprite = sprite;
    if (!sprite) {
        LOG_ERROR << "cant find background " << file;
        return;
    }
    if (sprite->getTexture())
        sprite->getTexture()->setAliasTexParameters();
    const float p = static_cast<float>(pixelSize > 0 ? pixelSize : 1);
    sprite->setScale(p * p * (m_world.bigWorld ? 2.0f : 1.0f));
    sprite->setAnchorPoint(CCPointZero);
    sprite->setPosition(CCPointZero);
    addChild(sprite, -100);
}

bool GameLayer::toggleBackground()
{
    if (m_backgroundOn) {
        m_backgroundOn = false;
        changeBackground("background.png", true);
    } else {
        m_backgroundOn = true;
        // No chosen picture yet: nothing to show (not a crash).
        if (m_backgroundName) {
            const std::string chosen = m_backgroundName->getString();
            changeBackground(chosen.c_str(), false);
        } else if (m_backgroundSprite) {
            m_backgroundSprite->removeFromParentAndCleanup(true);
            m_backgroundSprite = nullptr;
        }
    }
    return m_backgroundOn;
}

void GameLayer::resetBackground()
{
    CC_SAFE_RELEASE(m_backgroundName);
    m_backgroundName = new CCString("peaceful.png");
    m_backgroundOn = true;
}

bool GameLayer::backgroundsWindowShown()
{
    return sceneHud().backgroundsWindowShown(*this);
}

void GameLayer::onMenuButton(CCObject* sender, int32_t kind)
{
    // Without a sender the press is dropped (and logged, as for a broken button).
    if (!sender) {
        LOG_ERROR << "NO SENDER!";
        return;
    }
    if (kind != kWorldSettingsMenu && backgroundsWindowShown())
        return;
    SceneHud& hud = sceneHud();
    if (hud.todayGoalsShown(*this))
        hud.hideGoalsWindow(*this);
    if (kind != kToolMenu)
        unschedule(schedule_selector(GameLayer::beginStroke));
    hud.onMenuButton(*this, kind, dynamic_cast<GUIButton*>(sender));
}

void GameLayer::onElementsButton(CCObject* sender)
{
    onMenuButton(sender, kPaletteMenu);
}

void GameLayer::onToolsButton(CCObject* sender)
{
    onMenuButton(sender, kToolMenu);
}

void GameLayer::onWorldSettingsButton(CCObject* sender)
{
    onMenuButton(sender, kWorldSettingsMenu);
}

void GameLayer::onWorldButton(CCObject* sender)
{
    onMenuButton(sender, kWorldMenu);
}

void GameLayer::openGoalsWindow()
{
    if (m_suppressGoalsWindow) {
        m_suppressGoalsWindow = false;
        return;
    }
    if (backgroundsWindowShown())
        return;
    SceneHud& hud = sceneHud();
    hud.closeHud(*this);
    AchievementManager* goals = AchievementManager::getInstance();
    if (hud.todayGoalsShown(*this)) {
        hud.hideGoalsWindow(*this);
    } else if (!goals->hasActiveGoals() && goals->hasCurrentStep()) {
        m_levelMusicOn = false;
        CocosDenshion::SimpleAudioEngine::sharedEngine()->stopBackgroundMusic();
        goals->endDay(Profile::getInstance()->getGameMode());
    } else {
        // A day without a step (no goals for its mode) shows its empty list.
        hud.showTodayGoals(*this);
    }
    unschedule(schedule_selector(GameLayer::beginStroke));
}

void GameLayer::showDayCleared(CCArray* elements, CCArray* options, CCArray* backgrounds, CCArray* mana)
{
    sceneHud().showDayCleared(*this, elements, options, backgrounds, mana);
}

void GameLayer::openBackgroundsWindow()
{
    sceneHud().openBackgroundsWindow(*this);
}

void GameLayer::openShareWindow(CCObject* first, CCObject* second)
{
    sceneHud().openShareWindow(*this, first, second);
}
