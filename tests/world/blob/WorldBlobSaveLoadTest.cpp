#include "BlobFixture.h"

#include <cstring>

using namespace blobtest;
USING_NS_CC;

namespace {

class WorldBlobSaveLoad : public BlobTest {
protected:
    // A world that uses every part of the blob.
    void buildRichWorld()
    {
        for (int x = 10; x < 60; ++x)
            add(x, 20, kSand);
        for (int x = 10; x < 40; ++x)
            add(x, 21, kWater);
        addTagged(100, 100, 0xDEADBEEF, 0x1234);
        addTagged(101, 100, 7, 9);
        world->at(12, 20)->setColor(ccc4(1, 2, 3, 4));
        world->at(101, 100)->setColor(ccc4(200, 100, 50, 255));

        world->temperatureField.setAt(4, 6, 1000.7f);
        world->temperatureField.setAt(118, 78, -2000.0f);
        world->temperatureField.setAt(200, 150, 2000.0f);  // beyond what the blob keeps

        ElectricityGrid& e = world->electricityGrid;
        for (int x = 30; x < 40; ++x)
            e.setCell(x, 50, ElectricityGrid::kConductor);
        e.setCell(35, 50, ElectricityGrid::kTail);
        e.setBridge(70, 70, true);
        e.bridgeIn(0, 70, 70).fromLeft = 3;
        e.setCell(70, 70, ElectricityGrid::kConductor);

        GameServices& s = gameServices();
        s.setUniverseName("Harbour");
        s.setUniverseDescription("Boats and sand");
        s.changeBackground("night.png", false);
        hud->refreshTemperature(4);
        world->temperatureField.setViewOn(true);
        world->lightMap.setSunOn(true);
        world->weather = true;
        s.addResource("Food", 12);
        s.addResource("Stone", -3);
        s.addResource("Wood", 99);
        GameLayer::getInstance()->setPaused(true);
    }

    std::vector<uint32_t> electricityCodes()
    {
        std::vector<uint32_t> codes;
        for (int x = 0; x < world->width; ++x)
            for (int y = 0; y < world->height; ++y)
                codes.push_back(world->electricityGrid.encodeCell(x, y) * 1000 + world->electricityGrid.getCell(x, y));
        return codes;
    }
};

TEST_F(WorldBlobSaveLoad, AnEmptyWorldSavesTo153972Bytes)
{
    const std::vector<uint8_t> blob = saveBytes();
    EXPECT_EQ(blob.size(), 153972u);
    ByteReader r(blob.data(), blob.size());
    uint32_t version = 0;
    int32_t width = 0, height = 0;
    r.u32(version);
    r.i32(width);
    r.i32(height);
    EXPECT_EQ(version, 11u);
    EXPECT_EQ(width, 240);
    EXPECT_EQ(height, 160);
    // Level 3 is stored as 293 + 2550.
    EXPECT_EQ(blob[28] | blob[29] << 8, 2843);
}

// Old builds and the server read these bytes by position, so the writer's
// layout is checked field by field, not only through its own reader.
TEST_F(WorldBlobSaveLoad, TheWriterPutsEveryFieldAtItsPlace)
{
    GameServices& s = gameServices();
    s.setUniverseName("Name");
    s.setUniverseDescription("Words");
    s.changeBackground("night.png", false);
    hud->refreshTemperature(2);
    world->lightMap.setLightOn(true);
    world->weather = true;
    GameLayer::getInstance()->setPaused(true);
    s.addResource("Food", 5);
    s.addResource("Stone", 6);
    s.addResource("Wood", -7);
    world->electricityGrid.setCell(9, 8, ElectricityGrid::kConductor);
    add(20, 30, kSand)->setColor(ccc4(11, 22, 33, 44));

    const std::vector<uint8_t> b = saveBytes();
    auto u32 = [&](size_t at) {
        return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 |
            static_cast<uint32_t>(b[at + 2]) << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
    };
    EXPECT_EQ(u32(12), 0u) << "temperature view";
    EXPECT_EQ(u32(16), 1u) << "light";
    EXPECT_EQ(u32(20), 0u) << "sun";
    EXPECT_EQ(u32(24), 1u) << "weather";
    EXPECT_EQ(u32(28), 2250u) << "level 2 is -300 + 2550";
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[32])), "night.png");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[48])), "Name");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[64])), "Words");
    EXPECT_EQ(b[320], 1) << "background shown";
    EXPECT_EQ(b[321], 1) << "paused";
    EXPECT_EQ(u32(324), 5u);
    EXPECT_EQ(u32(328), 6u);
    EXPECT_EQ(static_cast<int32_t>(u32(332)), -7);
    for (size_t at = 336; at < 356; ++at)
        ASSERT_EQ(b[at], 0) << at;

    EXPECT_EQ(u32(356), 1u) << "one electricity record";
    EXPECT_EQ(u32(360), 9u);
    EXPECT_EQ(u32(364), 8u);
    EXPECT_EQ(u32(368), 3u);
    const size_t temperature = 372;
    EXPECT_EQ(u32(temperature), 38400u);
    const size_t counts = temperature + 4 + 4 * 38400;
    EXPECT_EQ(u32(counts), 1u) << "P";
    EXPECT_EQ(u32(counts + 4), 1u) << "C";
    EXPECT_EQ(u32(counts + 8), 20u);
    EXPECT_EQ(u32(counts + 12), 30u);
    EXPECT_EQ(u32(counts + 16), kSand);
    const size_t colour = counts + 20;
    EXPECT_EQ(u32(colour), 20u);
    EXPECT_EQ(u32(colour + 4), 30u);
    EXPECT_EQ(b[colour + 8], 44) << "alpha first";
    EXPECT_EQ(b[colour + 9], 11);
    EXPECT_EQ(b[colour + 10], 22);
    EXPECT_EQ(b[colour + 11], 33);
    EXPECT_EQ(b.size(), colour + 12);
}

