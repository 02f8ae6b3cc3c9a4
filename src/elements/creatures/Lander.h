#pragma once
// The lander: a vehicle that flies. Gravity pulls it down, a burst of its
// engine pushes it up and burns fuel, and in the air it can be steered left
// and right, from the keyboard (left, right, space) or from its panel's held
// buttons. It refuels by standing on oil. It never auto-drives.
#include <cstdint>

#include "elements/creatures/Vehicles.h"

// clang-format off
//                                  type name   dens blast factor rows  start           sound                 absorb flags
inline constexpr ElementInfo kLanderInfo {"MPLander", 0, 0.8f, 0.8f, {97}, StartRow::None, "sfx_element_lander", 255, kEditable};
// clang-format on

class MPLander : public CellKind<kLanderInfo, VehicleLeader> {
public:
    static constexpr int32_t kLimit = 1;
    static constexpr int32_t kMaxFuel = 200;
    static constexpr int32_t kMaxSpeed = 12;

    MPLander();
    ~MPLander() override;
    void update() override;
    void loadBodyImage() override;
    VehiclePanel panelKind() const override { return VehiclePanel::Lander; }

    // The panel's held buttons; pressing toward the back turns first.
    void pressLeft();
    void pressRight();

    bool leftHeld = false;
    bool rightHeld = false;
    bool burstHeld = false;
    int32_t fuel = kMaxFuel;
    int32_t stepCounterX = 0;
    int32_t stepCounterY = 0;
    int32_t velocityY = 0;
    int32_t velocityX = 0;

private:
    // One step of an axis: moves one cell every 12 / |v| + 1 steps; a
    // refused move is tried once more and stops the axis.
    void stepAxis(int32_t& velocity, int32_t& counter, bool horizontal);
};
