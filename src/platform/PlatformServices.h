#pragma once
// Start and stop of the platform services: the save folder, the log file in
// it, the cloud store and the player's identity. The start fails only when
// the save folder cannot be made.
#include <string>

namespace platform {

struct StartResult {
    bool ok = false;
    std::string cause;       // why the start failed, for the player
    std::string saveFolder;  // where the services keep their files
};

class PlatformServices {
public:
    static constexpr const char* kLogFileName = "tesmora.log";
    static constexpr const char* kCloudFolderName = "cloud";
    // A log larger than this at start becomes tesmora.log.old.
    static constexpr long kLogFileLimit = 4L * 1024 * 1024;

    static StartResult start();
    static void shutdown();
    static bool isStarted();
};

}  // namespace platform
