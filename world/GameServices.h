#pragma once
// GameServices: the one registry of the services the world blob and the
// profile call beside the world host: cloud files, sounds, the universe texts
// and background, the HUD's switches, the top bar, the colony resources, the
// windows, the server client. Every entry is filled by installGameHost
// (world/GameHost.cpp), the one place that wires the real services and the
// stand-ins of those not built yet (docs/stand-ins.md lists them). Tests
// replace entries to watch or fail them; installGameHost puts them back.
#include <cstdint>
#include <functional>
#include <string>

#include "cocos2d.h"

class Profile;
class World;

struct GameServices {
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

    // HUD: each option switch toggles its option of the world once.
    std::function<void(World&)> applyTemperature;
    std::function<void(World&)> applyLight;
    std::function<void(World&)> applySun;
    std::function<void(World&)> applyWeather;
    std::function<void()> closeHudMenu;
    std::function<bool()> temperatureLabelIsNormal;

    // Top bar.
    std::function<void()> refreshTopBarMana;  // creates the top bar when missing
    std::function<void(const char*)> setZoomButtonIcon;
    // Does nothing when the top bar has no play/pause button.
    std::function<void(const char*)> setPlayPauseIcon;
    // A creature limit warning (a localisation key), shown only when the top
    // bar has no notification queued or showing.
    std::function<void(const char*)> showLimitWarning;

    // Game layer: its presence, universe texts, background, zoom, drawings.
    std::function<bool()> gameLayerExists;
    std::function<bool()> gameLayerIsRunningSceneFirstChild;
    std::function<std::string()> universeName;
    std::function<void(const std::string&)> setUniverseName;
    std::function<std::string()> universeDescription;
    std::function<void(const std::string&)> setUniverseDescription;
    std::function<std::string()> loadedWorldName;
    std::function<void()> clearLoadedWorldName;
    std::function<std::string()> backgroundName;
    std::function<bool()> backgroundOn;
    std::function<void(const std::string&, bool)> changeBackground;  // picture file name, isDefault
    std::function<bool()> toggleBackground;
    std::function<void()> resetBackground;  // "peaceful.png", shown
    std::function<void(cocos2d::CCPoint)> zoomInAround;
    // Removes every speech balloon and job icon over the creatures.
    std::function<void()> clearOverlayDrawings;

    // Colony resources and humans.
    std::function<int32_t(const std::string&)> getResource;
    std::function<void()> replaceResourceStore;  // a new empty store
    std::function<void(const std::string&, int32_t)> addResource;
    std::function<void()> clearHumanRegistry;

    // The in-game message window's free-mode introduction flag.
    std::function<uint8_t()> freeModeIntroDone;        // 0 when the window does not exist
    std::function<void(uint8_t)> setFreeModeIntroDone; // creates the window

    // Windows.
    std::function<void(cocos2d::CCString*, cocos2d::CCObject*)> showNicknameKeyboard;
    std::function<void(const char*)> showMessagePopup; // a localisation key, message kind
    // The progress bar of a network request: filled to 100, or its failure
    // with the localised key as result text (false when no bar shows).
    std::function<void()> completeProgress;
    std::function<bool(const char*)> failProgress;
    std::function<void(bool)> setBusy;

    // The profile's campaign slot (game mode), localised text of a key, and
    // the application's version string ("1.5.13").
    std::function<int32_t()> campaignSlot;
    std::function<std::string(const char*)> localize;
    std::function<std::string()> versionString;

    // The server client's create-player request.
    std::function<void(Profile*, cocos2d::CCObject*, cocos2d::SEL_CallFunc)> createPlayer;
};

GameServices& gameServices();
