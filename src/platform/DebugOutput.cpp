#include "platform/DebugOutput.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>

namespace platform {

namespace {

std::atomic<int> g_logFd{-1};
// The one descriptor number the log file ever has. Writers read g_logFd
// without a lock, so the number is never closed and reused for another
// file while a writer may still hold it: a new log file is put in its place
// with dup2, and a detached one is replaced by /dev/null.
int g_parkedFd = -1;
std::mutex g_attachMutex;
// The tap is a test hook; the mutex only guards swapping it.
std::mutex g_tapMutex;
DebugOutput::Tap g_tap = nullptr;
void* g_tapContext = nullptr;

void writeAll(int fd, std::string_view line)
{
    // One write call normally carries the whole line; loop only on a short write.
    const char* p = line.data();
    size_t left = line.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
}

}  // namespace

void DebugOutput::write(std::string_view line)
{
    writeAll(STDERR_FILENO, line);
    int fd = g_logFd.load();
    if (fd >= 0)
        writeAll(fd, line);
    std::lock_guard<std::mutex> lock(g_tapMutex);
    if (g_tap)
        g_tap(line, g_tapContext);
}

void DebugOutput::writeFromSignal(const char* text, size_t length)
{
    std::string_view line(text, length);
    writeAll(STDERR_FILENO, line);
    int fd = g_logFd.load();
    if (fd >= 0)
        writeAll(fd, line);
}

bool DebugOutput::attachLogFile(const std::string& path)
{
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    std::lock_guard<std::mutex> lock(g_attachMutex);
    if (g_parkedFd < 0) {
        g_parkedFd = fd;
    } else {
        // dup2 leaves the parked number without O_CLOEXEC; set it again.
        int moved = ::dup2(fd, g_parkedFd);
        ::close(fd);
        if (moved < 0)
            return false;
        ::fcntl(g_parkedFd, F_SETFD, FD_CLOEXEC);
    }
    g_logFd.store(g_parkedFd);
    return true;
}

void DebugOutput::detachLogFile()
{
    std::lock_guard<std::mutex> lock(g_attachMutex);
    g_logFd.store(-1);
    if (g_parkedFd < 0)
        return;
    // A writer that loaded the number just before still writes somewhere
    // harmless, and the file itself is closed now.
    int sink = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (sink >= 0) {
        ::dup2(sink, g_parkedFd);
        ::close(sink);
        ::fcntl(g_parkedFd, F_SETFD, FD_CLOEXEC);
    }
}

void DebugOutput::setTap(Tap tap, void* context)
{
    std::lock_guard<std::mutex> lock(g_tapMutex);
    g_tap = tap;
    g_tapContext = context;
}

}  // namespace platform
