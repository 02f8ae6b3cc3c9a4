// The running world as a picture (its cells over the background picture)
// and the saved worlds' thumbnails (fetched from the cloud store into the
// save folder, which serves as their cache).
#include "scene/WorldPictures.h"

#include <cstdio>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/Logger.h"
#include "base/NSData.h"
#include "base/Utils.h"
#include "scene/GameLayer.h"
#include "scene/SaveLoadUtils.h"
#include "world/CCMutableTexture2D.h"
#include "world/GameServices.h"
#include "world/ParticleCreator.h"
#include "world/WorldBlob.h"

USING_NS_CC;

namespace {

const ccColor4B kNoBackground = {23, 30, 34, 255};

// A background picture, Rewards before Missions; null when neither folder
// has it.
CCMutableTexture2D* backgroundTexture(const std::string& file)
{
    CCFileUtils* files = CCFileUtils::sharedFileUtils();
    for (const char* folder : {"Rewards", "Missions"}) {
        const std::string path = joinPath(joinPath("backgrounds/", folder), file);
        if (file.empty() || !files->isFileExist(path))
            continue;
        LOG << path;
        auto* image = new CCImage();
        CCMutableTexture2D* texture = nullptr;
        if (image->initWithImageFile(files->fullPathForFilename(path).c_str()))
            texture = CCMutableTexture2D::createWithImage(image);
        image->release();
        return texture;
    }
    LOG << "make sprite from current world doesn't found";
    return nullptr;
}

CCMutableTexture2D* backgroundTexture(GameLayer* layer)
{
    CCString* name = layer->getBackgroundName();
    return backgroundTexture(name ? name->getString() : std::string());
}

// A cell's colour where the world has no particle: the background picture's
// (a big world's cell is half a picture pixel), else dark grey-blue.
ccColor4B backgroundAt(CCMutableTexture2D* background, bool big, int x, int y, int height)
{
    if (!background)
        return kNoBackground;
    // Texture row 0 shows at the bottom: it takes the picture's last row.
    const int row = height - 1 - y;
    return big ? background->getPixelAt(x / 2, row / 2) : background->getPixelAt(x, row);
}

// What an element of each kind looks like: the colour a new one takes,
// made once per kind and picture, leaving no trace. A kind the game cannot
// make has none (it shows as the background).
class KindColours {
public:
    ccColor4B of(uint32_t type)
    {
        auto it = m_known.find(type);
        if (it == m_known.end()) {
            ccColor4B colour = ccc4(0, 0, 0, 0);
            if (Particle* p = ParticleCreator::createUnrecorded(type)) {
                colour = p->color;
                delete p;
            }
            it = m_known.emplace(type, colour).first;
        }
        return it->second;
    }

private:
    std::unordered_map<uint32_t, ccColor4B> m_known;
};

CCSprite* flippedSprite(CCMutableTexture2D* picture)
{
    picture->apply();
    CCSprite* sprite = CCSprite::createWithTexture(picture);
    if (sprite)
        sprite->setFlipY(true);
    return sprite;
}

}  // namespace

CCSprite* WorldPictures::createWorldSnapshot()
{
    GameLayer* layer = GameLayer::getInstance();
    World& world = layer->getWorld();
    const int width = world.width;
    const int height = world.height;
    const bool big = world.bigWorld;
    CCMutableTexture2D* background = backgroundTexture(layer);
    CCMutableTexture2D* cells = layer->getWorldTexture();
    const bool backgroundOn = layer->getBackgroundOn() && background;

    CCMutableTexture2D* picture = CCMutableTexture2D::createWithSize(CCSize(width, height));
    picture->setAliasTexParameters();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            ccColor4B colour = cells ? cells->getPixelAt(x, y) : ccc4(0, 0, 0, 0);
            if (colour.a == 0)
                colour = backgroundAt(backgroundOn ? background : nullptr, big, x, y, height);
            picture->setPixelAt(x, y, colour);
        }
    return flippedSprite(picture);
}

