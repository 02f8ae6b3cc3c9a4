#pragma once
// The short-lived and glowing elements that carry light and heat: Fire
// (flames that rise, heat the cell below, spread upward and die at random),
// Explosion (the flickering cells a blast leaves behind, which fade and throw
// Fire and Smoke) and Bright (a still material that lights its surroundings).
// Each owns one light for its whole life.
#include "elements/materials/Element.h"

// clang-format off
//                                     type name    dens blast  factor colour rows    start row         sound                 absorb flags         light
inline constexpr ElementInfo kFireInfo      {"Fire",      0, 0.95f, 0.8f, {12, 13, 14}, StartRow::First, "sfx_element_fire",   0, kLightSource, 1};
inline constexpr ElementInfo kExplosionInfo {"Explosion", 0, 1.01f, 0.6f, {},           StartRow::None,  "sfx_element_stone",  0, kLightSource, 1};
inline constexpr ElementInfo kBrightInfo    {"Bright",    0, 0.7f,  0.6f, {7},          StartRow::First, "sfx_element_bright", 0, kLightSource, 10};
// clang-format on

class Fire : public LitElement<kFireInfo> {
public:
    static constexpr float kHeatBelow = 100.0f;
    void update() override;

    int32_t stage = 0;  // index in the colour list of the row shown: 0, 1, 2
    int32_t age = 0;    // updates lived

private:
    void ripen();
};

// Explosion cells have no colour rows: their colour is an orange that fades
// with the life left, or the firework tint a coloured burst gave them.
class Explosion : public LitElement<kExplosionInfo> {
public:
    Explosion();
    void update() override;
    void setLife(int value) override;
    void setTinted(bool value) override;

    int32_t life;         // updates left
    int32_t lifeStart;    // the life it was given
    bool tinted = false;  // keeps its firework colour and throws nothing

private:
    void throwFireOrSmoke();
    cocos2d::ccColor4B fadingOrange() const;
    void recolour();
};

class Bright : public LitElement<kBrightInfo> {
public:
    void update() override;
};

// Registers Fire, Explosion and Bright with the element factory.
void registerFire();
