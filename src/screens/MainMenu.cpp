#include "screens/MainMenu.h"

#include <string>

#include "SimpleAudioEngine.h"
#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "profile/Profile.h"
#include "scene/SaveLoadUtils.h"
#include "base/ScreenMetrics.h"
#include "gui/ScreenUtils.h"
#include "base/StatsUtils.h"
#include "base/Utils.h"
#include "goals/AchievementManager.h"
#include "gui/GUIBatchNodeMenu.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "gui/GUIPopup.h"
#include "gui/GUIWindow.h"
#include "hud/GUITopBar.h"
#include "scene/GameLayer.h"
#include "screens/CampaignSelection.h"
#include "screens/MainMenuAnimation.h"
#include "screens/SelectionScreen.h"
#include "world/ParticleCreator.h"
#include "world/World.h"

USING_NS_CC;

namespace {

MainMenu* g_mainMenu = nullptr;

const char* const kSheetTexture = "pvr/mainmenu.png";
const char* const kSheetFrames = "pvr/mainmenu.plist";
const char* const kFont = "mainmenu_ach_fontButtons";
const char* const kGoldFont = "mainmenu_ach_fontButtonsGold";
constexpr float kTransitionSeconds = 0.5f;
// The game's name is the same in every language.
const char* const kGameTitle = "The Tesmora";

// Two lines of the button's caption, e.g. "Free" over "mode".
// A caption of two lines is two labels: a label's text is one line, and a
// line break in it is no glyph of the font.
void addTwoLineCaption(GUIButton* button, const char* first, const char* second, float size)
{
    // Centred, one line on the middle and one hanging below it, a gap between.
    const CCSize box = button->getContentSize();
    const float middle = box.height * 0.5f;
    const struct {
        const char* key;
        CCPoint anchor;
        CCPoint at;
    } lines[] = {{first, ccp(0.5f, 0), ccp(box.width * 0.5f, middle + 1)},
                 {second, ccp(0.5f, 1), ccp(box.width * 0.5f, middle - 1)}};
    for (const auto& line : lines) {
        GUILabel* label = GUILabel::create();
        label->setText(LocalUtils::localize(line.key));
        label->setAnchorPoint(line.anchor);
        label->setPosition(line.at);
        label->setScale(size / GUILabel::fontSize);
        label->setColor(ccc3(255, 255, 255));
        button->addChild(label);
    }
}

}  // namespace

MainMenu* MainMenu::getInstance()
{
    if (!g_mainMenu) {
        g_mainMenu = new MainMenu();
        g_mainMenu->init();
    }
    return g_mainMenu;
}

void MainMenu::resetInstanceForTests()
{
    if (!g_mainMenu)
        return;
    // The buttons' actions hold the menu: let go of them first.
    for (GUIButton* button : {g_mainMenu->m_storyButton, g_mainMenu->m_freeButton, g_mainMenu->m_galleryButton,
                              g_mainMenu->m_campaignsButton})
        if (button)
            button->setCallback(nullptr);
    g_mainMenu->removeFromParentAndCleanup(true);
    g_mainMenu->release();
    g_mainMenu = nullptr;
}

CCScene* MainMenu::scene()
{
    CCScene* scene = CCScene::create();
    MainMenu* layer = getInstance();
    layer->removeFromParentAndCleanup(false);
    scene->addChild(layer);
    auto* borders = new GUIBorderLayer();
    scene->addChild(borders);
    borders->release();
    return scene;
}

