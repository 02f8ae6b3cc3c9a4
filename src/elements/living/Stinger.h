#pragma once
// The Stinger, the adult of the alien biome: it follows the shared distance
// field toward the nearest creature, swapping with soft matter on its way,
// and where it reaches prey leaves alien matter and dies. One Stinger, the
// field driver, advances the field once per acting turn.
#include <utility>
#include <vector>

#include "elements/living/LivingKinds.h"

// clang-format off
//                                   type name  dens blast factor colour rows start row        sound                    absorb
inline constexpr ElementInfo kStingerInfo {"Stinger", 0, 0.7f, 0.8f, {148},     StartRow::First, "sfx_element_carnivore", 20};
// clang-format on

class Stinger : public Element<kStingerInfo> {
public:
    static constexpr int kBurns = 343;

    Stinger() : life(gameRand() % 200 + 100), timer(gameRand() % 2 + 1) { }
    ~Stinger() override;
    void update() override;
    // Where the field leads: the lowest neighbour, or (-1, -1). The driver
    // advances the field first.
    std::pair<int, int> nextCell();

    static bool isSoftMatter(uint32_t type);
    static bool isLargePrey(uint32_t type);
    static bool isSmallPrey(uint32_t type);
    static bool isGlowingPrey(uint32_t type);
    static const std::vector<uint32_t>& passableKinds();
    static const std::vector<uint32_t>& targetKinds();

    // The one Stinger advancing the field; null until one acts.
    static inline Stinger* fieldDriver = nullptr;
    // Back to the start of a run: no driver, the lists not yet handed over,
    // the field as at start-up.
    static void resetForTests();

    int32_t life;
    int32_t timer;

private:
    void eatLargePrey(Particle* prey);
    void sideStep();
    static inline bool kindsInstalled = false;
};

// Registers the Stinger with the element factory.
void registerStinger();
