#pragma once
// GameServices: the one registry of the services the world blob and the
// profile call beside the world host: cloud files, sounds, the universe texts
// and background, the HUD's switches, the top bar, the colony resources, the
// windows, the server client. Every entry is filled by installGameHost
// (through hud/GameHost.cpp), the one place that wires the real services and the
// stand-ins of those not built yet (docs/stand-ins.md lists them). Tests
// replace entries to watch or fail them; installGameHost puts them back.
#include <cstdint>
#include <functional>
#include <string>

#include "cocos2d.h"

class Profile;
class World;

// What an entry does before installGameHost wires it: nothing, answering a
// zero, false or empty value, so a world runs under a plain host too.
template <class Signature> struct NeutralCall;
template <class R, class... Args> struct NeutralCall<R(Args...)> {
    static R call(Args...) { return R(); }
};
template <class Signature> std::function<Signature> neutral()
{
    return &NeutralCall<Signature>::call;
}

struct GameServices {
    // Cloud file storage (the store's whole-file calls).
    std::function<bool(const std::string&)> fileExists = neutral<bool(const std::string&)>();
    std::function<int32_t(const std::string&)> getFileSize = neutral<int32_t(const std::string&)>();
    std::function<int32_t(const std::string&, void*, int32_t)> fileRead =
        neutral<int32_t(const std::string&, void*, int32_t)>();
    std::function<bool(const std::string&, const void*, int32_t)> fileWrite =
        neutral<bool(const std::string&, const void*, int32_t)>();
    std::function<bool(const std::string&)> fileDelete = neutral<bool(const std::string&)>();
    // The system's error number of the store's last failed write (0: none).
    std::function<int()> lastFileWriteError = neutral<int()>();

    // Sound engine: volumes 0..1, and one effect by name from "sounds".
    std::function<void(float)> setMusicVolume = neutral<void(float)>();
    std::function<void(float)> setEffectsVolume = neutral<void(float)>();
    std::function<void(const char*)> playSound = neutral<void(const char*)>();

    // HUD: each option switch toggles its option of the world once.
    std::function<void(World&)> applyTemperature = neutral<void(World&)>();
    std::function<void(World&)> applyLight = neutral<void(World&)>();
    std::function<void(World&)> applySun = neutral<void(World&)>();
    std::function<void(World&)> applyWeather = neutral<void(World&)>();
    std::function<void()> closeHudMenu = neutral<void()>();
    std::function<bool()> temperatureLabelIsNormal = neutral<bool()>();

    // Top bar.
    std::function<void()> refreshTopBarMana = neutral<void()>();  // creates the top bar when missing
    std::function<void(const char*)> setZoomButtonIcon = neutral<void(const char*)>();
    // Does nothing when the top bar has no play/pause button.
    std::function<void(const char*)> setPlayPauseIcon = neutral<void(const char*)>();
    // A creature limit warning (a localisation key), shown only when the top
    // bar has no notification queued or showing.
    std::function<void(const char*)> showLimitWarning = neutral<void(const char*)>();

    // Game layer: its presence, universe texts, background, zoom, drawings.
    std::function<bool()> gameLayerExists = neutral<bool()>();
    std::function<bool()> gameLayerIsRunningSceneFirstChild = neutral<bool()>();
    std::function<std::string()> universeName = neutral<std::string()>();
    std::function<void(const std::string&)> setUniverseName = neutral<void(const std::string&)>();
    std::function<std::string()> universeDescription = neutral<std::string()>();
    std::function<void(const std::string&)> setUniverseDescription = neutral<void(const std::string&)>();
    std::function<std::string()> loadedWorldName = neutral<std::string()>();
    std::function<void()> clearLoadedWorldName = neutral<void()>();
    std::function<std::string()> backgroundName = neutral<std::string()>();
    std::function<bool()> backgroundOn = neutral<bool()>();
    std::function<void(const std::string&, bool)> changeBackground =
        neutral<void(const std::string&, bool)>();  // picture file name, isDefault
    std::function<bool()> toggleBackground = neutral<bool()>();
    std::function<void()> resetBackground = neutral<void()>();  // "peaceful.png", shown
    std::function<void(cocos2d::CCPoint)> zoomInAround = neutral<void(cocos2d::CCPoint)>();
    // Removes every speech balloon and job icon over the creatures.
    std::function<void()> clearOverlayDrawings = neutral<void()>();

    // Colony resources and humans.
    std::function<int32_t(const std::string&)> getResource = neutral<int32_t(const std::string&)>();
    std::function<void()> replaceResourceStore = neutral<void()>();  // a new empty store
    std::function<void(const std::string&, int32_t)> addResource = neutral<void(const std::string&, int32_t)>();
    std::function<void()> clearHumanRegistry = neutral<void()>();

    // The in-game message window's free-mode introduction flag.
    std::function<uint8_t()> freeModeIntroDone = neutral<uint8_t()>();             // 0 when the window does not exist
    std::function<void(uint8_t)> setFreeModeIntroDone = neutral<void(uint8_t)>();  // creates the window

    // Windows.
    // The text it opens on, the target told of the name, and a hint shown
    // over an empty field instead of a text (null for none).
    std::function<void(cocos2d::CCString*, cocos2d::CCObject*, cocos2d::CCString*)> showNicknameKeyboard =
        neutral<void(cocos2d::CCString*, cocos2d::CCObject*, cocos2d::CCString*)>();
    std::function<void(const char*)> showMessagePopup =
        neutral<void(const char*)>();  // a localisation key, message kind
    std::function<void(const std::string&)> showMessageText =
        neutral<void(const std::string&)>();  // words already localised, message kind
    // Tells the player, on screen until answered, that the progress was not
    // saved, with the system's reason (an error number of the store's).
    std::function<void(int)> tellProgressNotSaved = neutral<void(int)>();
    // The progress bar of a network request: filled to 100, or its failure
    // with these words as result text (false when no bar shows).
    std::function<void()> completeProgress = neutral<void()>();
    std::function<bool(const std::string&)> failProgress = neutral<bool(const std::string&)>();
    std::function<void(bool)> setBusy = neutral<void(bool)>();

    // The profile's campaign slot (game mode), localised text of a key, and
    // the application's version string ("1.5.13").
    std::function<int32_t()> campaignSlot = neutral<int32_t()>();
    std::function<std::string(const char*)> localize = neutral<std::string(const char*)>();
    std::function<std::string()> versionString = neutral<std::string()>();

    // The server no longer knows the stored player (its database was
    // replaced): the gallery ids learnt from it are forgotten, the world
    // being played as a gallery world and the saved worlds' share marks.
    std::function<void()> forgetGalleryWorlds = neutral<void()>();

    // The server client's create-player request.
    std::function<void(Profile*, cocos2d::CCObject*, cocos2d::SEL_CallFunc)> createPlayer =
        neutral<void(Profile*, cocos2d::CCObject*, cocos2d::SEL_CallFunc)>();
};

GameServices& gameServices();

// A whole file of the store: false when it is absent or reads short; an
// empty file is an empty text.
bool readStoreFile(const std::string& name, std::string& bytes);
