#pragma once
// A world ready to be saved and loaded: the world-core fixture, plus an
// element class that keeps extra data, a HUD for the temperature level,
// fresh blob services and a reset world. OldBlob writes blobs of any format
// version by hand, the way older builds of the game wrote them.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "../WorldFixture.h"
#include "base/NSData.h"
#include "hud/GUI.h"
#include "world/ByteStream.h"
#include "world/GameServices.h"
#include "world/WorldBlob.h"

namespace blobtest {

using worldtest::kGlass;
using worldtest::kSand;
using worldtest::kWater;

// An element with 6 bytes of extra data: a u32 charge and a u16 mood.
constexpr uint32_t kTagged = hashString("PiranthaTunnel");

class TaggedElement : public Particle {
public:
    TaggedElement() { ++worldtest::liveElements; }
    ~TaggedElement() override { --worldtest::liveElements; }
    uint32_t getType() const override { return kTagged; }
    int32_t getDensity() const override { return 0; }
    float getBlastFactor() const override { return 0.0f; }
    cocos2d::CCArray* getColors() const override
    {
        static cocos2d::CCArray* rows = makeColorRowList({60});
        return rows;
    }
    int32_t getSaveSize() const override { return 6; }
    void saveExtra(ByteWriter& out) override
    {
        out.u32(charge);
        out.u16(mood);
    }
    void loadExtra(ByteReader& in) override
    {
        in.u32(charge);
        in.u16(mood);
    }

    uint32_t charge = 0;
    uint16_t mood = 0;
};

inline std::vector<uint8_t> bytesOf(NSData* data)
{
    if (!data)
        return {};
    return std::vector<uint8_t>(data->bytes, data->bytes + data->length);
}

// One cell as the blob sees it: type, extra data and changed colour.
struct CellRecord {
    uint32_t type;
    uint32_t charge;
    uint16_t mood;
    bool colourChanged;
    uint32_t colour;
    bool operator==(const CellRecord&) const = default;
};
using CellMap = std::map<std::pair<int, int>, CellRecord>;

class BlobTest : public worldtest::WorldTest {
protected:
    void SetUp() override
    {
        WorldTest::SetUp();
        ParticleCreator::registerClass<TaggedElement>("PiranthaTunnel");
        hud = std::make_unique<GUI>();
        previousHud = GameLayer::getInstance()->getGUI();
        GameLayer::getInstance()->setGUI(hud.get());
        keepBackgroundsAsGiven();
        world->reset();
    }

    // The blob carries the background's name and flag; which picture files
    // exist is the game layer's business, so here names are kept as given.
    void keepBackgroundsAsGiven()
    {
        GameServices& s = gameServices();
        s.backgroundName = [this] { return backdropName; };
        s.backgroundOn = [this] { return backdropOn; };
        s.changeBackground = [this](const std::string& name, bool isDefault) {
            if (!isDefault)
                backdropName = name;
        };
        s.toggleBackground = [this] { return backdropOn = !backdropOn; };
        s.resetBackground = [this] {
            backdropName = "peaceful.png";
            backdropOn = true;
        };
    }

    void TearDown() override
    {
        GameLayer::getInstance()->setGUI(previousHud);
        WorldTest::TearDown();
        hud.reset();
    }

    std::string backdropName = "peaceful.png";
    bool backdropOn = true;

    std::vector<uint8_t> saveBytes() { return bytesOf(world->save()); }
    bool loadBytes(const std::vector<uint8_t>& blob) { return world->loadBytes(blob.data(), blob.size()); }

    TaggedElement* addTagged(int x, int y, uint32_t charge, uint16_t mood)
    {
        auto* p = static_cast<TaggedElement*>(world->addParticle(x, y, kTagged, false));
        if (p) {
            p->charge = charge;
            p->mood = mood;
        }
        return p;
    }

    CellMap cells() const
    {
        CellMap map;
        for (Particle* p : world->pool()) {
            if (!p)
                continue;
            CellRecord r{p->getType(), 0, 0, p->colorChanged, 0};
            if (auto* t = dynamic_cast<TaggedElement*>(p)) {
                r.charge = t->charge;
                r.mood = t->mood;
            }
            if (p->colorChanged)
                r.colour = static_cast<uint32_t>(p->color.r) << 24 | p->color.g << 16 | p->color.b << 8 | p->color.a;
            map[{p->x, p->y}] = r;
        }
        return map;
    }

