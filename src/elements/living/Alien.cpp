#include "elements/living/Alien.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "world/ByteStream.h"

namespace {

bool isSoftGround(uint32_t type)
{
    return type == TypeId::Sand || type == TypeId::SandWet || type == TypeId::Soil || type == TypeId::Mud;
}

Xenovine* vineAt(int cx, int cy)
{
    Particle* p = gWorld->at(cx, cy);
    return p && p->getType() == Xenovine::kTypeId ? static_cast<Xenovine*>(p) : nullptr;
}

}  // namespace

// ---- Aluminite ----

Aluminite::Aluminite()
{
    if (gWorld) {
        lightOwner = &gWorld->lightMap;
        light = lightOwner->addLight(0, 0, kLightRadius, 0.0f);
        if (light) {
            light->changed = true;
            light->on = false;
        }
    }
}

Aluminite::~Aluminite()
{
    if (light && lightOwner)
        lightOwner->removeLight(light);
}

void Aluminite::setPosition(int cx, int cy)
{
    Particle::setPosition(cx, cy);
    if (!light || (light->x == x && light->y == y))
        return;
    light->remove();
    light->x = x;
    light->y = y;
    light->changed = true;
}

void Aluminite::setLit(bool on)
{
    if (on == lit)
        return;
    lit = on;
    if (light) {
        light->on = on;
        light->changed = true;
    }
    color = colorAtIndex(on ? 0 : 1);
    if (gWorld)
        redraw();
}

void Aluminite::setCharge(float v)
{
    charge = std::clamp(v, 0.0f, 1.0f);
}

void Aluminite::update()
{
    if (skipNextUpdate) {
        skipNextUpdate = false;
        return;
    }
    if (lightJustReplaced) {
        lightJustReplaced = false;
        if (light) {
            light->changed = true;
            light->on = charge > kGlowsAbove;
        }
        return;
    }
    if (countEmptyNeighbours() >= 1) {
        LightMap& map = world().lightMap;
        const int32_t level = map.getLevelAt(x, y);
        charge += level > kChargesAbove ? 1.0f / 60.0f : -1.0f / 300.0f;
        charge = std::clamp(charge, 0.0f, 1.0f);
        setLit(charge > kGlowsAbove);
        if (lit && light && std::abs(255 - level) > 45) {
            const float intensity = light->intensity;
            float v = static_cast<float>(static_cast<int32_t>(intensity * 255.0f) - level + 255) / 255.0f;
            v = std::clamp(v, 0.0f, 1.0f);
            if (std::fabs(intensity - v) > 0.05f) {
                map.removeLight(light);
                light = map.addLight(x, y, kLightRadius, v);
                lightJustReplaced = true;
            }
        }
    } else {
        setLit(false);
    }
    if (isEmptyAt(x, y - 1))
        moveTo(x, y - 1);
    else if (!isEmptyAt(x, y + 1))
        slide();
}

// ---- Xenovine ----

void Xenovine::saveExtra(ByteWriter& out)
{
    out.u32(falling ? 1u : 0u);
    out.u32(growing ? 1u : 0u);
}

void Xenovine::loadExtra(ByteReader& in)
{
    uint32_t wasFalling = 0;
    uint32_t wasGrowing = 0;
    // A short read keeps the flags of a new spore.
    if (!in.u32(wasFalling) || !in.u32(wasGrowing))
        return;
    falling = wasFalling != 0;
    growing = wasGrowing != 0;
}

bool Xenovine::isForeignAt(int cx, int cy) const
{
    const Particle* p = world().at(cx, cy);
    if (!p)
        return false;
    const uint32_t t = p->getType();
    return t != kTypeId && t != TypeId::OutsideWall && t != AlienId::LaserBeam;
}

