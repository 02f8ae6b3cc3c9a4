#include "elements/living/Plants.h"

#include <algorithm>

#include "world/ByteStream.h"

void Algae::update()
{
    if (burnIfHot(LivingHeat::kBurns, LivingHeat::kBurnChance)) {
        world().queueReplaceById(x, y, TypeId::Oil);
        return;
    }
    heat(kWarmth);
    Particle* below = cellAt(x, y - 1);
    if (!below) {
        moveTo(x, y - 1);
        return;
    }
    const uint32_t ground = below->getType();
    if (ground == TypeId::Water) {
        swapWith(below);
        return;
    }
    if (ground == LivingId::Algae || ground == LivingId::AlgaeLeaf) {
        removeSelf();
        return;
    }
    if (ground != TypeId::Mud && ground != TypeId::SandWet) {
        const int wet = countNeighboursOfType(LivingId::Fish) + countNeighboursOfType(LivingId::AlgaeLeaf) +
            countNeighboursOfType(LivingId::Algae) + countNeighboursOfType(TypeId::Water);
        if (wet <= 4)
            removeSelf();
        return;
    }
    if (!shaped) {
        takeShape();
        return;
    }
    cycleColour();
    grow();
}

void Algae::takeShape()
{
    // Rivals within two columns give way to the first plant that roots. The
    // scan stays inside the grid even beside the border.
    World& w = world();
    const int left = std::max(x - 2, 0);
    const int right = std::min(x + 2, w.width - 1);
    const int low = std::max(y - 1, 0);
    const int high = std::min(y + 1, w.height - 1);
    for (int cx = left; cx <= right; ++cx)
        for (int cy = low; cy <= high; ++cy) {
            Particle* p = w.grid[cx][cy];
            if (p && p != this && p->getType() == LivingId::Algae)
                w.removeParticle(cx, cy);
        }
    stemHeight = gameRand() % 3 + 2;
    leftArmRow = y + std::min(gameRand() % 2 + 1, stemHeight - 2);
    rightArmRow = y + stemHeight - gameRand() % 3;
    leftArmLength = gameRand() % 2 + 1;
    rightArmLength = gameRand() % 2 + 2;
    topLength = gameRand() % 2 + 1;
    leftArmRise = gameRand() % 3 + 1;
    rightArmRise = gameRand() % 3 + 2;
    shaped = true;
}

void Algae::grow()
{
    for (int cy = y + 1; cy < y + stemHeight; ++cy)
        if (growLeafAt(x, cy) != kLeafThere)
            break;
    growArm(-1, leftArmRow, leftArmLength, leftArmRise);
    growArm(1, rightArmRow, rightArmLength, rightArmRise);
    if (growLeafAt(x - 1, y + stemHeight) == kLeafThere && topLength > 1)
        growLeafAt(x - 1, y + stemHeight + 1);
}

// One arm: out one or two cells along its row, then up its outer column.
void Algae::growArm(int side, int row, int length, int rise)
{
    if (growLeafAt(x + side, row) != kLeafThere || length <= 1)
        return;
    if (growLeafAt(x + 2 * side, row) != kLeafThere)
        return;
    for (int cy = row + 1; cy < row + rise; ++cy)
        if (growLeafAt(x + 3 * side, cy) != kLeafThere)
            return;
}

int Algae::growLeafAt(int cx, int cy)
{
    Particle* p = world().at(cx, cy);
    if (!p)
        return kStopped;
    if (p->getType() == TypeId::Water) {
        world().queueReplaceById(cx, cy, LivingId::AlgaeLeaf);
        return kQueued;
    }
    return p->getType() == LivingId::AlgaeLeaf ? kLeafThere : kStopped;
}

