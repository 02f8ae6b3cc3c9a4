#pragma once
// The player's platform identity: a 64-bit id made once at random and kept in
// the save folder, so it stays the same from run to run.
#include <cstdint>
#include <string>

namespace platform {

class PlatformIdentity {
public:
    // Reads the id kept in the folder, or makes and keeps a new one when there
    // is none or it is unreadable. False only when no id could be kept (the id
    // then still lives for this run).
    static bool load(const std::string& folder);
    // The id; loads from the save folder on first use when load() was not called.
    static uint64_t userId();
    // Forgets the loaded id (tests).
    static void reset();

    static constexpr const char* kFileName = "platform-id";
};

}  // namespace platform