void Xenovine::update()
{
    World& w = world();
    const float t = temperature();
    if (t > kBurns) {
        // Outside the grid counts as occupied: nothing is made there.
        if (isEmptyAt(x, y + 2))
            w.addParticle(x, y + 2, TypeId::Fire, false);
        if (isEmptyAt(x, y + 1))
            w.addParticle(x, y + 1, TypeId::Smoke, false);
        replaceBy(TypeId::Ash);
    }
    ++ticks;
    if (!falling && ticks % 30 == 0)
        recolour();
    if (falling) {
        Particle* below = cellAt(x, y - 1);
        if (!below) {
            moveTo(x, y - 1);
            return;
        }
        const uint32_t kind = below->getType();
        if (kind == TypeId::OutsideWall || kind == AlienId::LaserBeam ||
            (kind == kTypeId && static_cast<Xenovine*>(below)->falling)) {
            removeSelf();
            return;
        }
        falling = false;
        growing = true;
    }
    if (growing) {
        if (t <= kTooWarm) {
            if (age > nextToggle) {
                resting = !resting;
                nextToggle = resting ? age + gameRand() % 40 + 80 : age + gameRand() % 15 + 25;
            }
            const int32_t level = w.lightMap.getLevelAt(x, y);
            if (!resting && level <= kGrowsInLight)
                grow();
            else
                wither(false);
            if (t > kFrozen)
                ++age;
            if (age > nextBranch) {
                nextBranch = gameRand() % 200 + 500 + age;
                thicken();
            }
        } else {
            wither(true);
        }
    }
    if (!falling && !growing) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (const Xenovine* v = vineAt(x + dx, y + dy); v && v->growing)
                    return;
        growing = true;
    }
}

void Xenovine::grow()
{
    const int r = gameRand() % 160;
    if (r >= 4 * countEmptyNeighbours())
        return;
    // Left, right, below, above.
    int cells[4][2];
    int n = 0;
    for (const auto& d : {std::array<int, 2>{-1, 0}, {1, 0}, {0, -1}, {0, 1}})
        if (isEmptyAt(x + d[0], y + d[1])) {
            cells[n][0] = x + d[0];
            cells[n][1] = y + d[1];
            ++n;
        }
    if (n == 0)
        return;
    // k distinct empty cells, each tried once: a full pool cannot hold it up.
    for (int k = gameRand() % n + 1; k > 0; --k) {
        const int pick = gameRand() % n;
        const int cx = cells[pick][0];
        const int cy = cells[pick][1];
        cells[pick][0] = cells[n - 1][0];
        cells[pick][1] = cells[n - 1][1];
        --n;
        Particle* made = world().addParticle(cx, cy, kTypeId, false);
        if (!made || made->getType() != kTypeId)
            continue;
        auto* child = static_cast<Xenovine*>(made);
        child->falling = false;
        child->growing = true;
        child->nextToggle = nextToggle - age;
        child->resting = resting;
    }
}

void Xenovine::wither(bool forced)
{
    if (!forced) {
        if (falling || !exposed || !resting)
            return;
        const int r = gameRand() % 50;
        if (r >= 2 * countEmptyNeighbours())
            return;
    }
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (isForeignAt(x + dx, y + dy))
                return;  // touching something foreign, it holds on
    removeSelf();
}

void Xenovine::recolour()
{
    const World& w = world();
    const Particle* around[4] = {w.at(x, y + 1), w.at(x, y - 1), w.at(x - 1, y), w.at(x + 1, y)};
    exposed = !around[0] || !around[1] || !around[2] || !around[3];
    cocos2d::ccColor4B c;
    if (exposed) {
        const cocos2d::ccColor4B row = colorAtIndex(0);
        c.r = static_cast<uint8_t>((color.r + row.r) / 2);
        c.g = static_cast<uint8_t>((color.g + row.g) / 2);
        c.b = static_cast<uint8_t>((color.b + row.b) / 2);
        c.a = row.a;
    } else {
        int r = 0, g = 0, b = 0;
        for (const Particle* p : around) {
            r += p->color.r;
            g += p->color.g;
            b += p->color.b;
        }
        const int s = (w.width * y + x) % 2 == 0 ? 16 : 0;
        const cocos2d::ccColor4B floor = colorAtIndex(1);
        c.r = static_cast<uint8_t>(std::max(r / 4 - s - 16, static_cast<int>(floor.r)));
        c.g = static_cast<uint8_t>(std::max(g / 4 - s - 16, static_cast<int>(floor.g)));
        c.b = static_cast<uint8_t>(std::max(b / 4 - s - 16, static_cast<int>(floor.b)));
        c.a = 255;
    }
    setColor(c);
}

