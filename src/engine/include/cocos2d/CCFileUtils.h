#pragma once
#include <string>

#include "cocos2d/ccMacros.h"

NS_CC_BEGIN

// Resolves the names the game builds against one absolute resource root.
// The root comes from ENGINE_RESOURCES, else the folder "resources" beside
// the executable; setResourceRoot overrides both.
class CCFileUtils {
public:
    static CCFileUtils* sharedFileUtils();

    // An absolute path is returned as it is; a relative one is joined to the
    // root. When the named file is absent, ".pvr.ccz"/".pvr" fall back to
    // ".png" and ".mp3" to ".ogg" then ".wav"; when no fallback exists
    // either, the unmapped path is returned so that opening it fails.
    std::string fullPathForFilename(const std::string& name);

    // The whole file in a buffer from new unsigned char[] (free it with
    // delete[]). Missing or unreadable: null, size 0 and a log line. An empty
    // file gives a non-null buffer and size 0. The name is resolved with
    // fullPathForFilename; the mode is accepted for callers' sake, reading is
    // always binary.
    unsigned char* getFileData(const char* name, const char* mode, unsigned long* size);

    // True when the name resolves (with the name mapping) to a regular file.
    bool isFileExist(const std::string& name);
    bool isAbsolutePath(const std::string& path) const { return !path.empty() && path[0] == '/'; }

    void setResourceRoot(const std::string& root);
    const std::string& getResourceRoot();

private:
    CCFileUtils() = default;
    void ensureRoot();
    std::string m_root;
    bool m_rootChosen = false;
};

NS_CC_END
