#include "elements/living/blueprint/Blueprint.h"

#include <algorithm>
#include <climits>

#include "SimpleAudioEngine.h"
#include "base/Logger.h"
#include "profile/Profile.h"
#include "base/Utils.h"
#include "elements/living/LivingKinds.h"
#include "platform/GameRandom.h"
#include "world/ParticleCreator.h"
#include "world/World.h"

USING_NS_CC;

int Blueprint::variantCounter = 0;

namespace {

// Kinds every space-checked blueprint may build over: the ground, plants and
// seeds.
const char* const kAlwaysReplaceable[] = {
    "Grass",    "TreeLeaf",     "Soil",       "Stone",      "Mud",          "FlowerPetal", "FlowerCenter",
    "Seed",     "SeedBaobab",   "SeedBonsai", "SeedCedar",  "SeedDracaena", "SeedOak",     "SeedPalm",
    "SeedPine", "SeedRedMaple", "SeedSakura", "SeedTenere", "SeedWillow",
};

// The human campaign's fourth day asks for a finished structure.
constexpr int kHumanCampaign = 5;
constexpr int kStructureDay = 4;

bool fileExists(const std::string& path)
{
    return CCFileUtils::sharedFileUtils()->isFileExist(path);
}

// Decodes a stage picture into main memory; false for a missing, unreadable
// or empty picture.
bool readImage(const std::string& path, Blueprint::Image& out)
{
    CCImage image;
    if (!fileExists(path) || !image.initWithImageFile(path.c_str()))
        return false;
    const int w = image.getWidth();
    const int h = image.getHeight();
    const unsigned char* data = image.getData();
    if (w <= 0 || h <= 0 || !data)
        return false;
    const int bpp = image.getBytesPerPixel();
    out.width = w;
    out.height = h;
    out.pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
    for (size_t i = 0; i < out.pixels.size(); ++i) {
        const unsigned char* p = data + i * static_cast<size_t>(bpp);
        out.pixels[i] = ccColor4B{p[0], p[1], p[2], bpp == 4 ? p[3] : static_cast<unsigned char>(255)};
    }
    return true;
}

}  // namespace

Blueprint::Blueprint(const char* startSound, const char* endSoundName, const char* folder, int x, int y,
                     bool checkSpaceOn, const Particle* ownerSeed)
    : checkSpace(checkSpaceOn), originX(x), originY(y), owner(ownerSeed)
{
    load(folder ? folder : "");
    // Blocked or not; an empty blueprint is silent.
    if (startSound && !stages.empty())
        playSound(startSound);
    if (endSoundName)
        endSound = endSoundName;
}

Blueprint::Blueprint(CCString* startSound, CCString* folder, int x, int y, const Particle* ownerSeed)
    : Blueprint(startSound ? startSound->getCString() : nullptr, nullptr, folder ? folder->getCString() : "", x, y,
                true, ownerSeed)
{
}

Blueprint::~Blueprint() = default;

void Blueprint::load(const std::string& folder)
{
    std::string source = folder;
    if (!fileExists(joinPath(source, "specs.plist"))) {
        const std::string vars = joinPath(source, "randomVars.plist");
        if (!fileExists(vars)) {
            LOG_ERROR << vars + " plist not found";
            return;
        }
        CCDictionary* dict = CCDictionary::createWithContentsOfFile(vars);
        CCString* count = dict ? dict->valueForKey("variants") : nullptr;
        const int n = count ? count->intValue() : 0;
        if (n < 1) {
            LOG_ERROR << vars + ": no variants";
            return;
        }
        if (variantCounter >= n)
            variantCounter = 0;
        const int k = gameRand() % 8 == 0 ? gameRand() % n : variantCounter;
        variantCounter = k + 1;
        source = joinPath(source, intToString(k));
        if (!fileExists(joinPath(source, "specs.plist"))) {
            LOG_ERROR << source + " plist not found";
            return;
        }
    }
    if (!readStages(source))
        return;
    buildReplaceableList();
    if (checkSpace)
        blocked = !(hasGround() && areaIsFree());
    startStage();
}

bool Blueprint::readStages(const std::string& folder)
{
    const std::string specs = joinPath(folder, "specs.plist");
    CCArray* list = CCArray::createWithContentsOfFile(specs);
    if (!list) {
        LOG_ERROR << specs + ": not a stage list";
        return false;
    }
    for (unsigned i = 0; i < list->count(); ++i)
        if (!dynamic_cast<CCDictionary*>(list->objectAtIndex(i))) {
            LOG_ERROR << specs + ": stage " + intToString(static_cast<int>(i)) + " is not a dictionary";
            return false;
        }
    bool allowFlipping = false;
    for (unsigned i = 0; i < list->count(); ++i) {
        auto* dict = static_cast<CCDictionary*>(list->objectAtIndex(i));
        const std::string number = intToString(static_cast<int>(i));
        auto* element = dynamic_cast<CCString*>(dict->objectForKey("element"));
        auto* order = dynamic_cast<CCString*>(dict->objectForKey("behaviour"));
        if (i == 0) {
            auto* flip = dynamic_cast<CCString*>(dict->objectForKey("allowFlipping"));
            allowFlipping = flip && flip->boolValue();
        }
        if (!element || !order) {
            LOG_ERROR << specs + ": stage " + number + " has no element or behaviour; left out";
            continue;
        }
        Stage s;
        s.element = element->getString();
        s.behaviour = order->getString();
        s.clear = s.element == "Clear";
        s.typeId = hashString(s.element);
        const std::string picture = joinPath(folder, number + ".png");
        if (!readImage(picture, s.image)) {
            LOG_ERROR << picture + ": stage picture missing or unreadable; left out";
            continue;
        }
        stages.push_back(std::move(s));
    }
    flipped = allowFlipping && gameRand() % 2 == 0;
    return !stages.empty();
}

