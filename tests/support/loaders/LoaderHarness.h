#pragma once
// One harness per reader of bytes the game does not write itself in the same
// run: the profile file, plists, server answers, sprite sheets and fonts,
// blueprint folders and names from the cloud store's listing. The fuzz
// targets and the robustness tests feed the same harnesses, so both check the
// same promise: after any input the state the reader may change is either
// the old one or a sound new one, and nothing crashes.
//
// A harness sets up its own world of temporary folders and services when made
// and puts the old ones back when destroyed. Needs no test framework.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace loaders {

class Harness {
public:
    virtual ~Harness() = default;
    virtual const char* name() const = 0;
    // Valid inputs to start from.
    virtual std::vector<std::vector<uint8_t>> seeds() = 0;
    // Feeds one input: "" when all is well, else what went wrong. What the
    // input left in the autorelease pool goes with it, as at a frame's end.
    std::string feed(const uint8_t* data, size_t size);
    std::string feed(const std::vector<uint8_t>& input) { return feed(input.data(), input.size()); }

protected:
    virtual std::string feedOnce(const uint8_t* data, size_t size) = 0;
};

std::unique_ptr<Harness> makeProfileHarness();
std::unique_ptr<Harness> makePlistHarness();
std::unique_ptr<Harness> makeServerAnswerHarness();
std::unique_ptr<Harness> makeSheetFontHarness();
std::unique_ptr<Harness> makeBlueprintHarness();
std::unique_ptr<Harness> makeCloudNameHarness();
std::unique_ptr<Harness> makeGalleryAnswerHarness();
std::unique_ptr<Harness> makeServerRequestHarness();

// Reads a file whole (empty when missing); for seeds from the resource tree.
std::vector<uint8_t> readWholeFile(const std::string& path);
// The resource tree the game reads (ENGINE_RESOURCES, else beside the program).
std::string gameResourceRoot();

}  // namespace loaders
