// Rabbits, falling blocks and invaders.
#include <set>
#include <vector>

#include "MaterialWorld.h"
#include "elements/creatures/CreaturePictures.h"
#include "elements/creatures/LaserBeams.h"
#include "elements/creatures/SmallCreatures.h"
#include "platform/GameRandom.h"
#include "world/ByteStream.h"

namespace {

const uint32_t kStone = hashString("Stone");
const uint32_t kSand = hashString("Sand");

class SmallCreaturesTest : public MaterialWorld {
protected:
    void TearDown() override
    {
        setLaserBeamTracer(nullptr);
        MaterialWorld::TearDown();
    }
    // A rabbit with its body, standing on a stone floor at row 40 when
    // grounded.
    MPLeaderRabbit* rabbit(int x, int y)
    {
        auto* r = static_cast<MPLeaderRabbit*>(put(x, y, MPLeaderRabbit::kTypeId));
        r->update();
        EXPECT_NE(r->group, nullptr);
        return r;
    }
    static inline std::vector<std::pair<int, int>> beams;
};

TEST_F(SmallCreaturesTest, ARabbitFallsOneCellPerUpdateUntilEitherFootRests)
{
    fill(1, 1, 238, 40, kStone);
    MPLeaderRabbit* r = rabbit(100, 50);
    r->jumpCountdown = -1;  // no spontaneous jump
    EXPECT_EQ(r->y, 49);    // built, then fell in the same update
    for (int expected = 48; expected >= 41; --expected) {
        r->update();
        EXPECT_EQ(r->y, expected);
    }
    r->update();
    EXPECT_EQ(r->y, 41);
    // Resting on one foot: ground under either bottom cell holds it.
    MPLeaderRabbit* other = rabbit(150, 41);
    world->removeParticle(150, 40);
    other->jumpCountdown = -1;
    for (int i = 0; i < 3; ++i) {
        other->update();
        EXPECT_EQ(other->y, 41);
    }
}

TEST_F(SmallCreaturesTest, BurialKillsUnlessAnotherRabbitsLeaderCovers)
{
    for (bool rabbitOnTop : {false, true}) {
        SCOPED_TRACE(rabbitOnTop ? "a rabbit on top" : "sand on top");
        fill(1, 1, 238, 40, kStone);
        MPLeaderRabbit* r = rabbit(100, 41);
        r->jumpCountdown = -1;
        // Facing right: the free top cell is (x, y + 1).
        put(100, 42, kSand);
        put(101, 43, kSand);
        if (rabbitOnTop)
            put(100, 43, MPLeaderRabbit::kTypeId);
        else
            put(100, 43, kSand);
        r->update();
        step();
        EXPECT_EQ(typeAt(100, 41) == MPLeaderRabbit::kTypeId, rabbitOnTop);
        world = std::make_unique<World>();
        gWorld = world.get();
        world->setBigWorld(true);
        world->placeBorderWalls();
    }
}

TEST_F(SmallCreaturesTest, BreedingCostsBothALitterAndTheBreederItsCooldown)
{
    fill(1, 1, 238, 40, kStone);
    MPLeaderRabbit* a = rabbit(100, 41);
    MPLeaderRabbit* b = rabbit(103, 41);
    int born = 0;
    for (int trial = 0; trial < 40 && born == 0; ++trial) {
        a->breedCooldown = 0;
        a->littersLeft = 1;
        b->littersLeft = 2;
        b->breedCooldown = 77;
        a->breed(b);
        if (world->at(100, 46)) {
            born = 1;
            EXPECT_EQ(world->at(100, 46)->getType(), MPLeaderRabbit::kTypeId);
            EXPECT_EQ(a->littersLeft, 0);
            EXPECT_EQ(b->littersLeft, 1);
            EXPECT_GE(a->breedCooldown, 256);
            EXPECT_LT(a->breedCooldown, 384);
            EXPECT_EQ(b->breedCooldown, 77);
        }
    }
    ASSERT_EQ(born, 1);
    // No litters left: never again.
    world->removeParticle(100, 46);
    for (int trial = 0; trial < 100; ++trial) {
        a->breedCooldown = 0;
        a->breed(b);
    }
    EXPECT_EQ(world->at(100, 46), nullptr);
}

TEST_F(SmallCreaturesTest, AJumpWithNRiseStepsGoesNPlusOneUpAndDown)
{
    fill(1, 1, 238, 40, kStone);
    MPLeaderRabbit* r = rabbit(60, 41);
    r->jumpCountdown = -1;
    r->jumping = true;
    r->riseSteps = r->descentSteps = 2;
    std::vector<std::pair<int, int>> track;
    for (int i = 0; i < 6; ++i) {
        r->update();
        track.emplace_back(r->x, r->y);
    }
    const std::vector<std::pair<int, int>> expected = {{61, 42}, {62, 43}, {63, 44}, {64, 43}, {65, 42}, {66, 41}};
    EXPECT_EQ(track, expected);
    EXPECT_TRUE(r->jumping);
    r->update();  // the landing ends the jump
    EXPECT_FALSE(r->jumping);
}

TEST_F(SmallCreaturesTest, RabbitsGrazeAndHopOnGrass)
{
    fill(1, 1, 238, 40, hashString("Soil"));
    for (int x = 2; x < 237; ++x)
        put(x, 41, hashString("Grass"));
    rabbit(100, 42);
    const int grassBefore = count(hashString("Grass"));
    step(600);
    EXPECT_LT(count(hashString("Grass")), grassBefore);
    EXPECT_GE(count(MPLeaderRabbit::kTypeId), 1);
}

TEST_F(SmallCreaturesTest, BlockShapesAndColourDrawOrder)
{
    for (int shape = 0; shape < MPLeaderTetris::kShapes; ++shape) {
        SCOPED_TRACE(shape);
        // Blue, green, red, then the shape.
        auto* block = static_cast<MPLeaderTetris*>(put(100, 100, MPLeaderTetris::kTypeId));
        block->group = new MPObject();
        block->group->addLeader(block);
        platform::scriptGameRand({10, 20, 30, shape});
        block->buildBody();
        platform::clearGameRandScript();
        const cocos2d::ccColor4B expected{158, 148, 138, 255};
        for (const auto& cell : MPLeaderTetris::kShapeCells[shape]) {
            Particle* p = world->at(100 + cell[0], 100 + cell[1]);
            ASSERT_NE(p, nullptr);
            EXPECT_EQ(p->getGroup(), block->group);
            EXPECT_EQ(p->color.r, expected.r);
            EXPECT_EQ(p->color.g, expected.g);
            EXPECT_EQ(p->color.b, expected.b);
        }
        EXPECT_EQ(block->color.b, expected.b);
        EXPECT_EQ(block->group->members->count(), 4u);
        block->group->broken = true;
        step();
        EXPECT_EQ(world->particleCount(), 0);
    }
}

TEST_F(SmallCreaturesTest, ABlockFallsAndDriftsAndStaysOnTheGround)
{
    fill(1, 1, 238, 40, kStone);
    put(100, 100, MPLeaderTetris::kTypeId);
    step(80);
    int cells = 0;
    int lowest = 1000;
    for (Particle* p : world->pool())
        if (p && p->getGroup()) {
            ++cells;
            lowest = std::min(lowest, p->y);
        }
    EXPECT_EQ(cells, 4);
    EXPECT_EQ(lowest, 41);
}

TEST_F(SmallCreaturesTest, ABarFallsStraightDownAOneCellShaft)
{
    fill(1, 1, 238, 120, hashString("Wall"));
    for (int y = 60; y <= 120; ++y)
        world->removeParticle(50, y);
    put(50, 110, MPLeaderTetris::kTypeId);
    platform::scriptGameRand({200, 200, 200, 11, 2});  // shape 11, then drift +1 (refused)
    world->at(50, 110)->update();
    platform::clearGameRandScript();
    step(60);
    EXPECT_EQ(typeAt(50, 60), MPLeaderTetris::kTypeId);
}

TEST_F(SmallCreaturesTest, InvadersReverseAtWallsAndFireFromEveryGun)
{
    beams.clear();
    setLaserBeamTracer([](int x, int y, int dx, int dy, int row) {
        EXPECT_EQ(dx, 0);
        EXPECT_EQ(dy, -1);
        EXPECT_EQ(row, 107);
        beams.emplace_back(x, y);
    });
    auto* inv = static_cast<MPInvader*>(put(120, 100, MPInvader::kTypeId));
    inv->stepPeriodX = 1;
    inv->stepPeriodY = 0;
    inv->group = new MPObject();
    inv->group->addLeader(inv);
    ASSERT_TRUE(inv->buildFromImage(5));
    EXPECT_EQ(inv->gunCount, 3);  // the bottom row "g..M..g"
    int firings = 0;
    int reversed = 0;
    for (int i = 1; i <= 300; ++i) {
        const size_t before = beams.size();
        const int period = inv->stepPeriodX;
        inv->update();
        if (beams.size() > before) {
            ++firings;
            EXPECT_EQ(i % 30, 0) << i;
            EXPECT_EQ(beams.size() - before, static_cast<size_t>(inv->gunCount));
            EXPECT_EQ(beams.back().second, inv->y - inv->markerRow - 1);
        }
        reversed += period != inv->stepPeriodX;
    }
    EXPECT_EQ(firings, 10);
    EXPECT_GE(reversed, 1);
}

TEST_F(SmallCreaturesTest, AnInvaderWithoutAMarkerLeavesAndALoadedOneFires)
{
    CreaturePicture blank;
    blank.width = 3;
    blank.height = 2;
    blank.pixels.assign(6, cocos2d::ccColor4B{0, 200, 0, 255});
    setCreaturePicture("invaders/3.png", &blank);
    auto* inv = static_cast<MPInvader*>(put(120, 100, MPInvader::kTypeId));
    inv->group = new MPObject();
    inv->group->addLeader(inv);
    EXPECT_FALSE(inv->buildFromImage(3));
    step();
    step();
    EXPECT_EQ(world->particleCount(), 0);
    setCreaturePicture("invaders/3.png", nullptr);

    // A loaded invader gets its guns back from its picture number.
    auto* loaded = static_cast<MPInvader*>(put(120, 100, MPInvader::kTypeId));
    std::vector<uint8_t> record;
    ByteWriter out(record);
    for (int32_t v : {7, 60, 0, 0, 9})
        out.i32(v);
    ByteReader in(record.data(), record.size());
    loaded->loadExtra(in);
    EXPECT_EQ(loaded->buildState, 2);
    EXPECT_EQ(loaded->imageIndex, 9);
    EXPECT_TRUE(loaded->gunOffsets != nullptr);
    EXPECT_GT(loaded->gunCount, 0);
}

TEST_F(SmallCreaturesTest, EveryInvaderPictureBuildsAWholeBody)
{
    for (int n = 0; n < MPInvader::kPictures; ++n) {
        SCOPED_TRACE(n);
        auto* inv = static_cast<MPInvader*>(put(120, 100, MPInvader::kTypeId));
        inv->group = new MPObject();
        inv->group->addLeader(inv);
        ASSERT_TRUE(inv->buildFromImage(n));
        EXPECT_FALSE(inv->group->broken);
        EXPECT_GT(inv->gunCount, 0);
        inv->group->broken = true;
        step();
        ASSERT_EQ(world->particleCount(), 0);
    }
}

}  // namespace
