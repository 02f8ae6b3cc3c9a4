// The 41 blueprint folders of the generated resource tree: each parses, has
// the size, stages, orders and flipping it is meant to have, keeps alpha at 0
// or 255 and its pixel budget, and each space-checked folder builds whole on
// a flat bed of its ground.
#include <map>
#include <memory>
#include <vector>

#include "MaterialWorld.h"
#include "elements/living/BuildingSeeds.h"
#include "elements/living/StructureSeed.h"
#include "elements/living/TreeSeeds.h"
#include "elements/materials/Liquids.h"
#include "elements/materials/Powders.h"

namespace {

using cocos2d::CCArray;
using cocos2d::CCDictionary;
using cocos2d::CCString;

enum class Bed { None, Mud, Soil, Water, Xenovine };

struct StagePlan {
    const char* element;
    const char* order;
};

struct FolderPlan {
    const char* path;
    const char* seed;  // type name of the seed that builds it
    int width;
    int height;
    std::vector<StagePlan> stages;
    bool flipping;
    int variants;  // 0: specs.plist in the folder itself
    Bed bed;       // a space-checked folder's ground
};

const char* const B = "BottomToTop";
const char* const T = "TopToBottom";
const char* const C = "CenterToSides";

std::vector<FolderPlan> folders()
{
    const std::vector<StagePlan> tree = {{"Wood", B}, {"TreeLeaf", C}};
    const std::vector<StagePlan> dino = {{"TreeLeaf", B}};
    return {
        {"buildings/chichenitza", "SeedChichenItza", 41, 22, {{"Wall", B}, {"Clear", B}}, false, 0, Bed::None},
        {"buildings/eiffel", "SeedEiffel", 23, 60, {{"Metal", B}}, false, 0, Bed::None},
        {"buildings/fireplace", "SeedFireplace", 7, 8, {{"Wall", B}, {"Wood", B}}, false, 0, Bed::Soil},
        {"buildings/futuristicbuilding",
         "SeedFutureBuild",
         19,
         48,
         {{"Metal", C}, {"Glass", B}, {"LedBlue", B}},
         false,
         0,
         Bed::None},
        {"buildings/house", "SeedHouse", 15, 13, {{"Wood", B}, {"Glass", B}, {"Wall", T}}, true, 3, Bed::None},
        {"buildings/kremlin", "SeedKremlin", 37, 36, {{"Wall", B}, {"Wall", B}, {"Metal", B}}, false, 0, Bed::None},
        {"buildings/liberty", "SeedLiberty", 17, 46, {{"Wall", B}, {"Metal", B}, {"Bulb", B}}, true, 0, Bed::None},
        {"buildings/magetower",
         "SeedMageTower",
         15,
         44,
         {{"Wall", B}, {"Wood", B}, {"LedPurple", B}},
         false,
         0,
         Bed::None},
        {"buildings/niceHouse", "SeedNiceHouse", 14, 12, {{"Wall", B}, {"Wood", B}, {"Glass", B}}, true, 0, Bed::Soil},
        {"buildings/oldmecha", "SeedOldMecha", 24, 30, {{"Metal", B}, {"LedRed", B}}, true, 0, Bed::None},
        {"buildings/pagoda", "SeedPagoda", 25, 40, {{"Wood", B}, {"Wall", T}}, false, 0, Bed::None},
        {"buildings/pier", "SeedPier", 24, 5, {{"Wood", B}, {"Bulb", B}}, true, 0, Bed::Water},
        {"buildings/pisa", "SeedPisa", 15, 40, {{"Wall", B}, {"Glass", B}}, true, 0, Bed::None},
        {"buildings/pyramid", "SeedPyramid", 41, 21, {{"Wall", B}}, false, 0, Bed::None},
        {"buildings/robobridge", "SeedRoboBridge", 50, 18, {{"Metal", C}, {"LedGreen", B}}, false, 0, Bed::None},
        {"buildings/stoneHouse", "SeedStoneHouse", 12, 10, {{"Wall", B}, {"Wood", B}}, false, 0, Bed::Soil},
        {"buildings/ufocrash",
         "SeedUFOCrash",
         30,
         14,
         {{"Metal", B}, {"Glass", B}, {"LedGreen", B}},
         true,
         0,
         Bed::None},
        {"buildings/woodenHouse", "SeedWoodHouse", 11, 10, {{"Wood", B}, {"Glass", B}}, false, 0, Bed::Soil},
        {"trees/baobab", "SeedBaobab", 21, 26, tree, true, 0, Bed::Mud},
        {"trees/bonsai", "SeedBonsai", 9, 8, tree, true, 0, Bed::Mud},
        {"trees/cedar", "SeedCedar", 17, 30, tree, true, 0, Bed::Mud},
        {"trees/dracaena", "SeedDracaena", 13, 20, tree, true, 0, Bed::Mud},
        {"trees/oak", "SeedOak", 19, 24, tree, true, 0, Bed::Mud},
        {"trees/palm", "SeedPalm", 13, 24, tree, true, 0, Bed::Mud},
        {"trees/pine", "SeedPine", 11, 28, tree, true, 0, Bed::Mud},
        {"trees/redMaple", "SeedRedMaple", 17, 22, tree, true, 0, Bed::Mud},
        {"trees/sakura", "SeedSakura", 19, 20, tree, true, 0, Bed::Mud},
        {"trees/tenere", "SeedTenere", 15, 14, tree, true, 0, Bed::Mud},
        {"trees/willow", "SeedWillow", 19, 22, tree, true, 0, Bed::Mud},
        {"dinosaurs/ankylosaur", "Ankylosaur", 22, 10, dino, true, 0, Bed::None},
        {"dinosaurs/brontosaurus", "Brontosaurus", 36, 24, dino, true, 0, Bed::None},
        {"dinosaurs/compsognathus", "Compsognathus", 8, 6, dino, true, 0, Bed::None},
        {"dinosaurs/deinonychus", "Deinonychus", 14, 10, dino, true, 0, Bed::None},
        {"dinosaurs/pachycephalosaurus", "Pachy", 14, 11, dino, true, 0, Bed::None},
        {"dinosaurs/parasaurolophus", "Parasaurolophus", 22, 16, dino, true, 0, Bed::None},
        {"dinosaurs/plesiosaurus", "Plesiosaurus", 24, 14, dino, true, 0, Bed::None},
        {"dinosaurs/stegosaurus", "Stegosaurus", 24, 14, dino, true, 0, Bed::None},
        {"dinosaurs/triceratops", "Triceratops", 24, 12, dino, true, 0, Bed::None},
        {"dinosaurs/tyrannosaurus", "Tyrannosaurus", 26, 22, dino, true, 0, Bed::None},
        {"dinosaurs/velociraptor", "Velociraptor", 12, 9, dino, true, 0, Bed::None},
        {"alien/mushboom", "Mushboom", 11, 12, tree, false, 0, Bed::Xenovine},
    };
}

bool isLandmark(const FolderPlan& f)
{
    static const char* const names[] = {"chichenitza", "eiffel",    "futuristicbuilding", "kremlin",
                                        "liberty",     "magetower", "oldmecha",           "pagoda",
                                        "pisa",        "pyramid",   "robobridge",         "ufocrash"};
    for (const char* n : names)
        if (std::string(f.path) == std::string("buildings/") + n)
            return true;
    return false;
}

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> alpha;  // rows top first
};