bool MainMenu::init()
{
    if (!CCLayer::init())
        return false;
    setTouchEnabled(true);
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(kSheetFrames);
    m_backdrop = MainMenuAnimation::create();
    if (m_backdrop)
        addChild(m_backdrop, -1);
    m_menu = GUIBatchNodeMenu::create(kSheetTexture, 16);
    if (!m_menu) {
        LOG_ERROR << "main menu: no sheet";
        return true;
    }
    if (m_menu->getTexture())
        m_menu->getTexture()->setAliasTexParameters();
    addChild(m_menu);

    GUILabel::setFontName(kFont);
    const float scale = static_cast<float>(2 * screenRatio);
    m_storyButton = GUIButton::create(CCCallFunc::create(this, callfunc_selector(MainMenu::startStoryMode)),
                                      "mainmenu_buttonStory.png", nullptr);
    m_freeButton = GUIButton::create(CCCallFunc::create(this, callfunc_selector(MainMenu::startFreeMode)),
                                     "mainmenu_buttonFree.png", nullptr);
    m_galleryButton = GUIButton::create(CCCallFunc::create(this, callfunc_selector(MainMenu::openGallery)),
                                        "mainmenu_buttonGallery.png", nullptr);
    struct Placed {
        GUIButton* button;
        float x;
        const char* first;
        const char* second;
    };
    // The two modes side by side; the gallery on the row below, right of
    // the campaigns.
    for (const Placed& p : {Placed{m_storyButton, 150, "GoStoryModeLabel1", "GoStoryModeLabel2"},
                            Placed{m_freeButton, 330, "GoFreeModeLabel1", "GoFreeModeLabel2"},
                            Placed{m_galleryButton, 390, "GoGalleryLabel1", "GoGalleryLabel2"}}) {
        if (!p.button)
            continue;
        p.button->setScale(scale);
        p.button->setPosition(scaledPoint(p.x, p.button == m_galleryButton ? 70 : 150));
        addTwoLineCaption(p.button, p.first, p.second, 12);
        p.button->setActivateDelayed(true);
        m_menu->addChild(p.button);
    }
    m_campaignsButton = GUIButton::create(CCCallFunc::create(this, callfunc_selector(MainMenu::openCampaigns)),
                                          "mainmenu_buttonCampaigns.png", nullptr);
    if (m_campaignsButton) {
        m_campaignsButton->setScale(scale);
        m_campaignsButton->setPosition(scaledPoint(240, 70));
        m_campaignsButton->setText(
            LocalUtils::localize("CampaignsButton"), 12,
            ccp(m_campaignsButton->getContentSize().width * 0.5f, m_campaignsButton->getContentSize().height * 0.5f),
            ccp(0.5f, 0.5f), ccc3(255, 255, 255));
        m_campaignsButton->setActivateDelayed(true);
        m_menu->addChild(m_campaignsButton);
    }

    // The top of the 4:3 box: the title in the middle, the player's name on
    // the left, the mana on the right.
    const CCSize margin = visibleMargin();
    const CCPoint origin = ccp(margin.width / 2, margin.height / 2);
    auto boxPoint = [&](float fx, float fy) {
        return ccp(origin.x + visibleSize.width * fx, origin.y + visibleSize.height * fy);
    };
    const CCPoint counterAt = boxPoint(0.86f, 0.93f);
    if (CCSprite* counter = CCSprite::createWithSpriteFrameName("mainmenu_manaCounter.png")) {
        counter->setScale(scale);
        counter->setPosition(counterAt);
        m_menu->addChild(counter);
        if (CCSprite* icon = CCSprite::createWithSpriteFrameName("mainmenu_manaIcon.png")) {
            icon->setScale(scale * 1.5f);
            icon->setAnchorPoint(ccp(1, 0.5f));
            icon->setPosition(ccp(counterAt.x - counter->getContentSize().width * scale / 2 - 4 * scale, counterAt.y));
            m_menu->addChild(icon);
        }
    }

    GUILabel::setFontName(kGoldFont);
    // The title, with a dark copy behind it so it reads on any part of the sky.
    const CCPoint titleAt = boxPoint(0.5f, 0.78f);
    for (int copy = 0; copy < 2; ++copy) {
        GUILabel* title = GUILabel::create();
        title->setText(CCString::create(kGameTitle));
        title->setAnchorPoint(ccp(0.5f, 0.5f));
        title->setScale(scale * 26.0f / GUILabel::fontSize);
        if (copy == 0) {
            title->setColor(ccc3(20, 16, 40));
            title->setPosition(ccp(titleAt.x + 2 * scale, titleAt.y - 2 * scale));
        } else {
            title->setPosition(titleAt);
            m_titleLabel = title;
        }
        addChild(title, 1);
    }

    m_manaLabel = GUILabel::create();
    m_manaLabel->setScale(scale * 10.0f / GUILabel::fontSize);
    // Centred in its box, from the baseline to the digits' tops.
    m_manaLabel->setAnchorPoint(ccp(0.5f, 0.5f));
    m_manaLabel->setPosition(counterAt);
    addChild(m_manaLabel, 1);

    GUILabel::setFontName(kFont);
    m_playerNameLabel = GUILabel::create();
    m_playerNameLabel->setScale(scale * 10.0f / GUILabel::fontSize);
    m_playerNameLabel->setAnchorPoint(ccp(0, 0.5f));
    m_playerNameLabel->setPosition(boxPoint(0.04f, 0.93f));
    addChild(m_playerNameLabel, 1);
    refreshPlayerName();
    refreshManaLabel();
    return true;
}

