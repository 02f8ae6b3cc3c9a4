// Bees found hives and work for them; fish swim, starve and die on land;
// deep-sea fish sink, hunt with their light and breed; fireflies pair only
// with the other sex and never with a parent; the anti-virus hunts Virus.
#include "MaterialWorld.h"
#include "StandInHuman.h"
#include "elements/living/AVirus.h"
#include "elements/living/Alien.h"
#include "elements/living/Bees.h"
#include "elements/living/Fish.h"
#include "elements/living/Plants.h"
#include "elements/living/Trees.h"
#include "elements/materials/Liquids.h"
#include "elements/materials/Powders.h"
#include "elements/materials/Virus.h"

using Animals = MaterialWorld;

namespace {
template <class T> T* as(Particle* p)
{
    return dynamic_cast<T*>(p);
}
}  // namespace

TEST_F(Animals, AWildBeeFoundsAHiveOnALeafAndTheNextJoinsIt)
{
    put(100, 50, TreeLeaf::kTypeId);
    auto* first = as<Bee>(put(101, 50, Bee::kTypeId));
    seal(101, 50);
    first->state = Bee::kToLeaf;
    first->hasTarget = true;
    first->targetX = 100;
    first->targetY = 50;
    for (int i = 0; i < 200 && world->pendingReplacementCount() == 0; ++i)
        first->update();
    world->applyPendingChanges();
    EXPECT_EQ(typeAt(100, 50), BeeHive::kTypeId);
    EXPECT_EQ(count(Bee::kTypeId), 0) << "the founder is used up";

    // A second bee at another leaf of the same tree, 3 cells from the hive.
    put(100, 53, TreeLeaf::kTypeId);
    auto* second = as<Bee>(put(101, 53, Bee::kTypeId));
    seal(101, 53);
    second->state = Bee::kToLeaf;
    second->hasTarget = true;
    second->targetX = 100;
    second->targetY = 53;
    for (int i = 0; i < 200 && second->wild; ++i)
        second->update();
    EXPECT_FALSE(second->wild);
    EXPECT_EQ(second->homeX, 100);
    EXPECT_EQ(second->homeY, 50);
    EXPECT_EQ(second->state, Bee::kToLeaf) << "a joiner keeps its old errand";
    EXPECT_EQ(typeAt(100, 53), TreeLeaf::kTypeId);
}

TEST_F(Animals, ANewHiveReleasesItsFirstWorkerAfter40Or60StepsThenWaitsForABudget)
{
    auto* hive = as<BeeHive>(put(60, 60, BeeHive::kTypeId));
    const int wait = hive->spawnTicks;
    ASSERT_TRUE(wait == 40 || wait == 60);
    for (int i = 1; i < wait; ++i)
        hive->update();
    EXPECT_EQ(count(Bee::kTypeId), 0);
    // Zeros: the next wait is 40 and the drawn cell is the free (59, 59).
    platform::scriptGameRand({0});
    hive->update();
    platform::clearGameRandScript();
    auto* worker = as<Bee>(world->at(59, 59));
    ASSERT_NE(worker, nullptr);
    EXPECT_FALSE(worker->wild);
    EXPECT_EQ(worker->state, Bee::kForaging);
    EXPECT_EQ(worker->homeX, 60);
    EXPECT_EQ(worker->homeY, 60);
    EXPECT_EQ(hive->beeBudget, 0);
    for (int i = 0; i < 500; ++i)
        hive->update();
    EXPECT_EQ(count(Bee::kTypeId), 1) << "no budget, no bee";
}

TEST_F(Animals, AWorkerWhoseHiveIsGoneTurnsWildAtHome)
{
    auto* bee = as<Bee>(put(80, 80, Bee::kTypeId));
    bee->wild = false;
    bee->homeX = 81;
    bee->homeY = 80;
    bee->state = Bee::kToHive;
    bee->hasTarget = true;
    bee->targetX = 81;
    bee->targetY = 80;
    for (int i = 0; i < 300 && !bee->wild; ++i)
        bee->update();
    EXPECT_TRUE(bee->wild);
    EXPECT_EQ(bee->state, Bee::kSearching);
}

