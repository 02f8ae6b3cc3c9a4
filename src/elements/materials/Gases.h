#pragma once
// The light kinds that rise or drift: Steam condenses into Water or gathers
// into Cloud, Smoke fades away, and Gas drifts at random until heat or
// current sets it off in a burst of heat.
#include "elements/materials/Element.h"

// clang-format off
//                                 type name  dens blast  factor colour rows start row         sound                absorb flags
inline constexpr ElementInfo kSteamInfo {"Steam", -1, 0.95f, 0.8f, {54, 55},   StartRow::Random, "sfx_element_steam", 0};
inline constexpr ElementInfo kSmokeInfo {"Smoke", -1, 0.95f, 0.8f, {49, 50},   StartRow::Random, "sfx_element_smoke", 2};
inline constexpr ElementInfo kGasInfo   {"Gas",   1,  0.9f,  0.8f, {23},       StartRow::First,  "sfx_element_steam", 0,  kFlat};
// clang-format on

namespace GasHeat {
constexpr float kGasIgnites = 373.0f;  // at or above
constexpr float kGasBurst = 12000.0f;  // added to its cell (the field clamps it)
}  // namespace GasHeat

class Steam : public Element<kSteamInfo> {
public:
    void update() override;

private:
    bool condense();
};

class Smoke : public Element<kSmokeInfo> {
public:
    void update() override;
};

class Gas : public Element<kGasInfo> {
public:
    void update() override;
};

// Registers the gases with the element factory.
void registerGases();