std::string root()
{
    return cocos2d::CCFileUtils::sharedFileUtils()->getResourceRoot();
}

// One variant folder: checks it and returns its stage pictures.
std::vector<Picture> checkVariant(const FolderPlan& plan, const std::string& folder)
{
    std::vector<Picture> pictures;
    CCArray* stages = CCArray::createWithContentsOfFile(folder + "/specs.plist");
    if (!stages) {
        ADD_FAILURE() << folder << ": no stage list";
        return pictures;
    }
    EXPECT_EQ(stages->count(), plan.stages.size()) << folder;
    for (unsigned i = 0; i < stages->count() && i < plan.stages.size(); ++i) {
        auto* stage = dynamic_cast<CCDictionary*>(stages->objectAtIndex(i));
        if (!stage) {
            ADD_FAILURE() << folder << ": stage " << i << " is not a dictionary";
            continue;
        }
        CCString* element = stage->valueForKey("element");
        CCString* order = stage->valueForKey("behaviour");
        EXPECT_EQ(element->getString(), plan.stages[i].element) << folder << " stage " << i;
        EXPECT_EQ(order->getString(), plan.stages[i].order) << folder << " stage " << i;
        EXPECT_TRUE(element->getString() == "Clear" || ParticleCreator::isAccepted(hashString(element->getString())))
            << element->getString();
        auto* flip = dynamic_cast<CCString*>(stage->objectForKey("allowFlipping"));
        if (i == 0) {
            EXPECT_EQ(flip && flip->boolValue(), plan.flipping) << folder;
        } else {
            EXPECT_EQ(flip, nullptr) << folder << ": allowFlipping outside stage 0";
        }
        cocos2d::CCImage image;
        const std::string png = folder + "/" + std::to_string(i) + ".png";
        if (!image.initWithImageFile(png.c_str()) || !image.hasAlpha()) {
            ADD_FAILURE() << png << ": missing or without alpha";
            continue;
        }
        Picture pic;
        pic.width = image.getWidth();
        pic.height = image.getHeight();
        EXPECT_EQ(pic.width, plan.width) << png;
        EXPECT_EQ(pic.height, plan.height) << png;
        const unsigned char* data = image.getData();
        for (int p = 0; p < pic.width * pic.height; ++p) {
            const uint8_t a = data[p * 4 + 3];
            if (a != 0 && a != 255) {
                ADD_FAILURE() << png << ": alpha " << int(a);
                break;
            }
            pic.alpha.push_back(a);
        }
        pictures.push_back(std::move(pic));
    }
    return pictures;
}

}  // namespace

