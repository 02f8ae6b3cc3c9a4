#pragma once
// A byte buffer object: a whole file read into memory, a resource read through
// the engine, or bytes wrapped for writing. Callers read bytes and length
// directly. Every creator returns an autoreleased object, or null on failure.
#include <cstdint>
#include <string>

#include "cocos2d.h"

class NSData : public cocos2d::CCObject {
public:
    ~NSData() override;

    // The whole file; an empty file gives length 0, not null.
    static NSData* dataWithContentsOfFile(const std::string& path);
    // The whole resource through the engine's file utilities.
    static NSData* dataWithResourceFile(const std::string& path);
    // A copy of the bytes; null for null bytes or length 0.
    static NSData* dataWithBytes(const void* bytes, uint32_t length);
    // Points at the caller's bytes, which must outlive the object.
    static NSData* dataWithBytesNoCopy(void* bytes, uint32_t length);
    // The whole buffer to the file; a failed write removes the partial file.
    static bool writeToFile(NSData* data, const std::string& path);

    bool doesNotOwn = false;
    unsigned char* bytes = nullptr;
    uint32_t length = 0;

private:
    NSData() = default;
};
