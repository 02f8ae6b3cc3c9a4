#include "elements/materials/Element.h"

#include "base/Logger.h"
#include "world/ParticleCreator.h"

USING_NS_CC;

bool kindIsBuilt(uint32_t type, bool& toldMissing, const char* whatInstead)
{
    if (ParticleCreator::isBuilt(type))
        return true;
    if (!toldMissing) {
        toldMissing = true;
        LOG << ParticleCreator::getName(type) << "is not built yet:" << whatInstead;
    }
    return false;
}
