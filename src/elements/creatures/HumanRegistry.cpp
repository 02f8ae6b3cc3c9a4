#include "elements/creatures/HumanRegistry.h"

#include <algorithm>

#include "elements/creatures/CreatureKinds.h"
#include "world/WorldHost.h"

HumanRegistry* HumanRegistry::getInstance()
{
    static HumanRegistry registry;
    return &registry;
}

void HumanRegistry::add(const Particle* human)
{
    if (!human)
        return;
    humans.push_back(human);
    registeredOnce = true;
}

void HumanRegistry::remove(const Particle* human)
{
    auto it = std::find(humans.begin(), humans.end(), human);
    if (it == humans.end())
        return;
    humans.erase(it);
    // The last human gone takes the human editor with it.
    if (humans.empty())
        worldHost().closeHumanEditor();
}

void HumanRegistry::clear()
{
    while (!humans.empty())
        remove(humans.front());
    built = 0;
    registeredOnce = false;
}

bool HumanRegistry::contains(const Particle* human) const
{
    return std::find(humans.begin(), humans.end(), human) != humans.end();
}

int HumanRegistry::countZombies() const
{
    if (humans.empty())
        return built;
    return static_cast<int>(
        std::count_if(humans.begin(), humans.end(), [](const Particle* h) { return isZombieCell(h); }));
}

int HumanRegistry::countLiving() const
{
    if (humans.empty())
        return 0;
    return count() - countZombies();
}
