// Timer semantics the game relies on: the 1/30 s tick at 60 frames per
// second, no catch-up, rescheduling, unscheduling from callbacks, one-shots,
// pausing, ordering and ownership.
#include "engine/director/DirectorFixture.h"

USING_NS_CC;
using namespace enginetest;

namespace {

class Counter : public CCNode {
public:
    static Counter* create()
    {
        Counter* c = new Counter();
        c->autorelease();
        return c;
    }
    void tick(float dt)
    {
        args.push_back(dt);
        if (onTick) {
            onTick(this);
        }
    }
    void other(float dt) { otherArgs.push_back(dt); }
    void act()
    {
        if (log) {
            log->push_back(name + " action");
        }
    }
    void update(float dt) override
    {
        (void)dt;
        if (log) {
            log->push_back(name + " update");
        }
    }
    std::vector<float> args;
    std::vector<float> otherArgs;
    std::function<void(Counter*)> onTick;
    std::vector<std::string>* log = nullptr;
    std::string name;
};

class SchedulerTest : public DirectorTest {
protected:
    Counter* runningCounter()
    {
        CCScene* scene = runScene();
        Counter* c = Counter::create();
        scene->addChild(c);
        return c;
    }
};

}  // namespace

TEST_F(SchedulerTest, ThirtyHertzTickFiresOnEverySecondFrameAtSixty)
{
    Counter* c = runningCounter();
    c->schedule(schedule_selector(Counter::tick), 1 / 30.f);

    std::vector<unsigned> firedAt;
    for (unsigned frame = 1; frame <= 8; ++frame) {
        size_t before = c->args.size();
        director->stepFrame(kFrame);
        if (c->args.size() != before) {
            firedAt.push_back(frame);
        }
    }
    EXPECT_EQ(firedAt, (std::vector<unsigned>{2, 4, 6, 8}));
    for (float dt : c->args) {
        EXPECT_NEAR(dt, 1 / 30.f, 1e-5);  // the time accumulated since the last fire
    }
}

TEST_F(SchedulerTest, LongFramesFireOnceWithTheWholeElapsedTimeAndNoCatchUp)
{
    Counter* c = runningCounter();
    c->schedule(schedule_selector(Counter::tick), 0.02f);
    director->stepFrames(3, 0.1f);
    ASSERT_EQ(c->args.size(), 3u);
    EXPECT_NEAR(c->args[0], 0.1f, 1e-6);
    // Interval 0 fires on every frame.
    c->schedule(schedule_selector(Counter::other));
    director->stepFrames(2, kFrame);
    EXPECT_EQ(c->otherArgs.size(), 2u);
}

TEST_F(SchedulerTest, ReschedulingUpdatesTheTimerInsteadOfAddingOne)
{
    Counter* c = runningCounter();
    c->schedule(schedule_selector(Counter::tick), 1 / 30.f);
    director->stepFrame(kFrame);  // half way
    // The game layer schedules its tick again on every scene entry.
    c->schedule(schedule_selector(Counter::tick), 1 / 30.f);
    c->schedule(schedule_selector(Counter::tick), 1 / 30.f);
    director->stepFrame(kFrame);
    EXPECT_EQ(c->args.size(), 1u) << "elapsed time was kept and no second timer fires";
    director->stepFrames(4, kFrame);
    EXPECT_EQ(c->args.size(), 3u);

    // A new interval takes effect.
    c->schedule(schedule_selector(Counter::tick), 0.1f);
    c->args.clear();
    director->stepFrames(12, kFrame);
    EXPECT_EQ(c->args.size(), 2u);
}

TEST_F(SchedulerTest, UnschedulingInsideACallbackTakesEffectAtOnce)
{
    Counter* c = runningCounter();
    c->schedule(schedule_selector(Counter::tick), 0.0f);
    c->schedule(schedule_selector(Counter::other), 0.0f);
    // The tick unschedules itself and the timer after it in the same update.
    c->onTick = [](Counter* self) {
        self->unschedule(schedule_selector(Counter::tick));
        self->unschedule(schedule_selector(Counter::other));
    };
    director->stepFrames(3, kFrame);
    EXPECT_EQ(c->args.size(), 1u);
    EXPECT_TRUE(c->otherArgs.empty());
    EXPECT_FALSE(director->getScheduler()->isScheduled(schedule_selector(Counter::tick), c));
}

TEST_F(SchedulerTest, ScheduleOnceFiresOnceAfterItsDelay)
{
    Counter* c = runningCounter();
    c->scheduleOnce(schedule_selector(Counter::tick), 0.02f);
    director->stepFrame(kFrame);
    EXPECT_TRUE(c->args.empty());
    director->stepFrame(kFrame);
    EXPECT_EQ(c->args.size(), 1u) << "fires in the second 1/60 step";
    director->stepFrames(10, kFrame);
    EXPECT_EQ(c->args.size(), 1u);
    EXPECT_FALSE(director->getScheduler()->isScheduled(schedule_selector(Counter::tick), c));

    // The long press: 0.8 s fires in step 48, not 47.
    c->scheduleOnce(schedule_selector(Counter::other), 0.8f);
    director->stepFrames(47, kFrame);
    EXPECT_TRUE(c->otherArgs.empty());
    director->stepFrame(kFrame);
    EXPECT_EQ(c->otherArgs.size(), 1u);
}