CCSprite* WorldPictures::loadThumbnailSprite(CCString* worldName)
{
    if (!worldName)
        return nullptr;
    const std::string name = SaveLoadUtils::thumbnailFileOf(worldName->getString());
    const std::string local = SaveLoadUtils::localCachePath(name);
    auto spriteOfCopy = [&local]() -> CCSprite* {
        CCSpriteFrameCache::sharedSpriteFrameCache()->removeSpriteFrameByName(local.c_str());
        return CCSprite::create(local.c_str());
    };

    if (FILE* f = std::fopen(local.c_str(), "r")) {
        std::fclose(f);
        if (CCSprite* sprite = spriteOfCopy())
            return sprite;
        // Empty or no picture (a write the disk cut short): fetched again.
        std::remove(local.c_str());
        CCTextureCache::sharedTextureCache()->removeTextureForKey(local.c_str());
    }
    GameServices& s = gameServices();
    const int32_t size = s.fileExists && s.fileExists(name) && s.getFileSize ? s.getFileSize(name) : 0;
    if (size <= 0)
        return nullptr;
    std::vector<unsigned char> buffer(static_cast<size_t>(size));
    // A short read is a broken copy: keep nothing.
    if (!s.fileRead || s.fileRead(name, buffer.data(), size) != size) {
        LOG_ERROR << "thumbnail read failed : " << name;
        return nullptr;
    }
    if (!NSData::writeToFile(NSData::dataWithBytesNoCopy(buffer.data(), static_cast<uint32_t>(size)), local))
        return nullptr;
    // The file is new: a texture cached under its path is stale.
    CCTextureCache::sharedTextureCache()->removeTextureForKey(local.c_str());
    CCSprite* sprite = spriteOfCopy();
    if (!sprite) {
        LOG_ERROR << "thumbnail is no picture : " << name;
        std::remove(local.c_str());
    }
    return sprite;
}

CCSprite* WorldPictures::drawSavedWorld(const std::string& cloudName)
{
    std::string bytes;
    worldblob::LoadPlan plan;
    std::string why;
    if (!readStoreFile(cloudName, bytes) ||
        !worldblob::parseBlob(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), plan, why)) {
        LOG << "no picture drawn of" << cloudName << ":" << (why.empty() ? "it cannot be read" : why);
        return nullptr;
    }
    // The world's size and look as a load makes them.
    const int width = plan.bigWorld ? World::kMaxWidth : World::kSmallWidth;
    const int height = plan.bigWorld ? World::kMaxHeight : World::kSmallHeight;
    const worldblob::BlobHeader& h = plan.header;
    const bool backgroundShown = !h.hasBackgroundShown || h.backgroundShown;
    CCMutableTexture2D* background = backgroundShown && h.hasBackground && worldblob::isSafeBackgroundName(h.background)
        ? backgroundTexture(h.background)
        : nullptr;
    // The border as a load draws it: in the running world's sentinel colour.
    const ccColor4B border = gWorld && gWorld->outsideWall ? gWorld->outsideWall->color : ccc4(0, 0, 0, 0);

    // As the running world's picture: a cell without colour shows the background.
    CCMutableTexture2D* picture = CCMutableTexture2D::createWithSize(CCSize(width, height));
    picture->setAliasTexParameters();
    auto paint = [&](int x, int y, ccColor4B colour) {
        picture->setPixelAt(x, y, colour.a != 0 ? colour : backgroundAt(background, plan.bigWorld, x, y, height));
    };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            paint(x, y, x == 0 || y == 0 || x == width - 1 || y == height - 1 ? border : ccc4(0, 0, 0, 0));
    // A load never puts a record on the border.
    auto inside = [&](int x, int y) { return x > 0 && y > 0 && x < width - 1 && y < height - 1; };
    KindColours kinds;
    for (const worldblob::ParticleRecord& record : plan.particles)
        if (inside(record.x, record.y))
            paint(record.x, record.y, kinds.of(record.type));
    for (const worldblob::ColourRecord& record : plan.colours)
        if (inside(record.x, record.y))
            paint(record.x, record.y, record.colour);
    CCSprite* sprite = flippedSprite(picture);
    if (sprite) {
        LOG << "picture of" << cloudName << "drawn again from the world";
        SaveLoadUtils::saveImageToCloud(sprite, SaveLoadUtils::thumbnailFileOf(cloudName));
    }
    return sprite;
}
