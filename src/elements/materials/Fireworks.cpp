#include "elements/materials/Fireworks.h"

void Fireworks::update()
{
    soakUp();
    if (!wet)
        light();
    if (!launched) {
        dropIfFree();
        return;
    }
    if (climb() && burstHeight <= y)
        burst();
}

// Takes up one Water (or failing that one Steam) of its block.
void Fireworks::soakUp()
{
    Particle* water = findNeighbour(TypeId::Water);
    if (!water)
        water = findNeighbour(TypeId::Steam);
    if (!water)
        return;
    world().removeParticle(water->x, water->y);
    if (wet)
        spreadWet(0);
    else
        setWet(true);
}

// Hot air keeps drawing new burst heights while the rocket climbs through it.
void Fireworks::light()
{
    if (temperature() + static_cast<float>(gameRand() % 400) < kLights)
        return;
    launched = true;
    const int first = gameRand() % 20;
    burstHeight = kLowestBurst - first - gameRand() % 15;
    setColor(colorAtIndex(kLitColour));
}

bool Fireworks::climb()
{
    Particle* above = cellAt(x, y + 1);
    if (!above) {
        moveTo(x, y + 1);
        return true;
    }
    const uint32_t type = above->getType();
    if (type == TypeId::Fire || type == TypeId::Cloud || type == TypeId::Smoke || type == TypeId::Explosion) {
        swapWith(above);
        return false;
    }
    if (type == kTypeId) {
        auto* rocket = static_cast<Fireworks*>(above);
        if (rocket->wet) {
            rocket->setWet(false);
            setWet(true);
            return false;
        }
        if (!rocket->launched) {
            swapWith(above);
            return false;
        }
        return true;  // waits behind a climbing rocket
    }
    burstHeight = y;  // stopped: it bursts here
    return true;
}

void Fireworks::burst()
{
    const int r1 = gameRand();
    const int r2 = gameRand();
    const int r3 = gameRand();
    explodeColored(x, y, 3 + r3 % 4, static_cast<float>(r2 % 1000) / 1000.0f, 2 + r1 % 2);
    removeSelf();
}

void Fireworks::setWet(bool isWet)
{
    launched = false;
    burstHeight = 0;
    wet = isWet;
    setColor(colorAtIndex(isWet ? kWetColour : kDryColour));
}

// Pushes the absorbed water one rocket further along a random chain; this
// rocket ends dry. The pick may fall on this rocket itself.
void Fireworks::spreadWet(int depth)
{
    Particle* picked = randomNeighbourOfType(kTypeId);
    if (!picked || picked->getType() != kTypeId)
        return;
    auto* rocket = static_cast<Fireworks*>(picked);
    if (rocket->wet && depth + 1 <= kWetDepth)
        rocket->spreadWet(depth + 1);
    rocket->setWet(true);
    setWet(false);
}

void registerFireworks()
{
    registerElements<Fireworks>();
}
