// Inlets find their outlets through plain pipes and serve them in turn,
// routed by LED colour; the network never keeps a removed outlet or a pipe
// twice.
#include "DeviceTesting.h"
#include "MaterialWorld.h"
#include "elements/materials/Leds.h"
#include "elements/materials/Liquids.h"
#include "elements/materials/Pipes.h"

namespace {
// A line: inlet at (x, y), plain pipes x + 1 .. x + length, outlet after them.
struct Line {
    PipeIn* inlet;
    PipeOut* outlet;
};
}  // namespace

class PipeLine : public MaterialWorld {
protected:
    Line line(int x, int y, int length)
    {
        auto* in = as<PipeIn>(put(x, y, PipeIn::kTypeId));
        fill(x + 1, y, x + length, y, Pipe::kTypeId);
        auto* out = as<PipeOut>(put(x + length + 1, y, PipeOut::kTypeId));
        return {in, out};
    }
    // Updates the inlet with water waiting at (wx, wy); whether it took it.
    bool feed(PipeIn* in, int wx, int wy)
    {
        if (!world->at(wx, wy))
            put(wx, wy, Water::kTypeId);
        in->update();
        return world->at(wx, wy) == nullptr;
    }
};

TEST_F(PipeLine, WaterGoesInAtTheInletAndComesOutBeyondTheOutlet)
{
    const Line l = line(20, 50, 10);
    EXPECT_FALSE(feed(l.inlet, 19, 50)) << "the first update searches";
    EXPECT_EQ(l.inlet->outlets.size(), 1u);
    EXPECT_TRUE(feed(l.inlet, 19, 50));
    EXPECT_EQ(typeAt(32, 50), Water::kTypeId) << "on the side away from the pipe";
}

TEST_F(PipeLine, ThreeOutletsTakeThreeTransfersInFourUpdates)
{
    put(20, 50, PipeIn::kTypeId);
    auto* in = as<PipeIn>(world->at(20, 50));
    fill(21, 50, 30, 50, Pipe::kTypeId);
    put(31, 50, PipeOut::kTypeId);
    put(30, 51, PipeOut::kTypeId);
    put(30, 49, PipeOut::kTypeId);
    std::vector<int> moved;
    for (int update = 1; update <= 11; ++update) {
        if (feed(in, 19, 50))
            moved.push_back(update);
    }
    EXPECT_EQ(in->outlets.size(), 3u);
    EXPECT_EQ(moved, (std::vector<int>{2, 4, 5, 6, 8, 9, 10}));
    EXPECT_EQ(typeAt(32, 50), Water::kTypeId);
    EXPECT_EQ(typeAt(30, 52), Water::kTypeId);
    EXPECT_EQ(typeAt(30, 48), Water::kTypeId);
}

TEST_F(PipeLine, LedColoursRouteTheMaterial)
{
    struct Case {
        uint32_t atInlet, atOutlet;  // 0 = no LED
        bool flows;
    };
    const Case cases[] = {{0, 0, true},
                          {LedRed::kTypeId, LedRed::kTypeId, true},
                          {LedRed::kTypeId, LedBlue::kTypeId, false},
                          {LedRed::kTypeId, 0, false}};
    int y = 30;
    for (const Case& c : cases) {
        const Line l = line(20, y, 6);
        if (c.atInlet)
            put(20, y + 1, c.atInlet);
        if (c.atOutlet)
            put(27, y + 1, c.atOutlet);
        l.outlet->update();
        int moved = 0;
        for (int update = 0; update < 8; ++update)
            moved += feed(l.inlet, 19, y);
        EXPECT_EQ(moved > 0, c.flows) << "case at row " << y;
        y += 10;
    }
}

TEST_F(PipeLine, ASecondInletFindsNothingUntilAReset)
{
    const Line l = line(20, 50, 10);
    auto* second = as<PipeIn>(put(25, 51, PipeIn::kTypeId));
    l.inlet->update();
    EXPECT_EQ(l.inlet->outlets.size(), 1u);
    second->update();
    EXPECT_TRUE(second->outlets.empty()) << "every segment already visited";
    PipeNetwork::getInstance().reset();
    EXPECT_TRUE(l.inlet->outlets.empty());
    second->update();
    EXPECT_EQ(second->outlets.size(), 1u);
}

TEST_F(PipeLine, AnOutletTouchingTheInletIsNeverFound)
{
    line(20, 80, 5);  // pipes elsewhere, so the network has segments
    auto* in = as<PipeIn>(put(20, 60, PipeIn::kTypeId));
    put(21, 60, PipeOut::kTypeId);
    for (int update = 0; update < 40; ++update)
        EXPECT_FALSE(feed(in, 19, 60));
    EXPECT_TRUE(in->outlets.empty());
}

TEST_F(PipeLine, ARemovedOutletIsNeverUsed)
{
    const Line l = line(20, 50, 10);
    l.inlet->update();
    ASSERT_EQ(l.inlet->outlets.size(), 1u);
    world->removeParticle(31, 50);
    EXPECT_TRUE(l.inlet->outlets.empty()) << "removing an outlet resets the network";
    for (int update = 0; update < 40; ++update)
        EXPECT_FALSE(feed(l.inlet, 19, 50));
}

TEST_F(PipeLine, RegisteringAgainNeverListsAPipeTwice)
{
    PipeNetwork& net = PipeNetwork::getInstance();
    const Line l = line(20, 50, 3);
    const size_t pipes = net.pipeCount();
    const size_t inlets = net.inletCount();
    const size_t outlets = net.outletCount();
    for (Particle* p : {world->at(21, 50), static_cast<Particle*>(l.inlet), static_cast<Particle*>(l.outlet)})
        static_cast<PipeBase*>(static_cast<MaterialParticle*>(p))->registerInNetwork();
    EXPECT_EQ(net.pipeCount(), pipes);
    EXPECT_EQ(net.inletCount(), inlets);
    EXPECT_EQ(net.outletCount(), outlets);
    world->removeParticle(20, 50);
    world->removeParticle(21, 50);
    world->removeParticle(24, 50);
    EXPECT_EQ(net.pipeCount(), pipes - 3);
    EXPECT_EQ(net.inletCount(), inlets - 1);
    EXPECT_EQ(net.outletCount(), outlets - 1);
}

TEST_F(PipeLine, OnlyTheListedKindsAreTakenIn)
{
    for (uint32_t kind : {TypeId::Steam, TypeId::Fire, TypeId::of("Wood"), TypeId::Metal})
        EXPECT_FALSE(PipeIn::acceptsKind(kind)) << ParticleCreator::getName(kind);
    for (uint32_t kind : {TypeId::Water, TypeId::Sand, TypeId::Lava, TypeId::of("Ruby"), TypeId::of("Aluminite")})
        EXPECT_TRUE(PipeIn::acceptsKind(kind)) << ParticleCreator::getName(kind);
}
