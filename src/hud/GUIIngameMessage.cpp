#include "hud/GUIIngameMessage.h"

#include "base/ScreenMetrics.h"

USING_NS_CC;

namespace {
GUIIngameMessage* g_message = nullptr;
}

GUIIngameMessage* GUIIngameMessage::getInstance()
{
    if (!g_message) {
        g_message = new GUIIngameMessage();
        g_message->initWithSize(screenSize);
    }
    return g_message;
}

GUIIngameMessage* GUIIngameMessage::existingInstance()
{
    return g_message;
}

void GUIIngameMessage::resetInstanceForTests()
{
    if (!g_message)
        return;
    g_message->removeFromParentAndCleanup(true);
    g_message->release();
    g_message = nullptr;
}
