#include "MaterialWorld.h"
#include "support/CleanGame.h"

#include <cmath>
#include <cstdlib>

#include "profile/Profile.h"
#include "elements/creatures/CreatureKinds.h"
#include "elements/living/LivingFamilies.h"
#include "elements/materials/MaterialFamilies.h"
#include "platform/GameRandom.h"
#include "world/ColorTables.h"

#include "world/ParticleCreator.h"

void MaterialWorld::SetUp()
{
    testsupport::resetGame();
    initColorsAndShadows();
    registerAllElements();
    // A fixed seed; TESMORA_TEST_SEED picks another to shake the statistics.
    const char* seed = std::getenv("TESMORA_TEST_SEED");
    platform::seedGameRand(seed ? static_cast<unsigned>(std::strtoul(seed, nullptr, 10)) : 20261207u);
    world = std::make_unique<World>();
    gWorld = world.get();
    world->setBigWorld(true);
    world->placeBorderWalls();
}

void MaterialWorld::TearDown()
{
    world.reset();
    gWorld = nullptr;
    ParticleCreator::clearRegistrations();
    setHumanJobHook(nullptr);
    platform::clearGameRandScript();
    testsupport::resetGame();
}

Particle* MaterialWorld::put(int x, int y, uint32_t type)
{
    Particle* p = world->addParticle(x, y, type, false);
    EXPECT_NE(p, nullptr) << "could not add at " << x << "," << y;
    return p;
}

void MaterialWorld::fill(int x0, int y0, int x1, int y1, uint32_t type)
{
    for (int x = x0; x <= x1; ++x)
        for (int y = y0; y <= y1; ++y)
            put(x, y, type);
}

void MaterialWorld::seal(int x, int y)
{
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (!world->at(x + dx, y + dy))
                put(x + dx, y + dy, hashString("Wall"));
}

void MaterialWorld::step(int steps)
{
    for (int i = 0; i < steps; ++i)
        world->step();
}

uint32_t MaterialWorld::typeAt(int x, int y) const
{
    Particle* p = world->at(x, y);
    return p ? p->getType() : 0;
}

int MaterialWorld::count(uint32_t type) const
{
    int n = 0;
    for (Particle* p : world->pool())
        if (p && p->getType() == type)
            ++n;
    return n;
}

void MaterialWorld::setTemperature(int x0, int y0, int x1, int y1, float value)
{
    for (int x = x0; x <= x1; ++x)
        for (int y = y0; y <= y1; ++y)
            world->temperatureField.setAt(x, y, value);
}

double MaterialWorld::changeRate(Particle* p, float temperature, int trials)
{
    int changes = 0;
    for (int i = 0; i < trials; ++i) {
        world->temperatureField.setAt(p->x, p->y, temperature);
        p->update();
        if (world->pendingReplacementCount() + world->pendingRemovalCount() > 0)
            ++changes;
        world->clearPendingChanges();
    }
    return static_cast<double>(changes) / trials;
}

uint32_t MaterialWorld::updateAndApply(Particle* p, float temperature)
{
    const int x = p->x;
    const int y = p->y;
    world->temperatureField.setAt(x, y, temperature);
    p->update();
    world->applyPendingChanges();
    return typeAt(x, y);
}

void expectRate(double observed, double expected, int trials)
{
    const double sigma = std::sqrt(expected * (1.0 - expected) / trials);
    EXPECT_NEAR(observed, expected, 5.0 * sigma + 1e-9) << "over " << trials << " trials";
}
