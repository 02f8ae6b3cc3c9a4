// The online gallery as a player reads it, against the real server: its
// first page with the worlds' screenshots, a world's details, the rating
// popup over the world opened from it and the main menu's Gallery button,
// in the three languages, with every
// label at 4.5:1 against what lies under it and every caption inside its
// button. With TESMORA_TEST_FRAMES set, each language's frames are saved.
#include <gtest/gtest.h>

#include <string>

#include "cocos2d_extensions/CCValue.h"
#include "gui/GUIRate.h"
#include "screens/MainMenu.h"
#include "support/GalleryFixture.h"
#include "support/Readability.h"

USING_NS_CC;

namespace {

using OnlineGallerySheets = gametest::GalleryScene;

TEST_F(OnlineGallerySheets, TheFirstPageTheDetailsAndTheRatingReadAndFitInTheThreeLanguages)
{
    registerPlayer("Ann");
    const char* const names[] = {"Islands", "Lava lake", "Snowfall", "Meadow", "Geysers", "Old mill", "Volcano"};
    int32_t islands = 0;
    for (int i = 0; i < 7; ++i) {
        const int32_t id = share(names[i], i, i == 0 ? "Two islands in a warm sea, and a reef between them." : "");
        islands = i == 0 ? id : islands;
    }
    for (const char* language : testsupport::kLanguages) {
        SCOPED_TRACE(language);
        const std::string lang(language);
        testsupport::LanguageTable table(language);
        enterScene();
        OnlineGallery* gallery = openGallery();
        ASSERT_NE(gallery, nullptr);
        ASSERT_EQ(gallery->getCards().size(), 7u);
        // The screenshots of the rows in view.
        ASSERT_TRUE(stepUntil([&] {
            for (const OnlineGallery::Card& card : gallery->getCards())
                if (card.world.id && !gallery->screenshotOf(card.world.id) && gallery->getCards().size() < 9)
                    return false;
            return true;
        })) << "every card's screenshot";
        testsupport::saveTestFrame("gallery_first_page_" + lang);
        CCNode* root = CCDirector::sharedDirector()->getRunningScene();
        EXPECT_GE(testsupport::expectCaptionsFit(root, lang + " gallery"), 5) << "Back, the search field, three tabs";
        testsupport::expectReadable(root, lang + " gallery");

        tapCard(gallery, islands);
        ASSERT_TRUE(gallery->isDetailsShown());
        ASSERT_TRUE(stepUntil([&] { return gallery->getDetailsWorld() == islands; }));
        stepSeconds(0.5f);
        testsupport::saveTestFrame("gallery_details_" + lang);
        EXPECT_EQ(testsupport::expectCaptionsFit(gallery->getDetailsPanel(), lang + " details"), 3)
            << "Close, Delete (her own world) and Play";
        testsupport::expectReadable(gallery->getDetailsPanel(), lang + " details");

        // Play, then the world menu's Rate over the world it opened.
        tap(gallery->getPlayButton());
        ASSERT_TRUE(stepUntil([&] {
            return layer->getOnlineWorldId() == islands &&
                layer->getParent() == CCDirector::sharedDirector()->getRunningScene();
        }));
        stepSeconds(0.5f);
        layer->getGUI()->onRateButton(nullptr);
        ASSERT_TRUE(stepUntil([] { return GUIRate::getInstance()->getParent() != nullptr; }));
        stepSeconds(0.5f);
        testsupport::saveTestFrame("gallery_rate_" + lang);
        testsupport::expectReadable(GUIRate::getInstance(), lang + " rating");
        GUIRate::getInstance()->confirm();
        stepSeconds(0.5f);
        CCDirector::sharedDirector()->resetForTests();
        GUIRate::resetInstanceForTests();
        layer->setOnlineWorldId(0);

        // The main menu's way in.
        MainMenu::resetInstanceForTests();
        CCDirector::sharedDirector()->runWithScene(MainMenu::scene());
        stepFrames(3);
        GUIButton* button = MainMenu::getInstance()->getGalleryButton();
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(testsupport::expectCaptionsFit(button, lang + " menu"), 2) << "two lines";
        testsupport::expectReadable(button, lang + " menu's Gallery button");
        CCDirector::sharedDirector()->resetForTests();
        MainMenu::resetInstanceForTests();
    }
}

}  // namespace
