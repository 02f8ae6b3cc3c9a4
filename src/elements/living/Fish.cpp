#include "elements/living/Fish.h"

#include <cstdlib>

namespace {

constexpr float kWarmth = 7.0f;
constexpr int kOwnHuntRadius = 40;   // algae
constexpr int kFishHuntRadius = 80;  // the deep-sea fish's fish hunt

int sign(int v)
{
    return (v > 0) - (v < 0);
}

// The 8 cells around (x, y) holding any of the kinds.
template <class Pred> int countAround(int x, int y, Pred pred)
{
    const World& w = *gWorld;
    int n = 0;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            if (dx == 0 && dy == 0)
                continue;
            const Particle* p = w.at(x + dx, y + dy);
            if (p && pred(p->getType()))
                ++n;
        }
    return n;
}

template <class FishClass> void eat(FishClass& fish, Particle* prey)
{
    gWorld->queueReplaceById(prey->x, prey->y, TypeId::Water);
    fish.food = std::min(fish.food + FishState::kMeal, FishState::kFullFood);
    fish.hasTarget = false;
    fish.dirX = -fish.dirX;
    fish.dirY = -fish.dirY;
}

// Starving: below 1 food a fish may turn to ash, and does nothing more.
template <class FishClass> bool starves(FishClass& fish)
{
    if (--fish.food >= 1)
        return false;
    if (gameRand() % 4 == 0)
        gWorld->queueReplaceById(fish.x, fish.y, TypeId::Ash);
    return true;
}

// The wandering part of steering: the hunt clock, then new directions.
template <class FishClass, class Hunt> void drift(FishClass& fish, Hunt hunt)
{
    if (++fish.huntTicks >= fish.huntInterval) {
        fish.huntTicks = gameRand() % 600;
        hunt();
    }
    if (gameRand() % 40 == 0)
        fish.dirX = gameRand() % 3 - 1;
    if (gameRand() % 10 == 0)
        fish.dirY = gameRand() % 3 - 1;
    else
        fish.dirY = 0;
}

void aimAt(FishState& fish, const Particle* prey)
{
    if (!prey)
        return;
    fish.targetX = prey->x;
    fish.targetY = prey->y;
    fish.hasTarget = true;
}

// One swim stroke through water: into an empty cell, swapping with water or
// fish, or past one or two algae leaves into the water behind them.
template <class FishClass> void swim(FishClass& fish)
{
    if (gameRand() % 4 != 0)
        return;
    World& w = *gWorld;
    int sx = fish.dirX;
    if (!fish.hasTarget && fish.countEmptyAbove() > 0)
        fish.dirY = -1;
    const int sy = fish.dirY;
    if (sy != 0)
        sx = 0;
    if (sx == 0 && sy == 0)
        return;
    auto cell = [&](int k) -> Particle* {
        const int cx = fish.x + k * sx;
        const int cy = fish.y + k * sy;
        return w.inWorld(cx, cy) ? w.grid[cx][cy] : w.outsideWall;
    };
    auto swapWith = [&](Particle* other) {
        w.swapPendingChanges(&fish, other);
        w.swapParticles(&fish, other);
    };
    Particle* c1 = cell(1);
    if (!c1) {
        w.moveParticle(&fish, fish.x + sx, fish.y + sy);
        return;
    }
    const uint32_t t1 = c1->getType();
    if (t1 == TypeId::Water || t1 == LivingId::Fish) {
        swapWith(c1);
    } else if (t1 == LivingId::AlgaeLeaf) {
        Particle* c2 = cell(2);
        const uint32_t t2 = c2 ? c2->getType() : 0;
        if (t2 == TypeId::Water) {
            swapWith(c2);
        } else if (t2 == LivingId::AlgaeLeaf) {
            Particle* c3 = cell(3);
            if (c3 && c3->getType() == TypeId::Water)
                swapWith(c3);
        }
    } else if (gameRand() % 10 == 0) {
        fish.dirX = gameRand() % 3 - 1;
        fish.dirY = gameRand() % 3 - 1;
    }
}

