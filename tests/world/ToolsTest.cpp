#include <set>

#include "support/GameSceneFixture.h"
#include "profile/Profile.h"
#include "support/LogCapture.h"
#include "world/GameServices.h"
#include "world/ParticleCreator.h"
#include "world/Tools.h"

USING_NS_CC;

namespace gametest {
namespace {

using Cells = std::set<std::pair<int, int>>;

Cells discCells(int r, CCPoint c)
{
    Cells cells;
    Tool::forDisc(r, c, [&](int x, int y) {
        if (gWorld->inWorld(x, y))
            cells.insert({x, y});
    });
    return cells;
}

Cells square(int from, int to)
{
    Cells cells;
    for (int x = from; x <= to; ++x)
        for (int y = from; y <= to; ++y)
            cells.insert({x, y});
    return cells;
}

class Tools : public GameScene {
protected:
    void SetUp() override
    {
        GameScene::SetUp();
        world->setBigWorld(true);
        world->reset();
    }
    void use(const char* tool) { layer->getGUI()->selectTool(tool); }
    void brush(int size) { layer->getGUI()->setBrushSize(size); }
    // One tick of a held touch from p to t (same id).
    void stroke(CCPoint p, CCPoint t) { world->currentTool->apply(touchArray({{1, p}}), touchArray({{1, t}})); }
    void finishAt(int x, int y) { world->currentTool->finish(x, y); }
    void fillRect(int x0, int y0, int x1, int y1, const char* name)
    {
        for (int x = x0; x <= x1; ++x)
            for (int y = y0; y <= y1; ++y)
                world->addParticle(x, y, hashString(name), false);
    }
    void loaded(const char* name) { layer->setLoadedWorldName(CCString::create(name)); }
};

TEST_F(Tools, CreateKnowsTheFiveToolsExactly)
{
    testsupport::LogCapture log;
    const std::pair<const char*, int> known[] = {{"Draw", 1}, {"Line", 2}, {"Fill", 3}, {"Replace", 4}, {"Miner", 5}};
    for (auto [name, kind] : known) {
        Tool* tool = Tool::create(name);
        ASSERT_NE(tool, nullptr) << name;
        EXPECT_EQ(tool->kind, kind);
        EXPECT_EQ(tool->countdown, 0);
        EXPECT_FALSE(tool->livingStroke);
        delete tool;
    }
    int line = -1;
    for (const char* name : {"draw", "Zoom", "Clear", ""}) {
        EXPECT_EQ(Tool::create(name), nullptr) << name;
        line = log.find("Tried to load an unexisting type of tool:", line + 1);
        EXPECT_NE(line, -1) << name;
    }
}

TEST_F(Tools, DiscsAndLinesVisitTheRightCells)
{
    EXPECT_EQ(discCells(1, ccp(10, 10)), (Cells{{10, 10}}));
    EXPECT_EQ(discCells(1, ccp(10.5f, 10.5f)), (Cells{{10, 10}, {11, 10}, {10, 11}, {11, 11}}));
    EXPECT_EQ(discCells(2, ccp(10, 10)), square(9, 11));
    EXPECT_EQ(discCells(3, ccp(10, 10)), square(8, 12));
    EXPECT_EQ(discCells(4, ccp(10, 10)).size(), 45u);
    EXPECT_EQ(discCells(3, ccp(0, 0)).size(), 9u) << "a disc over the edge loses the cells outside";

    std::vector<std::pair<int, int>> line;
    Tool::forLine(0, 0, 3, 1, [&](int x, int y) { line.push_back({x, y}); });
    EXPECT_EQ(line, (std::vector<std::pair<int, int>>{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
    line.clear();
    Tool::forLine(5, 5, 5, 5, [&](int x, int y) { line.push_back({x, y}); });
    EXPECT_EQ(line.size(), 1u);
}

TEST_F(Tools, DrawPaintsDiscsAndLeavesOccupiedCells)
{
    use("Draw");
    choose("Sand");
    brush(3);
    world->addParticle(20, 30, hashString("Stone"), false);
    for (int tick = 0; tick < 2; ++tick)
        stroke(ccp(20, 30), ccp(20, 30));
    for (int x = 16; x <= 24; ++x)
        for (int y = 26; y <= 34; ++y) {
            const bool inside = x >= 18 && x <= 22 && y >= 28 && y <= 32;
            const uint32_t expected = x == 20 && y == 30 ? hashString("Stone") : inside ? hashString("Sand") : 0;
            EXPECT_EQ(typeAt(x, y), expected) << x << "," << y;
        }
}

TEST_F(Tools, DrawWhileMagnifiedPaintsSingleCellsAndErases)
{
    use("Draw");
    choose("Sand");
    brush(5);
    layer->setZoomedOut(true);
    stroke(ccp(10, 10), ccp(14, 10));
    EXPECT_EQ(countOf("Sand"), 5);
    choose("Clear");
    stroke(ccp(10, 10), ccp(12, 10));
    EXPECT_EQ(countOf("Sand"), 2);
    layer->setZoomedOut(false);
}

TEST_F(Tools, LivingElementsArePlacedOneAtATime)
{
    use("Draw");
    choose("Seed");
    brush(2);
    std::vector<int> counts;
    for (int tick = 0; tick < 18; ++tick) {
        // Each placement goes to a new spot, so they can be counted.
        const float x = 20.0f + tick * 3;
        stroke(ccp(x, 100), ccp(x, 100));
        counts.push_back(countOf("Seed"));
    }
    EXPECT_EQ(counts[0], 1);
    EXPECT_EQ(counts[7], 1);
    EXPECT_EQ(counts[8], 2) << "the next after 8 further ticks";
    EXPECT_EQ(counts[16], 3);
    // Switching to a plain element clears the living stroke and draws nothing that tick.
    choose("Sand");
    stroke(ccp(100, 100), ccp(100, 100));
    EXPECT_FALSE(world->currentTool->livingStroke);
    EXPECT_EQ(countOf("Sand"), 0);
}

TEST_F(Tools, LineLocksToItsFirstAxis)
{
    use("Line");
    choose("Sand");
    brush(1);
    stroke(ccp(10, 20), ccp(13, 21));
    auto* line = static_cast<Line*>(world->currentTool);
    EXPECT_TRUE(line->axisLocked);
    EXPECT_TRUE(line->horizontal);
    EXPECT_EQ(line->lockedCoord, 20);
    stroke(ccp(13, 21), ccp(20, 40));
    for (int x = 10; x <= 20; ++x)
        EXPECT_EQ(typeAt(x, 20), hashString("Sand")) << x;
    EXPECT_EQ(countOf("Sand"), 11);
    finishAt(20, 40);
    EXPECT_FALSE(line->axisLocked);

    stroke(ccp(50, 50), ccp(50.2f, 50.2f));
    EXPECT_FALSE(line->axisLocked) << "a move of 0.4 leaves the lock open";
    EXPECT_EQ(typeAt(50, 50), hashString("Sand"));
}

TEST_F(Tools, MinerDigsAndLinesWithWall)
{
    use("Miner");
    fillRect(10, 10, 40, 40, "Stone");
    struct Case {
        int size, dug, coated;
    };
    for (Case c : {Case{1, 1, 2}, Case{2, 1, 2}, Case{4, 3, 4}}) {
        world->reset();
        fillRect(10, 10, 40, 40, "Stone");
        brush(c.size);
        stroke(ccp(25, 25), ccp(25, 25));
        const Cells dug = discCells(c.dug, ccp(25, 25));
        const Cells rim = discCells(c.coated, ccp(25, 25));
        for (int x = 15; x <= 35; ++x)
            for (int y = 15; y <= 35; ++y) {
                const bool inDug = dug.count({x, y}) > 0;
                const bool inRim = rim.count({x, y}) > 0;
                const uint32_t expected = inDug ? 0 : inRim ? hashString("Wall") : hashString("Stone");
                EXPECT_EQ(typeAt(x, y), expected) << c.size << ": " << x << "," << y;
            }
    }
    // No Wall in empty cells, none on the border.
    world->reset();
    brush(3);
    stroke(ccp(1, 1), ccp(1, 1));
    EXPECT_EQ(countOf("Wall"), 0);
    EXPECT_EQ(typeAt(0, 0), hashString("OutsideWall"));
}

TEST_F(Tools, TheMinerOnDaySixRaisesTheStoneFlag)
{
    loaded("Day6");
    world->addParticle(30, 30, hashString("Stone"), false);
    use("Draw");
    choose("Clear");
    brush(1);
    stroke(ccp(30, 30), ccp(30, 30));
    EXPECT_EQ(world->eventFlags[4], 0) << "the eraser raises nothing";
    world->addParticle(30, 30, hashString("Stone"), false);
    use("Miner");
    stroke(ccp(30, 30), ccp(30, 30));
    EXPECT_EQ(world->eventFlags[4], 1);
}

TEST_F(Tools, FillChangesTheConnectedRegion)
{
    use("Fill");
    // A closed box of Stone: only its inside fills.
    for (int x = 50; x <= 60; ++x) {
        world->addParticle(x, 50, hashString("Stone"), false);
        world->addParticle(x, 60, hashString("Stone"), false);
        world->addParticle(50, x, hashString("Stone"), false);
        world->addParticle(60, x, hashString("Stone"), false);
    }
    choose("Water");
    finishAt(55, 55);
    EXPECT_EQ(countOf("Water"), 81);
    // The same element: nothing. The border: nothing.
    finishAt(55, 55);
    EXPECT_EQ(countOf("Water"), 81);
    finishAt(0, 0);
    choose("Clear");
    finishAt(0, 0);
    EXPECT_EQ(typeAt(0, 0), hashString("OutsideWall"));
    // Clear removes the region four-way; a diagonal neighbour stays.
    world->addParticle(61, 61, hashString("Water"), false);
    world->removeParticle(60, 60);
    finishAt(55, 55);
    EXPECT_EQ(countOf("Water"), 1);
    // Stone becomes Sand throughout the box's walls.
    choose("Sand");
    finishAt(50, 50);
    EXPECT_EQ(countOf("Stone"), 0);
}

TEST_F(Tools, FillOfAnOpenWorldFillsEveryInnerCell)
{
    use("Fill");
    choose("Stone");
    finishAt(100, 100);
    EXPECT_EQ(countOf("Stone"), (240 - 2) * (160 - 2));
}

TEST_F(Tools, OneShotToolsRefuseWhatTheyCannotMake)
{
    for (const char* tool : {"Fill", "Replace"}) {
        world->reset();
        fillRect(10, 10, 20, 20, "Sand");
        use(tool);
        layer->getGUI()->setCurrentElement(nullptr);
        finishAt(15, 15);
        EXPECT_EQ(countOf("Sand"), 121) << tool << ": no element";
        for (const char* element : {"Seed", "HumanLeader", "NoSuchThing"}) {
            choose(element);
            finishAt(15, 15);
            EXPECT_EQ(countOf("Sand"), 121) << tool << ": " << element;
        }
        loaded(tool[0] == 'F' ? "Day15" : "Day21");
        choose("Seed");
        finishAt(15, 15);
        EXPECT_EQ(world->eventFlags[tool[0] == 'F' ? 7 : 9], 0) << "a living element raises nothing";
    }
}

TEST_F(Tools, ReplaceWorksOnTheWholeInnerWorld)
{
    use("Replace");
    fillRect(10, 10, 12, 12, "Sand");
    fillRect(100, 100, 101, 101, "Sand");
    choose("Water");
    finishAt(10, 10);
    EXPECT_EQ(countOf("Sand"), 0);
    EXPECT_EQ(countOf("Water"), 13);
    choose("Clear");
    finishAt(100, 100);
    EXPECT_EQ(countOf("Water"), 0);
    loaded("Day21");
    choose("Stone");
    finishAt(50, 50);
    EXPECT_EQ(countOf("Stone"), 238 * 158);
    EXPECT_EQ(world->eventFlags[9], 1);
}

TEST_F(Tools, AFillEndsWhenThePoolIsFull)
{
    use("Fill");
    choose("Stone");
    // Every cell but the border fits in the pool, so take ids away first:
    // only 100 are left for the fill.
    while (world->freeTop() > 100)
        world->allocParticleId();
    finishAt(120, 80);
    EXPECT_EQ(world->freeTop(), 0);
    EXPECT_EQ(countOf("Stone"), 100);
    world->reset();
}

TEST_F(Tools, PaintingInFreePlayCountsThePaint)
{
    testsupport::testHost().freePlay = true;
    use("Draw");
    choose("Fire");
    brush(1);
    layer->setZoomedOut(true);
    Profile* profile = Profile::getInstance();
    const int poured = profile->getPouredPixels();
    stroke(ccp(30, 30), ccp(30, 30));
    EXPECT_EQ(profile->getPouredPixels(), poured + 1);
    // An occupied cell counts nothing.
    world->addParticle(40, 40, hashString("Stone"), false);
    stroke(ccp(40, 40), ccp(40, 40));
    EXPECT_EQ(profile->getPouredPixels(), poured + 1);
    layer->setZoomedOut(false);
}

}  // namespace
}  // namespace gametest
