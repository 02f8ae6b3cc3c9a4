#include "world/GameLayer.h"

#include "app/Logger.h"
#include "world/CCMutableTexture2D.h"

USING_NS_CC;

namespace {
GameLayer* s_instance = nullptr;
}

GameLayer* GameLayer::getInstance()
{
    if (!s_instance) {
        s_instance = new GameLayer();
        s_instance->init();
    }
    return s_instance;
}

void GameLayer::resetInstanceForTests()
{
    if (s_instance) {
        s_instance->removeAllChildrenWithCleanup(true);
        s_instance->release();
    }
    s_instance = nullptr;
}

GameLayer::GameLayer()
{
    // A small world's texture until the first resize, as the full layer has.
    setWorldTexture(CCMutableTexture2D::createWithSize(CCSize(120, 80)));
}

GameLayer::~GameLayer()
{
    CC_SAFE_RELEASE(m_worldTexture);
    m_worldTexture = nullptr;
}

void GameLayer::setWorldTexture(CCMutableTexture2D* texture)
{
    if (texture == m_worldTexture)
        return;
    if (texture)
        texture->retain();
    if (m_worldTexture)
        m_worldTexture->release();
    m_worldTexture = texture;
}

void GameLayer::resizeWorldView(bool big)
{
    // Only the world texture exists so far; the sprites, overview and camera
    // it also rebuilds come with the game layer's own work.
    LOG << "resizeWorldView: only the world texture is rebuilt so far";
    setWorldTexture(CCMutableTexture2D::createWithSize(big ? CCSize(240, 160) : CCSize(120, 80)));
}
