#include "platform/PlatformServices.h"

#include "platform/CloudStorage.h"
#include "platform/DebugOutput.h"
#include "platform/Folders.h"
#include "platform/PlatformIdentity.h"

#include <cstdio>
#include <sys/stat.h>

namespace platform {

namespace {
bool g_started = false;
}

StartResult PlatformServices::start()
{
    StartResult result;
    FolderResult save = Folders::saveFolder();
    if (!save.ok) {
        result.cause = save.error;
        return result;
    }
    std::string error;
    if (!Folders::makeDirectories(save.path, &error)) {
        result.cause = "the save folder cannot be made: " + error;
        return result;
    }
    result.saveFolder = save.path;
    // Everything below is optional: the game runs without a log file, and a
    // store or identity that cannot be kept shows up as failed saves later.
    std::string logPath = save.path + "/" + kLogFileName;
    // One earlier log is kept, so the file cannot grow run after run.
    struct stat info;
    if (::stat(logPath.c_str(), &info) == 0 && info.st_size > kLogFileLimit)
        std::rename(logPath.c_str(), (logPath + ".old").c_str());
    if (!DebugOutput::attachLogFile(logPath))
        DebugOutput::write("platform: cannot open the log file " + logPath + "\n");
    if (!CloudStorage::setRoot(save.path + "/" + kCloudFolderName, &error))
        DebugOutput::write("platform: no cloud storage: " + error + "\n");
    PlatformIdentity::load(save.path);
    result.ok = true;
    g_started = true;
    return result;
}

void PlatformServices::shutdown()
{
    if (!g_started)
        return;
    g_started = false;
    CloudStorage::clearRoot();
    PlatformIdentity::reset();
    DebugOutput::detachLogFile();
}

bool PlatformServices::isStarted()
{
    return g_started;
}

}  // namespace platform
