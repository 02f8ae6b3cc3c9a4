#include "elements/materials/Powders.h"

#include <cmath>

#include "profile/Profile.h"
#include "elements/materials/Liquids.h"

namespace {

// The warmest a resting stone or wax may stay: just below where it changes.
const float kStoneRestsUpTo = std::nextafter(PowderHeat::kStoneMelts, 0.0f);
const float kWaxRestsUpTo = std::nextafter(PowderHeat::kWaxMelts, 0.0f);

// Snow's chill depends on how hot the world is kept: in the hot settings its
// own cell may even warm.
float snowChill(int ambient)
{
    if (ambient == 400)
        return static_cast<float>(gameRand() % 400) - 210.0f;
    if (ambient == 2550)
        return static_cast<float>(gameRand() % 2550) - 1402.5f;
    return -100.0f;
}

}  // namespace

void MaterialParticle::seepDown(uint32_t dryKind, uint32_t otherDryKind, uint32_t otherWetKind)
{
    if (loadedFromAbove() || !oneIn(8))
        return;
    Particle* below = cellAt(x + randomOffset(), y - 1);
    if (!below)
        return;
    const uint32_t kind = below->getType();
    if (kind == dryKind) {
        swapWith(below);
    } else if (kind == otherDryKind) {
        replaceBy(dryKind);
        world().queueReplaceById(below->x, below->y, otherWetKind);
    }
}

void Sand::update()
{
    if (temperature() > PowderHeat::kSandToGlass) {
        if (oneIn(25))
            replaceBy(TypeId::Glass);
        return;
    }
    fall();
    if (Particle* water = firstInBlock(BlockOrder::ColumnsFirst, Likely::liquid, IsType::water)) {
        if (oneIn(25)) {
            replaceBy(TypeId::SandWet);
            world().removeParticle(water->x, water->y);
        }
        return;
    }
    world().restIfBuried(this, PowderHeat::kSandToGlass);
}

void SandWet::update()
{
    dropIfFree();
    if (temperature() >= PowderHeat::kDries) {
        replaceBy(TypeId::Sand);
        return;
    }
    seepDown(TypeId::Sand, TypeId::Soil, TypeId::Mud);
}

void Soil::update()
{
    fall();
    if (Particle* water = firstInBlock(BlockOrder::ColumnsFirst, Likely::liquid, IsType::water)) {
        if (oneIn(40)) {
            replaceBy(TypeId::Mud);
            world().removeParticle(water->x, water->y);
        }
    }
}

void Mud::setPosition(int cx, int cy)
{
    Particle::setPosition(cx, cy);
    stillTicks = 0;
}

void Mud::update()
{
    dropIfFree();
    if (temperature() >= PowderHeat::kDries) {
        replaceBy(TypeId::Soil);
        return;
    }
    if (stillTicks < kStillBeforeGrowing) {
        ++stillTicks;
    } else if (world().lightMap.getLevelAt(x, y) > 230) {
        tryGrowGrass(x - 1, y);
        tryGrowGrass(x + 1, y);
        tryGrowGrass(x, y + 1);
    }
    seepDown(TypeId::Soil, TypeId::Sand, TypeId::SandWet);
}

void Mud::tryGrowGrass(int cx, int cy)
{
    if (!oneIn(520) || !isEmptyAt(cx, cy))
        return;
    Particle* grass = world().addParticle(cx, cy, TypeId::Grass, false);
    if (!grass)
        return;
    int growthLeft = 0;
    bool flowering = false;
    if (gameRand() % 2 == 0) {
        growthLeft = 1;
        if (gameRand() % 2 == 0) {
            growthLeft = 2;
            flowering = gameRand() % 2 == 0;
        }
    }
    if (auto* seeded = dynamic_cast<SeededGrowth*>(grass))
        seeded->seedGrowth(growthLeft, flowering);
}

Stone::Stone() : erosion(60 + gameRand() % 60)
{
    pickStartRow();
}

