// Touch routing: one CCTouch per press, targeted before standard delegates,
// priorities and swallowing, the right button, and registration changes made
// while a touch is being dispatched.
#include "engine/director/DirectorFixture.h"

USING_NS_CC;
using namespace enginetest;

namespace {

class Toucher : public CCLayer {
public:
    Toucher(std::vector<std::string>* log, std::string name, bool claims)
        : m_log(log), m_name(std::move(name)), m_claims(claims)
    {
        init();
        autorelease();
    }
    bool ccTouchBegan(CCTouch* touch, CCEvent* event) override
    {
        EXPECT_NE(event, nullptr);
        touches.push_back(touch);
        note("began");
        if (onBegan) {
            onBegan();
        }
        return m_claims;
    }
    void ccTouchMoved(CCTouch* touch, CCEvent*) override
    {
        touches.push_back(touch);
        note("moved");
    }
    void ccTouchEnded(CCTouch* touch, CCEvent*) override
    {
        touches.push_back(touch);
        note("ended");
    }
    void ccTouchCancelled(CCTouch*, CCEvent*) override { note("cancelled"); }
    void ccTouchesBegan(CCSet* set, CCEvent*) override { noteSet("Began", set); }
    void ccTouchesMoved(CCSet* set, CCEvent*) override { noteSet("Moved", set); }
    void ccTouchesEnded(CCSet* set, CCEvent*) override { noteSet("Ended", set); }
    void ccTouchesCancelled(CCSet* set, CCEvent*) override { noteSet("Cancelled", set); }
    void ccRightTouchesBegan(CCSet* set, CCEvent*) override { noteSet("RightBegan", set); }
    void ccRightTouchesEnded(CCSet* set, CCEvent*) override { noteSet("RightEnded", set); }

    void note(const std::string& what) { m_log->push_back(m_name + " " + what); }
    void noteSet(const std::string& what, CCSet* set)
    {
        for (CCObject* o : *set) {
            touches.push_back(static_cast<CCTouch*>(o));
        }
        note("touches" + what + " x" + std::to_string(set->count()));
    }

    std::vector<CCTouch*> touches;
    std::function<void()> onBegan;

private:
    std::vector<std::string>* m_log;
    std::string m_name;
    bool m_claims;
};

class TouchDispatchTest : public DirectorTest {
protected:
    void SetUp() override
    {
        DirectorTest::SetUp();
        view = CCEGLView::sharedOpenGLView();
        dispatcher = director->getTouchDispatcher();
    }
    Toucher* make(const char* name, bool claims = false) { return new Toucher(&log, name, claims); }
    void tap(int id, CCPoint at, bool right = false)
    {
        view->simulateTouchBegan(id, at, right);
        view->simulateTouchEnded(id, at, right);
    }

    CCEGLView* view = nullptr;
    CCTouchDispatcher* dispatcher = nullptr;
    std::vector<std::string> log;
};

}  // namespace

TEST_F(TouchDispatchTest, OneTouchObjectFromBeganToEndedAndANewOnePerPress)
{
    Toucher* button = make("button", true);
    dispatcher->addTargetedDelegate(button, 0, true);
    view->simulateTouchBegan(0, ccp(100, 500));
    view->simulateTouchMoved(0, ccp(110, 490));
    view->simulateTouchEnded(0, ccp(120, 480));
    ASSERT_EQ(button->touches.size(), 3u);
    EXPECT_EQ(button->touches[0], button->touches[1]);
    EXPECT_EQ(button->touches[1], button->touches[2]);

    // The GL point arrives as view (x, 600 - y) and converts back.
    CCTouch* held = nullptr;
    button->onBegan = [&] { held = button->touches.back(); };
    view->simulateTouchBegan(0, ccp(30, 560));
    ASSERT_NE(held, nullptr);
    held->retain();
    EXPECT_TRUE(held->getLocationInView().equals(ccp(30, 40)));
    EXPECT_TRUE(held->getLocation().equals(ccp(30, 560)));
    EXPECT_EQ(held->getID(), 0);
    view->simulateTouchEnded(0, ccp(30, 560));
    held->release();
    view->simulateTouchBegan(0, ccp(1, 1));
    EXPECT_EQ(view->activeTouchCount(), 1u);
}

