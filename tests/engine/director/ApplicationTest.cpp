// The application: language choice, launching for tests, and the loop.
#include <cstdlib>

#include "engine/director/DirectorFixture.h"

USING_NS_CC;
using namespace enginetest;

namespace {

class TestApp : public CCApplication {
public:
    bool applicationDidFinishLaunching() override
    {
        ++launches;
        if (runScene) {
            CCDirector::sharedDirector()->runWithScene(CCScene::create());
        }
        return launchResult;
    }
    void applicationDidEnterBackground() override {}
    void applicationWillEnterForeground() override {}
    int launches = 0;
    bool launchResult = true;
    bool runScene = true;
};

// Sets an environment variable for one test and restores it afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name)
    {
        const char* old = std::getenv(name);
        m_had = old != nullptr;
        m_old = old ? old : "";
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnv() { m_had ? setenv(m_name, m_old.c_str(), 1) : unsetenv(m_name); }

private:
    const char* m_name;
    bool m_had;
    std::string m_old;
};

class ApplicationTest : public DirectorTest {};

}  // namespace

TEST_F(ApplicationTest, LanguageIsFrenchSpanishOrEnglish)
{
    TestApp app;
    EXPECT_EQ(CCApplication::sharedApplication(), &app);
    {
        ScopedEnv lang("ENGINE_LANGUAGE", "fr");
        EXPECT_EQ(app.getCurrentLanguage(), 2);
    }
    {
        ScopedEnv lang("ENGINE_LANGUAGE", "ES");
        EXPECT_EQ(app.getCurrentLanguage(), 5);
    }
    {
        ScopedEnv lang("ENGINE_LANGUAGE", "de");
        EXPECT_EQ(app.getCurrentLanguage(), 0);
    }
    {
        ScopedEnv lang("ENGINE_LANGUAGE", nullptr);
        ScopedEnv sdl("LANGUAGE", nullptr);
        ScopedEnv all("LC_ALL", "es_ES.UTF-8");
        EXPECT_EQ(app.getCurrentLanguage(), 5) << "from the system locale";
    }
    CCApplication::setLanguageForTests(kLanguageFrench);
    EXPECT_EQ(app.getCurrentLanguage(), 2);
    CCApplication::setLanguageForTests(7);
    EXPECT_EQ(app.getCurrentLanguage(), 0);
    director->resetForTests();
    ScopedEnv lang("ENGINE_LANGUAGE", "en");
    EXPECT_EQ(app.getCurrentLanguage(), 0);
}

TEST_F(ApplicationTest, LaunchForTestsLaunchesOnceAndTheSceneEntersOnTheFirstFrame)
{
    TestApp app;
    EXPECT_TRUE(app.launchForTests());
    EXPECT_EQ(app.launches, 1);
    EXPECT_EQ(director->getRunningScene(), nullptr);
    director->stepFrame(kFrame);
    EXPECT_NE(director->getRunningScene(), nullptr);

    app.setAnimationInterval(1.0 / 30);
    EXPECT_DOUBLE_EQ(director->getAnimationInterval(), 1.0 / 30);
}

TEST_F(ApplicationTest, RunEndsAfterTheRequestedFramesAndReturnsZero)
{
    TestApp app;
    ScopedEnv frames("ENGINE_EXIT_AFTER_FRAMES", "5");
    EXPECT_EQ(app.run(), 0);
    EXPECT_EQ(director->getTotalFrames(), 5u);
    EXPECT_TRUE(director->hasEnded());

    director->resetForTests();
    app.launchResult = false;
    app.runScene = false;
    EXPECT_EQ(app.run(), 0) << "a failed launch ends run at once";
    EXPECT_EQ(director->getTotalFrames(), 0u);
}

TEST_F(ApplicationTest, TheSharedApplicationIsTheLastOneMade)
{
    {
        TestApp app;
        EXPECT_EQ(CCApplication::sharedApplication(), &app);
    }
    EXPECT_EQ(CCApplication::sharedApplication(), nullptr);
}

TEST_F(ApplicationTest, TheViewKeepsItsFrameThroughFullScreenAndRecordsTheClip)
{
    CCEGLView* view = CCEGLView::sharedOpenGLView();
    view->enterFullscreen(0, 0);
    EXPECT_TRUE(view->isFullscreen());
    EXPECT_TRUE(view->getFrameSize().equals(CCSize(800, 600)));
    EXPECT_TRUE(director->getWinSize().equals(CCSize(800, 600)));
    view->exitFullscreen(0, 0, 1024, 768, 0, 0);
    EXPECT_FALSE(view->isFullscreen());

    view->enableScissor(10, 20, 30, 40);
    view->enableScissor(1, 2, 3, 4);  // not nested: replaces
    EXPECT_TRUE(view->isScissorEnabled());
    EXPECT_TRUE(view->getScissorRect().equals(CCRect(1, 2, 3, 4)));
    view->disableScissor();
    EXPECT_FALSE(view->isScissorEnabled());

    view->setFrameSize(0, 600);  // refused
    EXPECT_TRUE(view->getFrameSize().equals(CCSize(800, 600)));
}
