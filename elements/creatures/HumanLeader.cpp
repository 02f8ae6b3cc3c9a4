#include "elements/creatures/HumanLeader.h"

#include "world/GameServices.h"

bool HumanLeader::useResource(const std::string& resource)
{
    GameServices& store = gameServices();
    // The blob saves the three resources as plain counts, so an entry at zero
    // and a dropped entry read and save the same.
    if (store.getResource(resource) <= 0)
        return false;
    store.addResource(resource, -1);
    return true;
}
