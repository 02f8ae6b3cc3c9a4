#include "WorldFixture.h"

#include "SimpleAudioEngine.h"
#include "support/LogCapture.h"
#include "world/OverLayer.h"

using namespace worldtest;
USING_NS_CC;

namespace {

bool sameColour(ccColor4B a, ccColor4B b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

}  // namespace

TEST_F(WorldTest, IdsAreHandedOutFromTheTopAndTheLastFreedComesBackFirst)
{
    Particle* first = add(10, 10, kSand);
    Particle* second = add(11, 10, kSand);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->id, 38399);
    EXPECT_EQ(second->id, 38398);
    EXPECT_EQ(world->pool()[38399], first);

    world->removeParticle(10, 10);
    EXPECT_EQ(world->pool()[38399], nullptr);
    Particle* third = add(12, 10, kSand);
    EXPECT_EQ(third->id, 38399);
    EXPECT_EQ(world->particleCount() + world->freeTop(), World::kMaxParticles);
}

TEST_F(WorldTest, TheFullPoolRefusesEvenAForcedAdd)
{
    for (int x = 0; x < 240; ++x)
        for (int y = 0; y < 160; ++y)
            ASSERT_NE(add(x, y, kGlass), nullptr);
    EXPECT_EQ(world->particleCount(), 38400);
    EXPECT_EQ(world->freeTop(), 0);
    world->removeParticle(5, 5);
    ASSERT_NE(add(5, 5, kGlass), nullptr);
    EXPECT_EQ(world->addParticle(5, 5, kSand, true), nullptr);
    EXPECT_EQ(world->grid[5][5]->getType(), kGlass);
}

TEST_F(WorldTest, AddsOutsideTheWorldOrOnOccupiedCellsAreRefusedQuietly)
{
    testsupport::LogCapture log;
    EXPECT_EQ(add(240, 0, kSand), nullptr);
    EXPECT_EQ(add(0, -1, kSand), nullptr);
    EXPECT_FALSE(log.contains("incorrect coords"));
    ASSERT_NE(add(3, 3, kSand), nullptr);
    EXPECT_EQ(add(3, 3, kWater), nullptr);
    EXPECT_EQ(world->particleCount(), 1);

    world->removeParticle(240, 0);
    world->removeParticle(0, -1);
    EXPECT_TRUE(log.contains("incorrect coords"));
}

TEST_F(WorldTest, AForcedAddOverAPooledParticleReplacesIt)
{
    Particle* old = add(7, 7, kSand);
    ASSERT_NE(old, nullptr);
    Particle* fresh = world->addParticle(7, 7, kWater, true);
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(world->grid[7][7], fresh);
    EXPECT_EQ(world->particleCount(), 1);
    EXPECT_EQ(liveElements, 1);
}

TEST_F(WorldTest, ASmallWorldUsesOnlyItsCells)
{
    world->setBigWorld(false);
    EXPECT_EQ(add(119, 79, kSand) != nullptr, true);
    EXPECT_EQ(add(120, 5, kSand), nullptr);
    EXPECT_EQ(add(5, 80, kSand), nullptr);
}

TEST_F(WorldTest, ResizingHappensOnlyWhenTheSizeChanges)
{
    World fresh;
    EXPECT_EQ(fresh.width, 4);
    fresh.setBigWorld(false);
    EXPECT_TRUE(fresh.sizeChanged);
    CCMutableTexture2D* small = texture();
    EXPECT_EQ(small->getContentSize().width, 120);
    fresh.setBigWorld(true);
    EXPECT_TRUE(fresh.sizeChanged);
    CCMutableTexture2D* big = texture();
    fresh.setBigWorld(true);
    EXPECT_FALSE(fresh.sizeChanged);
    EXPECT_EQ(texture(), big);
    EXPECT_EQ(big->getContentSize().width, 240);
}

TEST_F(WorldTest, CellsAreDrawnAsParticlesComeAndGo)
{
    Particle* p = add(20, 30, kSand);
    EXPECT_TRUE(sameColour(texture()->getPixelAt(20, 30), p->color));
    world->moveParticle(p, 21, 30);
    EXPECT_TRUE(sameColour(texture()->getPixelAt(20, 30), ccc4(0, 0, 0, 0)));
    EXPECT_TRUE(sameColour(texture()->getPixelAt(21, 30), p->color));
    EXPECT_EQ(world->grid[20][30], nullptr);
    EXPECT_EQ(world->grid[21][30], p);
    EXPECT_EQ(p->x, 21);
    world->removeParticle(21, 30);
    EXPECT_TRUE(sameColour(texture()->getPixelAt(21, 30), ccc4(0, 0, 0, 0)));
}

