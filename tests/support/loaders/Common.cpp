#include "support/loaders/Common.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "cocos2d.h"
#include "support/loaders/LoaderHarness.h"
#include "world/GameServices.h"

USING_NS_CC;

namespace loaders {

std::string Harness::feed(const uint8_t* data, size_t size)
{
    std::string why = feedOnce(data, size);
    CCPoolManager::sharedPoolManager()->drain();
    return why;
}

std::vector<uint8_t> readWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string gameResourceRoot()
{
    return CCFileUtils::sharedFileUtils()->getResourceRoot();
}

void installMemoryStore(std::map<std::string, Bytes>& files)
{
    GameServices& s = gameServices();
    s.fileExists = [&files](const std::string& n) { return files.count(n) != 0; };
    s.getFileSize = [&files](const std::string& n) {
        auto it = files.find(n);
        return it == files.end() ? 0 : static_cast<int32_t>(it->second.size());
    };
    s.fileRead = [&files](const std::string& n, void* buffer, int32_t size) {
        auto it = files.find(n);
        if (it == files.end() || size <= 0)
            return 0;
        const size_t count = std::min(it->second.size(), static_cast<size_t>(size));
        std::copy_n(it->second.begin(), count, static_cast<uint8_t*>(buffer));
        return static_cast<int32_t>(count);
    };
    s.fileWrite = [&files](const std::string& n, const void* bytes, int32_t size) {
        if (size < 0 || (size > 0 && !bytes))
            return false;
        auto* b = static_cast<const uint8_t*>(bytes);
        files[n] = Bytes(b, b + size);
        return true;
    };
    s.fileDelete = [&files](const std::string& n) { return files.erase(n) != 0; };
    s.playSound = [](const char*) {};
    s.showMessagePopup = [](const char*) {};
    s.showMessageText = [](const std::string&) {};
    s.refreshTopBarMana = [] {};
    s.createPlayer = [](Profile*, CCObject*, SEL_CallFunc) {};
    s.freeModeIntroDone = [] { return uint8_t{0}; };
    s.setFreeModeIntroDone = [](uint8_t) {};
}

}  // namespace loaders
