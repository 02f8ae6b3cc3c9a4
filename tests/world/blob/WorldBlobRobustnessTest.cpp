// Saved worlds come from other players too: every byte of a blob is
// untrusted. These tests load damaged blobs and check that the loader either
// refuses them, leaving the world exactly as it was, or loads a sound world.
#include "BlobFixture.h"

#include <chrono>
#include <cstring>
#include <random>

using namespace blobtest;
USING_NS_CC;

namespace {

void putU32(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    if (at + 4 > b.size())
        return;
    for (int i = 0; i < 4; ++i)
        b[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

uint32_t getU32(const std::vector<uint8_t>& b, size_t at)
{
    return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 |
        static_cast<uint32_t>(b[at + 2]) << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

class WorldBlobRobustness : public BlobTest {
protected:
    void SetUp() override
    {
        BlobTest::SetUp();
        // Keep the stand-ins quiet and the paused state out of the picture.
        testsupport::testHost().freePlay = true;
    }

    std::vector<uint8_t> richBlob()
    {
        world->reset();
        for (int x = 5; x < 80; x += 2)
            add(x, 30, kSand);
        for (int x = 5; x < 40; ++x)
            add(x, 31, kWater);
        for (int k = 0; k < 12; ++k)
            addTagged(100 + k, 90, static_cast<uint32_t>(k * 1000), static_cast<uint16_t>(k));
        world->at(5, 30)->setColor(ccc4(10, 20, 30, 40));
        world->at(100, 90)->setColor(ccc4(50, 60, 70, 80));
        for (int x = 20; x < 30; ++x)
            world->electricityGrid.setCell(x, 60, ElectricityGrid::kConductor);
        world->electricityGrid.setCell(25, 60, ElectricityGrid::kTail);
        world->electricityGrid.setBridge(70, 70, true);
        world->electricityGrid.bridgeIn(0, 70, 70).fromAbove = 3;
        world->temperatureField.setAt(50, 50, 1200.0f);
        gameServices().setUniverseName("Fuzzed");
        return saveBytes();
    }

    // Where the counts and records of a blob lie, from a blob that parses.
    struct Layout {
        size_t electricityCount;
        size_t temperatureCount = 0;  // 0: none
        size_t particleCount;
        size_t colourCount = 0;                  // 0: none
        std::vector<size_t> particleRecords;     // start of x
        std::vector<size_t> electricityRecords;  // start of x
        std::vector<size_t> colourRecords;       // start of x
    };

    static Layout layoutOf(const std::vector<uint8_t>& blob)
    {
        worldblob::LoadPlan plan;
        std::string why;
        EXPECT_TRUE(worldblob::parseBlob(blob.data(), blob.size(), plan, why)) << why;
        Layout l;
        l.electricityCount = plan.electricityOffset;
        for (size_t k = 0; k < (plan.electricityLength - 4) / 12; ++k)
            l.electricityRecords.push_back(plan.electricityOffset + 4 + 12 * k);
        size_t after = plan.electricityOffset + plan.electricityLength;
        if (plan.hasTemperature) {
            l.temperatureCount = plan.temperatureOffset;
            after = plan.temperatureOffset + plan.temperatureLength;
        }
        l.particleCount = after;
        size_t end = after + 4;
        if (plan.reader == worldblob::ParticleReader::C) {
            l.colourCount = after + 4;
            end += 4;
        }
        for (const worldblob::ParticleRecord& r : plan.particles) {
            l.particleRecords.push_back(r.extraOffset - 12);
            end = r.extraOffset + static_cast<size_t>(r.extraSize);
        }
        for (size_t k = 0; k < plan.colours.size(); ++k)
            l.colourRecords.push_back(end + 12 * k);
        return l;
    }

    uint32_t nasty(std::mt19937& rng)
    {
        static const uint32_t values[] = {0u,   1u,          119u,        120u,        159u,        160u, 239u,
                                          240u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 0xFFFFFFFEu, 310u, 666u};
        if (rng() % 3 == 0)
            return static_cast<uint32_t>(rng());
        return values[rng() % std::size(values)];
    }

    void mutate(std::vector<uint8_t>& b, const Layout& l, std::mt19937& rng)
    {
        auto pick = [&rng](const std::vector<size_t>& v) { return v[rng() % v.size()]; };
        switch (rng() % 8) {
        case 0: {  // flipped bytes, mostly where the structure lives
            const int n = 1 + static_cast<int>(rng() % 8);
            for (int i = 0; i < n; ++i) {
                size_t at = rng() % 2 ? rng() % std::min<size_t>(b.size(), 400) : rng() % b.size();
                if (rng() % 2 && b.size() > l.particleCount)
                    at = l.particleCount + rng() % (b.size() - l.particleCount);
                b[at] ^= static_cast<uint8_t>(1 + rng() % 255);
            }
            break;
        }
        case 1:  // cut short
            b.resize(rng() % b.size());
            break;
        case 2: {  // a count that lies
            std::vector<size_t> counts{l.electricityCount, l.particleCount};
            if (l.temperatureCount)
                counts.push_back(l.temperatureCount);
            if (l.colourCount)
                counts.push_back(l.colourCount);
            const size_t at = pick(counts);
            const uint32_t actual = getU32(b, at);
            const uint32_t options[] = {actual + 1, actual - 1, actual * 2, nasty(rng)};
            putU32(b, at, options[rng() % 4]);
            break;
        }
        case 3: {  // coordinates out of range
            std::vector<size_t> records = l.particleRecords;
            records.insert(records.end(), l.electricityRecords.begin(), l.electricityRecords.end());
            records.insert(records.end(), l.colourRecords.begin(), l.colourRecords.end());
            if (!records.empty())
                putU32(b, pick(records) + 4 * (rng() % 2), nasty(rng));
            break;
        }
        case 4:  // electricity states out of range
            if (!l.electricityRecords.empty())
                putU32(b, pick(l.electricityRecords) + 8, nasty(rng));
            break;
        case 5:  // unknown or swapped type ids
            if (!l.particleRecords.empty()) {
                const uint32_t types[] = {nasty(rng), kSand, kTagged, hashString("Explosion")};
                putU32(b, pick(l.particleRecords) + 8, types[rng() % 4]);
            }
            break;
        case 6: {  // bytes inserted or removed in the middle
            const size_t at = rng() % b.size();
            const size_t n = 1 + rng() % 16;
            if (rng() % 2)
                b.insert(b.begin() + static_cast<std::ptrdiff_t>(at), n, static_cast<uint8_t>(rng()));
            else
                b.erase(b.begin() + static_cast<std::ptrdiff_t>(at),
                        b.begin() + static_cast<std::ptrdiff_t>(std::min(b.size(), at + n)));
            break;
        }
        default:  // the version word
            putU32(b, 0, rng() % 2 ? 1 + rng() % 11 : nasty(rng));
            break;
        }
    }
};

TEST_F(WorldBlobRobustness, DamagedBlobsAreRefusedWithTheWorldUnchangedOrLoadSoundly)
{
    std::vector<std::vector<uint8_t>> bases;
    bases.push_back(richBlob());
    for (uint32_t v : {1u, 4u, 8u, 10u}) {
        OldBlob old;
        old.version = v;
        old.particles = {{10, 10, kSand}, {11, 10, kWater}, {12, 10, kGlass}};
        old.electricity = {{20, 20, 3}, {21, 20, 173}};
        if (v >= 10)
            old.colours = {{{10, 10}, ccc4(1, 2, 3, 4)}};
        bases.push_back(old.build());
    }
    std::vector<Layout> layouts;
    for (const auto& b : bases)
        layouts.push_back(layoutOf(b));

    const ccColor4B wallColour = world->outsideWall->color;
    std::vector<uint8_t> current = saveBytes();
    std::mt19937 rng(20261207);
    int refused = 0;
    int loaded = 0;
    const auto start = std::chrono::steady_clock::now();
    constexpr int kRounds = 2000;
    for (int round = 0; round < kRounds; ++round) {
        const size_t which = rng() % bases.size();
        std::vector<uint8_t> blob = bases[which];
        const int mutations = 1 + static_cast<int>(rng() % 3);
        for (int m = 0; m < mutations && !blob.empty(); ++m)
            mutate(blob, layouts[which], rng);

        if (loadBytes(blob)) {
            ++loaded;
            expectSoundWorld();
            current = saveBytes();
        } else {
            ++refused;
            const std::vector<uint8_t> after = saveBytes();
            ASSERT_TRUE(after == current) << "round " << round << ": a refused blob changed the world";
        }
        ASSERT_EQ(world->outsideWall->color.r, wallColour.r) << "round " << round;
        ASSERT_EQ(world->outsideWall->color.a, wallColour.a) << "round " << round;
        if (HasFatalFailure())
            return;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    RecordProperty("seconds", std::to_string(seconds));
    // Both roads must really be taken, or the test proves nothing.
    EXPECT_GT(refused, kRounds / 4);
    EXPECT_GT(loaded, kRounds / 20);
}

TEST_F(WorldBlobRobustness, EveryCutOfAValidBlobIsRefused)
{
    const std::vector<uint8_t> blob = richBlob();
    world->reset();
    add(44, 44, kSand);
    const std::vector<uint8_t> mine = saveBytes();
    // Every length inside the header and the counts, then a stride over the rest.
    for (size_t len = 0; len < blob.size(); len += (len < 400 ? 1 : 997)) {
        const std::vector<uint8_t> cut(blob.begin(), blob.begin() + static_cast<std::ptrdiff_t>(len));
        ASSERT_FALSE(loadBytes(cut)) << "length " << len;
    }
    EXPECT_EQ(saveBytes(), mine);
    EXPECT_TRUE(loadBytes(blob));
}

TEST_F(WorldBlobRobustness, HugeCountsAreRefusedBeforeAnythingIsAllocated)
{
    const std::vector<uint8_t> base = richBlob();
    const Layout l = layoutOf(base);
    world->reset();
    const std::vector<uint8_t> mine = saveBytes();
    for (size_t at : {l.electricityCount, l.temperatureCount, l.particleCount, l.colourCount}) {
        std::vector<uint8_t> b = base;
        putU32(b, at, 0xFFFFFFFFu);
        EXPECT_FALSE(loadBytes(b)) << "count at " << at;
    }
    EXPECT_EQ(saveBytes(), mine);
}

TEST_F(WorldBlobRobustness, MoreRecordsThanAWorldHoldsAreRefusedEvenWhenTheBytesAreThere)
{
    OldBlob b;
    b.particles.assign(38401, {10, 10, kSand});
    EXPECT_FALSE(loadBytes(b.build()));
    b.particles.resize(2);
    b.electricity.assign(38401, {10, 10, 3});
    EXPECT_FALSE(loadBytes(b.build()));
    EXPECT_EQ(world->particleCount(), 0);
}

TEST_F(WorldBlobRobustness, AnUnknownTypeIdRefusesTheWholeBlob)
{
    OldBlob b;
    b.particles = {{10, 10, kSand}, {11, 10, 0x12345678u}, {12, 10, kSand}};
    ParticleCreator::resetElementsCreated();
    add(44, 44, kWater);
    const std::vector<uint8_t> mine = saveBytes();
    EXPECT_FALSE(loadBytes(b.build()));
    EXPECT_EQ(saveBytes(), mine);
    // Parsing made nothing that counts as created.
    CCDictionary* created = ParticleCreator::getElementsCreated();
    EXPECT_TRUE(!created || !created->objectForKey("N/A"));
}

TEST_F(WorldBlobRobustness, RecordsOutsideTheWorldOrOnTheBorderAreSkippedAndALaterRecordWinsItsCell)
{
    OldBlob b;
    b.particles = {{0, 10, kSand},   {239, 10, kSand},        {10, 0, kSand},  {10, 159, kSand}, {240, 10, kSand},
                   {10, 160, kSand}, {0xFFFFFFFFu, 5, kSand}, {20, 20, kSand}, {20, 20, kWater}};
    ASSERT_TRUE(loadBytes(b.build()));
    expectSoundWorld();
    EXPECT_EQ(world->particleCount(), 1);
    ASSERT_NE(world->at(20, 20), nullptr);
    EXPECT_EQ(world->at(20, 20)->getType(), kWater) << "records are added forced";
    EXPECT_EQ(worldtest::liveElements, 1) << "the replaced particle is gone";
}

TEST_F(WorldBlobRobustness, ColourRecordsNeverRecolourTheBorderAndSkipCellsOutside)
{
    const ccColor4B wall = world->outsideWall->color;
    OldBlob b;
    b.particles = {{10, 10, kSand}};
    b.colours = {{{0, 0}, ccc4(255, 0, 255, 255)},
                 {{239, 80}, ccc4(255, 0, 255, 255)},
                 {{5000, 5}, ccc4(1, 1, 1, 1)},
                 {{10, 10}, ccc4(7, 7, 7, 7)}};
    ASSERT_TRUE(loadBytes(b.build()));
    EXPECT_EQ(world->outsideWall->color.r, wall.r);
    EXPECT_EQ(world->outsideWall->color.g, wall.g);
    EXPECT_FALSE(world->outsideWall->colorChanged);
    EXPECT_EQ(world->at(10, 10)->color.r, 7);
}

TEST_F(WorldBlobRobustness, ElectricityRecordsOutOfRangeOrWithImpossibleStatesAreSkipped)
{
    OldBlob b;
    b.electricity = {{20, 20, 3},       {240, 20, 3},          {20, 160, 3}, {30, 30, 9},
                     {31, 30, 310 + 6}, {32, 30, 0xFFFFFFFFu}, {33, 30, 173}};
    ASSERT_TRUE(loadBytes(b.build()));
    ElectricityGrid& e = world->electricityGrid;
    EXPECT_EQ(e.getCell(20, 20), 3u);
    EXPECT_EQ(e.getCell(30, 30), 0u);
    EXPECT_EQ(e.getCell(31, 30), 0u);
    EXPECT_EQ(e.getCell(32, 30), 0u);
    EXPECT_EQ(e.getCell(33, 30), 3u);
    EXPECT_TRUE(e.isBridge(33, 30));
    world->step();  // the overlay paints only states it knows
}

}  // namespace
