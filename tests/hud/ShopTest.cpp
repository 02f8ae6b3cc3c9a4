// The shop window shown over the game scene and over the main menu, driven by
// taps, the back key and the manual clock: its front page and offers, the
// elements and backgrounds pages, purchases through the popup and the way
// back. Headless, 800 x 600 (UI scale 0.78125).
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/StatsUtils.h"
#include "gui/GUIBatchNodeMenu.h"
#include "gui/GUIScroll.h"
#include "hud/GUIBackgrounds.h"
#include "hud/GUIIngameMessage.h"
#include "hud/GUITopBar.h"
#include "hud/ShopScene.h"
#include "profile/Profile.h"
#include "support/GameSceneFixture.h"
#include "support/LogCapture.h"

USING_NS_CC;
namespace fs = std::filesystem;
using namespace shoptest;

namespace {

class ShopWindow : public gametest::GameScene {
protected:
    void SetUp() override
    {
        GameScene::SetUp();
        // Free play with its introduction read: no message window comes up.
        testsupport::testHost().freePlay = true;
        GUIIngameMessage::getInstance()->setFreeModeIntroDone(true);
        enterScene(false);
        GUITopBar::getInstance()->buildFreeModeBar();
        if (!localizationTable) {
            localizationTable = CCDictionary::createWithContentsOfFile("localization/en.plist");
            localizationTable->retain();
            ownTable = true;
        }
        profile = Profile::getInstance();
        profile->setMana(3500);
        profile->getPurchasedElements()->removeAllObjects();
        profile->getPurchasedBackgrounds()->removeAllObjects();
        profile->getUnlockedBackgrounds()->removeAllObjects();
        PixelMarket::resetInstanceForTests();
        GUIPopup::resetInstanceForTests();
        savedRoot = ::resourceRoot;
        ::resourceRoot = CCFileUtils::sharedFileUtils()->getResourceRoot();
        CocosDenshion::SimpleAudioEngine::sharedEngine()->clearRecordedCalls();
    }
    void TearDown() override
    {
        PixelMarket::resetInstanceForTests();
        GUIPopup::resetInstanceForTests();
        ::resourceRoot = savedRoot;
        if (!folder.empty())
            fs::remove_all(folder);
        if (ownTable) {
            localizationTable->release();
            localizationTable = nullptr;
        }
        GameScene::TearDown();
    }

