// Blueprint folders with a damaged stage list or variant count beside sound
// stage pictures. A blueprint either refuses what it cannot read or builds,
// finishing in a bounded number of steps, inside its own footprint, and the
// world stays sound.
#include <filesystem>
#include <fstream>

#include "elements/living/blueprint/Blueprint.h"
#include "platform/GameRandom.h"
#include "support/CleanGame.h"
#include "support/TempFolders.h"
#include "support/loaders/LoaderHarness.h"
#include "world/ColorTables.h"
#include "world/ParticleCreator.h"
#include "world/Particle.h"
#include "world/World.h"

USING_NS_CC;

namespace loaders {

namespace {

using Bytes = std::vector<uint8_t>;

constexpr int kOriginX = 120;
constexpr int kOriginY = 40;
constexpr int kGroundY = kOriginY - 1;
// Wider and taller than any stage picture placed here.
constexpr int kReach = 70;

// The folder must exist.
void writeBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// One pass over the pool: pool and grid agree, the count is right, and
// nothing stands outside the blueprint's footprint (the ground row, the
// sand column and the border aside).
std::string checkSound(const World& w)
{
    int pooled = 0;
    bool outside = false;
    for (int i = 0; i < World::kMaxParticles; ++i) {
        const Particle* p = w.pool()[i];
        if (!p)
            continue;
        ++pooled;
        if (p->id != i || !w.inWorld(p->x, p->y) || w.grid[p->x][p->y] != p)
            return "pool and grid disagree";
        if (p->y > kGroundY && (std::abs(p->x - kOriginX) > kReach || p->y > kOriginY + kReach) && p->x != 5 &&
            p->y < World::kMaxHeight - 1 && p->x > 0 && p->x < World::kMaxWidth - 1)
            outside = true;
    }
    if (pooled != w.particleCount() || w.particleCount() + w.freeTop() != World::kMaxParticles)
        return "particle count wrong";
    return outside ? "built outside its footprint" : "";
}

class BlueprintHarness : public Harness {
public:
    BlueprintHarness()
    {
        m_oldRoot = CCFileUtils::sharedFileUtils()->getResourceRoot();
        const std::string tree = m_oldRoot + "/trees/baobab/";
        m_specs = readWholeFile(tree + "specs.plist");
        const Bytes stage0 = readWholeFile(tree + "0.png");
        const Bytes stage1 = readWholeFile(tree + "1.png");
        const Bytes tall = readWholeFile(m_oldRoot + "/buildings/eiffel/0.png");
        for (const char* folder : {"bp", "rv/0", "rv/1"})
            std::filesystem::create_directories(m_dir.file(folder));
        for (const char* folder : {"bp/", "rv/0/", "rv/1/"}) {
            writeBytes(m_dir.file(std::string(folder) + "0.png"), stage0);
            writeBytes(m_dir.file(std::string(folder) + "1.png"), stage1);
            writeBytes(m_dir.file(std::string(folder) + "2.png"), tall);
        }
        writeBytes(m_dir.file("rv/0/specs.plist"), m_specs);
        writeBytes(m_dir.file("rv/1/specs.plist"), m_specs);
        CCFileUtils::sharedFileUtils()->setResourceRoot(m_dir.path());

        testsupport::resetGame();
        initColorsAndShadows();
        registerAllElements();
        m_world = std::make_unique<World>();
        gWorld = m_world.get();
        m_world->setBigWorld(true);
    }

    ~BlueprintHarness() override
    {
        m_world.reset();
        gWorld = nullptr;
        ParticleCreator::clearRegistrations();
        testsupport::resetGame();
        CCFileUtils::sharedFileUtils()->setResourceRoot(m_oldRoot);
    }

    const char* name() const override { return "blueprint folder"; }

    std::vector<Bytes> seeds() override
    {
        std::vector<Bytes> out{m_specs};
        for (const char* file : {"/buildings/house/randomVars.plist", "/buildings/eiffel/specs.plist"}) {
            Bytes b = readWholeFile(m_oldRoot + file);
            if (!b.empty())
                out.push_back(std::move(b));
        }
        return out;
    }

    std::string feedOnce(const uint8_t* data, size_t size) override
    {
        const Bytes input(data, data + size);
        writeBytes(m_dir.file("bp/specs.plist"), input);
        writeBytes(m_dir.file("rv/randomVars.plist"), input);
        // One build per folder; which of them checks for space alternates
        // with the input's length, so both ways are fuzzed at half the cost.
        for (const char* folder : {"bp", "rv"}) {
            const bool checkSpace = (size % 2 == 0) == (folder[0] == 'b');
            std::string why = build(folder, checkSpace);
            if (!why.empty())
                return std::string(folder) + (checkSpace ? " checked: " : " unchecked: ") + why;
        }
        return "";
    }

private:
    std::string build(const char* folder, bool checkSpace)
    {
        World& w = *m_world;
        const uint32_t stone = hashString("Stone");
        const uint32_t sand = hashString("Sand");
        // Most inputs make a blueprint that refuses or is blocked and places
        // nothing: the world it leaves is the set-up one, and setting it up
        // again was most of an input's time.
        if (!m_setUp || w.particleCount() != m_setUpCount) {
            w.reset();  // which places the border walls too
            for (int x = 1; x < World::kMaxWidth - 1; ++x)
                w.addParticle(x, kGroundY, stone, false);
            for (int y = kOriginY; y < kOriginY + 10; ++y)
                w.addParticle(5, y, sand, false);
            m_setUpCount = w.particleCount();
        }
        m_setUp = false;
        platform::seedGameRand(7);
        Blueprint::variantCounter = 0;

        Blueprint blueprint(nullptr, nullptr, folder, kOriginX, kOriginY, checkSpace);
        // Three pictures of at most 23 x 60 per stage, and no more stages
        // than pictures: every stage ends within its picture's cells.
        const int limit = 64 * 3 * 23 * 60 + 10;
        int steps = 0;
        while (!blueprint.step())
            if (++steps > limit)
                return "still building after " + std::to_string(limit) + " steps";
        if (!blueprint.step())
            return "a finished blueprint went on";
        std::string why = checkSound(w);
        if (!why.empty())
            return why;
        for (int x = 1; x < World::kMaxWidth - 1; ++x)
            if (!w.grid[x][kGroundY] || w.grid[x][kGroundY]->getType() != stone)
                return "the ground under the blueprint changed";
        for (int y = kOriginY; y < kOriginY + 10; ++y)
            if (!w.grid[5][y] || w.grid[5][y]->getType() != sand)
                return "a particle outside the footprint changed";
        // A blueprint that never started building left the world untouched.
        m_setUp = blueprint.isEmpty() || blueprint.isBlocked();
        return "";
    }

    testsupport::TempDir m_dir;
    std::string m_oldRoot;
    Bytes m_specs;
    std::unique_ptr<World> m_world;
    // The world is as set up (the ground and the sand on a reset world), and
    // how many particles that is.
    bool m_setUp = false;
    int m_setUpCount = 0;
};

}  // namespace

std::unique_ptr<Harness> makeBlueprintHarness()
{
    return std::make_unique<BlueprintHarness>();
}

}  // namespace loaders