void AlgaeLeaf::update()
{
    if (burnIfHot(LivingHeat::kBurns, LivingHeat::kBurnChance)) {
        world().queueReplaceById(x, y, TypeId::Oil);
        return;
    }
    heat(Algae::kWarmth);
    cycleColour();
    if (countNeighboursOfType(TypeId::Water) < 2 || countEmptyAbove() == 3 ||
        (countNeighboursOfType(LivingId::Algae) == 0 && countNeighboursOfType(LivingId::AlgaeLeaf) == 0)) {
        replaceBy(TypeId::Water);
        return;
    }
    if (!holds(x, y + 1, TypeId::Water))
        return;
    if (isEmptyAt(x, y - 1)) {
        moveTo(x, y - 1);
    } else if (holds(x, y - 1, LivingId::AlgaeLeaf)) {
        if (isEmptyAt(x, y - 2))
            moveTo(x, y - 2);
        else if (holds(x, y - 2, LivingId::AlgaeLeaf) && isEmptyAt(x, y - 3))
            moveTo(x, y - 3);
    }
}

void Grass::seedGrowth(int growth, bool flower)
{
    growthLeft = growth;
    flowering = flower;
}

void Grass::update()
{
    if (burnIfHot(LivingHeat::kBurns, LivingHeat::kBurnChance))
        return;
    Particle* below = cellAt(x, y - 1);
    if (!below || (below->getType() != TypeId::Mud && below->getType() != LivingId::Grass)) {
        removeSelf();
        return;
    }
    if (repaint) {
        color = colorAtIndex(growthLeft);
        redraw();
        repaint = false;
    }
    if (world().lightMap.getLevelAt(x, y) <= PlantLight::kGrassDiesAtOrBelow) {
        if (oneIn(120))
            removeSelf();
        return;
    }
    if (growthLeft > 0) {
        if (!isEmptyAt(x, y + 1)) {
            growthLeft = 0;
            return;
        }
        --growthLeft;
        Particle* blade = world().addParticle(x, y + 1, LivingId::Grass, false);
        if (auto* grown = dynamic_cast<Grass*>(blade))
            grown->seedGrowth(growthLeft, flowering);
        return;
    }
    if (flowering) {
        if (isEmptyAt(x, y + 1))
            world().addParticle(x, y + 1, LivingId::FlowerCenter, false);
        else
            flowering = false;
    }
}

template <const ElementInfo& Info> void FlowerPart<Info>::saveExtra(ByteWriter& out)
{
    out.i32(colorIndex);
}

template <const ElementInfo& Info> void FlowerPart<Info>::loadExtra(ByteReader& in)
{
    int32_t index = 0;
    if (in.i32(index))
        setColorIndex(index);
}

template class FlowerPart<kFlowerCenterInfo>;
template class FlowerPart<kFlowerPetalInfo>;

void FlowerCenter::update()
{
    if (burnIfHot(LivingHeat::kBurns, LivingHeat::kBurnChance))
        return;
    if (!holds(x, y - 1, LivingId::Grass)) {
        removeSelf();
        return;
    }
    if (world().lightMap.getLevelAt(x, y) < PlantLight::kFlowerDiesBelow) {
        removeSelf();
        return;
    }
    if (petalCount >= kMaxPetals || !oneIn(20))
        return;
    const int d = randomOffset();
    const int cx = x + d;
    const int cy = d == 0 ? y + 1 : y;
    if (!isEmptyAt(cx, cy))
        return;
    if (auto* petal = dynamic_cast<FlowerPetal*>(world().addParticle(cx, cy, LivingId::FlowerPetal, false))) {
        petal->setColorIndex(colorIndex);
        ++petalCount;
    }
}

void FlowerPetal::update()
{
    if (burnIfHot(LivingHeat::kBurns, LivingHeat::kBurnChance))
        return;
    if (!findNeighbour(LivingId::FlowerCenter)) {
        removeSelf();
        return;
    }
    if (world().lightMap.getLevelAt(x, y) < PlantLight::kFlowerDiesBelow)
        removeSelf();
}

void registerPlants()
{
    registerElements<Algae, AlgaeLeaf, Grass, FlowerCenter, FlowerPetal>();
}
