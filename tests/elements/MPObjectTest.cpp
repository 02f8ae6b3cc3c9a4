// The multi-pixel object and its cells: moving (order, ring, the two forms),
// carrying, breaking and collection, reshaping, save and load, and the
// registration of body cells after a load.
#include <algorithm>
#include <vector>

#include "MaterialWorld.h"
#include "cocos2d.h"
#include "elements/creatures/MPBase.h"
#include "elements/creatures/SmallCreatures.h"
#include "base/NSData.h"
#include "world/ByteStream.h"

using cocos2d::CCArray;
using cocos2d::ccColor4B;

namespace {

const uint32_t kBody = MPBodyBase::kTypeId;
const uint32_t kSand = hashString("Sand");
const uint32_t kStone = hashString("Stone");
const uint32_t kWall = hashString("Wall");  // stays put

class MPObjectTest : public MaterialWorld {
protected:
    // An object of body cells at the given cells, the first one the leader.
    MPObject* make(std::vector<std::pair<int, int>> cells)
    {
        auto* object = new MPObject();
        object->addLeader(put(cells[0].first, cells[0].second, kBody));
        for (size_t i = 1; i < cells.size(); ++i)
            EXPECT_NE(object->createPart(cells[i].first - cells[0].first, cells[i].second - cells[0].second, kBody),
                      nullptr);
        return object;
    }
    bool sorted(const MPObject& o) const
    {
        auto check = [](CCArray* list, bool byX) {
            for (unsigned i = 1; i < list->count(); ++i) {
                const Particle* a = static_cast<MPObject::Box*>(list->objectAtIndex(i - 1))->getValue();
                const Particle* b = static_cast<MPObject::Box*>(list->objectAtIndex(i))->getValue();
                if ((byX ? a->x : a->y) > (byX ? b->x : b->y))
                    return false;
            }
            return true;
        };
        return check(o.membersByX, true) && check(o.membersByY, false);
    }
    static ccColor4B colourOf(const Particle* p) { return p->color; }
};

TEST_F(MPObjectTest, MovesKeepEveryCellAndRefuseTheRing)
{
    struct Case {
        const char* name;
        int dx, dy;
        bool separate;
        int startX;  // leader column of a two-cell row object at row 50
        bool moved;
    };
    const Case cases[] = {
        {"right by one", 1, 0, true, 50, true},           {"left by one", -1, 0, true, 50, true},
        {"up and right combined", 1, 1, false, 50, true}, {"into column 0", -1, 0, true, 1, false},
        {"into the last column", 1, 0, true, 237, false}, {"nothing", 0, 0, true, 50, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MPObject* o = make({{c.startX, 50}, {c.startX + 1, 50}});
        Particle* a = world->at(c.startX, 50);
        Particle* b = world->at(c.startX + 1, 50);
        EXPECT_EQ(o->moveBy(c.dx, c.dy, c.separate), c.moved);
        const int ex = c.moved ? c.dx : 0;
        const int ey = c.moved ? c.dy : 0;
        EXPECT_EQ(world->at(c.startX + ex, 50 + ey), a);
        EXPECT_EQ(world->at(c.startX + 1 + ex, 50 + ey), b);
        EXPECT_TRUE(sorted(*o));
        o->broken = true;
        step();
        EXPECT_EQ(world->at(c.startX + ex, 50 + ey), nullptr);
    }
}

TEST_F(MPObjectTest, SeparateFallMadeWhenTheSideIsBlocked)
{
    MPObject* o = make({{50, 50}, {50, 51}});
    put(51, 49, kStone);  // blocks the side step at the fallen row
    EXPECT_FALSE(o->moveBy(1, -1, true));
    EXPECT_EQ(world->at(50, 49)->getType(), kBody);
    EXPECT_EQ(world->at(50, 50)->getType(), kBody);
    EXPECT_EQ(world->at(50, 51), nullptr);
}

TEST_F(MPObjectTest, CombinedMoveTestsFinalAndIntermediateCells)
{
    struct Case {
        const char* name;
        int blockX, blockY;
    };
    // Leader at (50, 50), head at (50, 51); move (+1, +1).
    const Case cases[] = {
        {"final cell foreign", 51, 52},
        {"intermediate cell foreign", 50, 52},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MPObject* o = make({{50, 50}, {50, 51}});
        Particle* foreign = put(c.blockX, c.blockY, kStone);
        EXPECT_FALSE(o->moveBy(1, 1, false));
        EXPECT_EQ(world->at(c.blockX, c.blockY), foreign);
        EXPECT_EQ(world->at(50, 50)->getType(), kBody);
        EXPECT_EQ(world->at(50, 51)->getType(), kBody);
        o->broken = true;
        world->removeParticle(c.blockX, c.blockY);
        step();
    }
}

TEST_F(MPObjectTest, CarriedParticlesMoveUntestedTargetsExcepted)
{
    MPObject* o = make({{50, 50}, {51, 50}});
    Particle* cargo = put(50, 51, kWall);
    o->carryParticleAt(50, 51);
    o->carryParticleAt(51, 50);  // own cell: ignored
    o->carryParticleAt(60, 60);  // empty: ignored
    EXPECT_EQ(o->carried->count(), 1u);
    EXPECT_TRUE(o->contains(cargo));
    ASSERT_TRUE(o->moveBy(1, 0, true));
    EXPECT_EQ(world->at(51, 51), cargo);
    // A carried particle's target holding a foreign particle refuses the move.
    Particle* wall = put(52, 51, kWall);
    EXPECT_FALSE(o->moveBy(1, 0, true));
    EXPECT_EQ(world->at(52, 51), wall);
    EXPECT_EQ(world->at(51, 51), cargo);
    o->dropCarried();
    EXPECT_FALSE(o->contains(cargo));
    EXPECT_EQ(o->membersByX->count(), 2u);
    EXPECT_EQ(o->membersByY->count(), 2u);
    // Broken: the cells go, the dropped cargo stays.
    o->broken = true;
    step();
    EXPECT_EQ(world->at(51, 51), cargo);
    EXPECT_EQ(world->at(51, 50), nullptr);
}

TEST_F(MPObjectTest, APartThatCannotBePlacedBreaksTheObject)
{
    put(51, 50, kWall);
    auto* o = new MPObject();
    o->addLeader(put(50, 50, kBody));
    EXPECT_NE(o->createPart(0, 1, kBody), nullptr);
    EXPECT_EQ(o->createPart(1, 0, kBody), nullptr);
    EXPECT_TRUE(o->broken);
    const unsigned objects = world->objects->count();
    step();
    EXPECT_EQ(world->objects->count(), objects - 1);
    EXPECT_EQ(world->at(50, 50), nullptr);
    EXPECT_EQ(world->at(50, 51), nullptr);
    EXPECT_EQ(typeAt(51, 50), kWall);
}

TEST_F(MPObjectTest, DestroyingAMemberBreaksTheRest)
{
    for (bool leader : {true, false}) {
        SCOPED_TRACE(leader ? "leader" : "body");
        MPObject* o = make({{50, 50}, {51, 50}, {52, 50}});
        world->removeParticle(leader ? 50 : 51, 50);
        EXPECT_TRUE(o->broken);
        EXPECT_EQ(o->members->count(), 2u);
        // Nothing reaches a destroyed leader through the object.
        EXPECT_EQ(o->leader == nullptr, leader);
        step();
        EXPECT_EQ(world->particleCount(), 0);
    }
}

TEST_F(MPObjectTest, RebuildRefusesForeignCellsAndNeedsALeader)
{
    MPObject* o = make({{50, 50}, {51, 50}});
    put(50, 51, kStone);
    auto parts = [](std::vector<std::pair<int, int>> offsets) {
        CCArray* list = CCArray::create();
        for (auto [dx, dy] : offsets)
            list->addObject(MPObject::PartBox::create(sBodyPart{dx, dy, kBody, {1, 2, 3, 255}}));
        return list;
    };
    CCArray* refused = parts({{0, 0}, {0, 1}});
    EXPECT_FALSE(o->rebuild(refused));
    EXPECT_EQ(refused->count(), 2u);
    EXPECT_EQ(o->members->count(), 2u);
    EXPECT_NE(colourOf(world->at(50, 50)).r, 1);
    // Accepted: (51, 50) leaves, (49, 50) is made, the leader recoloured.
    CCArray* taken = parts({{0, 0}, {-1, 0}});
    EXPECT_TRUE(o->rebuild(taken));
    EXPECT_EQ(taken->count(), 0u);
    step();
    EXPECT_EQ(world->at(51, 50), nullptr);
    EXPECT_TRUE(o->contains(world->at(49, 50)));
    EXPECT_EQ(colourOf(world->at(50, 50)).r, 1);
    // Without its leader the object reshapes nothing.
    o->removeAt(50, 50, true);
    EXPECT_EQ(o->leader, nullptr);
    EXPECT_FALSE(o->rebuild(parts({{0, 0}})));
    o->paintScheme(cocos2d::CCString::create("anything"), 1);
    EXPECT_FALSE(o->removeAt(70, 70, false));
}

TEST_F(MPObjectTest, AReplacedMemberHandsItsPlaceToTheNewCell)
{
    MPObject* o = make({{50, 50}, {51, 50}});
    CCArray* list = CCArray::create();
    list->addObject(MPObject::PartBox::create(sBodyPart{0, 0, kBody, {5, 5, 5, 255}}));
    list->addObject(MPObject::PartBox::create(sBodyPart{1, 0, MPRabbitBody::kTypeId, {9, 9, 9, 255}}));
    ASSERT_TRUE(o->rebuild(list));
    step();
    Particle* fresh = world->at(51, 50);
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->getType(), MPRabbitBody::kTypeId);
    EXPECT_EQ(fresh->getGroup(), o);
    EXPECT_EQ(o->members->count(), 2u);
    EXPECT_FALSE(o->broken);
    // Freed with the object, no cell keeps the group.
    o->broken = true;
    step();
    EXPECT_EQ(world->at(51, 50), nullptr);
}

TEST_F(MPObjectTest, AMemberListReaderSeesEveryCell)
{
    MPObject* o = make({{50, 50}, {51, 50}, {51, 51}});
    std::vector<Particle*> seen;
    for (unsigned i = 0; i < o->memberLists[MPObject::kMembers]->count(); ++i)
        seen.push_back(static_cast<MPObject::Box*>(o->members->objectAtIndex(i))->getValue());
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0], o->leader);
    for (Particle* p : seen)
        EXPECT_EQ(p->getGroup(), o);
}

