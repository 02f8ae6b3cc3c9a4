#pragma once
// The title screen: the game's title over its drifting backdrop, Story, Free
// mode and Gallery buttons, the mana counter and the player's name. It stays below
// the game scene while a world runs, so leaving the game pops back to it.
// Touches go first to ScreenUtils' visible window (popups over the menu). The
// back key asks whether to quit the game.
#include "gui/BackButton.h"
#include "cocos2d.h"

class GUIBatchNodeMenu;
class GUIButton;
class GUILabel;
class MainMenuAnimation;

class MainMenu : public cocos2d::CCLayer, public BackButtonListener {
public:
    static constexpr int kFreeModeGameMode = -99;
    static constexpr int kStoryGameMode = 0;

    // The one main-menu layer, created and initialised on first use.
    static MainMenu* getInstance();
    // A new scene: the layer and the side borders.
    static cocos2d::CCScene* scene();
    // Tests: drop the layer.
    static void resetInstanceForTests();

    bool init() override;
    void onEnter() override;
    void onEnterTransitionDidFinish() override;
    void onExit() override;
    void registerWithTouchDispatcher() override;
    bool ccTouchBegan(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchEnded(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;

    // Free play in a new big world. From inside the game scene the game scene
    // is swapped for a new one; the menu stays below.
    void startFreeMode();
    // The story at the best day reached.
    void startStoryMode();
    // The online gallery, over a new free-mode world that the game layer
    // enters first (its gallery-on-entry flag).
    void openGallery();
    // The top bar of a world that starts: free play's or a campaign's,
    // its buttons reset and the bar unlocked.
    static void buildTopBar(bool freePlay);
    // A campaign's level, from the level selection: started as the story
    // starts its day. The selection's scene gives way to the game scene.
    void startCampaignLevel(int mode, int day);
    // The campaign selection over the menu.
    void openCampaigns();
    void refreshManaLabel();
    // The profile's nickname; nothing before the player has one.
    void refreshPlayerName();
    // The back key: "Quit the game?", and OK quits.
    void onBackPressed() override;
    void quitGame();
    // Every 1/30 s: pending mana into the profile, then the label.
    void update(float dt) override;

    GUIButton* getStoryButton() const { return m_storyButton; }
    GUIButton* getFreeModeButton() const { return m_freeButton; }
    GUIButton* getGalleryButton() const { return m_galleryButton; }
    GUIButton* getCampaignsButton() const { return m_campaignsButton; }
    GUILabel* getManaLabel() const { return m_manaLabel; }
    GUILabel* getTitleLabel() const { return m_titleLabel; }
    GUILabel* getPlayerNameLabel() const { return m_playerNameLabel; }
    MainMenuAnimation* getBackdrop() const { return m_backdrop; }
    // A world start is under way (until the game scene is entered).
    bool isStartingWorld() const { return m_startingWorld; }

private:
    MainMenu() = default;
    // What every start shares; free mode picks the bar and the world size.
    void startWorld(int mode, int day, bool toGallery = false);
    void showGameScene();

    GUIBatchNodeMenu* m_menu = nullptr;
    MainMenuAnimation* m_backdrop = nullptr;
    GUILabel* m_titleLabel = nullptr;
    GUILabel* m_playerNameLabel = nullptr;
    GUIButton* m_storyButton = nullptr;
    GUIButton* m_freeButton = nullptr;
    GUIButton* m_galleryButton = nullptr;
    GUIButton* m_campaignsButton = nullptr;
    GUILabel* m_manaLabel = nullptr;
    bool m_startingWorld = false;
};
