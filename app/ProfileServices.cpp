#include "app/ProfileServices.h"

#include "app/Logger.h"
#include "online/ServerLink.h"
#include "platform/CloudStorage.h"

namespace {

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

    s.setMusicVolume = [](float) {
        static bool logged = false;
        logMissing(logged, "sound engine (music volume)");
    };
    s.setEffectsVolume = [](float) {
        static bool logged = false;
        logMissing(logged, "sound engine (effects volume)");
    };
    s.playSound = [](const char*) {
        static bool logged = false;
        logMissing(logged, "sound engine (effects)");
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
    s.gameLayerExists = [] { return false; };
    s.gameLayerIsRunningSceneFirstChild = [] { return false; };
    s.changeBackground = [](const std::string&) {
        static bool logged = false;
        logMissing(logged, "game layer backgrounds");
    };
    s.loadedWorldName = [] { return std::string(); };
    s.temperatureLabelIsNormal = [] {
        static bool logged = false;
        logMissing(logged, "HUD temperature label");
        return false;
    };
    s.freeModeIntroDone = [] { return uint8_t{0}; };
    s.setFreeModeIntroDone = [](uint8_t) {
        static bool logged = false;
        logMissing(logged, "in-game message window (free-mode introduction flag)");
    };

    s.showNicknameKeyboard = [](cocos2d::CCString*, cocos2d::CCObject*) {
        LOG << "not built yet: nickname keyboard";
    };
    s.showMessagePopup = [](const char* key) { LOG << "not built yet: message popup" << key; };

    s.versionString = [] { return std::string("1.5.13"); };

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
    profileServices() = makeDefaults();
}