TEST_F(MPObjectTest, AFreeBodyCellSavesAFullRecordThatRemovesItself)
{
    Particle* cell = put(50, 50, kBody);
    std::vector<uint8_t> bytes;
    ByteWriter out(bytes);
    cell->saveExtra(out);
    ASSERT_EQ(bytes.size(), 12u);
    EXPECT_TRUE(std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == 0; }));
    ByteReader in(bytes.data(), bytes.size());
    cell->loadExtra(in);
    step();  // registers: (0, 0) removes it
    step();
    EXPECT_EQ(world->at(50, 50), nullptr);
}

TEST_F(MPObjectTest, RegisteredCellsFollowTheirLeader)
{
    // A loaded leader and two loaded cells: one cell is destroyed before
    // the leader assembles; the leader takes the other.
    auto* leader = static_cast<MPLeaderBase*>(put(50, 50, MPLeaderTetris::kTypeId));
    std::vector<uint8_t> record;
    ByteWriter out(record);
    out.i32(50);
    out.i32(50);
    out.i32(0);
    std::vector<uint8_t> none;
    ByteReader leaderIn(none.data(), 0);
    leader->loadExtra(leaderIn);
    for (int x : {51, 52}) {
        ByteReader in(record.data(), record.size());
        put(x, 50, kBody)->loadExtra(in);
    }
    leader->update();  // 2 -> 1
    world->at(51, 50)->update();
    world->at(52, 50)->update();
    ASSERT_NE(leader->registeredParts, nullptr);
    EXPECT_EQ(leader->registeredParts->count(), 2u);
    world->removeParticle(52, 50);
    EXPECT_EQ(leader->registeredParts->count(), 1u);
    leader->update();  // 1 -> 0
    leader->update();  // assembles
    ASSERT_NE(leader->group, nullptr);
    EXPECT_EQ(leader->group->members->count(), 2u);

    // A leader destroyed before assembling takes its registered cells along.
    auto* second = static_cast<MPLeaderBase*>(put(80, 50, MPLeaderTetris::kTypeId));
    second->loadExtra(leaderIn);
    std::vector<uint8_t> record2;
    ByteWriter out2(record2);
    out2.i32(80);
    out2.i32(50);
    out2.i32(0);
    ByteReader in2(record2.data(), record2.size());
    Particle* cell = put(81, 50, kBody);
    cell->loadExtra(in2);
    cell->update();
    world->removeParticle(80, 50);
    step();
    EXPECT_EQ(world->at(81, 50), nullptr);
}

