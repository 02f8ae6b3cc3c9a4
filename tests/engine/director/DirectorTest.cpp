// The scene stack at the frame's switch point, transitions, pausing, the end
// of the loop, and resetting between tests.
#include "engine/director/DirectorFixture.h"

USING_NS_CC;
using namespace enginetest;

namespace {

class DirectorSceneTest : public DirectorTest {
protected:
    // A scene whose only child notes what happens to the scene.
    CCScene* scene(const std::string& name)
    {
        CCScene* s = CCScene::create();
        s->addChild(Probe::create(&log, name));
        return s;
    }
    Probe* probeOf(CCScene* s) { return static_cast<Probe*>(s->getChildren()->objectAtIndex(0)); }
    std::vector<std::string> withoutTicks() const
    {
        std::vector<std::string> events;
        for (const std::string& e : log) {
            if (e.find(" tick") == std::string::npos) {
                events.push_back(e);
            }
        }
        return events;
    }
    std::vector<std::string> log;
};

// Asks the director for its running scene while being entered.
class SceneWatcher : public CCNode {
public:
    void onEnter() override
    {
        CCNode::onEnter();
        seenOnEnter = CCDirector::sharedDirector()->getRunningScene();
    }
    CCScene* seenOnEnter = nullptr;
};

class TouchCounter : public CCLayer {
public:
    void ccTouchesBegan(CCSet*, CCEvent*) override { ++began; }
    int began = 0;
};

}  // namespace

TEST_F(DirectorSceneTest, TheFirstFrameEntersTheSceneAndItIsRunningDuringItsEntry)
{
    CCScene* a = scene("a");
    SceneWatcher* watcher = new SceneWatcher();
    watcher->autorelease();
    a->addChild(watcher);
    director->runWithScene(a);
    EXPECT_EQ(director->getRunningScene(), nullptr);
    EXPECT_TRUE(log.empty());
    director->stepFrame(kFrame);
    EXPECT_EQ(director->getRunningScene(), a);
    EXPECT_EQ(watcher->seenOnEnter, a);
    EXPECT_EQ(log, (std::vector<std::string>{"a enter", "a didFinish"}));
}

TEST_F(DirectorSceneTest, ReplacePushAndPopApplyAtTheSwitchPoint)
{
    CCScene* a = scene("a");
    director->runWithScene(a);
    director->stepFrame(kFrame);
    log.clear();

    CCScene* b = scene("b");
    director->pushScene(b);
    EXPECT_EQ(director->getRunningScene(), a) << "nothing changes during the call";
    director->stepFrame(kFrame);
    EXPECT_EQ(log, (std::vector<std::string>{"a exit", "b enter", "b didFinish"})) << "push: no cleanup";
    log.clear();

    director->replaceScene(scene("c"));
    director->stepFrame(kFrame);
    EXPECT_EQ(log, (std::vector<std::string>{"b exit", "b cleanup", "c enter", "c didFinish", "b deleted"}));
    log.clear();

    director->popScene();
    director->stepFrame(kFrame);
    EXPECT_EQ(log, (std::vector<std::string>{"c exit", "c cleanup", "a enter", "a didFinish", "c deleted"}));
    EXPECT_EQ(director->getRunningScene(), a);
}

TEST_F(DirectorSceneTest, SeveralRequestsInOneFrameEnterOnlyTheFinalTop)
{
    runScene();
    director->pushScene(scene("b"));
    director->pushScene(scene("c"));
    director->popScene();
    director->stepFrame(kFrame);
    EXPECT_EQ(log, (std::vector<std::string>{"b enter", "b didFinish", "c cleanup", "c deleted"}));
}

TEST_F(DirectorSceneTest, ADelayedPopOnTheDirectorChangesTheSceneInTheSameStep)
{
    CCScene* a = scene("a");
    director->runWithScene(a);
    director->stepFrame(kFrame);
    CCScene* b = scene("b");
    director->pushScene(b);
    director->stepFrame(kFrame);
    b->runAction(CCSequence::create(CCDelayTime::create(0.25f),
                                    CCCallFunc::create(director, callfunc_selector(CCDirector::popScene)), NULL));
    director->stepFrames(14, kFrame);
    EXPECT_EQ(director->getRunningScene(), b);
    director->stepFrame(kFrame);
    EXPECT_EQ(director->getRunningScene(), a);
}

TEST_F(DirectorSceneTest, PoppingTheLastSceneEndsTheLoop)
{
    director->runWithScene(scene("a"));
    director->stepFrame(kFrame);
    director->popScene();
    director->stepFrame(kFrame);
    EXPECT_TRUE(director->hasEnded());
    EXPECT_EQ(director->getRunningScene(), nullptr);
}

TEST_F(DirectorSceneTest, EndExitsAndCleansEveryScene)
{
    director->runWithScene(scene("a"));
    director->stepFrame(kFrame);
    director->pushScene(scene("b"));
    director->stepFrame(kFrame);
    log.clear();
    director->end();
    EXPECT_FALSE(director->hasEnded()) << "the current frame finishes first";
    director->stepFrame(kFrame);
    EXPECT_TRUE(director->hasEnded());
    EXPECT_EQ(log, (std::vector<std::string>{"b exit", "b cleanup", "a cleanup", "b deleted", "a deleted"}));
}

