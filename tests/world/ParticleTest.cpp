#include "WorldFixture.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>

using namespace worldtest;
USING_NS_CC;

TEST(HashString, IsDjb2OverSignExtendedBytes)
{
    static_assert(hashString("") == 5381u);
    EXPECT_EQ(hashString(""), 5381u);
    EXPECT_EQ(hashString("A"), 5381u * 33u + 65u);
    // A byte of 0x80 or more counts as negative.
    const char high[] = {static_cast<char>(0xE9), 0};
    EXPECT_EQ(hashString(high), 5381u * 33u - 23u);
    EXPECT_EQ(hashString(std::string("Sand")), hashString("Sand"));
    EXPECT_NE(hashString("Sand"), hashString("sand"));
}

TEST_F(WorldTest, FindNearestPrefersTheLowerRowThenTheLeftColumn)
{
    Particle* centre = add(50, 50, kSand);
    add(50, 52, kWater);
    Particle* below = add(50, 48, kWater);
    EXPECT_EQ(centre->findNearest(kWater, 5), below);

    world->removeParticle(50, 48);
    world->removeParticle(50, 52);
    add(52, 48, kWater);
    Particle* left = add(48, 48, kWater);
    EXPECT_EQ(centre->findNearest(kWater, 5), left);
    // Itself is never the answer, and nothing beyond the radius is seen.
    EXPECT_EQ(centre->findNearest(kSand, 20), nullptr);
    EXPECT_EQ(centre->findNearest(kWater, 1), nullptr);
}

TEST_F(WorldTest, NeighbourCountsAndSearches)
{
    Particle* p = add(20, 20, kSand);
    add(19, 19, kWater);
    add(21, 21, kWater);
    add(20, 21, kSand);
    EXPECT_EQ(p->countNeighboursOfType(kWater), 2);
    EXPECT_EQ(p->countNeighboursOfType(kSand), 1);  // itself excluded
    EXPECT_EQ(p->countOccupiedNeighbours(), 4);
    EXPECT_EQ(p->countEmptyNeighbours(), 5);
    EXPECT_EQ(p->countEmptyAbove(), 1);
    EXPECT_EQ(p->countOccupiedBelow(), 1);
    EXPECT_EQ(p->findNeighbour(kSand), p);  // rows from below: itself first
    EXPECT_EQ(p->findNeighbour(kWater), world->grid[19][19]);
    EXPECT_EQ(p->countNeighboursOfTypeAt(kWater, 1, 1), 1);
    EXPECT_FALSE(p->isAreaEmpty(-1, 1, -1));
    EXPECT_TRUE(p->isAreaEmpty(0, 1, -1));

    p->removeNeighboursOfType(kWater);
    EXPECT_EQ(world->pendingRemovalCount(), 2u);
}

TEST_F(WorldTest, CountWoodAboveStopsAtTheFirstOtherCell)
{
    Particle* p = add(30, 30, kSand);
    ParticleCreator::registerClass<TestElementOf<hashString("Wood"), 0, 50>>("Wood");
    const uint32_t wood = hashString("Wood");
    add(30, 31, wood);
    add(30, 32, wood);
    add(30, 34, wood);
    EXPECT_EQ(p->countWoodAbove(0, 0), 2);
    // Walking off the top of the world ends the count too.
    add(31, 159, wood);
    Particle* top = add(31, 158, kSand);
    EXPECT_EQ(top->countWoodAbove(0, 0), 1);
}

TEST_F(WorldTest, RandomNeighbourOfTypeAtAlwaysEnds)
{
    Particle* p = add(5, 5, kSand);
    Particle* water = add(8, 6, kWater);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(p->randomNeighbourOfTypeAt(kWater, 2, 0), water);
    // Near the border the counted block is clamped but the draws are not.
    Particle* edge = add(1, 1, kWater);
    EXPECT_EQ(p->countNeighboursOfTypeAt(kWater, -4, -4), 1);
    EXPECT_EQ(p->randomNeighbourOfTypeAt(kWater, -4, -4), edge);
    // A generator that never draws the match ends too.
    platform::scriptGameRand({0});
    EXPECT_EQ(p->randomNeighbourOfTypeAt(kWater, 2, 0), nullptr);
    // Nothing counted: no draw at all.
    EXPECT_EQ(p->randomNeighbourOfTypeAt(kGlass, 2, 0), nullptr);
}