TEST_F(Animals, ARestingWorkerGivesItsHiveABeeAndAHoneyCell)
{
    auto* hive = as<BeeHive>(put(70, 70, BeeHive::kTypeId));
    put(69, 70, TreeLeaf::kTypeId);
    auto* bee = as<Bee>(put(71, 70, Bee::kTypeId));
    bee->wild = false;
    bee->state = Bee::kResting;
    bee->waitTicks = 1;
    hive->beeBudget = 0;
    bee->update();
    EXPECT_EQ(bee->state, Bee::kForaging);
    EXPECT_EQ(hive->beeBudget, 1);
    world->applyPendingChanges();
    EXPECT_EQ(typeAt(69, 70), BeeHiveCell::kTypeId) << "the leaf beside the hive turns to comb";
}

TEST_F(Animals, BeesByTemperatureAndWater)
{
    struct Case {
        float temperature;
        double goneShare;  // share of bees gone after one update
        double ashShare;   // share of them leaving ash
    };
    for (const Case& c : {Case{293.0f, 0.0, 0.0}, Case{265.0f, 1.0, 0.0}, Case{250.0f, 1.0, 0.25}}) {
        SCOPED_TRACE(c.temperature);
        constexpr int kBees = 400;
        int gone = 0, ash = 0;
        for (int i = 0; i < kBees; ++i) {
            if (world->at(50, 50))
                world->removeParticle(50, 50);
            Particle* bee = put(50, 50, Bee::kTypeId);
            seal(50, 50);
            const uint32_t after = updateAndApply(bee, c.temperature);
            gone += after != Bee::kTypeId;
            ash += after == TypeId::Ash;
        }
        expectRate(static_cast<double>(gone) / kBees, c.goneShare, kBees);
        expectRate(static_cast<double>(ash) / kBees, c.ashShare, kBees);
    }
    // Water: a bee beside one water cell lasts 240 updates and dies at the 241st.
    world->reset();
    world->placeBorderWalls();
    auto* bee = as<Bee>(put(50, 50, Bee::kTypeId));
    seal(50, 50);
    world->removeParticle(51, 50);
    put(51, 50, Water::kTypeId);
    for (int i = 0; i < 240; ++i)
        bee->update();
    EXPECT_EQ(world->pendingReplacementCount() + world->pendingRemovalCount(), 0u);
    bee->update();
    EXPECT_EQ(world->pendingReplacementCount() + world->pendingRemovalCount(), 1u);
}

TEST_F(Animals, AFishWithoutAlgaeStarvesAfter8000Steps)
{
    fill(40, 1, 60, 20, Water::kTypeId);
    fill(39, 1, 39, 22, TypeId::Stone);
    fill(61, 1, 61, 22, TypeId::Stone);
    world->removeParticle(50, 10);
    auto* fish = as<Fish>(put(50, 10, Fish::kTypeId));
    for (int i = 0; i < 7999; ++i) {
        world->temperatureField.setAt(fish->x, fish->y, 293.0f);
        fish->update();
        ASSERT_EQ(world->pendingRemovalCount() + world->pendingReplacementCount(), 0u) << "update " << i;
        ASSERT_EQ(fish->food, 8000 - 1 - i);
    }
    // From now on it starves: ash 1 in 4, and it never acts again.
    int ash = 0;
    for (int i = 0; i < 400; ++i) {
        world->temperatureField.setAt(fish->x, fish->y, 293.0f);
        fish->update();
        ash += world->pendingReplacementCount() > 0;
        world->clearPendingChanges();
    }
    expectRate(ash / 400.0, 0.25, 400);
}

