#include "support/BlueprintFixtures.h"

#include <gtest/gtest.h>

#include <fstream>

#include "cocos2d.h"
#include "tools/assetgen/Blueprints.h"

namespace testsupport {

FixtureBlueprints::FixtureBlueprints()
{
    std::string error;
    EXPECT_TRUE(assetgen::generateBlueprints(std::string(TESMORA_TEST_FIXTURES) + "/blueprints", m_dir.path(), error))
        << error;
    cocos2d::CCFileUtils* files = cocos2d::CCFileUtils::sharedFileUtils();
    m_oldRoot = files->getResourceRoot();
    files->setResourceRoot(m_dir.path());
}

FixtureBlueprints::~FixtureBlueprints()
{
    cocos2d::CCFileUtils::sharedFileUtils()->setResourceRoot(m_oldRoot);
}

bool writeBlueprintText(const std::string& text, const std::string& folder, std::string& error)
{
    const std::string path = folder + ".bp";
    {
        std::ofstream out(path, std::ios::binary);
        out << text;
    }
    assetgen::BlueprintSource source;
    return assetgen::readBlueprintSource(path, source, error) && assetgen::writeBlueprintFolder(source, folder, error);
}

}  // namespace testsupport
