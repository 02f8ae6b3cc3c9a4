// Skin schemes: all 23 load, lookups mirror and go magenta outside the
// picture, the special skin is male only, and a human is painted from its
// job's scheme.
#include "MaterialWorld.h"
#include "elements/creatures/CreaturePictures.h"
#include "elements/creatures/HumanLeader.h"
#include "elements/creatures/Robots.h"
#include "elements/creatures/SkinSchemes.h"

namespace {

using Skins = MaterialWorld;

bool same(cocos2d::ccColor4B a, cocos2d::ccColor4B b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

TEST_F(Skins, AllSchemesLoadAndTheSpecialSkinIsMaleOnly)
{
    SchemeStore& store = *SchemeStore::getInstance();
    EXPECT_EQ(store.count(), SchemeStore::kSchemeCount);
    EXPECT_TRUE(store.has("human_settler_male"));
    EXPECT_FALSE(store.has("human_settler_female"));
    EXPECT_TRUE(store.has("human_safari_female"));
    EXPECT_TRUE(store.has("robot_guardian_missile"));
}

TEST_F(Skins, LookupsMirrorAndAreMagentaOutsideThePicture)
{
    CreaturePicture p;
    p.width = 2;
    p.height = 6;
    p.pixels.assign(12, {0, 0, 0, 255});
    // Top row first: the bottom row is the last two pixels.
    p.pixels[10] = {10, 0, 0, 255};  // bottom left
    p.pixels[11] = {20, 0, 0, 255};  // bottom right
    p.pixels[0] = {30, 0, 0, 255};   // top left
    struct Case {
        int dx, dy;
        bool mirrored;
        uint8_t red;
        bool magenta;
    };
    const Case cases[] = {
        {0, 0, false, 10, false}, {0, 0, true, 20, false}, {0, 5, false, 30, false}, {1, 5, true, 30, false},
        {2, 0, false, 0, true},   {0, 6, false, 0, true},  {-1, 0, true, 0, true},
    };
    for (const Case& c : cases) {
        const cocos2d::ccColor4B got = SchemeStore::lookup(&p, c.dx, c.dy, c.mirrored);
        if (c.magenta)
            EXPECT_TRUE(same(got, SchemeStore::kOutside)) << c.dx << "," << c.dy;
        else
            EXPECT_EQ(got.r, c.red) << c.dx << "," << c.dy << (c.mirrored ? " mirrored" : "");
    }
    EXPECT_TRUE(same(SchemeStore::lookup(nullptr, 0, 0, false), SchemeStore::kOutside));
}

TEST_F(Skins, AHumanAndARobotArePaintedFromTheirSchemes)
{
    fill(1, 1, 238, 10, hashString("Stone"));
    auto* h = static_cast<HumanLeader*>(put(50, 11, HumanLeader::kTypeId));
    h->update();
    SchemeStore& store = *SchemeStore::getInstance();
    const uint32_t key = hashString(h->skinName().c_str());
    ASSERT_TRUE(store.hasKey(key));
    EXPECT_TRUE(same(h->color, store.colourAt(key, 0, 0, false)));
    EXPECT_TRUE(same(world->at(51, 16)->color, store.colourAt(key, 1, 5, false)));
    h->setFacing(-1);
    EXPECT_TRUE(same(h->color, store.colourAt(key, 0, 0, true)));

    auto* r = static_cast<RobotLeader*>(put(80, 11, RobotLeader::kTypeId));
    r->update();
    const uint32_t robotKey = hashString("robot_guardian_laser");
    EXPECT_TRUE(same(world->at(81, 14)->color, store.colourAt(robotKey, 1, 3, false)));
    world->removeParticle(80, 11);
}

}  // namespace
