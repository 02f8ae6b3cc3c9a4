#pragma once
// Blueprint folders for tests, written from the small sources under
// tests/fixtures/blueprints (the game's own art can change without moving a
// test). While the object lives, its folder is the resource root, so seeds
// find "trees/oak" and the rest there.
#include <string>

#include "support/TempFolders.h"

namespace testsupport {

class FixtureBlueprints {
public:
    FixtureBlueprints();
    ~FixtureBlueprints();
    FixtureBlueprints(const FixtureBlueprints&) = delete;
    FixtureBlueprints& operator=(const FixtureBlueprints&) = delete;
    const std::string& root() const { return m_dir.path(); }

private:
    TempDir m_dir;
    std::string m_oldRoot;
};

// Writes one folder from source text (the .bp format) to an absolute path.
bool writeBlueprintText(const std::string& text, const std::string& folder, std::string& error);

}  // namespace testsupport
