// The online gallery end to end in the game, against the real server on
// loopback: opening it over a world and coming back to that world as it
// was, paging, search and orders, playing a world and rating it, deleting
// the player's own world, failures that leave the player where they were,
// and sharing a saved world from the world menu.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "../online/LoopbackHttpServer.h"
#include "base/StatsUtils.h"
#include "cocos2d_extensions/CCValue.h"
#include "gui/BackButton.h"
#include "gui/GUIProgressBar.h"
#include "gui/GUIWindow.h"
#include "gui/SlidingLayer.h"
#include "hud/GUIAchievement.h"
#include "hud/GUIIngameMessage.h"
#include "hud/GUISaveLoad.h"
#include "hud/GUITopBar.h"
#include "scene/SaveLoadUtils.h"
#include "platform/CloudStorage.h"
#include "screens/MainMenu.h"
#include "support/GalleryFixture.h"
#include "world/GameServices.h"
#include "world/WorldBlob.h"

USING_NS_CC;

namespace {

class GalleryScreen : public gametest::GalleryScene {
protected:
    void TearDown() override
    {
        StatsUtils::resetForTests();
        link->setAnswerTimeoutMs(ServerLink::kAnswerTimeoutMs);
        GalleryScene::TearDown();
    }
    std::string text(const char* key) { return LocalUtils::localize(key)->getString(); }
    static int32_t word(size_t offset) { return Profile::getInstance()->getProgressWord(offset); }
    // The world menu's buttons by caption.
    std::vector<std::string> worldMenuCaptions()
    {
        layer->getGUI()->showWorldMenu();
        std::vector<std::string> captions;
        for (const auto& [caption, button] : worldMenuButtons())
            captions.push_back(caption);
        return captions;
    }
    bool gameShown()
    {
        CCDirector* director = CCDirector::sharedDirector();
        return !director->isInTransition() && layer->getParent() == director->getRunningScene();
    }
    // Ann shares "Islands"; Bob opens it from the gallery and plays it. Its
    // gallery id, or 0 when the game did not start.
    int32_t playAnnsIslandsAsBob()
    {
        registerPlayer("Ann");
        const int32_t islands = share("Islands", 0);
        registerPlayer("Bob");
        OnlineGallery* gallery = openGallery();
        if (!gallery)
            return 0;
        tapCard(gallery, islands);
        EXPECT_TRUE(gallery->isDetailsShown());
        EXPECT_FALSE(gallery->getDeleteButton()->isVisible()) << "not Bob's world";
        tap(gallery->getPlayButton());
        return stepUntil([&] { return gameShown(); }) ? islands : 0;
    }
    // As the world menu's Rate does it: the rate window on the player's
    // earlier stars (asked for first when the world was started before its
    // details came; kept in rateOpenedWith), then the stars and the tick.
    void rate(int stars)
    {
        layer->getGUI()->onRateButton(nullptr);
        GUIRate* window = GUIRate::getInstance();
        ASSERT_TRUE(stepUntil([&] { return ScreenUtils::getInstance()->getCurrentWindow() == window; }));
        rateOpenedWith = window->getRating() + 1;
        window->setRating(stars - 1);
        window->confirm();
        ASSERT_TRUE(stepUntil([] { return !popupText().empty(); })) << "an answer in words";
    }
    // What the status line shows, empty when nothing.
    static std::string statusOf(OnlineGallery* gallery)
    {
        GUILabel* label = gallery->getStatusLabel();
        return label->isVisible() && label->getParent() && label->getText() ? label->getText()->getString()
                                                                            : std::string();
    }
    // A finger pulled up the grid from its middle: a scroll towards its end.
    void scrollGrid(OnlineGallery* gallery, float by)
    {
        SlidingLayer* grid = gallery->getGrid();
        const CCSize size = grid->getContentSize();
        const CCPoint at = ccpAdd(grid->getOrigin(), ccp(size.width / 2, size.height / 2));
        press(at.x, at.y);
        for (int i = 1; i <= 4; ++i)
            drag(at.x, at.y + by * i / 4);
        release(at.x, at.y + by);
        stepFrames(2);
    }
    // The saved world "dunes" shared from the world menu, asked nothing; its
    // gallery id.
    int32_t shareDunes()
    {
        GUIProgressBar* bar = GUIProgressBar::getInstance();
        layer->getGUI()->onUploadButton(nullptr);
        EXPECT_EQ(popupText(), "") << "not asked whether to send a copy";
        EXPECT_TRUE(stepUntil([&] { return bar->getDisplayedProgress() >= 100; }));
        EXPECT_FALSE(bar->isFailed());
        bar->onOkPressed();
        stepFrames(30);
        return GUI::galleryIdOf("dunes");
    }
    static std::string savedDunes()
    {
        std::string blob(static_cast<size_t>(platform::CloudStorage::getFileSize("User/dunes.sav")), '\0');
        platform::CloudStorage::fileRead("User/dunes.sav", blob.data(), static_cast<int32_t>(blob.size()));
        return blob;
    }
    // The player's stars for the world as the server keeps them.
    int32_t myStarsOn(int32_t id)
    {
        int32_t stars = -1;
        link->requestMyRating(
            id, [&](int32_t got) { stars = got; }, [&](const GalleryFailure&) { stars = -2; });
        EXPECT_TRUE(stepUntil([&] { return stars != -1; }));
        return stars;
    }
    int rateOpenedWith = -1;
    GalleryWorld detailsOf(int32_t id)
    {
        GalleryWorld shared;
        link->requestWorldDetails(
            id, [&](const GalleryWorld& w) { shared = w; }, [](const GalleryFailure&) {});
        EXPECT_TRUE(stepUntil([&] { return shared.id == id; }));
        return shared;
    }
};

TEST_F(GalleryScreen, BackComesBackToTheWorldAsItWasLeftWithItsWindow)
{
    enterScene();
    layer->getGUI()->selectElement("Sand");
    world->addParticle(100, 100, hashString("Wall"), true);
    GUIWindow* window = layer->getAchievementWindow();
    ScreenUtils::getInstance()->setCurrentWindow(window);

    OnlineGallery* gallery = openGallery();
    ASSERT_NE(gallery, nullptr);
    EXPECT_EQ(ScreenUtils::getInstance()->savedWindow, window);
    EXPECT_EQ(gallery->getTotal(), 0);
    EXPECT_EQ(gallery->getStatusLabel()->getText()->getString(), text("GalleryNoWorlds"));
    tap(gallery->getBackButton());
    ASSERT_TRUE(stepUntil([&] { return gameShown(); }));
    EXPECT_EQ(ScreenUtils::getInstance()->getCurrentWindow(), window);
    EXPECT_EQ(layer->getGUI()->getCurrentElement()->getString(), "Sand") << "nothing chosen again";
    EXPECT_EQ(typeAt(100, 100), hashString("Wall"));
}

TEST_F(GalleryScreen, FromTheMainMenuItCountsItsEntryAndBackGoesOnToTheMenu)
{
    std::vector<std::string> events;
    StatsUtils::setEventSink(
        [&](const std::string& name, const std::vector<json::NodePtr>&) { events.push_back(name); });
    CCDirector::sharedDirector()->runWithScene(MainMenu::scene());
    stepFrames(2);
    MainMenu::getInstance()->openGallery();
    OnlineGallery* gallery = nullptr;
    ASSERT_TRUE(stepUntil([&] { return (gallery = shownGallery()) != nullptr; }));
    EXPECT_TRUE(gallery->isFromMainMenu());
    EXPECT_EQ(word(ProgressWord::GalleryEntryCounter), 1);
    EXPECT_EQ(events, std::vector<std::string>{"Went to Gallery"});
    EXPECT_FALSE(GUIIngameMessage::getInstance()->getParent()) << "no free-mode introduction on the way";
    gallery->onBackPressed();
    ASSERT_TRUE(stepUntil(
        [] { return MainMenu::getInstance()->getParent() == CCDirector::sharedDirector()->getRunningScene(); }));
    StatsUtils::resetForTests();
}

TEST_F(GalleryScreen, PagesFillAsTheGridScrollsAndSearchAndOrdersChangeTheList)
{
    const Player ann = registerPlayer("Ann");
    std::vector<int32_t> ids;
    for (int i = 0; i < 15; ++i)
        ids.push_back(share(i % 5 == 0 ? "Lake " + std::to_string(i) : "World " + std::to_string(i), i));
    registerPlayer("Bob");
    bool rated = false;
    link->rateWorld(
        ids[3], 5, [&](const GalleryRating&) { rated = true; }, [&](const GalleryFailure&) { rated = true; });
    ASSERT_TRUE(stepUntil([&] { return rated; }));
    std::vector<std::pair<std::string, std::string>> events;
    StatsUtils::setEventSink([&](const std::string& name, const std::vector<json::NodePtr>& parameters) {
        events.push_back({name, json::objectJson(parameters)});
    });

    OnlineGallery* gallery = openGallery();
    ASSERT_NE(gallery, nullptr);
    EXPECT_EQ(gallery->getTotal(), 15);
    EXPECT_EQ(gallery->getCountLabel()->getText()->getString(), "15 worlds");
    ASSERT_EQ(gallery->getCards().size(), static_cast<size_t>(OnlineGallery::kPageSize));
    EXPECT_EQ(gallery->getCards().front().world.id, ids.back()) << "newest first";
    ASSERT_TRUE(stepUntil([&] { return gallery->screenshotOf(ids.back()) != nullptr; }));
    gallery->getGrid()->moveBy(0, 10000);
    ASSERT_TRUE(stepUntil([&] { return gallery->getCards().size() == 15; })) << "the second page as the end shows";

    gallery->setSearch("lake");
    ASSERT_TRUE(stepUntil([&] { return !gallery->isLoadingPage() && gallery->getTotal() == 3; }));
    EXPECT_EQ(gallery->getCards().size(), 3u);
    gallery->setSearch("nothing like it");
    ASSERT_TRUE(stepUntil([&] { return !gallery->isLoadingPage() && gallery->getTotal() == 0; }));
    EXPECT_EQ(gallery->getStatusLabel()->getText()->getString(),
              "No world matches \xE2\x80\x9Cnothing like it\xE2\x80\x9D.");
    fprintf(stderr, "FONT %s\n", GUILabel::currentFontName->getCString());
    gallery->onClearSearch(nullptr);
    gallery->setOrder(GalleryOrder::TopRated);
    ASSERT_TRUE(stepUntil([&] { return !gallery->isLoadingPage() && gallery->getCards().size() == 12; }));
    EXPECT_EQ(gallery->getCards().front().world.id, ids[3]) << "the rated world first";
    EXPECT_EQ(
        events[0],
        std::make_pair(std::string("Applied Search"), std::string(R"({"SearchString":"lake","Filter":"Newest"})")));
    EXPECT_EQ(events.back(), std::make_pair(std::string("Applied Filter"), std::string(R"({"Filter":"Top rated"})")));
    StatsUtils::resetForTests();
    (void)ann;
}

TEST_F(GalleryScreen, PlayOpensTheWorldInFreePlayAndRatingCountsOnceAWorld)
{
    const int32_t islands = playAnnsIslandsAsBob();
    ASSERT_NE(islands, 0);
    EXPECT_EQ(layer->getOnlineWorldId(), islands);
    EXPECT_TRUE(SaveLoadUtils::isFreePlay());
    EXPECT_EQ(Profile::getInstance()->getGameMode(), MainMenu::kFreeModeGameMode);
    EXPECT_EQ(word(ProgressWord::WorldsDownloaded), 1);
    EXPECT_GT(world->particleCount(), 0) << "Ann's world";

    // Twice, then with the server gone: the first rating counts the world.
    rate(4);
    EXPECT_EQ(popupText(), text("RateThanks"));
    EXPECT_FLOAT_EQ(layer->getWorldRating(), 4.0f);
    answerPopup();
    rate(2);
    EXPECT_FLOAT_EQ(layer->getWorldRating(), 2.0f) << "a second rating replaces the first";
    answerPopup();
    server.kill9();
    rate(5);
    EXPECT_EQ(popupText(), text("NotificationOfflineMode"));
    EXPECT_EQ(word(ProgressWord::WorldsRated), 1);
    EXPECT_EQ(word(ProgressWord::GalleryRatingRequest0), 3);
    EXPECT_EQ(word(ProgressWord::GalleryRatingRequest1), 2);
    EXPECT_EQ(layer->getGUI()->getMyRating(), 2);
}

// A world played from the gallery shows its stars and how many rated it in
// its world menu. Rated there, with the thanks opening while the rate popup
// still fades, the menu shows the new rating and every button of it still
// opens what it says.
TEST_F(GalleryScreen, TheWorldMenuShowsTheRatingAndEveryButtonWorksAfterARating)
{
    const int32_t islands = playAnnsIslandsAsBob();
    ASSERT_NE(islands, 0);
    GUI* gui = layer->getGUI();
    const CCPoint middle = ccp(0.5f, -0.5f);  // the bar's and the menu's buttons hang from their top left
    auto openWorldMenu = [&] {
        tapButton(GUITopBar::getInstance()->getWorldMenuButton(), middle);
        stepFrames(20);
    };
    auto ratingShown = [&] {
        std::string stars, words;
        if (CCNode* row = gui->getMenuContent()->getChildByTag(GUI::kRatingTag))
            for (CCObject* child : *row->getChildren()) {
                if (auto* label = dynamic_cast<GUILabel*>(child))
                    words = label->getText()->getString();
                else
                    stars += GUITopBar::frameOf(static_cast<CCNode*>(child)) == "onlinegallery_starOn.png" ? '*' : '.';
            }
        return stars + " " + words;
    };
    auto buttonFor = [&](const char* key) -> GUIButton* {
        for (const auto& [caption, button] : worldMenuButtons())
            if (caption == text(key))
                return button;
        ADD_FAILURE() << "no button " << key;
        return nullptr;
    };
    openWorldMenu();
    ASSERT_EQ(ScreenUtils::getInstance()->getCurrentWindow(), gui);
    EXPECT_EQ(ratingShown(), "..... " + text("GalleryNotRated"));

    // Four stars; the tick pressed and the answer taken with no frame
    // stepped after it: the thanks opens over the fading popup.
    tapButton(buttonFor("RateWorldBut"), middle);
    GUIRate* rate = GUIRate::getInstance();
    // Rate may ask the server for the player's earlier stars first.
    ASSERT_TRUE(stepUntil([&] { return ScreenUtils::getInstance()->getCurrentWindow() == rate; }));
    stepSeconds(GUIWindow::kOpeningSeconds);
    tapButton(rate->getStar(3), ccp(0.5f, 0.5f));
    const CCSize tick = rate->getTickButton()->getContentSize();
    const CCPoint at = rate->getTickButton()->convertToWorldSpace(ccp(tick.width / 2, tick.height / 2));
    press(at.x, at.y);
    release(at.x, at.y);
    stepFrames(4);  // a tick fires 0.05 s after its press
    ASSERT_TRUE(rate->isLeaving());
    for (int i = 0; i < 60000 && popupText().empty(); ++i) {
        manager.runPendingActions();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_EQ(popupText(), text("RateThanks"));
    EXPECT_EQ(rate->getParent(), CCDirector::sharedDirector()->getRunningScene()) << "still fading";
    EXPECT_EQ(ratingShown(), "****. 4.0 (1 rating)");
    stepSeconds(GUIWindow::kOpeningSeconds);
    tapButton(GUIPopup::getInstance()->getOkButton(), ccp(0.5f, 0.5f));
    stepSeconds(0.5f);

    // Each button opens its window (Load its screen); the back key closes it
    // and the menu takes touches again.
    int tried = 0;
    for (const auto& [caption, button] : worldMenuButtons()) {
        if (caption == text("LoadName") || caption == text("NewWorldBut"))
            continue;
        SCOPED_TRACE(caption);
        ++tried;
        ASSERT_EQ(ScreenUtils::getInstance()->getCurrentWindow(), gui);
        tapButton(button, middle);
        GUIWindow* opened = ScreenUtils::getInstance()->getCurrentWindow();
        EXPECT_TRUE(opened && opened != gui);
        stepSeconds(GUIWindow::kOpeningSeconds);
        BackButtonAdapter::getInstance()->onBackPressed();
        stepSeconds(0.5f);
    }
    EXPECT_EQ(tried, 4) << "Name, Description, Rate and Save";
    ASSERT_EQ(ScreenUtils::getInstance()->getCurrentWindow(), gui);
    tapButton(buttonFor("LoadName"), middle);
    stepSeconds(0.5f);
    EXPECT_NE(CCDirector::sharedDirector()->getRunningScene()->getChildren()->objectAtIndex(0), layer);
    BackButtonAdapter::getInstance()->onBackPressed();
    ASSERT_TRUE(stepUntil([&] { return gameShown(); }));
    openWorldMenu();
    world->unsavedChanges = true;
    tapButton(buttonFor("NewWorldBut"), middle);
    EXPECT_EQ(popupText(), text("ConfirmationNewWorld"));
    stepSeconds(GUIWindow::kOpeningSeconds);
    BackButtonAdapter::getInstance()->onBackPressed();
    stepSeconds(0.5f);
    EXPECT_EQ(ScreenUtils::getInstance()->getCurrentWindow(), gui);
}

TEST_F(GalleryScreen, RateIsOfferedInAGalleryWorldAndUploadInFreePlay)
{
    enterScene();
    const std::string rateCaption = text("RateWorldBut"), uploadCaption = text("UploadBut");
    struct Case {
        int32_t onlineWorld;
        bool freePlay;
        bool rate;
        bool upload;
    } const cases[] = {{0, true, false, true}, {7, true, true, true}, {0, false, false, false}};
    for (const Case& c : cases) {
        layer->setOnlineWorldId(c.onlineWorld);
        testsupport::testHost().freePlay = c.freePlay;
        const std::vector<std::string> captions = worldMenuCaptions();
        auto has = [&](const std::string& caption) {
            return std::find(captions.begin(), captions.end(), caption) != captions.end();
        };
        EXPECT_EQ(has(rateCaption), c.rate) << c.onlineWorld;
        EXPECT_EQ(has(uploadCaption), c.upload) << c.freePlay;
        // Only a gallery world has stars to show.
        EXPECT_EQ(layer->getGUI()->getMenuContent()->getChildByTag(GUI::kRatingTag) != nullptr, c.rate);
    }
    // A rating with no gallery world sends nothing.
    layer->setOnlineWorldId(0);
    layer->getGUI()->rateWorld(cocos2d_extensions::CCValue<float>::create(3.0f));
    stepFrames(30);
    EXPECT_EQ(word(ProgressWord::GalleryRatingRequest0), 0);
}

// A world its author took off the gallery while another player plays it:
// once the gallery has said it is gone (to Rate, or on its card in the
// gallery opened over it), its world menu offers no Rate.
TEST_F(GalleryScreen, AWorldTheGallerySaidIsGoneOffersNoRate)
{
    const Player ann = registerPlayer("Ann");
    const int32_t islands = share("Islands", 0), lava = share("Lava", 1);
    const Player bob = registerPlayer("Bob");
    const std::string rateCaption = text("RateWorldBut");
    auto offersRate = [&] {
        const std::vector<std::string> captions = worldMenuCaptions();
        return std::find(captions.begin(), captions.end(), rateCaption) != captions.end();
    };
    for (const bool toRate : {true, false}) {
        SCOPED_TRACE(toRate ? "said to Rate" : "said in the gallery");
        const int32_t played = toRate ? islands : lava;
        OnlineGallery* gallery = openGallery();
        ASSERT_NE(gallery, nullptr);
        tapCard(gallery, played);
        tap(gallery->getPlayButton());
        ASSERT_TRUE(stepUntil([&] { return gameShown(); }));
        ASSERT_EQ(layer->getOnlineWorldId(), played);
        EXPECT_TRUE(offersRate());
        if (!toRate)
            gallery = openGallery();
        actAs(ann);
        bool deleted = false;
        link->deleteWorld(
            played, [&] { deleted = true; }, [](const GalleryFailure&) {});
        ASSERT_TRUE(stepUntil([&] { return deleted; }));
        actAs(bob);
        if (toRate) {
            layer->getGUI()->onRateButton(nullptr);
        } else {
            ASSERT_NE(gallery, nullptr);
            tapCard(gallery, played);
        }
        ASSERT_TRUE(stepUntil([] { return !popupText().empty(); }));
        EXPECT_EQ(popupText(), text("GalleryWorldGone"));
        answerPopup();
        if (!toRate) {
            gallery->onBackPressed();
            ASSERT_TRUE(stepUntil([&] { return gameShown(); }));
        }
        EXPECT_FALSE(offersRate());
        layer->getGUI()->closeMenu();
        stepFrames(30);
    }
}

// What the world menu says of ratings, and where Rate's stars go, follow
// the world on screen through every way it changes: a world from the
// gallery undone to the player's own offers no Rate, redone it is that
// gallery world again, and stars chosen for a world that left the screen
// under the rate window (or while Rate asked for the player's stars) go to
// no other world. A rating's answer reaches the world on screen and its
// copy in the undo, and counts a world rated once, however its ratings
// overlap.
TEST_F(GalleryScreen, RateAndTheRatingFollowTheWorldOnScreen)
{
    registerPlayer("Ann");
    const int32_t islands = share("Islands", 0), lava = share("Lava", 1), sea = share("Sea", 2),
                  moon = share("Moon", 3), dust = share("Dust", 4);
    registerPlayer("Bob");
    GUIIngameMessage::getInstance()->setFreeModeIntroDone(true);
    enterScene();
    saveAs("Home");
    GUI* gui = layer->getGUI();
    GUIRate* window = GUIRate::getInstance();
    const auto play = [&](int32_t id) {
        OnlineGallery* gallery = openGallery();
        ASSERT_NE(gallery, nullptr);
        tapCard(gallery, id);
        tap(gallery->getPlayButton());
        ASSERT_TRUE(stepUntil([&] { return gameShown(); }));
    };
    const auto stroke = [&] {
        gui->closeMenu();
        stepFrames(30);
        press(400, 300);
        stepFrames(2, 0.015f);
        release(400, 300);
    };
    const auto undo = [] { GUITopBar::getInstance()->onUndoButton(); };
    const auto load = [&] {
        GUISaveLoad* screen = openSavedWorlds();
        auto* row = static_cast<CCNode*>(screen->getRows()->objectAtIndex(0));
        const CCPoint at = row->getParent()->convertToWorldSpace(ccpAdd(row->getPosition(), ccp(40, -20)));
        press(at.x, at.y, 7);
        release(at.x, at.y, 7);
        screen->loadSelectedWorldNow();
        ASSERT_TRUE(stepUntil([&] { return gameShown(); }));
    };
    // The world menu: Rate offered, and the words under its picture.
    const auto menuSays = [&] {
        const std::vector<std::string> captions = worldMenuCaptions();
        std::string says =
            std::find(captions.begin(), captions.end(), text("RateWorldBut")) != captions.end() ? "Rate: " : "";
        if (CCNode* row = gui->getMenuContent()->getChildByTag(GUI::kRatingTag))
            for (CCObject* child : *row->getChildren())
                if (auto* label = dynamic_cast<GUILabel*>(child))
                    says += label->getText()->getString();
        return says;
    };

    // Rate twice, the second tick before the first answer came (the same
    // stars: either answer may come last). Rate asks for the player's stars
    // the first time; known then, it opens at once the second, no answer
    // taken meanwhile.
    const auto rateTwiceAtOnce = [&] {
        for (int twice = 0; twice < 2; ++twice) {
            gui->onRateButton(nullptr);
            if (twice == 0) {
                ASSERT_TRUE(stepUntil([&] { return ScreenUtils::getInstance()->getCurrentWindow() == window; }));
            }
            ASSERT_EQ(ScreenUtils::getInstance()->getCurrentWindow(), window);
            window->setRating(2);
            window->confirm();
        }
    };
    const auto thanked = [&](int32_t answers) {
        ASSERT_TRUE(stepUntil([&] { return word(ProgressWord::GalleryRatingRequest1) == answers; }));
        for (int i = 0; i < 3 && !popupText().empty(); ++i)
            answerPopup();
    };
    std::set<int32_t> rated;  // the worlds Bob rated so far

    enum Under { Nothing, RateAsking, RateWindow };
    const struct {
        const char* what;
        int32_t inUndo;  // the world the undo holds: a gallery world painted on, or 0 the player's own
        std::function<void()> route;
        int32_t shown;  // the gallery world then on screen, 0 for none
        Under under = Nothing;
        int32_t played = 0;  // the gallery world on screen before the route (0: Islands)
        int rates = 0;       // the ratings the route sends
    } routes[] = {
        {"Undo", 0, undo, 0},
        {"Undo, Redo", 0, [&] { undo(), undo(); }, islands},
        {"Load", 0, load, 0},
        {"New world", 0, [&] { gui->startNewWorld(); }, 0},
        {"painted, New world, Undo", 0, [&] { stroke(), gui->startNewWorld(), undo(); }, islands},
        {"Gallery and Back", 0, [&] { openGallery()->onBackPressed(), stepUntil([&] { return gameShown(); }); },
         islands},
        {"another played, Undo, Redo", 0, [&] { play(lava), undo(), undo(); }, lava},
        {"Undo while Rate asks for the stars", lava, undo, lava, RateAsking},
        {"Undo under the rate window", lava, undo, lava, RateWindow},
        // Rate looked at and closed first: the world's record knows the
        // player has no stars on it when the stroke copies it.
        {"stroke, rate, Undo", 0,
         [&] {
             gui->onRateButton(nullptr);
             ASSERT_TRUE(stepUntil([&] { return ScreenUtils::getInstance()->getCurrentWindow() == window; }));
             window->cancel();
             stroke(), rate(4), answerPopup(), undo();
         },
         sea, Nothing, sea, 1},
        {"two ratings before the answer", 0,
         [&] {
             const int32_t answers = word(ProgressWord::GalleryRatingRequest1);
             rateTwiceAtOnce(), thanked(answers + 2);
         },
         moon, Nothing, moon, 2},
        {"two ratings, the world gone before the answers", 0,
         [&] {
             const int32_t answers = word(ProgressWord::GalleryRatingRequest1);
             rateTwiceAtOnce(), gui->startNewWorld(), thanked(answers + 2);
         },
         0, Nothing, dust, 2},
    };
    int stars = 0;
    for (const auto& r : routes) {
        SCOPED_TRACE(r.what);
        // Islands (or the row's world) on screen; the undo keeps the world
        // painted before it.
        const int32_t played = r.played ? r.played : islands;
        gui->closeMenu();
        if (r.inUndo)
            play(r.inUndo);
        else
            gui->startNewWorld();
        stroke();
        play(played);
        ASSERT_EQ(layer->getOnlineWorldId(), played);
        const int32_t sent = word(ProgressWord::GalleryRatingRequest0) + r.rates;
        if (r.rates)
            rated.insert(played);
        if (r.under != Nothing)
            gui->onRateButton(nullptr);
        if (r.under == RateWindow) {
            ASSERT_TRUE(stepUntil([&] { return ScreenUtils::getInstance()->getCurrentWindow() == window; }));
        }
        r.route();
        if (r.under == RateWindow) {
            window->setRating(2);
            window->confirm();
        }
        ASSERT_TRUE(settle());
        stepFrames(30);
        EXPECT_NE(ScreenUtils::getInstance()->getCurrentWindow(), window);
        EXPECT_EQ(word(ProgressWord::GalleryRatingRequest0), sent) << "nothing sent";
        EXPECT_EQ(word(ProgressWord::WorldsRated), static_cast<int32_t>(rated.size())) << "each world once";
        if (r.shown == 0) {
            EXPECT_EQ(menuSays(), "");
            gui->rateWorld(cocos2d_extensions::CCValue<float>::create(2.0f));
            EXPECT_EQ(word(ProgressWord::GalleryRatingRequest0), sent) << "nothing sent";
            continue;
        }
        const GalleryWorld before = detailsOf(r.shown);
        EXPECT_EQ(menuSays(), "Rate: " + GUI::ratingWords(before.rating, before.ratings));
        const int32_t starsBefore = myStarsOn(r.shown);
        // Each rating other than the one before it: the average is these stars.
        stars = stars % 5 + 1;
        gui->closeMenu();
        rate(stars);
        EXPECT_EQ(rateOpenedWith, starsBefore) << "Rate opens on the player's stars";
        EXPECT_EQ(popupText(), text("RateThanks"));
        answerPopup();
        EXPECT_EQ(detailsOf(r.shown).rating, stars) << "the stars went to the world shown";
        rated.insert(r.shown);
        EXPECT_EQ(word(ProgressWord::WorldsRated), static_cast<int32_t>(rated.size())) << "each world once";
    }
}

TEST_F(GalleryScreen, DeleteIsOfferedOnThePlayersOwnWorldAndTakesItAway)
{
    const Player ann = registerPlayer("Ann");
    const int32_t mine = share("Mine", 0);
    registerPlayer("Bob");
    const int32_t theirs = share("Theirs", 1);
    actAs(ann);
    OnlineGallery* gallery = openGallery();
    ASSERT_NE(gallery, nullptr);
    ASSERT_EQ(gallery->getCards().size(), 2u);
    tapCard(gallery, theirs);
    EXPECT_FALSE(gallery->getDeleteButton()->isVisible());
    tap(gallery->getCloseButton());
    EXPECT_FALSE(gallery->isDetailsShown());

    tapCard(gallery, mine);
    ASSERT_TRUE(gallery->getDeleteButton()->isVisible());
    tap(gallery->getDeleteButton());
    EXPECT_EQ(popupText(), text("GalleryDeleteQuestion")) << "asked first";
    answerPopup();
    ASSERT_TRUE(stepUntil([&] { return gallery->getCards().size() == 1; }));
    EXPECT_FALSE(gallery->isDetailsShown());
    EXPECT_EQ(gallery->getCards().front().world.id, theirs);
    EXPECT_EQ(gallery->getTotal(), 1);
    int32_t count = -1;
    link->requestWorldCount(
        "", [&](int32_t n) { count = n; }, [](const GalleryFailure&) {});
    ASSERT_TRUE(stepUntil([&] { return count >= 0; }));
    EXPECT_EQ(count, 1) << "gone from the server";
}

TEST_F(GalleryScreen, AFailedOrUnreadableDownloadLeavesThePlayerInTheGallery)
{
    // A server that lists a world whose data is no world at all, and one
    // whose details never come.
    LoopbackHttpServer fake(
        [](const ReceivedRequest& request) {
            const auto world = [](int id) {
                return R"({"id": )" + std::to_string(id) +
                    R"(, "name": "Broken", "author": "Eve", "author_id": 9,)"
                    R"( "date": "2026-12-08T10:00:00Z", "rating": 0, "ratings": 0, "downloads": 0})";
            };
            CannedResponse answer;
            if (request.path.rfind("/v1/worlds/count", 0) == 0)
                answer.body = R"({"count": 2})";
            else if (request.path.rfind("/v1/worlds?", 0) == 0)
                answer.body = R"({"count": 2, "offset": 0, "worlds": [)" + world(5) + ", " + world(6) + "]}";
            else if (request.path.rfind("/v1/worlds/5/data", 0) == 0)
                answer = {200, "not a world at all", "application/octet-stream"};
            else if (request.path == "/v1/worlds/5")
                answer.body = world(5);
            else if (request.path == "/v1/worlds/6")
                answer.hang = true;
            else
                answer = {404, R"({"error": "no such thing"})"};
            return answer;
        },
        40);
    registerPlayer("Bob");
    const int32_t islands = share("Islands", 0);
    struct Case {
        const char* why;
        int32_t world;
        std::function<void()> breakIt;
        std::string words;
        bool beforeDetails;  // broken before the details are asked for, and Play not pressed
    } const cases[] = {
        {"the reader refuses it", 5, [&] {}, text("GalleryWorldUnreadable"), false},
        {"the server has gone", islands, [&] { server.kill9(); }, text("NotificationOfflineMode"), false},
        // Said in Play's words for a time-out (the answer time shortened here).
        {"its details never come", 6, [&] { link->setAnswerTimeoutMs(300); }, text("NetErrorTimeout"), true},
    };
    enterScene();
    world->addParticle(100, 100, hashString("Wall"), true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        link->setBaseUrl(c.world == islands ? server.url() : fake.url());
        OnlineGallery* gallery = openGallery();
        ASSERT_NE(gallery, nullptr);
        if (c.beforeDetails)
            c.breakIt();
        tapCard(gallery, c.world);
        if (!c.beforeDetails) {
            ASSERT_TRUE(settle());
            c.breakIt();
            tap(gallery->getPlayButton());
        }
        ASSERT_TRUE(stepUntil([] { return !popupText().empty(); }));
        EXPECT_EQ(popupText(), c.words);
        answerPopup();
        EXPECT_EQ(shownGallery(), gallery) << "still in the gallery";
        EXPECT_TRUE(gallery->isDetailsShown());
        EXPECT_TRUE(gallery->getPlayButton()->isEnabled()) << "Play may be tried again";
        EXPECT_EQ(layer->getOnlineWorldId(), 0);
        EXPECT_EQ(typeAt(100, 100), hashString("Wall")) << "the world is as it was";
        EXPECT_EQ(word(ProgressWord::WorldsDownloaded), 0);
        gallery->onBackPressed();
        gallery->onBackPressed();
        ASSERT_TRUE(stepUntil([&] { return gameShown(); }));
    }
}

// A world can leave the server while the player looks at it. The details
// of a world the player has just deleted, their answer late, add nothing to
// the delete; a world found gone closes its details and leaves the list,
// saying why, and the player stays in the gallery.
TEST_F(GalleryScreen, AWorldGoneFromTheServerLeavesTheListAndALateAnswerShowsNothing)
{
    const Player bob = registerPlayer("Bob");
    enum Case { DeletedWhileItsDetailsCame, GoneBeforeItsDetails, GoneBeforePlay };
    std::atomic<int> now{DeletedWhileItsDetailsCame};
    const std::string world = R"({"id": 5, "name": "Mine", "author": "Bob", "author_id": )" + std::to_string(bob.id) +
        R"(, "date": "2026-12-08T10:00:00Z", "rating": 0, "ratings": 0, "downloads": 0})";
    const CannedResponse gone{404, R"({"error": "no such world"})"};
    LoopbackHttpServer fake(
        [&](const ReceivedRequest& request) {
            CannedResponse answer;
            if (request.path.rfind("/v1/worlds/count", 0) == 0)
                answer.body = R"({"count": 1})";
            else if (request.path.rfind("/v1/worlds?", 0) == 0)
                answer.body = R"({"count": 1, "offset": 0, "worlds": [)" + world + "]}";
            else if (request.method == "DELETE")
                answer.body = R"({"id": 5, "deleted": true})";
            else if (request.path == "/v1/worlds/5" && now == DeletedWhileItsDetailsCame) {
                // Slow enough for the delete to go meanwhile; the server
                // that answers it has deleted the world already.
                answer = gone;
                answer.trickleMs = 150;
            } else if (request.path == "/v1/worlds/5" && now == GoneBeforePlay)
                answer.body = world;
            else
                answer = gone;
            return answer;
        },
        60);
    link->setBaseUrl(fake.url());
    enterScene();
    for (const Case c : {DeletedWhileItsDetailsCame, GoneBeforeItsDetails, GoneBeforePlay}) {
        SCOPED_TRACE(c);
        now = c;
        gameServices().fileWrite(GUI::galleryMarkOf("mine"), "5", 1);
        OnlineGallery* gallery = openGallery();
        ASSERT_NE(gallery, nullptr);
        tapCard(gallery, 5);
        if (c == DeletedWhileItsDetailsCame) {
            tap(gallery->getDeleteButton());
            answerPopup();
            ASSERT_TRUE(stepUntil([&] { return gallery->getCards().empty(); }));
            // Time for the late details to be taken, had they been waited for.
            stepSeconds(0.5f);
            EXPECT_EQ(popupText(), "") << "nothing but the world gone from the list";
            EXPECT_EQ(GUI::galleryIdOf("mine"), 0) << "no longer shared";
        } else {
            if (c == GoneBeforePlay) {
                ASSERT_TRUE(stepUntil([&] { return gallery->isDetailsShown(); }));
                tap(gallery->getPlayButton());
            }
            ASSERT_TRUE(stepUntil([] { return !popupText().empty(); }));
            EXPECT_EQ(popupText(), text("GalleryWorldGone"));
            answerPopup();
            EXPECT_TRUE(gallery->getCards().empty());
            EXPECT_EQ(GUI::galleryIdOf("mine"), 5) << "only a delete forgets a share";
        }
        EXPECT_FALSE(gallery->isDetailsShown());
        EXPECT_EQ(gallery->getCountLabel()->getText()->getString(), "0 worlds");
        EXPECT_EQ(shownGallery(), gallery) << "still in the gallery";
        gallery->onBackPressed();
        ASSERT_TRUE(stepUntil([&] { return gameShown(); }));
    }
}

// Names, nicknames and descriptions come from other players, typed on any
// client: brackets and bars in them are characters, not colour markup.
TEST_F(GalleryScreen, WhatOtherPlayersTypedIsDrawnAsWritten)
{
    registerPlayer("[1]Ann|");
    const int32_t id = share("[9]a|b", 0, "[255,0,0]red| sea");
    registerPlayer("Bob");
    OnlineGallery* gallery = openGallery();
    ASSERT_NE(gallery, nullptr);
    tapCard(gallery, id);
    // The label showing exactly this text, or null.
    std::function<GUILabel*(CCNode*, const std::string&)> labelOf = [&](CCNode* node, const std::string& text) {
        auto* label = dynamic_cast<GUILabel*>(node);
        if (label && label->getText() && label->getText()->getString() == text)
            return label;
        label = nullptr;
        if (node->getChildren())
            for (CCObject* child : *node->getChildren())
                if (!label)
                    label = labelOf(static_cast<CCNode*>(child), text);
        return label;
    };
    ASSERT_TRUE(stepUntil([&] { return labelOf(gallery, "[255,0,0]red| sea") != nullptr; })) << "the description";
    // One glyph a character; a line wrapped into words draws no spaces.
    const std::pair<std::string, unsigned> shown[] = {{"[9]a|b", 6}, {"by [1]Ann|", 10}, {"[255,0,0]red| sea", 16}};
    for (const auto& [text, glyphs] : shown) {
        GUILabel* label = labelOf(gallery, text);
        ASSERT_NE(label, nullptr) << text;
        EXPECT_EQ(label->getChildrenCount(), glyphs) << text;
    }
}

TEST_F(GalleryScreen, WithoutAServerTheGallerySaysSoInOneWayAndStillLeaves)
{
    // A server that takes the connection and never answers is given up on
    // in the answer time (shortened here).
    LoopbackHttpServer silent([](const ReceivedRequest&) { return CannedResponse{200, "", "", true}; }, 8, 60);
    link->setAnswerTimeoutMs(300);
    const std::pair<std::string, const char*> cases[] = {
        {"", "NotificationOfflineMode"},
        {LoopbackHttpServer::refusingUrl(), "NotificationOfflineMode"},
        {silent.url(), "NetErrorTimeout"},
    };
    for (const auto& [url, words] : cases) {
        SCOPED_TRACE(url);
        link->setBaseUrl(url);
        OnlineGallery* gallery = openGallery();
        ASSERT_NE(gallery, nullptr);
        EXPECT_EQ(popupText(), text(words));
        answerPopup();
        EXPECT_EQ(statusOf(gallery), text(words)) << "the status line says it as the popup did";
        EXPECT_FALSE(gallery->isLoadingPage());
        gallery->onBackPressed();
        ASSERT_TRUE(stepUntil([&] { return gameShown(); }));
    }
}

TEST_F(GalleryScreen, AFailedPageSaysWhyAndTheNextScrollAsksForItAgain)
{
    registerPlayer("Ann");
    for (int i = 0; i < 15; ++i)
        share("World " + std::to_string(i), i);
    OnlineGallery* gallery = openGallery();
    ASSERT_NE(gallery, nullptr);
    ASSERT_EQ(gallery->getCards().size(), 12u);

    ASSERT_TRUE(settle());
    server.kill9();
    gallery->getGrid()->moveBy(0, 10000);
    ASSERT_TRUE(stepUntil([] { return !popupText().empty(); }));
    EXPECT_EQ(popupText(), text("NotificationOfflineMode"));
    answerPopup();
    EXPECT_EQ(statusOf(gallery), text("NotificationOfflineMode")) << "under the last row";
    EXPECT_EQ(gallery->getCountLabel()->getText()->getString(), "15 worlds");

    // The server back on its database: nothing is asked until the player
    // scrolls, and then the rest comes.
    testsupport::ServerProcess again{folder.file("gallery.db")};
    ASSERT_TRUE(again.started());
    link->setBaseUrl(again.url());
    stepFrames(30);
    EXPECT_FALSE(gallery->isLoadingPage());
    EXPECT_EQ(gallery->getCards().size(), 12u);
    scrollGrid(gallery, 60);
    ASSERT_TRUE(stepUntil([&] { return gallery->getCards().size() == 15; })) << "the rest, on the next scroll";
    EXPECT_EQ(statusOf(gallery), "");
    const int32_t missed = gallery->getCards()[11].world.id;
    EXPECT_TRUE(stepUntil([&] { return gallery->screenshotOf(missed) != nullptr; })) << "a picture that failed";
    again.kill9();  // a stop would wait for the game's idle connection
}

TEST_F(GalleryScreen, UploadSharesTheSavedWorldOnceAndItsFailureShowsOnTheBar)
{
    enterScene();
    testsupport::testHost().freePlay = true;
    GUI* gui = layer->getGUI();
    struct Case {
        std::string server;
        const char* says;
    } const cases[] = {{"", "NotificationOfflineMode"}, {server.url(), "UploadSaveFirst"}};
    for (const Case& c : cases) {
        link->setBaseUrl(c.server);
        gui->onUploadButton(nullptr);
        EXPECT_EQ(popupText(), text(c.says));
        answerPopup();
    }

    paintBlock("Sand", 50, 50, 10);
    name("Dunes");
    ASSERT_EQ(SaveLoadUtils::saveWorld(false), SaveLoadUtils::SaveResult::Saved);
    Profile::getInstance()->setNickname(CCString::create("Ann"));
    GUIProgressBar* bar = GUIProgressBar::getInstance();
    gui->onUploadButton(nullptr);
    ASSERT_TRUE(stepUntil([&] { return bar->getDisplayedProgress() >= 100; })) << "registered, then shared";
    EXPECT_FALSE(bar->isFailed());
    EXPECT_EQ(bar->getResultText()->getString(), text("UploadSucceeded"));
    const int32_t id = GUI::galleryIdOf("dunes");
    EXPECT_GT(id, 0);
    bar->onOkPressed();
    stepFrames(30);
    GalleryWorld shared;
    link->requestWorldDetails(
        id, [&](const GalleryWorld& w) { shared = w; }, [](const GalleryFailure&) {});
    ASSERT_TRUE(stepUntil([&] { return shared.id == id; }));
    EXPECT_EQ(shared.name, "Dunes");
    EXPECT_EQ(shared.author, "Ann");
    EXPECT_EQ(shared.description, "") << "never typed: its hint is no description";

    // Again: asked first; with the server gone, the bar fails red and says why.
    gui->onUploadButton(nullptr);
    EXPECT_EQ(popupText(), text("UploadAgainQuestion"));
    server.kill9();
    answerPopup();
    ASSERT_TRUE(stepUntil([&] { return bar->getDisplayedProgress() >= 100; }));
    EXPECT_TRUE(bar->isFailed());
    EXPECT_EQ(bar->getResultText()->getString(), text("NotificationOfflineMode"));
    EXPECT_EQ(GUI::galleryIdOf("dunes"), id) << "the first upload's id stays";
    bar->onOkPressed();
    stepFrames(30);
}

// What Upload shares is the world on screen under the name shown: one
// changed or renamed since its save is asked to be saved first and nothing
// goes; saved, it goes as it is now. A changed world saved over its shared
// file is not the shared copy any more: no "copy?" question.
TEST_F(GalleryScreen, AWorldChangedSinceItsSaveIsSavedBeforeItGoes)
{
    enterScene();
    testsupport::testHost().freePlay = true;
    GUI* gui = layer->getGUI();
    registerPlayer("Ann");
    paintBlock("Sand", 50, 50, 10);
    name("Dunes");
    ASSERT_EQ(SaveLoadUtils::saveWorld(false), SaveLoadUtils::SaveResult::Saved);
    const int32_t dunes = shareDunes();
    ASSERT_GT(dunes, 0);
    const std::string saved = savedDunes();
    int32_t shared = 0;
    auto countShared = [&] {
        shared = -1;
        link->requestWorldCount(
            "", [&](int32_t n) { shared = n; }, [](const GalleryFailure&) {});
        EXPECT_TRUE(stepUntil([&] { return shared >= 0; }));
        return shared;
    };
    auto backToSavedDunes = [&] {
        // As the saved-worlds list loads it.
        ASSERT_TRUE(world->loadBytes(reinterpret_cast<const uint8_t*>(saved.data()), saved.size()));
        layer->setLoadedWorldName(CCString::create("dunes"));
        ASSERT_EQ(layer->getUniverseName()->getString(), "Dunes");
    };
    auto stroke = [&] {
        press(400, 300);
        stepFrames(2, 0.015f);
        release(400, 300);
    };

    const struct Case {
        const char* what;
        std::function<void()> change;
    } cases[] = {
        {"a stroke", stroke},
        {"a new name typed", [&] { gui->onNameEntered(CCString::create("Hills")); }},
        {"a name set by no keyboard", [&] { name("Hills"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        backToSavedDunes();
        c.change();
        gui->onUploadButton(nullptr);
        EXPECT_EQ(popupText(), text("UploadChangedSaveFirst"));
        answerPopup();
        EXPECT_TRUE(settle());
        EXPECT_EQ(countShared(), 1) << "nothing went";
    }

    // Renamed, painted and saved: it goes as it is now, under its new name.
    backToSavedDunes();
    gui->onNameEntered(CCString::create("Hills"));
    stroke();
    gui->onSaveButton(nullptr);
    answerPopup();
    gui->onUploadButton(nullptr);
    EXPECT_EQ(popupText(), "");
    ASSERT_TRUE(stepUntil([] { return GUIProgressBar::getInstance()->getDisplayedProgress() >= 100; }));
    GUIProgressBar::getInstance()->onOkPressed();
    stepFrames(30);
    const int32_t hills = GUI::galleryIdOf("hills");
    ASSERT_GT(hills, 0);
    EXPECT_EQ(detailsOf(hills).name, "Hills");
    std::string data;
    link->downloadWorld(
        hills, [&](const std::string& got) { data = got; }, [](const GalleryFailure&) {});
    ASSERT_TRUE(stepUntil([&] { return !data.empty(); }));
    const std::vector<char> hillsSaved = cloudBytes("User/hills.sav");
    EXPECT_EQ(data, std::string(hillsSaved.begin(), hillsSaved.end()));
    EXPECT_NE(data, saved);

    // Changed and saved over the shared Dunes: shared as new, not asked.
    backToSavedDunes();
    stroke();
    gui->onSaveButton(nullptr);
    ASSERT_EQ(popupText(), text("ConfirmationOverwritePopup"));
    answerPopup();
    answerPopup();
    EXPECT_EQ(GUI::galleryIdOf("dunes"), 0);
    const int32_t again = shareDunes();
    EXPECT_GT(again, 0);
    EXPECT_NE(again, dunes);
    EXPECT_EQ(countShared(), 3);
}

// The server's database replaced under a registered player (a new server,
// a restore): browsing needs no player and still lists the worlds; a share,
// a Play or a Delete says once that this server does not know the player,
// the open details offer Delete no more, the name is registered again, and
// then a share or a Play works. Nothing else of the profile changes.
TEST_F(GalleryScreen, APlayerTheServerForgotStillBrowsesIsToldAndIsRegisteredAgain)
{
    enterScene();
    testsupport::testHost().freePlay = true;
    registerPlayer("Dee");
    Profile* profile = Profile::getInstance();
    GUIProgressBar* bar = GUIProgressBar::getInstance();
    enum Refused { Share, Play, Delete };
    for (const Refused refused : {Share, Play, Delete}) {
        SCOPED_TRACE(refused);
        const bool play = refused != Share;
        const Player dee = {profile->getPlayerId(), profile->getPrivateKey()->getString()};
        testsupport::ServerProcess fresh{folder.file(std::to_string(refused) + ".db")};
        ASSERT_TRUE(fresh.started());
        link->setBaseUrl(fresh.url());
        // Its worlds are shared by a player with the id this one had.
        for (int n = 0; registerPlayer(("Ann " + std::to_string(n)).c_str()).id < dee.id; ++n) { }
        const int32_t islands = share("Islands", 0);
        share("Lava", 1);
        actAs(dee);
        profile->setNickname(CCString::create("Dee"));
        const int32_t mana = profile->getMana();
        if (!play) {
            paintBlock("Sand", 50, 50, 10);
            name("Dunes");
            ASSERT_EQ(SaveLoadUtils::saveWorld(false), SaveLoadUtils::SaveResult::Saved);
        }

        OnlineGallery* gallery = openGallery();
        ASSERT_NE(gallery, nullptr);
        EXPECT_EQ(popupText(), "");
        EXPECT_EQ(gallery->getTotal(), 2);
        EXPECT_EQ(gallery->getCards().size(), 2u);
        if (play) {
            tapCard(gallery, islands);
            EXPECT_TRUE(gallery->getDeleteButton()->isVisible()) << "the same id: taken for the player's own";
            if (refused == Delete) {
                tap(gallery->getDeleteButton());
                answerPopup();
            } else {
                tap(gallery->getPlayButton());
            }
            ASSERT_TRUE(stepUntil([] { return !popupText().empty(); }));
            EXPECT_EQ(popupText(), text("NetErrorPlayerUnknown"));
            answerPopup();
            EXPECT_FALSE(gallery->getDeleteButton()->isVisible()) << "Ann's world, whatever the forgotten id";
        } else {
            gallery->onBackPressed();
            ASSERT_TRUE(stepUntil([&] { return gameShown(); }));
            layer->getGUI()->onUploadButton(nullptr);
            ASSERT_TRUE(stepUntil([&] { return bar->getDisplayedProgress() >= 100; })) << popupText();
            EXPECT_TRUE(bar->isFailed());
            EXPECT_EQ(bar->getResultText()->getString(), text("NetErrorPlayerUnknown"));
            bar->onOkPressed();
            stepFrames(30);
        }
        EXPECT_FALSE(profile->isRegistered()) << "the account this server refused is forgotten";
        EXPECT_EQ(std::string(profile->getNickname()->getString()), "Dee");
        EXPECT_EQ(profile->getMana(), mana);

        // Again: the name is registered first, and then it goes through.
        if (play) {
            tap(gallery->getPlayButton());
            ASSERT_TRUE(stepUntil([&] { return gameShown(); }));
            EXPECT_EQ(layer->getOnlineWorldId(), islands);
        } else {
            EXPECT_GT(shareDunes(), 0);
        }
        EXPECT_EQ(popupText(), "") << "said once";
        EXPECT_TRUE(profile->isRegistered());
        EXPECT_NE(profile->getPrivateKey()->getString(), dee.key);
        fresh.kill9();  // a stop would wait for the game's idle connection
    }
}

// The server started again on a new database whose ids repeat the old
// ones. Once it refuses the stored player, the world played from the old
// gallery offers no Rate, a saved world shared there is shared as new
// without asking, and no rating reaches the new server's world of that id.
TEST_F(GalleryScreen, AServerThatForgotThePlayerHearsNothingOfTheOldServersWorlds)
{
    const int32_t islands = playAnnsIslandsAsBob();
    ASSERT_NE(islands, 0);
    testsupport::testHost().freePlay = true;
    paintBlock("Sand", 50, 50, 10);
    name("Dunes");
    ASSERT_EQ(SaveLoadUtils::saveWorld(false), SaveLoadUtils::SaveResult::Saved);
    ASSERT_GT(shareDunes(), 0);
    const Player bob = {Profile::getInstance()->getPlayerId(), Profile::getInstance()->getPrivateKey()->getString()};
    testsupport::ServerProcess fresh{folder.file("fresh.db")};
    ASSERT_TRUE(fresh.started());
    link->setBaseUrl(fresh.url());
    registerPlayer("Cleo");
    for (int32_t n = 0, last = 0; last < std::max(islands, GUI::galleryIdOf("dunes")); ++n)
        last = share("Meadow " + std::to_string(n), n % 2);
    actAs(bob);
    Profile::getInstance()->setNickname(CCString::create("Bob"));
    // The world and the saved world as the old server left them (a share
    // draws its picture in the game's world).
    layer->setGalleryOrigin({islands, "Islands", 0, 0, 0});
    layer->setLoadedWorldName(CCString::create("dunes"));
    name("Dunes");

    rate(5);
    EXPECT_EQ(popupText(), text("NetErrorPlayerUnknown"));
    answerPopup();
    const std::vector<std::string> captions = worldMenuCaptions();
    EXPECT_EQ(std::count(captions.begin(), captions.end(), text("RateWorldBut")), 0) << "Rate is offered";
    EXPECT_EQ(layer->getGUI()->getMenuContent()->getChildByTag(GUI::kRatingTag), nullptr) << "the old stars";
    EXPECT_EQ(GUI::galleryIdOf("dunes"), 0);
    EXPECT_GT(shareDunes(), 0) << "shared anew, asked nothing";
    layer->getGUI()->onRateButton(nullptr);
    stepFrames(30);
    EXPECT_NE(ScreenUtils::getInstance()->getCurrentWindow(), GUIRate::getInstance());
    EXPECT_EQ(detailsOf(islands).ratings, 0) << "a rating reached the new server's world";
    fresh.kill9();  // a stop would wait for the game's idle connection
}

TEST_F(GalleryScreen, TheDescriptionGoesUpAsTypedAndNeverAsItsHint)
{
    enterScene();
    testsupport::testHost().freePlay = true;
    registerPlayer("Ann");
    paintBlock("Sand", 50, 50, 10);
    name("Dunes");
    const std::string hint = text("UniverseDescriptionInitial");
    const struct {
        const char* why;
        std::string typed;  // empty: left as the fresh world's
        bool oldSave;       // saved before the hint was kept as none: held as if typed
        std::string sent;
    } cases[] = {
        {"never typed", "", false, ""},
        {"typed", "Sand by the sea", false, "Sand by the sea"},
        {"an old save", "", true, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        layer->setUniverseDescription(CCString::create(c.typed.empty() ? hint : c.typed));
        ASSERT_EQ(SaveLoadUtils::saveWorld(true), SaveLoadUtils::SaveResult::Saved);
        const std::string blob = savedDunes();
        worldblob::LoadPlan plan;
        std::string why;
        ASSERT_TRUE(worldblob::parseBlob(reinterpret_cast<const uint8_t*>(blob.data()), blob.size(), plan, why));
        EXPECT_EQ(plan.header.description, c.sent) << "as saved";
        if (c.oldSave) {
            plan.header.description = hint;
            std::vector<uint8_t> bytes;
            worldblob::writeHeader(bytes, plan.header);
            bytes.insert(bytes.end(), blob.begin() + worldblob::kHeaderSize, blob.end());
            ASSERT_TRUE(
                platform::CloudStorage::fileWrite("User/dunes.sav", bytes.data(), static_cast<int32_t>(bytes.size())));
        }
        gameServices().fileDelete(GUI::galleryMarkOf("dunes"));
        const int32_t id = shareDunes();
        ASSERT_GT(id, 0);
        EXPECT_EQ(detailsOf(id).description, c.sent);
    }
    // The old save still reads, its description as the hint.
    layer->setUniverseDescription(CCString::create(""));
    const std::string saved = savedDunes();
    ASSERT_TRUE(world->loadBytes(reinterpret_cast<const uint8_t*>(saved.data()), saved.size()));
    EXPECT_EQ(layer->getUniverseDescription()->getString(), hint);
}

TEST_F(GalleryScreen, DeletingASharedWorldForgetsItWasSharedUnlessTheDeleteFails)
{
    enterScene();
    testsupport::testHost().freePlay = true;
    registerPlayer("Ann");
    const int32_t lake = share("Lake", 1);
    const std::string lakeMark = std::to_string(lake);
    gameServices().fileWrite(GUI::galleryMarkOf("lake"), lakeMark.data(), static_cast<int32_t>(lakeMark.size()));
    paintBlock("Sand", 50, 50, 10);
    name("Dunes");
    ASSERT_EQ(SaveLoadUtils::saveWorld(false), SaveLoadUtils::SaveResult::Saved);
    const int32_t dunes = shareDunes();
    ASSERT_GT(dunes, 0);

    OnlineGallery* gallery = openGallery();
    ASSERT_NE(gallery, nullptr);
    const std::string url = server.url();
    const struct {
        std::string server;
        int32_t markAfter;
    } deletes[] = {
        {LoopbackHttpServer::refusingUrl(), dunes},
        {url, 0},
    };
    for (const auto& d : deletes) {
        link->setBaseUrl(d.server);
        tapCard(gallery, dunes);
        if (d.server != url) {
            // The details cannot come either, and say so first.
            ASSERT_TRUE(stepUntil([] { return !popupText().empty(); }));
            EXPECT_EQ(popupText(), text("NotificationOfflineMode"));
            answerPopup();
        }
        ASSERT_TRUE(gallery->getDeleteButton()->isVisible());
        tap(gallery->getDeleteButton());
        answerPopup();
        ASSERT_TRUE(stepUntil([&] { return !popupText().empty() || !gallery->isDetailsShown(); }));
        if (!popupText().empty()) {
            EXPECT_EQ(popupText(), text("NotificationOfflineMode"));
            answerPopup();
            gallery->closeDetails();
        }
        EXPECT_EQ(GUI::galleryIdOf("dunes"), d.markAfter) << d.server;
    }
    EXPECT_EQ(GUI::galleryIdOf("lake"), lake) << "another world's mark stays";
    gallery->onBackPressed();
    ASSERT_TRUE(stepUntil([&] { return gameShown(); }));

    const int32_t again = shareDunes();
    EXPECT_GT(again, 0);
    EXPECT_NE(again, dunes) << "shared anew";
}

}  // namespace

TEST_F(GalleryScreen, TheSearchPromptKeepsItsGlyphsAfterAPopup)
{
    registerPlayer("Ann");
    OnlineGallery* gallery = openGallery();
    ASSERT_NE(gallery, nullptr);
    const auto glyphs = [&] {
        std::vector<CCRect> rects;
        for (CCObject* child : *gallery->getSearchLabel()->getChildren())
            rects.push_back(static_cast<CCSprite*>(child)->getTextureRect());
        return rects;
    };
    const std::vector<CCRect> prompt = glyphs();
    ASSERT_FALSE(prompt.empty());
    gallery->setSearch("Dunes");
    ASSERT_TRUE(stepUntil([&] { return !gallery->isLoadingPage(); }));
    // A popup over the gallery makes its own font current.
    ScreenUtils::showOfflinePopup();
    ASSERT_TRUE(stepUntil([] { return !popupText().empty(); }));
    answerPopup();
    gallery->onClearSearch(nullptr);
    const std::vector<CCRect> again = glyphs();
    ASSERT_EQ(again.size(), prompt.size());
    for (size_t i = 0; i < prompt.size(); ++i)
        EXPECT_TRUE(again[i].equals(prompt[i])) << "glyph " << i;
}
