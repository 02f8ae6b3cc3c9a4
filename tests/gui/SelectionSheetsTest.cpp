// What the campaign and level selections show: every text readable (WCAG
// 4.5:1) on open, finished and closed tiles, every caption inside its button
// in the three languages, the main menu's Campaigns button included, and
// tiles that stay on the screen and apart. With TESMORA_TEST_FRAMES set, the
// English screens are saved.
#include <gtest/gtest.h>

#include <string>

#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "profile/Profile.h"
#include "screens/CampaignSelection.h"
#include "screens/LevelSelection.h"
#include "screens/MainMenu.h"
#include "support/GameSceneFixture.h"
#include "support/Readability.h"

USING_NS_CC;

namespace {

class SelectionSheets : public gametest::GameScene {
protected:
    void SetUp() override
    {
        GameScene::SetUp();
        MainMenu::resetInstanceForTests();
        // Open, finished and closed tiles all on one screen.
        Profile* profile = Profile::getInstance();
        for (int index : {CampaignIndex::Story, CampaignIndex::Contraptions})
            profile->setCompletionFlag(index, 1);
        profile->setBestDay(2, 12);
    }
    void TearDown() override
    {
        CCDirector::sharedDirector()->resetForTests();
        MainMenu::resetInstanceForTests();
        GameScene::TearDown();
    }
    static CCRect onScreen(CCNode* node)
    {
        const CCSize size = node->getContentSize();
        return CCRectApplyAffineTransform(CCRect(0, 0, size.width, size.height), node->nodeToWorldTransform());
    }
    static void show(CCScene* scene)
    {
        CCDirector::sharedDirector()->runWithScene(scene);
        CCDirector::sharedDirector()->stepFrames(3, 1.0f / 60);
    }
};

TEST_F(SelectionSheets, EveryTextReadsAndFitsInTheThreeLanguages)
{
    for (const char* language : testsupport::kLanguages) {
        SCOPED_TRACE(language);
        testsupport::LanguageTable table(language);
        const std::string lang(language);

        CCScene* campaigns = CampaignSelection::scene();
        show(campaigns);
        if (lang == "en")
            testsupport::saveTestFrame("campaign_selection");
        EXPECT_GE(testsupport::expectCaptionsFit(campaigns, lang + " campaigns"), 11)
            << "a caption on every tile and Back";
        testsupport::expectReadable(campaigns, lang + " campaigns");
        CCDirector::sharedDirector()->resetForTests();

        CCScene* levels = LevelSelection::scene(2);
        show(levels);
        if (lang == "en")
            testsupport::saveTestFrame("level_selection");
        EXPECT_EQ(testsupport::expectCaptionsFit(levels, lang + " levels"), 12);
        testsupport::expectReadable(levels, lang + " levels");
        CCDirector::sharedDirector()->resetForTests();

        MainMenu::resetInstanceForTests();
        show(MainMenu::scene());
        GUIButton* button = MainMenu::getInstance()->getCampaignsButton();
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(testsupport::expectCaptionsFit(button, lang + " menu"), 1);
        testsupport::expectReadable(button, lang + " menu's Campaigns button");
        CCDirector::sharedDirector()->resetForTests();
    }
}

TEST_F(SelectionSheets, TilesStayOnTheScreenAndApart)
{
    CampaignSelection* campaigns = CampaignSelection::create();
    LevelSelection* levels = LevelSelection::create(2);
    ASSERT_EQ(levels->levelCount(), 11);
    std::vector<CCRect> boxes;
    for (int mode = 1; mode <= 10; ++mode)
        boxes.push_back(onScreen(campaigns->tileOf(mode)));
    boxes.push_back(onScreen(campaigns->getBackButton()));
    const size_t campaignBoxes = boxes.size();
    for (int level = 1; level <= 11; ++level)
        boxes.push_back(onScreen(levels->levelButton(level)));
    boxes.push_back(onScreen(levels->getBackButton()));
    for (size_t i = 0; i < boxes.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_GE(boxes[i].getMinX(), 0);
        EXPECT_LE(boxes[i].getMaxX(), 800);
        EXPECT_GE(boxes[i].getMinY(), 0);
        EXPECT_LE(boxes[i].getMaxY(), 600);
        const size_t end = i < campaignBoxes ? campaignBoxes : boxes.size();
        for (size_t j = i + 1; j < end; ++j)
            EXPECT_FALSE(boxes[i].intersectsRect(boxes[j])) << i << " overlaps " << j;
    }
    // The title above every tile.
    const float titleBottom = onScreen(campaigns->getTitleLabel()).getMinY();
    for (int mode = 1; mode <= 10; ++mode)
        EXPECT_LT(onScreen(campaigns->tileOf(mode)).getMaxY(), titleBottom);
}

}  // namespace
