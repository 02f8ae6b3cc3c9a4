// Cloners take on a kind and fill around them; the spark falls through
// clouds and powers metal; gems sparkle and always come back to their colour.
#include "MaterialWorld.h"
#include "elements/materials/Cloners.h"
#include "elements/materials/Clouds.h"
#include "elements/materials/Gems.h"
#include "elements/materials/Liquids.h"
#include "elements/materials/Powders.h"
#include "world/ByteStream.h"

using Cloners = MaterialWorld;
using Sparks = MaterialWorld;
using Gems = MaterialWorld;

namespace {
template <class T> T* as(Particle* p)
{
    return static_cast<T*>(p);
}
}  // namespace

TEST_F(Cloners, AMultiTakesTheFirstKindColumnsFirst)
{
    struct Case {
        std::vector<std::pair<std::pair<int, int>, uint32_t>> around;
        uint32_t takes;
    };
    const Case cases[] = {
        {{{{0, -1}, Wall::kTypeId}, {{1, 0}, Wall::kTypeId}}, 0},
        {{{{0, -1}, Wall::kTypeId}, {{1, 1}, Sand::kTypeId}}, Sand::kTypeId},
        {{{{-1, 1}, Sand::kTypeId}, {{0, -1}, Water::kTypeId}}, Sand::kTypeId},
        {{{{0, 1}, TypeId::Cloud}, {{1, -1}, TypeId::Explosion}, {{-1, 0}, EMulti::kTypeId}}, 0},
    };
    int x = 20;
    for (const Case& c : cases) {
        auto* multi = as<Multi>(put(x, 130, Multi::kTypeId));
        for (const auto& [offset, kind] : c.around)
            put(x + offset.first, 130 + offset.second, kind);
        const int before = world->particleCount();
        multi->update();
        EXPECT_EQ(multi->copiedType, c.takes) << "case at " << x;
        EXPECT_EQ(world->particleCount(), before) << "nothing made while taking";
        x += 20;
    }
}

TEST_F(Cloners, AMultiFillsItsOneFreeNeighbourInAboutNineUpdates)
{
    auto* multi = as<Multi>(put(30, 30, Multi::kTypeId));
    multi->copiedType = Stone::kTypeId;
    const int trials = 400;
    long updates = 0;
    for (int t = 0; t < trials; ++t) {
        seal(30, 30);
        world->removeParticle(31, 31);
        while (!world->at(31, 31)) {
            multi->update();
            ++updates;
        }
        EXPECT_EQ(typeAt(31, 31), Stone::kTypeId);
        world->removeParticle(31, 31);
    }
    EXPECT_NEAR(static_cast<double>(updates) / trials, 9.0, 1.5);
}

TEST_F(Cloners, AnEMultiClonesOnlyWhilePoweredAndNeverItsMetal)
{
    auto* cloner = as<EMulti>(put(30, 30, EMulti::kTypeId));
    put(31, 30, Metal::kTypeId);
    cloner->update();
    EXPECT_EQ(cloner->copiedType, 0u);
    world->electricityGrid.setCell(31, 30, ElectricityGrid::kHead);
    cloner->update();
    EXPECT_EQ(cloner->copiedType, 0u) << "the metal that feeds it";
    put(29, 31, Sand::kTypeId);
    cloner->update();
    EXPECT_EQ(cloner->copiedType, Sand::kTypeId);
}

TEST_F(Cloners, ALoadedKindItCouldNeverHaveTakenIsDropped)
{
    struct Case {
        uint32_t saved;
        bool powered;
        uint32_t loaded;
    };
    const Case cases[] = {
        {Sand::kTypeId, false, Sand::kTypeId},
        {hashString("NoSuchKind"), false, 0},
        {TypeId::OutsideWall, false, 0},
        {Multi::kTypeId, false, 0},
        {Metal::kTypeId, false, Metal::kTypeId},
        {Metal::kTypeId, true, 0},
        {0, false, 0},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes;
        ByteWriter out(bytes);
        out.u32(c.saved);
        ASSERT_EQ(bytes.size(), 4u);
        Particle* cloner = ParticleCreator::createByName(c.powered ? "EMulti" : "Multi");
        ByteReader in(bytes.data(), bytes.size());
        cloner->loadExtra(in);
        const uint32_t loaded = c.powered ? as<EMulti>(cloner)->copiedType : as<Multi>(cloner)->copiedType;
        EXPECT_EQ(loaded, c.loaded) << ParticleCreator::getName(c.saved);
        delete cloner;
    }
}

TEST_F(Cloners, ABlastPassesThroughACloner)
{
    put(30, 30, Multi::kTypeId);
    explode(28, 30, 6);
    world->applyPendingChanges();
    EXPECT_EQ(typeAt(30, 30), Multi::kTypeId);
}

