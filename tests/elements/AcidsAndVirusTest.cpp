// Acids dissolve their neighbours and use themselves up; AcidWater boils and
// freezes at its thresholds; Virus spreads, thins itself and dies by current.
#include "MaterialWorld.h"
#include "StandInHuman.h"
#include "elements/materials/Acids.h"
#include "elements/materials/Cloners.h"
#include "elements/materials/Liquids.h"
#include "elements/materials/Powders.h"
#include "elements/materials/Virus.h"
#include "platform/GameClock.h"
#include "support/LogCapture.h"

using Acids = MaterialWorld;
using VirusRules = MaterialWorld;

TEST_F(Acids, AcidBetweenTwoWatersMakesTwoAcidWatersAndIsGoneNextStep)
{
    // Each side is reached 4 times in 5: some of these trials turn both.
    int both = 0;
    for (int x = 10; x < 230 && both < 3; x += 5) {
        Particle* acid = put(x, 30, Acid::kTypeId);
        put(x - 1, 30, Water::kTypeId);
        put(x + 1, 30, Water::kTypeId);
        seal(x, 30);
        acid->update();
        const int made = (typeAt(x - 1, 30) == AcidWater::kTypeId) + (typeAt(x + 1, 30) == AcidWater::kTypeId);
        if (made > 0) {
            EXPECT_EQ(typeAt(x, 30), Acid::kTypeId) << "still there during its step";
            world->applyPendingChanges();
            EXPECT_EQ(typeAt(x, 30), 0u) << "gone at the start of the next step";
        }
        both += made == 2;
        world->clearPendingChanges();
    }
    EXPECT_EQ(both, 3);
}

TEST_F(Acids, AcidOnMetalPulsesItAndVanishes)
{
    int survived = 0;
    for (int x = 10; x < 230; x += 4) {
        Particle* acid = put(x, 30, Acid::kTypeId);
        put(x, 29, Metal::kTypeId);
        seal(x, 30);
        while (world->pendingRemovalCount() == 0)
            acid->update();
        world->applyPendingChanges();
        EXPECT_EQ(typeAt(x, 30), 0u);
        if (typeAt(x, 29) == Metal::kTypeId) {
            ++survived;
            EXPECT_TRUE(world->electricityGrid.isPowered(x, 29)) << "a pulse even where the metal survives";
        }
    }
    EXPECT_GT(survived, 40);
}

TEST_F(Acids, OnlyTheStrongAcidSparesEMulti)
{
    struct Case {
        uint32_t acid;
        bool spares;
    };
    const Case cases[] = {{Acid::kTypeId, true}, {AcidWater::kTypeId, false}, {AcidSteam::kTypeId, false}};
    int x = 20;
    for (const Case& c : cases) {
        Particle* acid = put(x, 30, c.acid);
        put(x, 29, EMulti::kTypeId);
        seal(x, 30);
        for (int i = 0; i < 300 && typeAt(x, 29) == EMulti::kTypeId; ++i) {
            acid->update();
            world->clearPendingChanges();
        }
        EXPECT_EQ(typeAt(x, 29) == EMulti::kTypeId, c.spares) << ParticleCreator::getName(c.acid);
        x += 10;
    }
}

TEST_F(Acids, AZombieBelowShieldsTheCellAboveWhenItsDrawPicksIt)
{
    // The middle column ends at the zombie whenever the acid acts on it (4 in
    // 5); the cell above is then reached only when it did not (1 in 5) and
    // the acid acts there (4 in 5). The sides are always in reach.
    StandInHuman::install("zombie");
    Particle* acid = put(30, 30, Acid::kTypeId);
    put(30, 29, StandInHuman::kTypeId);
    const int trials = 4000;
    int sidesTaken = 0;
    int aboveTaken = 0;
    for (int i = 0; i < trials; ++i) {
        for (auto [cx, cy] : {std::pair{29, 30}, std::pair{31, 30}, std::pair{30, 31}})
            if (!world->at(cx, cy))
                put(cx, cy, Sand::kTypeId);
        acid->update();
        world->clearPendingChanges();
        sidesTaken += (typeAt(29, 30) == 0) + (typeAt(31, 30) == 0);
        aboveTaken += typeAt(30, 31) == 0;
    }
    EXPECT_EQ(typeAt(30, 29), StandInHuman::kTypeId);
    expectRate(static_cast<double>(aboveTaken) / trials, 0.2 * 0.8, trials);
    expectRate(static_cast<double>(sidesTaken) / (2 * trials), 0.8, 2 * trials);
}

TEST_F(Acids, AnyOtherHumanDissolves)
{
    StandInHuman::install("miner");
    Particle* acid = put(30, 30, Acid::kTypeId);
    put(30, 29, StandInHuman::kTypeId);
    seal(30, 30);
    for (int i = 0; i < 100 && typeAt(30, 29) != 0; ++i) {
        acid->update();
        world->clearPendingChanges();
    }
    EXPECT_EQ(typeAt(30, 29), 0u);
}

