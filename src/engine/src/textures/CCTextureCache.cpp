#include "cocos2d/CCTextureCache.h"

#include <sys/stat.h>

#include "base/EngineLog.h"
#include "cocos2d/CCFileUtils.h"
#include "cocos2d/CCImage.h"
#include "cocos2d/CCTexture2D.h"

NS_CC_BEGIN

namespace {

bool fileStamp(const std::string& path, long long& size, long long& modified)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    size = static_cast<long long>(st.st_size);
    modified = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    return true;
}

bool endsWith(const std::string& s, const char* suffix)
{
    const std::string x(suffix);
    return s.size() >= x.size() && s.compare(s.size() - x.size(), x.size(), x) == 0;
}

}  // namespace

CCTextureCache* CCTextureCache::sharedTextureCache()
{
    static CCTextureCache* cache = new CCTextureCache();
    return cache;
}

std::string CCTextureCache::keyFor(const char* path)
{
    return CCFileUtils::sharedFileUtils()->fullPathForFilename(path ? path : "");
}

CCTexture2D* CCTextureCache::addImage(const char* path)
{
    if (!path || !*path) {
        engineLog("CCTextureCache: no file name");
        return nullptr;
    }
    const std::string key = keyFor(path);
    long long size = -1, modified = 0;
    const bool exists = fileStamp(key, size, modified);
    auto it = m_textures.find(key);
    if (it != m_textures.end()) {
        Entry& e = it->second;
        // Size-only textures and files that have not changed are served as they are.
        if (e.fileSize < 0 || !exists || (e.fileSize == size && e.modified == modified))
            return e.texture;
    }
    if (!exists) {
        engineLog("CCTextureCache: no file %s", key.c_str());
        return nullptr;
    }
    CCImage image;
    if (!image.initWithImageFile(key.c_str()))
        return it != m_textures.end() ? it->second.texture : nullptr;
    CCTexture2D* texture = it != m_textures.end() ? it->second.texture : new CCTexture2D();
    // A changed file is loaded into the same object, so every sprite over it
    // shows the new pixels.
    if (!texture->initWithImage(&image)) {
        if (it == m_textures.end())
            texture->release();
        return nullptr;
    }
    const std::string name(path);
    if (endsWith(name, ".pvr.ccz") || endsWith(name, ".pvr"))
        texture->setHasPremultipliedAlpha(CCTexture2D::PVRImagesHavePremultipliedAlphaFlag());
    Entry& e = m_textures[key];
    e.texture = texture;
    e.fileSize = size;
    e.modified = modified;
    return texture;
}

CCTexture2D* CCTextureCache::textureForKey(const char* path)
{
    if (!path)
        return nullptr;
    auto it = m_textures.find(keyFor(path));
    return it == m_textures.end() ? nullptr : it->second.texture;
}

void CCTextureCache::removeTexture(CCTexture2D* texture)
{
    if (!texture)
        return;
    for (auto it = m_textures.begin(); it != m_textures.end(); ++it)
        if (it->second.texture == texture) {
            m_textures.erase(it);
            texture->release();
            return;
        }
}

void CCTextureCache::removeTextureForKey(const char* path)
{
    if (!path)
        return;
    auto it = m_textures.find(keyFor(path));
    if (it == m_textures.end())
        return;
    CCTexture2D* texture = it->second.texture;
    m_textures.erase(it);
    texture->release();
}

void CCTextureCache::removeAllTextures()
{
    std::map<std::string, Entry> old;
    old.swap(m_textures);
    for (auto& kv : old)
        kv.second.texture->release();
}

CCTexture2D* CCTextureCache::addSizeOnlyTexture(const char* key, unsigned int width, unsigned int height)
{
    if (!key || !*key)
        return nullptr;
    const std::string k = keyFor(key);
    auto it = m_textures.find(k);
    if (it != m_textures.end()) {
        it->second.texture->initWithSizeOnly(width, height);
        it->second.fileSize = -1;
        return it->second.texture;
    }
    CCTexture2D* texture = new CCTexture2D();
    texture->initWithSizeOnly(width, height);
    m_textures[k] = Entry{texture, -1, 0};
    return texture;
}

NS_CC_END
