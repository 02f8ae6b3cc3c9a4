#pragma once
// Textures loaded from files, shared by resolved path. A file whose size or
// modification time changed since it was loaded is loaded again.
#include <map>
#include <string>

#include "cocos2d/CCObject.h"

NS_CC_BEGIN

class CCTexture2D;

class CCTextureCache : public CCObject {
public:
    static CCTextureCache* sharedTextureCache();

    // The texture of the file, or null (missing or undecodable, logged). The
    // key is the resolved full path, so "pvr/x.pvr.ccz" and "pvr/x.png" give
    // the same object.
    CCTexture2D* addImage(const char* path);
    CCTexture2D* textureForKey(const char* path);
    void removeTexture(CCTexture2D* texture);
    void removeTextureForKey(const char* path);
    void removeAllTextures();
    // (ext) A texture of this size without a file, for tests.
    CCTexture2D* addSizeOnlyTexture(const char* key, unsigned int width, unsigned int height);
    unsigned int textureCount() const { return static_cast<unsigned int>(m_textures.size()); }

private:
    CCTextureCache() = default;
    struct Entry {
        CCTexture2D* texture = nullptr;
        long long fileSize = -1;
        long long modified = 0;  // nanoseconds
    };
    std::string keyFor(const char* path);
    std::map<std::string, Entry> m_textures;
};

NS_CC_END
