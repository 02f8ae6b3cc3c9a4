#include "elements/materials/Wiring.h"

#include <cfloat>
#include <set>
#include <string>

#include "base/Logger.h"
#include "elements/materials/Powders.h"
#include "world/ByteStream.h"
#include "world/WorldHost.h"

void openElementEditor(Particle& p, const char* window)
{
    if (worldHost().openEditor(p, window))
        return;
    static std::set<std::string, std::less<>> told;
    if (told.emplace(window).second)
        LOG << "no element editor window opens here:" << window;
}

// --- Power ------------------------------------------------------------------

Power::~Power()
{
    clearConductorMarking(x, y);
}

void Power::setPosition(int cx, int cy)
{
    moveConductorMarking(x, y, cx, cy);
    Particle::setPosition(cx, cy);
}

void Power::saveExtra(ByteWriter& out)
{
    out.i32(period);
}

void Power::loadExtra(ByteReader& in)
{
    int32_t loaded = 0;
    if (in.i32(loaded))
        period = loaded < 0 ? 0 : loaded;
}

void Power::update()
{
    if (period == 0)
        return;
    if (++counter >= period) {
        counter = 0;
        world().electricityGrid.setCell(x, y, ElectricityGrid::kHead);
    }
}

void Power::onTouch()
{
    if (!editor)
        openElementEditor(*this, "PowerEditor");
}

void Power::applyEditor()
{
    period = chosenPeriod < 0 ? 0 : chosenPeriod;
}

// --- CrossWire ----------------------------------------------------------------

CrossWire::~CrossWire()
{
    if (gWorld)
        gWorld->electricityGrid.setBridge(x, y, false);
}

void CrossWire::setPosition(int cx, int cy)
{
    if (gWorld && (x != 0 || y != 0))
        gWorld->electricityGrid.setBridge(x, y, false);
    Particle::setPosition(cx, cy);
    if (gWorld && (cx != 0 || cy != 0))
        gWorld->electricityGrid.setBridge(cx, cy, true);
}

void CrossWire::update()
{
    ElectricityGrid& grid = world().electricityGrid;
    if (!grid.isBridge(x, y)) {
        // A field of broken bridges would write one line each, every step.
        static RepeatedLine brokenBridges;
        if (brokenBridges.due())
            LOG << "Bridge doesn't exist? WTF?" << brokenBridges;
        return;
    }
    const ElectricityBridge& b = grid.currentBridge(x, y);
    const bool carrying = b.fromRight == 3 || b.fromLeft == 3 || b.fromBelow == 3 || b.fromAbove == 3;
    showLook(*this, colorAtIndex(carrying ? 1 : 0));
}

// --- Bulb -----------------------------------------------------------------------

Bulb::Bulb()
{
    if (light) {
        light->on = false;
        light->changed = true;
    }
}

void Bulb::update()
{
    if (world().electricityGrid.isPowered(x, y))
        litTicks = kLitUpdates;
    const bool lit = litTicks > 0;
    if (light) {
        light->on = lit;
        light->changed = true;
    }
    if (lit)
        --litTicks;
    lightSource = lit;
}

// --- Heater and Cooler ----------------------------------------------------------

template <const ElementInfo& Info, int Sign> void TemperatureDriver<Info, Sign>::update()
{
    const int x = this->x;
    const int y = this->y;
    World& w = *gWorld;
    if (w.electricityGrid.isPowered(x, y))
        activeTicks = kActiveUpdates;
    if (activeTicks <= 0)
        return;
    // The largest finite push: the field clamps it to its own extreme.
    const float push = Sign * FLT_MAX;
    TemperatureField& t = w.temperatureField;
    t.addAt(x - 1, y, push);
    t.addAt(x + 1, y, push);
    t.addAt(x, y - 1, push);
    t.addAt(x, y + 1, push);
    t.addAt(x, y, push);
    --activeTicks;
}

template class TemperatureDriver<kHeaterInfo, 1>;
template class TemperatureDriver<kCoolerInfo, -1>;

void registerWiring()
{
    registerElements<Power, CrossWire, Bulb, Heater, Cooler>();
}
