#include "elements/creatures/HumanLeader.h"

#include "world/WorldBlob.h"

bool HumanLeader::useResource(const std::string& resource)
{
    WorldBlobServices& store = worldBlobServices();
    // The store reads 0 for a resource it has no entry for, so an entry at
    // zero and a dropped entry are the same to every reader.
    if (store.getResource(resource) <= 0)
        return false;
    store.addResource(resource, -1);
    return true;
}
