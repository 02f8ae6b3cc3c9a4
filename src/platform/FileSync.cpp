#include "platform/FileSync.h"

#include "platform/DebugOutput.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>
#include <utility>

namespace platform {

namespace {

std::mutex g_observerMutex;
std::function<void(const std::string&)> g_observer;

}  // namespace

bool FileSync::syncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    int failure = fd < 0 ? errno : 0;
    if (fd >= 0) {
        if (::fsync(fd) != 0)
            failure = errno;
        ::close(fd);
    }
    if (failure != 0)
        DebugOutput::write("file sync: cannot sync the folder " + folder + ": " + std::strerror(failure) + "\n");
    std::lock_guard<std::mutex> lock(g_observerMutex);
    if (g_observer)
        g_observer(folder);
    return failure == 0;
}

void FileSync::setFolderObserver(std::function<void(const std::string&)> observer)
{
    std::lock_guard<std::mutex> lock(g_observerMutex);
    g_observer = std::move(observer);
}

}  // namespace platform