void MainMenu::onEnter()
{
    CCLayer::onEnter();
    // Back on the menu: whatever world start was under way is over.
    m_startingWorld = false;
    BackButtonAdapter::getInstance()->addListener(this);
    CocosDenshion::SimpleAudioEngine::sharedEngine()->playBackgroundMusic(
        soundFilePath("music", "music_main_menu").c_str(), true);
    refreshManaLabel();
    refreshPlayerName();
    schedule(schedule_selector(MainMenu::update), 1.0f / 30);
}

void MainMenu::onEnterTransitionDidFinish()
{
    CCLayer::onEnterTransitionDidFinish();
    ScreenUtils::showMainMenuPopup();
}

void MainMenu::onExit()
{
    BackButtonAdapter::getInstance()->removeListener(this);
    unschedule(schedule_selector(MainMenu::update));
    if (m_startingWorld) {
        // The game scene is in: its buttons may act again.
        m_startingWorld = false;
        ScreenUtils::getInstance()->setBusy(false);
    }
    CCLayer::onExit();
}

void MainMenu::registerWithTouchDispatcher()
{
    CCDirector::sharedDirector()->getTouchDispatcher()->addTargetedDelegate(this, 0, true);
}

bool MainMenu::ccTouchBegan(CCTouch* touch, CCEvent*)
{
    if (GUIWindow* window = ScreenUtils::shownWindow()) {
        window->handleTouchBegan(touch);
        return true;
    }
    if (m_menu)
        m_menu->handleTouchBegan(touch);
    return true;
}

void MainMenu::ccTouchEnded(CCTouch* touch, CCEvent*)
{
    if (GUIWindow* window = ScreenUtils::shownWindow()) {
        window->handleTouchEnded(touch);
        return;
    }
    if (m_menu)
        m_menu->handleTouchEnded(touch);
}

void MainMenu::refreshManaLabel()
{
    if (m_manaLabel)
        m_manaLabel->setText(CCString::createWithFormat("%d", Profile::getInstance()->getMana()));
}

void MainMenu::refreshPlayerName()
{
    if (!m_playerNameLabel)
        return;
    Profile* profile = Profile::getInstance();
    m_playerNameLabel->setText(profile->hasNickname() ? profile->getNickname() : CCString::create(""));
}

void MainMenu::onBackPressed()
{
    // A world on its way in, or a popup already up (it takes the key first).
    if (m_startingWorld || GUIPopup::getInstance()->getParent())
        return;
    ScreenUtils::showPopup(LocalUtils::localize("ConfirmationQuitGame"), this, callfunc_selector(MainMenu::quitGame),
                           nullptr, nullptr, 0);
}

void MainMenu::quitGame()
{
    LOG << "quit from the main menu";
    CCDirector::sharedDirector()->end();
}

void MainMenu::update(float)
{
    Profile* profile = Profile::getInstance();
    const int before = profile->getMana();
    profile->transferPendingMana();
    if (profile->getMana() != before)
        refreshManaLabel();
}