TEST_F(WorldTest, MovesThatWouldLoseAParticleAreRefused)
{
    Particle* p = add(20, 30, kSand);
    world->moveParticle(p, 20, 30);
    EXPECT_EQ(world->grid[20][30], p);

    // Onto another particle: both stay where they are.
    Particle* other = add(21, 30, kWater);
    world->moveParticle(p, 21, 30);
    EXPECT_EQ(world->grid[20][30], p);
    EXPECT_EQ(world->grid[21][30], other);
    EXPECT_EQ(p->x, 20);

    // Past the cells in use of a small world.
    world->setBigWorld(false);
    Particle* edge = add(119, 5, kSand);
    world->moveParticle(edge, 120, 5);
    EXPECT_EQ(world->grid[119][5], edge);
    EXPECT_EQ(world->grid[120][5], nullptr);
    EXPECT_EQ(edge->x, 119);
}

namespace {
// Leaves Ash in the cell above when it is destroyed, while armed.
class LeavesAsh : public TestElement {
public:
    LeavesAsh() : TestElement(hashString("Snow"), 1, 0) { }
    ~LeavesAsh() override
    {
        if (armed)
            gWorld->addParticle(x, y + 1, kAsh, false);
    }
    static inline bool armed = false;
};
}  // namespace

TEST_F(WorldTest, AParticleAddedByADestructorKeepsTheFreedIdAndItsSlot)
{
    ParticleCreator::registerClass<LeavesAsh>("Snow");
    Particle* snow = add(30, 30, hashString("Snow"));
    ASSERT_NE(snow, nullptr);
    const int32_t id = snow->id;
    LeavesAsh::armed = true;
    world->removeParticle(30, 30);
    LeavesAsh::armed = false;
    Particle* ash = world->grid[30][31];
    ASSERT_NE(ash, nullptr);
    // The id freed last is handed out next: the ash took it, and the pool
    // still holds the ash afterwards.
    EXPECT_EQ(ash->id, id);
    EXPECT_EQ(world->pool()[id], ash);
    EXPECT_EQ(world->particleCount(), 1);
    EXPECT_EQ(world->particleCount() + world->freeTop(), World::kMaxParticles);
}

TEST_F(WorldTest, AnOccupantOutsideThePoolNeverFreesAnotherParticlesId)
{
    Particle* pooled = add(10, 10, kSand);
    std::unique_ptr<Particle> stray(ParticleCreator::createAt(kWater, 11, 10));
    stray->id = pooled->id;  // claims an id it does not hold
    world->setCell(11, 10, stray.get());
    world->removeParticle(11, 10);
    EXPECT_EQ(world->grid[11][10], nullptr);
    Particle* next = add(12, 10, kSand);
    ASSERT_NE(next, nullptr);
    EXPECT_NE(next->id, pooled->id);
    EXPECT_EQ(world->pool()[pooled->id], pooled);
    EXPECT_EQ(world->particleCount() + world->freeTop(), World::kMaxParticles);
}

TEST_F(WorldTest, OnlyLightAbsorbersMarkCellsForRelighting)
{
    Particle* glass = add(1, 1, kGlass);
    EXPECT_EQ(world->dirtyCount(), 0);
    Particle* sand = add(5, 5, kSand);
    EXPECT_EQ(world->dirtyCount(), 1);
    world->moveParticle(sand, 5, 4);
    EXPECT_EQ(world->dirtyCount(), 3);
    EXPECT_EQ(world->dirtyY()[1], 5);
    EXPECT_EQ(world->dirtyY()[2], 4);
    world->moveParticle(glass, 1, 2);
    EXPECT_EQ(world->dirtyCount(), 3);

    // A swap marks only the absorber's old cell.
    Particle* sandNextToGlass = add(2, 2, kSand);
    const int before = world->dirtyCount();
    world->swapParticles(sandNextToGlass, glass);
    EXPECT_EQ(world->dirtyCount(), before + 1);
    EXPECT_EQ(world->dirtyX()[before], 2);
    EXPECT_EQ(world->grid[1][2], sandNextToGlass);
    EXPECT_EQ(world->grid[2][2], glass);
    EXPECT_EQ(glass->x, 2);
}

TEST_F(WorldTest, MarkingMoreCellsThanTheListsHoldAsksForAFullRelight)
{
    for (int i = 0; i < World::kDirtyCapacity + 10; ++i)
        world->markDirty(i % 240, (i / 240) % 160);
    EXPECT_EQ(world->dirtyCount(), World::kDirtyCapacity);
    EXPECT_TRUE(world->dirtyOverflow());
    world->step();
    EXPECT_FALSE(world->dirtyOverflow());
    EXPECT_EQ(world->dirtyCount(), 0);
}

