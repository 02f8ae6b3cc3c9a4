#pragma once
// The nine gems: heavy grains that fall and pile like sand and now and then
// sparkle, flashing toward a brighter colour of their own (or white) and
// fading back. They differ only in name and colour rows. The sparkle is
// written straight to the world texture and never saved.
#include "elements/materials/Element.h"

// clang-format off
//                                       type name      dens blast factor colour rows       start row         sound              absorb
inline constexpr ElementInfo kAmatistInfo     {"Amatist",     100, 0.5f, 0.6f, {89, 90, 91},    StartRow::Second, "sfx_element_gem", 20};
inline constexpr ElementInfo kCitrineInfo     {"Citrine",     100, 0.5f, 0.6f, {92, 93, 94},    StartRow::Second, "sfx_element_gem", 20};
inline constexpr ElementInfo kDiamondInfo     {"Diamond",     100, 0.5f, 0.6f, {95, 96, 97},    StartRow::Second, "sfx_element_gem", 20};
inline constexpr ElementInfo kEmeraldInfo     {"Emerald",     100, 0.5f, 0.6f, {98, 99, 100},   StartRow::Second, "sfx_element_gem", 20};
inline constexpr ElementInfo kLapislazuliInfo {"Lapislazuli", 100, 0.5f, 0.6f, {101, 102, 103}, StartRow::Second, "sfx_element_gem", 20};
inline constexpr ElementInfo kObsidianInfo    {"Obsidian",    100, 0.5f, 0.6f, {104, 105, 106}, StartRow::Second, "sfx_element_gem", 20};
inline constexpr ElementInfo kRubyInfo        {"Ruby",        100, 0.5f, 0.6f, {107, 108, 109}, StartRow::Second, "sfx_element_gem", 20};
inline constexpr ElementInfo kSapphireInfo    {"Sapphire",    100, 0.5f, 0.6f, {110, 111, 112}, StartRow::Second, "sfx_element_gem", 20};
inline constexpr ElementInfo kZirconInfo      {"Zircon",      100, 0.5f, 0.6f, {113, 114, 115}, StartRow::Second, "sfx_element_gem", 20};
// clang-format on

// A gem's sparkle, shared by the nine classes.
struct GemSparkle {
    static constexpr float kStep = 0.2f;
    static constexpr int kLoneChance = 50;   // 1 in this with fewer than kPile like neighbours
    static constexpr int kPileChance = 400;  // 1 in this with kPile or more
    static constexpr int kPile = 6;
    static constexpr int kWhiteChance = 20;

    float sparkle = 0.0f;  // 0..1: how far the colour is blended to the target
    bool rising = false;
    bool fading = false;
    bool white = false;
    bool fresh = true;  // until the first update
    cocos2d::ccColor4B baseColour{};
    cocos2d::ccColor4B sparkleColour{};
};

// A sparkle that restarts during another keeps the first base and climbs on
// from where it was.
void startGemSparkle(Particle& gem, GemSparkle& s);
// Blends each colour channel from the base toward the target and writes the
// pixel straight to the world texture.
void blendGemSparkle(Particle& gem, GemSparkle& s);

template <const ElementInfo& Info> class Gem : public Element<Info> {
public:
    Gem()
    {
        state.baseColour = this->color;
        state.sparkleColour = this->colorAtIndex(2);
    }
    void update() override;

    GemSparkle state;
};

using Amatist = Gem<kAmatistInfo>;
using Citrine = Gem<kCitrineInfo>;
using Diamond = Gem<kDiamondInfo>;
using Emerald = Gem<kEmeraldInfo>;
using Lapislazuli = Gem<kLapislazuliInfo>;
using Obsidian = Gem<kObsidianInfo>;
using Ruby = Gem<kRubyInfo>;
using Sapphire = Gem<kSapphireInfo>;
using Zircon = Gem<kZirconInfo>;

// Registers the nine gems with the element factory.
void registerGems();
