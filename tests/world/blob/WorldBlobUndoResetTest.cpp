#include "BlobFixture.h"

using namespace blobtest;
USING_NS_CC;

namespace {

class WorldBlobUndoReset : public BlobTest {
protected:
    void SetUp() override
    {
        BlobTest::SetUp();
        GameServices& s = gameServices();
        s.setZoomButtonIcon = [this](const char* icon) { zoomIcons.push_back(icon); };
        s.zoomInAround = [this](CCPoint p) {
            zoomIns.push_back(p);
            GameLayer::getInstance()->setZoomedOut(false);
        };
    }

    // What the stroke start does: the current world becomes the snapshot.
    void takeSnapshot()
    {
        NSData* blob = world->save();
        blob->retain();
        CC_SAFE_RELEASE(world->undoSnapshot);
        world->undoSnapshot = blob;
    }

    std::vector<std::string> zoomIcons;
    std::vector<CCPoint> zoomIns;
};

TEST_F(WorldBlobUndoReset, UndoWithoutASnapshotDoesNothing)
{
    add(40, 40, kSand);
    world->undo();
    EXPECT_NE(world->at(40, 40), nullptr);
    EXPECT_FALSE(world->undoToggle);
}

TEST_F(WorldBlobUndoReset, UndoRestoresTheSnapshotAndASecondUndoIsTheRedo)
{
    add(40, 40, kSand);
    addTagged(41, 40, 5, 6);
    world->temperatureField.setAt(40, 40, 800.0f);
    const CellMap before = cells();
    takeSnapshot();

    world->removeParticle(40, 40);
    add(60, 60, kWater);
    static_cast<TaggedElement*>(world->at(41, 40))->charge = 77;
    world->temperatureField.setAt(40, 40, 293.0f);
    const CellMap after = cells();

    world->undo();
    EXPECT_EQ(cells(), before);
    EXPECT_EQ(world->temperatureField.getAt(40, 40), 800.0f);
    EXPECT_TRUE(world->undoToggle);
    expectSoundWorld();

    world->undo();
    EXPECT_EQ(cells(), after);
    EXPECT_EQ(world->temperatureField.getAt(40, 40), 293.0f);
    EXPECT_FALSE(world->undoToggle);
    expectSoundWorld();
}

TEST_F(WorldBlobUndoReset, AnUnnamedWorldStaysUnnamedThroughUndoSaveAndLoad)
{
    GameServices& s = gameServices();
    s.localize = [](const char* key) { return std::string("<") + key + ">"; };
    const std::string prompt = "<UniverseNameEmpty>";  // longer than the name's field
    world->reset();
    takeSnapshot();
    world->undo();
    EXPECT_EQ(s.universeName(), prompt) << "not the prompt cut to the field";

    // Saved before as nothing or as the cut prompt: unnamed; a name stays.
    const struct {
        std::string stored, loaded;
    } cases[] = {{"", prompt},
                 {worldblob::fittedTextField(prompt, worldblob::kTextFieldSize), prompt},
                 {"Valley", "Valley"},
                 {prompt, prompt}};
    for (const auto& c : cases) {
        s.setUniverseName(c.stored);
        NSData* blob = world->save();
        s.setUniverseName("Other");
        ASSERT_TRUE(world->load(blob)) << c.stored;
        EXPECT_EQ(s.universeName(), c.loaded) << "stored \"" << c.stored << "\"";
    }
}

TEST_F(WorldBlobUndoReset, UndoWhileZoomedOutKeepsTheZoom)
{
    add(40, 40, kSand);
    takeSnapshot();
    GameLayer::getInstance()->setZoomedOut(true);
    world->undo();
    EXPECT_TRUE(GameLayer::getInstance()->getZoomedOut());
    EXPECT_TRUE(zoomIns.empty());
    EXPECT_EQ(zoomIcons, (std::vector<std::string>{"guitopbar_HUDZoom.png", "guitopbar_HUDZoomOut.png"}));
    EXPECT_FALSE(world->undoInProgress);
}

TEST_F(WorldBlobUndoReset, APlainResetWhileZoomedOutZoomsBackIn)
{
    GameLayer::getInstance()->setZoomedOut(true);
    world->reset();
    EXPECT_FALSE(GameLayer::getInstance()->getZoomedOut());
    ASSERT_EQ(zoomIns.size(), 1u);
    EXPECT_EQ(zoomIns[0].x, 0.0f);
    EXPECT_EQ(zoomIns[0].y, 0.0f);
    EXPECT_EQ(zoomIcons, (std::vector<std::string>{"guitopbar_HUDZoom.png"}));
}

TEST_F(WorldBlobUndoReset, AnUnloadableSnapshotLeavesWorldSnapshotAndToggleAlone)
{
    add(40, 40, kSand);
    takeSnapshot();
    NSData* broken = NSData::dataWithBytes("\x0c\x00\x00\x00", 4);
    broken->retain();
    CC_SAFE_RELEASE(world->undoSnapshot);
    world->undoSnapshot = broken;
    world->undo();
    EXPECT_NE(world->at(40, 40), nullptr);
    EXPECT_EQ(world->undoSnapshot, broken);
    EXPECT_FALSE(world->undoToggle);
}

TEST_F(WorldBlobUndoReset, ResetStartsAnEmptyUniverseWithDefaults)
{
    GameServices& s = gameServices();
    s.localize = [](const char* key) { return std::string("<") + key + ">"; };
    testsupport::testHost().freePlay = true;
    // Some time played first.
    platform::setManualGameTime(3000);
    world->step();
    ASSERT_GT(world->playedSeconds(), 0);
    add(40, 40, kSand);
    addTagged(50, 50, 1, 1);
    world->queueRemove(40, 40);
    world->electricityGrid.setCell(45, 45, ElectricityGrid::kConductor);
    world->temperatureField.setAt(10, 10, 1500.0f);
    hud->refreshTemperature(5);
    s.setUniverseName("Busy");
    s.changeBackground("night.png", false);
    s.addResource("Food", 4);
    platform::setManualGameTime(5000);

    world->reset();

    EXPECT_EQ(world->particleCount(), 0);
    EXPECT_EQ(world->freeTop(), World::kMaxParticles);
    EXPECT_EQ(world->pendingRemovalCount(), 0u);
    EXPECT_EQ(worldtest::liveElements, 0);
    EXPECT_EQ(world->electricityGrid.getCell(45, 45), 0u);
    EXPECT_EQ(world->temperatureField.getAt(10, 10), 293.0f);
    EXPECT_EQ(hud->getTemperatureLevel(), 3);
    EXPECT_TRUE(world->temperatureField.isViewOn());  // free play shows it
    EXPECT_EQ(s.universeName(), "<UniverseNameEmpty>");
    EXPECT_EQ(s.universeDescription(), "<UniverseDescriptionInitial>");
    EXPECT_EQ(s.backgroundName(), "peaceful.png");
    EXPECT_TRUE(s.backgroundOn());
    EXPECT_EQ(s.getResource("Food"), 0);
    EXPECT_EQ(world->lastClock(), 5000);
    EXPECT_EQ(world->playedSeconds(), 0);
    expectSoundWorld();

    // Ids are handed out from the top again.
    EXPECT_EQ(add(40, 40, kSand)->id, World::kMaxParticles - 1);

    CCMutableTexture2D* tex = texture();
    EXPECT_EQ(tex->getPixelAt(0, 0).a, world->outsideWall->color.a);
    EXPECT_EQ(tex->getPixelAt(239, 159).r, world->outsideWall->color.r);
    EXPECT_EQ(tex->getPixelAt(50, 50).a, 0);
}

}  // namespace

namespace {

// Before the game wires its services (a checker, a tool), a world still
// saves, resets and loads: every service answers neutrally.
TEST_F(WorldBlobUndoReset, AWorldRunsUnderServicesNobodyWired)
{
    add(40, 40, kSand);
    NSData* blob = world->save();
    blob->retain();
    const GameServices wired = gameServices();
    gameServices() = GameServices{};
    EXPECT_NO_THROW(world->reset());
    EXPECT_EQ(world->at(40, 40), nullptr);
    EXPECT_NO_THROW(EXPECT_TRUE(world->load(blob)));
    EXPECT_NE(world->at(40, 40), nullptr);
    gameServices() = wired;
    blob->release();
}

}  // namespace
