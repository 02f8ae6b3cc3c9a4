#pragma once
// The job and role dusts: a glittering powder the player sprinkles over
// humans and robots. A creature that finds a dust beside its body consumes it
// and takes the dust's job (humans) or role (robots). The dust itself only
// drifts, falls, glints and vanishes as soon as it lands on anything; the
// nine kinds differ only in name, colour rows and sound.
#include <cstdint>

#include "elements/materials/Element.h"

// clang-format off
//                                         type name          dens blast factor colour rows          start           sound                    absorb
inline constexpr ElementInfo kBaseDustInfo       {"BaseDust",       0, 0.5f, 0.8f, {89, 90, 91, 115}, StartRow::None, "sfx_element_gem",      255};
inline constexpr ElementInfo kWoodcutterDustInfo {"WoodcutterDust", 0, 0.5f, 0.8f, {97, 97, 97, 97},  StartRow::None, "sfx_element_gem",      255};
inline constexpr ElementInfo kHunterDustInfo     {"HunterDust",     0, 0.5f, 0.8f, {97, 97, 97, 97},  StartRow::None, "sfx_element_gem",      255};
inline constexpr ElementInfo kMinerDustInfo      {"MinerDust",      0, 0.5f, 0.8f, {97, 97, 97, 97},  StartRow::None, "sfx_element_gem",      255};
inline constexpr ElementInfo kBuilderDustInfo    {"BuilderDust",    0, 0.5f, 0.8f, {97, 97, 97, 97},  StartRow::None, "sfx_element_gem",      255};
inline constexpr ElementInfo kSafariDustInfo     {"SafariDust",     0, 0.5f, 0.8f, {97, 97, 97, 97},  StartRow::None, "sfx_element_gem",      255};
inline constexpr ElementInfo kSpacemanDustInfo   {"SpacemanDust",   0, 0.5f, 0.8f, {97, 97, 97, 97},  StartRow::None, "sfx_element_spaceman", 255};
inline constexpr ElementInfo kZombieDustInfo     {"ZombieDust",     0, 0.5f, 0.8f, {97, 97, 97, 97},  StartRow::None, "sfx_element_gem",      255};
inline constexpr ElementInfo kRGuardianDustInfo  {"RGuardianDust",  0, 0.5f, 0.8f, {97, 97, 97, 97},  StartRow::None, "sfx_element_robot",    255};
inline constexpr ElementInfo kRHunterDustInfo    {"RHunterDust",    0, 0.5f, 0.8f, {97, 97, 97, 97},  StartRow::None, "sfx_element_robot",    255};
// clang-format on

// The glint and fall every dust shares.
class BaseDustState : public MaterialParticle {
public:
    static constexpr float kFlashStep = 0.051f;
    static constexpr int kPhaseChance = 50;
    static constexpr int kGlintChance = 400;
    static constexpr int kWhiteChance = 20;

    void update() override;

    bool sparkle = false;  // this glint flashes towards white
    bool rising = false;
    bool falling = false;
    bool idle = true;
    float phase = 0.0f;  // idle blend towards the glint colour
    float flash = 0.0f;  // glint level 0..1
    cocos2d::ccColor4B baseColour{};
    cocos2d::ccColor4B glintColour{};

protected:
    void recolour();
    void advancePhase();
    void startGlint();
};

template <const ElementInfo& Info> class Dust : public Element<Info, BaseDustState> {
public:
    Dust()
    {
        this->color = this->colorAtIndex(1);
        this->baseColour = this->color;
        this->glintColour = this->colorAtIndex(3);
    }
};

using BaseDust = Dust<kBaseDustInfo>;
using WoodcutterDust = Dust<kWoodcutterDustInfo>;
using HunterDust = Dust<kHunterDustInfo>;
using MinerDust = Dust<kMinerDustInfo>;
using BuilderDust = Dust<kBuilderDustInfo>;
using SafariDust = Dust<kSafariDustInfo>;
using SpacemanDust = Dust<kSpacemanDustInfo>;
using ZombieDust = Dust<kZombieDustInfo>;
using RGuardianDust = Dust<kRGuardianDustInfo>;
using RHunterDust = Dust<kRHunterDustInfo>;

// Registers the nine placeable dusts (BaseDust is never placed itself).
void registerDusts();
