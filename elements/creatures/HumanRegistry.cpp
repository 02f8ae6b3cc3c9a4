#include "elements/creatures/HumanRegistry.h"

#include <algorithm>

#include "elements/creatures/CreatureKinds.h"

HumanRegistry* HumanRegistry::getInstance()
{
    static HumanRegistry registry;
    return &registry;
}

void HumanRegistry::add(const Particle* human)
{
    if (human)
        humans.push_back(human);
}

void HumanRegistry::remove(const Particle* human)
{
    auto it = std::find(humans.begin(), humans.end(), human);
    if (it != humans.end())
        humans.erase(it);
}

void HumanRegistry::clear()
{
    while (!humans.empty())
        remove(humans.front());
}

bool HumanRegistry::contains(const Particle* human) const
{
    return std::find(humans.begin(), humans.end(), human) != humans.end();
}

int HumanRegistry::countZombies() const
{
    return static_cast<int>(std::count_if(humans.begin(), humans.end(), [](const Particle* h) {
        return isZombieCell(h);
    }));
}
