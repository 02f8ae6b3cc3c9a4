#include "gui/BackButton.h"

#include "base/Logger.h"

namespace {
BackButtonAdapter* g_adapter = nullptr;
}

BackButtonListener::~BackButtonListener()
{
    if (g_adapter)
        g_adapter->removeListener(this);
}

BackButtonAdapter* BackButtonAdapter::getInstance()
{
    if (!g_adapter) {
        g_adapter = new BackButtonAdapter();
        g_adapter->retain();
    }
    return g_adapter;
}

void BackButtonAdapter::addListener(BackButtonListener* listener)
{
    removeListener(listener);
    m_listeners.push_front(listener);
}

void BackButtonAdapter::removeListener(BackButtonListener* listener)
{
    m_listeners.remove(listener);
}

void BackButtonAdapter::keyBackClicked()
{
    onBackPressed();
}

void BackButtonAdapter::onBackPressed()
{
    Logger(81) << "back button pressed in back button adapter";
    if (m_listeners.empty())
        return;
    if (BackButtonListener* front = m_listeners.front())
        front->onBackPressed();
}
