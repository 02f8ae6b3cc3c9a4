// The running world as a picture (its cells over the background picture)
// and the saved worlds' thumbnails (fetched from the cloud store into the
// save folder, which serves as their cache).
#include "scene/WorldPictures.h"

#include <cstdio>
#include <string>
#include <vector>

#include "base/Logger.h"
#include "base/NSData.h"
#include "base/Utils.h"
#include "scene/GameLayer.h"
#include "scene/SaveLoadUtils.h"
#include "world/CCMutableTexture2D.h"
#include "world/GameServices.h"

USING_NS_CC;

namespace {

const ccColor4B kNoBackground = {23, 30, 34, 255};

// The current background picture, Rewards before Missions; null when neither
// folder has it.
CCMutableTexture2D* backgroundTexture(GameLayer* layer)
{
    CCString* name = layer->getBackgroundName();
    const std::string file = name ? name->getString() : std::string();
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
            if (colour.a == 0) {
                // Texture row 0 shows at the bottom: it takes the picture's last row.
                const int row = height - 1 - y;
                colour = backgroundOn ? (big ? background->getPixelAt(x / 2, row / 2) : background->getPixelAt(x, row))
                                      : kNoBackground;
            }
            picture->setPixelAt(x, y, colour);
        }
    picture->apply();
    CCSprite* sprite = CCSprite::createWithTexture(picture);
    if (sprite)
        sprite->setFlipY(true);
    return sprite;
}

CCSprite* WorldPictures::loadThumbnailSprite(CCString* worldName)
{
    if (!worldName)
        return nullptr;
    std::string name = worldName->getString();
    if (name.size() >= 3)
        name.replace(name.size() - 3, 3, "png");
    const std::string local = SaveLoadUtils::localCachePath(name);

    bool cached = false;
    if (FILE* f = std::fopen(local.c_str(), "r")) {
        std::fclose(f);
        cached = true;
    }
    if (!cached) {
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
    }
    CCSpriteFrameCache::sharedSpriteFrameCache()->removeSpriteFrameByName(local.c_str());
    return CCSprite::create(local.c_str());
}