void Blueprint::buildReplaceableList()
{
    for (const char* name : kAlwaysReplaceable)
        replaceable.push_back(hashString(name));
    for (const Stage& s : stages)
        if (!s.clear && ParticleCreator::isBuilt(s.typeId))
            replaceable.push_back(s.typeId);
}

int Blueprint::worldX(const Stage& s, int cx) const
{
    return static_cast<int>(static_cast<double>(originX) + cx - s.image.width * 0.5);
}

ccColor4B Blueprint::pixelAt(const Stage& s, int cx, int cy) const
{
    const int column = flipped ? s.image.width - 1 - cx : cx;
    return s.image.at(column, s.image.height - 1 - cy);
}

bool Blueprint::hasGround() const
{
    const int row = originY - 1;
    if (row < 0)
        return true;
    int left = INT_MAX, right = INT_MIN;
    for (const Stage& s : stages)
        for (int cx = 0; cx < s.image.width; ++cx)
            if (pixelAt(s, cx, 0).a != 0) {
                left = std::min(left, worldX(s, cx));
                right = std::max(right, worldX(s, cx));
            }
    const World& w = *gWorld;
    for (int x = left; x <= right; ++x)
        if (w.inWorld(x, row) && !w.grid[x][row])
            return false;
    return true;
}

bool Blueprint::areaIsFree() const
{
    int left = INT_MAX, right = INT_MIN, bottom = INT_MAX, top = INT_MIN;
    for (const Stage& s : stages)
        for (int cy = 0; cy < s.image.height; ++cy)
            for (int cx = 0; cx < s.image.width; ++cx)
                if (pixelAt(s, cx, cy).a != 0) {
                    left = std::min(left, worldX(s, cx));
                    right = std::max(right, worldX(s, cx));
                    bottom = std::min(bottom, originY + cy);
                    top = std::max(top, originY + cy);
                }
    const World& w = *gWorld;
    for (int x = left; x <= right; ++x)
        for (int y = bottom; y <= top; ++y) {
            if (!w.inWorld(x, y))
                return false;
            const Particle* p = w.grid[x][y];
            if (p && p != owner && std::find(replaceable.begin(), replaceable.end(), p->getType()) == replaceable.end())
                return false;
        }
    return true;
}

void Blueprint::startStage()
{
    const Stage& s = stages[static_cast<size_t>(stage)];
    behaviour.reset(BuilderBehaviour::create(s.behaviour, s.image.width, s.image.height));
}

bool Blueprint::mayOverwrite(const Particle* occupant) const
{
    return !checkSpace || std::find(replaceable.begin(), replaceable.end(), occupant->getType()) != replaceable.end();
}

bool Blueprint::placeOne()
{
    Stage& s = stages[static_cast<size_t>(stage)];
    const int cx = behaviour->cursorX;
    const int cy = behaviour->cursorY;
    const ccColor4B colour = pixelAt(s, cx, cy);
    if (colour.a == 0)
        return false;
    World& w = *gWorld;
    const int x = worldX(s, cx);
    const int y = originY + cy;
    if (!w.inWorld(x, y))
        return false;
    Particle* occupant = w.grid[x][y];
    // The border and the seed that carries this blueprint are never built
    // over (removing the seed would free the blueprint being stepped).
    if (occupant && (occupant == w.outsideWall || occupant->id == -1 || occupant == owner))
        return false;
    if (occupant && !mayOverwrite(occupant)) {
        if (checkSpace)
            blocked = true;
        return false;
    }
    if (s.clear) {
        if (occupant)
            w.removeParticle(x, y);
        return true;
    }
    if (occupant)
        w.removeParticle(x, y);
    if (!ParticleCreator::isBuilt(s.typeId)) {
        if (!s.toldMissing) {
            s.toldMissing = true;
            LOG << s.element + " is no element the game makes: its blueprint pixels place nothing";
        }
        return true;
    }
    if (Particle* p = w.addParticle(x, y, s.typeId, false))
        p->setColor(colour);
    return true;
}

bool Blueprint::step()
{
    if (blocked || !behaviour)
        return true;
    for (;;) {
        const bool placed = placeOne();
        if (behaviour->advance()) {
            if (++stage >= static_cast<int>(stages.size())) {
                finish();
                return true;
            }
            startStage();
        }
        if (placed)
            return false;
    }
}

void Blueprint::finish()
{
    // Finished for good: later steps return at once.
    behaviour.reset();
    Profile* profile = Profile::getInstance();
    if (profile->getGameMode() == kHumanCampaign && profile->getDay() == kStructureDay)
        profile->setStructureBuilt(true);
    if (!endSound.empty())
        playSound(endSound);
}

void Blueprint::playSound(const std::string& name)
{
    CocosDenshion::SimpleAudioEngine::sharedEngine()->playEffect(soundFilePath("sounds", name.c_str()).c_str());
}