TEST_F(Acids, AcidWaterBoilsAbove393AndFreezesBelow269)
{
    struct Case {
        float temperature;
        uint32_t becomes;  // 0: stays
    };
    const Case cases[] = {{393.0f, 0}, {393.5f, AcidSteam::kTypeId}, {269.0f, 0}, {268.5f, Acid::kTypeId}};
    int x = 20;
    for (const Case& c : cases) {
        Particle* p = put(x, 30, AcidWater::kTypeId);
        seal(x, 30);
        if (c.becomes == 0)
            EXPECT_EQ(changeRate(p, c.temperature, 300), 0.0) << c.temperature;
        else
            EXPECT_EQ(updateAndApply(p, c.temperature), c.becomes) << c.temperature;
        x += 10;
    }
}

TEST_F(Acids, AcidSteamCondensesOnAcidAndRisesOtherwise)
{
    Particle* steam = put(30, 30, AcidSteam::kTypeId);
    steam->update();
    EXPECT_EQ(steam->y, 31);
    world->clearPendingChanges();

    Particle* onAcid = put(60, 30, AcidSteam::kTypeId);
    fill(59, 29, 61, 29, Acid::kTypeId);
    fill(59, 31, 61, 31, Wall::kTypeId);
    put(59, 30, Wall::kTypeId);
    put(61, 30, Wall::kTypeId);
    uint32_t kind = AcidSteam::kTypeId;
    for (int i = 0; i < 3000 && kind == AcidSteam::kTypeId; ++i)
        kind = updateAndApply(onAcid, 293.0f);
    EXPECT_EQ(kind, AcidWater::kTypeId);
}

TEST_F(VirusRules, DeathRateFollowsTheCountOfVirusAround)
{
    // Walls are spared, so nothing spreads; a skipped visit counts 0 and so
    // may kill even a Virus with company.
    struct Case {
        int neighbours;
        double rate;
    };
    const Case cases[] = {{0, 0.4}, {1, 0.2 * 0.4}, {2, 0.2 * 0.4}, {3, 0.4}, {5, 0.4}};
    const std::pair<int, int> around[] = {{-1, 0}, {1, 0}, {0, 1}, {0, -1}, {-1, -1}};
    int x = 20;
    for (const Case& c : cases) {
        Particle* virus = put(x, 30, Virus::kTypeId);
        for (int i = 0; i < c.neighbours; ++i)
            put(x + around[i].first, 30 + around[i].second, Virus::kTypeId);
        seal(x, 30);
        const int trials = 6000;
        expectRate(changeRate(virus, 293.0f, trials), c.rate, trials);
        x += 10;
    }
}

TEST_F(VirusRules, VirusBesideCurrentIsGoneNextStep)
{
    Particle* virus = put(30, 30, Virus::kTypeId);
    put(31, 30, Metal::kTypeId);
    world->electricityGrid.setCell(31, 30, ElectricityGrid::kHead);
    put(29, 30, Sand::kTypeId);
    virus->update();
    world->applyPendingChanges();
    EXPECT_EQ(typeAt(30, 30), 0u);
}

TEST_F(VirusRules, VirusConvertsAndSparesItsKinds)
{
    Particle* virus = put(30, 30, Virus::kTypeId);
    put(29, 30, Sand::kTypeId);
    put(31, 30, Multi::kTypeId);
    put(30, 29, Wall::kTypeId);
    for (int i = 0; i < 500 && typeAt(29, 30) == Sand::kTypeId; ++i) {
        virus->update();
        world->clearPendingChanges();
    }
    EXPECT_EQ(typeAt(29, 30), Virus::kTypeId);
    EXPECT_EQ(typeAt(31, 30), Multi::kTypeId);
    EXPECT_EQ(typeAt(30, 29), Wall::kTypeId);
}

TEST_F(VirusRules, ABlockConvertingHundredsLogsOneLineASecond)
{
    fill(40, 40, 99, 99, Sand::kTypeId);
    for (int x = 60; x < 80; ++x)
        for (int y = 60; y < 80; ++y) {
            world->removeParticle(x, y);
            put(x, y, Virus::kTypeId);
        }
    const int sandBefore = count(Sand::kTypeId);
    platform::setManualGameTime(1767225600);
    testsupport::LogCapture log;
    step(3);
    platform::clearManualGameTime();
    int lines = 0;
    for (const std::string& line : log.lines())
        lines += line.find("Prepare to clear") != std::string::npos;
    EXPECT_LT(count(Sand::kTypeId), sandBefore - 10) << "many conversions";
    EXPECT_EQ(lines, 1);
}