void Xenovine::makeDormant(int cx, int cy)
{
    World& w = world();
    if (!w.inWorld(cx, cy))
        return;
    Particle* p = w.grid[cx][cy];
    if (!p) {
        p = w.addParticle(cx, cy, kTypeId, false);
        if (!p || p->getType() != kTypeId)
            return;  // refused: nothing to set
    } else if (p->getType() != kTypeId) {
        return;
    }
    auto* v = static_cast<Xenovine*>(p);
    v->falling = false;
    v->growing = false;
}

void Xenovine::thicken()
{
    auto foreign = [this](int dx, int dy) { return isForeignAt(x + dx, y + dy); };
    if (foreign(-1, 0) || foreign(1, 0)) {
        makeDormant(x - 1, y);
        makeDormant(x + 1, y);
    } else if (foreign(0, 1) || foreign(0, -1)) {
        makeDormant(x, y + 1);
        makeDormant(x, y - 1);
    } else if (foreign(-1, 1)) {
        makeDormant(x, y - 1);
        makeDormant(x + 1, y);
    } else if (foreign(1, 1)) {
        makeDormant(x, y - 1);
        makeDormant(x - 1, y);
    } else if (foreign(-1, -1)) {
        makeDormant(x, y + 1);
        makeDormant(x + 1, y);
    } else if (foreign(1, -1)) {
        makeDormant(x, y + 1);
        makeDormant(x - 1, y);
    }
}

// ---- Mushboom ----

void Mushboom::update()
{
    if (burnIfHot(LivingHeat::kBurns, LivingHeat::kBurnChance))
        return;
    if (blueprint) {
        if (blueprint->step())
            replaceBy(Xenovine::kTypeId);
        return;
    }
    Particle* below = cellAt(x, y - 1);
    if (!below) {
        fall();
        return;
    }
    if (below->getType() == Xenovine::kTypeId && static_cast<Xenovine*>(below)->isDormant()) {
        World& w = world();
        w.removeParticle(x, y - 1);
        moveTo(x, y - 1);
        blueprint = std::make_unique<Blueprint>(nullptr, nullptr, kFolder, x, y + 1, true, this);
        return;
    }
    removeSelf();
}

// ---- Pirantha ----

uint32_t Pirantha::chooseFood() const
{
    const int k = gameRand() % 9;
    if (k <= 4)
        return Xenovine::kTypeId;
    if (k == 8)
        return PiranthaTunnel::kTypeId;
    for (uint32_t ground : {TypeId::Sand, TypeId::SandWet, TypeId::Soil, TypeId::Mud})
        if (findNeighbour(ground))
            return ground;
    return TypeId::Stone;
}

void Pirantha::dig(const Particle* food)
{
    World& w = world();
    for (int cy = y - 1; cy <= y + 1; ++cy)
        for (int cx = x - 1; cx <= x + 1; ++cx) {
            if ((cx == x && cy == y) || (cx == food->x && cy == food->y) || !w.inWorld(cx, cy))
                continue;
            const Particle* p = w.grid[cx][cy];
            if (!p) {
                w.addParticle(cx, cy, PiranthaTunnel::kTypeId, false);
                continue;
            }
            const uint32_t kind = p->getType();
            if (isSoftGround(kind) || kind == TypeId::Stone)
                w.queueReplaceById(cx, cy, PiranthaTunnel::kTypeId);
        }
}

void Pirantha::update()
{
    dropIfFree();
    if (--timer >= 1)
        return;
    const int r = gameRand() % 4;
    --life;
    timer = r + 8;
    World& w = world();
    if (life < 1) {
        w.queueReplaceById(x, y, AlienId::Stinger);
        return;
    }
    if (!fed) {
        Particle* vine = randomNeighbourOfType(Xenovine::kTypeId);
        if (!vine)
            return;
        const int vx = vine->x;
        const int vy = vine->y;
        w.removeParticle(vx, vy);
        moveTo(vx, vy);
        fed = true;
        return;
    }
    Particle* food = randomNeighbourOfType(chooseFood());
    if (!food)
        return;
    dig(food);
    const int fx = food->x;
    const int fy = food->y;
    w.removeParticle(fx, fy);
    moveTo(fx, fy);
}

void registerAlien()
{
    registerElements<Aluminite, Mushboom, Pirantha, PiranthaTunnel, Xenovine>();
}