bool isEmptyCell(int cx, int cy)
{
    const World& w = *gWorld;
    return w.inWorld(cx, cy) && !w.grid[cx][cy];
}

}  // namespace

void Fish::update()
{
    if (burnIfHot(LivingHeat::kBurns, LivingHeat::kBurnChance))
        return;
    if (starves(*this))
        return;
    heat(kWarmth);
    if (dropIfFree())
        return;
    if (hasTarget && gameRand() % 5 == 0) {
        dirX = sign(targetX - x);
        dirY = sign(targetY - y);
        if (Particle* leaf = findNeighbour(LivingId::AlgaeLeaf)) {
            eat(*this, leaf);
            return;
        }
    } else {
        drift(*this, [this] { aimAt(*this, findNearest(LivingId::AlgaeLeaf, kOwnHuntRadius)); });
    }
    const int wet = countAround(
        x, y, [](uint32_t t) { return t == LivingId::Fish || t == TypeId::Water || t == LivingId::AlgaeLeaf; });
    if (wet > 2) {
        swim(*this);
        return;
    }
    // On land: flop sideways; blocked, it may die of the heat of the air.
    const int side = x + gameRand() % 3 - 1;
    if (!isEmptyCell(side, y)) {
        if (gameRand() % 20 == 0) {
            const int t = gameRand() % 300;
            if (temperature() >= static_cast<float>(t))
                removeSelf();
        }
    } else if (isEmptyCell(side, y + 1)) {
        moveTo(side, y);
    } else if (isEmptyCell(side, y - 1)) {
        moveTo(side, y - 1);
    }
}

void DeepSeaFish::switchLight(bool on)
{
    if (!light)
        return;
    light->on = on;
    light->changed = true;
}

bool DeepSeaFish::steer()
{
    if (hasTarget && gameRand() % 5 == 0) {
        dirX = sign(targetX - x);
        dirY = sign(targetY - y);
        Particle* prey = findNeighbour(LivingId::Fish);
        if (!prey)
            prey = findNeighbour(LivingId::AlgaeLeaf);
        if (!prey)
            return false;
        eat(*this, prey);
        switchLight(false);
        ++eaten;
        return true;
    }
    drift(*this, [this] {
        switchLight(true);
        Particle* prey = findNearest(LivingId::Fish, kFishHuntRadius);
        aimAt(*this, prey ? prey : findNearest(LivingId::AlgaeLeaf, kOwnHuntRadius));
    });
    return false;
}

void DeepSeaFish::update()
{
    if (burnIfHot(LivingHeat::kBurns, LivingHeat::kBurnChance))
        return;
    if (starves(*this))
        return;
    heat(kWarmth);
    if (eaten > 2) {
        if (y - 2 < 1 || isEmptyAt(x, y - 2))
            return;
        if (holds(x, y - 2, TypeId::Water)) {
            world().queueReplaceById(x, y - 2, kTypeId);
            eaten = 0;
            return;
        }
    }
    if (dropIfFree())
        return;
    if (!hasTarget && y - 2 >= 1) {
        Particle* deeper = cellAt(x, y - 2);
        if (deeper && (deeper->getType() == TypeId::Water || deeper->getType() == TypeId::AcidWater)) {
            swapWith(deeper);
            return;
        }
    }
    if (steer())
        return;
    const int wet =
        countAround(x, y, [](uint32_t t) { return t == kTypeId || t == LivingId::AlgaeLeaf || t == TypeId::Water; });
    if (wet >= 3) {
        swim(*this);
        return;
    }
    const int side = x + gameRand() % 3 - 1;
    if (isEmptyCell(side, y)) {
        if (isEmptyCell(side, y + 1))
            moveTo(side, y + 1);
        else if (isEmptyCell(side, y - 1))
            moveTo(side, y - 1);
    } else if (gameRand() % 20 == 0) {
        const int t = gameRand() % 300;
        if (temperature() >= static_cast<float>(t)) {
            removeSelf();
            switchLight(false);
        }
    }
}

Firefly::Firefly()
    : female(gameRand() % 2 != 0 ? 1 : 0), life((gameRand() % 6 + 20) * 60), wanderTicks(gameRand() % 50),
      maxOffspring(gameRand() % 3 + 1), blinkPeriod(female == 1 ? 90 : 30)
{
}

