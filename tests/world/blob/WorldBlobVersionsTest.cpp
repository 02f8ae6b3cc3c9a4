#include "BlobFixture.h"

using namespace blobtest;
USING_NS_CC;

namespace {

class WorldBlobVersions : public BlobTest {
protected:
    void SetUp() override
    {
        BlobTest::SetUp();
        GameServices& s = gameServices();
        s.localize = [](const char* key) { return std::string("<") + key + ">"; };
        s.campaignSlot = [this] { return campaignSlot; };
        s.setPlayPauseIcon = [this](const char* icon) { playPauseIcon = icon; };
        s.applyTemperature = [this](World& w) {
            ++toggles["temperature"];
            w.temperatureField.setViewOn(!w.temperatureField.isViewOn());
        };
        s.applyLight = [this](World& w) {
            ++toggles["light"];
            w.lightMap.setLightOn(!w.lightMap.isLightOn());
        };
        s.applySun = [this](World& w) {
            ++toggles["sun"];
            w.lightMap.setSunOn(!w.lightMap.isSunOn());
        };
        s.applyWeather = [this](World& w) {
            ++toggles["weather"];
            w.weather = !w.weather;
        };
    }

    OldBlob blobOf(uint32_t version)
    {
        OldBlob b;
        b.version = version;
        b.particles = {{10, 10, kSand}, {11, 10, kWater}};
        b.electricity = {{20, 20, 3}, {21, 20, 1}};
        return b;
    }

    bool load(const OldBlob& b) { return loadBytes(b.build()); }

