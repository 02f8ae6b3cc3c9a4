#include "elements/living/Trees.h"

#include <algorithm>
#include <cmath>

#include "profile/Profile.h"
#include "elements/materials/Powders.h"
#include "world/WorldHost.h"

namespace {

// Grown and burnt trees count only in free play.
bool isFreePlay()
{
    return worldHost().isFreePlay();
}

}  // namespace

void clearSeedColumn(const Particle& seed, int dx)
{
    World& w = *gWorld;
    const int cx = seed.x + dx;
    const uint32_t ownKind = seed.getType();
    for (int cy = seed.y + 2; cy >= 0; --cy) {
        if (!w.inWorld(cx, cy))
            continue;
        Particle* p = w.grid[cx][cy];
        if (!p || p == &seed)
            continue;
        const uint32_t kind = p->getType();
        if (kind != LivingId::Grass && kind != ownKind)
            return;
        w.removeParticle(cx, cy);
    }
}

void clearSeedColumns(const Particle& seed)
{
    for (int dx = -1; dx <= 1; ++dx)
        clearSeedColumn(seed, dx);
}

void Seed::update()
{
    if (burnIfHot(LivingHeat::kBurns, LivingHeat::kBurnChance))
        return;
    Particle* below = cellAt(x, y - 1);
    if (!below) {
        moveTo(x, y - 1);
        return;
    }
    const uint32_t ground = below->getType();
    if (ground == TypeId::Mud) {
        clearSeedColumns(*this);
        world().queueRemove(x, y);
        world().queueReplaceById(x, y - 1, LivingId::TreeRoot);
    } else if (ground == LivingId::Grass) {
        clearSeedColumns(*this);
    } else {
        removeSelf();
    }
}

TreeRoot::TreeRoot() : trunkHeight(6 + gameRand() % 2), crownRadius(4 + gameRand() % 2), leftSide(gameRand() % 2 == 0)
{
}

void TreeRoot::update()
{
    if (burnIfHot(LivingHeat::kBurns, LivingHeat::kRootBurnChance))
        return;
    if (!rooted) {
        chooseSide();
        return;
    }
    if (oneIn(10))
        grow();
}

// The second column goes to the side whose lower diagonal is occupied, to the
// right when neither is, to the drawn side when both are.
void TreeRoot::chooseSide()
{
    if (isEmptyAt(x - 1, y - 1))
        leftSide = false;
    else if (isEmptyAt(x + 1, y - 1))
        leftSide = true;
    rooted = true;
}

void TreeRoot::grow()
{
    World& w = world();
    const int xs = leftSide ? x - 1 : x + 1;
    const int main = countWoodAbove(0, 0);
    const int side = countWoodAbove(xs - x, 0);
    const int limit = trunkHeight + crownRadius;
    if (side >= limit) {
        turnToWood();
        return;
    }
    if (side < main) {
        const int cy = y + side + 1;
        // A column reaching above the grid stops the tree.
        if (!w.inWorld(xs, cy)) {
            turnToWood();
            return;
        }
        Particle* p = w.grid[xs][cy];
        if (!p)
            addTrunk(xs, cy, xs == x - 1 ? 1 : 0);
        else if (p->getType() != LivingId::TreeLeaf)
            turnToWood();
        return;
    }
    if (main == limit - 1) {
        setCrown(y + main + 1);
        turnToWood();
        return;
    }
    const int cy = y + main + 1;
    Particle* p = w.at(x, cy);
    if (!w.inWorld(x, cy)) {
        turnToWood();
    } else if (!p) {
        addTrunk(x, cy, leftSide ? 0 : 1);
    } else if (p->getType() == LivingId::TreeLeaf) {
        // Through another tree's leaves: the crown at full height at once.
        setCrown(y + limit);
        turnToWood();
    } else {
        turnToWood();
    }
}

void TreeRoot::turnToWood() const
{
    world().queueReplaceById(x, y, LivingId::Wood);
}

void TreeRoot::setCrown(int cy) const
{
    World& w = world();
    // A crown cell above the grid makes no centre.
    if (!w.inWorld(x, cy))
        return;
    if (w.grid[x][cy])
        w.removeParticle(x, cy);
    if (auto* centre = dynamic_cast<TreeCenter*>(w.addParticle(x, cy, LivingId::TreeCenter, false)))
        centre->radius = crownRadius;
}

void TreeRoot::addTrunk(int cx, int cy, int shade)
{
    if (auto* wood = dynamic_cast<Wood*>(gWorld->addParticle(cx, cy, LivingId::Wood, false)))
        wood->setColorIndex(shade);
}

void TreeCenter::setPosition(int cx, int cy)
{
    Particle::setPosition(cx, cy);
    // Counted once, when first placed in a world: a particle only made to be
    // asked about (the fill tools' trial) is never placed and never counts.
    if (counted || !gWorld)
        return;
    counted = true;
    if (isFreePlay()) {
        Profile* profile = Profile::getInstance();
        profile->setTreesGrown(profile->getTreesGrown() + 1);
    }
}

void TreeCenter::update()
{
    if (burnIfHot(LivingHeat::kBurns, LivingHeat::kBurnChance)) {
        if (isFreePlay()) {
            Profile* profile = Profile::getInstance();
            profile->setTreesBurnt(profile->getTreesBurnt() + 1);
        }
        return;
    }
    if (!growing || !oneIn(5))
        return;
    int sx = 0, sy = 0;
    if (findLeafSpot(sx, sy))
        world().addParticle(sx, sy, LivingId::TreeLeaf, false);
    else
        growing = false;
}

bool TreeCenter::findLeafSpot(int& spotX, int& spotY) const
{
    World& w = world();
    const int r = radius;
    const int left = std::max(x - r - 2, 0);
    const int right = std::min(x + r + 2, w.width - 1);
    const int low = std::max(y - r + 2, 0);
    const int high = std::min(y + r - 2, w.height - 1);
    for (int cy = low; cy <= high; ++cy)
        for (int cx = left; cx <= right; ++cx) {
            const int dx = cx - x;
            const int dy = cy - y;
            const int d = static_cast<int>(std::sqrt(static_cast<double>(dx * dx + dy * dy)));
            if (d >= r)
                continue;
            Particle* p = w.grid[cx][cy];
            if (p && p->getType() == LivingId::Wood)
                w.removeParticle(cx, cy);
            else if (p)
                continue;
            spotX = cx;
            spotY = cy;
            return true;
        }
    return false;
}

void TreeLeaf::update()
{
    burnIfHot(LivingHeat::kLeafBurns, LivingHeat::kBurnChance);
}

void registerTrees()
{
    registerElements<Seed, TreeRoot, TreeCenter, TreeLeaf>();
}
