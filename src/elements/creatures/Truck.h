#pragma once
// The dump truck: loose material in its cargo space rides along when it
// drives, and its bed tips up by a quarter turn to dump the load and comes
// down again (by itself when full in auto-drive, or from the panel). The
// cargo space and the bed's cells are marked in a key picture on the body
// picture's grid.
#include <cstdint>
#include <vector>

#include "elements/creatures/Vehicles.h"

// clang-format off
//                                 type name        dens blast factor rows  start           sound               absorb flags
inline constexpr ElementInfo kTruckInfo {"MPLeaderTruck", 0, 0.8f, 0.8f, {97}, StartRow::None, "sfx_element_fire", 255, kEditable};
// clang-format on

class MPLeaderTruck : public CellKind<kTruckInfo, VehicleLeader> {
public:
    static constexpr int32_t kLimit = 3;
    static constexpr int32_t kSaveSize = 20;
    // More carried particles than this make an auto-driving truck dump.
    static constexpr int32_t kFullLoad = 30;
    static constexpr int32_t kBedUpSteps = 30;

    struct Point {
        int x;
        int y;
    };

    MPLeaderTruck();
    ~MPLeaderTruck() override;
    int32_t getSaveSize() const override { return kSaveSize; }
    void saveExtra(ByteWriter& out) override;
    void loadExtra(ByteReader& in) override;
    void update() override;
    void loadBodyImage() override;
    bool turnAround() override;
    void moveRight() override;
    void moveLeft() override;
    VehiclePanel panelKind() const override { return VehiclePanel::Truck; }

    bool tipBed();
    bool lowerBed();
    // Mirrors both point lists within the body picture's width.
    void mirrorPoints();

    std::vector<Point> bedPoints;
    std::vector<Point> tipPoints;
    int32_t driveTimer = 2;
    int32_t bedTimer = -1;
    bool bedTipped = false;
    bool retipOnLoad = false;
    int32_t lastCarried = 0;

private:
    void grabCargo();
    void releaseCargo();
    // The quarter turn about the pivot; false when the turned cell is
    // outside the world (logged).
    bool turned(int cx, int cy, int& tx, int& ty) const;
    bool inside(int cx, int cy) const;
    bool foreign(int cx, int cy) const;
    void moveOrSwap(int fx, int fy, int tx, int ty);
    int pivotX = 0;
    int pivotY = 0;
};
