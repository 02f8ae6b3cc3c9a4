#pragma once
// The alien biome: Xenovine, a vine that falls as spores, roots, grows in the
// dark in bursts, thickens away from obstacles, withers and recolours itself;
// Mushboom, a seed that stamps its picture on a dormant vine; Pirantha, a
// larva that eats vine and digs tunnels and becomes a Stinger; its
// PiranthaTunnel; and Aluminite, an ore that stores light and glows with it.
#include <memory>

#include "elements/living/LivingKinds.h"
#include "elements/living/blueprint/Blueprint.h"

// clang-format off
//                                         type name         dens blast  factor colour rows  start row         sound                     absorb flags
inline constexpr ElementInfo kAluminiteInfo      {"Aluminite",      100, 0.5f,  0.6f, {158, 157}, StartRow::Second, "sfx_element_aluminite", 20};
inline constexpr ElementInfo kMushboomInfo       {"Mushboom",       100, 0.95f, 0.4f, {1},        StartRow::First,  "sfx_element_mushboom",  0};
inline constexpr ElementInfo kPiranthaInfo       {"Pirantha",       0,   0.7f,  0.8f, {147},      StartRow::First,  "sfx_element_hervibore", 20};
inline constexpr ElementInfo kPiranthaTunnelInfo {"PiranthaTunnel", 0,   0.7f,  0.8f, {23},       StartRow::First,  "sfx_element_acid",      20};
inline constexpr ElementInfo kXenovineInfo       {"Xenovine",       0,   0.3f,  0.8f, {155, 156}, StartRow::First,  "sfx_element_xenovine",  0};
// clang-format on

namespace AlienId {
inline constexpr uint32_t LaserBeam = TypeId::of("LaserBeam");
inline constexpr uint32_t Stinger = TypeId::of("Stinger");
}  // namespace AlienId

class Aluminite : public Element<kAluminiteInfo> {
public:
    static constexpr int kLightRadius = 3;
    static constexpr float kGlowsAbove = 0.3f;
    static constexpr int32_t kChargesAbove = 315;  // light level

    Aluminite();
    ~Aluminite() override;
    void setPosition(int cx, int cy) override;
    void update() override;
    // Glows (lit colour, light on) or not; nothing happens when unchanged.
    void setLit(bool on);
    void setCharge(float v);
    Light* getLight() const { return light; }

    // Set when an ore replaced its light; the next ore to update consumes it.
    static inline bool lightJustReplaced = false;
    static void resetForTests() { lightJustReplaced = false; }

    float charge = 0.0f;
    bool lit = false;
    bool skipNextUpdate = true;

private:
    Light* light = nullptr;
    LightMap* lightOwner = nullptr;
};

class Xenovine : public Element<kXenovineInfo> {
public:
    static constexpr float kBurns = 430.0f;
    static constexpr float kTooWarm = 323.0f;      // above: withers for sure
    static constexpr float kFrozen = -330.0f;      // at or below: no ageing
    static constexpr int32_t kGrowsInLight = 230;  // at or below this level

    Xenovine() : nextBranch(gameRand() % 200 + 500), nextToggle(gameRand() % 15 + 25) { }
    int32_t getSaveSize() const override { return 8; }
    void saveExtra(ByteWriter& out) override;
    void loadExtra(ByteReader& in) override;
    void update() override;

    void grow();
    void wither(bool forced);
    void recolour();
    void thicken();

    bool isDormant() const { return !falling && !growing; }

    bool falling = true;
    bool growing = false;
    bool exposed = true;
    bool resting = false;
    int32_t ticks = 0;
    int32_t age = 0;
    int32_t nextBranch;
    int32_t nextToggle;

private:
    bool isForeignAt(int cx, int cy) const;
    void makeDormant(int cx, int cy);
};

class Mushboom : public Element<kMushboomInfo> {
public:
    static constexpr const char* kFolder = "alien/mushboom";
    bool isLiving() const override { return true; }
    void update() override;
    const Blueprint* getBlueprint() const { return blueprint.get(); }

private:
    // Its own: freed with it.
    std::unique_ptr<Blueprint> blueprint;
};

class Pirantha : public Element<kPiranthaInfo> {
public:
    Pirantha() : life(gameRand() % 200 + 100), timer(gameRand() % 4 + 8) { }
    void update() override;

    bool fed = false;
    int32_t life;
    int32_t timer;

private:
    uint32_t chooseFood() const;
    void dig(const Particle* food);
};

class PiranthaTunnel : public Element<kPiranthaTunnelInfo> { };

// Registers the alien biome (without the Stinger) with the element factory.
void registerAlien();
