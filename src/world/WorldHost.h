#pragma once
// WorldHost: everything the world (and the profile beside it) asks of the
// game above it, in one interface. The world is built below the game layer,
// HUD and goals and may not include them; the game installs its host
// (hud/GameHost.h, through installGameHost) at start-up, and tests install the
// game's or a plain one.
// Without an installed host the world runs under this plain one: no window,
// running, not zoomed, the normal temperature level, no element chosen, no
// free play, no texture, and nothing happens after a step.
//
// The step asks the host a few times per step, never per particle.
#include <cstdint>

#include "base/Installed.h"
#include "cocos2d.h"

class CCMutableTexture2D;
class Particle;
class ParticleEditor;
class Particle;

class WorldHost {
public:
    virtual ~WorldHost() = default;

    // While a window is shown over the world, the step changes nothing.
    virtual bool windowShown() { return false; }
    virtual bool paused() { return false; }
    virtual void setPaused(bool) { }
    virtual bool zoomedOut() { return false; }
    virtual void setZoomedOut(bool) { }

    // The HUD's temperature level, 1 (coldest) .. 5 (hottest); 3 is normal.
    virtual int32_t temperatureLevel() { return 3; }
    virtual void refreshTemperature(int32_t) { }
    // The element chosen in the palette; null before any choice.
    virtual cocos2d::CCString* currentElement() { return nullptr; }
    // The HUD's brush size (1 .. 9), read by the tools as a radius.
    virtual int32_t brushSize() { return 1; }

    // The player's touches, for the current tool.
    virtual bool touching() { return false; }
    virtual cocos2d::CCArray* touches() { return nullptr; }
    virtual cocos2d::CCArray* previousTouches() { return nullptr; }

    // The texture the world draws into; null when nothing shows the world.
    virtual CCMutableTexture2D* worldTexture() { return nullptr; }
    // Rebuilds the view at 240 x 160 (big) or 120 x 80.
    virtual void resizeWorldView(bool) { }

    // After every step: the goals test their missions and achievements.
    virtual void afterStep() { }
    // A particle with an open editor window is being destroyed.
    virtual void particleDestroyed(ParticleEditor*) { }
    // A long press asks for the particle's editor window by name; false when
    // none opens.
    virtual bool openEditor(Particle&, const char*) { return false; }

    // A vehicle was touched: open its control panel (kind: car, tank, truck,
    // lander).
    virtual void openVehiclePanel(Particle*, int) { }
    // The lander's fuel on its open panel, as a fraction of a full tank.
    virtual void showVehicleFuel(ParticleEditor*, float) { }
    // A creature's limit warning (a localisation key), shown only while the
    // top bar shows no other notification.
    virtual void showLimitWarning(const char*) { }

    // The human editor: opened for a human (nothing while one is open), its
    // resource counts refreshed, its human leaving (destroyed), and closed
    // when the last human left the registry.
    virtual void openHumanEditor(Particle*) { }
    virtual void refreshHumanEditor() { }
    virtual void humanEditorLosesHuman(Particle*) { }
    virtual void closeHumanEditor() { }
    // The robot editor of a robot: opened (null when none opens) and closed.
    virtual ParticleEditor* openRobotEditor(Particle*) { return nullptr; }
    virtual void closeRobotEditor(ParticleEditor*) { }

    // The one answer to "is this free play?".
    virtual bool isFreePlay() { return false; }

    // An instrument played: the level music starts no new track for this
    // many ticks.
    virtual void holdMusic(int32_t) { }
};

// The installed host (the plain one when none is).
inline WorldHost& worldHost()
{
    return Installed<WorldHost>::get();
}
// Installs a host the caller keeps alive; null puts the plain one back.
inline void setWorldHost(WorldHost* host)
{
    Installed<WorldHost>::set(host);
}
