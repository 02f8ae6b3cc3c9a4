#include "elements/creatures/MPObject.h"

#include "app/Logger.h"
#include "cocos2d_extensions/CCValue.h"
#include "world/World.h"

USING_NS_CC;

MPObject::MPObject()
{
    for (CCArray*& list : memberLists) {
        list = CCArray::create();
        list->retain();
    }
}

MPObject::~MPObject()
{
    releaseMemberLists();
}

void MPObject::dissolve()
{
    CCArray* members = memberLists[0];
    if (members) {
        for (unsigned i = 0; i < members->count(); ++i) {
            auto* box = static_cast<cocos2d_extensions::CCValue<Particle*>*>(members->objectAtIndex(i));
            Particle* cell = box ? box->getValue() : nullptr;
            if (!cell)
                continue;
            cell->setGroup(nullptr);
            if (gWorld)
                gWorld->queueRemove(cell->x, cell->y);
        }
    }
    for (CCArray* list : memberLists)
        if (list)
            list->removeAllObjects();
}

void MPObject::releaseMemberLists()
{
    for (CCArray*& list : memberLists) {
        if (list)
            list->release();
        list = nullptr;
    }
}

bool MPObject::moveBy(int, int, bool)
{
    static bool told = false;
    if (!told) {
        told = true;
        LOG << "not built yet: MPObject::moveBy, multi-pixel objects stay where they are";
    }
    return false;
}
