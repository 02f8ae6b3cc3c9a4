#include "elements/materials/Fire.h"

#include <algorithm>

USING_NS_CC;

void Fire::update()
{
    // A flame nearly always moves, and a move takes its light along: fetch
    // the light's record while the moves are worked out.
    __builtin_prefetch(light, 1);
    slideThenRise();
    world().temperatureField.addAt(x, y - 1, kHeatBelow);
    followLight();
    if (oneIn(5) && isEmptyAt(x, y + 1))
        world().addParticle(x, y + 1, TypeId::Fire, false);
    // The only way a flame ends by itself: three updates on average.
    if (oneIn(3))
        removeSelf();
    ++age;
    ripen();
}

// Yellow to orange to red, never back, and never faster than its age allows.
void Fire::ripen()
{
    if (stage >= 2 || !oneIn(5))
        return;
    if ((stage == 0 && age > 1) || (stage == 1 && age > 2)) {
        ++stage;
        color = colorAtIndex(stage);
    }
}

Explosion::Explosion() : life(gameRand() % 20), lifeStart(life)
{
    color = fadingOrange();
}

void Explosion::update()
{
    if (!tinted) {
        if (oneIn(2))
            throwFireOrSmoke();
        recolour();
    }
    --life;
    if (life <= 0)
        removeSelf();
}

void Explosion::setLife(int value)
{
    life = value;
    lifeStart = value;
}

void Explosion::setTinted(bool value)
{
    tinted = value;
}

void Explosion::throwFireOrSmoke()
{
    Particle* above = cellAt(x, y + 1);
    if (!above) {
        world().addParticle(x, y + 1, oneIn(2) ? TypeId::Fire : TypeId::Smoke, false);
        return;
    }
    // Only what a blast may destroy catches: explosives and other Explosion
    // cells (factor above 1) and walls (0) are left alone.
    const float factor = above->getBlastFactor();
    if (factor > 0.0f && factor <= 1.0f)
        world().queueReplaceById(x, y + 1, oneIn(2) ? TypeId::Fire : TypeId::Smoke);
}

ccColor4B Explosion::fadingOrange() const
{
    const auto green = static_cast<uint8_t>(gameRand() % 255);
    float alpha = 0.0f;
    if (lifeStart != 0)
        alpha = std::clamp(static_cast<float>(life) / static_cast<float>(lifeStart) * 255.0f, 0.0f, 255.0f);
    return ccColor4B{255, green, 0, static_cast<uint8_t>(alpha)};
}

// Written straight into the world texture: the flicker is not saved.
void Explosion::recolour()
{
    color = fadingOrange();
    redraw();
}

void Bright::update()
{
    followLight();
    if (!light)
        return;
    // Dark with exactly one empty neighbour, lit otherwise (an enclosed Bright
    // stays lit).
    light->on = countOccupiedNeighbours() != 8;
    light->changed = true;
}

void registerFire()
{
    registerElements<Fire, Explosion, Bright>();
}