void MainMenu::startFreeMode()
{
    startWorld(kFreeModeGameMode, 0);
}

void MainMenu::startStoryMode()
{
    const int day = Profile::getInstance()->getBestDay(kStoryGameMode);
    startWorld(kStoryGameMode, day > 0 ? day : 1);
}

void MainMenu::startCampaignLevel(int mode, int day)
{
    startWorld(mode, day);
}

void MainMenu::openCampaigns()
{
    if (m_startingWorld || ScreenUtils::getInstance()->isBusy())
        return;
    CCDirector::sharedDirector()->pushScene(CampaignSelection::scene());
}

void MainMenu::openGallery()
{
    startWorld(kFreeModeGameMode, 0, true);
}

void MainMenu::buildTopBar(bool freePlay)
{
    GUITopBar* bar = GUITopBar::getInstance();
    if (freePlay)
        bar->buildFreeModeBar();
    else
        bar->buildCampaignBar();
    bar->resetButtons();
    bar->setLocked(false);
    bar->updateBadges();
}

void MainMenu::startWorld(int mode, int day, bool toGallery)
{
    const bool freeMode = mode == kFreeModeGameMode;
    // One world per press: a second press before the game scene is in is
    // dropped.
    if (m_startingWorld)
        return;
    m_startingWorld = true;
    ScreenUtils::getInstance()->setBusy(true);

    Profile* profile = Profile::getInstance();
    GameLayer* layer = GameLayer::getInstance();
    World& world = layer->getWorld();
    if (freeMode) {
        profile->setGameMode(kFreeModeGameMode);
        SaveLoadUtils::setFreePlay(true);
        world.setBigWorld(true);
        world.reset();
        layer->resetBackground();
        // A new universe's settings: a story day before left its lights and
        // weather on.
        world.lightMap.setLightOn(false);
        world.lightMap.setSunOn(false);
        world.weather = false;
    } else {
        profile->setGameMode(mode);
        profile->setDay(day);
        SaveLoadUtils::setFreePlay(false);
        ParticleCreator::resetElementsCreated();
        world.setBigWorld(false);
        world.reset();
        world.lightMap.setLightOn(true);
        world.lightMap.setSunOn(true);
    }
    // The gallery's entry is counted and reported as its own, not free mode's.
    if (toGallery)
        profile->countProgress(ProgressWord::GalleryEntryCounter);
    profile->save();
    layer->setOnlineWorldId(0);
    layer->setOpenGalleryOnEnter(toGallery);
    buildTopBar(freeMode);

    if (toGallery) {
        StatsUtils::wentToGallery();
    } else if (freeMode) {
        StatsUtils::wentToFreeMode();
    } else {
        if (mode == kStoryGameMode)
            StatsUtils::wentToStoryMode();
        // One frame: no world step between the new goals and their world.
        AchievementManager::getInstance()->startDay(profile->getDay());
        AchievementManager::getInstance()->loadDay(profile->getDay());
    }
    showGameScene();
}

void MainMenu::showGameScene()
{
    CCDirector* director = CCDirector::sharedDirector();
    CCScene* running = director->getRunningScene();
    GameLayer* layer = GameLayer::existingInstance();
    const bool fromGame = running && layer && layer->getParent() == running;
    // GameLayer::scene takes the layer out of the scene it is in, so the old
    // game scene is left empty and never shares the layer.
    CCScene* game = GameLayer::scene();
    CCScene* fade = CCTransitionFade::create(kTransitionSeconds, game);
    // From a selection screen over the menu, the game takes its place.
    const bool fromSelection = !fromGame && running && running->getChildren() && running->getChildren()->count() &&
        dynamic_cast<SelectionScreen*>(running->getChildren()->objectAtIndex(0));
    if (fromGame || fromSelection) {
        director->replaceScene(fade);
        // The menu is not in the running scene: nothing will clear the flags.
        m_startingWorld = false;
        ScreenUtils::getInstance()->setBusy(false);
    } else {
        director->pushScene(fade);
    }
}
