#pragma once
// Start and stop of the platform services: the save folder, the log file in
// it, the cloud store and the player's identity. One game at a time keeps a
// save folder: the start holds a lock on it for the run, which the system
// lets go when the process ends in any way (even killed). The start fails
// when the save folder cannot be made, or when another game holds it; then
// it has written nothing.
#include <string>

namespace platform {

struct StartResult {
    bool ok = false;
    bool alreadyRunning = false;  // another game holds the save folder
    std::string cause;            // why the start failed, for the player
    std::string saveFolder;       // where the services keep their files
};

class PlatformServices {
public:
    static constexpr const char* kLogFileName = "tesmora.log";
    static constexpr const char* kCloudFolderName = "cloud";
    static constexpr const char* kLockFileName = "tesmora.lock";
    // A log larger than this at start becomes tesmora.log.old.
    static constexpr long kLogFileLimit = 4L * 1024 * 1024;

    static StartResult start();
    static void shutdown();
    static bool isStarted();
};

}  // namespace platform