TEST_F(WorldTest, RandomNeighbourOfTypeFindsTheOnlyMatch)
{
    Particle* p = add(40, 40, kSand);
    Particle* water = add(41, 39, kWater);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(p->randomNeighbourOfType(kWater), water);
    EXPECT_EQ(p->randomNeighbourOfType(kGlass), nullptr);
    // A scripted generator that never reaches the match still ends.
    platform::scriptGameRand({1});
    EXPECT_EQ(p->randomNeighbourOfType(kWater), nullptr);
}

TEST_F(WorldTest, RandomEmptyNeighbourNeverHandsOutACellOutsideTheWorld)
{
    Particle* p = add(0, 0, kSand);
    platform::scriptGameRand({0});  // offsets -1, -1
    const CCPoint point = p->randomEmptyNeighbour();
    EXPECT_EQ(point.x, -1);
    EXPECT_EQ(point.y, -1);
    platform::scriptGameRand({2});  // offsets +1, +1
    const CCPoint inside = p->randomEmptyNeighbour();
    EXPECT_EQ(inside.x, 1);
    EXPECT_EQ(inside.y, 1);
}

TEST_F(WorldTest, FallingSlidingAndFlowing)
{
    buildBorder();
    Particle* p = add(10, 10, kSand);
    add(10, 11, kSand);  // occupied above: falls anyway when there is room below
    p->fall();
    EXPECT_EQ(p->y, 9);

    // No room below and nothing above: it stays.
    Particle* q = add(20, 1, kSand);
    for (int i = 0; i < 10; ++i)
        q->fall();
    EXPECT_EQ(q->x, 20);

    // A liquid between two walls stays; with one side open it goes there.
    Particle* w = add(30, 1, kWater);
    add(29, 1, kWall);
    add(31, 1, kWall);
    w->flow();
    EXPECT_EQ(w->x, 30);
    world->removeParticle(31, 1);
    w->flow();
    EXPECT_EQ(w->x, 31);
}

// An even draw tries the right first, an odd one the left; a blocked first
// side sends it to the other. One draw whenever it cannot fall, none when it can.
TEST_F(WorldTest, FlowingTakesTheDrawnSideFirstAndDrawsOnceWhenItCannotFall)
{
    buildBorder();
    struct Case {
        bool leftOpen, rightOpen;
        int draw;
        int expectedDx;
    };
    const Case cases[] = {
        {true, true, 0, 1},   {true, true, 1, -1},  {false, true, 1, 1},
        {true, false, 0, -1}, {false, false, 0, 0}, {false, false, 1, 0},
    };
    int x = 40;
    for (const Case& c : cases) {
        Particle* w = add(x, 1, kWater);
        if (!c.leftOpen)
            add(x - 1, 1, kWall);
        if (!c.rightOpen)
            add(x + 1, 1, kWall);
        platform::scriptGameRand({c.draw, 7, 7});
        w->flow();
        EXPECT_EQ(w->x, x + c.expectedDx) << "draw " << c.draw << " left " << c.leftOpen << " right " << c.rightOpen;
        EXPECT_EQ(w->y, 1);
        EXPECT_EQ(gameRand(), 7) << "one draw";
        x += 5;
    }
    Particle* falling = add(x, 5, kWater);
    platform::scriptGameRand({7, 8});
    falling->flow();
    EXPECT_EQ(falling->y, 4);
    EXPECT_EQ(gameRand(), 7) << "no draw";
}

TEST_F(WorldTest, SlidingTriesTheOtherSideAfterABlockedOne)
{
    buildBorder();
    Particle* p = add(50, 1, kSand);
    add(51, 1, kWall);
    p->slideRight = true;
    platform::scriptGameRand({1});  // rand() % 5 != 0: keep the remembered side
    p->slide();
    EXPECT_EQ(p->x, 50);
    EXPECT_FALSE(p->slideRight);
    p->slide();
    EXPECT_EQ(p->x, 49);
}