    PixelMarket* open()
    {
        PixelMarket* shop = presentShop();
        stepFrames(2);
        return shop;
    }
    // Catalogue "Elements" prices (text as written) and background records.
    static void useCatalogue(std::vector<std::pair<std::string, std::string>> elements,
                             std::vector<std::pair<std::string, std::string>> backgrounds = {})
    {
        auto* prices = CCDictionary::create();
        for (auto& [name, price] : elements)
            prices->setObject(CCString::create(price), name);
        auto* records = CCArray::create();
        for (auto& [id, price] : backgrounds) {
            auto* record = CCDictionary::create();
            record->setObject(CCString::create(id), "bkgID");
            record->setObject(CCString::create(price), "Price");
            records->addObject(record);
        }
        auto* catalogue = CCDictionary::create();
        catalogue->setObject(prices, "Elements");
        catalogue->setObject(records, "Backgrounds");
        PixelMarket::getInstance()->setCatalogueForTests(catalogue);
    }
    // A resource root of its own whose rewards folder holds these files.
    void useRewardsFolder(const std::vector<std::string>& files)
    {
        folder = fs::temp_directory_path() / ("shop-rewards-" + std::to_string(getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder / "backgrounds/Rewards");
        fs::create_directories(folder / "data");
        fs::copy_file(fs::path(CCFileUtils::sharedFileUtils()->getResourceRoot()) / "data/shop.plist",
                      folder / "data/shop.plist");
        const fs::path shipped = fs::path(CCFileUtils::sharedFileUtils()->getResourceRoot()) / "backgrounds/Rewards";
        for (const std::string& file : files) {
            if (fs::exists(shipped / file))
                fs::copy_file(shipped / file, folder / "backgrounds/Rewards" / file);
            else
                std::ofstream(folder / "backgrounds/Rewards" / file) << "text";
        }
        ::resourceRoot = folder.string();
    }
    std::vector<std::string> rowNames(PixelMarket* shop)
    {
        std::vector<std::string> names;
        for (CCObject* name : *shop->getElementNames())
            names.push_back(static_cast<CCString*>(name)->getString());
        return names;
    }
    // The label of the row's buy tag (its price, or "owned"): the scroll's
    // label beside the row, or "".
    std::string tagText(PixelMarket* shop, GUIButton* row)
    {
        const float bottom = row->getPosition().y, top = bottom + row->boundingBox().size.height;
        for (CCObject* child : *shop->getScroll()->getChildren())
            if (auto* label = dynamic_cast<GUILabel*>(child))
                if (label->getPosition().y > bottom && label->getPosition().y < top)
                    return textOf(label);
        return "";
    }
    // A day that allows only these elements.
    void allowOnly(std::vector<const char*> elements)
    {
        testsupport::testHost().freePlay = false;
        auto* list = CCArray::create();
        for (const char* name : elements)
            list->addObject(CCString::create(name));
        auto* settings = CCDictionary::create();
        settings->setObject(CCString::create("true"), "lock");
        settings->setObject(CCString::create("allow"), "lockMode");
        settings->setObject(list, "elements");
        ASSERT_TRUE(layer->getGUI()->applyDaySettings(settings));
    }
    void answerPopup()
    {
        ASSERT_TRUE(GUIPopup::getInstance()->isShown());
        GUIPopup::getInstance()->onOkPressed();
        stepSeconds(0.5f);
    }

    Profile* profile = nullptr;
    bool ownTable = false;
    std::string savedRoot;
    fs::path folder;
};

// --- front page ---------------------------------------------------------------------

TEST_F(ShopWindow, EveryEntryRebuildsOneFrontPageOnItsFirstOffer)
{
    PixelMarket* shop = open();
    ASSERT_NE(shop, nullptr);
    shop->showNextOffer();
    shop->removeFromParentAndCleanup(true);
    open();
    int dimming = 0, sheets = 0;
    for (CCObject* child : *shop->getChildren()) {
        dimming += static_cast<CCNode*>(child)->getTag() == PixelMarket::kDimTag;
        sheets += dynamic_cast<GUIBatchNodeMenu*>(child) != nullptr;
    }
    EXPECT_EQ(dimming, 1);
    EXPECT_EQ(sheets, 1);
    EXPECT_EQ(textOf(shop->getManaLabel()), "3500");
    EXPECT_EQ(timesPlayed("sfx_gui_shop"), 2);
    EXPECT_FALSE(GameLayer::getInstance()->getLevelMusicOn());

    // offer shown, previous arrow shown, next arrow shown
    const struct {
        const char* step;
        int offer;
        bool previous, next;
    } steps[] = {{"entry", 1, false, true},
                 {"next", 2, true, true},
                 {"next", 3, true, false},
                 {"next", 3, true, false},
                 {"previous", 2, true, true}};
    EXPECT_EQ(shop->getCurrentOffer(), 1);
    for (const auto& s : steps) {
        if (std::string(s.step) == "next")
            tap(shop->getNextOfferButton());
        else if (std::string(s.step) == "previous")
            tap(shop->getPreviousOfferButton());
        EXPECT_EQ(shop->getCurrentOffer(), s.offer) << s.step;
        EXPECT_EQ(shop->getPreviousOfferButton()->isVisible(), s.previous) << s.step << " to " << s.offer;
        EXPECT_EQ(shop->getNextOfferButton()->isVisible(), s.next) << s.step << " to " << s.offer;
    }
    CCSprite* picture = shop->getOfferImage();
    for (int number : {0, 4, 2}) {
        shop->showOffer(number);
        EXPECT_EQ(shop->getOfferImage(), picture) << "offer " << number << " changes nothing";
    }
    EXPECT_EQ(textOf(shop->getOfferPhrase1()), LocalUtils::localize("ShopMainTodaySpecialPhrase2_1")->getString());
}

TEST_F(ShopWindow, TheOfferAndManaButtonsOnlySayTheGameIsOffline)
{
    PixelMarket* shop = open();
    for (GUIButton* button : {shop->getOfferBuyButton(), shop->getManaButton()}) {
        tap(button);
        EXPECT_EQ(popupMessage(), offlineText());
        answerPopup();
        EXPECT_EQ(ScreenUtils::getInstance()->getCurrentWindow(), shop) << "the shop is current again";
    }
    EXPECT_EQ(profile->getMana(), 3500);
    EXPECT_EQ(profile->getPurchasedElements()->count(), 0u);
    EXPECT_EQ(profile->getPurchasedBackgrounds()->count(), 0u);
    EXPECT_EQ(timesPlayed("sfx_gui_select"), 1) << "the mana button";
}

TEST_F(ShopWindow, APageDisablesTheFrontPageUntilItCloses)
{
    PixelMarket* shop = open();
    tap(shop->getElementsButton());
    ASSERT_TRUE(shop->isCategoryPageOpen());
    EXPECT_EQ(shop->getPageMode(), 0);
    std::vector<GUIButton*> front = {shop->getNextOfferButton(), shop->getElementsButton(),
                                     shop->getBackgroundsButton(), shop->getManaButton(), shop->getOfferBuyButton()};
    for (GUIButton* button : front)
        EXPECT_FALSE(button->isEnabled());
    EXPECT_FALSE(shop->getBackdrop()->isVisible());

    shop->getBackgroundsButton()->activate();  // disabled under the page
    EXPECT_EQ(shop->getPageMode(), 0);

    pressBack();
    EXPECT_FALSE(shop->isCategoryPageOpen());
    EXPECT_EQ(shop->getPageMode(), PixelMarket::kNoPage);
    EXPECT_NE(shop->getParent(), nullptr) << "back from a page keeps the shop open";
    for (GUIButton* button : front)
        EXPECT_TRUE(button->isEnabled());
    EXPECT_TRUE(shop->getBackdrop()->isVisible());
    EXPECT_EQ(shop->getScroll()->getParent(), nullptr);
}

// --- the elements page ------------------------------------------------------------------

TEST_F(ShopWindow, TheElementsPageListsEveryElementOrTheWorldsOwnInOrder)
{
    PixelMarket* shop = open();
    shop->showCategoryPage(0);
    const std::vector<std::string> all = rowNames(shop);
    ASSERT_EQ(all.size(), 104u);
    EXPECT_EQ(all.front(), "Acid");
    EXPECT_EQ(all[5], "SeedBaobab");
    EXPECT_EQ(all.back(), "ZombieDust");

    // A campaign world: only what the day allows, in the same order.
    allowOnly({"Wood", "Acid", "Bee", "ZombieDust"});
    shop->showCategoryPage(0);
    EXPECT_EQ(rowNames(shop), (std::vector<std::string>{"Acid", "Bee", "Wood", "ZombieDust"}));
    const std::vector<GUIButton*> rows = shop->pageRows();
    ASSERT_EQ(rows.size(), 4u);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(static_cast<CCInteger*>(rows[static_cast<size_t>(i)]->getUserObject())->getValue(), i);
    tap(rows[2]);
    EXPECT_STREQ(shop->getPendingItem().name, "Wood") << "the filtered row's element";
    EXPECT_EQ(shop->getPendingItem().index, 2);

    // Over the main menu every element, whatever the world.
    GUIPopup::resetInstanceForTests();
    PixelMarket::resetInstanceForTests();
    runMainMenu();
    shop = open();
    shop->showCategoryPage(0);
    EXPECT_EQ(rowNames(shop), all);
}

TEST_F(ShopWindow, RowsAlternateAndBoughtRowsSayItAndDoNothing)
{
    profile->getPurchasedElements()->addObject(CCString::create("Algae"));
    PixelMarket* shop = open();
    shop->showCategoryPage(0);
    const std::vector<GUIButton*> rows = shop->pageRows();
    ASSERT_EQ(rows.size(), 104u);
    for (size_t i = 0; i < 4; ++i)
        EXPECT_TRUE(shows(rows[i], i % 2 == 0 ? "pixelmarket_shop_barLight.png" : "pixelmarket_shop_barDark.png"));
    EXPECT_EQ(captionOf(rows[1]), LocalUtils::localize("ShopElemGenericAlreadyPhrase")->getString());
    EXPECT_EQ(tagText(shop, rows[1]), "OWNED");
    EXPECT_FALSE(rows[1]->isEnabled());
    EXPECT_EQ(captionOf(rows[0]), "UNLOCK ACID");
    EXPECT_EQ(tagText(shop, rows[0]), "50");

    tap(rows[1]);
    EXPECT_FALSE(GUIPopup::getInstance()->isShown());
    EXPECT_EQ(profile->getMana(), 3500);
}

TEST_F(ShopWindow, TheLastRowCanBeDraggedIntoViewAndTheFirstRestsWhereItWasBuilt)
{
    PixelMarket* shop = open();
    shop->showCategoryPage(0);
    GUIScroll* scroll = shop->getScroll();
    const CCRect clip = scroll->getRect();
    const float rest = std::trunc(scroll->getPosition().y);
    EXPECT_EQ(scroll->getMinY(), rest);
    ASSERT_GT(scroll->getMaxY(), rest) << "the list is longer than its view";
    GUIButton* last = shop->pageRows().back();

    CCEGLView* view = CCEGLView::sharedOpenGLView();
    CCPoint at = ccp(clip.getMidX(), clip.getMinY() + 20);
    for (int drag = 0; drag < 80; ++drag) {
        view->simulateTouchBegan(3, at);
        for (int i = 1; i <= 10; ++i)
            view->simulateTouchMoved(3, ccp(at.x, at.y + 30.0f * static_cast<float>(i)));
        view->simulateTouchEnded(3, ccp(at.x, at.y + 300));
        stepSeconds(0.5f);
    }
    EXPECT_FLOAT_EQ(scroll->getPosition().y, scroll->getMaxY());
    const CCRect lastBox = CCRectApplyAffineTransform(
        CCRect(0, 0, last->getContentSize().width, last->getContentSize().height), last->nodeToWorldTransform());
    EXPECT_GE(lastBox.getMinY(), clip.getMinY() - 0.5f) << "the last row is wholly in view";
    EXPECT_LE(lastBox.getMaxY(), clip.getMaxY() + 0.5f);
    EXPECT_EQ(static_cast<CCInteger*>(last->getUserObject())->getValue(), 103);
}

TEST_F(ShopWindow, ElementsWithoutAWholePriceShowNoneAndCannotBeBought)
{
    useCatalogue({{"Acid", "12"}, {"Algae", "abc"}, {"Amatist", "-5"}, {"Bass", "7x"}});
    PixelMarket* shop = open();
    shop->showCategoryPage(0);
    const std::vector<GUIButton*> rows = shop->pageRows();
    ASSERT_GE(rows.size(), 7u);
    EXPECT_EQ(tagText(shop, rows[0]), "12");
    EXPECT_TRUE(rows[0]->isEnabled());
    for (size_t i : {1, 2, 3, 6}) {  // malformed, negative, not listed, trailing letters
        EXPECT_EQ(tagText(shop, rows[i]), "") << rowNames(shop)[i];
        EXPECT_FALSE(rows[i]->isEnabled()) << rowNames(shop)[i];
        shop->onElementTile(CCInteger::create(static_cast<int>(i)));
        EXPECT_FALSE(GUIPopup::getInstance()->isShown()) << rowNames(shop)[i];
    }
}

TEST_F(ShopWindow, AMissingCatalogueIsAnEmptyOne)
{
    ::resourceRoot = "/nonexistent-shop-root";
    PixelMarket* shop = open();
    EXPECT_EQ(shop->getCatalogue()->count(), 0u);
    shop->showCategoryPage(0);
    EXPECT_EQ(shop->pageRows().size(), 104u);
    for (GUIButton* row : shop->pageRows())
        EXPECT_FALSE(row->isEnabled());
    shop->showCategoryPage(1);
    EXPECT_TRUE(shop->pageRows().empty()) << "no rewards folder, no rows";
}

// --- purchases of elements ------------------------------------------------------------------

TEST_F(ShopWindow, ABoughtElementLeavesTheRestOfTheManaAndShowsAsBought)
{
    const int32_t price = PixelMarket::getInstance()->elementPrice("Bee");
    ASSERT_GT(price, 0);
    profile->setMana(price);
    PixelMarket* shop = open();
    shop->showCategoryPage(0);
    shop->onElementTile(shop->pageRows()[7]);  // below the view: as a tap would
    ASSERT_TRUE(GUIPopup::getInstance()->isShown());
    EXPECT_EQ(GUIPopup::getInstance()->getPurchasePrice(), static_cast<float>(price));
    answerPopup();
    EXPECT_EQ(profile->getMana(), 0);
    EXPECT_TRUE(profile->hasPurchasedElement(CCString::create("Bee")));
    EXPECT_EQ(textOf(shop->getManaLabel()), "0");
    GUIButton* row = shop->pageRows()[7];
    EXPECT_EQ(captionOf(row), LocalUtils::localize("ShopElemGenericAlreadyPhrase")->getString());
    EXPECT_FALSE(row->isEnabled());
    EXPECT_EQ(shop->pageRows().size(), 104u) << "the rebuilt page has its rows once";

    shop->onElementTile(row);
    EXPECT_FALSE(GUIPopup::getInstance()->isShown());
    int bees = 0;
    for (CCObject* name : *profile->getPurchasedElements())
        bees += static_cast<CCString*>(name)->getString() == "Bee";
    EXPECT_EQ(bees, 1);
}

TEST_F(ShopWindow, TooLittleManaGoesToTheFrontPageThenSaysTheGameIsOffline)
{
    const int32_t price = PixelMarket::getInstance()->elementPrice("Bee");
    profile->setMana(price - 1);
    PixelMarket* shop = open();
    shop->showCategoryPage(0);
    shop->onElementTile(shop->pageRows()[7]);
    EXPECT_FALSE(shop->isCategoryPageOpen());
    EXPECT_FALSE(GUIPopup::getInstance()->isShown());
    stepSeconds(0.5f);
    EXPECT_FALSE(GUIPopup::getInstance()->isShown()) << "not before 0.8 s";
    stepSeconds(0.4f);
    EXPECT_EQ(popupMessage(), offlineText());
    EXPECT_EQ(profile->getMana(), price - 1);
}

TEST_F(ShopWindow, TheBuyButtonBuysTheItemThePopupShows)
{
    PixelMarket* shop = open();
    shop->showCategoryPage(0);
    shop->onElementTile(CCInteger::create(7));  // Bee
    ASSERT_TRUE(GUIPopup::getInstance()->isShown());
    const std::string title = GUIPopup::getInstance()->getPurchaseTitle()->getString();
    shop->onElementTile(CCInteger::create(0));  // Acid, while the popup asks about the Bee
    EXPECT_STREQ(shop->getPendingItem().name, "Bee");
    EXPECT_EQ(GUIPopup::getInstance()->getPurchaseTitle()->getString(), title);

    // The rows change under the popup: the Bee is still what is bought.
    allowOnly({"Acid"});
    shop->showCategoryPage(0);
    shop->showCategoryPage(0);
    answerPopup();
    EXPECT_TRUE(profile->hasPurchasedElement(CCString::create("Bee")));
    EXPECT_FALSE(profile->hasPurchasedElement(CCString::create("Acid")));
}

// --- the backgrounds page -------------------------------------------------------------------

TEST_F(ShopWindow, OnlyPicturesWithABackgroundNameBecomeRows)
{
    useRewardsFolder({"sunset.png", "notes.txt", "a.png", "png", "areallylongname.png", "Polar.PNG"});
    PixelMarket* shop = open();
    shop->showCategoryPage(1);
    std::vector<std::string> files;
    for (CCObject* file : *shop->getRewardBackgrounds())
        files.push_back(static_cast<CCString*>(file)->getString());
    EXPECT_EQ(files, (std::vector<std::string>{"a.png", "sunset.png"}));
    const std::vector<GUIButton*> rows = shop->pageRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_TRUE(shows(rows[0], "pixelmarket_bg_square_light.png"));
    EXPECT_TRUE(shows(rows[1], "pixelmarket_bg_square_dark.png"));
    EXPECT_EQ(captionOf(rows[1]), "GET SUNSET");
    EXPECT_EQ(tagText(shop, rows[1]), "200");
    EXPECT_EQ(tagText(shop, rows[0]), "0") << "no record: it costs nothing";
}

TEST_F(ShopWindow, ABackgroundWithoutARecordCostsNothing)
{
    useRewardsFolder({"a.png"});
    PixelMarket* shop = open();
    shop->showCategoryPage(1);
    tap(shop->pageRows()[0]);
    ASSERT_TRUE(GUIPopup::getInstance()->isShown());
    EXPECT_EQ(GUIPopup::getInstance()->getPurchaseTitle()->getString(), LocalUtils::localize("ABkgName")->getString());
    EXPECT_EQ(GUIPopup::getInstance()->getPurchasePrice(), 0.0f);
    answerPopup();
    EXPECT_EQ(profile->getMana(), 3500);
    EXPECT_TRUE(profile->hasPurchasedBackground(CCString::create("a")));
    EXPECT_FALSE(shop->pageRows()[0]->isEnabled());
    EXPECT_EQ(tagText(shop, shop->pageRows()[0]), "OWNED");
}

TEST_F(ShopWindow, BackgroundsGoByTheirIdInTheShopAndTheGallery)
{
    useRewardsFolder({"Sunset.png", "polar.png", "desert.png"});
    useCatalogue({}, {{"sunset", "200"}, {"polar", "300"}, {"desert", "200"}});
    profile->getUnlockedBackgrounds()->addObject(CCString::create("polar"));
    profile->getPurchasedBackgrounds()->addObject(CCString::create("desert"));
    PixelMarket* shop = open();
    shop->showCategoryPage(1);
    std::vector<GUIButton*> rows = shop->pageRows();
    ASSERT_EQ(rows.size(), 3u);  // Sunset.png, desert.png, polar.png
    EXPECT_EQ(tagText(shop, rows[0]), "200") << "a capital letter in the file name";
    EXPECT_EQ(tagText(shop, rows[1]), "OWNED") << "bought in the gallery";
    EXPECT_EQ(tagText(shop, rows[2]), "OWNED") << "granted by a goal";
    EXPECT_FALSE(rows[2]->isEnabled());
    shop->onBackgroundTile(CCInteger::create(2));
    EXPECT_FALSE(GUIPopup::getInstance()->isShown()) << "nothing to pay for an owned background";

    tap(rows[0]);
    answerPopup();
    EXPECT_EQ(profile->getMana(), 3300);
    EXPECT_TRUE(profile->hasPurchasedBackground(CCString::create("sunset")));
    // The gallery knows it as bought.
    layer->openBackgroundsWindow();
    stepSeconds(0.5f);
    GUIBackgrounds* gallery = layer->getBackgroundsWindow();
    ASSERT_NE(gallery, nullptr);
    CCArray* parts = gallery->getTileParts("sunset");
    ASSERT_NE(parts, nullptr);
    EXPECT_FALSE(static_cast<CCNode*>(parts->objectAtIndex(GUIBackgrounds::Lock))->isVisible());
}

TEST_F(ShopWindow, TheBackgroundsPageRestsInOnePlaceOnAWideScreen)
{
    resetScreenMetricsForTests();
    computeScreenMetrics(CCSize(1066, 600));
    ASSERT_GT(visibleMargin().width, 100);
    PixelMarket* shop = open();
    std::vector<float> places;
    for (int opening = 0; opening < 3; ++opening) {
        shop->showCategoryPage(1);
        places.push_back(shop->getScroll()->getPosition().x);
        EXPECT_EQ(shop->getBackgroundSlider()->getPosition().x, places.back());
        pressBack();
    }
    EXPECT_EQ(places[1], places[0]);
    EXPECT_EQ(places[2], places[0]);
    EXPECT_FLOAT_EQ(places[0], static_cast<float>(scaledUnit()));
}

// --- the way back -------------------------------------------------------------------------

TEST_F(ShopWindow, LeavingOverTheGameGivesTheBarAndTheMusicBack)
{
    GUITopBar* bar = GUITopBar::getInstance();
    bar->setLocked(true);
    PixelMarket* shop = open();
    ASSERT_EQ(ScreenUtils::getInstance()->getCurrentWindow(), shop);
    pressBack();
    EXPECT_EQ(shop->getParent(), nullptr);
    EXPECT_EQ(ScreenUtils::getInstance()->getCurrentWindow(), nullptr);
    EXPECT_EQ(shop->getPreviousWindow(), nullptr);
    EXPECT_FALSE(bar->isLocked());
    EXPECT_TRUE(layer->getLevelMusicOn());
    EXPECT_EQ(timesPlayed("sfx_gui_back"), 1);
    EXPECT_EQ(timesPlayed("music_main_menu", true), 0);
}

TEST_F(ShopWindow, LeavingOverTheMainMenuRestartsItsMusicAndCounter)
{
    runMainMenu();
    MainMenu* menu = MainMenu::getInstance();
    PixelMarket* shop = open();
    menu->unschedule(schedule_selector(MainMenu::update));
    CocosDenshion::SimpleAudioEngine::sharedEngine()->clearRecordedCalls();
    profile->setMana(1234);
    profile->setPendingMana(10);
    shop->goBack();
    EXPECT_EQ(shop->getParent(), nullptr);
    EXPECT_EQ(textOf(menu->getManaLabel()), "1234");
    EXPECT_EQ(timesPlayed("music_main_menu", true), 1);
    stepSeconds(0.2f);
    EXPECT_GT(profile->getMana(), 1234) << "the menu's update runs again";
}

TEST_F(ShopWindow, AWindowThatLeftItsSceneIsNotGivenBack)
{
    GUIPopup* popup = GUIPopup::getInstance();
    ScreenUtils::getInstance()->setCurrentWindow(popup);  // a window that is in no scene
    PixelMarket* shop = open();
    EXPECT_EQ(shop->getPreviousWindow(), popup);
    shop->goBack();
    EXPECT_EQ(ScreenUtils::getInstance()->getCurrentWindow(), nullptr);
}

TEST_F(ShopWindow, TheShopWorksWithoutAGameLayerOrAMenu)
{
    CCScene* bare = CCScene::create();
    CCDirector::sharedDirector()->replaceScene(bare);
    stepFrames(2);
    GameLayer::resetInstanceForTests();
    ASSERT_EQ(GameLayer::existingInstance(), nullptr);
    PixelMarket* shop = open();
    shop->showCategoryPage(0);
    EXPECT_EQ(shop->pageRows().size(), 104u) << "free play";
    testsupport::testHost().freePlay = false;
    shop->showCategoryPage(0);
    EXPECT_TRUE(shop->pageRows().empty()) << "no HUD says what the world allows";
    pressBack();
    pressBack();
    EXPECT_EQ(shop->getParent(), nullptr);
    EXPECT_EQ(GameLayer::existingInstance(), nullptr);
}

TEST_F(ShopWindow, AConfirmedPurchaseFromTheGalleryClosesTheShop)
{
    useRewardsFolder({"sunset.png"});
    PixelMarket* shop = open();
    shop->setReturnToGallery(true);
    shop->showCategoryPage(1);
    tap(shop->pageRows()[0]);
    answerPopup();
    EXPECT_TRUE(profile->hasPurchasedBackground(CCString::create("sunset")));
    EXPECT_FALSE(shop->getReturnToGallery());
    EXPECT_EQ(shop->getParent(), nullptr);
    ASSERT_NE(layer->getBackgroundsWindow(), nullptr);
    EXPECT_EQ(ScreenUtils::getInstance()->getCurrentWindow(), layer->getBackgroundsWindow())
        << "the gallery is the window the player sees";
}

// --- the instance and the HUD ---------------------------------------------------------------

TEST_F(ShopWindow, AFailedInitialisationGivesNoShopAndTheNextCallTriesAgain)
{
    PixelMarket::resetInstanceForTests();
    testsupport::LogCapture log;
    PixelMarket::failNextInitForTests();
    EXPECT_EQ(PixelMarket::getInstance(), nullptr);
    EXPECT_TRUE(log.contains("PixelMarket init failed!"));
    EXPECT_NE(PixelMarket::getInstance(), nullptr);
}

TEST_F(ShopWindow, TheHudsManaActionSaysTheGameIsOffline)
{
    PixelMarket::getInstance()->onManaButton();
    EXPECT_EQ(timesPlayed("sfx_gui_select"), 1);
    EXPECT_EQ(popupMessage(), offlineText());
}

TEST_F(ShopWindow, TheManaButtonAndANewWorldAreRecorded)
{
    std::vector<std::pair<std::string, std::string>> events;
    StatsUtils::setEventSink([&](const std::string& name, const std::vector<json::NodePtr>& parameters) {
        events.push_back({name, json::objectJson(parameters)});
    });
    GUITopBar::getInstance()->onManaButton();
    layer->getGUI()->onNewWorldButton(nullptr);
    testsupport::testHost().freePlay = false;
    layer->getGUI()->onNewWorldButton(nullptr);
    StatsUtils::resetForTests();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0], std::make_pair(std::string("Opened Shop"), std::string(R"({"From":"Mana Button"})")));
    EXPECT_EQ(events[1], std::make_pair(std::string("World Reset"), std::string(R"({"From":"Free Mode"})")));
    EXPECT_EQ(events[2], std::make_pair(std::string("World Reset"), std::string(R"({"From":"Story Mode"})")));
}

}  // namespace
