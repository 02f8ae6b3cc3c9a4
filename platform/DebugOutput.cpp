#include "platform/DebugOutput.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>

namespace platform {

namespace {

std::atomic<int> g_logFd{-1};
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

} // namespace

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
    int old = g_logFd.exchange(fd);
    if (old >= 0)
        ::close(old);
    return true;
}

void DebugOutput::detachLogFile()
{
    int old = g_logFd.exchange(-1);
    if (old >= 0)
        ::close(old);
}

void DebugOutput::setTap(Tap tap, void* context)
{
    std::lock_guard<std::mutex> lock(g_tapMutex);
    g_tap = tap;
    g_tapContext = context;
}

} // namespace platform
