#pragma once
// Fish swim in water, hunt algae leaves and starve without them; the deep-sea
// fish sinks to the bottom, hunts fish too with a lure light it switches on
// while hunting, and breeds after three meals; the firefly blinks, seeks a
// mate of the other sex, lays young and dies after its last mating.
#include "elements/living/LivingKinds.h"

// clang-format off
//                                      type name      dens blast factor colour rows start row        sound                absorb flags  light radius
inline constexpr ElementInfo kFishInfo        {"Fish",        0, 0.9f, 0.8f, {79},  StartRow::First, "sfx_element_fish", 5, kFlat};
inline constexpr ElementInfo kDeepSeaFishInfo {"DeepSeaFish", 0, 0.9f, 0.8f, {138}, StartRow::First, "sfx_element_fish", 5, kFlat, 4};
inline constexpr ElementInfo kFireflyInfo     {"Firefly",     0, 0.9f, 0.8f, {139}, StartRow::First, "sfx_element_bees", 5, kFlat, 4};
// clang-format on

// What the two fish share: a swimming direction, food, and a prey cell.
struct FishState {
    static constexpr int32_t kFullFood = 8000;
    static constexpr int32_t kMeal = 250;
    FishState() : dirX(gameRand() % 3 - 1), dirY(gameRand() % 3 - 1), huntTicks(gameRand() % 600) { }

    int32_t dirX;
    int32_t dirY;
    int32_t food = kFullFood;
    int32_t huntTicks;
    int32_t huntInterval = 600;
    bool hasTarget = false;
    int32_t targetX = 0;
    int32_t targetY = 0;
};

class Fish : public Element<kFishInfo>, public FishState {
public:
    bool isLiving() const override { return true; }
    void update() override;
};

class DeepSeaFish : public LitElement<kDeepSeaFishInfo>, public FishState {
public:
    DeepSeaFish() { switchLight(false); }
    bool isLiving() const override { return true; }
    void update() override;

    int32_t eaten = 0;  // meals since it last bred

private:
    void switchLight(bool on);
    bool steer();
};

class Firefly : public LitElement<kFireflyInfo> {
public:
    static constexpr int kMateRadius = 20;
    Firefly();
    bool isLiving() const override { return true; }
    void update() override;
    // The nearest particle of the kind within the square of half-width
    // `radius` that is of the other sex and neither parent; null when none.
    virtual Firefly* findMate(int radius, uint32_t type) const;

    int32_t state = 0;  // 0 roaming, 1 flying to a mate, 2 met
    int32_t female;
    int32_t life;
    bool hasTarget = false;
    int32_t wanderTicks;
    int32_t wetness = 0;
    int32_t targetX = 0;
    int32_t targetY = 0;
    int32_t maxOffspring;
    int32_t offspring = 0;
    int32_t matingCooldown = 200;
    int32_t matingCooldownReset = 200;
    int32_t blinkPeriod;
    int32_t blinkTicks = 0;
    // Only ever compared, never followed: a parent may be gone.
    const Particle* parentA = nullptr;
    const Particle* parentB = nullptr;

private:
    void seekMate();
    void dieOutright();
};

// Registers the fish and the firefly with the element factory.
void registerFish();
