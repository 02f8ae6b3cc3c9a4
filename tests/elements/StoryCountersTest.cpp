// The story counters and flags of the profile that materials raise.
#include "MaterialWorld.h"
#include "support/CleanGame.h"
#include "profile/Profile.h"
#include "world/GameServices.h"
#include "elements/materials/Acids.h"
#include "elements/materials/Gases.h"
#include "elements/materials/Liquids.h"
#include "elements/materials/Powders.h"

class StoryCounters : public MaterialWorld {
protected:
    Profile& profile() { return *Profile::getInstance(); }
    // Updates p until it has queued a change (at most `tries` updates).
    void updateUntilChanged(Particle* p, float temperature, int tries = 20000)
    {
        for (int i = 0; i < tries; ++i) {
            world->temperatureField.setAt(p->x, p->y, temperature);
            p->update();
            if (world->pendingReplacementCount() + world->pendingRemovalCount() > 0)
                return;
        }
        FAIL() << "no change";
    }
};

TEST_F(StoryCounters, BoilingWaterCountsOnDayElevenInTheNormalWorld)
{
    profile().setDay(11);
    gameServices().temperatureLabelIsNormal = [] { return true; };
    Particle* water = put(30, 30, Water::kTypeId);
    seal(30, 30);
    updateUntilChanged(water, 400.0f);
    EXPECT_EQ(profile().getDay11WaterCount(), 1);

    // Evaporation under open sky is not a boil.
    world->clearPendingChanges();
    world->weather = true;
    Particle* pond = put(60, 1, Water::kTypeId);
    put(59, 1, Wall::kTypeId);
    put(61, 1, Wall::kTypeId);
    updateUntilChanged(pond, 300.0f);
    EXPECT_EQ(profile().getDay11WaterCount(), 1);
}

TEST_F(StoryCounters, FreezingCountsOnDayTwelveInItsWorld)
{
    profile().setDay(12);
    gameServices().loadedWorldName = [] { return std::string("Day12"); };
    Particle* water = put(30, 30, Water::kTypeId);
    seal(30, 30);
    updateUntilChanged(water, -2550.0f);
    EXPECT_EQ(profile().getDay12WaterCount(), 1);
}

TEST_F(StoryCounters, MeltingOrBoilingSnowCountsOnDayThirteenIceDoesNot)
{
    profile().setDay(13);
    gameServices().temperatureLabelIsNormal = [] { return true; };
    Particle* snow = put(30, 30, Snow::kTypeId);
    seal(30, 30);
    updateUntilChanged(snow, 600.0f);
    EXPECT_EQ(profile().getDay13SnowCount(), 1);
    world->clearPendingChanges();
    Particle* ice = put(60, 30, Ice::kTypeId);
    seal(60, 30);
    updateUntilChanged(ice, 600.0f);
    EXPECT_EQ(profile().getDay13SnowCount(), 1);
}

TEST_F(StoryCounters, GasGoingOffCountsOnDayTwentyAndInFreePlay)
{
    profile().setDay(20);
    gameServices().loadedWorldName = [] { return std::string("Day20"); };
    testsupport::testHost().freePlay = true;
    Particle* gas = put(30, 30, Gas::kTypeId);
    updateUntilChanged(gas, 400.0f);
    EXPECT_EQ(profile().getDay20GasCount(), 1);
    EXPECT_EQ(profile().getGasCount(), 1);
}

TEST_F(StoryCounters, SettingWaxCountsOnDayTwentyNine)
{
    profile().setDay(29);
    Particle* melt = put(30, 30, WaxMelt::kTypeId);
    seal(30, 30);
    updateUntilChanged(melt, 300.0f);
    EXPECT_EQ(profile().waxCounter(), 1);
}

TEST_F(StoryCounters, OilTouchingWaterIsRecordedOnlyInFreePlay)
{
    Particle* oil = put(30, 30, Oil::kTypeId);
    seal(30, 30);
    world->removeParticle(31, 30);
    put(31, 30, Water::kTypeId);
    oil->update();
    EXPECT_FALSE(profile().isOilBurned());
    testsupport::testHost().freePlay = true;
    oil->update();
    EXPECT_TRUE(profile().isOilBurned());
}

TEST_F(StoryCounters, AcidWaterTurningToSteamCountsOnDayTwenty)
{
    for (const auto& [day, counts] : {std::pair{19, 0}, std::pair{20, 1}}) {
        profile().setDay(day);
        const int32_t before = profile().acidRainCounter();
        Particle* acid = put(day * 3, 30, AcidWater::kTypeId);
        seal(day * 3, 30);
        EXPECT_EQ(updateAndApply(acid, 400.0f), AcidSteam::kTypeId);
        EXPECT_EQ(profile().acidRainCounter() - before, counts) << "day " << day;
        world->clearPendingChanges();
    }
    // Cold turns it back into Acid and counts nothing.
    Particle* cold = put(90, 30, AcidWater::kTypeId);
    seal(90, 30);
    const int32_t before = profile().acidRainCounter();
    EXPECT_EQ(updateAndApply(cold, 200.0f), Acid::kTypeId);
    EXPECT_EQ(profile().acidRainCounter(), before);
}
