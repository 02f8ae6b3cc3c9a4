#include "platform/PlatformIdentity.h"

#include "platform/DebugOutput.h"
#include "platform/FileSync.h"
#include "platform/Folders.h"

#include <cinttypes>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <mutex>
#include <random>
#include <sstream>
#include <unistd.h>

namespace platform {

namespace {

std::mutex g_mutex;
bool g_loaded = false;
uint64_t g_id = 0;

uint64_t makeId()
{
    std::random_device device;
    uint64_t id = 0;
    while (id == 0)
        id = (static_cast<uint64_t>(device()) << 32) ^ device();
    return id;
}

bool parseId(const std::string& text, uint64_t& id)
{
    if (text.size() != 16)
        return false;
    uint64_t value = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else
            return false;
        value = (value << 4) | static_cast<uint64_t>(digit);
    }
    if (value == 0)
        return false;
    id = value;
    return true;
}

bool loadLocked(const std::string& folder)
{
    std::string path = folder + "/" + PlatformIdentity::kFileName;
    std::ifstream in(path);
    std::string text;
    if (in && std::getline(in, text) && parseId(text, g_id)) {
        g_loaded = true;
        return true;
    }
    g_id = makeId();
    g_loaded = true;
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016" PRIx64, g_id);
    // Synced before the rename and the folder after it: a power cut leaves
    // the whole id or none, never an empty file that would make another.
    const std::string temp = path + ".tmp";
    const std::string line = std::string(digits) + "\n";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || FileSync::replaceFile(fd, temp, path, line.data(), line.size()) != 0) {
        DebugOutput::write("platform identity: cannot keep the player id in " + path + "\n");
        return false;
    }
    return true;
}

}  // namespace

bool PlatformIdentity::load(const std::string& folder)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    return loadLocked(folder);
}

uint64_t PlatformIdentity::userId()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    if (!g_loaded) {
        FolderResult save = Folders::saveFolder();
        if (save.ok && Folders::makeDirectories(save.path))
            loadLocked(save.path);
        else {
            DebugOutput::write("platform identity: no save folder; the player id lasts for this run only\n");
            g_id = makeId();
            g_loaded = true;
        }
    }
    return g_id;
}

void PlatformIdentity::reset()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_loaded = false;
    g_id = 0;
}

}  // namespace platform