TEST_F(WorldBlobSaveLoad, ARoundTripKeepsEveryParticleColourTemperatureAndElectricityCell)
{
    buildRichWorld();
    const CellMap before = cells();
    const std::vector<uint32_t> codesBefore = electricityCodes();
    const std::vector<uint8_t> blob = saveBytes();

    GameLayer::getInstance()->setPaused(false);
    world->reset();
    testsupport::testHost().freePlay = true;
    ASSERT_TRUE(loadBytes(blob));
    expectSoundWorld();

    EXPECT_EQ(cells(), before);
    EXPECT_EQ(world->particleCount(), static_cast<int32_t>(before.size()));
    EXPECT_EQ(electricityCodes(), codesBefore);
    EXPECT_EQ(world->temperatureField.getAt(4, 6), 1000.0f);
    EXPECT_EQ(world->temperatureField.getAt(5, 7), 1000.0f);  // same field cell
    EXPECT_EQ(world->temperatureField.getAt(118, 78), -2000.0f);
    EXPECT_EQ(world->temperatureField.getAt(200, 150), 293.0f);

    GameServices& s = gameServices();
    EXPECT_EQ(s.universeName(), "Harbour");
    EXPECT_EQ(s.universeDescription(), "Boats and sand");
    EXPECT_EQ(s.backgroundName(), "night.png");
    EXPECT_TRUE(s.backgroundOn());
    EXPECT_EQ(hud->getTemperatureLevel(), 4);
    EXPECT_TRUE(world->temperatureField.isViewOn());
    EXPECT_FALSE(world->lightMap.isLightOn());
    EXPECT_TRUE(world->lightMap.isSunOn());
    EXPECT_TRUE(world->weather);
    EXPECT_TRUE(GameLayer::getInstance()->getPaused());
    EXPECT_EQ(s.getResource("Food"), 12);
    EXPECT_EQ(s.getResource("Stone"), -3);
    EXPECT_EQ(s.getResource("Wood"), 99);
}

TEST_F(WorldBlobSaveLoad, LoadingReversesRecordOrderSoTwoRoundTripsGiveTheSameBytes)
{
    buildRichWorld();
    testsupport::testHost().freePlay = true;  // keeps the pause
    const std::vector<uint8_t> first = saveBytes();
    ASSERT_TRUE(loadBytes(first));
    const std::vector<uint8_t> second = saveBytes();
    EXPECT_EQ(second.size(), first.size());
    ASSERT_TRUE(loadBytes(second));
    const std::vector<uint8_t> third = saveBytes();
    ASSERT_EQ(third.size(), first.size());
    for (size_t i = 0; i < first.size(); ++i)
        ASSERT_EQ(third[i], first[i]) << "first difference at byte " << i;
}