TEST_F(MPObjectTest, ACreatureIsWholeOnTheThirdStepAfterALoad)
{
    fill(1, 1, 238, 40, kStone);
    put(100, 60, MPLeaderTetris::kTypeId);
    step();
    step();
    int cells = 0;
    for (Particle* p : world->pool())
        cells += p && p->getGroup() != nullptr;
    ASSERT_EQ(cells, 4);
    NSData* blob = world->save();
    ASSERT_NE(blob, nullptr);
    const std::vector<uint8_t> bytes(blob->bytes, blob->bytes + blob->length);
    world = std::make_unique<World>();
    gWorld = world.get();
    world->setBigWorld(true);
    world->placeBorderWalls();
    ASSERT_TRUE(world->loadBytes(bytes.data(), bytes.size()));
    Particle* leader = nullptr;
    for (Particle* p : world->pool())
        if (p && p->getType() == MPLeaderTetris::kTypeId)
            leader = p;
    ASSERT_NE(leader, nullptr);
    step();
    step();
    EXPECT_EQ(leader->getGroup(), nullptr);
    step();
    ASSERT_NE(leader->getGroup(), nullptr);
    EXPECT_EQ(leader->getGroup()->members->count(), 4u);
    EXPECT_EQ(count(MPBodyBase::kTypeId), 3);
}

}  // namespace
