#include "cocos2d/CCSpriteFrameCache.h"

#include <cmath>

#include "base/EngineLog.h"
#include "cocos2d/CCDictionary.h"
#include "cocos2d/CCFileUtils.h"
#include "cocos2d/CCSpriteFrame.h"
#include "cocos2d/CCString.h"
#include "cocos2d/CCTexture2D.h"
#include "cocos2d/CCTextureCache.h"

NS_CC_BEGIN

namespace {

std::string stringOf(CCDictionary* dict, const char* key)
{
    CCString* s = dynamic_cast<CCString*>(dict->objectForKey(key));
    return s ? s->getString() : std::string();
}

}  // namespace

CCSpriteFrameCache* CCSpriteFrameCache::sharedSpriteFrameCache()
{
    static CCSpriteFrameCache* cache = new CCSpriteFrameCache();
    return cache;
}

void CCSpriteFrameCache::addSpriteFramesWithFile(const char* plist)
{
    if (!plist || !*plist) {
        engineLog("CCSpriteFrameCache: no file name");
        return;
    }
    CCFileUtils* files = CCFileUtils::sharedFileUtils();
    const std::string full = files->fullPathForFilename(plist);
    if (m_loadedFiles.count(full))
        return;
    CCDictionary* dict = CCDictionary::createWithContentsOfFile(full);
    CCDictionary* frames = dynamic_cast<CCDictionary*>(dict->objectForKey("frames"));
    if (!frames) {
        engineLog("CCSpriteFrameCache: %s has no frames", full.c_str());
        return;
    }
    // The texture sits beside the plist; names resolve through the file
    // utilities, so the cache keys it by its full path.
    std::string textureName;
    if (CCDictionary* meta = dynamic_cast<CCDictionary*>(dict->objectForKey("metadata")))
        textureName = stringOf(meta, "textureFileName");
    const std::string plistName(plist);
    if (textureName.empty()) {
        textureName = plistName;
        if (textureName.size() > 6 && textureName.compare(textureName.size() - 6, 6, ".plist") == 0)
            textureName.resize(textureName.size() - 6);
        textureName += ".png";
    } else if (!files->isAbsolutePath(textureName)) {
        size_t slash = plistName.find_last_of('/');
        if (slash != std::string::npos)
            textureName = plistName.substr(0, slash + 1) + textureName;
    }
    CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addImage(textureName.c_str());
    if (!texture) {
        engineLog("CCSpriteFrameCache: no texture %s for %s", textureName.c_str(), full.c_str());
        return;
    }
    CCDictElement* element = nullptr;
    CCDICT_FOREACH(frames, element)
    {
        const std::string name = element->getStrKeyString();
        CCDictionary* frameDict = dynamic_cast<CCDictionary*>(element->getObject());
        if (!frameDict)
            continue;
        // Glyph rectangles are cut relative to a frame's origin: a rotated or
        // trimmed frame would draw the wrong pixels, so it is refused.
        CCString* rotated = dynamic_cast<CCString*>(frameDict->objectForKey("rotated"));
        if (rotated && rotated->boolValue()) {
            engineLog("CCSpriteFrameCache: frame %s of %s is rotated; skipped", name.c_str(), full.c_str());
            continue;
        }
        std::string offset = stringOf(frameDict, "offset");
        if (!offset.empty()) {
            CCPoint o = CCPointFromString(offset.c_str());
            if (o.x != 0 || o.y != 0) {
                engineLog("CCSpriteFrameCache: frame %s of %s is trimmed; skipped", name.c_str(), full.c_str());
                continue;
            }
        }
        std::string rectText = stringOf(frameDict, "frame");
        if (rectText.empty())
            rectText = stringOf(frameDict, "textureRect");
        CCRect rect = CCRectFromString(rectText.c_str());
        // "nan" and "inf" parse as numbers and slip past every comparison.
        const bool finite = std::isfinite(rect.origin.x) && std::isfinite(rect.origin.y) &&
            std::isfinite(rect.size.width) && std::isfinite(rect.size.height);
        if (!finite || rect.size.width <= 0 || rect.size.height <= 0 || rect.origin.x < 0 || rect.origin.y < 0 ||
            rect.getMaxX() > texture->getPixelsWide() || rect.getMaxY() > texture->getPixelsHigh()) {
            engineLog("CCSpriteFrameCache: frame %s of %s has a bad rectangle \"%s\"; skipped", name.c_str(),
                      full.c_str(), rectText.c_str());
            continue;
        }
        if (m_frames.count(name))
            continue;  // the first sheet that defines a name keeps it
        CCSpriteFrame* frame = new CCSpriteFrame();
        frame->initWithTexture(texture, rect);
        m_frames[name] = frame;
    }
    m_loadedFiles.insert(full);
}

CCSpriteFrame* CCSpriteFrameCache::spriteFrameByName(const char* name)
{
    auto it = m_frames.find(name ? name : "");
    if (it == m_frames.end()) {
        engineLog("CCSpriteFrameCache: no frame named %s", name ? name : "(null)");
        return nullptr;
    }
    return it->second;
}

void CCSpriteFrameCache::removeSpriteFrameByName(const char* name)
{
    auto it = m_frames.find(name ? name : "");
    if (it == m_frames.end())
        return;
    CCSpriteFrame* frame = it->second;
    m_frames.erase(it);
    frame->release();
}

void CCSpriteFrameCache::addSpriteFrame(CCSpriteFrame* frame, const char* name)
{
    if (!frame || !name)
        return;
    frame->retain();
    auto it = m_frames.find(name);
    if (it != m_frames.end()) {
        it->second->release();
        it->second = frame;
    } else {
        m_frames[name] = frame;
    }
}

void CCSpriteFrameCache::removeSpriteFrames()
{
    std::map<std::string, CCSpriteFrame*> old;
    old.swap(m_frames);
    for (auto& kv : old)
        kv.second->release();
    m_loadedFiles.clear();
}

NS_CC_END
