#pragma once
// The game scene with a cloud store and save folder of its own, the sound
// log at hand, and helpers to paint and to count files.
#include <sys/stat.h>

#include <string>
#include <vector>

#include "support/GameSceneFixture.h"
#include "SimpleAudioEngine.h"
#include "base/NSData.h"
#include "scene/SaveLoadUtils.h"
#include "base/Utils.h"
#include "hud/GUISaveLoad.h"
#include "platform/CloudStorage.h"
#include "world/GameServices.h"

namespace gametest {

class SavedWorlds : public GameScene {
protected:
    void SetUp() override
    {
        GameScene::SetUp();
        ASSERT_TRUE(platform::CloudStorage::setRoot(m_cloud.file("cloud")));
        previousSaveFolder = saveFolder;
        saveFolder = m_cloud.file("save");
        mkdir(saveFolder.c_str(), 0700);
        mkdir((saveFolder + "/user").c_str(), 0700);
    }

    void TearDown() override
    {
        saveFolder = previousSaveFolder;
        platform::CloudStorage::clearRoot();
        GameScene::TearDown();
    }

    void name(const char* universe) { layer->setUniverseName(cocos2d::CCString::create(universe)); }

    void saveAs(const char* universe)
    {
        name(universe);
        ASSERT_EQ(SaveLoadUtils::saveWorld(true), SaveLoadUtils::SaveResult::Saved);
    }

    // The saved-worlds screen pushed over the running game scene, its
    // transition ended.
    GUISaveLoad* openSavedWorlds()
    {
        cocos2d::CCScene* scene = GUISaveLoad::scene();
        cocos2d::CCDirector::sharedDirector()->pushScene(scene);
        stepFrames(3);
        for (cocos2d::CCObject* child : *scene->getChildren())
            if (auto* screen = dynamic_cast<GUISaveLoad*>(child))
                return screen;
        return nullptr;
    }

    static std::vector<char> cloudBytes(const std::string& file)
    {
        const int32_t size = platform::CloudStorage::getFileSize(file);
        std::vector<char> bytes(static_cast<size_t>(size));
        if (size > 0)
            platform::CloudStorage::fileRead(file, bytes.data(), size);
        return bytes;
    }

    static std::vector<char> blobBytes(World& w)
    {
        NSData* data = w.save();
        return std::vector<char>(data->bytes, data->bytes + data->length);
    }

    // Where two blobs differ (-1: nowhere), for the failure message.
    static long firstDifference(const std::vector<char>& a, const std::vector<char>& b)
    {
        for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
            if (a[i] != b[i])
                return static_cast<long>(i);
        return a.size() == b.size() ? -1 : static_cast<long>(std::min(a.size(), b.size()));
    }

    static int soundsPlayed(const char* name)
    {
        int n = 0;
        for (const auto& call : CocosDenshion::SimpleAudioEngine::sharedEngine()->recordedCalls())
            n += call.operation == "playEffect" && call.path.find(name) != std::string::npos;
        return n;
    }

    void paintBlock(const char* element, int x0, int y0, int size)
    {
        for (int x = x0; x < x0 + size; ++x)
            for (int y = y0; y < y0 + size; ++y)
                world->addParticle(x, y, hashString(element), true);
    }

    testsupport::TempDir m_cloud;
    std::string previousSaveFolder;
};

}  // namespace gametest
