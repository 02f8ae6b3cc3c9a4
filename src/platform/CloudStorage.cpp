#include "platform/CloudStorage.h"

#include "platform/DebugOutput.h"
#include "platform/FileSync.h"
#include "platform/Folders.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace platform {

namespace {

// Temporary files of unfinished writes start with this and are never listed.
const char kTempPrefix[] = ".cloud-tmp-";

struct Store {
    std::mutex mutex;
    std::string root;
    bool listingValid = false;
    std::vector<std::pair<std::string, int32_t>> listing;
    int lastWriteError = 0;
};

Store& store()
{
    static Store* instance = new Store();  // lives for the run
    return *instance;
}

void logLine(const std::string& text)
{
    DebugOutput::write("cloud storage: " + text + "\n");
}

int32_t clampSize(long long size)
{
    return size > INT32_MAX ? INT32_MAX : static_cast<int32_t>(size);
}

// Size not looked up yet: a listing only reads its folders, and the size of
// an entry is looked up when asked for.
constexpr int32_t kSizeUnknown = -1;

// Reads the open folder `fd` straight into a buffer on the stack and hands
// each entry but "." and ".." to visit(name, type, size): its type as the
// folder gives it, else looked up relative to the folder without following
// a link (the size then comes with it, else kSizeUnknown). An entry that
// cannot be looked up is skipped.
template <typename Visit> void readFolder(int fd, Visit&& visit)
{
    alignas(dirent64) char buffer[4096];
    ssize_t filled;
    while ((filled = ::getdents64(fd, buffer, sizeof buffer)) > 0) {
        for (ssize_t at = 0; at < filled;) {
            const auto* entry = reinterpret_cast<const dirent64*>(buffer + at);
            at += entry->d_reclen;
            const char* name = entry->d_name;
            if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
                continue;
            unsigned char type = entry->d_type;
            int32_t size = kSizeUnknown;
            if (type == DT_UNKNOWN) {
                struct stat info;
                if (::fstatat(fd, name, &info, AT_SYMLINK_NOFOLLOW) != 0)
                    continue;
                type = S_ISDIR(info.st_mode) ? DT_DIR : S_ISREG(info.st_mode) ? DT_REG : DT_UNKNOWN;
                size = clampSize(info.st_size);
            }
            visit(name, type, size);
        }
    }
}

bool isUnfinishedWrite(const char* name)
{
    return std::strncmp(name, kTempPrefix, sizeof kTempPrefix - 1) == 0;
}

int openSubfolder(int fd, const char* name)
{
    return ::openat(fd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

// Lists the open folder `fd` (and closes it). A listing allocates nothing
// per folder and walks no path from the root. A link is never followed.
void listFolder(int fd, const std::string& prefix, std::vector<std::pair<std::string, int32_t>>& out, int depth)
{
    if (depth > 16) {
        ::close(fd);
        return;
    }
    readFolder(fd, [&](const char* name, unsigned char type, int32_t size) {
        if (isUnfinishedWrite(name))
            return;
        // A name no operation can reach (upper case, a backslash...) is
        // not reported: every listed name must read back.
        std::string relative = prefix + name;
        if (CloudStorage::foldName(relative) != relative)
            return;
        if (type == DT_DIR) {
            const int sub = openSubfolder(fd, name);
            if (sub >= 0)
                listFolder(sub, relative + "/", out, depth + 1);
        } else if (type == DT_REG) {
            out.emplace_back(std::move(relative), size);
        }
    });
    ::close(fd);
}

// What a name's path is on disk. Symbolic links inside the store are never
// followed: a link (to a file or a folder) could lead a read, a write or a
// delete out of the store.
enum class Entry { Missing, File, Blocked };

// Looks at every component below the root with lstat: each folder on the way
// must be a real folder (or missing), the last one a regular file (or missing).
// The last look goes to `found` when given.
Entry entryOf(const std::string& root, const std::string& folded, struct stat* found = nullptr)
{
    std::string path = root;
    size_t start = 0;
    while (true) {
        size_t end = folded.find('/', start);
        bool last = end == std::string::npos;
        path.append(1, '/').append(folded, start, last ? std::string::npos : end - start);
        struct stat info;
        if (::lstat(path.c_str(), &info) != 0)
            return errno == ENOENT ? Entry::Missing : Entry::Blocked;
        if (last) {
            if (found)
                *found = info;
            return S_ISREG(info.st_mode) ? Entry::File : Entry::Blocked;
        }
        if (!S_ISDIR(info.st_mode))
            return Entry::Blocked;
        start = end + 1;
    }
}

// Full path of a folded name, or "" when there is no store or the name is refused.
std::string pathOf(const Store& s, const std::string& name)
{
    std::string f = CloudStorage::foldName(name);
    if (f.empty()) {
        logLine("refused file name \"" + name + "\"");
        return std::string();
    }
    if (s.root.empty())
        return std::string();
    return s.root + "/" + f;
}

// The path of an existing regular file of the store, or ""; its look in
// `found` when given.
std::string existingFile(const Store& s, const std::string& name, struct stat* found = nullptr)
{
    std::string path = pathOf(s, name);
    if (path.empty() || entryOf(s.root, path.substr(s.root.size() + 1), found) != Entry::File)
        return std::string();
    return path;
}

// Makes the folders of a folded name below the root, refusing any component
// that is a link or not a folder. 0, or the system's error number with the
// folder in `error`.
int makeStoreFolders(const std::string& root, const std::string& folded, std::string* error)
{
    std::string path = root;
    size_t start = 0;
    for (size_t end = folded.find('/'); end != std::string::npos; end = folded.find('/', start)) {
        path.append(1, '/').append(folded, start, end - start);
        struct stat info;
        if (::lstat(path.c_str(), &info) != 0) {
            if (errno != ENOENT || (::mkdir(path.c_str(), 0755) != 0 && errno != EEXIST)) {
                const int failure = errno;
                *error = path + ": " + std::strerror(failure);
                return failure;
            }
            // The new folder's entry, or a power cut could take it with
            // the file about to go in it.
            FileSync::syncFolder(path.substr(0, path.rfind('/')));
            if (::lstat(path.c_str(), &info) != 0) {
                const int failure = errno;
                *error = path + ": " + std::strerror(failure);
                return failure;
            }
        }
        if (!S_ISDIR(info.st_mode)) {
            *error = path + ": not a folder of the store";
            return ENOTDIR;
        }
        start = end + 1;
    }
    return 0;
}

// Removes the unfinished writes in the open folder `fd` and below (and
// closes it); the number removed. No link is followed.
int removeTempFiles(int fd, int depth)
{
    int removed = 0;
    if (depth > 16) {
        ::close(fd);
        return removed;
    }
    std::vector<std::string> folders, unfinished;
    readFolder(fd, [&](const char* name, unsigned char type, int32_t) {
        if (type == DT_DIR)
            folders.emplace_back(name);
        else if (type == DT_REG && isUnfinishedWrite(name))
            unfinished.emplace_back(name);
    });
    // Once the folder is read: removing while reading could skip entries.
    for (const std::string& name : unfinished)
        removed += ::unlinkat(fd, name.c_str(), 0) == 0;
    for (const std::string& folder : folders) {
        const int sub = openSubfolder(fd, folder.c_str());
        if (sub >= 0)
            removed += removeTempFiles(sub, depth + 1);
    }
    ::close(fd);
    return removed;
}

}  // namespace

std::string CloudStorage::foldName(const std::string& name)
{
    if (name.empty() || name[0] == '/')
        return std::string();
    std::string folded;
    folded.reserve(name.size());
    for (char c : name) {
        if (c == '\0' || c == '\\')
            return std::string();
        folded += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    size_t start = 0;
    while (start <= folded.size()) {
        size_t end = folded.find('/', start);
        if (end == std::string::npos)
            end = folded.size();
        std::string part = folded.substr(start, end - start);
        if (part.empty() || part == "." || part == ".." || part.rfind(kTempPrefix, 0) == 0)
            return std::string();
        start = end + 1;
    }
    return folded;
}

bool CloudStorage::setRoot(const std::string& folder, std::string* error)
{
    if (!Folders::makeDirectories(folder, error))
        return false;
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.root = folder;
    while (s.root.size() > 1 && s.root.back() == '/')
        s.root.pop_back();
    s.listingValid = false;
    return true;
}

std::string CloudStorage::root()
{
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.root;
}

void CloudStorage::clearRoot()
{
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.root.clear();
    s.listing.clear();
    s.listingValid = false;
}

bool CloudStorage::fileWrite(const std::string& name, const void* data, int32_t size)
{
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (size < 0 || (size > 0 && !data)) {
        s.lastWriteError = EINVAL;
        return false;
    }
    std::string path = pathOf(s, name);
    if (path.empty()) {
        s.lastWriteError = s.root.empty() ? ENOENT : EINVAL;
        return false;
    }
    std::string folder = path.substr(0, path.rfind('/'));
    std::string error;
    if (const int failure = makeStoreFolders(s.root, path.substr(s.root.size() + 1), &error)) {
        s.lastWriteError = failure;
        logLine("cannot make folder " + error);
        return false;
    }
    std::string temp = folder + "/" + kTempPrefix + "XXXXXX";
    std::vector<char> templ(temp.begin(), temp.end());
    templ.push_back('\0');
    int fd = ::mkstemp(templ.data());
    if (fd < 0) {
        s.lastWriteError = errno;
        logLine("cannot write " + path + ": " + std::strerror(errno));
        return false;
    }
    // mkstemp makes the file private; a cloud file is an ordinary one.
    ::fchmod(fd, 0644);
    if (const int failure = FileSync::replaceFile(fd, templ.data(), path, data, static_cast<size_t>(size))) {
        s.lastWriteError = failure;
        logLine("cannot write " + path + ": " + std::strerror(failure));
        return false;
    }
    s.lastWriteError = 0;
    s.listingValid = false;
    return true;
}

int CloudStorage::removeUnfinishedWrites()
{
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (s.root.empty())
        return 0;
    const int fd = ::open(s.root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    const int removed = removeTempFiles(fd, 0);
    if (removed > 0)
        logLine("removed " + std::to_string(removed) + " unfinished write(s) of an earlier run");
    return removed;
}

int CloudStorage::lastWriteError()
{
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.lastWriteError;
}

int32_t CloudStorage::fileRead(const std::string& name, void* buffer, int32_t size)
{
    if (!buffer || size <= 0)
        return 0;
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.mutex);
    std::string path = existingFile(s, name);
    if (path.empty())
        return 0;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return 0;
    auto* out = static_cast<unsigned char*>(buffer);
    int32_t total = 0;
    while (total < size) {
        ssize_t n = ::read(fd, out + total, static_cast<size_t>(size - total));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        total += static_cast<int32_t>(n);
    }
    ::close(fd);
    return total;
}

bool CloudStorage::fileDelete(const std::string& name)
{
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.mutex);
    std::string path = existingFile(s, name);
    if (path.empty())
        return false;
    s.listingValid = false;
    return ::unlink(path.c_str()) == 0;
}

bool CloudStorage::fileExists(const std::string& name)
{
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.mutex);
    return !existingFile(s, name).empty();
}

int32_t CloudStorage::getFileSize(const std::string& name)
{
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.mutex);
    struct stat info;
    return existingFile(s, name, &info).empty() ? 0 : clampSize(info.st_size);
}

int32_t CloudStorage::getFileCount()
{
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.mutex);
    // Counting starts a listing: take a fresh look at the folder.
    s.listing.clear();
    if (!s.root.empty()) {
        const int fd = ::open(s.root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0)
            listFolder(fd, std::string(), s.listing, 0);
    }
    std::sort(s.listing.begin(), s.listing.end());
    s.listingValid = true;
    return static_cast<int32_t>(s.listing.size());
}

std::string CloudStorage::getFileNameAndSize(int32_t index, int32_t* size)
{
    if (size)
        *size = 0;
    Store& s = store();
    std::unique_lock<std::mutex> lock(s.mutex);
    if (!s.listingValid) {
        lock.unlock();
        getFileCount();
        lock.lock();
    }
    if (index < 0 || static_cast<size_t>(index) >= s.listing.size())
        return std::string();
    auto& [name, known] = s.listing[static_cast<size_t>(index)];
    if (size && known == kSizeUnknown) {
        // Looked up as any read would: through no link.
        struct stat info;
        known = entryOf(s.root, name, &info) == Entry::File ? clampSize(info.st_size) : 0;
    }
    if (size)
        *size = known;
    return name;
}

}  // namespace platform
