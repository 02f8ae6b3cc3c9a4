#include "platform/PlatformServices.h"

#include "platform/CloudStorage.h"
#include "platform/DebugOutput.h"
#include "platform/Folders.h"
#include "platform/PlatformIdentity.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

bool g_started = false;
int g_lockFd = -1;  // held for the run; -1 when the folder could not be locked
std::string g_lockedFolder;

enum class Lock { Held, Taken, Unavailable };

// flock belongs to the open file, so the system lets it go with the process.
// Opening the file of a lock that another game holds changes nothing in it.
Lock lockSaveFolder(const std::string& folder, std::string* why)
{
    const std::string path = folder + "/" + PlatformServices::kLockFileName;
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        *why = path + ": " + std::strerror(errno);
        return Lock::Unavailable;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int failure = errno;
        ::close(fd);
        *why = path + ": " + std::strerror(failure);
        return failure == EWOULDBLOCK ? Lock::Taken : Lock::Unavailable;
    }
    g_lockFd = fd;
    g_lockedFolder = folder;
    return Lock::Held;
}

void unlockSaveFolder()
{
    if (g_lockFd >= 0)
        ::close(g_lockFd);
    g_lockFd = -1;
    g_lockedFolder.clear();
}

}  // namespace

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
    // Before anything is written: a second game must leave the first one's
    // files alone.
    std::string lockProblem;
    if (g_lockFd >= 0 && g_lockedFolder != save.path)
        unlockSaveFolder();
    const Lock lock = g_lockFd >= 0 ? Lock::Held : lockSaveFolder(save.path, &lockProblem);
    if (lock == Lock::Taken) {
        result.alreadyRunning = true;
        result.cause = "another copy of the game is running on " + save.path;
        return result;
    }
    // Everything below is optional: the game runs without a log file, and a
    // store or identity that cannot be kept shows up as failed saves later.
    std::string logPath = save.path + "/" + kLogFileName;
    // One earlier log is kept, so the file cannot grow run after run.
    struct stat info;
    if (::stat(logPath.c_str(), &info) == 0 && info.st_size > kLogFileLimit)
        std::rename(logPath.c_str(), (logPath + ".old").c_str());
    if (!DebugOutput::attachLogFile(logPath))
        DebugOutput::write("platform: cannot open the log file " + logPath + "\n");
    if (lock == Lock::Unavailable)
        DebugOutput::write("platform: the save folder cannot be locked (" + lockProblem +
                           "); a second copy of the game would not be stopped\n");
    if (!CloudStorage::setRoot(save.path + "/" + kCloudFolderName, &error))
        DebugOutput::write("platform: no cloud storage: " + error + "\n");
    else if (lock == Lock::Held)
        CloudStorage::removeUnfinishedWrites();
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
    unlockSaveFolder();
}

bool PlatformServices::isStarted()
{
    return g_started;
}

}  // namespace platform
