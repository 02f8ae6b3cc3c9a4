#pragma once
// Light-emitting diodes in six colours. An LED glows while current reaches
// it and passes its surplus glow on to touching LEDs, so a row fed at one end
// lights up cell by cell and fades out slowly when the current stops. Led
// holds the whole behaviour; a colour class only names its rows (index 0
// unlit, index 1 lit). glow and fed are not saved: a loaded LED starts dark.
#include <vector>

#include "elements/materials/Element.h"

// clang-format off
//                                     type name    dens blast  factor colour rows  start row        sound                  absorb flags light
inline constexpr ElementInfo kLedInfo       {"Led",       0, 0.7f, 0.8f, {119, 118}, StartRow::First, "sfx_element_electro", 0,     0,    1};
inline constexpr ElementInfo kLedBlueInfo   {"LedBlue",   0, 0.7f, 0.8f, {125, 124}, StartRow::First, "sfx_element_electro", 0,     0,    1};
inline constexpr ElementInfo kLedGreenInfo  {"LedGreen",  0, 0.7f, 0.8f, {129, 128}, StartRow::First, "sfx_element_electro", 0,     0,    1};
inline constexpr ElementInfo kLedOrangeInfo {"LedOrange", 0, 0.7f, 0.8f, {121, 120}, StartRow::First, "sfx_element_electro", 0,     0,    1};
inline constexpr ElementInfo kLedPurpleInfo {"LedPurple", 0, 0.7f, 0.8f, {127, 126}, StartRow::First, "sfx_element_electro", 0,     0,    1};
inline constexpr ElementInfo kLedRedInfo    {"LedRed",    0, 0.7f, 0.8f, {119, 118}, StartRow::First, "sfx_element_electro", 0,     0,    1};
inline constexpr ElementInfo kLedYellowInfo {"LedYellow", 0, 0.7f, 0.8f, {123, 122}, StartRow::First, "sfx_element_electro", 0,     0,    1};
// clang-format on

class Led : public MaterialParticle {
public:
    static constexpr int32_t kFullGlow = 32;
    static constexpr int32_t kLitAbove = 8;
    static constexpr int kShareTries = 10;

    // The LED kinds (the base's own name included), for neighbour tests.
    static bool isLed(uint32_t type);
    // The LED standing in the cell, or null.
    static Led* ledAt(int cx, int cy);

    void update() override;
    // Offers `amount` to touching LEDs: ten random tries, each reaching the
    // left or right, upper or lower neighbour (or the own cell). Each LED
    // reached before it was fed takes the whole amount and passes its own
    // excess on at once, depth first. The depth-first order is kept with an
    // explicit stack, so a large field cannot exhaust the call stack.
    void shareGlow(int32_t amount);
    void setLit(bool on);

    int32_t glow = 0;  // 0..32; drawn lit from above 8 until it decays to 0
    bool fed = false;  // received glow since its own last update

protected:
    virtual Light* ledLight() const = 0;
    virtual cocos2d::ccColor4B rowColour(int index) const = 0;

private:
    // Takes an offered amount; true when it has excess to pass on.
    bool receive(int32_t amount, int32_t& excess);
};

template <const ElementInfo& Info> class LedColour : public LitElement<Info, Led> {
public:
    LedColour()
    {
        if (this->light) {
            this->light->on = false;
            this->light->changed = true;
        }
    }

protected:
    Light* ledLight() const override { return this->light; }
    cocos2d::ccColor4B rowColour(int index) const override { return this->colorAtIndex(index); }
};

using LedBlue = LedColour<kLedBlueInfo>;
using LedGreen = LedColour<kLedGreenInfo>;
using LedOrange = LedColour<kLedOrangeInfo>;
using LedPurple = LedColour<kLedPurpleInfo>;
using LedRed = LedColour<kLedRedInfo>;
using LedYellow = LedColour<kLedYellowInfo>;

// Registers the six colours (the base Led is never made).
void registerLeds();