    // The world's own invariants, which every load must keep.
    void expectSoundWorld() const
    {
        const World& w = *world;
        ASSERT_EQ(w.particleCount() + w.freeTop(), World::kMaxParticles);
        int pooled = 0;
        for (int i = 0; i < World::kMaxParticles; ++i) {
            Particle* p = w.pool()[i];
            if (!p)
                continue;
            ++pooled;
            ASSERT_EQ(p->id, i);
            ASSERT_TRUE(w.inWorld(p->x, p->y));
            ASSERT_EQ(w.grid[p->x][p->y], p);
        }
        ASSERT_EQ(pooled, w.particleCount());
        for (int x = 0; x < w.width; ++x) {
            ASSERT_EQ(w.grid[x][0], w.outsideWall);
            ASSERT_EQ(w.grid[x][w.height - 1], w.outsideWall);
        }
        for (int y = 0; y < w.height; ++y) {
            ASSERT_EQ(w.grid[0][y], w.outsideWall);
            ASSERT_EQ(w.grid[w.width - 1][y], w.outsideWall);
        }
    }

    std::unique_ptr<GUI> hud;
    GUI* previousHud = nullptr;
};

// A blob of any version, written field by field as that version laid it out.
struct OldBlob {
    uint32_t version = 11;
    int32_t width = 240;
    int32_t height = 160;
    bool temperatureView = false;
    bool light = false;
    bool sun = false;
    bool weather = false;
    int32_t ambient = 293;  // the real temperature; shifted here where the version shifts it
    std::string background = "peaceful.png";
    bool backgroundShown = true;
    std::string name = "Old world";
    std::string description = "Made long ago";
    bool paused = false;
    int32_t food = 0, stone = 0, wood = 0;
    std::vector<std::array<uint32_t, 3>> electricity;                   // x, y, code
    std::vector<std::pair<std::pair<int, int>, int32_t>> temperatures;  // world cell, value
    std::vector<std::array<uint32_t, 3>> particles;                     // x, y, type (types without extra data)
    std::vector<std::pair<std::array<uint32_t, 2>, cocos2d::ccColor4B>> colours;

    std::vector<uint8_t> build() const
    {
        std::vector<uint8_t> out;
        ByteWriter w(out);
        w.u32(version);
        w.i32(width);
        w.i32(height);
        if (version >= 2 && version <= 4) {
            w.u8(temperatureView);
            w.u8(light);
            w.u8(sun);
            w.u8(weather);
            if (version >= 3)
                w.i32(ambient);
        } else if (version >= 5) {
            w.u32(temperatureView);
            w.u32(light);
            w.u32(sun);
            w.u32(weather);
            w.i32(version >= 6 ? ambient + 2550 : ambient);
            if (version >= 6)
                worldblob::writeTextField(out, background, 16);
            if (version == 7)
                w.u32(backgroundShown);
            if (version >= 8) {
                worldblob::writeTextField(out, name, 16);
                worldblob::writeTextField(out, description, 256);
                w.u8(backgroundShown);
                w.u8(paused);
                w.u16(0);
            }
            if (version >= 11) {
                w.i32(food);
                w.i32(stone);
                w.i32(wood);
                out.insert(out.end(), 20, 0);
            }
        }
        w.u32(static_cast<uint32_t>(electricity.size()));
        for (const auto& e : electricity)
            for (uint32_t v : e)
                w.u32(v);
        if (version >= 4) {
            std::vector<int32_t> values(38400, 293);
            for (const auto& [cell, value] : temperatures)
                values[static_cast<size_t>(cell.first) * 80 + cell.second] = value;
            w.u32(38400);
            for (int32_t v : values)
                w.i32(v);
        }
        w.u32(static_cast<uint32_t>(particles.size()));
        if (version >= 10)
            w.u32(static_cast<uint32_t>(colours.size()));
        for (const auto& p : particles)
            for (uint32_t v : p)
                w.u32(v);
        if (version >= 10) {
            for (const auto& [cell, c] : colours) {
                w.u32(cell[0]);
                w.u32(cell[1]);
                w.u8(c.a);
                w.u8(c.r);
                w.u8(c.g);
                w.u8(c.b);
            }
        }
        return out;
    }
};

}  // namespace blobtest
