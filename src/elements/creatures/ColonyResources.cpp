// The colony's shared resource counts: one store for the whole program.
#include "elements/creatures/HumanLeader.h"

#include <map>

#include "profile/Profile.h"

namespace {
constexpr int32_t kHumanCampaign = 5;

std::map<std::string, int32_t>& store()
{
    static std::map<std::string, int32_t> resources;
    return resources;
}

// The campaign's resource goals, checked before the count rises.
void checkResourceGoals(const std::string& name)
{
    Profile* profile = Profile::getInstance();
    if (!profile || profile->getGameMode() != kHumanCampaign)
        return;
    switch (profile->getDay()) {
    case 2:
        if (name == "Food")
            profile->setFoodGathered(true);
        else if (name == "Water")
            profile->setWaterGathered(true);
        break;
    case 3:
        if (HumanLeader::getResource("Stone") >= 3)
            profile->setStoneGathered(true);
        break;
    case 4:
        if (HumanLeader::getResource("Stone") >= 5 && HumanLeader::getResource("Wood") >= 8)
            profile->setStockpileGathered(true);
        break;
    default: break;
    }
}
}  // namespace

void HumanLeader::gatherResource(const std::string& name)
{
    checkResourceGoals(name);
    addResource(name, 1);
}

void HumanLeader::addResource(const std::string& name, int32_t amount)
{
    // Wraps like the 32-bit count the world file keeps, without overflowing.
    int32_t& v = store()[name];
    v = static_cast<int32_t>(static_cast<uint32_t>(v) + static_cast<uint32_t>(amount));
}

bool HumanLeader::useResource(const std::string& name)
{
    auto it = store().find(name);
    if (it == store().end() || it->second <= 0)
        return false;
    --it->second;
    return true;
}

int32_t HumanLeader::getResource(const std::string& name)
{
    auto it = store().find(name);
    return it == store().end() ? 0 : it->second;
}

bool HumanLeader::hasResourceEntry(const std::string& name)
{
    return store().count(name) != 0;
}

void HumanLeader::replaceResources()
{
    store().clear();
}
