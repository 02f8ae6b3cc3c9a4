#pragma once
// GUIBackgrounds: the background gallery. It lists the reward backgrounds of
// the shop catalogue in file order, a page of three rows of three (what the
// view shows whole) at a time, the arrows turning the pages, each as a thumbnail
// tile: price and lock while not owned, "choose" once owned (bought or
// granted by a goal), "in use" on the one behind the world. Pressing an
// owned tile shows it behind the world and keeps the gallery open; pressing
// another one offers it through the purchase popup, and a purchase closes the
// gallery. The game layer creates it on request and lets it go once it has
// closed. Main thread only.
#include <string>

#include "cocos2d.h"
#include "gui/GUIWindow.h"
#include "profile/ShopItem.h"

class GUIButton;
class GUILabel;

class GUIBackgrounds : public GUIWindow {
public:
    static constexpr int kPerPage = 9;
    static constexpr int kColumns = 3;
    static constexpr int kDimTag = 1;
    // The state nodes of a tile, in their order in its parts array.
    enum TilePart { Label = 0, Lock = 1, InUse = 2, ManaIcon = 3 };

    static GUIBackgrounds* create(cocos2d::CCSize size);
    ~GUIBackgrounds() override;

    bool initWithSize(cocos2d::CCSize size) override;
    // Leaving the scene for good: the buttons' actions hold the window, so
    // they go first.
    void cleanup() override;
    // Rebuilds the content on page 1 from the catalogue.
    void buildWindow();
    void buildPage();
    // Opens a closed window (unless another window is open) and locks the
    // top bar; closes an open one and unlocks the bar.
    void toggle();

    void onOkButton();
    void onNextPage();
    void onPreviousPage();
    // The pressed tile's picture file name.
    void onTilePressed(cocos2d::CCObject* fileName);
    void onPurchaseConfirmed();
    void onNotEnoughManaClosed();
    void onBackPressed() override;

    int getCurrentPage() const { return m_currentPage; }
    int getPageCount() const;
    int getBackgroundCount() const { return m_backgroundCount; }
    GUIButton* getOkButton() const { return m_okButton; }
    GUIButton* getNextPageButton() const { return m_nextPageButton; }
    GUIButton* getPreviousPageButton() const { return m_previousPageButton; }
    GUILabel* getPageLabel() const { return m_pageLabel; }
    cocos2d::CCSprite* getBackgroundSprite() const { return m_background; }
    const ShopItem& getPendingPurchase() const { return m_pendingPurchase; }
    // The state nodes of the tile of that id on the current page, or null.
    cocos2d::CCArray* getTileParts(const std::string& id) const;
    // The tile buttons of the current page, in page order.
    cocos2d::CCArray* getTileButtons() const;

private:
    void clearWindow();
    void refreshPageTiles();
    void showTileState(const std::string& id, bool owned, bool inUse);
    void addTile(int slot, const std::string& id, int32_t price);
    void closeIfOpen();
    void playPopupSound() { playSound("sfx_gui_popup"); }
    void playSound(const char* name);

    int32_t m_backgroundCount = 0;
    GUIButton* m_okButton = nullptr;
    GUIButton* m_nextPageButton = nullptr;
    GUIButton* m_previousPageButton = nullptr;
    int32_t m_currentPage = 1;
    GUILabel* m_pageLabel = nullptr;
    ShopItem m_pendingPurchase;
    cocos2d::CCSprite* m_background = nullptr;
    cocos2d::CCDictionary* m_tileParts = nullptr;  // retained: id -> CCArray of the four state nodes
};
