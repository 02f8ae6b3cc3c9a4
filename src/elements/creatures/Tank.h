#pragma once
// The tank, a slow vehicle that shoots: in auto-drive it crawls, fires a shell
// every few seconds with a muzzle flash and a recoil and stands still after
// each shot. TankBullet is the shell: one cell that flies along its row and
// explodes on the first thing it meets (robots fire it too).
#include <cstdint>

#include "elements/creatures/Vehicles.h"

// clang-format off
//                                       type name       dens blast factor rows  start           sound               absorb flags
inline constexpr ElementInfo kTankInfo       {"MPLeaderTank", 0, 0.8f, 0.8f, {97}, StartRow::None, "sfx_element_fire", 255, kEditable};
inline constexpr ElementInfo kTankBulletInfo {"TankBullet",   0, 1.0f, 0.8f, {35}, StartRow::First, "sfx_element_tnt", 0};
// clang-format on

class MPLeaderTank : public CellKind<kTankInfo, VehicleLeader> {
public:
    static constexpr int32_t kLimit = 1;
    static constexpr int32_t kDrivePeriod = 4;
    // The barrel's row above the picture's bottom row.
    static constexpr int32_t kMuzzleRow = 5;

    MPLeaderTank();
    ~MPLeaderTank() override;
    void update() override;
    void loadBodyImage() override;
    VehiclePanel panelKind() const override { return VehiclePanel::Tank; }

    // One shot: pause, recoil, shell and flash.
    void fire();

    int32_t driveTimer = kDrivePeriod;
    int32_t shotTimer;
};

class TankBullet : public Element<kTankBulletInfo> {
public:
    void update() override;

    int32_t direction = 1;  // the column step per move
};
