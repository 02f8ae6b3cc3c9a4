// The alien biome, the Stinger and the distance field it follows: the ore
// charges only in strong light, the vine burns, rests and keeps two flags
// through a save, the larva becomes a Stinger, the Stinger eats prey into
// alien matter and follows the published field.
#include "MaterialWorld.h"
#include "base/NSData.h"
#include "cocos2d_extensions/CCValue.h"
#include "elements/creatures/DistanceField.h"
#include "elements/creatures/MPObject.h"
#include "elements/living/Alien.h"
#include "elements/living/Fish.h"
#include "elements/living/LivingFamilies.h"
#include "elements/living/Stinger.h"
#include "elements/living/Trees.h"
#include "elements/materials/Powders.h"

namespace {

// A body cell of a multi-cell creature, standing in for a human's until the
// creatures exist.
// clang-format off
inline constexpr ElementInfo kBodyCellInfo {"HumanPart", 0, 0.8f, 0.8f, {24}, StartRow::First, "sfx_element_soil"};
// clang-format on
class BodyCell : public Element<kBodyCellInfo> {
public:
    // As a creature's cell may: a member that goes breaks up its body.
    ~BodyCell() override
    {
        if (group)
            group->memberLists[0]->removeAllObjects();
    }
    MPObject* getGroup() const override { return group; }
    void setGroup(MPObject* g) override { group = g; }
    MPObject* group = nullptr;
};

template <class T> T* as(Particle* p)
{
    return dynamic_cast<T*>(p);
}

class Alien : public MaterialWorld {
protected:
    void light(int x, int y, int32_t level)
    {
        LightMap& l = world->lightMap;
        l.addLevel(x, y, level - l.getLevelAt(x, y));
    }
    Xenovine* vine(int x, int y, bool falling, bool growing)
    {
        auto* v = as<Xenovine>(put(x, y, Xenovine::kTypeId));
        v->falling = falling;
        v->growing = growing;
        return v;
    }
    // A Stinger that acts at its next update.
    Stinger* stinger(int x, int y)
    {
        auto* s = as<Stinger>(put(x, y, Stinger::kTypeId));
        s->timer = 1;
        return s;
    }
};

}  // namespace

TEST_F(Alien, AluminiteSkipsItsFirstUpdateAndChargesOnlyAbove315)
{
    struct Case {
        int32_t level;
        float charge;  // after one working update from 0.5
    };
    for (const Case& c : {Case{315, 0.5f - 1.0f / 300.0f}, Case{316, 0.5f + 1.0f / 60.0f}}) {
        SCOPED_TRACE(c.level);
        world->reset();
        world->placeBorderWalls();
        Aluminite::resetForTests();
        put(50, 49, TypeId::Stone);
        auto* ore = as<Aluminite>(put(50, 50, Aluminite::kTypeId));
        ASSERT_NE(ore->getLight(), nullptr);
        EXPECT_FALSE(ore->getLight()->on) << "dark until charged";
        ore->charge = 0.5f;
        light(50, 50, c.level);
        ore->update();
        EXPECT_FLOAT_EQ(ore->charge, 0.5f) << "the first update does nothing";
        ore->update();
        EXPECT_FLOAT_EQ(ore->charge, c.charge);
        EXPECT_TRUE(ore->lit);
    }
}

TEST_F(Alien, BuriedAluminiteKeepsItsChargeAndGoesDark)
{
    auto* ore = as<Aluminite>(put(50, 50, Aluminite::kTypeId));
    seal(50, 50);
    light(50, 50, 400);
    ore->skipNextUpdate = false;
    ore->charge = 0.8f;
    ore->setLit(true);
    ASSERT_TRUE(ore->getLight()->on);
    for (int i = 0; i < 50; ++i)
        ore->update();
    EXPECT_FLOAT_EQ(ore->charge, 0.8f);
    EXPECT_FALSE(ore->lit);
    EXPECT_FALSE(ore->getLight()->on);
}

TEST_F(Alien, XenovineBurnsAbove430)
{
    struct Case {
        float temperature;
        int y;
        bool burns;
        int fires;
    };
    const int top = world->height - 2;  // the fire cell two above lies outside
    for (const Case& c : {Case{430.0f, 50, false, 0}, Case{430.5f, 50, true, 1}, Case{500.0f, top, true, 0}}) {
        SCOPED_TRACE(c.temperature);
        world->reset();
        world->placeBorderWalls();
        if (world->at(50, c.y))
            world->removeParticle(50, c.y);
        put(50, c.y - 1, TypeId::Stone);
        Xenovine* v = vine(50, c.y, false, false);
        world->temperatureField.setAt(50, c.y, c.temperature);
        v->update();
        EXPECT_EQ(world->pendingReplacementCount() > 0, c.burns);
        EXPECT_EQ(count(TypeId::Fire), c.fires);
        EXPECT_EQ(v->ticks, 1) << "the update goes on";
    }
}

