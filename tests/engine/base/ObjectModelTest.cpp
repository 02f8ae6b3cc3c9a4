#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "cocos2d.h"
#include "cocos2d_extensions/CCValue.h"

USING_NS_CC;

namespace {

// Records its destruction so tests can see when and in which order the pool
// lets go.
class Tracked : public CCObject {
public:
    Tracked(std::vector<std::string>* log, std::string name) : m_log(log), m_name(std::move(name)) { }
    ~Tracked() override { m_log->push_back(m_name); }

    // Autoreleases another object while being destroyed, like a node whose
    // destructor hands back a created helper.
    CCObject* onDeath = nullptr;

private:
    std::vector<std::string>* m_log;
    std::string m_name;
};

class DyingAutoreleaser : public Tracked {
public:
    using Tracked::Tracked;
    ~DyingAutoreleaser() override
    {
        if (onDeath) {
            onDeath->autorelease();
        }
    }
};

// Built by a static initialiser, as the game's tables of names are.
CCArray* g_staticNames = [] {
    CCArray* names =
        CCArray::create(CCString::create("water"), CCString::create("sand"), CCString::create("fire"), NULL);
    names->retain();
    return names;
}();

}  // namespace

TEST(ObjectModel, CountsAndDeletionOnLastRelease)
{
    std::vector<std::string> log;
    Tracked* a = new Tracked(&log, "a");
    EXPECT_EQ(a->retainCount(), 1u);
    a->retain();
    EXPECT_EQ(a->retainCount(), 2u);
    a->release();
    EXPECT_TRUE(log.empty());
    a->release();
    EXPECT_EQ(log, std::vector<std::string>{"a"});
}

TEST(ObjectModel, PoolDrainPerformsEveryPendingReleaseInOrder)
{
    CCPoolManager* pool = CCPoolManager::sharedPoolManager();
    pool->drain();
    std::vector<std::string> log;

    Tracked* first = new Tracked(&log, "first");
    Tracked* twice = new Tracked(&log, "twice");
    Tracked* kept = new Tracked(&log, "kept");
    first->autorelease();
    twice->retain();
    twice->autorelease();
    twice->autorelease();  // two pending releases, covered by a count of 2
    kept->retain();
    kept->autorelease();
    EXPECT_EQ(twice->pendingReleaseCount(), 2u);
    EXPECT_EQ(pool->pendingCount(), 4u);

    // Nothing goes before the drain.
    EXPECT_TRUE(log.empty());
    pool->drain();
    EXPECT_EQ(log, (std::vector<std::string>{"first", "twice"}));
    EXPECT_EQ(kept->retainCount(), 1u);
    EXPECT_EQ(pool->pendingCount(), 0u);
    kept->release();
}

TEST(ObjectModel, AutoreleaseDuringDrainIsPerformedInTheSameDrain)
{
    CCPoolManager* pool = CCPoolManager::sharedPoolManager();
    pool->drain();
    std::vector<std::string> log;
    DyingAutoreleaser* outer = new DyingAutoreleaser(&log, "outer");
    outer->onDeath = new Tracked(&log, "inner");
    outer->autorelease();
    pool->drain();
    EXPECT_EQ(log, (std::vector<std::string>{"outer", "inner"}));
    EXPECT_EQ(pool->pendingCount(), 0u);
}

TEST(ObjectModel, ADrainGivesBackTheRoomOfABusyFrame)
{
    CCPoolManager* pool = CCPoolManager::sharedPoolManager();
    pool->drain();
    const size_t many = CCPoolManager::kKeptRoom * 4;
    for (size_t i = 0; i < many; ++i)
        (new CCObject())->autorelease();
    EXPECT_GE(pool->room(), many);
    pool->drain();
    EXPECT_EQ(pool->pendingCount(), 0u);
    EXPECT_LE(pool->room(), CCPoolManager::kKeptRoom);
}

TEST(ObjectModel, ObjectsCreatedBeforeMainSurviveTheDrain)
{
    CCPoolManager::sharedPoolManager()->drain();
    ASSERT_NE(g_staticNames, nullptr);
    ASSERT_EQ(g_staticNames->count(), 3u);
    EXPECT_EQ(g_staticNames->retainCount(), 1u);
    EXPECT_STREQ(static_cast<CCString*>(g_staticNames->objectAtIndex(2))->getCString(), "fire");
    EXPECT_EQ(g_staticNames->objectAtIndex(0)->retainCount(), 1u);
}

TEST(ObjectModel, CopyIsANewObject)
{
    CCString* s = new CCString("x");
    s->retain();
    CCString copy(*s);
    EXPECT_EQ(copy.retainCount(), 1u);
    EXPECT_EQ(copy.pendingReleaseCount(), 0u);
    s->release();
    s->release();
}

#ifndef NDEBUG
TEST(ObjectModelDeathTest, OverReleaseAndUncoveredAutoreleaseAbort)
{
    EXPECT_DEATH(
        {
            CCObject* o = new CCObject();
            o->autorelease();
            o->autorelease();
        },
        "engine: autorelease of object .* not covered");
    EXPECT_DEATH(
        {
            CCObject* o = new CCObject();
            o->retain();
            o->autorelease();
            o->release();
            o->release();  // deleted while the pool still owes a release
        },
        "engine: object .* destroyed with 1 pending autoreleases");
    // The pool is not locked; another thread must never feed it.
    EXPECT_DEATH(
        {
            std::thread worker([] { CCString::create("from a worker"); });
            worker.join();
        },
        "engine: autorelease of object .* outside the main thread");
}
#endif

TEST(ObjectModel, SelectorsCallThroughTheBase)
{
    struct Target : CCObject {
        int calls = 0;
        float last = 0;
        CCObject* sender = nullptr;
        void plain() { ++calls; }
        void withSender(CCObject* s) { sender = s; }
        void tick(float dt) { last = dt; }
    };
    Target t;
    SEL_CallFunc a = callfunc_selector(Target::plain);
    SEL_MenuHandler b = menu_selector(Target::withSender);
    SEL_CallFuncO c = callfuncO_selector(Target::withSender);
    SEL_SCHEDULE d = schedule_selector(Target::tick);
    CCObject* base = &t;
    (base->*a)();
    (base->*b)(base);
    EXPECT_EQ(t.sender, base);
    (base->*c)(nullptr);
    (base->*d)(0.5f);
    EXPECT_EQ(t.calls, 1);
    EXPECT_EQ(t.sender, nullptr);
    EXPECT_EQ(t.last, 0.5f);
}

TEST(ObjectModel, CCValueBoxesAndIsRetainedLikeAnyObject)
{
    using cocos2d_extensions::CCValue;
    CCPoolManager::sharedPoolManager()->drain();

    CCValue<CCPoint>* point = CCValue<CCPoint>::create(ccp(3, 4));
    CCValue<float>* number = CCValue<float>::create(2.5f);
    CCValue<SEL_CallFunc>* sel = CCValue<SEL_CallFunc>::create(nullptr);
    EXPECT_TRUE(point->getValue().equals(ccp(3, 4)));
    EXPECT_EQ(number->getValue(), 2.5f);
    EXPECT_EQ(sel->getValue(), nullptr);

    CCArray* list = new CCArray();
    list->addObject(point);
    EXPECT_EQ(point->retainCount(), 2u);
    CCPoolManager::sharedPoolManager()->drain();
    // The array's reference keeps the box after the pool let go.
    EXPECT_EQ(point->retainCount(), 1u);
    EXPECT_EQ(static_cast<CCValue<CCPoint>*>(list->objectAtIndex(0))->getValue().y, 4.0f);
    list->release();
}