TEST_F(TouchDispatchTest, PrioritiesOrderTargetedDelegatesAndSwallowingHidesTouchesFromTheRest)
{
    Toucher* late = make("late");
    Toucher* first = make("first");
    Toucher* newest = make("newest");
    Toucher* game = make("game");
    dispatcher->addTargetedDelegate(late, 5, false);
    dispatcher->addTargetedDelegate(first, -1, false);
    dispatcher->addTargetedDelegate(newest, 5, false);
    dispatcher->addStandardDelegate(game, 0);
    tap(0, ccp(1, 1));
    EXPECT_EQ(log,
              (std::vector<std::string>{"first began", "newest began", "late began", "game touchesBegan x1",
                                        "game touchesEnded x1"}))
        << "ascending priority, the most recent first among equals";

    // A swallowing claimer takes the touch away from everyone after it.
    log.clear();
    Toucher* popup = make("popup", true);
    dispatcher->addTargetedDelegate(popup, -5, true);
    view->simulateTouchBegan(0, ccp(1, 1));
    view->simulateTouchMoved(0, ccp(2, 2));
    view->simulateTouchEnded(0, ccp(2, 2));
    EXPECT_EQ(log, (std::vector<std::string>{"popup began", "popup moved", "popup ended"}));
}

TEST_F(TouchDispatchTest, AClaimWithoutSwallowingSharesTheTouchButKeepsItsMovesToItself)
{
    Toucher* slider = make("slider", true);
    Toucher* other = make("other", false);
    Toucher* game = make("game");
    dispatcher->addTargetedDelegate(slider, 0, false);
    dispatcher->addTargetedDelegate(other, 1, false);
    dispatcher->addStandardDelegate(game, 0);
    view->simulateTouchBegan(0, ccp(1, 1));
    view->simulateTouchMoved(0, ccp(3, 3));
    view->simulateTouchCancelled(0, ccp(3, 3));
    EXPECT_EQ(log,
              (std::vector<std::string>{"slider began", "other began", "game touchesBegan x1", "slider moved",
                                        "game touchesMoved x1", "slider cancelled", "game touchesCancelled x1"}));
}

TEST_F(TouchDispatchTest, RightTouchesGoOnlyToStandardDelegates)
{
    Toucher* button = make("button", true);
    Toucher* game = make("game");
    dispatcher->addTargetedDelegate(button, -10, true);
    dispatcher->addStandardDelegate(game, 0);
    tap(1, ccp(5, 5), true);
    EXPECT_EQ(log, (std::vector<std::string>{"game touchesRightBegan x1", "game touchesRightEnded x1"}));

    // Both buttons held: two independent touches.
    log.clear();
    view->simulateTouchBegan(0, ccp(1, 1));
    view->simulateTouchBegan(1, ccp(2, 2), true);
    EXPECT_EQ(view->activeTouchCount(), 2u);
    EXPECT_EQ(log, (std::vector<std::string>{"button began", "game touchesRightBegan x1"}));
}

TEST_F(TouchDispatchTest, RegistrationChangesDuringADispatchWaitForItsEnd)
{
    Toucher* opener = make("opener");
    Toucher* opened = make("opened");
    Toucher* victim = make("victim");
    dispatcher->addTargetedDelegate(opener, 0, false);
    dispatcher->addTargetedDelegate(victim, 1, false);
    opener->onBegan = [&] {
        dispatcher->addTargetedDelegate(opened, -1, false);
        dispatcher->removeDelegate(victim);
    };
    view->simulateTouchBegan(0, ccp(1, 1));
    EXPECT_EQ(log, (std::vector<std::string>{"opener began"})) << "added: not this event; removed: no more calls";
    EXPECT_TRUE(dispatcher->isRegistered(opened));
    EXPECT_FALSE(dispatcher->isRegistered(victim));

    log.clear();
    opener->onBegan = nullptr;
    view->simulateTouchBegan(2, ccp(1, 1));
    EXPECT_EQ(log, (std::vector<std::string>{"opened began", "opener began"}));
}

