#include "scenes/WorldScenes.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>

#include "SimpleAudioEngine.h"
#include "base/Crc32.h"
#include "elements/creatures/CreatureCounts.h"
#include "elements/creatures/HumanLeader.h"
#include "elements/creatures/MPObject.h"
#include "elements/creatures/SmallCreatures.h"
#include "elements/materials/Powders.h"
#include "elements/materials/Wiring.h"
#include "platform/GameRandom.h"
#include "world/ByteStream.h"
#include "world/ParticleCreator.h"

namespace scenes {

namespace {

constexpr uint32_t id(const char* name)
{
    return hashString(name);
}

// Rows of the walls that keep two scenes' creatures alive.
constexpr int kCrittersCeiling = 105;
constexpr int kColonyShelf = 90;

// How many particles of any of the kinds the pool holds.
int countOf(const BenchWorld& b, std::initializer_list<const char*> kinds)
{
    int n = 0;
    for (const Particle* p : b.world->pool()) {
        if (!p)
            continue;
        const uint32_t type = p->getType();
        for (const char* kind : kinds)
            n += type == id(kind);
    }
    return n;
}

}  // namespace

BenchWorld::BenchWorld()
{
    platform::seedGameRand(1234u);
    world = std::make_unique<World>();
    gWorld = world.get();
    world->setBigWorld(true);
    world->placeBorderWalls();
}

BenchWorld::~BenchWorld()
{
    world.reset();
    gWorld = nullptr;
}

int BenchWorld::count(uint32_t type) const
{
    int n = 0;
    for (Particle* p : world->pool())
        n += p && p->getType() == type;
    return n;
}

void buildMixed(BenchWorld& b)
{
    static const uint32_t kBands[] = {id("Sand"), id("Water"), id("Stone"), id("Wood"), id("Oil"), id("Wax")};
    World& w = *b.world;
    for (int y = 1; y < w.height - 1; ++y) {
        const uint32_t type = kBands[((y - 1) / 8) % 6];
        for (int x = 1; x < w.width - 1; ++x)
            b.put(x, y, type);
    }
}

// The mixed scene after 200 untimed steps, once the first rush has settled.
void buildSettledMixed(BenchWorld& b)
{
    buildMixed(b);
    for (int i = 0; i < 200; ++i)
        b.world->step();
}

// Trunks two cells wide with a gap of one, standing on stone. The gaps'
// feet hold burning oil, and the forest is set alight: its lower half starts
// hot enough for wood to catch (heat spreads too slowly for a flame at the
// foot of a trunk to light the whole of it).
void buildForest(BenchWorld& b)
{
    World& w = *b.world;
    for (int y = 1; y <= 6; ++y)
        for (int x = 1; x < w.width - 1; ++x)
            b.put(x, y, id("Stone"));
    for (int x = 2; x + 2 < w.width - 1; x += 3) {
        for (int y = 7; y < 120; ++y) {
            b.put(x, y, id("Wood"));
            b.put(x + 1, y, id("Wood"));
        }
        for (int y = 7; y <= 10; ++y)
            b.put(x + 2, y, id("OilBurning"));
    }
    for (int x = 1; x < w.width - 1; ++x)
        for (int y = 7; y < 60; ++y)
            w.temperatureField.setAt(x, y, 2000.0f);
}

void buildLights(BenchWorld& b)
{
    World& w = *b.world;
    for (int y = 1; y <= 60; ++y)
        for (int x = 1; x < w.width - 1; ++x)
            b.put(x, y, id("Stone"));
    int placed = 0;
    while (placed < 300) {
        const int x = 2 + gameRand() % (w.width - 4);
        const int y = 61 + gameRand() % (w.height - 63);
        if (!w.at(x, y)) {
            b.put(x, y, id("Bright"));
            ++placed;
        }
    }
    w.lightMap.setSunOn(true);
    w.lightMap.setLightOn(true);
}

void buildAcidVirus(BenchWorld& b)
{
    static const uint32_t kGems[] = {id("Amatist"),  id("Citrine"), id("Diamond"),  id("Emerald"), id("Lapislazuli"),
                                     id("Obsidian"), id("Ruby"),    id("Sapphire"), id("Zircon")};
    World& w = *b.world;
    const int vx = (w.width - 30) / 2;
    const int vy = w.height - 45;
    for (int x = 1; x < w.width - 1; ++x) {
        for (int y = 1; y <= 3; ++y)
            b.put(x, y, id("Stone"));
        b.put(x, 4, id("Metal"));
        for (int y = 5; y < 14; ++y)
            b.put(x, y, kGems[y - 5]);
        for (int y = 14; y < 54; ++y)
            b.put(x, y, id("Water"));
        for (int y = 54; y < 84; ++y)
            b.put(x, y, id("Acid"));
        for (int y = 84; y < w.height - 1; ++y) {
            const bool virus = x >= vx && x < vx + 30 && y >= vy && y < vy + 30;
            b.put(x, y, virus ? id("Virus") : id("Wood"));
        }
    }
}

void buildBlasts(BenchWorld& b)
{
    World& w = *b.world;
    for (int x = 1; x < w.width - 1; ++x)
        for (int y = 1; y <= 10; ++y)
            b.put(x, y, id("Sand"));
    // Two rows of twenty 6 x 6 blocks: C4 below, TNT above; a spark over
    // every C4 block and a hot lava cell beside every TNT block.
    for (int i = 0; i < 20; ++i) {
        const int x0 = 3 + 11 * i;
        for (int x = x0; x < x0 + 6; ++x)
            for (int y = 11; y < 17; ++y) {
                b.put(x, y, id("C4"));
                b.put(x, y + 8, id("Tnt"));
            }
        b.put(x0 + 2, 19, id("Electro"));
        b.put(x0 + 7, 20, id("Lava"));
        w.temperatureField.setAt(x0 + 7, 20, 2000.0f);
    }
    // A plate of 200 fireworks, lit.
    for (int x = 20; x < 220; ++x) {
        b.put(x, 40, id("Stone"));
        b.put(x, 41, id("Fireworks"));
        w.temperatureField.setAt(x, 41, 2000.0f);
    }
    for (int i = 0; i < 100; ++i)
        b.put(10 + 2 * i + (i / 100), 100 + (i % 3) * 10, id("Bomb"));
    for (int i = 0; i < 20; ++i)
        b.put(12 + 11 * i, w.height - 10, id("Meteor"));
}

void buildStorm(BenchWorld& b)
{
    World& w = *b.world;
    w.weather = true;
    for (int x = 1; x < w.width - 1; ++x) {
        for (int y = 1; y <= 5; ++y)
            b.put(x, y, id("Stone"));
        for (int y = 6; y < 30; ++y)
            b.put(x, y, id("Water"));
        // A broken wire on the water for the lightning to strike.
        if (x % 3 == 0)
            b.put(x, 30, id("Metal"));
    }
    // Eight blocks of 800 cells, 50 x 16, one cell apart, in two rows.
    for (int block = 0; block < 8; ++block) {
        const int x0 = 10 + 55 * (block % 4);
        const int y0 = 100 + 20 * (block / 4);
        for (int x = x0; x < x0 + 50; ++x)
            for (int y = y0; y < y0 + 16; ++y)
                b.put(x, y, id("Cloud"));
    }
    // The left quarter is cold enough for snow.
    for (int x = 1; x < w.width / 4; ++x)
        for (int y = 80; y < w.height - 1; ++y)
            w.temperatureField.setAt(x, y, -2550.0f);
}

// The living scenes.
static void buildPond(BenchWorld& b, int x0, int x1, int fish, int deepSeaFish)
{
    for (int y = 4; y <= 30; ++y) {
        b.put(x0 - 1, y, id("Wall"));
        b.put(x1 + 1, y, id("Wall"));
    }
    for (int x = x0; x <= x1; ++x) {
        for (int y = 4; y <= 5; ++y)
            b.put(x, y, id("Mud"));
        for (int y = 6; y <= 28; ++y)
            b.put(x, y, id("Water"));
    }
    for (int x = x0 + 4; x <= x1 - 4; x += 8)
        b.put(x, 6, id("Algae"));
    World& w = *b.world;
    for (int i = 0; i < fish + deepSeaFish; ++i) {
        const int x = x0 + 1 + (i * 7) % (x1 - x0 - 1);
        const int y = 8 + (i * 5) % 18;
        w.removeParticle(x, y);
        b.put(x, y, id(i < fish ? "Fish" : "DeepSeaFish"));
    }
}

void buildLiving(BenchWorld& b)
{
    World& w = *b.world;
    for (int x = 1; x < w.width - 1; ++x)
        for (int y = 1; y <= 3; ++y)
            b.put(x, y, id("Stone"));
    const int bedEnd = (w.width - 2) * 2 / 3;
    for (int x = 1; x <= bedEnd; ++x)
        for (int y = 4; y <= 7; ++y)
            b.put(x, y, id("Mud"));
    for (int x = 12; x < bedEnd - 8; x += 22)
        b.put(x, 40, id("Seed"));
    for (int x = 5; x < bedEnd; x += 6) {
        b.put(x, 8, id("Grass"));
        if (auto* blade = dynamic_cast<SeededGrowth*>(w.at(x, 8)))
            blade->seedGrowth(2, x % 12 == 5);
    }
    buildPond(b, bedEnd + 3, w.width - 3, 40, 4);
    w.lightMap.setSunOn(true);
    for (int i = 0; i < 1000; ++i)
        w.step();
    // The animals of the air, placed in free cells.
    auto scatter = [&](const char* kind, int n, int x0, int x1, int y0, int y1) {
        for (int placed = 0, tries = 0; placed < n && tries < 10000; ++tries) {
            const int x = x0 + gameRand() % (x1 - x0 + 1);
            const int y = y0 + gameRand() % (y1 - y0 + 1);
            if (!w.at(x, y)) {
                b.put(x, y, id(kind));
                ++placed;
            }
        }
    };
    scatter("Bee", 60, 5, bedEnd, 50, 120);
    scatter("Firefly", 20, 5, bedEnd, 50, 120);
    scatter("Flamingo", 10, bedEnd + 5, w.width - 5, 40, 60);
}

void buildAlien(BenchWorld& b)
{
    World& w = *b.world;
    for (int x = 1; x < w.width - 1; ++x)
        for (int y = 1; y <= 3; ++y)
            b.put(x, y, id("Stone"));
    const int fieldEnd = 150;
    for (int x = 2; x <= fieldEnd; ++x)
        for (int y = 4; y <= 6; ++y)
            b.put(x, y, id("Soil"));
    for (int x = 4; x <= fieldEnd - 2; x += 2)
        for (int y = 10; y <= 14; y += 2)
            b.put(x, y, id("Xenovine"));
    for (int x = 10; x <= fieldEnd; x += 14)
        b.put(x, 20, id("Pirantha"));
    for (int i = 0; i < 5; ++i)
        b.put(30 + 25 * i, 40, id("Stinger"));
    buildPond(b, fieldEnd + 6, w.width - 3, 40, 4);
    w.lightMap.setSunOn(false);
}

// Hills of soil on stone, grass on top, and the creatures scattered above;
// the invaders above a wall ceiling.
void buildCritters(BenchWorld& b)
{
    World& w = *b.world;
    for (int x = 1; x < w.width - 1; ++x) {
        const int top = 20 + static_cast<int>(8.0 * std::sin(x / 14.0) + 4.0 * std::sin(x / 5.0));
        for (int y = 1; y <= top; ++y)
            b.put(x, y, id(y < top - 4 ? "Stone" : "Soil"));
        b.put(x, top + 1, id("Grass"));
    }
    // A wall ceiling under the invaders: their guns fire straight down, and
    // without it nothing below lives through the settling.
    for (int x = 1; x < w.width - 1; ++x)
        b.put(x, kCrittersCeiling, id("Wall"));
    // The lions first: their bodies are the largest.
    for (int i = 0; i < 4; ++i)
        b.put(30 + i * 55, 50, id("LionLeader"));
    w.step();
    for (int i = 0; i < 60; ++i)
        b.put(4 + (i * 37) % (w.width - 8), 45 + (i % 5) * 4, id("MPLeaderRabbit"));
    for (int i = 0; i < 40; ++i)
        b.put(6 + (i * 53) % (w.width - 12), 70 + (i % 4) * 8, id("Tetro"));
    for (int i = 0; i < MPInvader::kPictures; ++i) {
        b.put(12 + i * 19, 130 + (i % 2) * 12, id("MPInvader"));
        auto* invader = static_cast<MPInvader*>(w.at(12 + i * 19, 130 + (i % 2) * 12));
        if (!invader)
            continue;
        invader->group = new MPObject();
        invader->group->addLeader(invader);
        invader->buildFromImage(i);
        invader->buildState = -2;
    }
    for (int i = 0; i < 500; ++i)
        w.step();
}

// Six humans at work (two woodchoppers, two miners, a hunter and a builder
// with stock) and four lions by a forest, a stone and gem hill, grass with
// 40 rabbits and a pond; five guardian robots on a shelf above them.
void buildColony(BenchWorld& b)
{
    World& w = *b.world;
    for (int x = 1; x < w.width - 1; ++x) {
        for (int y = 1; y <= 12; ++y)
            b.put(x, y, id("Stone"));
        for (int y = 13; y <= 16; ++y)
            b.put(x, y, id(x >= 200 && x < 230 ? "Water" : "Soil"));
        if (x >= 130 && x < 195)
            b.put(x, 17, id("Grass"));
    }
    for (int x = 10; x < 40; x += 6)
        for (int y = 17; y < 32; ++y)
            b.put(x, y, id("Wood"));
    for (int x = 95; x < 125; ++x)
        for (int y = 17; y < 17 + std::min(x - 94, 125 - x); ++y)
            b.put(x, y, id(y % 5 == 0 ? "Diamond" : "Stone"));
    for (int i = 0; i < 4; ++i)
        b.put(140 + i * 14, 40, id("LionLeader"));
    w.step();
    for (int i = 0; i < 40; ++i)
        b.put(131 + (i * 7) % 62, 18 + (i % 3) * 3, id("MPLeaderRabbit"));
    const char* dusts[] = {"WoodcutterDust", "WoodcutterDust", "MinerDust", "MinerDust", "HunterDust", "BuilderDust"};
    const int columns[] = {45, 55, 85, 128, 135, 65};
    for (int i = 0; i < 6; ++i) {
        // On the ground, or on the grass and rabbits where they stand.
        int y = 17;
        while (w.at(columns[i], y))
            ++y;
        b.put(columns[i], y, id("HumanLeader"));
        b.put(columns[i] + 2, 40, id(dusts[i]));
    }
    // The robots patrol a walled shelf high above: a guardian shoots every
    // human it sees, and on the ground none would be left by the timing.
    for (int x = 10; x <= 230; ++x)
        b.put(x, kColonyShelf, id("Wall"));
    for (int y = kColonyShelf + 1; y <= kColonyShelf + 10; ++y) {
        b.put(10, y, id("Wall"));
        b.put(230, y, id("Wall"));
    }
    for (int i = 0; i < 5; ++i)
        b.put(20 + i * 40, kColonyShelf + 5, id("RobotLeader"));
    HumanLeader::replaceResources();
    HumanLeader::addResource("Wood", 20);
    HumanLeader::addResource("Stone", 20);
    for (int i = 0; i < 500; ++i)
        w.step();
}

// A packed charge field: a sand bed under 60 rows of TNT across the whole
// world, a hot lava cell inside. Its heat sets the field off within a few
// steps, thousands of charges in one step, each blast's rays running through
// the sand. Reports the worst step, the most replacements queued for one
// step, the most the queue held room for, and resident memory at the peak
// and once the worlds are gone.
void buildChargeField(BenchWorld& b)
{
    World& w = *b.world;
    for (int x = 1; x < w.width - 1; ++x) {
        for (int y = 1; y <= 40; ++y)
            b.put(x, y, id("Sand"));
        for (int y = 41; y <= 100; ++y)
            b.put(x, y, id(x == 120 && y == 70 ? "Lava" : "Tnt"));
    }
    w.temperatureField.setAt(120, 70, 2000.0f);
}

static void setPeriod(World& w, int x, int y, int32_t period)
{
    if (auto* power = dynamic_cast<Power*>(w.at(x, y)))
        power->period = period;
}

// Wires every six rows (y = 20 .. 140) joined by columns every 20, the
// devices standing on the cells just above the wires.
void buildWired(BenchWorld& b)
{
    World& w = *b.world;
    for (int x = 1; x < w.width - 1; ++x)
        b.put(x, 1, id("Stone"));
    for (int y = 20; y <= 140; y += 6)
        for (int x = 10; x < 230; ++x)
            b.put(x, y, id("Metal"));
    for (int x = 10; x < 230; x += 20)
        for (int y = 20; y <= 140; ++y)
            if (!w.at(x, y))
                b.put(x, y, id("Metal"));
    // 24 sources on the left ends, periods 4, 8, 16, 32 in turn.
    for (int i = 0; i < 21; ++i) {
        b.put(9, 20 + 6 * i, id("Power"));
        setPeriod(w, 9, 20 + 6 * i, 4 << (i % 4));
    }
    for (int i = 0; i < 3; ++i) {
        b.put(230, 20 + 36 * i, id("Power"));
        setPeriod(w, 230, 20 + 36 * i, 4 << (i % 4));
    }
    // 40 CrossWires where extra columns cross the wires.
    for (int i = 0; i < 40; ++i) {
        const int x = 15 + 20 * (i % 10);
        const int y = 26 + 6 * (i / 10) * 4;
        w.removeParticle(x, y);
        b.put(x, y, id("CrossWire"));
        for (int dy : {-1, 1})
            if (!w.at(x, y + dy))
                b.put(x, y + dy, id("Metal"));
    }
    // On the cells above the wires: bulbs, heaters, coolers, LEDs, sensors,
    // instruments, and belts with sand two rows up.
    const char* sensors[] = {"ColdSensor", "VeryColdSensor", "NormalSensor", "HotSensor",   "VeryHotSensor",
                             "GasSensor",  "LiquidSensor",   "HumanSensor",  "LightSensor", "LedSensor"};
    const char* instruments[] = {"Bass", "Drums", "Guitar", "Trumpet", "Note"};
    int bulbs = 0, heaters = 0, coolers = 0, leds = 0, sensorCount = 0, belts = 0, played = 0;
    for (int y = 21; y <= 141; y += 6)
        for (int x = 11; x < 229; ++x) {
            if (w.at(x, y))
                continue;
            const int slot = (x + y) % 11;
            if (leds < 600 && slot < 3) {
                b.put(x, y, id(leds % 2 ? "LedGreen" : "LedRed"));
                ++leds;
            } else if (sensorCount < 100 && slot == 3) {
                b.put(x, y, id(sensors[sensorCount % 10]));
                ++sensorCount;
            } else if (bulbs < 60 && slot == 4) {
                b.put(x, y, id("Bulb"));
                ++bulbs;
            } else if (heaters < 20 && slot == 5) {
                b.put(x, y, id("Heater"));
                ++heaters;
            } else if (coolers < 20 && slot == 6) {
                b.put(x, y, id("Cooler"));
                ++coolers;
            } else if (played < 20 && slot == 7 && y > 100) {
                b.put(x, y, id(instruments[played % 5]));
                ++played;
            } else if (belts < 30 && slot == 8 && y < 60) {
                b.put(x, y, id(x % 2 ? "ConveyorBeltR" : "ConveyorBeltL"));
                b.put(x, y + 1, id("Sand"));
                ++belts;
            }
        }
}

// Rows six apart: a laser (or a transmitter on a fed wire) fires right
// through glass, over a gem on a wall shelf, through a pair of corners (odd
// rows) and a splitter, onto a stone column.
void buildLasers(BenchWorld& b)
{
    World& w = *b.world;
    const char* gems[] = {"Amatist",  "Citrine", "Diamond",  "Emerald", "Lapislazuli",
                          "Obsidian", "Ruby",    "Sapphire", "Zircon"};
    for (int y = 2; y < w.height - 2; ++y)
        b.put(220, y, id("Stone"));
    for (int i = 0; i < 24; ++i) {
        const int y = 8 + 6 * i;
        if (i % 2) {
            // A source whose pulse runs down a short wire past the
            // transmitter, so current reaches it every step.
            b.put(3, y + 1, id("Power"));
            setPeriod(w, 3, y + 1, 4);
            b.put(2, y + 1, id("Metal"));
            b.put(2, y, id("Metal"));
            b.put(3, y, id("LaserTrans"));
        } else {
            b.put(3, y, id("Laser"));
        }
        b.put(4, y, id("Glass"));
        b.put(30, y - 1, id("Wall"));
        b.put(30, y, id(gems[i % 9]));
        // Odd rows first turn up two rows through a pair of corners.
        int row = y;
        if (i % 2) {
            b.put(40, y, id("Glass"));
            b.put(41, y - 1, id("Glass"));
            b.put(42, y - 3, id("Glass"));
            b.put(43, y - 3, id("Glass"));
            row = y - 2;
        }
        // A splitter: the beam goes on and two more leave beside it.
        b.put(60, row, id("Glass"));
        b.put(59, row - 1, id("Glass"));
        b.put(59, row + 1, id("Glass"));
    }
}

// Water (left) and sand (right) pools; 8 inlets inside them, each at the foot
// of a pipe column up to a 230 x 17 block of pipe at rows 60 .. 76; 48 outlets
// on top of the block, each with an LED beside it.
void buildPipes(BenchWorld& b)
{
    World& w = *b.world;
    const char* leds[] = {"LedBlue", "LedGreen", "LedOrange", "LedPurple", "LedRed", "LedYellow"};
    for (int x = 1; x < w.width - 1; ++x)
        for (int y = 1; y <= 40; ++y)
            b.put(x, y, id(x < 120 ? "Water" : "Sand"));
    for (int i = 0; i < 8; ++i) {
        const int x = 15 + 29 * i;
        w.removeParticle(x, 20);
        b.put(x, 20, id("PipeIn"));
        if (i < 6) {
            w.removeParticle(x + 1, 20);
            b.put(x + 1, 20, id(leds[i]));
        }
        for (int y = 21; y < 60; ++y) {
            w.removeParticle(x, y);
            b.put(x, y, id("Pipe"));
        }
    }
    for (int x = 5; x < 235; ++x)
        for (int y = 60; y <= 76; ++y)
            b.put(x, y, id("Pipe"));
    for (int i = 0; i < 48; ++i) {
        const int x = 8 + 4 * i;
        b.put(x, 77, id("PipeOut"));
        b.put(x + 1, 77, id(leds[i % 6]));
    }
}

// Traffic: the mixed bands in the lower 96 rows, settled; a stone road over
// them between end walls; five vehicles driving: a beetle, a sports car, two
// trucks hauling sand (31 grains each, so they dump) and a tank shelling a
// stone target. Rebuilt, untimed, every 600 steps (the target is shot away).
void buildTraffic(BenchWorld& b)
{
    static const uint32_t kBands[] = {id("Sand"), id("Water"), id("Stone"), id("Wood"), id("Oil"), id("Wax")};
    World& w = *b.world;
    for (int y = 1; y <= 96; ++y)
        for (int x = 1; x < w.width - 1; ++x)
            b.put(x, y, kBands[((y - 1) / 8) % 6]);
    for (int i = 0; i < 200; ++i)
        w.step();
    for (int x = 1; x < w.width - 1; ++x)
        for (int y = 97; y <= 98; ++y)
            if (!w.at(x, y))
                b.put(x, y, id("Stone"));
    for (int y = 99; y <= 130; ++y) {
        b.put(2, y, id("Wall"));
        b.put(w.width - 3, y, id("Wall"));
    }
    for (int x = 215; x <= 219; ++x)
        for (int y = 99; y <= 110; ++y)
            b.put(x, y, id("Stone"));
    b.put(20, 99, id("MPLeaderCar"));
    b.put(50, 99, id("MPSportCar"));
    b.put(80, 99, id("MPLeaderTruck"));
    b.put(125, 99, id("MPLeaderTruck"));
    b.put(185, 99, id("MPLeaderTank"));
    w.step();
    for (int truckX : {80, 125}) {
        int grains = 0;
        for (int y = 102; y <= 105; ++y)
            for (int x = truckX - 1; x <= truckX + 6 && grains < 31; ++x, ++grains)
                b.put(x, y, id("Sand"));
    }
}

void step(BenchWorld& b)
{
    b.world->step();
    // As the director does every frame: what the step let go of goes now.
    cocos2d::CCPoolManager::sharedPoolManager()->drain();
}

void stepWithSoundClock(BenchWorld& b)
{
    step(b);
    CocosDenshion::SimpleAudioEngine::advanceClock(1.0f / 30.0f);
}

namespace {

void worldStep(BenchWorld& b)
{
    step(b);
}

void buildLitLights(BenchWorld& b)
{
    buildLights(b);
    b.world->step();
}

// Built, then let settle for ten steps (the first steps relight every new
// cell, as in any freshly painted world).
void buildSettledPipes(BenchWorld& b)
{
    buildPipes(b);
    for (int i = 0; i < 10; ++i)
        b.world->step();
}

// With the sounds silent as in the game without a device, and no call log;
// settled for 200 steps.
void buildSettledWired(BenchWorld& b)
{
    CocosDenshion::SimpleAudioEngine::sharedEngine()->setBackendForTests(true);
    CocosDenshion::SimpleAudioEngine::sharedEngine()->keepCallLog(false);
    buildWired(b);
    for (int i = 0; i < 200; ++i)
        stepWithSoundClock(b);
}

using Census = std::vector<Population>;

Census mixedCensus(const BenchWorld& b, Moment)
{
    return {{"particles", b.world->particleCount()}};
}

Census burningCensus(const BenchWorld& b, Moment)
{
    return {{"flames", countOf(b, {"Fire", "OilBurning"})}, {"wood", countOf(b, {"Wood"}), false}};
}

Census lightsCensus(const BenchWorld& b, Moment)
{
    return {{"lights", countOf(b, {"Bright"})}};
}

Census acidVirusCensus(const BenchWorld& b, Moment)
{
    return {{"acid", countOf(b, {"Acid", "AcidWater"})}, {"virus", countOf(b, {"Virus"})}};
}

Census blastsCensus(const BenchWorld& b, Moment moment)
{
    // Built, the charges wait; after the steps, what they made is still about.
    if (moment == Moment::Built)
        return {{"charges", countOf(b, {"C4", "Tnt", "Bomb", "Meteor", "Fireworks"})}};
    return {{"blasted", countOf(b, {"Explosion", "Fire", "Smoke", "Ash", "Lava"})},
            {"charges", countOf(b, {"C4", "Tnt", "Bomb", "Meteor", "Fireworks"}), false}};
}

Census stormCensus(const BenchWorld& b, Moment)
{
    // The clouds only: snow, counted here before, was never there when a
    // census looked.
    return {{"clouds", countOf(b, {"Cloud"})}};
}

Census livingCensus(const BenchWorld& b, Moment)
{
    return {{"fish", countOf(b, {"Fish", "DeepSeaFish"})},
            {"bees", countOf(b, {"Bee"})},
            {"fireflies", countOf(b, {"Firefly"}), false},
            {"flamingos", countOf(b, {"Flamingo"})}};
}

Census alienCensus(const BenchWorld& b, Moment)
{
    return {{"xenovines", countOf(b, {"Xenovine"})},
            {"stingers", countOf(b, {"Stinger"})},
            {"fish", countOf(b, {"Fish", "DeepSeaFish"})}};
}

Census crittersCensus(const BenchWorld& b, Moment)
{
    return {{"rabbits", countOf(b, {"MPLeaderRabbit"})},
            {"blocks", countOf(b, {"Tetro"})},
            {"invaders", countOf(b, {"MPInvader"})},
            {"lions", countOf(b, {"LionLeader"})}};
}

Census colonyCensus(const BenchWorld& b, Moment)
{
    return {{"humans", countOf(b, {"HumanLeader"})},
            {"robots", countOf(b, {"RobotLeader"})},
            {"lions", countOf(b, {"LionLeader"})},
            {"rabbits", countOf(b, {"MPLeaderRabbit"})}};
}

Census wiredCensus(const BenchWorld& b, Moment)
{
    return {{"sources", countOf(b, {"Power"})}, {"metal", countOf(b, {"Metal"})}};
}

Census lasersCensus(const BenchWorld& b, Moment moment)
{
    // A beam is drawn by the step that fires it.
    return {{"lasers", countOf(b, {"Laser", "LaserTrans"})},
            {"beams", countOf(b, {"LaserBeam"}), moment == Moment::Stepped}};
}

Census pipesCensus(const BenchWorld& b, Moment)
{
    return {{"pipes", countOf(b, {"Pipe"})}, {"outlets", countOf(b, {"PipeOut"})}};
}

Census trafficCensus(const BenchWorld&, Moment)
{
    return {{"vehicles", CreatureCounts::cars}};
}

}  // namespace

const std::vector<Scene>& allScenes()
{
    static const std::vector<Scene> scenes = {
        {"mixed", buildSettledMixed, 0, worldStep, mixedCensus},
        {"burning", buildForest, 300, worldStep, burningCensus},
        {"lights", buildLitLights, 0, worldStep, lightsCensus},
        {"acid_virus", buildAcidVirus, 300, worldStep, acidVirusCensus},
        {"blasts", buildBlasts, 200, worldStep, blastsCensus},
        {"storm", buildStorm, 600, worldStep, stormCensus},
        {"living", buildLiving, 1200, worldStep, livingCensus},
        {"alien", buildAlien, 600, worldStep, alienCensus},
        {"critters", buildCritters, 1200, worldStep, crittersCensus},
        {"colony", buildColony, 1200, worldStep, colonyCensus},
        {"wired", buildSettledWired, 0, stepWithSoundClock, wiredCensus},
        {"lasers", buildLasers, 200, worldStep, lasersCensus},
        {"pipes", buildSettledPipes, 300, worldStep, pipesCensus},
        {"traffic", buildTraffic, 600, worldStep, trafficCensus},
    };
    return scenes;
}

const Scene* findScene(const std::string& name)
{
    for (const Scene& scene : allScenes())
        if (name == scene.name)
            return &scene;
    return nullptr;
}

std::string missingPopulation(const Scene& scene, const std::vector<Population>& census, Moment moment)
{
    for (const Population& p : census)
        if (p.required && p.count <= 0)
            return std::string(scene.name) + ": no " + p.name +
                (moment == Moment::Built ? " once built" : " after its timed steps");
    return {};
}

uint32_t worldChecksum(const World& world)
{
    std::vector<uint8_t> bytes;
    bytes.reserve(1 << 20);
    ByteWriter out(bytes);
    for (int y = 0; y < world.height; ++y)
        for (int x = 0; x < world.width; ++x) {
            Particle* p = world.grid[x][y];
            out.u32(p ? p->getType() : 0);
            out.u32(p ? static_cast<uint32_t>(p->id) : 0);
            if (p) {
                const cocos2d::ccColor4B c = p->color;
                out.u32(static_cast<uint32_t>(c.r) | c.g << 8 | c.b << 16 | static_cast<uint32_t>(c.a) << 24);
                p->saveExtra(out);
            }
            float t = world.temperatureField.getAt(x, y);
            uint32_t bits;
            std::memcpy(&bits, &t, sizeof bits);
            out.u32(bits);
            out.u32(static_cast<uint32_t>(world.lightMap.getLevelAt(x, y)));
        }
    // The next values of the random sequence, which every draw moves on.
    out.u32(static_cast<uint32_t>(platform::detail::g_next));
    for (uint32_t word : platform::detail::g_words)
        out.u32(word);
    out.u32(static_cast<uint32_t>(world.particleCount()));
    return crc32Bytes(bytes.data(), bytes.size());
}

}  // namespace scenes
