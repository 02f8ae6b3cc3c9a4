// The background gallery and the share window as the top bar and the world
// settings open them: pages, ownership, purchases and what a saved world
// keeps; the share reward, the screenshot file and the save dialog's
// answers. Headless, manual clock, 800 x 600.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "base/LocalUtils.h"
#include "base/NSData.h"
#include "base/ScreenMetrics.h"
#include "base/Utils.h"
#include "campaigns/story/StorySteps.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "gui/GUIPopup.h"
#include "hud/GUIBackgrounds.h"
#include "hud/GUIShare.h"
#include "hud/GUITopBar.h"
#include "hud/PixelMarket.h"
#include "platform/SaveFileDialog.h"
#include "profile/Profile.h"
#include "support/GameSceneFixture.h"
#include "support/LogCapture.h"
#include "support/Readability.h"
#include "support/TempFolders.h"

USING_NS_CC;
namespace fs = std::filesystem;

namespace {

std::string text(GUILabel* label)
{
    return label && label->getText() ? label->getText()->getString() : std::string();
}

class Windows : public gametest::GameScene {
protected:
    void SetUp() override
    {
        GameScene::SetUp();
        enterScene(false);
        testsupport::testHost().freePlay = true;
        GUITopBar::getInstance()->buildFreeModeBar();
        if (!localizationTable) {
            localizationTable = CCDictionary::createWithContentsOfFile("localization/en.plist");
            localizationTable->retain();
            ownTable = true;
        }
        profile = Profile::getInstance();
        profile->setMana(3500);
        profile->getPurchasedBackgrounds()->removeAllObjects();
        profile->getUnlockedBackgrounds()->removeAllObjects();
        PixelMarket::resetInstanceForTests();
    }
    void TearDown() override
    {
        platform::SaveFileDialog::clearSeamsForTests();
        PixelMarket::resetInstanceForTests();
        if (ownTable) {
            localizationTable->release();
            localizationTable = nullptr;
        }
        GameScene::TearDown();
    }

    // A catalogue of `count` records "b0", "b1"... at 100, then any extras.
    static void useCatalogue(int count, std::vector<std::pair<std::string, std::string>> extra = {})
    {
        auto* records = CCArray::create();
        auto add = [&](const std::string& id, const std::string& price) {
            auto* record = CCDictionary::create();
            if (!id.empty())
                record->setObject(CCString::create(id), "bkgID");
            record->setObject(CCString::create(price), "Price");
            records->addObject(record);
        };
        for (int i = 0; i < count; ++i)
            add("b" + std::to_string(i), "100");
        for (auto& [id, price] : extra)
            add(id, price);
        auto* catalogue = CCDictionary::create();
        catalogue->setObject(records, "Backgrounds");
        PixelMarket::getInstance()->setCatalogueForTests(catalogue);
    }

    GUIBackgrounds* openGallery()
    {
        layer->openBackgroundsWindow();
        stepSeconds(0.5f);
        return layer->getBackgroundsWindow();
    }
    GUILabel* tileLabel(GUIBackgrounds* gallery, const std::string& id)
    {
        CCArray* parts = gallery->getTileParts(id);
        return parts ? static_cast<GUILabel*>(parts->objectAtIndex(GUIBackgrounds::Label)) : nullptr;
    }
    bool partShown(GUIBackgrounds* gallery, const std::string& id, int part)
    {
        CCArray* parts = gallery->getTileParts(id);
        return parts && static_cast<CCNode*>(parts->objectAtIndex(static_cast<unsigned>(part)))->isVisible();
    }
    void press(GUIBackgrounds* gallery, const std::string& id)
    {
        gallery->onTilePressed(CCString::create(id + ".png"));
        stepSeconds(0.5f);
    }
    // Answers the popup that is up with its confirming button.
    void answerPopup()
    {
        GUIPopup* popup = GUIPopup::getInstance();
        ASSERT_TRUE(popup->isShown());
        popup->onOkPressed();
        stepSeconds(1.0f);
    }
    static std::string popupText()
    {
        GUIPopup* popup = GUIPopup::getInstance();
        return popup->isShown() ? text(popup->getMessageLabel()) : std::string();
    }

