// Actions as the game uses them: delayed calls, cleanup, ownership, eases,
// moves, fades, repeats, and actions that stop or remove their own target.
#include "engine/director/DirectorFixture.h"

USING_NS_CC;
using namespace enginetest;

namespace {

class ActionTest : public DirectorTest {
protected:
    std::vector<std::string> log;
};

// A node that removes itself, with cleanup, when called back.
class SelfRemover : public CCNode {
public:
    static SelfRemover* create()
    {
        SelfRemover* n = new SelfRemover();
        n->autorelease();
        return n;
    }
    void removeMe() { removeFromParentAndCleanup(true); }
    void stopMine() { stopAllActions(); }
    void count() { ++calls; }
    int calls = 0;
};

}  // namespace

TEST_F(ActionTest, DelayedCallFiresInTheFrameItsDelayIsReached)
{
    CCScene* scene = runScene();
    Probe* p = Probe::create(&log, "p");
    scene->addChild(p);
    p->runAction(
        CCSequence::create(CCDelayTime::create(0.2f), CCCallFunc::create(p, callfunc_selector(Probe::fire)), NULL));
    director->stepFrames(11, kFrame);
    EXPECT_EQ(p->fired, 0);
    director->stepFrame(kFrame);
    EXPECT_EQ(p->fired, 1) << "0.2 s is reached in the 12th 1/60 step";
    EXPECT_EQ(p->numberOfRunningActions(), 0u);
}

TEST_F(ActionTest, ReferenceCountsAcrossAFrame)
{
    CCScene* scene = runScene();
    CCNode* node = CCNode::create();
    EXPECT_EQ(node->retainCount(), 1u);
    scene->addChild(node);
    CCAction* move = CCMoveTo::create(1.0f, ccp(10, 0));
    node->runAction(move);
    EXPECT_EQ(node->retainCount(), 3u) << "creator's pending release, parent, action manager";
    EXPECT_EQ(move->retainCount(), 2u);
    director->stepFrame(kFrame);  // the pool is drained at the end of the frame
    EXPECT_EQ(node->retainCount(), 2u);
    EXPECT_EQ(move->retainCount(), 1u);
    node->stopAllActions();
    EXPECT_EQ(node->retainCount(), 1u);
}

TEST_F(ActionTest, CleanupCancelsAPendingSequenceOfARemovedSubtree)
{
    CCScene* scene = runScene();
    Probe* popup = Probe::create(&log, "popup");
    CCNode* child = CCNode::create();
    popup->addChild(child);
    scene->addChild(popup);
    child->runAction(
        CCSequence::create(CCDelayTime::create(0.3f), CCCallFunc::create(popup, callfunc_selector(Probe::fire)), NULL));
    director->stepFrames(5, kFrame);
    log.clear();
    popup->removeFromParent();  // cleanup reaches the child's action
    director->stepFrames(60, kFrame);
    EXPECT_EQ(log, (std::vector<std::string>{"popup exit", "popup cleanup", "popup deleted"}))
        << "never called back, and nothing holds the popup any more";
}

TEST_F(ActionTest, DelayedCallKeepsItsTargetAliveAfterRemovalFromTheTree)
{
    CCScene* scene = runScene();
    Probe* window = Probe::create(&log, "window");
    scene->addChild(window);
    // The hide sequence runs on the scene and calls back into the window.
    scene->runAction(CCSequence::create(CCDelayTime::create(0.1f),
                                        CCCallFunc::create(window, callfunc_selector(Probe::fire)), NULL));
    scene->removeChild(window);
    log.clear();
    director->stepFrames(3, kFrame);
    EXPECT_TRUE(log.empty()) << "still alive, held by its CCCallFunc";
    director->stepFrames(3, kFrame);
    EXPECT_EQ(log, (std::vector<std::string>{"window fire", "window deleted"})) << "released once the call was made";
}

