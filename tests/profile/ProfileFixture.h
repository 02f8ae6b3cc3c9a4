#pragma once
// A profile test starts from a new profile, a cloud store in a temporary
// folder, the manual clock and the profile's default services (sounds and
// windows recorded instead of played).
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "profile/Profile.h"
#include "support/CleanGame.h"

class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Whole cloud file, empty when absent.
    std::vector<uint8_t> readFile(const std::string& name);
    void writeFile(const std::string& name, const std::vector<uint8_t>& bytes);
    // Stores the record's CRC in the header again after a test edited the record.
    static void resealCrc(std::vector<uint8_t>& file);
    // A fresh profile singleton (as at the next start of the game).
    Profile* restart();

    std::filesystem::path folder;
    std::string previousStoreRoot;
    Profile* profile = nullptr;
    bool& freePlay = testsupport::testHost().freePlay;
    std::vector<std::string> sounds;
    std::vector<std::string> popups;
    std::vector<std::string> keyboards;
    int topBarRefreshes = 0;
    int createPlayerCalls = 0;
    cocos2d::CCObject* refusalTarget = nullptr;
    cocos2d::SEL_CallFunc refusalSelector = nullptr;
};
