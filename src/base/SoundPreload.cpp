#include "base/SoundPreload.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "SimpleAudioEngine.h"
#include "base/Logger.h"
#include "base/Utils.h"
#include "cocos2d.h"

void preloadEffectSounds()
{
    const std::string folder = cocos2d::CCFileUtils::sharedFileUtils()->fullPathForFilename("sounds");
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        if (entry.is_regular_file() && entry.path().extension() == ".mp3")
            names.push_back(entry.path().stem().string());
    if (ec || names.empty()) {
        LOG_ERROR << "no sound effects to preload in" << folder;
        return;
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names)
        CocosDenshion::SimpleAudioEngine::sharedEngine()->preloadEffect(soundFilePath("sounds", name.c_str()).c_str());
}
