#pragma once
// What the profile needs of the rest of the game, in one place: the cloud
// file calls, the sound engine, the free-play flag, the game layer and HUD,
// the windows it opens and the server client. Each entry has a default that
// calls the real service; where that service is not built yet the default is
// a marked stand-in that logs what it skipped. Tests replace entries to watch
// or to fail them (and restore them with resetProfileServices).
#include <cstdint>
#include <functional>
#include <string>

#include "cocos2d.h"

class Profile;

struct ProfileServices {
    // Cloud file storage (the store's whole-file calls).
    std::function<bool(const std::string&)> fileExists;
    std::function<int32_t(const std::string&)> getFileSize;
    std::function<int32_t(const std::string&, void*, int32_t)> fileRead;
    std::function<bool(const std::string&, const void*, int32_t)> fileWrite;
    std::function<bool(const std::string&)> fileDelete;

    // Sound engine: volumes 0..1, and one effect by name from "sounds".
    std::function<void(float)> setMusicVolume;
    std::function<void(float)> setEffectsVolume;
    std::function<void(const char*)> playSound;

    // The running world and its interface.
    std::function<bool()> isFreePlay;
    std::function<void()> refreshTopBarMana;          // creates the top bar when missing
    std::function<bool()> gameLayerExists;
    std::function<bool()> gameLayerIsRunningSceneFirstChild;
    std::function<void(const std::string&)> changeBackground; // picture file name
    std::function<std::string()> loadedWorldName;
    std::function<bool()> temperatureLabelIsNormal;
    std::function<uint8_t()> freeModeIntroDone;        // 0 when the message window does not exist
    std::function<void(uint8_t)> setFreeModeIntroDone; // creates the message window

    // Windows.
    std::function<void(cocos2d::CCString*, cocos2d::CCObject*)> showNicknameKeyboard;
    std::function<void(const char*)> showMessagePopup; // a localisation key, message kind

    // The application's version string ("1.5.13").
    std::function<std::string()> versionString;

    // The server client's create-player request.
    std::function<void(Profile*, cocos2d::CCObject*, cocos2d::SEL_CallFunc)> createPlayer;
};

ProfileServices& profileServices();
// Puts every entry back to its default.
void resetProfileServices();
