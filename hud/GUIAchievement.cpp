#include "hud/GUIAchievement.h"

#include "app/Logger.h"

USING_NS_CC;

GUIAchievement* GUIAchievement::create(CCSize size)
{
    auto* window = new GUIAchievement();
    window->initWithSize(size);
    window->autorelease();
    return window;
}

void GUIAchievement::show()
{
    static bool told = false;
    if (!told) {
        told = true;
        LOG << "goals window not built yet: nothing is shown";
    }
}
