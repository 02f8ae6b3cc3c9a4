#include "hud/GameHost.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <string_view>

#include "SimpleAudioEngine.h"
#include "base/AppVersion.h"
#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "profile/Profile.h"
#include "gui/ScreenUtils.h"
#include "base/Utils.h"
#include "elements/creatures/HumanLeader.h"
#include "elements/creatures/HumanRegistry.h"
#include "goals/AchievementManager.h"
#include "gui/GUIProgressBar.h"
#include "gui/GUIWindow.h"
#include "scene/SaveLoadUtils.h"
#include "hud/GUI.h"
#include "hud/GUIIngameMessage.h"
#include "hud/GUITopBar.h"
#include "hud/DeviceEditors.h"
#include "hud/ParticleEditor.h"
#include "hud/VehicleEditors.h"
#include "elements/creatures/Vehicles.h"
#include "hud/HumanEditor.h"
#include "hud/RobotEditor.h"
#include "online/ServerLink.h"
#include "platform/CloudStorage.h"
#include "scene/GameLayer.h"
#include "world/GameServices.h"
#include "world/OverLayer.h"
#include "world/World.h"

USING_NS_CC;

// --- the world host ----------------------------------------------------------

namespace {

GUI* hud()
{
    return GameLayer::getInstance()->getGUI();
}

}  // namespace

// A window over the world: the screen utilities' current window, while it is
// visible.
bool GameHost::windowShown()
{
    GUIWindow* window = ScreenUtils::getInstance()->getCurrentWindow();
    return window && window->isVisible();
}
bool GameHost::paused()
{
    return GameLayer::getInstance()->getPaused();
}
void GameHost::setPaused(bool v)
{
    GameLayer::getInstance()->setPaused(v);
}
bool GameHost::zoomedOut()
{
    return GameLayer::getInstance()->getZoomedOut();
}
void GameHost::setZoomedOut(bool v)
{
    GameLayer::getInstance()->setZoomedOut(v);
}

// Without a HUD (before the game layer has one) the world runs at the normal
// level.
int32_t GameHost::temperatureLevel()
{
    return hud() ? hud()->getTemperatureLevel() : 3;
}

void GameHost::refreshTemperature(int32_t level)
{
    if (hud())
        hud()->refreshTemperature(level);
}

CCString* GameHost::currentElement()
{
    return hud() ? hud()->getCurrentElement() : nullptr;
}
int32_t GameHost::brushSize()
{
    return hud() ? hud()->getBrushSize() : 1;
}
bool GameHost::touching()
{
    return GameLayer::getInstance()->getTouching();
}
CCArray* GameHost::touches()
{
    return GameLayer::getInstance()->getTouches();
}
CCArray* GameHost::previousTouches()
{
    return GameLayer::getInstance()->getPreviousTouches();
}
CCMutableTexture2D* GameHost::worldTexture()
{
    return GameLayer::getInstance()->getWorldTexture();
}
void GameHost::resizeWorldView(bool big)
{
    GameLayer::getInstance()->resizeWorldView(big);
}

void GameHost::afterStep()
{
    AchievementManager::getInstance()->checkMissions();
    AchievementManager::getInstance()->checkAchievements();
}

void GameHost::holdMusic(int32_t ticks)
{
    GameLayer::getInstance()->musicHoldTicks = ticks;
}

void GameHost::particleDestroyed(ParticleEditor* editor)
{
    if (editor)
        editor->particleDestroyed();
}

void GameHost::openVehiclePanel(Particle* vehicle, int kind)
{
    VehicleEditor::open(dynamic_cast<VehicleLeader*>(vehicle), kind);
}

void GameHost::showVehicleFuel(ParticleEditor* panel, float fraction)
{
    if (auto* lander = dynamic_cast<LanderEditor*>(panel))
        lander->showFuel(fraction);
}

void GameHost::showLimitWarning(const char* key)
{
    GUITopBar::getInstance()->showWarning(key);
}

bool GameHost::openEditor(Particle& particle, const char* window)
{
    return openDeviceEditor(particle, window);
}

void GameHost::openHumanEditor(Particle* human)
{
    HumanEditor::open(human);
}

void GameHost::refreshHumanEditor()
{
    HumanEditor::updateResourceIcons();
}

void GameHost::humanEditorLosesHuman(Particle* human)
{
    HumanEditor::humanLeaving(human);
}

