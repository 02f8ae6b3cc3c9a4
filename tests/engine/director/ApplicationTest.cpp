// The application: language choice, launching for tests, and the loop.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

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
    void applicationDidEnterBackground() override { }
    void applicationWillEnterForeground() override { }
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

class ApplicationTest : public DirectorTest { };

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

// Offscreen as in a window, a run that is not fixed-step keeps the real
// clock: 600 frames take 10 s, where a fixed-step run takes what the frames
// cost. Measured against that fixed-step run of the same frames, so a slow
// build only lengthens both.
TEST_F(ApplicationTest, AnOffscreenRunByTheRealClockTakesASixtiethOfASecondAFrame)
{
    ASSERT_EQ(CCEGLView::getRunMode(), kCCRunModeSoftware);
    ScopedEnv frames("ENGINE_EXIT_AFTER_FRAMES", "600");
    auto secondsToRun = [&](const char* fixedStep) {
        ScopedEnv fixed("ENGINE_FIXED_STEP", fixedStep);
        director->resetForTests();
        TestApp app;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(app.run(), 0);
        EXPECT_EQ(director->getTotalFrames(), 600u);
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    const double fixedRun = secondsToRun("1");
    const double realClock = secondsToRun("0");
    EXPECT_GE(realClock, 599.0 / 60 - 0.05)
        << "never faster than 60 frames a second (fixed step: " << fixedRun << " s)";
    EXPECT_LE(realClock, fixedRun + 599.0 / 60 * 1.5) << "waits only for frames that are not yet due";
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

namespace {

// Records the touches that reach the running scene, and every frame's dt.
class ScriptedApp : public TestApp, public CCTouchDelegate {
public:
    bool applicationDidFinishLaunching() override
    {
        CCDirector* d = CCDirector::sharedDirector();
        d->runWithScene(CCScene::create());
        d->getTouchDispatcher()->addTargetedDelegate(this, 0, true);
        d->getScheduler()->scheduleSelector(schedule_selector(Clock::tick), &clock, 0, false);
        d->setAnimationInterval(1.0 / 30);
        return true;
    }
    bool ccTouchBegan(CCTouch* t, CCEvent*) override { return note("began", t); }
    void ccTouchMoved(CCTouch* t, CCEvent*) override { note("moved", t); }
    void ccTouchEnded(CCTouch* t, CCEvent*) override { note("ended", t); }
    bool note(const char* what, CCTouch* t)
    {
        CCPoint p = t->getLocationInView();
        touches.push_back(std::string(what) + " " + std::to_string(static_cast<int>(p.x)) + "," +
                          std::to_string(static_cast<int>(p.y)) + " @" +
                          std::to_string(CCDirector::sharedDirector()->getTotalFrames()));
        return true;
    }

    struct Clock : public CCObject {
        void tick(float dt) { steps.push_back(dt); }
        std::vector<float> steps;
    } clock;
    std::vector<std::string> touches;
};

std::string writeScript(const std::string& name, const std::string& text)
{
    std::string path = ::testing::TempDir() + name;
    FILE* f = std::fopen(path.c_str(), "w");
    std::fputs(text.c_str(), f);
    std::fclose(f);
    return path;
}

}  // namespace

TEST_F(ApplicationTest, AScriptedRunFeedsInputThroughSdlAndEndsOnQuit)
{
    const std::string shot = ::testing::TempDir() + "scripted_frame.png";
    std::remove(shot.c_str());
    const std::string script = writeScript("scripted.run",
                                           "# a drag, a picture, then quit\n"
                                           "1 drag 10 20 40 50 3\n"
                                           "6 capture " +
                                               shot +
                                               "\n"
                                               "8 quit\n");
    ScriptedApp app;
    ScopedEnv input("ENGINE_INPUT_SCRIPT", script.c_str());
    ScopedEnv fixed("ENGINE_FIXED_STEP", "1");
    EXPECT_EQ(app.run(), 0);
    EXPECT_EQ(director->getTotalFrames(), 9u) << "quit at frame 8 ends the loop after that frame";
    const std::vector<std::string> expected = {"began 10,20 @1", "moved 20,30 @2", "moved 30,40 @3", "moved 40,50 @4",
                                               "ended 40,50 @5"};
    EXPECT_EQ(app.touches, expected);
    EXPECT_TRUE(CCImage().initWithImageFile(shot.c_str())) << "the captured frame is a readable PNG";
    ASSERT_FALSE(app.clock.steps.empty());
    for (float dt : app.clock.steps)
        EXPECT_FLOAT_EQ(dt, 1.0f / 60) << "fixed step whatever the animation interval";
    director->getTouchDispatcher()->removeDelegate(&app);
    director->getScheduler()->unscheduleAllForTarget(&app.clock);
}

TEST_F(ApplicationTest, AMalformedScriptStopsTheRunBeforeLaunch)
{
    const std::string script = writeScript("malformed.run", "1 click 5 5\n2 clik 5 5\n");
    TestApp app;
    ScopedEnv input("ENGINE_INPUT_SCRIPT", script.c_str());
    testing::internal::CaptureStderr();
    EXPECT_NE(app.run(), 0);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find(script + ":2: unknown command 'clik'"), std::string::npos) << err;
    EXPECT_EQ(app.launches, 0);
    EXPECT_EQ(director->getTotalFrames(), 0u);
}

TEST_F(ApplicationTest, AFailedCaptureMakesTheRunFail)
{
    const std::string script = writeScript("badcapture.run", "1 capture /nonexistent/dir/x.png\n2 quit\n");
    TestApp app;
    ScopedEnv input("ENGINE_INPUT_SCRIPT", script.c_str());
    ScopedEnv fixed("ENGINE_FIXED_STEP", "1");
    EXPECT_EQ(app.run(), 1);
    EXPECT_TRUE(director->hasEnded());
}

TEST_F(ApplicationTest, AnOffscreenScriptWithoutQuitEndsTheRunAsAFailure)
{
    const std::string script = writeScript("noquit.run", "1 click 5 5\n");
    TestApp app;
    ScopedEnv input("ENGINE_INPUT_SCRIPT", script.c_str());
    ScopedEnv fixed("ENGINE_FIXED_STEP", "1");
    testing::internal::CaptureStderr();
    EXPECT_EQ(app.run(), 1) << "never spins on with nobody to give input";
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("ended at frame 5 without quit"), std::string::npos) << err;
    EXPECT_EQ(director->getTotalFrames(), 7u);
}
