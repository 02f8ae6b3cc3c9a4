#include "support/HeadlessGame.h"

#include "SimpleAudioEngine.h"
#include "cocos2d.h"
#include "platform/CloudStorage.h"
#include "platform/GameRandom.h"
#include "support/CleanGame.h"

#include <cstdlib>

USING_NS_CC;

namespace testsupport {

std::string HeadlessGame::resourceRoot()
{
    const char* root = std::getenv("ENGINE_RESOURCES");
    return root ? root : std::string();
}

void HeadlessGame::SetUp()
{
    m_home = std::make_unique<TempHome>();
    // The game always has its store: a save that fails is told to the player.
    platform::CloudStorage::setRoot(m_home->saveFolder() + "/cloud");
    platform::seedGameRand(12345);
    CCDirector::sharedDirector()->resetForTests();
    CCEGLView::sharedOpenGLView()->resetForTests();
    std::string root = resourceRoot();
    if (!root.empty())
        CCFileUtils::sharedFileUtils()->setResourceRoot(root);
    CocosDenshion::SimpleAudioEngine::sharedEngine()->resetForTests();
    CocosDenshion::SimpleAudioEngine::sharedEngine()->setBackendForTests(true);
    resetGame();
}

void HeadlessGame::TearDown()
{
    CCDirector::sharedDirector()->resetForTests();
    resetGame();
    CCPoolManager::sharedPoolManager()->drain();
    platform::CloudStorage::clearRoot();
    m_home.reset();
}

void HeadlessGame::stepFrames(int count, float dt)
{
    CCDirector::sharedDirector()->stepFrames(count, dt);
}

void HeadlessGame::stepSeconds(float seconds, float dt)
{
    int frames = static_cast<int>(seconds / dt + 0.5f);
    stepFrames(frames, dt);
}

bool HeadlessGame::stepUntil(const std::function<bool()>& done)
{
    for (int frame = 0; frame < 600 && !done(); ++frame)
        stepFrames(1);
    return done();
}

}  // namespace testsupport
