#pragma once
// Fireworks: a rocket that falls like a powder until heat lights it, then
// climbs to its burst height (or until something stops it) and bursts into a
// coloured spray. Water or Steam touching it makes it wet, and a wet rocket is
// never lit; a wet rocket beside more water passes its wetness into the pile.
#include "elements/materials/Element.h"

// clang-format off
//                                     type name    dens blast factor colour rows      start row         sound                    absorb flags
inline constexpr ElementInfo kFireworksInfo {"Fireworks", 0, 1.5f, 0.8f, {107, 108, 109}, StartRow::Second, "sfx_element_fireworks", 0,     kFlat};
// clang-format on

class Fireworks : public Element<kFireworksInfo> {
public:
    // Indices of the colour list by use.
    static constexpr int kWetColour = 0;
    static constexpr int kDryColour = 1;
    static constexpr int kLitColour = 2;
    static constexpr float kLights = 823.0f;  // temperature + rand() % 400, at or above
    static constexpr int kLowestBurst = 70;   // burst rows are 70 - rand() % 20 - rand() % 15
    static constexpr int kWetDepth = 20;      // the wetness passes this many rockets deep at most

    void update() override;
    // The coloured spray at its cell; the rocket is gone at the next step.
    void burst() override;
    void setWet(bool isWet);
    void spreadWet(int depth);

    bool launched = false;
    int32_t burstHeight = 0;
    bool wet = false;

private:
    void soakUp();
    void light();
    // False when the update ends without the burst test.
    bool climb();
};

// Registers Fireworks with the element factory.
void registerFireworks();