TEST_F(TouchDispatchTest, DelegatesAreRetainedWhileRegisteredAndAddedOnlyOnce)
{
    Toucher* t = make("t");
    t->retain();
    director->stepFrame(kFrame);  // drains the creator's reference
    dispatcher->addStandardDelegate(t, 0);
    dispatcher->addTargetedDelegate(t, 0, true);
    EXPECT_EQ(t->retainCount(), 2u);
    tap(0, ccp(1, 1));
    EXPECT_EQ(log, (std::vector<std::string>{"t touchesBegan x1", "t touchesEnded x1"}));
    dispatcher->removeDelegate(t);
    EXPECT_EQ(t->retainCount(), 1u);
    t->release();
}

TEST_F(TouchDispatchTest, ALayerRegistersWhileRunningAndTouchEnabled)
{
    CCScene* scene = runScene();
    Toucher* layer = make("layer");
    layer->setTouchEnabled(true);
    EXPECT_FALSE(dispatcher->isRegistered(layer)) << "not running yet";
    scene->addChild(layer);
    EXPECT_TRUE(dispatcher->isRegistered(layer));
    tap(0, ccp(1, 1));
    layer->setTouchEnabled(false);
    tap(0, ccp(1, 1));
    layer->setTouchEnabled(true);
    layer->removeFromParent();
    EXPECT_FALSE(dispatcher->isRegistered(layer));
    EXPECT_EQ(log, (std::vector<std::string>{"layer touchesBegan x1", "layer touchesEnded x1"}));
}

TEST_F(TouchDispatchTest, FocusLossCancelsHeldTouchesBeforeTheBackgroundCall)
{
    struct App : public CCApplication {
        std::vector<std::string>* log;
        bool applicationDidFinishLaunching() override { return true; }
        void applicationDidEnterBackground() override { log->push_back("background"); }
        void applicationWillEnterForeground() override { log->push_back("foreground"); }
    } app;
    app.log = &log;
    Toucher* game = make("game");
    dispatcher->addStandardDelegate(game, 0);
    view->simulateTouchBegan(0, ccp(1, 1));
    log.clear();

    view->simulateFocus(false);
    view->simulateFocus(false);
    view->simulateFocus(true);
    view->simulateFocus(true);
    EXPECT_EQ(log, (std::vector<std::string>{"game touchesCancelled x1", "background", "foreground"}));
    EXPECT_EQ(view->activeTouchCount(), 0u);
}

TEST_F(TouchDispatchTest, HeldBackEventsNeverLeaveADelegateHoldingATouch)
{
    Toucher* button = make("button", true);
    Toucher* game = make("game");
    dispatcher->addTargetedDelegate(button, 0, false);
    dispatcher->addStandardDelegate(game, 0);

    // Began before events were held back: the end still arrives.
    view->simulateTouchBegan(0, ccp(1, 1));
    dispatcher->setDispatchEvents(false);
    view->simulateTouchMoved(0, ccp(2, 2));
    view->simulateTouchEnded(0, ccp(2, 2));
    EXPECT_EQ(
        log,
        (std::vector<std::string>{"button began", "game touchesBegan x1", "button ended", "game touchesEnded x1"}));

    // Began while held back: unseen to its end, even after dispatching resumes.
    log.clear();
    view->simulateTouchBegan(0, ccp(1, 1));
    dispatcher->setDispatchEvents(true);
    view->simulateTouchMoved(0, ccp(2, 2));
    view->simulateTouchEnded(0, ccp(2, 2));
    EXPECT_TRUE(log.empty());
    tap(0, ccp(3, 3));
    EXPECT_EQ(log.size(), 4u);
}
