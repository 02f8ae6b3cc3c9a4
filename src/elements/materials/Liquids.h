#pragma once
// The flowing materials: Water, Oil, OilBurning, Lava and WaxMelt. They move
// with Particle::flow and change kind with heat and with their neighbours:
// Water boils, freezes and quenches Lava; Oil ignites and burning oil spreads,
// heats and throws Fire and Smoke; Lava heats, lights Fire and cools into
// Stone; WaxMelt sets back into Wax.
#include "elements/materials/Element.h"

// clang-format off
//                                      type name     dens blast  factor colour rows     start row         sound                absorb flags                  light
inline constexpr ElementInfo kWaterInfo      {"Water",      2, 0.7f,  0.8f, {72, 73, 74}, StartRow::Random, "sfx_element_water", 10,  kLiquid | kFlat};
inline constexpr ElementInfo kOilInfo        {"Oil",        1, 0.7f,  0.4f, {40},         StartRow::First,  "sfx_element_oil",   40,  kLiquid};
inline constexpr ElementInfo kOilBurningInfo {"OilBurning", 1, 0.7f,  0.4f, {41},         StartRow::First,  "sfx_element_oil",   40,  kLiquid};
inline constexpr ElementInfo kLavaInfo       {"Lava",       5, 0.4f,  0.8f, {32, 33},     StartRow::First,  "sfx_element_lava",  0,   kLiquid | kLightSource, 1};
inline constexpr ElementInfo kWaxMeltInfo    {"WaxMelt",    1, 0.95f, 0.8f, {75},         StartRow::First,  "sfx_element_wax",   255};
// clang-format on

// Temperatures (field units) at which the liquids change.
namespace LiquidHeat {
constexpr float kWaterBoilsFast = 2520.0f;     // above: 1 in 130
constexpr float kWaterBoils = 370.0f;          // above: 1 in 440
constexpr float kWaterFreezesFast = -2520.0f;  // at or below: 1 in 10
constexpr float kWaterFreezes = 263.0f;        // at or below: 1 in 400
constexpr float kOilIgnites = 500.0f;          // at or above
constexpr float kLavaCools = 340.0f;           // below
constexpr float kWaxSets = 353.0f;             // below
}  // namespace LiquidHeat

class Water : public Element<kWaterInfo> {
public:
    void update() override;

private:
    // Quenches a Lava in the 3 x 3 block (while any Lava exists); true when
    // there was one.
    bool meetLava();
    // Boils, freezes or evaporates at temperature t.
    void changeWithTemperature(float t);
};

class Oil : public Element<kOilInfo> {
public:
    void update() override;
};

class OilBurning : public Element<kOilBurningInfo> {
public:
    void update() override;

private:
    void igniteOilAround();
    void throwFlames();
};

// Glows (its own light of radius 1) and heats what is around it.
class Lava : public LitElement<kLavaInfo> {
public:
    Lava();
    ~Lava() override;
    void update() override;
    // Whether any Lava exists at all: while none does, the neighbours that
    // react to it need not look for it.
    static bool anyExist() { return s_live > 0; }

private:
    static int s_live;
};

class WaxMelt : public Element<kWaxMeltInfo> {
public:
    void update() override;
};

// Registers the liquids with the element factory.
void registerLiquids();