TEST_F(Alien, XenovineColderThanMinus330StopsAgeing)
{
    struct Case {
        float temperature;
        int32_t ageAfter;
    };
    for (const Case& c : {Case{-331.0f, 0}, Case{-329.0f, 1}}) {
        world->reset();
        world->placeBorderWalls();
        Xenovine* v = vine(50, 50, false, true);
        seal(50, 50);
        world->temperatureField.setAt(50, 50, c.temperature);
        v->update();
        EXPECT_EQ(v->age, c.ageAfter) << c.temperature;
    }
}

TEST_F(Alien, XenovineKeepsItsTwoFlagsThroughASave)
{
    put(40, 9, TypeId::Stone);
    put(41, 9, TypeId::Stone);
    Xenovine* dormant = vine(40, 10, false, false);
    Xenovine* growing = vine(41, 10, false, true);
    growing->age = 77;
    dormant->ticks = 5;
    NSData* blob = world->save();
    ASSERT_NE(blob, nullptr);
    blob->retain();
    world->reset();
    world->placeBorderWalls();
    ASSERT_TRUE(world->load(blob));
    blob->release();
    auto* a = as<Xenovine>(world->at(40, 10));
    auto* b = as<Xenovine>(world->at(41, 10));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_FALSE(a->falling);
    EXPECT_FALSE(a->growing);
    EXPECT_FALSE(b->falling);
    EXPECT_TRUE(b->growing);
    EXPECT_EQ(b->age, 0) << "clocks start afresh";
    EXPECT_EQ(a->ticks, 0);
}

TEST_F(Alien, GrowMakesDistinctCellsAndSkipsCellsTheWorldRefuses)
{
    Xenovine* v = vine(50, 50, false, true);
    v->nextToggle = 30;
    v->age = 10;
    // Draws of 3: the growth test passes and all four free sides grow.
    platform::scriptGameRand({3});
    v->grow();
    platform::clearGameRandScript();
    for (auto [x, y] : {std::pair{49, 50}, {51, 50}, {50, 49}, {50, 51}}) {
        auto* child = as<Xenovine>(world->at(x, y));
        ASSERT_NE(child, nullptr) << x << "," << y;
        EXPECT_TRUE(child->growing);
        EXPECT_EQ(child->nextToggle, 20);
    }
    // With nothing the factory can make, growing and thickening place
    // nothing and end (each free cell is tried once).
    Xenovine* lone = vine(100, 100, false, true);
    put(99, 100, TypeId::Stone);
    const int before = world->particleCount();
    ParticleCreator::clearRegistrations();
    platform::scriptGameRand({3});
    lone->grow();
    platform::clearGameRandScript();
    lone->thicken();
    EXPECT_EQ(world->particleCount(), before);
}

TEST_F(Alien, ThickenMakesTheCellsBesideAForeignOneDormant)
{
    Xenovine* v = vine(50, 50, false, true);
    Xenovine* right = vine(51, 50, false, true);
    put(49, 50, TypeId::Stone);  // foreign on the left: left, then right
    v->thicken();
    EXPECT_TRUE(right->isDormant());
    EXPECT_EQ(typeAt(49, 50), TypeId::Stone);
    EXPECT_EQ(typeAt(50, 51), 0u);
}

TEST_F(Alien, APiranthaBecomesAStinger)
{
    put(50, 49, TypeId::Stone);
    auto* larva = as<Pirantha>(put(50, 50, Pirantha::kTypeId));
    larva->life = 1;
    larva->timer = 1;
    larva->update();
    world->applyPendingChanges();
    EXPECT_EQ(typeAt(50, 50), Stinger::kTypeId);
}

TEST_F(Alien, AFedLarvaDigsThroughQueuedReplacements)
{
    fill(40, 1, 60, 20, TypeId::Stone);
    world->removeParticle(50, 10);
    auto* larva = as<Pirantha>(put(50, 10, Pirantha::kTypeId));
    larva->fed = true;
    larva->timer = 1;
    // Draws of 5: the food is the ground around it (stone here).
    platform::scriptGameRand({5});
    larva->update();
    platform::clearGameRandScript();
    EXPECT_NE(larva->x * 1000 + larva->y, 50 * 1000 + 10) << "it moved into its food";
    int stoneLeft = 0;
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            stoneLeft += typeAt(50 + dx, 10 + dy) == TypeId::Stone;
    EXPECT_GT(stoneLeft, 0) << "still stone until the next step begins";
    world->applyPendingChanges();
    EXPECT_GE(count(PiranthaTunnel::kTypeId), 6);
}

