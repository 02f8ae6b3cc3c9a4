#pragma once
// GUISaveLoad: the full-screen list of saved worlds, pushed over the game
// scene from the HUD's world menu. Two tabs list the cloud folders "User"
// and "Rewards"; a row shows the world's thumbnail and "<n> - <name>"; the
// selected row can be loaded into the running world or deleted after a
// confirmation. Every row keeps the cloud name it was built from, so a
// listing that changed meanwhile never loads or deletes another world.
// Main thread only.
#include <cstdint>
#include <string>
#include <vector>

#include "gui/BackButton.h"
#include "cocos2d.h"

class GUIBatchNodeMenu;
class GUIButton;
class SlidingLayer;

class GUISaveLoad : public cocos2d::CCLayer, public BackButtonListener {
public:
    static cocos2d::CCScene* scene();
    GUISaveLoad() = default;
    ~GUISaveLoad() override;

    bool init() override;
    void onEnter() override;
    void onEnterTransitionDidFinish() override;
    void onExit() override;
    // Buttons hold their actions, which hold this screen: let go of them.
    void cleanup() override;
    void registerWithTouchDispatcher() override;
    bool ccTouchBegan(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchMoved(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchEnded(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void onBackPressed() override;

    void goBack();
    void showUserWorlds();
    void showRewardWorlds();
    // Cloud names of a folder's saved worlds in listing order ("All": the
    // rewards, then the player's own).
    static cocos2d::CCArray* listWorlds(cocos2d::CCString* folder);
    static cocos2d::CCArray* listAllWorlds();
    void refreshList();
    // The cloud name of the selected row; null when none is selected.
    cocos2d::CCString* selectedWorldName();
    // Asks first when the running world has unsaved changes.
    void loadSelectedWorld();
    void loadSelectedWorldNow();
    void askDeleteSelectedWorld();
    void deleteSelectedWorld();

    // "x.sav" (exactly, case-sensitive) and at least four characters.
    static bool hasSaveExtension(const std::string& name);
    // "User/my_world.sav" -> "my_world".
    static std::string worldNameOf(const std::string& cloudName);
    // What the list shows for a saved world: the name the player gave it, as
    // its blob's header keeps it (the store folds file names to lower case),
    // or the file's name with spaces for underscores when the header has no
    // name of that file.
    static std::string listTitleOf(const std::string& cloudName);

    GUIBatchNodeMenu* getMenu() const { return m_menu; }
    SlidingLayer* getSlidingLayer() const { return m_slidingLayer; }
    GUIButton* getLoadButton() const { return m_loadButton; }
    GUIButton* getDeleteButton() const { return m_deleteButton; }
    GUIButton* getUserTabButton() const { return m_userTabButton; }
    GUIButton* getRewardsTabButton() const { return m_rewardsTabButton; }
    cocos2d::CCString* getFolder() const { return m_folder; }
    int32_t getRowCount() const { return m_rowCount; }
    cocos2d::CCArray* getRows() const { return m_rows; }

private:
    void selectFolder(const char* folder);

    GUIBatchNodeMenu* m_menu = nullptr;
    SlidingLayer* m_slidingLayer = nullptr;
    bool m_touchInList = false;
    GUIButton* m_loadButton = nullptr;
    GUIButton* m_deleteButton = nullptr;
    GUIButton* m_userTabButton = nullptr;
    GUIButton* m_rewardsTabButton = nullptr;
    cocos2d::CCString* m_folder = nullptr;  // retained
    int32_t m_rowCount = 0;
    cocos2d::CCArray* m_rows = nullptr;   // retained
    std::vector<std::string> m_rowNames;  // the cloud name of each row
    bool m_built = false;
};
