#pragma once
// Power and the wiring around it. Power puts a pulse on its own cell every
// `period` updates (chosen in its editor window); CrossWire is a bridge cell
// where two wires cross without joining; Bulb lights its surroundings for a
// while after current reaches it; Heater and Cooler drive the temperature
// around them to the top or bottom of the scale while current reaches them.
#include "elements/materials/Element.h"

// clang-format off
//                                     type name    dens blast  factor colour rows start row        sound                  absorb flags      light
inline constexpr ElementInfo kPowerInfo     {"Power",     0, 0.7f, 0.8f, {43},      StartRow::First, "sfx_element_electro", 255, kEditable};
inline constexpr ElementInfo kCrossWireInfo {"CrossWire", 0, 1.5f, 0.8f, {137, 11}, StartRow::First, "sfx_element_stone",   0,   kFlat};
inline constexpr ElementInfo kBulbInfo      {"Bulb",      0, 0.7f, 0.8f, {8},       StartRow::First, "sfx_element_electro", 0,   0,         10};
inline constexpr ElementInfo kHeaterInfo    {"Heater",    0, 0.7f, 0.8f, {29},      StartRow::First, "sfx_element_electro", 0};
inline constexpr ElementInfo kCoolerInfo    {"Cooler",    0, 0.7f, 0.8f, {10},      StartRow::First, "sfx_element_electro", 0};
// clang-format on

// The element editor windows belong to the HUD, reached through the world
// host. Where none opens (no game above the world) a long press says so once
// per window kind in the log.
void openElementEditor(Particle& p, const char* window);

// Draws a look that changes every update: straight into the world texture,
// not marked changed, so it is never saved with the world.
inline void showLook(Particle& p, cocos2d::ccColor4B look)
{
    p.color = look;
    p.redraw();
}

class Power : public Element<kPowerInfo> {
public:
    static constexpr int32_t kSaveBytes = 4;
    static constexpr int32_t kStartPeriod = 8;

    ~Power() override;
    void setPosition(int cx, int cy) override;  // the conductor marking
    int32_t getSaveSize() const override { return kSaveBytes; }
    void saveExtra(ByteWriter& out) override;
    // A negative period (never offered) loads as off.
    void loadExtra(ByteReader& in) override;
    void update() override;
    void onTouch() override;
    // Takes `chosenPeriod`, which the editor window sets before it calls;
    // the counter keeps its value.
    void applyEditor() override;

    int32_t period = kStartPeriod;   // updates between pulses; 0 = off
    int32_t counter = kStartPeriod;  // updates since the last pulse (not saved)
    int32_t chosenPeriod = kStartPeriod;
};

class CrossWire : public Element<kCrossWireInfo> {
public:
    ~CrossWire() override;
    // The bridge record follows the cell.
    void setPosition(int cx, int cy) override;
    void update() override;
};

class Bulb : public LitElement<kBulbInfo> {
public:
    static constexpr int32_t kLitUpdates = 8;
    Bulb();
    void update() override;

    int32_t litTicks = 0;  // updates it will still be lit; goals count >= 1 as lit
};

// Heater (+1) and Cooler (-1): five updates of the extreme after current.
template <const ElementInfo& Info, int Sign> class TemperatureDriver : public Element<Info> {
public:
    static constexpr int32_t kActiveUpdates = 5;
    void update() override;

    int32_t activeTicks = 0;
};

using Heater = TemperatureDriver<kHeaterInfo, 1>;
using Cooler = TemperatureDriver<kCoolerInfo, -1>;

// Registers Power, CrossWire, Bulb, Heater and Cooler with the element factory.
void registerWiring();