TEST_F(ActionTest, CallFuncOHoldsItsObjectAndExecutesDirectly)
{
    Probe* target = Probe::create(&log, "t");
    target->retain();
    CCString* payload = CCString::create("x");
    CCCallFuncO* call = CCCallFuncO::create(target, callfuncO_selector(Probe::fireWith), payload);
    call->retain();
    director->stepFrame(kFrame);  // drains the creators' references
    EXPECT_EQ(payload->retainCount(), 1u);
    call->execute();
    EXPECT_EQ(target->received, payload);
    call->release();

    // A null target does nothing.
    CCCallFunc::create(nullptr, callfunc_selector(Probe::fire))->execute();

    // CCCallFuncN passes the node the action runs on.
    CCScene* scene = runScene();
    CCNode* node = CCNode::create();
    scene->addChild(node);
    node->runAction(CCCallFuncN::create(target, callfuncN_selector(Probe::fireWithNode)));
    director->stepFrame(kFrame);
    EXPECT_EQ(target->received, node);
    target->release();
}

TEST_F(ActionTest, EaseInWithRateZeroReachesItsEndAtTheFirstStep)
{
    CCScene* scene = runScene();
    CCNode* panel = CCNode::create();
    scene->addChild(panel);
    panel->setScale(1.0f);
    panel->runAction(CCEaseIn::create(CCScaleTo::create(0.3f, 0.0f), 0.0f));
    director->stepFrame(kFrame);
    EXPECT_EQ(panel->getScaleX(), 0.0f);
    EXPECT_EQ(panel->getScaleY(), 0.0f);

    // EaseOut with rate 2 is ahead of linear time, rate 0 holds until the end.
    CCNode* a = CCNode::create();
    CCNode* b = CCNode::create();
    scene->addChild(a);
    scene->addChild(b);
    a->runAction(CCEaseOut::create(CCMoveTo::create(1.0f, ccp(100, 0)), 2.0f));
    b->runAction(CCEaseOut::create(CCMoveTo::create(1.0f, ccp(100, 0)), 0.0f));
    director->stepFrames(15, kFrame);
    EXPECT_NEAR(a->getPosition().x, 50.0f, 0.01f);  // sqrt(0.25)
    EXPECT_EQ(b->getPosition().x, 0.0f);
    director->stepFrames(45, kFrame);
    EXPECT_EQ(a->getPosition().x, 100.0f);
    EXPECT_EQ(b->getPosition().x, 100.0f);
}

TEST_F(ActionTest, MoveToReversedMidwayStartsFromTheCurrentPosition)
{
    CCScene* scene = runScene();
    CCNode* window = CCNode::create();
    scene->addChild(window);
    window->runAction(CCMoveTo::create(0.2f, ccp(0, 200)));
    director->stepFrames(6, kFrame);  // half way
    EXPECT_NEAR(window->getPosition().y, 100.0f, 0.01f);

    window->stopAllActions();
    window->runAction(CCMoveTo::create(0.2f, ccp(0, 0)));
    EXPECT_NEAR(window->getPosition().y, 100.0f, 0.01f) << "no jump when the reversal starts";
    director->stepFrame(kFrame);
    EXPECT_NEAR(window->getPosition().y, 100.0f - 100.0f / 12, 0.01f);
    director->stepFrames(11, kFrame);
    EXPECT_EQ(window->getPosition().y, 0.0f);

    // MoveBy adds to where the node was when it started.
    window->runAction(CCMoveBy::create(0.1f, ccp(5, -5)));
    director->stepFrames(6, kFrame);
    EXPECT_TRUE(window->getPosition().equals(ccp(5, -5)));
}

TEST_F(ActionTest, FadesGoFromTheCurrentOpacityAndLeaveChildrenAlone)
{
    CCScene* scene = runScene();
    CCLayerColor* dim = CCLayerColor::create(ccc4(0, 0, 0, 200));
    CCLayerColor* child = CCLayerColor::create(ccc4(0, 0, 0, 255));
    dim->addChild(child);
    scene->addChild(dim);
    dim->runAction(CCFadeOut::create(0.5f));
    director->stepFrames(15, kFrame);
    EXPECT_NEAR(dim->getOpacity(), 100, 1);
    director->stepFrames(15, kFrame);
    EXPECT_EQ(dim->getOpacity(), 0);
    EXPECT_EQ(child->getOpacity(), 255);

    dim->runAction(CCFadeTo::create(0.0f, 128));
    director->stepFrame(kFrame);
    EXPECT_EQ(dim->getOpacity(), 128);
    dim->runAction(CCFadeIn::create(0.1f));
    director->stepFrames(6, kFrame);
    EXPECT_EQ(dim->getOpacity(), 255);

    // A plain node has no opacity: the fade runs and changes nothing.
    CCNode* plain = CCNode::create();
    scene->addChild(plain);
    plain->runAction(CCFadeOut::create(0.1f));
    director->stepFrames(10, kFrame);
    EXPECT_EQ(plain->numberOfRunningActions(), 0u);
}

