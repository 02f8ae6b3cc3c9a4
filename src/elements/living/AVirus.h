#pragma once
// AVirus, the anti-virus: a short-lived walker that heads for the nearest
// Virus, eats Virus cells and zombie humans beside it, lives longer for every
// meal and dies where current flows.
#include "elements/living/LivingKinds.h"

// clang-format off
//                                  type name dens blast factor colour rows start row        sound                    absorb flags
inline constexpr ElementInfo kAVirusInfo {"AVirus", 0, 0.9f, 0.8f, {6},        StartRow::First, "sfx_element_antivirus", 0,     kFlat};
// clang-format on

class AVirus : public Element<kAVirusInfo> {
public:
    static constexpr int kSearchRadius = 60;
    static constexpr int32_t kMeal = 100;
    static constexpr int32_t kLongestLife = 1000;

    AVirus();
    void update() override;
    // Targets the nearest particle of the kind within 60 cells, else a random
    // point within 30 cells.
    void pickTarget(uint32_t kind);

    int32_t period;
    int32_t counter = 0;
    int32_t life = 400;
    int32_t targetX = 0;
    int32_t targetY = 0;

private:
    // One meal attempt; true when the update ends with it.
    bool tryMeal();
    bool tryStep(int dx, int dy);
};

// Registers the anti-virus with the element factory.
void registerAVirus();
