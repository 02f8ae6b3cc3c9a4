#include "elements/materials/Element.h"

#include "app/Logger.h"
#include "world/ParticleCreator.h"

USING_NS_CC;

CCArray* buildColorRowList(const ColorRows& rows)
{
    CCArray* list = CCArray::createWithCapacity(static_cast<unsigned>(rows.count));
    for (int i = 0; i < rows.count; ++i)
        list->addObject(CCInteger::create(rows.rows[static_cast<size_t>(i)]));
    // Class-wide and never freed: it outlives every particle of the class.
    list->retain();
    return list;
}

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