TEST_F(Alien, AMushboomBuildsOnADormantXenovine)
{
    for (int x = 100; x <= 140; ++x)
        for (int y = 1; y <= 5; ++y)
            vine(x, y, false, false);
    auto* seed = as<Mushboom>(put(120, 7, Mushboom::kTypeId));
    const Blueprint* bp = nullptr;
    for (int i = 0; i < 5 && !bp; ++i) {
        seed->update();
        bp = seed->getBlueprint();
    }
    ASSERT_NE(bp, nullptr);
    EXPECT_EQ(seed->y, 5) << "settled into the vine's cell";
    EXPECT_FALSE(bp->isBlocked());
    for (int i = 0; i < 2000 && world->pendingReplacementCount() == 0; ++i)
        seed->update();
    EXPECT_EQ(count(TypeId::of("Wood")), 16) << "the whole stem";
    EXPECT_EQ(count(TreeLeaf::kTypeId), 45) << "the whole cap";
    world->applyPendingChanges();
    EXPECT_EQ(typeAt(120, 5), Xenovine::kTypeId);

    // A seed that lands on anything else goes.
    put(60, 1, TypeId::Stone);
    Particle* lost = put(60, 2, Mushboom::kTypeId);
    lost->update();
    EXPECT_EQ(world->pendingRemovalCount(), 1u);
}

TEST_F(Alien, AStingerBurnsAtALowerHeatThanTheMushboom)
{
    auto* s = as<Stinger>(put(50, 50, Stinger::kTypeId));
    s->timer = 1000000;
    Particle* m = put(80, 100, Mushboom::kTypeId);
    EXPECT_GT(changeRate(s, 380.0f, 2000), 0.0);
    // The seed falls a cell per update; it is put back above each time.
    int burnt = 0;
    for (int i = 0; i < 2000; ++i) {
        world->moveParticle(m, 80, 100);
        world->temperatureField.setAt(80, 100, 380.0f);
        m->update();
        burnt += world->pendingRemovalCount() + world->pendingReplacementCount() > 0;
        world->clearPendingChanges();
    }
    EXPECT_EQ(burnt, 0);
}

TEST_F(Alien, AStingerEatsSmallPreyIntoAlienMatter)
{
    struct Case {
        uint32_t prey;
        uint32_t leaves;
    };
    for (const Case& c : {Case{Firefly::kTypeId, Aluminite::kTypeId}, Case{DeepSeaFish::kTypeId, Aluminite::kTypeId},
                          Case{Fish::kTypeId, Xenovine::kTypeId}}) {
        SCOPED_TRACE(c.prey);
        world->reset();
        world->placeBorderWalls();
        resetLivingRunStateForTests();
        Stinger* s = stinger(50, 50);
        seal(50, 50);
        world->removeParticle(51, 50);
        put(51, 50, c.prey);
        s->update();
        EXPECT_EQ(typeAt(51, 50), c.leaves);
        EXPECT_EQ(world->pendingRemovalCount(), 1u) << "the Stinger dies";
        if (auto* ore = as<Aluminite>(world->at(51, 50))) {
            EXPECT_FLOAT_EQ(ore->charge, 1.0f);
        }
    }
}

TEST_F(Alien, ARefusedOreGetsNoCharge)
{
    Stinger* s = stinger(50, 50);
    seal(50, 50);
    world->removeParticle(51, 50);
    put(51, 50, Firefly::kTypeId);
    // Nothing more can be made: the ore is refused and the Stinger goes on.
    ParticleCreator::clearRegistrations();
    s->update();
    EXPECT_EQ(typeAt(51, 50), 0u);
    EXPECT_EQ(world->pendingRemovalCount(), 1u);
}