TEST_F(SchedulerTest, RepeatAndDelayFireRepeatPlusOneTimes)
{
    Counter* c = runningCounter();
    c->schedule(schedule_selector(Counter::tick), 0.1f, 2, 0.5f);
    director->stepFrames(29, kFrame);
    EXPECT_TRUE(c->args.empty()) << "waits for the delay";
    director->stepFrame(kFrame);
    EXPECT_EQ(c->args.size(), 1u);
    director->stepFrames(60, kFrame);
    EXPECT_EQ(c->args.size(), 3u);
}

TEST_F(SchedulerTest, TimersOfNodesOffTheSceneStayPausedAndKeepTheirTime)
{
    CCScene* scene = runScene();
    Counter* c = Counter::create();
    c->schedule(schedule_selector(Counter::tick), 0.1f);
    director->stepFrames(10, kFrame);
    EXPECT_TRUE(c->args.empty()) << "created while not running: paused";

    scene->addChild(c);
    director->stepFrames(5, kFrame);
    c->retain();
    c->removeFromParentAndCleanup(false);  // onExit pauses; no cleanup
    director->stepFrames(30, kFrame);
    EXPECT_TRUE(c->args.empty());
    scene->addChild(c);
    c->release();
    director->stepFrame(kFrame);
    EXPECT_EQ(c->args.size(), 1u) << "the half interval run before the pause counts";
}

TEST_F(SchedulerTest, TimersAddedDuringAnUpdateStartWithTheNextOne)
{
    Counter* c = runningCounter();
    c->schedule(schedule_selector(Counter::tick), 0.0f);
    c->onTick = [](Counter* self) { self->schedule(schedule_selector(Counter::other), 0.0f); };
    director->stepFrame(kFrame);
    EXPECT_TRUE(c->otherArgs.empty());
    director->stepFrame(kFrame);
    EXPECT_EQ(c->otherArgs.size(), 1u);
}

TEST_F(SchedulerTest, ActionsThenUpdatesByPriorityAndSchedulingOrderThenTimers)
{
    CCScene* scene = runScene();
    std::vector<std::string> log;
    auto make = [&](const char* name) {
        Counter* c = Counter::create();
        c->name = name;
        c->log = &log;
        scene->addChild(c);
        return c;
    };
    Counter* a = make("a");
    Counter* b = make("b");
    Counter* c = make("c");
    a->onTick = [&log](Counter*) { log.push_back("a tick"); };
    a->schedule(schedule_selector(Counter::tick), 0.0f);
    b->scheduleUpdate();
    c->scheduleUpdateWithPriority(-1);
    a->scheduleUpdate();
    a->runAction(CCCallFunc::create(a, callfunc_selector(Counter::act)));
    director->stepFrame(kFrame);
    EXPECT_EQ(log, (std::vector<std::string>{"a action", "c update", "b update", "a update", "a tick"}));
}

TEST_F(SchedulerTest, TheSchedulerOwnsItsTargetsUntilTheyAreUnscheduled)
{
    Counter* c = runningCounter();
    c->retain();
    c->schedule(schedule_selector(Counter::tick), 1.0f);
    unsigned withTimer = c->retainCount();
    c->scheduleUpdate();
    c->unscheduleAllSelectors();
    EXPECT_EQ(c->retainCount(), withTimer - 1);
    EXPECT_FALSE(director->getScheduler()->isUpdateScheduled(c));
    c->release();

    // A target held only by the scheduler stays alive and keeps firing.
    std::vector<std::string> log;
    Probe* p = new Probe(&log, "p");
    p->schedule(schedule_selector(Probe::tick), 0.0f);
    director->getScheduler()->resumeTarget(p);
    p->release();
    director->stepFrame(kFrame);
    EXPECT_EQ(p->ticks, 1);
    p->recording = false;
    p->unscheduleAllSelectors();
    EXPECT_EQ(log, (std::vector<std::string>{"p tick", "p deleted"}));

    // Moving the update of such a target to another priority keeps it alive.
    log.clear();
    Probe* q = new Probe(&log, "q");
    q->scheduleUpdate();
    q->release();
    q->scheduleUpdateWithPriority(5);
    director->getScheduler()->resumeTarget(q);
    director->stepFrame(kFrame);
    EXPECT_EQ(q->updates, 1);
    q->recording = false;
    q->unscheduleUpdate();
    EXPECT_EQ(log, (std::vector<std::string>{"q update", "q deleted"}));
}
