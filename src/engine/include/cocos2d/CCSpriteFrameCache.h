#pragma once
// Sprite frames by name, loaded from the sheets' frame plists. The frame
// cache is global: the first definition of a name wins.
#include <map>
#include <set>
#include <string>

#include "cocos2d/CCObject.h"

NS_CC_BEGIN

class CCSpriteFrame;

class CCSpriteFrameCache : public CCObject {
public:
    static CCSpriteFrameCache* sharedSpriteFrameCache();

    // Loads a sheet's frames; the same file again does nothing. The texture
    // is metadata.textureFileName beside the plist, else the plist's name
    // with ".png"; it comes through the texture cache. Rotated or trimmed
    // frames are rejected with a log line.
    void addSpriteFramesWithFile(const char* plist);
    // Null and a log line when the name is missing.
    CCSpriteFrame* spriteFrameByName(const char* name);
    // A missing name does nothing.
    void removeSpriteFrameByName(const char* name);
    // (ext) Registers (or replaces) one frame under a name.
    void addSpriteFrame(CCSpriteFrame* frame, const char* name);
    // Forgets every frame and every loaded file.
    void removeSpriteFrames();
    unsigned int frameCount() const { return static_cast<unsigned int>(m_frames.size()); }

private:
    CCSpriteFrameCache() = default;
    std::map<std::string, CCSpriteFrame*> m_frames;  // retained
    std::set<std::string> m_loadedFiles;
};

NS_CC_END