TEST_F(Sparks, ASparkFallsThroughCloudsAndEndsOnWhatItMeets)
{
    world->weather = true;
    fill(30, 100, 30, 109, TypeId::Cloud);
    Particle* spark = put(30, 110, TypeId::Electro);
    spark->update();
    EXPECT_EQ(spark->y, 99) << "below the layer";
    EXPECT_EQ(world->pendingRemovalCount(), 0u);

    fill(60, 100, 60, 109, TypeId::Cloud);
    put(60, 99, Sand::kTypeId);
    put(60, 110, TypeId::Electro)->update();
    EXPECT_EQ(world->pendingRemovalCount(), 1u) << "over a cloud resting on sand it ends";
}

TEST_F(Sparks, ASparkPowersTheMetalItLandsOnOnceAndSetsTheFlag)
{
    put(30, 29, Metal::kTypeId);
    Particle* spark = put(30, 30, TypeId::Electro);
    put(60, 29, Sand::kTypeId);
    Particle* onSand = put(60, 30, TypeId::Electro);
    onSand->update();
    EXPECT_FALSE(world->sparkOnMetal);
    spark->update();
    EXPECT_TRUE(world->sparkOnMetal);
    EXPECT_TRUE(world->electricityGrid.isPowered(30, 29));
    world->applyPendingChanges();
    EXPECT_EQ(typeAt(30, 30), 0u);
    EXPECT_EQ(typeAt(60, 30), 0u);
    EXPECT_EQ(typeAt(60, 29), Sand::kTypeId);
}

TEST_F(Gems, SparklesStartOneInFiftyAloneAndOneInFourHundredInAPile)
{
    struct Case {
        bool pile;
        double rate;
    };
    for (const Case c : {Case{false, 1.0 / 50}, Case{true, 1.0 / 400}}) {
        const int x = c.pile ? 60 : 30;
        auto* gem = as<Ruby>(put(x, 30, Ruby::kTypeId));
        if (c.pile)
            for (int dx = -1; dx <= 1; ++dx)
                for (int dy = -1; dy <= 1; ++dy)
                    if (dx || dy)
                        put(x + dx, 30 + dy, Ruby::kTypeId);
        seal(x, 30);
        gem->update();  // the first update only picks its shade
        const int trials = c.pile ? 60000 : 20000;
        int starts = 0;
        for (int i = 0; i < trials; ++i) {
            gem->state.rising = gem->state.fading = false;
            gem->state.sparkle = 0.0f;
            gem->update();
            starts += gem->state.rising;
        }
        expectRate(static_cast<double>(starts) / trials, c.rate, trials);
    }
}

TEST_F(Gems, ASparkleAlwaysEndsAtTheBaseColourAndIsNeverSaved)
{
    auto* gem = as<Emerald>(put(30, 30, Emerald::kTypeId));
    seal(30, 30);
    int sparkles = 0;
    bool wasActive = false;
    for (int i = 0; i < 5000; ++i) {
        gem->update();
        const bool active = gem->state.rising || gem->state.fading;
        if (wasActive && !active) {
            ++sparkles;
            const auto& c = gem->color;
            const auto& b = gem->state.baseColour;
            ASSERT_TRUE(c.r == b.r && c.g == b.g && c.b == b.b && c.a == b.a);
        }
        wasActive = active;
        ASSERT_FALSE(gem->colorChanged);
    }
    EXPECT_GT(sparkles, 20);
}

TEST_F(Gems, TheBlendMovesEachChannelTowardItsTarget)
{
    Particle* gem = put(30, 30, Diamond::kTypeId);
    struct Case {
        bool white;
        float sparkle;
        uint8_t r;
    };
    for (const Case c : {Case{true, 0.5f, 127}, Case{true, 1.0f, 255}, Case{false, 1.0f, 40}, Case{false, 0.5f, 20}}) {
        GemSparkle s;
        s.baseColour = {0, 100, 200, 77};
        s.sparkleColour = {40, 100, 0, 0};
        s.white = c.white;
        s.sparkle = c.sparkle;
        const uint8_t alpha = gem->color.a;
        blendGemSparkle(*gem, s);
        EXPECT_EQ(gem->color.r, c.r);
        EXPECT_EQ(gem->color.a, alpha) << "alpha unchanged";
    }
    EXPECT_FALSE(gem->colorChanged);
}

TEST_F(Gems, GemsFallLikeSand)
{
    Particle* gem = put(30, 30, Sapphire::kTypeId);
    gem->update();
    gem->update();
    EXPECT_EQ(gem->y, 29);
}