void GameHost::closeHumanEditor()
{
    HumanEditor::closeOpen();
}

ParticleEditor* GameHost::openRobotEditor(Particle* robot)
{
    return RobotEditor::open(robot);
}

void GameHost::closeRobotEditor(ParticleEditor* editor)
{
    RobotEditor::closeWindow(editor);
}

bool GameHost::isFreePlay()
{
    return SaveLoadUtils::isFreePlay();
}

// --- the services ------------------------------------------------------------

namespace {

std::string stringOf(CCString* s)
{
    return s ? s->getString() : std::string();
}

}  // namespace

std::string saveFailureReason(int error)
{
    const char* key = nullptr;
    switch (error) {
    case ENOSPC: key = "SaveFailedNoSpace"; break;
    case EROFS: key = "SaveFailedReadOnly"; break;
    case EACCES:
    case EPERM: key = "SaveFailedDenied"; break;
    case EDQUOT: key = "SaveFailedQuota"; break;
    default: break;
    }
    if (key)
        return LocalUtils::localize(key)->getString();
    std::string said = std::strerror(error != 0 ? error : EIO);
    if (!said.empty())
        said[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(said[0])));
    return said;
}

namespace {

void wireStorageAndSound(GameServices& s)
{
    using CocosDenshion::SimpleAudioEngine;
    using platform::CloudStorage;
    s.fileExists = [](const std::string& name) { return CloudStorage::fileExists(name); };
    s.getFileSize = [](const std::string& name) { return CloudStorage::getFileSize(name); };
    s.fileRead = [](const std::string& name, void* buffer, int32_t size) {
        return CloudStorage::fileRead(name, buffer, size);
    };
    s.fileWrite = [](const std::string& name, const void* data, int32_t size) {
        return CloudStorage::fileWrite(name, data, size);
    };
    s.fileDelete = [](const std::string& name) { return CloudStorage::fileDelete(name); };
    s.lastFileWriteError = [] { return CloudStorage::lastWriteError(); };

    s.setMusicVolume = [](float volume) { SimpleAudioEngine::sharedEngine()->setBackgroundMusicVolume(volume); };
    s.setEffectsVolume = [](float volume) { SimpleAudioEngine::sharedEngine()->setEffectsVolume(volume); };
    s.playSound = [](const char* name) {
        SimpleAudioEngine::sharedEngine()->playEffect(soundFilePath("sounds", name).c_str());
    };
}

void wireHudAndTopBar(GameServices& s)
{
    // The HUD's switches flip the world's flags and refresh the bar; without
    // a HUD the world's flag alone.
    s.applyTemperature = [](World& w) {
        if (hud())
            hud()->applyTemperature();
        else
            w.temperatureField.setViewOn(!w.temperatureField.isViewOn());
    };
    s.applyLight = [](World& w) {
        if (hud())
            hud()->applyLight();
        else
            w.lightMap.setLightOn(!w.lightMap.isLightOn());
    };
    s.applySun = [](World& w) {
        if (hud())
            hud()->applySun();
        else
            w.lightMap.setSunOn(!w.lightMap.isSunOn());
    };
    s.applyWeather = [](World& w) {
        if (hud())
            hud()->applyWeather();
        else
            w.toggleWeather();
    };
    s.closeHudMenu = [] {
        if (hud())
            hud()->closeMenu();
    };
    // The label reads "NORMAL" at the middle of the HUD's five levels.
    s.temperatureLabelIsNormal = [] { return worldHost().temperatureLevel() == 3; };

    s.refreshTopBarMana = [] { GUITopBar::getInstance()->updateMana(); };
    s.setZoomButtonIcon = [](const char* frame) { GUITopBar::getInstance()->setZoomButtonIcon(frame); };
    s.setPlayPauseIcon = [](const char* frame) { GUITopBar::getInstance()->setPlayPauseIcon(frame); };
    s.showLimitWarning = [](const char* key) { worldHost().showLimitWarning(key); };
}

void wireGameLayer(GameServices& s)
{
    s.gameLayerExists = [] { return GameLayer::existingInstance() != nullptr; };
    s.gameLayerIsRunningSceneFirstChild = [] {
        CCScene* running = CCDirector::sharedDirector()->getRunningScene();
        GameLayer* layer = GameLayer::existingInstance();
        return running && layer && running->getChildrenCount() > 0 && running->getChildren()->objectAtIndex(0) == layer;
    };
    s.universeName = [] { return stringOf(GameLayer::getInstance()->getUniverseName()); };
    s.setUniverseName = [](const std::string& v) { GameLayer::getInstance()->setUniverseName(CCString::create(v)); };
    s.universeDescription = [] { return stringOf(GameLayer::getInstance()->getUniverseDescription()); };
    s.setUniverseDescription = [](const std::string& v) {
        GameLayer::getInstance()->setUniverseDescription(CCString::create(v));
    };
    s.loadedWorldName = [] { return stringOf(GameLayer::getInstance()->getLoadedWorldName()); };
    s.clearLoadedWorldName = [] { GameLayer::getInstance()->setLoadedWorldName(nullptr); };
    s.backgroundName = [] { return stringOf(GameLayer::getInstance()->getBackgroundName()); };
    s.backgroundOn = [] { return GameLayer::getInstance()->getBackgroundOn(); };
    s.changeBackground = [](const std::string& name, bool isDefault) {
        GameLayer::getInstance()->changeBackground(name.c_str(), isDefault);
    };
    s.toggleBackground = [] { return GameLayer::getInstance()->toggleBackground(); };
    s.resetBackground = [] { GameLayer::getInstance()->resetBackground(); };
    s.zoomInAround = [](CCPoint point) { GameLayer::getInstance()->zoomToPoint(point); };
    s.clearOverlayDrawings = [] {
        if (gWorld && gWorld->overLayer)
            gWorld->overLayer->removeAll();
    };

    s.getResource = [](const std::string& name) { return HumanLeader::getResource(name); };
    s.replaceResourceStore = [] { HumanLeader::replaceResources(); };
    s.addResource = [](const std::string& name, int32_t amount) { HumanLeader::addResource(name, amount); };
    s.clearHumanRegistry = [] { HumanRegistry::getInstance()->clear(); };
}

void wireWindowsAndServer(GameServices& s)
{
    s.freeModeIntroDone = [] {
        GUIIngameMessage* window = GUIIngameMessage::existingInstance();
        return window && window->getFreeModeIntroDone() ? uint8_t(1) : uint8_t(0);
    };
    s.setFreeModeIntroDone = [](uint8_t value) {
        const bool done = value != 0;
        GUIIngameMessage::getInstance()->setFreeModeIntroDone(done);
    };
    s.showNicknameKeyboard = [](CCString* text, CCObject* target, CCString* hint) {
        ScreenUtils::showNicknameKeyboard(text, target, hint);
    };
    s.showMessagePopup = [](const char* key) {
        ScreenUtils::showPopup(LocalUtils::localize(key), nullptr, nullptr, nullptr, nullptr, 2);
    };
    s.showMessageText = [](const std::string& text) {
        ScreenUtils::showPopup(CCString::create(text), nullptr, nullptr, nullptr, nullptr, 2);
    };
    s.tellProgressNotSaved = [](int error) {
        ScreenUtils::showNotice(LocalUtils::localizeWithVar("ProgressNotSaved", saveFailureReason(error).c_str()));
    };

    s.campaignSlot = [] { return Profile::getInstance()->getGameMode(); };
    s.localize = [](const char* key) {
        CCString* text = LocalUtils::localize(key);
        return std::string(text ? text->getCString() : key);
    };
    // Start-up sets the version text; before that the build's own.
    s.versionString = [] { return gameVersion.empty() ? std::string(kGameVersion) : gameVersion; };
    s.completeProgress = [] {
        if (GUIProgressBar::getInstance()->getParent())
            ScreenUtils::completeProgress();
    };
    s.failProgress = [](const std::string& text) {
        GUIProgressBar* bar = GUIProgressBar::getInstance();
        if (!bar->getParent())
            return false;
        bar->setResultText(CCString::create(text));
        ScreenUtils::showProgressFailure();
        return true;
    };
    s.setBusy = [](bool busy) { ScreenUtils::getInstance()->setBusy(busy); };
    s.forgetGalleryWorlds = [] { GUI::forgetGalleryWorlds(); };
    s.createPlayer = [](Profile* profile, CCObject* target, SEL_CallFunc selector) {
        ServerLink::getInstance()->createPlayer(profile, target, selector);
    };
}

}  // namespace

void wireGameServices(GameServices& s)
{
    s = GameServices{};
    wireStorageAndSound(s);
    wireHudAndTopBar(s);
    wireGameLayer(s);
    wireWindowsAndServer(s);
}