TEST(BlueprintAssets, EveryFolderParsesAndKeepsItsSizeAlphaAndBudget)
{
    for (const FolderPlan& plan : folders()) {
        SCOPED_TRACE(plan.path);
        const std::string folder = root() + "/" + plan.path;
        std::vector<std::string> variants;
        if (plan.variants == 0) {
            variants.push_back(folder);
        } else {
            CCDictionary* vars = CCDictionary::createWithContentsOfFile(folder + "/randomVars.plist");
            ASSERT_NE(vars, nullptr);
            EXPECT_EQ(vars->valueForKey("variants")->intValue(), plan.variants);
            for (int v = 0; v < plan.variants; ++v)
                variants.push_back(folder + "/" + std::to_string(v));
        }
        for (const std::string& variant : variants) {
            const std::vector<Picture> pictures = checkVariant(plan, variant);
            int opaque = 0;
            int bottomLeft = plan.width, bottomRight = -1;
            for (const Picture& pic : pictures) {
                for (size_t i = 0; i < pic.alpha.size(); ++i)
                    opaque += pic.alpha[i] != 0;
                for (int x = 0; x < pic.width; ++x)
                    if (pic.alpha[static_cast<size_t>((pic.height - 1) * pic.width + x)]) {
                        bottomLeft = std::min(bottomLeft, x);
                        bottomRight = std::max(bottomRight, x);
                    }
            }
            EXPECT_GT(opaque, 0) << variant;
            EXPECT_LE(opaque, isLandmark(plan) ? 900 : 400) << variant;
            const int bottom = bottomRight - bottomLeft + 1;
            if (plan.bed == Bed::Mud || plan.bed == Bed::Xenovine) {
                EXPECT_LE(bottom, 2) << variant << ": a tree stands on its trunk base";
            }
            if (plan.bed == Bed::Soil) {
                EXPECT_LE(bottom, 8) << variant << ": a house stands on its foundation";
            }
        }
    }
}

using BlueprintBeds = MaterialWorld;

// Builds the seed's folder on a flat bed of its ground and expects every
// pixel of a built kind to stand in the world.
TEST_F(BlueprintBeds, EverySpaceCheckedFolderBuildsWholeOnItsBed)
{
    for (const FolderPlan& plan : folders()) {
        if (plan.bed == Bed::None || plan.bed == Bed::Xenovine)
            continue;  // the mushboom's bed comes with the alien biome
        SCOPED_TRACE(plan.path);
        world->reset();
        world->placeBorderWalls();
        const uint32_t ground = plan.bed == Bed::Mud ? Mud::kTypeId
            : plan.bed == Bed::Soil                  ? Soil::kTypeId
                                                     : Water::kTypeId;
        fill(1, 1, world->width - 2, 5, ground);
        Particle* seed = put(120, 6, hashString(plan.seed));
        ASSERT_NE(seed, nullptr);
        auto* carrier = dynamic_cast<SeedCarrier*>(seed);
        ASSERT_NE(carrier, nullptr);
        carrier->seedState().startDelay = 1;
        seed->update();
        const Blueprint* blueprint = carrier->seedState().blueprint.get();
        ASSERT_NE(blueprint, nullptr);
        EXPECT_FALSE(blueprint->isBlocked());
        // Count what the pictures should place (kinds that are built).
        std::map<uint32_t, int> before;
        for (Particle* p : world->pool())
            if (p)
                ++before[p->getType()];
        int steps = 0;
        while (world->pendingReplacementCount() + world->pendingRemovalCount() == 0 && steps < 3000) {
            seed->update();
            ++steps;
        }
        EXPECT_FALSE(blueprint->isBlocked());
        world->applyPendingChanges();
        int placed = 0;
        for (Particle* p : world->pool())
            if (p && p->getType() != ground)
                ++placed;
        // The seed left; every other new particle is a pixel of the picture.
        int expected = 0;
        const std::string folder = root() + "/" + plan.path;
        for (size_t i = 0; i < plan.stages.size(); ++i) {
            if (!ParticleCreator::isBuilt(hashString(plan.stages[i].element)))
                continue;
            cocos2d::CCImage image;
            ASSERT_TRUE(image.initWithImageFile((folder + "/" + std::to_string(i) + ".png").c_str()));
            for (int p = 0; p < image.getWidth() * image.getHeight(); ++p)
                expected += image.getData()[p * 4 + 3] != 0;
        }
        EXPECT_EQ(placed, expected);
        EXPECT_EQ(typeAt(120, 5), ground) << "the ground is back";
    }
}
