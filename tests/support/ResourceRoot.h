#pragma once
// The game's resource tree as the tests find it: ENGINE_RESOURCES, which
// CTest sets to the build's tree. A test that needs a file of it fails with
// this reason rather than skipping, so a broken path never passes.
#include <cstdlib>
#include <filesystem>
#include <string>

namespace testsupport {

// Empty when ENGINE_RESOURCES names a tree holding `file` (relative to it),
// else why not, naming the variable.
inline std::string resourceMissing(const std::string& file)
{
    const char* root = std::getenv("ENGINE_RESOURCES");
    if (!root || !*root)
        return "ENGINE_RESOURCES is not set: the test reads " + file +
            " from the game's resource tree (CTest sets it to the build's bin/resources)";
    if (!std::filesystem::exists(std::filesystem::path(root) / file))
        return "ENGINE_RESOURCES=" + std::string(root) + " has no " + file;
    return {};
}

}  // namespace testsupport
