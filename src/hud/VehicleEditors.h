#pragma once
// The vehicles' control panels. The car, sports car, tank and truck get a
// small panel with a row of buttons; the lander gets three big held buttons
// and a fuel gauge. A panel is added to the game layer's parent but is not
// the current window, so the world keeps stepping while the player drives;
// the game layer hands it the touches that land on it. The back key closes
// the panel opened last, as its cross does.
//
// The panel and its vehicle link each other; whichever goes first clears the
// other's link, so no button reaches a dead vehicle.
#include <string>
#include <vector>

#include "cocos2d.h"
#include "gui/GUIWindow.h"
#include "hud/ParticleEditor.h"

class GUIButton;
class VehicleLeader;
class MPLeaderTank;
class MPLeaderTruck;
class MPLander;

class VehicleEditor : public ParticleEditor {
public:
    static constexpr int kZOrder = -10;
    static constexpr float kMargin = 5.0f;

    // The gap between n buttons of width b in a row of width w with 5-unit
    // margins at both ends.
    static float rowGap(float w, float b, int n);
    // Left edges of the row's buttons (each b wide).
    static std::vector<float> rowPositions(float w, float b, int n);

    // Opens the panel a vehicle's touch asks for (kind as VehiclePanel) on
    // the game layer's parent; null when the vehicle already has one.
    static VehicleEditor* open(VehicleLeader* vehicle, int kind);
    // The open panel under a touch point (GL coordinates), if any.
    static VehicleEditor* panelAt(const cocos2d::CCPoint& point);
    // Every open panel (tests).
    static const std::vector<VehicleEditor*>& openPanels();

    ~VehicleEditor() override;
    // Unlinks the vehicle and removes the panel.
    void close() override;
    // The vehicle is being destroyed: the panel goes with it.
    void particleDestroyed() override;
    VehicleLeader* vehicle() const;

    // A row button's action by its name ("left", "right", "ai", "fire",
    // "unload"); nothing without a vehicle.
    void press(const std::string& name, GUIButton* button);
    GUIButton* button(const std::string& name) const;
    cocos2d::CCSprite* background() const { return m_background; }

protected:
    VehicleEditor() = default;
    // Sheet, background, close button; false without the sheet.
    bool buildFrame(VehicleLeader* vehicle);
    bool initRow(VehicleLeader* vehicle, const char* title, const std::vector<std::string>& names);
    void addTitle(const char* key, const cocos2d::CCPoint& at, const cocos2d::CCPoint& anchor);
    void onButton(cocos2d::CCObject* button);
    void onClose();

    cocos2d::CCSprite* m_background = nullptr;
    std::vector<std::pair<std::string, GUIButton*>> m_buttons;
};

class CarEditor : public VehicleEditor {
public:
    static CarEditor* create(VehicleLeader* car);
};

class TankEditor : public VehicleEditor {
public:
    static TankEditor* create(MPLeaderTank* tank);
};

class TruckEditor : public VehicleEditor {
public:
    static TruckEditor* create(MPLeaderTruck* truck);
};

class LanderEditor : public VehicleEditor {
public:
    static constexpr float kLowFuel = 0.1f;
    static LanderEditor* create(MPLander* lander);
    void close() override;

    // The fuel left as a fraction of a full tank: the gauge's width and the
    // flame (lit above 10 %).
    void showFuel(float fraction);
    // The held buttons ("leftBig", "rightBig", "burstBig").
    void hold(const std::string& name, bool down);

    cocos2d::CCSprite* fuelBar() const { return m_fuelInside; }
    cocos2d::CCSprite* flameOn() const { return m_flameOn; }
    cocos2d::CCSprite* flameOff() const { return m_flameOff; }

private:
    bool initLander(MPLander* lander);
    // showFuel with the lander's fuel (nothing without a lander).
    void showLanderFuel();
    void pressLeft();
    void releaseLeft();
    void pressRight();
    void releaseRight();
    void pressBurst();
    void releaseBurst();

    cocos2d::CCSprite* m_fuelInside = nullptr;
    cocos2d::CCSprite* m_flameOn = nullptr;
    cocos2d::CCSprite* m_flameOff = nullptr;
};