// The one-move slide and rise leaves the world as slide() followed by a rise
// into a free cell above: cells, texels, marks for relighting, the remembered
// side and the draws taken, whether it slides, rises, both or neither.
TEST_F(WorldTest, SlideThenRiseEndsAsTheTwoMoves)
{
    struct Case {
        uint32_t kind;
        bool sideBlocked, aboveSideBlocked, aboveBlocked, rememberedRight;
        int draw;  // % 5 == 0 redraws the side with the next draw (3: left)
    };
    const Case cases[] = {
        {kSand, false, false, false, true, 1},   {kSand, false, true, false, true, 1},
        {kSand, true, false, false, true, 1},    {kSand, true, false, true, true, 1},
        {kSand, false, false, true, false, 1},   {kSand, false, false, false, true, 5},
        {kGlass, false, false, false, false, 1}, {kGlass, true, true, true, false, 5},
    };
    struct Outcome {
        int x, y;
        bool slideRight;
        int32_t dirty;
        std::vector<uint32_t> texels;
        int nextDraw;
        bool operator==(const Outcome&) const = default;
    };
    const auto run = [&](const Case& c, bool oneMove) {
        world = std::make_unique<World>();
        gWorld = world.get();
        world->setBigWorld(true);
        Particle* p = add(50, 50, c.kind);
        const int side = c.rememberedRight == (c.draw % 5 != 0) ? 51 : 49;
        if (c.sideBlocked)
            add(side, 50, kWall);
        if (c.aboveSideBlocked)
            add(side, 51, kWall);
        if (c.aboveBlocked)
            add(50, 51, kWall);
        p->slideRight = c.rememberedRight;
        const int32_t dirtyBefore = world->dirtyCount();
        platform::scriptGameRand({c.draw, 3, 77});
        if (oneMove) {
            p->slideThenRise();
        } else {
            p->slide();
            if (world->isFree(p->x, p->y + 1))
                world->moveParticle(p, p->x, p->y + 1);
        }
        Outcome o{p->x, p->y, p->slideRight, world->dirtyCount() - dirtyBefore, {}, gameRand()};
        for (int x = 48; x <= 52; ++x)
            for (int y = 49; y <= 52; ++y) {
                const cocos2d::ccColor4B t = texture()->getPixelAt(static_cast<float>(x), static_cast<float>(y));
                o.texels.push_back(static_cast<uint32_t>(t.r) | t.g << 8 | t.b << 16 |
                                   static_cast<uint32_t>(t.a) << 24);
            }
        return o;
    };
    for (const Case& c : cases) {
        const Outcome twoMoves = run(c, false);
        const Outcome oneMove = run(c, true);
        EXPECT_TRUE(oneMove == twoMoves) << "side blocked " << c.sideBlocked << ", above it " << c.aboveSideBlocked
                                         << ", above " << c.aboveBlocked << ", draw " << c.draw << ": ends at "
                                         << oneMove.x << "," << oneMove.y << " instead of " << twoMoves.x << ","
                                         << twoMoves.y;
    }
}

TEST_F(WorldTest, ShimmerTakesTheNeighboursColourAndSlowsDown)
{
    Particle* a = add(60, 60, kWater);
    Particle* b = add(61, 60, kWater);
    a->color = ccc4(1, 1, 1, 255);
    b->color = ccc4(2, 2, 2, 255);
    a->shimmerPeriod = 2;
    b->shimmerPeriod = 7;
    b->shimmerCounter = 3;
    a->shimmer(1, 0, true);
    EXPECT_EQ(a->color.r, 1);  // not yet
    a->shimmer(1, 0, true);
    EXPECT_EQ(a->color.r, 2);
    EXPECT_EQ(b->color.r, 1);
    EXPECT_EQ(b->shimmerPeriod, 8);
    EXPECT_EQ(a->shimmerPeriod, 8);
    EXPECT_EQ(a->shimmerCounter, 3);
    EXPECT_FALSE(a->colorChanged);

    // Alone, it picks one of its own rows.
    Particle* lone = add(100, 100, kSand);
    lone->shimmerPeriod = 1;
    lone->shimmer(1, 0, false);
    const ccColor4B row44 = colorOfRow(44), row45 = colorOfRow(45);
    EXPECT_TRUE(lone->color.r == row44.r || lone->color.r == row45.r);
}

TEST_F(WorldTest, BurnIfHotNeedsHeatAboveTheThreshold)
{
    ParticleCreator::registerClass<TestElementOf<hashString("Fire"), -1, 0>>("Fire");
    ParticleCreator::registerClass<TestElementOf<hashString("Smoke"), -1, 0>>("Smoke");
    Particle* p = add(70, 70, kSand);
    world->temperatureField.setAt(70, 70, 393.0f);
    // Exactly at the threshold nothing burns.
    EXPECT_FALSE(p->burnIfHot(393, 50));
    EXPECT_EQ(world->grid[70][72], nullptr);

    // So hot that chance x threshold / t truncates to 0: it burns for sure,
    // with Fire two cells up and Smoke in between.
    world->temperatureField.setAt(70, 70, 2000.0f);
    int burnt = 0;
    for (int i = 0; i < 200 && !burnt; ++i)
        burnt += p->burnIfHot(393, 1) ? 1 : 0;
    EXPECT_EQ(burnt, 1);
    ASSERT_NE(world->grid[70][72], nullptr);
    EXPECT_EQ(world->grid[70][72]->getType(), hashString("Fire"));
    ASSERT_NE(world->grid[70][71], nullptr);
    EXPECT_EQ(world->grid[70][71]->getType(), hashString("Smoke"));
    EXPECT_EQ(world->pendingReplacementCount() + world->pendingRemovalCount(), 1u);
}

