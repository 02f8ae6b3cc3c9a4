#include "gui/BackButton.h"

#include <cstring>

#include "base/Logger.h"

namespace {
BackButtonAdapter* g_adapter = nullptr;
}

BackButtonListener::~BackButtonListener()
{
    if (g_adapter)
        g_adapter->removeListener(this);
}

bool BackButtonListener::hasReturn(const char* text, int len)
{
    return text && len > 0 && std::memchr(text, '\n', static_cast<size_t>(len)) != nullptr;
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
    auto at = m_listeners.begin();
    if (!listener->keepsFront())
        while (at != m_listeners.end() && (*at)->keepsFront())
            ++at;
    m_listeners.insert(at, listener);
}

void BackButtonAdapter::removeListener(BackButtonListener* listener)
{
    m_listeners.remove(listener);
}

bool BackButtonAdapter::boxInFront(const BackButtonListener* listener) const
{
    const BackButtonListener* front = frontListener();
    return front && front != listener && front->keepsFront();
}

void BackButtonAdapter::keyBackClicked()
{
    onBackPressed();
}

void BackButtonAdapter::onBackPressed()
{
    Logger(81) << "back button pressed in back button adapter";
    if (BackButtonListener* front = frontListener())
        front->onBackPressed();
}

void BackButtonAdapter::insertText(const char* text, int len)
{
    if (BackButtonListener* front = frontListener())
        front->onTextTyped(text, len);
}

void BackButtonAdapter::deleteBackward()
{
    if (BackButtonListener* front = frontListener())
        front->onDeleteTyped();
}
