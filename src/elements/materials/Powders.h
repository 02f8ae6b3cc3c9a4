#pragma once
// Powders and solids: the materials that fall and pile (Sand, SandWet, Soil,
// Mud, Stone, Ash, Snow, Ice, Wax), the solids that stay where they are
// painted (Glass, Metal, Insulator, Wood, Wall) and Void, which eats what
// touches it. Their behaviour is a small network of changes driven by heat,
// by Water and by each other. (The border's OutsideWall lives with the world.)
#include "elements/materials/Element.h"

// clang-format off
//                                     type name    dens  blast  factor colour rows  start row                    sound                    absorb flags
inline constexpr ElementInfo kSandInfo      {"Sand",      100, 0.8f,  0.3f, {44, 45}, StartRow::Random,            "sfx_element_sand",      30};
inline constexpr ElementInfo kSandWetInfo   {"SandWet",   100, 0.5f,  0.8f, {46, 47}, StartRow::Random,            "sfx_element_sand",      30};
inline constexpr ElementInfo kSoilInfo      {"Soil",      100, 0.8f,  0.2f, {52, 53}, StartRow::Random,            "sfx_element_soil",      255};
inline constexpr ElementInfo kMudInfo       {"Mud",       100, 0.5f,  0.2f, {36, 37}, StartRow::Random,            "sfx_element_soil",      255};
inline constexpr ElementInfo kStoneInfo     {"Stone",     100, 0.5f,  0.2f, {56, 57}, StartRow::RandomAfterFields, "sfx_element_stone",     30};
inline constexpr ElementInfo kAshInfo       {"Ash",       1,   0.8f,  0.8f, {4, 5},   StartRow::Random,            "sfx_element_fire",      255};
inline constexpr ElementInfo kSnowInfo      {"Snow",      1,   0.9f,  0.8f, {51},     StartRow::First,             "sfx_element_snow",      0};
inline constexpr ElementInfo kIceInfo       {"Ice",       1,   0.8f,  0.8f, {30, 31}, StartRow::Random,            "sfx_element_ice",       15,  kFlat};
inline constexpr ElementInfo kWaxInfo       {"Wax",       100, 0.9f,  0.5f, {75},     StartRow::First,             "sfx_element_wax",       255};
inline constexpr ElementInfo kGlassInfo     {"Glass",     0,   0.9f,  0.4f, {24, 25}, StartRow::First,             "sfx_element_glass",     10};
inline constexpr ElementInfo kMetalInfo     {"Metal",     0,   0.3f,  0.0f, {34, 35}, StartRow::First,             "sfx_element_metal",     255, kFlat};
inline constexpr ElementInfo kInsulatorInfo {"Insulator", 0,   0.2f,  0.5f, {143},    StartRow::First,             "sfx_element_insulator", 255, kFlat};
inline constexpr ElementInfo kWoodInfo      {"Wood",      0,   0.65f, 0.2f, {77, 78}, StartRow::Random,            "sfx_element_wood",      50};
inline constexpr ElementInfo kWallInfo      {"Wall",      0,   0.0f,  0.5f, {70, 71}, StartRow::SecondOneInThree,  "sfx_element_wall",      255, kFlat};
inline constexpr ElementInfo kVoidInfo      {"Void",      0,   0.0f,  0.8f, {69},     StartRow::First,             "sfx_element_void",      0,   kFlat};
// clang-format on

// Temperatures (field units) at which the powders change.
namespace PowderHeat {
constexpr float kSandToGlass = 1000.0f;  // above
constexpr float kDries = 353.0f;         // SandWet and Mud, at or above
constexpr float kStoneMelts = 1500.0f;   // at or above
constexpr int kSnowBoils = 573;          // at or above
constexpr int kFreezing = 273;           // Snow and Ice melt above
constexpr float kWaxMelts = 383.0f;      // at or above
constexpr int kWoodIgnites = 393;
constexpr int kWoodBurnChance = 600;
}  // namespace PowderHeat

class Sand : public Element<kSandInfo> {
public:
    void update() override;
};

class SandWet : public Element<kSandWetInfo> {
public:
    void update() override;
};

class Soil : public Element<kSoilInfo> {
public:
    void update() override;
};

// Mud grows Grass on its sides and top once it has lain still in the light.
class Mud : public Element<kMudInfo> {
public:
    static constexpr int kStillBeforeGrowing = 10;
    void setPosition(int cx, int cy) override;
    void update() override;

    int32_t stillTicks = 0;  // ticks in this cell; every move restarts it

private:
    void tryGrowGrass(int cx, int cy);
};

// Stone resists Water and Ash for `erosion` ticks of contact before it may
// wear into Sand or turn Ash into Oil.
class Stone : public Element<kStoneInfo> {
public:
    Stone();
    void update() override;

    int32_t erosion;
};

class Ash : public Element<kAshInfo> {
public:
    void update() override;
};

class Snow : public Element<kSnowInfo> {
public:
    void update() override;
};

class Ice : public Element<kIceInfo> {
public:
    void update() override;
};

class Wax : public Element<kWaxInfo> {
public:
    void update() override;
};

class Glass : public Element<kGlassInfo> { };

// The conductor marking, what makes a cell a wire (Metal, Power and the
// sensors share it): moving from (fromX, fromY) to (toX, toY) clears the old
// cell and marks the new one. (0, 0) is where the factory builds every
// particle, so it counts as not placed: nothing is cleared or marked there.
void moveConductorMarking(int fromX, int fromY, int toX, int toY);
// The particle at (cx, cy) is going: its cell carries no current any more.
void clearConductorMarking(int cx, int cy);

// Marks its cell as a conductor for as long as it stands there.
class Metal : public Element<kMetalInfo> {
public:
    ~Metal() override;
    void setPosition(int cx, int cy) override;
};

// Holds its cell at the world's ambient temperature, so heat does not cross.
class Insulator : public Element<kInsulatorInfo> {
public:
    void update() override;
};

class Wood : public Element<kWoodInfo> {
public:
    // update() only burns, and only above kWoodIgnites.
    Wood() { idleUpTo = PowderHeat::kWoodIgnites; }
    void update() override;
    // Trees shade their wood: index 0 or 1 of Wood's rows; repaints the cell
    // without marking the colour as changed.
    void setColorIndex(int index);
};

class Wall : public Element<kWallInfo> { };

class Void : public Element<kVoidInfo> {
public:
    void update() override;
};

// Elements whose growth a neighbour can seed when it plants them (Grass
// planted by Mud). The planted class implements it.
class SeededGrowth {
public:
    virtual ~SeededGrowth() = default;
    virtual void seedGrowth(int growthLeft, bool flowering) = 0;
};

// Registers the powders and solids with the element factory.
void registerPowders();
