#pragma once
// What an upload must be before the store takes it: a world blob the game's
// own reader accepts, no longer than the largest world, and a PNG picture
// whose chunks are whole and sound, no larger than kMaxScreenshotBytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "world/WorldBlob.h"

namespace gallery {

class UploadCheck {
public:
    static constexpr size_t kMaxScreenshotBytes = 512 * 1024;

    // Made on the main thread, after the elements are registered: it asks
    // every element class its extra-data size once. Then any thread may check.
    UploadCheck();

    size_t largestBlobSize() const { return m_largestBlob; }

    // "" when the game would load the blob, else why not, in words that
    // never quote it; what the reader found wrong in it goes to detail.
    std::string checkWorld(const std::string& blob, std::string* detail = nullptr) const;
    // "" when it is a PNG, else why not.
    static std::string checkPng(const std::string& png);

private:
    worldblob::ExtraSizeTable m_sizes;
    size_t m_largestBlob = 0;
};

}  // namespace gallery
