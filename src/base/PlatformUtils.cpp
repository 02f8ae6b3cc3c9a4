#include "base/PlatformUtils.h"

#include "base/Logger.h"
#include "base/Utils.h"
#include "platform/CloudStorage.h"
#include "platform/PlatformIdentity.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

USING_NS_CC;

std::list<std::string> listCloudFiles(const std::string& folder)
{
    return listCloudFiles({folder});
}

std::list<std::string> listCloudFiles(std::initializer_list<std::string> folders)
{
    std::list<std::string> names;
    int32_t count = platform::CloudStorage::getFileCount();
    for (const std::string& folder : folders) {
        // A folder, not a bare prefix: "User" must not bring in a root-level
        // "users.sav".
        std::string lowered = toLowerString(folder);
        if (!lowered.empty() && lowered.back() != '/')
            lowered += '/';
        for (int32_t i = 0; i < count; ++i) {
            std::string name = platform::CloudStorage::getFileNameAndSize(i, nullptr);
            if (name.compare(0, lowered.size(), lowered) == 0)
                names.push_back(name);
        }
    }
    return names;
}

bool saveScreenshotImage(CCImage* image, const std::string& path, int* error)
{
    if (error)
        *error = 0;
    if (!image)
        return false;
    errno = 0;
    bool saved = image->saveToFile(path.c_str(), true);
    if (!saved) {
        // Read before the log line, which may change it.
        const int failure = errno != 0 ? errno : EIO;
        LOG_ERROR << "Failed to save screenshot: " << std::strerror(failure);
        if (error)
            *error = failure;
    }
    return saved;
}

std::string platformUserId()
{
    uint64_t id = platform::PlatformIdentity::userId();
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int32_t>(static_cast<uint32_t>(id & 0xFFFFFFFFu)));
    LOG << "steamID: " << text;
    return text;
}

std::string platformName()
{
    return "Steam";
}