namespace {
// Explosion cells strengthen the rays that cross them a little.
class TestExplosion : public TestElement {
public:
    TestExplosion() : TestElement(hashString("Explosion"), 0, 0) { }
    float getBlastFactor() const override { return 1.01f; }
    void setLife(int ticks) override { life = ticks; }
    void setTinted(bool tinted) override { this->tinted = tinted; }
    int life = -1;
    bool tinted = false;
};
}  // namespace

TEST_F(WorldTest, ExplosionRaysStopAtTheBorderAndLeaveExplosions)
{
    ParticleCreator::registerClass<TestExplosion>("Explosion");
    world->setBigWorld(false);
    buildBorder();
    add(62, 40, kSand);  // weakens the ray and is queued to become an explosion
    explode(60, 40, 12);
    int explosions = 0;
    for (int x = 0; x < 120; ++x)
        for (int y = 0; y < 80; ++y)
            if (world->grid[x][y] && world->grid[x][y]->getType() == hashString("Explosion"))
                ++explosions;
    EXPECT_GT(explosions, 20);
    EXPECT_GT(world->temperatureField.getAt(60, 40), 293.0f);
    EXPECT_EQ(world->grid[62][40]->getType(), kSand);
    EXPECT_GE(world->pendingReplacementCount(), 1u);
    for (int x = 0; x < 120; ++x)
        EXPECT_EQ(world->grid[x][0], world->outsideWall);
}

namespace {
// An explosive strengthens every ray that crosses it and survives the blast.
class TestAmplifier : public TestElement {
public:
    TestAmplifier() : TestElement(hashString("Tnt"), 0, 0) { }
    float getBlastFactor() const override { return 2.0f; }
};
}  // namespace

TEST_F(WorldTest, AnExplosiveAtTheBlastCentreStrengthensEveryRayAndSurvives)
{
    ParticleCreator::registerClass<TestExplosion>("Explosion");
    ParticleCreator::registerClass<TestAmplifier>("Tnt");
    buildBorder();
    Particle* tnt = add(100, 80, hashString("Tnt"));
    // Energy 3 alone reaches under 5 cells; the explosive's factor, applied
    // at distance 0 and again at 0.9 (still its cell), takes rays further.
    explode(100, 80, 3);
    EXPECT_EQ(world->grid[100][80], tnt);
    EXPECT_EQ(world->pendingReplacementCount(), 0u);
    int farthest = 0;
    for (int x = 0; x < 240; ++x)
        for (int y = 0; y < 160; ++y)
            if (world->grid[x][y] && world->grid[x][y]->getType() == hashString("Explosion"))
                farthest = std::max(farthest, std::max(std::abs(x - 100), std::abs(y - 80)));
    EXPECT_GE(farthest, 6);
}

TEST_F(WorldTest, AnExplosionAtTheEdgeOfAWorldWithoutBorderStaysInside)
{
    ParticleCreator::registerClass<TestExplosion>("Explosion");
    explode(0, 0, 14);
    explode(239, 159, 14);
    EXPECT_GT(world->particleCount(), 0);
}

TEST_F(WorldTest, ColouredBurstsTintTheirExplosions)
{
    ParticleCreator::registerClass<TestExplosion>("Explosion");
    buildBorder();
    explodeColored(100, 100, 6, 0.25f, 2);
    int tinted = 0;
    for (int x = 0; x < 240; ++x)
        for (int y = 0; y < 160; ++y)
            if (world->grid[x][y] && world->grid[x][y]->colorChanged) {
                EXPECT_TRUE(static_cast<TestExplosion*>(world->grid[x][y])->tinted);
                ++tinted;
            }
    EXPECT_GT(tinted, 0);
}

TEST_F(WorldTest, FindGrassAlongWalksTheGround)
{
    buildBorder();
    // Flat ground of Sand at row 9 with Grass on it further right.
    for (int x = 1; x < 60; ++x)
        add(x, 9, kSand);
    Particle* grass = add(25, 10, kGrass);
    Particle* rabbit = add(20, 10, kWater);
    EXPECT_EQ(rabbit->findGrassAlong(1, true), grass);
    EXPECT_EQ(rabbit->findGrassAlong(-1, false), nullptr);
}
