#include "app/ProfileServices.h"

#include "SimpleAudioEngine.h"
#include "app/AppVersion.h"
#include "app/LocalUtils.h"
#include "app/Logger.h"
#include "app/ScreenUtils.h"
#include "app/Utils.h"
#include "hud/GUI.h"
#include "online/ServerLink.h"
#include "platform/CloudStorage.h"
#include "world/GameLayer.h"

namespace {

uint8_t g_freeModeIntroByte = 0;

// Stand-ins for services that are not built yet. Each logs once per run what
// it skipped, so that a missing piece shows in the log without flooding it.
void logMissing(bool& logged, const char* what)
{
    if (logged)
        return;
    logged = true;
    LOG << "not built yet:" << what;
}

ProfileServices makeDefaults()
{
    using CocosDenshion::SimpleAudioEngine;
    using platform::CloudStorage;
    ProfileServices s;
    s.fileExists = [](const std::string& name) { return CloudStorage::fileExists(name); };
    s.getFileSize = [](const std::string& name) { return CloudStorage::getFileSize(name); };
    s.fileRead = [](const std::string& name, void* buffer, int32_t size) {
        return CloudStorage::fileRead(name, buffer, size);
    };
    s.fileWrite = [](const std::string& name, const void* data, int32_t size) {
        return CloudStorage::fileWrite(name, data, size);
    };
    s.fileDelete = [](const std::string& name) { return CloudStorage::fileDelete(name); };

    s.setMusicVolume = [](float volume) { SimpleAudioEngine::sharedEngine()->setBackgroundMusicVolume(volume); };
    s.setEffectsVolume = [](float volume) { SimpleAudioEngine::sharedEngine()->setEffectsVolume(volume); };
    s.playSound = [](const char* name) {
        SimpleAudioEngine::sharedEngine()->playEffect(soundFilePath("sounds", name).c_str());
    };

    // Free play is off until the save/load service that owns the flag exists.
    s.isFreePlay = [] {
        static bool logged = false;
        logMissing(logged, "free-play flag of the save/load service");
        return false;
    };
    s.refreshTopBarMana = [] {
        static bool logged = false;
        logMissing(logged, "top bar mana counter");
    };
    // The game layer has no scene or top bar yet: the profile treats it as
    // absent (no counter refresh, no background change after a purchase).
    s.gameLayerExists = [] { return false; };
    s.gameLayerIsRunningSceneFirstChild = [] { return false; };
    s.changeBackground = [](const std::string&) {
        static bool logged = false;
        logMissing(logged, "game layer backgrounds");
    };
    s.loadedWorldName = [] {
        static bool logged = false;
        logMissing(logged, "game layer's loaded world name (story-day counters of days 12 and 20)");
        return std::string();
    };
    // The label reads "NORMAL" at the middle of the HUD's five levels.
    s.temperatureLabelIsNormal = [] {
        GUI* gui = GameLayer::getInstance()->getGUI();
        return gui && gui->getTemperatureLevel() == 3;
    };
    // Until the message window exists its flag byte is kept here, so that
    // the byte a load hands over goes back into the file on the next save.
    s.freeModeIntroDone = [] { return g_freeModeIntroByte; };
    s.setFreeModeIntroDone = [](uint8_t value) {
        static bool logged = false;
        logMissing(logged, "in-game message window (free-mode introduction flag kept for the file)");
        g_freeModeIntroByte = value;
    };

    s.showNicknameKeyboard = [](cocos2d::CCString* text, cocos2d::CCObject* target) {
        ScreenUtils::getInstance()->showNicknameKeyboard(text, target);
    };
    s.showMessagePopup = [](const char* key) {
        ScreenUtils::getInstance()->showPopup(LocalUtils::localize(key), nullptr, nullptr, nullptr, nullptr, 2);
    };

    // Start-up sets the version text; before that the build's own.
    s.versionString = [] { return gameVersion.empty() ? std::string(kGameVersion) : gameVersion; };

    s.createPlayer = [](Profile* profile, cocos2d::CCObject* target, cocos2d::SEL_CallFunc selector) {
        ServerLink::getInstance()->createPlayer(profile, target, selector);
    };
    return s;
}

} // namespace

ProfileServices& profileServices()
{
    static ProfileServices services = makeDefaults();
    return services;
}

void resetProfileServices()
{
    g_freeModeIntroByte = 0;
    profileServices() = makeDefaults();
}
