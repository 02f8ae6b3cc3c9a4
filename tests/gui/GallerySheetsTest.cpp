// The background gallery and the share window as a player reads them: every
// label at 4.5:1 against what lies under it and every caption inside its
// button, in the three languages. With TESMORA_TEST_FRAMES set, the English
// frames are saved there.
#include <gtest/gtest.h>

#include <string>

#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "hud/GUIBackgrounds.h"
#include "hud/GUIShare.h"
#include "hud/GUITopBar.h"
#include "hud/PixelMarket.h"
#include "profile/Profile.h"
#include "support/GameSceneFixture.h"
#include "support/Readability.h"

USING_NS_CC;

namespace {

class GallerySheets : public gametest::GameScene {
protected:
    void SetUp() override
    {
        GameScene::SetUp();
        enterScene(false);
        testsupport::testHost().freePlay = true;
        GUITopBar::getInstance()->buildFreeModeBar();
        profile = Profile::getInstance();
        profile->getPurchasedBackgrounds()->removeAllObjects();
        profile->getUnlockedBackgrounds()->removeAllObjects();
        PixelMarket::resetInstanceForTests();
    }
    void TearDown() override
    {
        PixelMarket::resetInstanceForTests();
        GameScene::TearDown();
    }
    GUIBackgrounds* openGallery()
    {
        layer->openBackgroundsWindow();
        stepSeconds(0.5f);
        return layer->getBackgroundsWindow();
    }
    void press(GUIBackgrounds* gallery, const std::string& id)
    {
        gallery->onTilePressed(CCString::create(id + ".png"));
        stepSeconds(0.5f);
    }
    Profile* profile = nullptr;
};

// --- readability -------------------------------------------------------------------

TEST_F(GallerySheets, TheGalleryAndTheShareWindowAreReadableInEveryLanguage)
{
    profile->getUnlockedBackgrounds()->addObject(CCString::create("polar"));
    for (const char* language : testsupport::kLanguages) {
        testsupport::LanguageTable table(language);
        const std::string where = std::string(language) + " ";
        GUIBackgrounds* gallery = openGallery();
        ASSERT_NE(gallery, nullptr);
        press(gallery, "polar");
        if (std::string(language) == "en")
            testsupport::saveTestFrame("readable_gallery");
        testsupport::expectReadable(gallery, where + "gallery");
        EXPECT_GT(testsupport::expectCaptionsFit(gallery, where + "gallery"), 0);
        testsupport::expectOneCaptionSize(gallery, where + "gallery");
        gallery->onNextPage();
        stepSeconds(0.2f);
        if (std::string(language) == "en")
            testsupport::saveTestFrame("readable_gallery_page2");
        testsupport::expectReadable(gallery, where + "gallery, page 2");
        EXPECT_GT(testsupport::expectCaptionsFit(gallery, where + "gallery, page 2"), 0);
        gallery->onOkButton();
        stepSeconds(0.5f);

        profile->setShareCount(4);  // no reward message to answer
        GUITopBar::getInstance()->onCameraButton();
        stepSeconds(0.5f);
        GUIShare* share = layer->getShareWindow();
        ASSERT_NE(share, nullptr);
        if (std::string(language) == "en")
            testsupport::saveTestFrame("readable_share");
        testsupport::expectReadable(share, where + "share window");
        EXPECT_GT(testsupport::expectCaptionsFit(share, where + "share window"), 0);
        testsupport::expectOneCaptionSize(share, where + "share window");
        share->onOkPressed();
        stepSeconds(0.5f);
    }
}

// --- the tiles -----------------------------------------------------------------------

TEST_F(GallerySheets, EveryTilesTextLiesInItsCellClearOfTheOtherCells)
{
    // A price, "Choose" and "In use" on each page ("300" and "200" were cut
    // off by the border of the cell below).
    profile->getUnlockedBackgrounds()->addObject(CCString::create("polar"));
    for (const char* language : testsupport::kLanguages) {
        testsupport::LanguageTable table(language);
        GUIBackgrounds* gallery = openGallery();
        ASSERT_NE(gallery, nullptr);
        press(gallery, "polar");
        for (int page = 1; page <= gallery->getPageCount(); ++page) {
            const std::string where = std::string(language) + " page " + std::to_string(page);
            CCArray* tiles = gallery->getTileButtons();
            ASSERT_GT(tiles->count(), 0u) << where;
            for (CCObject* tile : *tiles) {
                auto* cell = static_cast<GUIButton*>(tile);
                const std::string id = static_cast<CCString*>(cell->getUserObject())->getString();
                auto* label = static_cast<GUILabel*>(
                    gallery->getTileParts(id.substr(0, id.size() - 4))->objectAtIndex(GUIBackgrounds::Label));
                const CCRect text = testsupport::textBox(label);
                const CCRect own = testsupport::screenBox(cell);
                EXPECT_TRUE(own.containsPoint(text.origin) && own.containsPoint(ccp(text.getMaxX(), text.getMaxY())))
                    << where << " " << id;
                for (CCObject* other : *tiles) {
                    const bool under =
                        other != tile && text.intersectsRect(testsupport::screenBox(static_cast<CCNode*>(other)));
                    EXPECT_FALSE(under) << where << " " << id << ": \"" << label->getText()->getString()
                                        << "\" runs under another cell";
                }
            }
            gallery->onNextPage();
            stepSeconds(0.2f);
        }
        gallery->onOkButton();
        stepSeconds(0.5f);
    }
}

}  // namespace