Firefly* Firefly::findMate(int radius, uint32_t type) const
{
    const World& w = *gWorld;
    const int x0 = std::max(x - radius, 0);
    const int x1 = std::min(x + radius, w.width - 1);
    const int y0 = std::max(y - radius, 0);
    const int y1 = std::min(y + radius, w.height - 1);
    Firefly* best = nullptr;
    int bestDistance = 0;
    for (int cy = y0; cy <= y1; ++cy)
        for (int cx = x0; cx <= x1; ++cx) {
            Particle* p = w.grid[cx][cy];
            if (!p || p == this || p == parentA || p == parentB || p->getType() != type || p->getType() != kTypeId)
                continue;
            auto* other = static_cast<Firefly*>(p);
            if (other->female == female)
                continue;
            const int d = (cx - x) * (cx - x) + (cy - y) * (cy - y);
            if (!best || d < bestDistance) {
                best = other;
                bestDistance = d;
            }
        }
    return best;
}

void Firefly::seekMate()
{
    if (Firefly* mate = findMate(kMateRadius, kTypeId)) {
        targetX = mate->x;
        targetY = mate->y;
        hasTarget = true;
        state = 1;
    }
}

void Firefly::dieOutright()
{
    if (oneIn(4))
        replaceBy(TypeId::Ash);
    else
        removeSelf();
}

void Firefly::update()
{
    followLight();
    if (burnIfHot(LivingHeat::kBurns, LivingHeat::kBurnChance))
        return;
    const float t = temperature();
    if (t < 260.0f || findNeighbour(TypeId::Gas)) {
        dieOutright();
        return;
    }
    if (const int wet = countNeighboursOfType(TypeId::Water); wet > 0) {
        wetness += wet;
        if (wetness > 240)
            dieOutright();
        else if (gameRand() % 2 == 0)
            dropIfFree();
        return;
    }
    wetness = 0;
    if (--life < 1)
        removeSelf();
    bool decision = false;
    if (--wanderTicks < 1) {
        wanderTicks = gameRand() % 50;
        decision = true;
    }
    if (state == 0) {
        const int dx = gameRand() % 2 != 0 ? -1 : 1;
        const int dy = gameRand() % 2 != 0 ? -1 : 1;
        if (isEmptyAt(x + dx, y + dy))
            moveTo(x + dx, y + dy);
        if (decision && offspring < maxOffspring && matingCooldown < 1)
            seekMate();
    }
    if (state == 1 && matingCooldown < 1 && hasTarget) {
        const int dx = sign(targetX - x);
        const int dy = sign(targetY - y);
        if (isEmptyAt(x + dx, y + dy))
            moveTo(x + dx, y + dy);
        if (std::abs(x - targetX) < 2 && std::abs(y - targetY) < 2)
            state = 2;
    }
    if (state == 2) {
        if (hasTarget) {
            // Outside the grid counts as occupied: the young is laid only
            // inside it.
            if (female == 1 && isEmptyAt(x + 2, y - 2)) {
                Particle* young = world().addParticle(x + 2, y - 2, kTypeId, false);
                if (young && young->getType() == kTypeId) {
                    auto* child = static_cast<Firefly*>(young);
                    child->parentA = world().at(targetX, targetY);
                    child->parentB = this;
                }
            }
            ++offspring;
            matingCooldown = matingCooldownReset;
            hasTarget = false;
        }
        state = 0;
        // Its last mating ends it in the same step.
        if (offspring >= maxOffspring)
            removeSelf();
        return;
    }
    if (blinkTicks >= blinkPeriod) {
        if (light) {
            light->on = !light->on;
            light->changed = true;
        }
        blinkTicks = 0;
    }
    ++blinkTicks;
    if (offspring == maxOffspring) {
        removeSelf();
        return;
    }
    --matingCooldown;
    if (t < 269.0f)
        removeSelf();
}

void registerFish()
{
    registerElements<Fish, DeepSeaFish, Firefly>();
}
