#include "hud/GUIBackgrounds.h"

#include <set>
#include <string>

#include "base/Logger.h"
#include "hud/GUIShare.h"

USING_NS_CC;

namespace {

void notBuilt(const char* what)
{
    static std::set<std::string> told;
    if (told.insert(what).second)
        LOG << "not built yet:" << what;
}

template <typename W> W* createWindow(CCSize size)
{
    W* window = new W();
    window->initWithSize(size);
    window->autorelease();
    return window;
}

}  // namespace

GUIBackgrounds* GUIBackgrounds::create(CCSize size)
{
    return createWindow<GUIBackgrounds>(size);
}

void GUIBackgrounds::buildWindow()
{
    notBuilt("background gallery window (slides out again)");
    close();
}

GUIShare* GUIShare::create(CCSize size)
{
    return createWindow<GUIShare>(size);
}

void GUIShare::buildContent(CCObject*, CCObject*)
{
    notBuilt("share popup (slides out again)");
    close();
}