void Stone::update()
{
    fall();
    // Half the time a stone this hot melts by chance (the half is drawn on
    // every update, hot or not; both tests are made, so that the coin toss
    // is not a branch).
    const bool heads = gameRand() % 2 == 0;
    if (heads & (temperature() >= PowderHeat::kStoneMelts)) {
        if (oneIn(10))
            replaceBy(TypeId::Lava);
        return;
    }
    // Every Water is liquid and every Ash absorbs light fully.
    Particle* wearer = firstInBlock(
        BlockOrder::ColumnsFirst,
        [](const Particle* p) { return p->liquid || p->lightAbsorption == kAshInfo.lightAbsorption; },
        [](auto t) { return (t == TypeId::Water) | (t == TypeId::Ash); });
    if (!wearer) {
        world().restIfBuried(this, kStoneRestsUpTo);
        return;
    }
    --erosion;
    if (erosion > 0 || !oneIn(100))
        return;
    const uint32_t becomes = wearer->getType() == TypeId::Water ? TypeId::Sand : TypeId::Oil;
    swapWith(wearer);
    replaceBy(becomes);
}

void Ash::update()
{
    fall();
    if (!oneIn(20))
        return;
    if (Lava::anyExist() && firstInBlock(BlockOrder::RowsFirst, Likely::selfLit, IsType::lava))
        removeSelf();
    else if (holds(x, y + 1, TypeId::Stone))
        replaceBy(TypeId::Oil);
}

void Snow::update()
{
    const int t = static_cast<int>(temperature());
    if (t >= PowderHeat::kSnowBoils) {
        Profile::getInstance()->countStoryDay13Snow();
        replaceBy(TypeId::Steam);
        return;
    }
    if (t > PowderHeat::kFreezing && gameRand() % 1000 < t) {
        Profile::getInstance()->countStoryDay13Snow();
        replaceBy(TypeId::Water);
        return;
    }
    heat(snowChill(world().temperatureField.getAmbient()));
    slide();
    dropIfFree();
}

void Ice::update()
{
    const int t = static_cast<int>(temperature());
    if (t >= PowderHeat::kSnowBoils) {
        replaceBy(TypeId::Steam);
        return;
    }
    if (t > PowderHeat::kFreezing && gameRand() % 800 < t) {
        replaceBy(TypeId::Water);
        return;
    }
    heat(snowChill(world().temperatureField.getAmbient()));
    fall();
}

void Wax::update()
{
    if (temperature() >= PowderHeat::kWaxMelts)
        replaceBy(TypeId::WaxMelt);
    else if (!dropIfFree())
        world().restIfBuried(this, kWaxRestsUpTo);
}

void moveConductorMarking(int fromX, int fromY, int toX, int toY)
{
    if (!gWorld)
        return;
    if (fromX != 0 || fromY != 0)
        gWorld->electricityGrid.setCell(fromX, fromY, ElectricityGrid::kEmpty);
    if (toX != 0 || toY != 0)
        gWorld->electricityGrid.setCell(toX, toY, ElectricityGrid::kConductor);
}

void clearConductorMarking(int cx, int cy)
{
    if (gWorld)
        gWorld->electricityGrid.setCell(cx, cy, ElectricityGrid::kEmpty);
}

Metal::~Metal()
{
    clearConductorMarking(x, y);
}

void Metal::setPosition(int cx, int cy)
{
    moveConductorMarking(x, y, cx, cy);
    Particle::setPosition(cx, cy);
}

void Insulator::update()
{
    world().temperatureField.setAt(x, y, static_cast<float>(world().temperatureField.getAmbient()));
}

void Wood::update()
{
    burnIfHot(PowderHeat::kWoodIgnites, PowderHeat::kWoodBurnChance);
}

void Wood::setColorIndex(int index)
{
    if (index < 0 || index >= kWoodInfo.colorRows.count)
        return;
    color = colorAtIndex(index);
    redraw();
}

void Void::update()
{
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy) {
            Particle* p = world().at(x + dx, y + dy);
            if (!p)
                continue;
            const uint32_t t = p->getType();
            if (t == TypeId::Wall || t == TypeId::OutsideWall || t == TypeId::Void)
                continue;
            world().removeParticle(x + dx, y + dy);
        }
}

void registerPowders()
{
    registerElements<Sand, SandWet, Soil, Mud, Stone, Ash, Snow, Ice, Wax, Glass, Metal, Insulator, Wood, Wall, Void>();
}
