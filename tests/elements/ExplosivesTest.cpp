// Bombs go off on their fuse, C4 and TNT by current, sparks, heat and load,
// a C4 block as a spreading wave; meteors fall through clouds and explode on
// the ground.
#include "MaterialWorld.h"
#include "StandInHuman.h"
#include "elements/materials/Clouds.h"
#include "elements/materials/Explosives.h"
#include "elements/materials/Liquids.h"
#include "elements/materials/Powders.h"

using Explosives = MaterialWorld;

TEST_F(Explosives, ARestingBombGoesOffAtItsHundredAndTwentiethUpdate)
{
    put(30, 29, Sand::kTypeId);
    Particle* bomb = put(30, 30, Bomb::kTypeId);
    for (int i = 1; i < 120; ++i) {
        bomb->update();
        ASSERT_EQ(world->pendingRemovalCount(), 0u) << "update " << i;
    }
    bomb->update();
    EXPECT_GT(world->pendingRemovalCount(), 0u);
    EXPECT_GT(count(TypeId::Explosion), 0);
}

TEST_F(Explosives, APoweredC4SetsItsBlockOffOneToEightUpdatesLater)
{
    fill(50, 50, 52, 52, C4::kTypeId);
    put(53, 51, Metal::kTypeId);
    world->electricityGrid.setCell(53, 51, ElectricityGrid::kHead);
    auto* first = static_cast<C4*>(world->at(52, 51));
    first->update();
    ASSERT_TRUE(first->exploded);
    int triggered = 0;
    for (int x = 51; x <= 52; ++x)
        for (int y = 50; y <= 52; ++y) {
            auto* c = static_cast<C4*>(world->at(x, y));
            if (c == first)
                continue;
            ASSERT_TRUE(c->triggered) << x << "," << y;
            ASSERT_GE(c->delay, 1);
            ASSERT_LE(c->delay, 8);
            ++triggered;
            const int wait = c->delay;
            for (int i = 1; i < wait; ++i) {
                c->update();
                EXPECT_FALSE(c->exploded);
            }
            c->update();
            EXPECT_TRUE(c->exploded) << "after " << wait << " updates";
        }
    EXPECT_EQ(triggered, 5);
    // The far column was set off by its neighbours, not by the first.
    EXPECT_TRUE(static_cast<C4*>(world->at(50, 51))->triggered);
}

TEST_F(Explosives, TntGoesOffAt430NotAt429)
{
    for (const auto& [temperature, goes] : {std::pair{429.0f, false}, std::pair{430.0f, true}}) {
        const int x = goes ? 40 : 20;
        auto* tnt = static_cast<TNT*>(put(x, 30, TNT::kTypeId));
        world->temperatureField.setAt(x, 30, temperature);
        tnt->update();
        EXPECT_EQ(tnt->exploded, goes) << temperature;
    }
}

TEST_F(Explosives, ALoadSetsTntOffOnlyWhenHeavyAndDry)
{
    StandInHuman::install("miner");
    struct Case {
        uint32_t above;
        bool waterInReach;
        bool goes;
    };
    const Case cases[] = {
        {Sand::kTypeId, false, true},   {Bomb::kTypeId, false, true}, {StandInHuman::kTypeId, false, true},
        {Water::kTypeId, false, false}, {Oil::kTypeId, false, false}, {Sand::kTypeId, true, false},
        {TNT::kTypeId, false, false},
    };
    int x = 20;
    for (const Case& c : cases) {
        auto* tnt = static_cast<TNT*>(put(x, 30, TNT::kTypeId));
        put(x, 31, c.above);
        if (c.waterInReach)
            put(x + 1, 29, Water::kTypeId);
        tnt->update();
        EXPECT_EQ(tnt->exploded, c.goes) << ParticleCreator::getName(c.above) << (c.waterInReach ? " (wet)" : "");
        x += 20;
    }
}

TEST_F(Explosives, ASparkBesideC4SetsItOff)
{
    auto* c4 = static_cast<C4*>(put(30, 30, C4::kTypeId));
    c4->update();
    EXPECT_FALSE(c4->exploded);
    put(31, 31, TypeId::Electro);
    c4->update();
    EXPECT_TRUE(c4->exploded);
}

TEST_F(Explosives, AMeteorSinksThroughCloudsAndExplodesOnTheGround)
{
    world->weather = true;
    fill(20, 90, 40, 90, Wall::kTypeId);
    fill(25, 91, 35, 100, Cloud::kTypeId);
    put(30, 110, Meteor::kTypeId);
    int lastY = -1;
    for (int i = 0; i < 200; ++i) {
        int found = -1;
        for (Particle* p : world->pool())
            if (p && p->getType() == Meteor::kTypeId)
                found = p->y;
        if (found < 0)
            break;
        lastY = found;
        step();
    }
    EXPECT_EQ(count(Meteor::kTypeId), 0);
    EXPECT_EQ(lastY, 91) << "it went off on the ground, below the clouds";
}

TEST_F(Explosives, AMeteorRestsOnAnotherMeteor)
{
    put(30, 29, Stone::kTypeId);
    put(30, 30, Meteor::kTypeId);
    Particle* upper = put(30, 31, Meteor::kTypeId);
    EXPECT_TRUE(upper->isLiving());
    for (int i = 0; i < 20; ++i)
        upper->update();
    EXPECT_EQ(world->pendingRemovalCount(), 0u);
    EXPECT_EQ(typeAt(30, 32), TypeId::Fire) << "its fire trail";
}

TEST_F(Explosives, APackedBlockGoingOffAtOnceQueuesACellOnceAndTheNextWorldStartsSmall)
{
    // A hot TNT block on a sand bed: every charge goes off in the same step,
    // and the rays of every blast run down through the same sand.
    fill(1, 1, 238, 20, Sand::kTypeId);
    fill(110, 21, 129, 28, TNT::kTypeId);
    setTemperature(110, 21, 129, 28, 2000.0f);
    step();
    const size_t queued = world->pendingReplacementCount();
    EXPECT_GT(queued, 0u);
    EXPECT_LE(queued, 238u * 20u) << "at most one Explosion for each sand cell";
    step();
    EXPECT_GT(count(TypeId::Explosion), 0);
    world->reset();
    EXPECT_EQ(world->pendingReplacementCapacity(), World::kQueueRoom);
}
