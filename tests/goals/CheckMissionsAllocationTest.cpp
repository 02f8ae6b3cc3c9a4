// The goals' check after every world step makes no heap allocation: three
// missions testing 140-record tables, none passing, plus a pending one
// waiting for its reward.
#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "campaigns/Campaigns.h"
#include "goals/AchievementManager.h"
#include "goals/MissionPattern.h"
#include "platform/GameClock.h"
#include "support/GameSceneFixture.h"

#if defined(__SANITIZE_ADDRESS__)
// The address sanitizer's allocator calls these on every allocation (GCC
// ships the function without its header).
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*onMalloc)(const volatile void*, size_t),
                                                         void (*onFree)(const volatile void*));
#define TESMORA_COUNTS_ALLOCATIONS 1
#endif

namespace {

// Only the counting thread's allocations count (the network worker's do not).
thread_local bool t_counting = false;
std::atomic<long> g_allocations{0};

#ifdef TESMORA_COUNTS_ALLOCATIONS
void countAllocation(const volatile void*, size_t)
{
    if (t_counting)
        g_allocations.fetch_add(1, std::memory_order_relaxed);
}
void ignoreFree(const volatile void*) { }
#endif

// Counts the allocations made while it lives.
class AllocationCount {
public:
    AllocationCount()
    {
#ifdef TESMORA_COUNTS_ALLOCATIONS
        static const bool installed = __sanitizer_install_malloc_and_free_hooks(countAllocation, ignoreFree) != 0;
        (void)installed;
#endif
        g_allocations = 0;
        t_counting = true;
    }
    ~AllocationCount()
    {
        t_counting = false;
    }
    long count() const
    {
        return g_allocations.load();
    }
    void restart()
    {
        g_allocations = 0;
    }
};

// 140 cells of one kind along rows 10 to 11, never all filled.
std::vector<MissionPatternRecord> table140(uint32_t type, int y)
{
    std::vector<MissionPatternRecord> records;
    for (int i = 0; i < 140; ++i)
        records.push_back({i % 70, y + i / 70, type, 0});
    records.push_back({0, 0, 0, 1});
    return records;
}

class PatternMission : public AchievementBase {
public:
    PatternMission(const MissionPatternRecord* table, int kind) : m_table(table), m_kind(kind) { }
    bool isAccomplished() override
    {
        switch (m_kind) {
        case 0: return patternAllMatch(m_table);
        case 1: return patternCountAtLeast(m_table, 140);
        default: return patternAllMatchPowered(m_table);
        }
    }
    void onAccomplished() override { }

private:
    const MissionPatternRecord* m_table;
    int m_kind;
};

class AlwaysPasses : public AchievementBase {
public:
    int64_t getRewardDelay() override { return 1000000; }
    bool isAccomplished() override { return true; }
    void onAccomplished() override { }
};

using CheckMissions = gametest::GameScene;

TEST_F(CheckMissions, AllocatesNothingPerStep)
{
#ifndef TESMORA_COUNTS_ALLOCATIONS
    GTEST_SKIP() << "allocations are counted through the address sanitizer's hooks";
#endif
    enterScene();
    const uint32_t wall = hashString("Wall");
    const auto a = table140(wall, 10), b = table140(wall, 20), c = table140(wall, 30);
    for (int x = 0; x < 69; ++x)
        for (int y : {10, 20, 30})
            world->addParticle(x, y, wall, true);
    AchievementManager* goals = AchievementManager::getInstance();
    goals->addMission(new AlwaysPasses());
    goals->addMission(new PatternMission(a.data(), 0));
    goals->addMission(new PatternMission(b.data(), 1));
    goals->addMission(new PatternMission(c.data(), 2));
    platform::setManualGameTime(5000);
    goals->checkMissions();  // the first mission turns pending
    long allocations = 0;
    {
        AllocationCount counter;
        delete new int(1);
        ASSERT_EQ(counter.count(), 1) << "the counter sees allocations";
        counter.restart();
        for (int step = 0; step < 100; ++step) {
            goals->checkMissions();
            goals->checkAchievements();
        }
        allocations = counter.count();
    }
    platform::clearManualGameTime();
    EXPECT_EQ(goals->activeCount(), 4) << "nothing passed";
    EXPECT_EQ(allocations, 0);
}

// The largest campaign tables: 3,424 cells read for robot leaders and 1,122
// for a zombie's body, on every step, none passing.
TEST_F(CheckMissions, TheLargestCampaignTablesAllocateNothingPerStep)
{
#ifndef TESMORA_COUNTS_ALLOCATIONS
    GTEST_SKIP() << "allocations are counted through the address sanitizer's hooks";
#endif
    enterScene();
    world->addParticle(82, 63, hashString("RobotLeader"), true);  // the valley's last cell
    AchievementManager* goals = AchievementManager::getInstance();
    goals->addMission(makeCampaignMission(*campaignOfMode(9), "RobotLv10c"));
    goals->addMission(makeCampaignMission(*campaignOfMode(8), "ZombieLv3"));
    goals->checkMissions();  // the job texts are made once, at the first test
    long allocations = 0;
    {
        AllocationCount counter;
        for (int step = 0; step < 100; ++step)
            goals->checkMissions();
        allocations = counter.count();
    }
    EXPECT_EQ(goals->activeCount(), 2) << "nothing passed";
    EXPECT_EQ(allocations, 0);
}

}  // namespace
