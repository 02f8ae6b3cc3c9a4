#include "platform/Folders.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sys/stat.h>

namespace platform {

namespace {

std::string stripTrailing(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// An absolute, non-empty value of the variable, or "".
std::string absoluteEnv(const char* name)
{
    const char* value = std::getenv(name);
    if (!value || value[0] != '/')
        return std::string();
    return stripTrailing(value);
}

FolderResult fromHome(const char* tail, const char* what)
{
    FolderResult result;
    std::string home = absoluteEnv("HOME");
    if (home.empty()) {
        result.error = std::string("HOME is not set to an absolute folder, so the ") + what + " folder cannot be found";
        return result;
    }
    result.ok = true;
    result.path = (home == "/" ? std::string() : home) + tail;
    return result;
}

// The DOCUMENTS entry of user-dirs.dirs: XDG_DOCUMENTS_DIR="$HOME/Docs".
std::string documentsFromUserDirs()
{
    std::string config = absoluteEnv("XDG_CONFIG_HOME");
    std::string home = absoluteEnv("HOME");
    if (config.empty()) {
        if (home.empty())
            return std::string();
        config = home + "/.config";
    }
    std::ifstream in(config + "/user-dirs.dirs");
    std::string line;
    const std::string key = "XDG_DOCUMENTS_DIR=";
    while (std::getline(in, line)) {
        if (line.compare(0, key.size(), key) != 0)
            continue;
        std::string value = line.substr(key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (value.compare(0, 5, "$HOME") == 0) {
            if (home.empty())
                return std::string();
            value = home + value.substr(5);
        }
        if (value.empty() || value[0] != '/')
            return std::string();
        return stripTrailing(value);
    }
    return std::string();
}

FolderResult withTail(FolderResult base)
{
    if (base.ok)
        base.path = (base.path == "/" ? std::string() : base.path) + Folders::kGameTail;
    return base;
}

}  // namespace

FolderResult Folders::documentsBase()
{
    std::string path = absoluteEnv("XDG_DOCUMENTS_DIR");
    if (path.empty())
        path = documentsFromUserDirs();
    if (!path.empty())
        return FolderResult{true, path, std::string()};
    return fromHome("/Documents", "documents");
}

FolderResult Folders::dataBase()
{
    std::string path = absoluteEnv("XDG_DATA_HOME");
    if (!path.empty())
        return FolderResult{true, path, std::string()};
    return fromHome("/.local/share", "data");
}

FolderResult Folders::documentsFolder()
{
    return withTail(documentsBase());
}

FolderResult Folders::saveFolder()
{
    return withTail(dataBase());
}

bool Folders::isDirectory(const std::string& path)
{
    struct stat info;
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool Folders::exists(const std::string& path)
{
    struct stat info;
    return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

bool Folders::makeDirectories(const std::string& path, std::string* error)
{
    if (path.empty()) {
        if (error)
            *error = "empty folder path";
        return false;
    }
    // Each prefix ending before a '/', then the whole path.
    for (size_t pos = path.find('/', 1);; pos = path.find('/', pos + 1)) {
        std::string prefix = pos == std::string::npos ? path : path.substr(0, pos);
        if (!prefix.empty() && prefix.back() != '/' && !isDirectory(prefix)) {
            if (::mkdir(prefix.c_str(), 0755) != 0 && !(errno == EEXIST && isDirectory(prefix))) {
                if (error)
                    *error = prefix + ": " + std::strerror(errno);
                return false;
            }
        }
        if (pos == std::string::npos)
            break;
    }
    if (!isDirectory(path)) {
        if (error)
            *error = path + ": not a folder";
        return false;
    }
    return true;
}

}  // namespace platform
