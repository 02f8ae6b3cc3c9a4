#include "scene/SaveLoadUtils.h"

#include "base/Logger.h"
#include "base/NSData.h"
#include "scene/WorldPictures.h"
#include "base/Utils.h"
#include "scene/GameLayer.h"
#include "world/GameServices.h"
#include "world/World.h"

#include <cstdio>

USING_NS_CC;

namespace {
bool g_freePlay = false;
}

bool SaveLoadUtils::isFreePlay()
{
    return g_freePlay;
}

void SaveLoadUtils::setFreePlay(bool freePlay)
{
    g_freePlay = freePlay;
}

bool SaveLoadUtils::worldFileName(const std::string& universeName, std::string& out)
{
    out.clear();
    for (char c : universeName) {
        const auto u = static_cast<unsigned char>(c);
        // One dot of a run: ".." would step out of the folder on some stores.
        if (c == '.' && !out.empty() && out.back() == '.')
            continue;
        out += (c == ' ' || c == '/' || c == '\\' || u < 0x20 || u == 0x7f) ? '_' : c;
    }
    // A dot before the extension would make "name..sav".
    while (!out.empty() && out.back() == '.')
        out.pop_back();
    if (out.empty() && !universeName.empty())
        return false;
    return true;
}

std::string SaveLoadUtils::nameFileOf(const std::string& worldFile)
{
    const size_t dot = worldFile.rfind('.');
    return (dot == std::string::npos ? worldFile : worldFile.substr(0, dot)) + ".name";
}

std::string SaveLoadUtils::thumbnailFileOf(const std::string& worldFile)
{
    std::string name = worldFile;
    if (name.size() >= 3)
        name.replace(name.size() - 3, 3, "png");
    return name;
}

std::string SaveLoadUtils::localCachePath(const std::string& cloudName)
{
    return joinPath(saveFolder, toLowerString(cloudName));
}

SaveLoadUtils::SaveResult SaveLoadUtils::saveWorld(bool overwrite)
{
    GameLayer* layer = GameLayer::getInstance();
    CCString* universe = layer->getUniverseName();
    std::string name;
    if (!worldFileName(universe ? universe->getString() : std::string(), name)) {
        LOG_ERROR << "world name refused: " << (universe ? universe->getString() : std::string());
        return SaveResult::NameRefused;
    }

    GameServices& s = gameServices();
    const std::string path = "User/" + name + ".sav";
    if (s.playSound)
        s.playSound("sfx_gui_loading");
    if (s.fileExists && s.fileExists(path) && !overwrite)
        return SaveResult::Exists;

    // The store replaces the file in one step, so the old save survives a
    // failed write: no delete first.
    NSData* blob = layer->getWorld().save();
    const bool written =
        blob && blob->length > 0 && s.fileWrite && s.fileWrite(path, blob->bytes, static_cast<int32_t>(blob->length));
    if (!written) {
        LOG_ERROR << "world save failed : " << path;
        return SaveResult::Failed;
    }
    // The list shows the name as typed even when the world cannot be read
    // one day; without this file it shows the file's (lower-case) name.
    const std::string typed = universe ? universe->getString() : std::string();
    if (!s.fileWrite(nameFileOf(path), typed.data(), static_cast<int32_t>(typed.size())))
        LOG_ERROR << "world name not kept : " << nameFileOf(path);
    layer->setLoadedWorldName(CCString::create(name));
    saveThumbnail(CCString::create(name));
    layer->getWorld().eventFlags[World::kEventWorldSaved] = 1;
    layer->getWorld().unsavedChanges = false;
    LOG << "world saved: " << path;
    return SaveResult::Saved;
}

bool SaveLoadUtils::hasEarlierSave()
{
    GameLayer* layer = GameLayer::getInstance();
    GameServices& s = gameServices();
    auto saved = [&](const std::string& name) { return !name.empty() && s.fileExists("User/" + name + ".sav"); };
    CCString* universe = layer->getUniverseName();
    std::string name;
    if (universe && worldFileName(universe->getString(), name) && saved(name))
        return true;
    CCString* loaded = layer->getLoadedWorldName();
    return loaded && saved(loaded->getString());
}

void SaveLoadUtils::saveThumbnail(CCString* name)
{
    if (!name || name->getString().empty())
        return;
    CCSprite* picture = WorldPictures::createWorldSnapshot();
    if (!picture)
        return;
    saveImageToCloud(picture, joinPath("User", name->getString() + ".png"));
}

bool SaveLoadUtils::saveImageToCloud(CCNode* node, const std::string& path)
{
    if (!node)
        return false;
    // Drawn from its lower-left corner, so the whole node lands in the picture.
    const CCPoint position = node->getPosition();
    const CCPoint anchor = node->getAnchorPoint();
    node->setPosition(CCPointZero);
    node->setAnchorPoint(CCPointZero);
    const CCSize size = node->getContentSize();
    CCRenderTexture* target = CCRenderTexture::create(static_cast<int>(size.width), static_cast<int>(size.height));
    if (target) {
        target->begin();
        node->visit();
        target->end();
    }
    node->setPosition(position);
    node->setAnchorPoint(anchor);

    const std::string local = localCachePath(path);
    std::remove(local.c_str());
    // A rewritten picture must not show the old one from the texture cache.
    CCTextureCache::sharedTextureCache()->removeTextureForKey(local.c_str());
    GameServices& s = gameServices();
    // The store's older picture is another world's by now: without a new
    // one, the list draws the world again rather than show it.
    auto dropStored = [&] {
        if (s.fileExists(path))
            s.fileDelete(path);
    };
    if (!target || !target->saveToFile(local.c_str())) {
        LOG_ERROR << "save failed : " << path;
        dropStored();
        return false;
    }
    LOG << "save successful : " << path;
    NSData* data = NSData::dataWithContentsOfFile(local);
    if (!data || data->length == 0 || !s.fileWrite(path, data->bytes, static_cast<int32_t>(data->length))) {
        LOG_ERROR << "write to Cloud failed : " << path;
        dropStored();
        return false;
    }
    return true;
}
