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

bool writeAll(int fd, const unsigned char* data, size_t size)
{
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

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

int FileSync::replaceFile(int fd, const std::string& temp, const std::string& path, const void* data, size_t size)
{
    int failure = 0;
    if (!writeAll(fd, static_cast<const unsigned char*>(data), size) || ::fsync(fd) != 0)
        failure = errno;
    if (::close(fd) != 0 && failure == 0)
        failure = errno;
    // rename replaces a link of that name rather than writing through it.
    if (failure == 0 && ::rename(temp.c_str(), path.c_str()) != 0)
        failure = errno;
    if (failure != 0) {
        ::unlink(temp.c_str());
        return failure;
    }
    // The rename is the write: until the folder is synced a power cut can
    // undo it. The file itself is whole either way, so a folder that cannot
    // be synced is only logged.
    syncFolder(path.substr(0, path.rfind('/')));
    return 0;
}

void FileSync::setFolderObserver(std::function<void(const std::string&)> observer)
{
    std::lock_guard<std::mutex> lock(g_observerMutex);
    g_observer = std::move(observer);
}

}  // namespace platform
