#pragma once
// The explosives: Bomb (falls and goes off after its fuse), C4 (goes off when
// powered or beside a spark, and sets the C4 around it off one by one), TNT
// (as C4, and also by heat and by a heavy load) and Meteor (falls trailing
// fire and explodes where it lands). Each calls the world's blast with its own
// power while still in its cell, so its factor above 1 strengthens every ray.
#include "elements/materials/Element.h"

// clang-format off
//                                  type name dens blast  factor colour rows start row        sound             absorb flags
inline constexpr ElementInfo kBombInfo   {"Bomb",   90, 1.5f, 0.8f, {107},     StartRow::First, "sfx_element_tnt", 0,   kFlat};
inline constexpr ElementInfo kC4Info     {"C4",     0,  1.5f, 0.8f, {116},     StartRow::First, "sfx_element_c4",  0,   kFlat};
inline constexpr ElementInfo kTntInfo    {"Tnt",    0,  1.5f, 0.8f, {117},     StartRow::First, "sfx_element_tnt", 255, kFlat};
inline constexpr ElementInfo kMeteorInfo {"Meteor", 90, 2.0f, 0.8f, {113},     StartRow::First, "sfx_element_tnt", 0,   kFlat};
// clang-format on

namespace Blast {
constexpr int kBombPower = 1;
constexpr int kC4Power = 1;
constexpr int kTntPower = 3;
constexpr int kMeteorPower = 6;
constexpr int kBombFuse = 120;         // updates: four seconds
constexpr float kTntIgnites = 430.0f;  // at or above
constexpr int kTntHeavyLoad = 5;       // densities above this set TNT off
}  // namespace Blast

class Bomb : public Element<kBombInfo> {
public:
    void update() override;

    int32_t fuse = Blast::kBombFuse;
};

// C4 and TNT: once triggered by a neighbour that went off, each waits its own
// delay, so a block goes off as a spreading wave.
template <const ElementInfo& Info, int Power> class Charge : public Element<Info> {
public:
    Charge() : delay(1 + gameRand() % 8) { }

    bool exploded = false;
    bool triggered = false;
    int32_t delay;

protected:
    // Steps 1 and 2 of both updates; false when the update ends here.
    bool countDown();
    // Current in its cell or an orthogonal neighbour, or a spark in its block.
    bool poweredOrSparked() const;
    void detonate();
};

class C4 : public Charge<kC4Info, Blast::kC4Power> {
public:
    void update() override;
};

class TNT : public Charge<kTntInfo, Blast::kTntPower> {
public:
    void update() override;

private:
    bool loadSetsOff() const;
};

class Meteor : public Element<kMeteorInfo> {
public:
    bool isLiving() const override { return true; }
    void update() override;
};

// Registers the explosives with the element factory.
void registerExplosives();