    Profile* profile = nullptr;
    bool ownTable = false;
};

// --- the gallery ------------------------------------------------------------

TEST_F(Windows, PagesHoldNineTilesAndThePageButtonsStayInRange)
{
    const struct {
        int count, pages, onLast;
    } cases[] = {{0, 1, 0}, {9, 1, 9}, {10, 2, 1}, {15, 2, 6}, {19, 3, 1}};
    for (const auto& c : cases) {
        useCatalogue(c.count);
        GUIBackgrounds* gallery = openGallery();
        ASSERT_NE(gallery, nullptr);
        const std::string where = std::to_string(c.count) + " backgrounds";
        EXPECT_EQ(gallery->getPageCount(), c.pages) << where;
        EXPECT_EQ(text(gallery->getPageLabel()), "1 / " + std::to_string(c.pages)) << where;
        const CCPoint first =
            c.count ? static_cast<CCNode*>(gallery->getTileButtons()->objectAtIndex(0))->getPosition() : CCPointZero;
        gallery->onPreviousPage();
        EXPECT_EQ(gallery->getCurrentPage(), 1) << where;
        for (int i = 0; i < c.pages + 2; ++i)
            gallery->onNextPage();
        EXPECT_EQ(gallery->getCurrentPage(), c.pages) << where;
        EXPECT_EQ(static_cast<int>(gallery->getTileButtons()->count()), c.onLast) << where;
        if (c.onLast == 1) {
            EXPECT_TRUE(static_cast<CCNode*>(gallery->getTileButtons()->objectAtIndex(0))->getPosition().equals(first))
                << where << ": the last page's one tile sits at column 0, row 0";
        }
        gallery->onOkButton();
        stepSeconds(0.5f);
        EXPECT_EQ(layer->getBackgroundsWindow(), nullptr) << where << ": a closed gallery is let go";
        EXPECT_FALSE(GUITopBar::getInstance()->isLocked()) << where;
        EXPECT_EQ(openGallery()->getCurrentPage(), 1) << where << ": every request opens page 1";
        layer->getBackgroundsWindow()->onBackPressed();
        stepSeconds(0.5f);
    }
}

TEST_F(Windows, TheArrowTurnsToTheSecondPageAndEveryShippedBackgroundIsShown)
{
    GUIBackgrounds* gallery = openGallery();
    ASSERT_NE(gallery, nullptr);
    ASSERT_EQ(gallery->getBackgroundCount(), 15) << "the shipped catalogue";
    auto tap = [&](CCNode* node) {
        const CCSize size = node->getContentSize();
        const CCPoint at =
            CCPointApplyAffineTransform(ccp(size.width / 2, size.height / 2), node->nodeToWorldTransform());
        CCTouch touch;
        touch.setTouchInfo(1, at.x, CCDirector::sharedDirector()->getWinSize().height - at.y);
        gallery->handleTouchBegan(&touch);
        gallery->handleTouchEnded(&touch);
        stepSeconds(0.3f);
    };
    std::set<std::string> seen;
    auto collect = [&] {
        for (CCObject* o : *gallery->getTileButtons())
            if (auto* file = dynamic_cast<CCString*>(static_cast<CCNode*>(o)->getUserObject()))
                seen.insert(file->getString());
    };
    collect();
    EXPECT_EQ(seen.size(), 9u);
    tap(gallery->getNextPageButton());
    EXPECT_EQ(gallery->getCurrentPage(), 2);
    EXPECT_EQ(text(gallery->getPageLabel()), "2 / 2");
    collect();
    EXPECT_EQ(seen.size(), 15u) << "every background of the catalogue, the ocean to the city";
    for (const char* id : {"ocean", "mountains", "cavern", "aurora", "volcano", "city"})
        EXPECT_TRUE(seen.count(std::string(id) + ".png")) << id;
    tap(gallery->getPreviousPageButton());
    EXPECT_EQ(gallery->getCurrentPage(), 1);
}

TEST_F(Windows, OwnedTilesAreChosenInPlaceOthersShowTheirPriceAndLock)
{
    profile->getUnlockedBackgrounds()->addObject(CCString::create("polar"));
    layer->setBackgroundOn(false);  // switched off: choosing switches it on with the picture
    GUIBackgrounds* gallery = openGallery();
    ASSERT_NE(gallery, nullptr);
    EXPECT_EQ(gallery->getBackgroundCount(), 15) << "the shipped catalogue";
    EXPECT_EQ(text(tileLabel(gallery, "lightshow")), "300");
    EXPECT_TRUE(partShown(gallery, "lightshow", GUIBackgrounds::Lock));
    EXPECT_TRUE(partShown(gallery, "lightshow", GUIBackgrounds::ManaIcon));
    EXPECT_EQ(text(tileLabel(gallery, "polar")), "Choose") << "a goal's reward counts as owned";
    EXPECT_FALSE(partShown(gallery, "polar", GUIBackgrounds::Lock));

    const int32_t mana = profile->getMana();
    press(gallery, "polar");
    EXPECT_FALSE(GUIPopup::getInstance()->isShown()) << "owned: no purchase";
    EXPECT_EQ(profile->getMana(), mana);
    ASSERT_NE(layer->getBackgroundName(), nullptr);
    EXPECT_EQ(layer->getBackgroundName()->getString(), "polar.png");
    EXPECT_TRUE(layer->getBackgroundOn()) << "a chosen picture is switched on, so a saved world keeps it";
    EXPECT_EQ(gallery->getState(), GUIWindow::Open) << "choosing keeps the gallery open";
    EXPECT_EQ(text(tileLabel(gallery, "polar")), "In use");
    EXPECT_TRUE(partShown(gallery, "polar", GUIBackgrounds::InUse));
}

// In free mode from the game's start, what the story's notices and boards
// named as unlocked is owned: day 7 with its spark mission paid (its notice
// names the lightning), then day 7 won or skipped (its board names the
// light show). Choosing one costs nothing.
TEST_F(Windows, WhatTheStoryUnlockedIsOwnedFromTheStart)
{
    const struct {
        int32_t best, paid;
        std::set<std::string> owned;
    } cases[] = {{7, 2, {"oilpool", "electroshow"}}, {8, 0, {"oilpool", "electroshow", "lightshow"}}};
    for (const auto& c : cases) {
        profile->setBestDay(0, c.best);
        profile->setProgressWord(ProgressWord::PaidMissionsDay, c.best);
        profile->setProgressWord(ProgressWord::PaidMissions, c.paid);
        unlockReachedStoryBackgrounds();
        layer->setBackgroundOn(false);  // none in use
        GUIBackgrounds* gallery = openGallery();
        ASSERT_NE(gallery, nullptr);
        for (const char* id : {"oilpool", "electroshow", "lightshow", "polar"}) {
            const bool owned = c.owned.count(id) > 0;
            EXPECT_EQ(text(tileLabel(gallery, id)), owned ? "Choose" : "300") << "day " << c.best << ", " << id;
            EXPECT_EQ(partShown(gallery, id, GUIBackgrounds::Lock), !owned) << "day " << c.best << ", " << id;
        }
        press(gallery, c.best == 8 ? "lightshow" : "electroshow");
        ASSERT_FALSE(GUIPopup::getInstance()->isShown()) << "day " << c.best << ": owned, nothing to buy";
        EXPECT_EQ(profile->getMana(), 3500) << "day " << c.best;
        gallery->onOkButton();
        stepSeconds(0.5f);
    }
}

TEST_F(Windows, ABackgroundIsBoughtWithTheExactManaAndASavedWorldKeepsIt)
{
    layer->setBackgroundOn(false);
    profile->setMana(200);
    GUIBackgrounds* gallery = openGallery();
    press(gallery, "sunset");
    GUIPopup* popup = GUIPopup::getInstance();
    ASSERT_TRUE(popup->isShown());
    EXPECT_EQ(popup->getKind(), GUIPopup::Purchase) << "a price equal to the mana is affordable";
    EXPECT_EQ(popup->getPurchaseTitle()->getString(), "Sunset") << "the display key is the capitalised id";
    EXPECT_EQ(popup->getPurchasePrice(), 200.0f);
    ASSERT_NE(popup->getItemImage(), nullptr) << "the popup shows the picture";
    EXPECT_STREQ(gallery->getPendingPurchase().name, "sunset");
    answerPopup();
    EXPECT_EQ(profile->getMana(), 0);
    EXPECT_TRUE(profile->hasPurchasedBackground(CCString::create("sunset")));
    EXPECT_EQ(layer->getBackgroundsWindow(), nullptr) << "buying closes the gallery";
    EXPECT_FALSE(GUITopBar::getInstance()->isLocked());
    ASSERT_NE(layer->getBackgroundName(), nullptr);
    EXPECT_EQ(layer->getBackgroundName()->getString(), "sunset.png");
    EXPECT_TRUE(layer->getBackgroundOn());

    NSData* saved = world->save();
    saved->retain();
    layer->resetBackground();
    layer->changeBackground("peaceful.png", true);
    ASSERT_TRUE(world->load(saved));
    saved->release();
    EXPECT_EQ(layer->getBackgroundName()->getString(), "sunset.png") << "the saved world shows what was bought";
    EXPECT_TRUE(layer->getBackgroundOn());

    profile->setMana(199);
    gallery = openGallery();
    EXPECT_EQ(text(tileLabel(gallery, "sunset")), "In use");
    press(gallery, "desert");
    EXPECT_EQ(popupText(), LocalUtils::localize("ConfirmationNotEnoughMana")->getString()) << "one mana short";
}

TEST_F(Windows, AnsweringNotEnoughManaClosesTheGalleryAndUnlocksTheBar)
{
    profile->setMana(10);
    GUIBackgrounds* gallery = openGallery();
    EXPECT_TRUE(GUITopBar::getInstance()->isLocked());
    press(gallery, "city");
    answerPopup();
    stepSeconds(1.0f);
    EXPECT_EQ(layer->getBackgroundsWindow(), nullptr);
    EXPECT_FALSE(GUITopBar::getInstance()->isLocked()) << "the bar answers again";
    EXPECT_EQ(profile->getMana(), 10);
}

TEST_F(Windows, OneIdPerBackgroundWhateverTheRecordsSpelling)
{
    // A capitalised record, a duplicate, a name too long to keep, one without
    // an id and one with a path in it: one tile each for the usable ids.
    useCatalogue(
        0,
        {{"Sunset", "50"}, {"sunset", "70"}, {"averyveryverylong", "10"}, {"", "10"}, {"../x", "10"}, {"ocean", "60"}});
    testsupport::LogCapture log;
    GUIBackgrounds* gallery = openGallery();
    EXPECT_EQ(gallery->getBackgroundCount(), 2);
    EXPECT_TRUE(log.contains("skipped")) << "unusable records are logged";
    ASSERT_NE(gallery->getTileParts("sunset"), nullptr);
    EXPECT_EQ(text(tileLabel(gallery, "sunset")), "50") << "the first record of an id wins";
    press(gallery, "sunset");
    answerPopup();
    EXPECT_EQ(profile->getMana(), 3450);
    gallery = openGallery();
    EXPECT_EQ(text(tileLabel(gallery, "sunset")), "In use") << "bought once, owned for good";
    press(gallery, "sunset");
    EXPECT_FALSE(GUIPopup::getInstance()->isShown()) << "never offered again";
    EXPECT_EQ(profile->getMana(), 3450);
}

TEST_F(Windows, NoCatalogueOrNoArrayGivesOneEmptyPage)
{
    for (bool withArray : {false, true}) {
        auto* catalogue = CCDictionary::create();
        if (withArray)
            catalogue->setObject(CCString::create("not an array"), "Elements");
        PixelMarket::getInstance()->setCatalogueForTests(catalogue);
        GUIBackgrounds* gallery = openGallery();
        ASSERT_NE(gallery, nullptr);
        EXPECT_EQ(gallery->getBackgroundCount(), 0);
        EXPECT_EQ(text(gallery->getPageLabel()), "1 / 1");
        gallery->onOkButton();
        stepSeconds(0.5f);
    }
}

TEST_F(Windows, ARefusedRequestLeavesNoHiddenGalleryHoldingTheBackKey)
{
    GUI* gui = layer->getGUI();
    gui->onMenuButton(GUI::kWorldSettingsMenu, nullptr);
    stepSeconds(0.5f);
    ASSERT_EQ(ScreenUtils::getInstance()->getCurrentWindow(), gui);
    layer->openBackgroundsWindow();
    EXPECT_EQ(layer->getBackgroundsWindow(), nullptr);
    EXPECT_EQ(BackButtonAdapter::getInstance()->frontListener(), static_cast<BackButtonListener*>(gui));
}

TEST_F(Windows, TheManaButtonClosesTheGalleryAndTheShareWindow)
{
    openGallery();
    GUITopBar::getInstance()->onManaButton();
    stepSeconds(0.5f);
    EXPECT_EQ(layer->getBackgroundsWindow(), nullptr);
    GUITopBar::getInstance()->onCameraButton();
    stepSeconds(0.5f);
    ASSERT_NE(layer->getShareWindow(), nullptr);
    GUITopBar::getInstance()->onManaButton();
    stepSeconds(0.5f);
    EXPECT_EQ(layer->getShareWindow(), nullptr);
    EXPECT_FALSE(GUITopBar::getInstance()->isLocked());
}

// --- the share window ----------------------------------------------------------

class Share : public Windows {
protected:
    GUIShare* openShare()
    {
        GUITopBar::getInstance()->onCameraButton();
        stepSeconds(0.5f);
        return layer->getShareWindow();
    }
    // The save dialog answers with the given status and output.
    static void dialogAnswers(int status, const std::string& output, std::vector<std::string>* argv = nullptr)
    {
        platform::SaveFileDialog::setSeamsForTests(
            [](const std::string& program) { return program == "zenity" ? "/usr/bin/zenity" : ""; },
            [=](const std::vector<std::string>& args) {
                if (argv)
                    *argv = args;
                return platform::ProgramRun{status, output};
            });
    }
    testsupport::TempDir folder;
};

TEST_F(Share, FourSharesAVersionAreRewardedAndStored)
{
    const struct {
        int32_t count;
        bool rewardsOff;
        int32_t pending, stored;
        bool message;
    } cases[] = {{0, false, 250, 1, true}, {3, false, 250, 4, true}, {3, true, 0, 4, true}, {4, false, 0, 4, false}};
    for (const auto& c : cases) {
        const std::string where = "share count " + std::to_string(c.count) + (c.rewardsOff ? ", rewards off" : "");
        profile->setShareCount(c.count);
        profile->setShareVersion(0);
        profile->setPendingMana(0);
        profile->setRewardsOff(c.rewardsOff);
        GUIShare* share = openShare();
        ASSERT_NE(share, nullptr) << where;
        share->onOkPressed();
        EXPECT_EQ(profile->getPendingMana(), c.pending) << where;
        EXPECT_EQ(profile->getShareCount(), c.stored) << where;
        if (c.message) {
            EXPECT_EQ(profile->getShareVersion(), 1513) << where;
            EXPECT_NE(popupText().find("250"), std::string::npos) << where;
            answerPopup();
        } else {
            EXPECT_FALSE(GUIPopup::getInstance()->isShown()) << where << ": the fifth share only closes";
        }
        stepSeconds(0.5f);
        EXPECT_EQ(layer->getShareWindow(), nullptr) << where;
        EXPECT_FALSE(GUITopBar::getInstance()->isLocked()) << where;
    }
    profile->setRewardsOff(false);
    // A second share in the same window's run: nothing more once the counter is full.
    profile->setShareCount(3);
    openShare()->onBackPressed();
    answerPopup();
    profile->setPendingMana(0);
    openShare()->onBackPressed();
    EXPECT_EQ(profile->getPendingMana(), 0) << "back is OK: the fifth share of the version gives nothing";
    EXPECT_EQ(profile->getShareCount(), 4);
}

TEST_F(Share, ABigWorldsPictureIsDrawnAtHalfTheScale)
{
    for (bool big : {false, true}) {
        enterScene(big);
        GUIShare* share = openShare();
        ASSERT_NE(share, nullptr);
        ASSERT_NE(share->getSnapshot(), nullptr);
        EXPECT_FLOAT_EQ(share->getSnapshot()->getScale(), static_cast<float>((big ? 2 : 4) * screenRatio));
        EXPECT_EQ(share->getSnapshot()->getContentSize().width, big ? 240 : 120);
        share->onOkPressed();
        stepSeconds(1.0f);
        if (GUIPopup::getInstance()->isShown())
            answerPopup();
    }
}

TEST_F(Share, TheSavedFileIsTheScreenAndTheWindowClosesOnItsMessage)
{
    const std::string file = folder.path() + "/shot";
    std::vector<std::string> argv;
    dialogAnswers(0, file + "\n", &argv);
    GUIShare* share = openShare();
    share->saveScreenshotAs();
    ASSERT_FALSE(argv.empty());
    EXPECT_NE(std::find(argv.begin(), argv.end(), "--title=Save Screenshot As"), argv.end());
    EXPECT_NE(std::find(argv.begin(), argv.end(), "--confirm-overwrite"), argv.end());
    ASSERT_TRUE(fs::exists(file + ".png")) << "\".png\" is added to a name without one";
    EXPECT_EQ(popupText(), LocalUtils::localize("CameraSaveDone")->getString());
    EXPECT_EQ(share->getState(), GUIWindow::Open) << "open until the message is answered";

    CCImage* written = new CCImage();
    ASSERT_TRUE(written->initWithImageFile((file + ".png").c_str()));
    CCImage* screen = share->getScreenImage();
    ASSERT_EQ(written->getWidth(), 800);
    ASSERT_EQ(written->getHeight(), 600);
    const int bpp = screen->getBytesPerPixel(), wbpp = written->getBytesPerPixel();
    int differing = 0;
    for (int i = 0; i < 800 * 600; i += 97)
        for (int k = 0; k < 3; ++k)
            differing += screen->getData()[i * bpp + k] != written->getData()[i * wbpp + k];
    EXPECT_EQ(differing, 0) << "the file holds the screen's picture";
    written->release();

    answerPopup();
    stepSeconds(0.5f);
    EXPECT_EQ(layer->getShareWindow(), nullptr);
}

TEST_F(Share, CancelFailureAndMissingPicturesLeaveTheWindowOpen)
{
    CCEGLView* view = CCEGLView::sharedOpenGLView();
    view->enterFullscreen(0, 0);
    dialogAnswers(1, "");
    GUIShare* share = openShare();
    share->saveScreenshotAs();
    EXPECT_TRUE(view->isFullscreen()) << "full screen again after the dialog";
    EXPECT_FALSE(GUIPopup::getInstance()->isShown());
    EXPECT_EQ(share->getState(), GUIWindow::Open);

    // A full disk (the system's own ENOSPC) is said in the words of a world's
    // save failure, in the player's language.
    const std::pair<const char*, const char*> full[] = {
        {"en", "Your screenshot could not be saved: no space left on the disk."},
        {"fr", "Ta capture n'a pas pu être enregistrée\xC2\xA0: il n'y a plus de place sur le disque."},
        {"es", "No se pudo guardar tu captura: no queda espacio en el disco."}};
    for (const auto& [language, words] : full) {
        testsupport::LanguageTable table(language);
        ASSERT_EQ(::symlink("/dev/full", (folder.path() + "/full.png").c_str()), 0);  // a failed write removes it
        dialogAnswers(0, folder.path() + "/full.png\n");
        share->saveScreenshotAs();
        EXPECT_EQ(popupText(), words);
        EXPECT_EQ(share->getState(), GUIWindow::Open);
        answerPopup();
    }

    // No picture of the world or the screen: nothing shown, the save fails.
    share->buildContent(nullptr, nullptr);
    EXPECT_EQ(share->getSnapshot(), nullptr);
    dialogAnswers(0, folder.path() + "/none.png\n");
    share->saveScreenshotAs();
    EXPECT_FALSE(fs::exists(folder.path() + "/none.png"));
    EXPECT_FALSE(GUIPopup::getInstance()->isShown()) << "a failed save says nothing done";
    EXPECT_EQ(share->getState(), GUIWindow::Open);
    view->resetForTests();
}

TEST_F(Share, SaveLeavesTheViewInTheModeAndWindowItHad)
{
    CCEGLView* view = CCEGLView::sharedOpenGLView();
    GUIShare* share = openShare();
    ASSERT_NE(share, nullptr);
    for (bool fullScreen : {true, false}) {
        SCOPED_TRACE(fullScreen ? "full screen" : "in a window");
        view->resetForTests();
        if (fullScreen)
            view->enterFullscreen(0, 0);
        const CCSize window = view->getWindowSize();
        // The dialog stand-in looks at the view while it is up.
        bool fullUnderDialog = true;
        CCSize windowUnderDialog;
        platform::SaveFileDialog::setSeamsForTests(
            [](const std::string& program) { return program == "zenity" ? "/usr/bin/zenity" : ""; },
            [&](const std::vector<std::string>&) {
                fullUnderDialog = view->isFullscreen();
                windowUnderDialog = view->getWindowSize();
                return platform::ProgramRun{1, ""};
            });
        share->saveScreenshotAs();
        EXPECT_FALSE(fullUnderDialog) << "the dialog is not hidden by a full screen";
        EXPECT_TRUE(windowUnderDialog.equals(window)) << "the dialog comes up over the player's own window";
        EXPECT_EQ(view->isFullscreen(), fullScreen);
        EXPECT_TRUE(view->getWindowSize().equals(window))
            << view->getWindowSize().width << " x " << view->getWindowSize().height;
    }
    view->resetForTests();
}

}  // namespace