TEST_F(ActionTest, ActionsOfATargetOffTheSceneWaitUntilItEnters)
{
    CCScene* scene = runScene();
    CCNode* node = CCNode::create();
    node->runAction(CCMoveTo::create(0.1f, ccp(10, 10)));
    director->stepFrames(10, kFrame);
    EXPECT_TRUE(node->getPosition().equals(CCPointZero));
    scene->addChild(node);
    director->stepFrames(6, kFrame);
    EXPECT_TRUE(node->getPosition().equals(ccp(10, 10)));
}

TEST_F(ActionTest, RepeatForeverRestartsAtOnceCarryingTheExcess)
{
    CCScene* scene = runScene();
    Probe* p = Probe::create(&log, "p");
    scene->addChild(p);
    p->runAction(CCRepeatForever::create(
        CCSequence::create(CCDelayTime::create(0.1f), CCCallFunc::create(p, callfunc_selector(Probe::fire)), NULL)));
    director->stepFrame(0.25f);
    EXPECT_EQ(p->fired, 2);
    director->stepFrame(0.05f);
    EXPECT_EQ(p->fired, 3) << "0.05 s carried over from the long frame";
    EXPECT_EQ(p->numberOfRunningActions(), 1u);
}

TEST_F(ActionTest, AnActionMayRemoveOrStopItsOwnTargetDuringItsStep)
{
    CCScene* scene = runScene();
    SelfRemover* node = SelfRemover::create();
    scene->addChild(node);
    node->runAction(CCSequence::create(CCCallFunc::create(node, callfunc_selector(SelfRemover::removeMe)),
                                       CCCallFunc::create(node, callfunc_selector(SelfRemover::count)), NULL));
    node->retain();
    director->stepFrame(kFrame);
    EXPECT_EQ(node->getParent(), nullptr);
    EXPECT_EQ(node->calls, 0) << "a stopped sequence runs nothing more";
    EXPECT_EQ(node->numberOfRunningActions(), 0u);

    scene->addChild(node);
    node->runAction(CCSequence::create(CCCallFunc::create(node, callfunc_selector(SelfRemover::stopMine)),
                                       CCDelayTime::create(1.0f), NULL));
    node->runAction(CCMoveTo::create(1.0f, ccp(50, 0)));
    director->stepFrames(3, kFrame);
    EXPECT_EQ(node->numberOfRunningActions(), 0u);
    EXPECT_TRUE(node->getPosition().equals(CCPointZero));
    node->release();
}

TEST_F(ActionTest, TheMusicWatcherDiesWithItsScene)
{
    CCScene* level = runScene();
    Probe* watcher = Probe::create(&log, "watcher");
    level->addChild(watcher);
    level->runAction(CCRepeatForever::create(CCSequence::create(
        CCDelayTime::create(3.0f), CCCallFunc::create(watcher, callfunc_selector(Probe::fire)), NULL)));
    director->stepFrames(181, kFrame);
    EXPECT_EQ(watcher->fired, 1);
    log.clear();
    director->replaceScene(CCScene::create());
    director->stepFrames(400, kFrame);
    EXPECT_EQ(log, (std::vector<std::string>{"watcher exit", "watcher cleanup", "watcher deleted"}))
        << "no further fire after the scene was replaced";
}

TEST_F(ActionTest, AnActionRunsOnlyOnceAtATime)
{
    CCScene* scene = runScene();
    CCNode* a = CCNode::create();
    CCNode* b = CCNode::create();
    scene->addChild(a);
    scene->addChild(b);
    CCAction* move = CCMoveTo::create(0.1f, ccp(10, 0));
    a->runAction(move);
    b->runAction(move);  // refused with a log line
    EXPECT_EQ(b->numberOfRunningActions(), 0u);
    director->stepFrames(6, kFrame);
    EXPECT_TRUE(a->getPosition().equals(ccp(10, 0)));
    EXPECT_TRUE(b->getPosition().equals(CCPointZero));
}