TEST_F(WorldBlobSaveLoad, LongTextsAreCutToTheirFieldsWithATerminator)
{
    GameServices& s = gameServices();
    s.setUniverseName(std::string(40, 'N'));
    s.setUniverseDescription(std::string(400, 'd'));
    s.changeBackground("a-very-long-background-name.png", false);
    const std::vector<uint8_t> blob = saveBytes();
    ASSERT_EQ(blob.size(), 153972u);  // nothing spilled past the fields
    EXPECT_EQ(blob[32 + 15], 0);
    EXPECT_EQ(blob[48 + 15], 0);
    EXPECT_EQ(blob[64 + 255], 0);

    ASSERT_TRUE(loadBytes(blob));
    EXPECT_EQ(s.universeName(), std::string(15, 'N'));
    EXPECT_EQ(s.universeDescription(), std::string(255, 'd'));
    EXPECT_EQ(s.backgroundName(), "a-very-long-bac");
}

TEST_F(WorldBlobSaveLoad, ACutNeverSplitsAUtf8Character)
{
    // 14 ASCII bytes, then a two-byte character straddling the 15-byte limit.
    gameServices().setUniverseName(std::string(14, 'a') + "\xC3\xA9");
    const std::vector<uint8_t> blob = saveBytes();
    EXPECT_EQ(blob[48 + 13], 'a');
    EXPECT_EQ(blob[48 + 14], 0);
}

TEST_F(WorldBlobSaveLoad, TextsWithoutTerminatorAreReadWithinTheirFields)
{
    std::vector<uint8_t> blob = saveBytes();
    std::memset(blob.data() + 32, 'B', 16);
    std::memset(blob.data() + 48, 'N', 16);
    std::memset(blob.data() + 64, 'D', 256);
    ASSERT_TRUE(loadBytes(blob));
    GameServices& s = gameServices();
    EXPECT_EQ(s.universeName(), std::string(16, 'N'));
    EXPECT_EQ(s.universeDescription(), std::string(256, 'D'));
    EXPECT_EQ(s.backgroundName(), std::string(16, 'B'));
}

TEST_F(WorldBlobSaveLoad, ThePlaceholderDescriptionIsReplacedByTheLocalisedDefault)
{
    ASSERT_EQ(std::strlen(worldblob::kPlaceholderDescription), 255u);
    GameServices& s = gameServices();
    s.localize = [](const char* key) { return std::string("<") + key + ">"; };
    s.setUniverseDescription(worldblob::kPlaceholderDescription);
    const std::vector<uint8_t> blob = saveBytes();
    ASSERT_TRUE(loadBytes(blob));
    EXPECT_EQ(s.universeDescription(), "<UniverseDescriptionInitial>");

    s.setUniverseDescription(std::string(worldblob::kPlaceholderDescription).substr(1));
    ASSERT_TRUE(loadBytes(saveBytes()));
    EXPECT_EQ(s.universeDescription(), std::string(worldblob::kPlaceholderDescription).substr(1));
}

TEST_F(WorldBlobSaveLoad, ASmallWorldComesBackSmall)
{
    world->setBigWorld(false);
    world->reset();
    add(50, 40, kSand);
    world->temperatureField.setAt(119, 79, 700.0f);
    const std::vector<uint8_t> blob = saveBytes();
    world->setBigWorld(true);
    world->reset();
    ASSERT_TRUE(loadBytes(blob));
    EXPECT_EQ(world->width, 120);
    EXPECT_EQ(world->height, 80);
    ASSERT_NE(world->at(50, 40), nullptr);
    EXPECT_EQ(world->temperatureField.getAt(119, 79), 700.0f);
    EXPECT_EQ(world->grid[119][40], world->outsideWall);
}

TEST_F(WorldBlobSaveLoad, ExtraDataOfTheWrongLengthIsPaddedSoLaterRecordsStayReadable)
{
    class Sloppy : public TaggedElement {
    public:
        void saveExtra(ByteWriter& out) override { out.u8(0xAB); }  // 1 byte of 6
    };
    ParticleCreator::registerClass<Sloppy>("PiranthaTunnel");
    addTagged(20, 20, 0, 0);
    add(21, 20, kSand);
    const std::vector<uint8_t> blob = saveBytes();
    ParticleCreator::registerClass<TaggedElement>("PiranthaTunnel");
    ASSERT_TRUE(loadBytes(blob));
    auto* tagged = dynamic_cast<TaggedElement*>(world->at(20, 20));
    ASSERT_NE(tagged, nullptr);
    EXPECT_EQ(tagged->charge, 0xABu);
    ASSERT_NE(world->at(21, 20), nullptr);
    EXPECT_EQ(world->at(21, 20)->getType(), kSand);
}

TEST_F(WorldBlobSaveLoad, AnEmptyDataObjectChangesNothing)
{
    add(30, 30, kSand);
    EXPECT_FALSE(world->load(nullptr));
    EXPECT_NE(world->at(30, 30), nullptr);
}

}  // namespace