TEST_F(Animals, AFishOnLandDies)
{
    fill(40, 1, 60, 1, TypeId::Stone);
    auto* fish = as<Fish>(put(50, 2, Fish::kTypeId));
    bool died = false;
    for (int i = 0; i < 3000 && !died; ++i) {
        world->temperatureField.setAt(fish->x, fish->y, 293.0f);
        fish->update();
        died = world->pendingRemovalCount() > 0;
    }
    EXPECT_TRUE(died);
}

TEST_F(Animals, ADeepSeaFishSwapsDownwardWhileTheWaterTwoBelowLasts)
{
    fill(40, 1, 60, 1, TypeId::Stone);
    fill(40, 2, 60, 30, Water::kTypeId);
    world->removeParticle(50, 20);
    auto* fish = as<DeepSeaFish>(put(50, 20, DeepSeaFish::kTypeId));
    ASSERT_NE(fish->getLight(), nullptr);
    EXPECT_FALSE(fish->getLight()->on) << "dark until it hunts";
    fish->huntTicks = 0;
    for (int i = 0; i < 9; ++i)
        fish->update();
    EXPECT_EQ(fish->y, 2) << "one swap two cells down per step";
    fish->update();
    EXPECT_GE(fish->y, 2) << "no water two below: it stops sinking";
}

TEST_F(Animals, ADeepSeaFishShinesWhileHuntingAndBreedsAfterThreeMeals)
{
    fill(40, 1, 60, 1, TypeId::Stone);
    fill(40, 2, 60, 30, Water::kTypeId);
    world->removeParticle(50, 3);
    auto* fish = as<DeepSeaFish>(put(50, 3, DeepSeaFish::kTypeId));
    // A fish to hunt right beside it.
    world->removeParticle(51, 3);
    put(51, 3, Fish::kTypeId);
    fish->huntTicks = fish->huntInterval - 1;
    platform::scriptGameRand({1});  // never 0 mod 5, 40, 10 nor 4: hunt without swimming
    fish->update();
    platform::clearGameRandScript();
    EXPECT_TRUE(fish->hasTarget);
    EXPECT_TRUE(fish->getLight()->on) << "shines while hunting";
    for (int i = 0; i < 100 && fish->hasTarget; ++i)
        fish->update();
    EXPECT_FALSE(fish->hasTarget);
    EXPECT_EQ(fish->eaten, 1);
    EXPECT_FALSE(fish->getLight()->on) << "dark after the meal";
    world->applyPendingChanges();

    // After three meals, water two cells below becomes a new deep-sea fish.
    world->removeParticle(fish->x, fish->y);
    fill(40, 31, 60, 40, Water::kTypeId);
    world->removeParticle(50, 35);
    fish = as<DeepSeaFish>(put(50, 35, DeepSeaFish::kTypeId));
    fish->eaten = 3;
    fish->update();
    world->applyPendingChanges();
    EXPECT_EQ(typeAt(50, 33), DeepSeaFish::kTypeId);
    EXPECT_EQ(fish->eaten, 0);
}

TEST_F(Animals, FirefliesPairOnlyAcrossSexesAndNeverWithAParent)
{
    auto* a = as<Firefly>(put(100, 100, Firefly::kTypeId));
    auto* b = as<Firefly>(put(105, 100, Firefly::kTypeId));
    a->female = 1;
    b->female = 1;
    EXPECT_EQ(a->findMate(20, Firefly::kTypeId), nullptr) << "same sex never pairs";
    b->female = 0;
    EXPECT_EQ(a->findMate(20, Firefly::kTypeId), b);
    a->parentB = b;
    EXPECT_EQ(a->findMate(20, Firefly::kTypeId), nullptr) << "a young never takes a parent";
    a->parentB = nullptr;
    a->parentA = b;
    EXPECT_EQ(a->findMate(20, Firefly::kTypeId), nullptr);
}

