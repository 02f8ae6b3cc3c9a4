#include "world/Tool.h"

#include "app/Logger.h"

USING_NS_CC;

void Draw::apply(CCArray*, CCArray*)
{
    if (m_notedNotBuilt)
        return;
    m_notedNotBuilt = true;
    LOG << "Draw tool: brushes are not built yet; nothing is painted";
}