TEST_F(DirectorSceneTest, AFadeRunsBothScenesReturnsTheIncomingOneAndHoldsTouchesBack)
{
    CCScene* a = scene("a");
    director->runWithScene(a);
    director->stepFrame(kFrame);
    Probe* aProbe = probeOf(a);
    aProbe->schedule(schedule_selector(Probe::tick), 0.0f);
    TouchCounter* toucher = new TouchCounter();
    toucher->init();
    toucher->autorelease();
    toucher->setTouchEnabled(true);
    a->addChild(toucher);
    log.clear();

    CCScene* b = scene("b");
    CCTransitionFade* fade = CCTransitionFade::create(0.25f, b);
    director->pushScene(fade);
    director->stepFrame(kFrame);
    EXPECT_EQ(withoutTicks(), (std::vector<std::string>{"b enter"}));
    EXPECT_TRUE(director->isInTransition());
    EXPECT_EQ(director->getRunningScene(), b) << "popups must land on the incoming scene";

    int ticks = aProbe->ticks;
    CCEGLView::sharedOpenGLView()->simulateTouchBegan(0, ccp(10, 10));
    CCEGLView::sharedOpenGLView()->simulateTouchEnded(0, ccp(10, 10));
    EXPECT_EQ(toucher->began, 0);
    director->stepFrames(6, kFrame);
    EXPECT_EQ(aProbe->ticks, ticks + 6) << "the outgoing scene keeps running";
    director->stepFrame(kFrame);
    EXPECT_GT(fade->getFadeOpacity(), 230) << "nearly black half way through";

    director->stepFrames(8, kFrame);
    EXPECT_FALSE(director->isInTransition());
    EXPECT_EQ(director->getRunningScene(), b);
    EXPECT_EQ(withoutTicks(), (std::vector<std::string>{"b enter", "a exit", "b didFinish"}))
        << "push: no cleanup of a";

    CCEGLView::sharedOpenGLView()->simulateTouchBegan(0, ccp(10, 10));
    EXPECT_EQ(toucher->began, 0) << "a is covered now";
    director->popScene();
    director->stepFrame(kFrame);
    EXPECT_EQ(director->getRunningScene(), a);
    CCEGLView::sharedOpenGLView()->simulateTouchBegan(0, ccp(10, 10));
    EXPECT_EQ(toucher->began, 1);
}

TEST_F(DirectorSceneTest, AReplacingFadeCleansTheOutgoingSceneAtItsEnd)
{
    director->runWithScene(scene("a"));
    director->stepFrame(kFrame);
    log.clear();
    director->replaceScene(CCTransitionFade::create(0.1f, scene("b")));
    director->stepFrames(7, kFrame);
    EXPECT_EQ(log, (std::vector<std::string>{"b enter", "a exit", "a cleanup", "b didFinish", "a deleted"}));

    // A request during a transition finishes it first.
    log.clear();
    director->pushScene(CCTransitionFade::create(1.0f, scene("c")));
    director->stepFrame(kFrame);
    director->replaceScene(scene("d"));
    director->stepFrame(kFrame);
    EXPECT_FALSE(director->isInTransition());
    EXPECT_EQ(log,
              (std::vector<std::string>{"c enter", "b exit", "c didFinish", "c exit", "c cleanup", "d enter",
                                        "d didFinish", "c deleted"}));
}

TEST_F(DirectorSceneTest, PausingFreezesTimersAndActionsButNotThePool)
{
    CCScene* a = runScene();
    Probe* p = Probe::create(&log, "p");
    a->addChild(p);
    p->schedule(schedule_selector(Probe::tick), 0.0f);
    p->runAction(CCMoveTo::create(0.1f, ccp(10, 0)));
    director->pause();
    CCString* garbage = CCString::create("drained");
    garbage->retain();
    director->stepFrames(10, kFrame);
    EXPECT_EQ(p->ticks, 0);
    EXPECT_TRUE(p->getPosition().equals(CCPointZero));
    EXPECT_EQ(garbage->retainCount(), 1u);
    garbage->release();

    director->resume();
    EXPECT_TRUE(director->takeClockRestart());
    EXPECT_FALSE(director->takeClockRestart());
    director->stepFrames(6, kFrame);
    EXPECT_EQ(p->ticks, 6);
    EXPECT_TRUE(p->getPosition().equals(ccp(10, 0)));
}

TEST_F(DirectorSceneTest, ResetForTestsLeavesNothingBehind)
{
    CCScene* a = scene("a");
    director->runWithScene(a);
    director->stepFrame(kFrame);
    Probe* p = probeOf(a);
    p->schedule(schedule_selector(Probe::tick), 1.0f);
    p->setTouchEnabled(true);
    p->setKeypadEnabled(true);
    CCEGLView::sharedOpenGLView()->setKeyDown(kCCKeyAlt, true);
    CCEGLView::sharedOpenGLView()->simulateTouchBegan(0, ccp(1, 1));
    director->pause();

    director->resetForTests();
    EXPECT_EQ(director->getRunningScene(), nullptr);
    EXPECT_FALSE(director->isPaused());
    EXPECT_FALSE(CCEGLView::sharedOpenGLView()->isKeyDown(kCCKeyAlt));
    EXPECT_EQ(CCEGLView::sharedOpenGLView()->activeTouchCount(), 0u);
    EXPECT_EQ(log.back(), "a deleted");
    EXPECT_TRUE(director->getWinSize().equals(CCSize(800, 600)));
}

TEST_F(DirectorSceneTest, ConvertToGLFlipsAgainstTheFrameHeight)
{
    EXPECT_TRUE(director->convertToGL(ccp(10, 0)).equals(ccp(10, 600)));
    EXPECT_TRUE(director->convertToGL(ccp(10, 700)).equals(ccp(10, -100))) << "no clamping";
    EXPECT_TRUE(director->convertToUI(ccp(10, 600)).equals(ccp(10, 0)));
}
