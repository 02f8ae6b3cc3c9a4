#include "hud/GUITopBar.h"

#include <set>

#include "app/Logger.h"
#include "app/ScreenMetrics.h"

USING_NS_CC;

namespace {

GUITopBar* g_topBar = nullptr;

void notBuilt(const char* what)
{
    static std::set<std::string> told;
    if (told.insert(what).second)
        LOG << "top bar not built yet:" << what;
}

} // namespace

GUITopBar* GUITopBar::getInstance()
{
    if (!g_topBar) {
        g_topBar = new GUITopBar();
        g_topBar->initWithSize(screenSize);
    }
    return g_topBar;
}

void GUITopBar::resetInstanceForTests()
{
    if (!g_topBar)
        return;
    g_topBar->removeFromParentAndCleanup(true);
    g_topBar->release();
    g_topBar = nullptr;
}

void GUITopBar::switchDrawPanToggle()
{
    m_panning = !m_panning;
}

void GUITopBar::showNotification(CCString* text)
{
    LOG << "limit warning (top bar notifications are not built yet):" << (text ? text->getString() : std::string());
}

void GUITopBar::setZoomButtonIcon(const char*)
{
    notBuilt("zoom button icon");
}

void GUITopBar::unpressZoomButton()
{
    notBuilt("zoom button");
}

void GUITopBar::showZoomToggle(bool)
{
    notBuilt("zoom toggle");
}

void GUITopBar::setUndoButtonIcon(const char*)
{
    notBuilt("undo button icon");
}

void GUITopBar::setToolIcon(const std::string&)
{
    notBuilt("tool icon");
}

void GUITopBar::updateMana()
{
    notBuilt("mana counter");
}

void GUITopBar::buildFreeModeBar()
{
    notBuilt("free-play layout");
}