TEST_F(Animals, AFemaleWithOneMatingLaysAndVanishesInOneStep)
{
    struct Case {
        int x, y;
        bool lays;
    };
    // At the right edge the young's cell (x + 2, y - 2) lies outside the
    // grid: that counts as occupied, and no young is laid.
    for (const Case& c : {Case{100, 100, true}, Case{world->width - 2, 100, false}, Case{100, 1, false}}) {
        SCOPED_TRACE(c.x);
        world->reset();
        world->placeBorderWalls();
        if (world->at(c.x, c.y))
            world->removeParticle(c.x, c.y);
        auto* mother = as<Firefly>(put(c.x, c.y, Firefly::kTypeId));
        mother->female = 1;
        mother->maxOffspring = 1;
        mother->state = 2;
        mother->hasTarget = true;
        mother->targetX = c.x - 1;
        mother->targetY = c.y;
        const int before = count(Firefly::kTypeId);
        mother->update();
        EXPECT_EQ(world->pendingRemovalCount(), 1u) << "its last mating ends it";
        EXPECT_EQ(count(Firefly::kTypeId), before + (c.lays ? 1 : 0));
        if (c.lays) {
            auto* young = as<Firefly>(world->at(c.x + 2, c.y - 2));
            ASSERT_NE(young, nullptr);
            EXPECT_EQ(young->parentB, mother);
        }
    }
}

TEST_F(Animals, LightCarriersMadeWithoutAWorldHaveNoLight)
{
    World* saved = gWorld;
    gWorld = nullptr;
    {
        DeepSeaFish fish;
        Firefly fly;
        Aluminite ore;
        AVirus antivirus;  // searches only in a world
        EXPECT_EQ(fish.getLight(), nullptr);
        EXPECT_EQ(fly.getLight(), nullptr);
        EXPECT_EQ(ore.getLight(), nullptr);
        ore.setLit(true);
        EXPECT_TRUE(ore.lit);
    }
    gWorld = saved;
}

TEST_F(Animals, AVirusEatsVirusBeforeAZombieAndSparesAPlainHuman)
{
    StandInHuman::install("zombie");
    put(49, 50, StandInHuman::kTypeId);
    put(51, 50, Virus::kTypeId);
    auto* av = as<AVirus>(put(50, 50, AVirus::kTypeId));
    av->counter = av->period - 1;
    av->update();
    EXPECT_EQ(typeAt(51, 50), 0u) << "the Virus goes first";
    EXPECT_EQ(typeAt(49, 50), StandInHuman::kTypeId);
    EXPECT_EQ(av->life, 399 + 100);
    av->counter = av->period - 1;
    // Hold it in place: its next target is a human, beside it.
    seal(av->x, av->y);
    av->update();
    EXPECT_EQ(typeAt(49, 50), 0u) << "then the zombie";

    StandInHuman::job = "miner";
    put(49, 50, StandInHuman::kTypeId);
    const int32_t life = av->life;
    av->counter = av->period - 1;
    av->update();
    EXPECT_EQ(typeAt(49, 50), StandInHuman::kTypeId) << "a plain human is spared";
    EXPECT_EQ(av->life, life - 1);
    StandInHuman::remove();
}

TEST_F(Animals, AVirusDiesAtAPoweredWireOnlyAtItsNextMealAttempt)
{
    auto* av = as<AVirus>(put(30, 30, AVirus::kTypeId));
    put(31, 30, TypeId::Metal);
    seal(30, 30);
    world->electricityGrid.setCell(31, 30, ElectricityGrid::kHead);
    av->counter = 0;
    for (int i = 1; i < av->period; ++i) {
        av->update();
        ASSERT_EQ(world->pendingRemovalCount(), 0u) << "tick " << i;
    }
    av->update();
    EXPECT_EQ(world->pendingRemovalCount(), 1u);
}

TEST_F(Animals, ALoneAVirusDiesAfter400Ticks)
{
    auto* av = as<AVirus>(put(120, 80, AVirus::kTypeId));
    for (int i = 0; i < 399; ++i) {
        av->update();
        ASSERT_EQ(world->pendingRemovalCount(), 0u);
    }
    av->update();
    EXPECT_EQ(world->pendingRemovalCount(), 1u);
}
