#pragma once
// A resource root of the test's own: every entry of the real tree linked
// into a temporary folder, except data/ and universes/, whose files are
// linked one by one so that a test can replace or add its own (a rewards
// file, prepared worlds, day settings) without touching the real tree. It is
// the engine's resource root while it lives.
#include <string>

#include "support/TempFolders.h"

namespace testsupport {

class ResourceMirror {
public:
    ResourceMirror();
    ~ResourceMirror();
    ResourceMirror(const ResourceMirror&) = delete;
    ResourceMirror& operator=(const ResourceMirror&) = delete;

    const std::string& path() const { return m_dir.path(); }
    // Writes a file under data/ or universes/ (its folders made), in place
    // of the linked one.
    void write(const std::string& relative, const std::string& bytes);
    void remove(const std::string& relative);

private:
    TempDir m_dir;
    std::string m_previousRoot;
};

// A plist document around a body ("<dict>...</dict>").
std::string plistText(const std::string& body);

}  // namespace testsupport
