#include "elements/materials/Liquids.h"

#include <cmath>

#include "profile/Profile.h"
#include "world/WorldHost.h"

namespace {

constexpr int kWaxStoryDay = 29;
// The warmest resting oil may stay: just below where it ignites.
const float kOilRestsUpTo = std::nextafter(LiquidHeat::kOilIgnites, 0.0f);

}  // namespace

void Water::update()
{
    shimmer(-1, 0, false);
    flow();
    if (Lava::anyExist() && meetLava())
        return;
    // Between freezing and boiling, under a dry sky, nothing happens: that
    // much without a call.
    const float t = temperature();
    if (t > LiquidHeat::kWaterFreezes && t <= LiquidHeat::kWaterBoils && !world().weather)
        return;
    changeWithTemperature(t);
}

bool Water::meetLava()
{
    Particle* lava = firstInBlock(BlockOrder::RowsFirst, Likely::selfLit, IsType::lava);
    if (!lava)
        return false;
    if (oneIn(3)) {
        const int lx = lava->x;
        const int ly = lava->y;
        replaceBy(TypeId::Steam);
        world().removeParticle(lx, ly);
        world().addParticle(lx, ly, TypeId::Stone, false);
    }
    return true;
}

void Water::changeWithTemperature(float t)
{
    // The profile is looked up only on a change, not for every drop.
    if (t > LiquidHeat::kWaterBoilsFast) {
        if (oneIn(130)) {
            replaceBy(TypeId::Steam);
            Profile::getInstance()->countStoryDay11Steam();
        }
    } else if (t > LiquidHeat::kWaterBoils) {
        if (oneIn(440)) {
            replaceBy(TypeId::Steam);
            Profile::getInstance()->countStoryDay11Steam();
        }
    } else if (t <= LiquidHeat::kWaterFreezesFast) {
        if (oneIn(10)) {
            replaceBy(TypeId::Ice);
            Profile::getInstance()->countStoryDay12Ice();
        }
    } else if (t <= LiquidHeat::kWaterFreezes) {
        if (oneIn(400)) {
            replaceBy(TypeId::Ice);
            Profile::getInstance()->countStoryDay12Ice();
        }
    } else if (world().weather && countEmptyAbove() == 3 && countOccupiedBelow() >= 2) {
        // Evaporation under the open sky; not a boil, so not counted.
        if (oneIn(520))
            replaceBy(TypeId::Steam);
    }
}

void Oil::update()
{
    flow();
    if (temperature() >= LiquidHeat::kOilIgnites || world().electricityGrid.isPoweredNear(x, y))
        replaceBy(TypeId::OilBurning);
    // (Both tests only read: the host is asked only where water is beside.)
    if (firstInBlock(BlockOrder::RowsFirst, Likely::liquid, IsType::water)) {
        if (worldHost().isFreePlay())
            Profile::getInstance()->setOilBurned(true);
        return;
    }
    world().restIfBuried(this, kOilRestsUpTo, true);
}

void OilBurning::update()
{
    flow();
    if (oneIn(5))
        igniteOilAround();
    heat(50.0f);
    if (countOccupiedBelow() >= 2)
        throwFlames();
    if (oneIn(200))
        removeSelf();
}

void OilBurning::igniteOilAround()
{
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy) {
            const int cx = x + dx;
            const int cy = y + dy;
            if (!holds(cx, cy, TypeId::Oil))
                continue;
            world().removeParticle(cx, cy);
            world().addParticle(cx, cy, TypeId::OilBurning, false);
        }
}

// Burning oil that rests on something throws flames above itself.
void OilBurning::throwFlames()
{
    World& w = world();
    if (oneIn(100) && isEmptyAt(x, y + 2)) {
        w.addParticle(x, y + 2, TypeId::Fire, false);
        if (isEmptyAt(x, y + 1))
            w.addParticle(x, y + 1, TypeId::Smoke, false);
    }
    for (int side : {-1, 1}) {
        if (oneIn(100) && isEmptyAt(x + side, y + 1)) {
            w.addParticle(x + side, y + 2, TypeId::Fire, false);
            if (isEmptyAt(x + side, y + 1))
                w.addParticle(x + side, y + 1, TypeId::Smoke, false);
        }
    }
}

int Lava::s_live = 0;

Lava::Lava()
{
    shimmerPeriod = 20 + gameRand() % 5;
    ++s_live;
}

Lava::~Lava()
{
    --s_live;
}

void Lava::update()
{
    const int swapDraw = gameRand();
    shimmer(randomOffset(), -1, swapDraw % 5 == 0);
    flow();
    if (temperature() < LiquidHeat::kLavaCools && oneIn(4)) {
        replaceBy(TypeId::Stone);
        return;
    }
    switch (world().temperatureField.getAmbient()) {
    case -300: heat(100.0f); break;
    case -2550: heat(50.0f); break;
    default: heat(200.0f); break;
    }
    if (countOccupiedBelow() < 2)
        return;
    World& w = world();
    if (oneIn(100) && isEmptyAt(x, y + 2))
        w.addParticle(x, y + 2, TypeId::Fire, false);
    if (oneIn(100) && isEmptyAt(x - 1, y + 1))
        w.addParticle(x - 1, y + 1, TypeId::Fire, false);
    if (oneIn(100) && isEmptyAt(x + 1, y + 1))
        w.addParticle(x + 1, y + 1, TypeId::Fire, false);
}

void WaxMelt::update()
{
    if (temperature() >= LiquidHeat::kWaxSets) {
        flow();
        return;
    }
    Profile* profile = Profile::getInstance();
    if (profile->getDay() == kWaxStoryDay)
        ++profile->waxCounter();
    replaceBy(TypeId::Wax);
}

void registerLiquids()
{
    registerElements<Water, Oil, OilBurning, Lava, WaxMelt>();
}
