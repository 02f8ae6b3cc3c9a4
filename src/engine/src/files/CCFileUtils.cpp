#include "cocos2d/CCFileUtils.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/EngineLog.h"

NS_CC_BEGIN

namespace {

bool endsWith(const std::string& s, const char* suffix)
{
    size_t n = std::strlen(suffix);
    return s.size() >= n && s.compare(s.size() - n, n, suffix) == 0;
}

bool regularFileExists(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string withoutTrailingSlashes(std::string path)
{
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

// A relative folder is taken against the working directory at the moment it
// is set, so later changes of the working directory never move the root.
std::string absoluteFolder(const std::string& path)
{
    if (path.empty() || path[0] == '/') {
        return withoutTrailingSlashes(path);
    }
    std::vector<char> cwd(PATH_MAX);
    if (::getcwd(cwd.data(), cwd.size()) == nullptr) {
        engineLog("cannot read the working directory: %s", std::strerror(errno));
        return withoutTrailingSlashes(path);
    }
    return withoutTrailingSlashes(std::string(cwd.data()) + "/" + path);
}

std::string executableFolder()
{
    std::vector<char> buffer(PATH_MAX + 1);
    ssize_t n = ::readlink("/proc/self/exe", buffer.data(), PATH_MAX);
    if (n <= 0) {
        engineLog("cannot find the executable's folder: %s", std::strerror(errno));
        return absoluteFolder(".");
    }
    std::string exe(buffer.data(), (size_t)n);
    size_t slash = exe.rfind('/');
    return slash == std::string::npos || slash == 0 ? std::string("/") : exe.substr(0, slash);
}

}  // namespace

CCFileUtils* CCFileUtils::sharedFileUtils()
{
    static CCFileUtils* instance = new CCFileUtils();
    return instance;
}

void CCFileUtils::ensureRoot()
{
    if (m_rootChosen) {
        return;
    }
    m_rootChosen = true;
    const char* env = std::getenv("ENGINE_RESOURCES");
    if (env && *env) {
        m_root = absoluteFolder(env);
    } else {
        std::string folder = executableFolder();
        m_root = folder == "/" ? std::string("/resources") : folder + "/resources";
    }
}

void CCFileUtils::setResourceRoot(const std::string& root)
{
    m_root = absoluteFolder(root);
    m_rootChosen = true;
}

const std::string& CCFileUtils::getResourceRoot()
{
    ensureRoot();
    return m_root;
}

std::string CCFileUtils::fullPathForFilename(const std::string& name)
{
    std::string path;
    if (isAbsolutePath(name)) {
        path = name;
    } else {
        ensureRoot();
        path = m_root == "/" ? "/" + name : m_root + "/" + name;
    }
    if (regularFileExists(path)) {
        return path;
    }
    // The code keeps the names it builds; the assets are PNG atlases and
    // OGG or WAV sounds of the same stem.
    if (endsWith(path, ".pvr.ccz") || endsWith(path, ".pvr")) {
        std::string stem = path.substr(0, path.size() - (endsWith(path, ".pvr") ? 4 : 8));
        std::string png = stem + ".png";
        if (regularFileExists(png)) {
            return png;
        }
    } else if (endsWith(path, ".mp3")) {
        std::string stem = path.substr(0, path.size() - 4);
        for (const char* ext : {".ogg", ".wav"}) {
            std::string candidate = stem + ext;
            if (regularFileExists(candidate)) {
                return candidate;
            }
        }
    }
    return path;
}

bool CCFileUtils::isFileExist(const std::string& name)
{
    return !name.empty() && regularFileExists(fullPathForFilename(name));
}

unsigned char* CCFileUtils::getFileData(const char* name, const char* mode, unsigned long* size)
{
    (void)mode;  // reading is always binary
    if (size) {
        *size = 0;
    }
    if (!name || !*name) {
        engineLog("getFileData: empty file name");
        return nullptr;
    }
    std::string path = fullPathForFilename(name);
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        engineLog("cannot open %s: %s", path.c_str(), std::strerror(errno));
        return nullptr;
    }
    struct stat st;
    if (::fstat(fileno(file), &st) != 0 || !S_ISREG(st.st_mode)) {
        engineLog("cannot read %s: not a regular file", path.c_str());
        std::fclose(file);
        return nullptr;
    }
    // Read to the end rather than trusting the size alone: the file may
    // change while it is read.
    std::vector<unsigned char> bytes;
    bytes.reserve((size_t)st.st_size);
    unsigned char chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        engineLog("cannot read %s: read error", path.c_str());
        return nullptr;
    }
    // Never a zero-length new[]: an empty file still gives a buffer.
    unsigned char* buffer = new unsigned char[bytes.empty() ? 1 : bytes.size()];
    if (!bytes.empty()) {
        std::memcpy(buffer, bytes.data(), bytes.size());
    }
    if (size) {
        *size = (unsigned long)bytes.size();
    }
    return buffer;
}

NS_CC_END