TEST_F(Alien, AStingerEatsATwelveCellBodyIntoTenWaxAndTwoXenovine)
{
    ParticleCreator::registerClass<BodyCell>("HumanPart");
    struct Case {
        bool grouped;
        int wax;
        int vines;
    };
    for (const Case& c : {Case{true, 10, 2}, Case{false, 0, 0}}) {
        SCOPED_TRACE(c.grouped);
        world->reset();
        world->placeBorderWalls();
        resetLivingRunStateForTests();
        auto* body = new MPObject();  // joins the world's objects, which free it
        std::vector<BodyCell*> cells;
        for (int i = 0; i < 12; ++i) {
            auto* cell = as<BodyCell>(put(52 + i, 50, BodyCell::kTypeId));
            if (c.grouped) {
                cell->setGroup(body);
                body->memberLists[0]->addObject(cocos2d_extensions::CCValue<Particle*>::create(cell));
            }
            cells.push_back(cell);
        }
        Stinger* s = stinger(50, 50);
        s->update();  // one step toward the body
        EXPECT_EQ(s->x, 51);
        s->timer = 1;
        s->update();
        EXPECT_EQ(count(TypeId::Wax), c.wax);
        EXPECT_EQ(count(Xenovine::kTypeId), c.vines);
        if (c.grouped) {
            EXPECT_EQ(typeAt(62, 50), Xenovine::kTypeId) << "the last two members";
            EXPECT_EQ(typeAt(63, 50), Xenovine::kTypeId);
            EXPECT_EQ(typeAt(52, 50), TypeId::Wax);
        } else {
            EXPECT_EQ(count(BodyCell::kTypeId), 12) << "an unbound cell is met like any other";
        }
    }
}

TEST_F(Alien, OneStingerDrivesTheFieldUntilItGoes)
{
    put(100, 50, Fish::kTypeId);
    Stinger* a = stinger(50, 50);
    Stinger* b = stinger(60, 60);
    a->update();
    EXPECT_EQ(Stinger::fieldDriver, a);
    b->update();
    EXPECT_EQ(Stinger::fieldDriver, a);
    EXPECT_EQ(b->x, 61) << "it follows the published field";
    world->removeParticle(a->x, a->y);
    EXPECT_EQ(Stinger::fieldDriver, nullptr);
    b->timer = 1;
    b->update();
    EXPECT_EQ(Stinger::fieldDriver, b);
}

// ---- the distance field ----

class Field : public Alien {
protected:
    DistanceField& field() { return DistanceField::instance(); }
    void install() { field().setKinds(Stinger::passableKinds(), Stinger::targetKinds()); }
};

TEST_F(Field, WithoutTargetsNothingIsLower)
{
    install();
    field().update();
    EXPECT_EQ(field().publishedAt(10, 10), DistanceField::kFar);
    EXPECT_EQ(field().findLowestNeighbour(10, 10), std::make_pair(-1, -1));
}

TEST_F(Field, TheLowestNeighbourLeadsToTheNearestTarget)
{
    struct Case {
        std::vector<std::pair<int, int>> targets;  // offsets from (100, 80)
        std::pair<int, int> expected;              // offset of the answer
    };
    const Case cases[] = {
        {{{2, 0}}, {1, 0}},
        {{{2, -1}, {2, 1}}, {1, -1}},  // a tie: the lower row wins
        {{{-3, 3}}, {-1, 1}},
    };
    for (const Case& c : cases) {
        world->reset();
        world->placeBorderWalls();
        field().reset();
        install();
        for (auto [dx, dy] : c.targets)
            put(100 + dx, 80 + dy, Fish::kTypeId);
        field().update();
        EXPECT_EQ(field().findLowestNeighbour(100, 80), std::make_pair(100 + c.expected.first, 80 + c.expected.second));
    }
}

TEST_F(Field, AnEnclosedCellFindsNoLowerNeighbour)
{
    install();
    put(120, 80, Fish::kTypeId);
    seal(100, 80);  // walls are not passable
    field().update();
    EXPECT_EQ(field().findLowestNeighbour(100, 80), std::make_pair(-1, -1));
    // Sand is: the field flows through it.
    world->reset();
    world->placeBorderWalls();
    field().reset();
    install();
    put(120, 80, Fish::kTypeId);
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (dx || dy)
                put(100 + dx, 80 + dy, TypeId::Sand);
    field().update();
    EXPECT_EQ(field().findLowestNeighbour(100, 80), std::make_pair(101, 80));
}

TEST_F(Field, ChangesShowOnlyOnceACycleSettlesAtMostEightSweepsAStep)
{
    install();
    put(230, 80, Fish::kTypeId);
    field().update();  // the first computation runs to the end
    EXPECT_EQ(field().findLowestNeighbour(20, 80), std::make_pair(21, 80));
    // The target moves to the far left: the next cycle takes more than one
    // update (distances spread leftward one column per sweep).
    world->removeParticle(230, 80);
    put(5, 80, Fish::kTypeId);
    const int32_t before = field().sweepsRun();
    field().update();
    EXPECT_EQ(field().sweepsRun() - before, DistanceField::kSweepsPerUpdate);
    EXPECT_EQ(field().findLowestNeighbour(20, 80), std::make_pair(21, 80)) << "still the published field";
    for (int i = 0; i < 100; ++i)
        field().update();
    EXPECT_EQ(field().findLowestNeighbour(20, 80), std::make_pair(19, 80));
}