TEST_F(WorldTest, AfterAnOverflowEveryLightIsRecomputed)
{
    Light* light = world->lightMap.addLight(100, 100, 6, 1.0f);
    ASSERT_NE(light, nullptr);
    world->step();
    const int32_t lit = world->lightMap.getLevelAt(104, 100);

    // A wall appears beside the light while the lists are already full of
    // cells far away, so its own mark is lost.
    for (int i = 0; i < World::kDirtyCapacity; ++i)
        world->markDirty(10 + i % 20, 10 + (i / 20) % 20);
    world->setCell(102, 100, world->outsideWall);
    world->markDirty(102, 100);
    world->step();
    EXPECT_LT(world->lightMap.getLevelAt(104, 100), lit);
    world->setCell(102, 100, nullptr);
    world->lightMap.removeLight(light);
}

TEST_F(WorldTest, RemovingMudRaisesTheFirstEventFlag)
{
    add(4, 4, kSand);
    world->removeParticle(4, 4);
    EXPECT_EQ(world->eventFlags[World::kEventMudRemoved], 0);
    add(4, 4, kMud);
    world->removeParticle(4, 4);
    EXPECT_EQ(world->eventFlags[World::kEventMudRemoved], 1);
}

TEST_F(WorldTest, TheBorderSentinelIsNeverRemovedOrPooled)
{
    buildBorder();
    EXPECT_EQ(world->outsideWall->id, -1);
    world->removeParticle(0, 0);
    EXPECT_EQ(world->grid[0][0], world->outsideWall);
    EXPECT_EQ(world->particleCount(), 0);
    // The loaders add over the sentinel with force set.
    Particle* p = world->addParticle(0, 5, kWall, true);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(world->grid[0][5], p);
}

TEST_F(WorldTest, IdsOutsideThePoolAreNotReleased)
{
    testsupport::LogCapture log;
    world->releaseParticleId(-1);
    EXPECT_EQ(world->freeTop(), World::kMaxParticles);
    world->releaseParticleId(5);
    EXPECT_TRUE(log.contains("Too many free particle IDs :S!"));
    EXPECT_EQ(world->freeTop(), World::kMaxParticles);
}

TEST_F(WorldTest, InitAttachesTheOverlaysAndTheOverlayLayerFollowsTheZoom)
{
    GameLayer* layer = GameLayer::getInstance();
    world->init(layer);
    ASSERT_NE(world->overLayer, nullptr);
    EXPECT_EQ(world->overLayer->getParent(), layer);
    EXPECT_EQ(world->overLayer->getZOrder(), 1000);
    if (world->lightMap.getSprite()) {
        EXPECT_EQ(world->lightMap.getSprite()->getZOrder(), 1);
        EXPECT_EQ(world->electricityGrid.getSprite()->getZOrder(), 3);
    }
    layer->setZoomedOut(true);
    world->step();
    EXPECT_FALSE(world->overLayer->isVisible());
    layer->setZoomedOut(false);
    world->step();
    EXPECT_TRUE(world->overLayer->isVisible());
}

TEST_F(WorldTest, BorderLinesAreDrawnByInit)
{
    world->init(GameLayer::getInstance());
    const ccColor4B border = world->outsideWall->color;
    EXPECT_TRUE(sameColour(texture()->getPixelAt(0, 0), border));
    EXPECT_TRUE(sameColour(texture()->getPixelAt(239, 100), border));
    EXPECT_TRUE(sameColour(texture()->getPixelAt(120, 159), border));
    EXPECT_TRUE(sameColour(texture()->getPixelAt(0, 80), border));
    EXPECT_TRUE(sameColour(texture()->getPixelAt(1, 1), ccc4(0, 0, 0, 0)));
    EXPECT_FALSE(texture()->isDirty());
}

TEST_F(WorldTest, GoldenRatioColoursStepTheHue)
{
    const ccColor4B c = goldenRatioColor(0.0f, 1.0f, 1.0f);
    // 0.618 of the wheel lies in the blue-to-magenta sixth.
    EXPECT_EQ(c.r, 0);
    EXPECT_EQ(c.b, 255);
    EXPECT_EQ(c.a, 255);
    const ccColor4B grey = goldenRatioColor(0.3f, 0.0f, 0.5f);
    EXPECT_EQ(grey.r, grey.g);
    EXPECT_EQ(grey.g, grey.b);
}

TEST_F(WorldTest, WeatherTogglesWithItsSound)
{
    CocosDenshion::SimpleAudioEngine* audio = CocosDenshion::SimpleAudioEngine::sharedEngine();
    audio->setBackendForTests(true);
    audio->clearRecordedCalls();
    EXPECT_FALSE(world->weather);
    world->toggleWeather();
    EXPECT_TRUE(world->weather);
    ASSERT_FALSE(audio->recordedCalls().empty());
    EXPECT_EQ(audio->recordedCalls().back().operation, "playEffect");
    EXPECT_EQ(audio->recordedCalls().back().path, "sounds/sfx_gui_weather.mp3");
    EXPECT_FALSE(audio->recordedCalls().back().loop);
    world->toggleWeather();
    EXPECT_FALSE(world->weather);
}
