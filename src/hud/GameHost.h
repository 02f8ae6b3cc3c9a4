#pragma once
// GameHost: the game's answers to what the world asks (WorldHost), from the
// game layer, its HUD, the goals and the particle editor; and
// wireGameServices, which fills every GameServices entry with the real
// service or, where that is not built yet, with a stand-in that logs once
// that it is not built (docs/stand-ins.md lists them). installGameHost
// (screens/GameWiring.h) puts both in, with every other seam.
#include <string>

#include "world/WorldHost.h"

struct GameServices;

class GameHost : public WorldHost {
public:
    bool windowShown() override;
    bool paused() override;
    void setPaused(bool v) override;
    bool zoomedOut() override;
    void setZoomedOut(bool v) override;
    int32_t temperatureLevel() override;
    void refreshTemperature(int32_t level) override;
    cocos2d::CCString* currentElement() override;
    int32_t brushSize() override;
    bool touching() override;
    cocos2d::CCArray* touches() override;
    cocos2d::CCArray* previousTouches() override;
    CCMutableTexture2D* worldTexture() override;
    void resizeWorldView(bool big) override;
    void afterStep() override;
    void particleDestroyed(ParticleEditor* editor) override;
    void openVehiclePanel(Particle* vehicle, int kind) override;
    void showVehicleFuel(ParticleEditor* panel, float fraction) override;
    void showLimitWarning(const char* key) override;
    bool openEditor(Particle& particle, const char* window) override;
    void openHumanEditor(Particle* human) override;
    void refreshHumanEditor() override;
    void humanEditorLosesHuman(Particle* human) override;
    void closeHumanEditor() override;
    ParticleEditor* openRobotEditor(Particle* robot) override;
    void closeRobotEditor(ParticleEditor* editor) override;
    bool isFreePlay() override;
    void holdMusic(int32_t ticks) override;
};

// Every entry of the registry, from its default, to the game's services.
void wireGameServices(GameServices& s);

// Why a file was not written (the system's error number), in the player's
// words: the usual reasons in the player's language, any other as the
// system says it. The progress notice and the world's and the screenshot's
// save popups say it.
std::string saveFailureReason(int error);