    bool& freePlay = testsupport::testHost().freePlay;
    int32_t campaignSlot = 0;
    std::string playPauseIcon;
    std::map<std::string, int> toggles;
};

TEST_F(WorldBlobVersions, EveryVersionLoadsItsParticlesAndElectricity)
{
    for (uint32_t v = 1; v <= 11; ++v) {
        SCOPED_TRACE(v);
        world->reset();
        ASSERT_TRUE(load(blobOf(v)));
        ASSERT_NE(world->at(10, 10), nullptr);
        EXPECT_EQ(world->at(10, 10)->getType(), kSand);
        EXPECT_EQ(world->at(11, 10)->getType(), kWater);
        EXPECT_EQ(world->particleCount(), 2);
        EXPECT_EQ(world->electricityGrid.getCell(20, 20), 3u);
        EXPECT_EQ(world->electricityGrid.getCell(21, 20), 1u);
        expectSoundWorld();
    }
}

TEST_F(WorldBlobVersions, AVersionOneBlobHasLevelThreeAndTheDefaultTexts)
{
    hud->refreshTemperature(5);
    gameServices().setUniverseName("Before");
    ASSERT_TRUE(load(blobOf(1)));
    EXPECT_EQ(hud->getTemperatureLevel(), 3);
    EXPECT_EQ(gameServices().universeName(), "<UniverseNameEmpty>");
    EXPECT_EQ(gameServices().universeDescription(), "<UniverseDescriptionInitial>");
}

TEST_F(WorldBlobVersions, OnlyTheOptionsThatDifferAreSwitched)
{
    OldBlob b = blobOf(2);
    ASSERT_TRUE(load(b));
    EXPECT_TRUE(toggles.empty());

    b.light = true;
    b.weather = true;
    ASSERT_TRUE(load(b));
    EXPECT_EQ(toggles["light"], 1);
    EXPECT_EQ(toggles["weather"], 1);
    EXPECT_EQ(toggles["temperature"], 0);
    EXPECT_EQ(toggles["sun"], 0);
    EXPECT_TRUE(world->lightMap.isLightOn());
    EXPECT_TRUE(world->weather);

    ASSERT_TRUE(load(b));  // already on: nothing more switches
    EXPECT_EQ(toggles["light"], 1);
    EXPECT_EQ(toggles["weather"], 1);
}

TEST_F(WorldBlobVersions, AmbientTemperatureIsStoredAsIsUntilVersionSixThenShifted)
{
    struct Case {
        uint32_t version;
        int32_t ambient;
        int32_t level;
    };
    for (const Case& c : {Case{3, -300, 2}, Case{4, -2550, 1}, Case{5, 400, 4}, Case{6, 2550, 5}, Case{11, -300, 2},
                          Case{11, 1234, 3}}) {
        SCOPED_TRACE(c.version);
        hud->refreshTemperature(3);
        OldBlob b = blobOf(c.version);
        b.ambient = c.ambient;
        ASSERT_TRUE(load(b));
        EXPECT_EQ(hud->getTemperatureLevel(), c.level);
    }
}

TEST_F(WorldBlobVersions, TemperaturesAreReadFromVersionFourOn)
{
    OldBlob b = blobOf(3);
    ASSERT_TRUE(load(b));
    EXPECT_EQ(world->temperatureField.getAt(40, 40), 293.0f);

    b = blobOf(4);
    b.temperatures = {{{41, 41}, 900}, {{119, 79}, -1000}};  // the last cell of each 2 x 2 block wins
    ASSERT_TRUE(load(b));
    EXPECT_EQ(world->temperatureField.getAt(40, 40), 900.0f);
    EXPECT_EQ(world->temperatureField.getAt(119, 79), -1000.0f);
}

TEST_F(WorldBlobVersions, BackgroundAndTextsByVersion)
{
    GameServices& s = gameServices();
    OldBlob b = blobOf(6);
    b.background = "desert.png";
    ASSERT_TRUE(load(b));
    EXPECT_EQ(s.backgroundName(), "desert.png");
    EXPECT_TRUE(s.backgroundOn());
    EXPECT_EQ(s.universeName(), "<UniverseNameEmpty>");

    b.version = 7;
    b.backgroundShown = false;
    ASSERT_TRUE(load(b));
    EXPECT_FALSE(s.backgroundOn());
    EXPECT_EQ(s.backgroundName(), "desert.png");
    EXPECT_EQ(s.universeDescription(), "<UniverseDescriptionInitial>");

    b.version = 8;
    b.backgroundShown = true;
    ASSERT_TRUE(load(b));
    EXPECT_TRUE(s.backgroundOn());
    EXPECT_EQ(s.universeName(), "Old world");
    EXPECT_EQ(s.universeDescription(), "Made long ago");
}

TEST_F(WorldBlobVersions, ABackgroundNameThatLeavesItsFolderIsRefused)
{
    OldBlob b = blobOf(11);
    b.background = "../../secret";
    ASSERT_TRUE(load(b));
    EXPECT_EQ(gameServices().backgroundName(), "peaceful.png");
}

TEST_F(WorldBlobVersions, VersionEightIgnoresThePausedByte)
{
    OldBlob b = blobOf(8);
    b.paused = true;
    freePlay = true;
    ASSERT_TRUE(load(b));
    EXPECT_FALSE(GameLayer::getInstance()->getPaused());
}

TEST_F(WorldBlobVersions, VersionNineKeepsThePauseOnlyInFreePlay)
{
    OldBlob b = blobOf(9);
    b.paused = true;
    ASSERT_TRUE(load(b));
    EXPECT_FALSE(GameLayer::getInstance()->getPaused());
    EXPECT_EQ(playPauseIcon, "guitopbar_HUDPausePicto.png");

    freePlay = true;
    ASSERT_TRUE(load(b));
    EXPECT_TRUE(GameLayer::getInstance()->getPaused());
    EXPECT_EQ(playPauseIcon, "guitopbar_HUDPlayPicto.png");
}

TEST_F(WorldBlobVersions, VersionTenAcceptsAnyCampaignSlotButElevenOnlyCampaigns)
{
    OldBlob b = blobOf(10);
    b.paused = true;
    campaignSlot = -1;  // daily quest
    ASSERT_TRUE(load(b));
    EXPECT_TRUE(GameLayer::getInstance()->getPaused());

    b.version = 11;
    ASSERT_TRUE(load(b));
    EXPECT_FALSE(GameLayer::getInstance()->getPaused());

    campaignSlot = 3;
    ASSERT_TRUE(load(b));
    EXPECT_TRUE(GameLayer::getInstance()->getPaused());
}

TEST_F(WorldBlobVersions, ColourRecordsFromVersionTenOn)
{
    OldBlob b = blobOf(10);
    b.colours = {{{10, 10}, ccc4(9, 8, 7, 6)}, {{50, 50}, ccc4(1, 1, 1, 1)}};
    ASSERT_TRUE(load(b));
    Particle* sand = world->at(10, 10);
    ASSERT_NE(sand, nullptr);
    EXPECT_TRUE(sand->colorChanged);
    EXPECT_EQ(sand->color.r, 9);
    EXPECT_EQ(sand->color.a, 6);
    EXPECT_FALSE(world->at(11, 10)->colorChanged);
    EXPECT_EQ(world->at(50, 50), nullptr);
}

TEST_F(WorldBlobVersions, ResourcesComeOnlyFromVersionEleven)
{
    GameServices& s = gameServices();
    OldBlob b = blobOf(11);
    b.food = 5;
    b.stone = 6;
    b.wood = 7;
    ASSERT_TRUE(load(b));
    EXPECT_EQ(s.getResource("Food"), 5);
    EXPECT_EQ(s.getResource("Wood"), 7);

    b.version = 10;
    ASSERT_TRUE(load(b));
    EXPECT_EQ(s.getResource("Food"), 0);
}

TEST_F(WorldBlobVersions, AnUnknownVersionIsRefusedAndTheWorldKept)
{
    add(30, 30, kSand);
    gameServices().setUniverseName("Mine");
    const std::vector<uint8_t> before = saveBytes();
    for (uint32_t v : {0u, 12u, 0xFFFFFFFFu}) {
        OldBlob b = blobOf(11);
        std::vector<uint8_t> blob = b.build();
        blob[0] = static_cast<uint8_t>(v);
        blob[1] = static_cast<uint8_t>(v >> 8);
        blob[2] = static_cast<uint8_t>(v >> 16);
        blob[3] = static_cast<uint8_t>(v >> 24);
        EXPECT_FALSE(loadBytes(blob));
    }
    EXPECT_EQ(saveBytes(), before);
}

}  // namespace
