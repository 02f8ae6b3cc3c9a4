#pragma once
// PixelMarket: the shop window, one for the run, and the holder of the shop
// catalogue ("data/shop.plist") that the HUD reads prices from.
//
// The window rebuilds its front page each time it enters a scene: today's
// offers (three, chosen by the arrows; their buy button only says the game
// is offline), the category buttons and the mana counter. A category page
// replaces the front page: page 0 lists the elements on sale, page 1 the
// reward backgrounds found in "backgrounds/Rewards/". A tap on a row asks the
// purchase popup; its Buy button records the purchase and rebuilds the page.
// The back key leaves a page, or closes the shop and gives the window it
// covered back to ScreenUtils.
//
// Invariants: elementNames and rewardBackgrounds come from the same build as
// the rows; the pending purchase is the one the popup shows; the window that
// was current before the shop is held until the shop gives it back. No game
// code adds the window to a scene; its presenter sets it up with
// initWithSize, puts it where it shows and makes it the current window.
// Main thread only (files PixelMarket.cpp, PixelMarketPages.cpp,
// PixelMarketPurchases.cpp).
#include <optional>
#include <string>
#include <vector>

#include "cocos2d.h"
#include "gui/GUIWindow.h"
#include "profile/ShopItem.h"

class GUIBatchNodeMenu;
class GUIButton;
class GUILabel;

class PixelMarket : public GUIWindow {
public:
    static constexpr int kDimTag = 1;
    static constexpr int kOfferCount = 3;
    static constexpr int kNoPage = 3;
    static constexpr float kNotEnoughManaDelay = 0.8f;

    // The one instance, made on first use; null (and logged) when it cannot
    // be initialised, and the next call tries again.
    static PixelMarket* getInstance();
    // Tests: the next initialisation fails.
    static void failNextInitForTests();
    // Tests: take the window out and forget it.
    static void resetInstanceForTests();

    ~PixelMarket() override;

    // --- the catalogue ---------------------------------------------------------
    // Reads the file anew (a missing or malformed one is an empty catalogue).
    void loadCatalogue();
    // Never null: loads the file when nothing is held yet.
    cocos2d::CCDictionary* getCatalogue();
    // Tests: hold this catalogue instead of the file's (null goes back to the file).
    void setCatalogueForTests(cocos2d::CCDictionary* catalogue);
    // The HUD's price of an element: the catalogue's number, or 0 when it has none.
    int32_t elementPrice(const char* name);
    // A shop price: the element's whole number of mana, or nothing when it
    // has no price or the price is not a whole number of 0 or more.
    std::optional<int32_t> listedElementPrice(const std::string& name);

    // One reward background on sale: its id (profile/BackgroundId.h) and price.
    struct BackgroundOffer {
        std::string id;
        int32_t price = 0;
    };
    // The catalogue's "Backgrounds" records in file order, one per id (the
    // first record of an id wins). A record without a usable "bkgID" or a
    // whole price of 0 or more is skipped and logged.
    std::vector<BackgroundOffer> backgroundOffers();
    // The price of that background, or 0 when the catalogue has no record.
    int32_t backgroundPrice(const std::string& id);
    // The shop's price of a background: its offer's price, 0 without a record,
    // nothing when its record is unusable.
    std::optional<int32_t> listedBackgroundPrice(const std::string& id);

    // --- the window ---------------------------------------------------------------
    bool initWithSize(cocos2d::CCSize size) override;
    void onEnter() override;
    void onExit() override;
    void registerWithTouchDispatcher() override;
    // Touches go to a window shown over the shop (the popup), else to the shop.
    bool ccTouchBegan(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchMoved(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchEnded(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchCancelled(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void onBackPressed() override;

    GUIWindow* getPreviousWindow() const { return m_previousWindow; }
    // Held until the shop gives it back (or another replaces it).
    void setPreviousWindow(GUIWindow* window);
    cocos2d::CCString* getRequestedElement() const { return m_requestedElement; }
    // Held until replaced or cleared (null).
    void setRequestedElement(cocos2d::CCString* name);
    bool getReturnToGallery() const { return m_returnToGallery; }
    void setReturnToGallery(bool value) { m_returnToGallery = value; }
    int32_t getExtraValue() const { return m_extraValue; }
    void setExtraValue(int32_t value) { m_extraValue = value; }

    // --- front page --------------------------------------------------------------
    void showOffer(int number);
    void showPreviousOffer();
    void showNextOffer();
    void buySpecialOffer();
    void setFrontPageActive(bool active);
    void setCategoryPageVisible(bool visible);

    // --- category pages ----------------------------------------------------------
    void showCategoryPage(int page);
    void onElementsButton();
    void onBackgroundsButton();
    // "sfx_gui_select" and the offline-mode popup; the HUD's mana action too.
    void onManaButton();
    void goBack();
    // The picture file names of "backgrounds/Rewards/" below the resource
    // root, in name order; only names ending in ".png".
    static cocos2d::CCArray* listRewardBackgrounds();

    // --- purchases ---------------------------------------------------------------
    // The sender is a row button or its row number (a CCInteger).
    void onElementTile(cocos2d::CCObject* sender);
    void onBackgroundTile(cocos2d::CCObject* sender);
    void onNotEnoughMana();
    void onNotEnoughManaDelayed();
    void confirmPurchase();

    // --- what the window shows ------------------------------------------------------
    int getCurrentOffer() const { return m_currentOffer; }
    int getPageMode() const { return m_pageMode; }
    bool isCategoryPageOpen() const { return m_categoryPageOpen; }
    const ShopItem& getPendingItem() const { return m_pendingItem; }
    cocos2d::CCArray* getElementNames() const { return m_elementNames; }
    cocos2d::CCArray* getRewardBackgrounds() const { return m_rewardBackgrounds; }
    GUIButton* getOfferBuyButton() const { return m_offerBuyButton; }
    GUIButton* getPreviousOfferButton() const { return m_previousOfferButton; }
    GUIButton* getNextOfferButton() const { return m_nextOfferButton; }
    GUIButton* getManaButton() const { return m_manaButton; }
    GUIButton* getElementsButton() const { return m_elementsButton; }
    GUIButton* getBackgroundsButton() const { return m_backgroundsButton; }
    cocos2d::CCSprite* getOfferImage() const { return m_offerImage; }
    GUILabel* getOfferPhrase1() const { return m_offerPhrase1; }
    GUILabel* getManaLabel() const { return m_manaLabel; }
    cocos2d::CCSprite* getBackdrop() const { return m_backdrop; }
    cocos2d::CCSprite* getPageFrame() const { return m_pageFrame; }
    cocos2d::CCLayer* getBackgroundSlider() const;
    GUIBatchNodeMenu* getPageObject() const { return m_pageObject; }
    // The rows of the page shown, in row order: each row's bar (page 0) or
    // square (page 1).
    std::vector<GUIButton*> pageRows() const;

private:
    // The purchase popup for an item, and the item it will buy.
    struct PurchaseTexts {
        cocos2d::CCString* title;
        cocos2d::CCString* picture;
        cocos2d::CCString* description;
    };
    void askToBuy(const char* question, const PurchaseTexts& shown, const std::string& name, int32_t price,
                  int32_t category, int32_t index);
    PixelMarket() = default;

    void buildFrontPage();
    void buildCategoryButtons(cocos2d::CCNode* root, float width, float height);
    void showManaAmount();
    // Takes the rows of the last build off the scroll and the slider.
    void clearPageRows();
    void buildElementsPage();
    void buildBackgroundsPage();
    void addElementRow(int row, const std::string& name);
    void addBackgroundRow(int row, const std::string& file);
    // The scroll's limits: the first row rests where it was built, the last
    // can be dragged fully into the clipping rectangle.
    void limitScroll(float lowestRowBottom, float highestRowTop);
    void closeShop();
    void playSound(const char* name);
    GUIWindow* touchTarget();

    GUIWindow* m_previousWindow = nullptr;            // retained
    cocos2d::CCString* m_requestedElement = nullptr;  // retained
    bool m_returnToGallery = false;
    int32_t m_extraValue = 0;
    cocos2d::CCDictionary* m_catalogue = nullptr;  // retained
    bool m_cataloguePinned = false;

    // The category pages' lists and nodes (retained).
    cocos2d::CCArray* m_elementNames = nullptr;
    cocos2d::CCArray* m_rewardBackgrounds = nullptr;
    cocos2d::CCLayer* m_backgroundSlider = nullptr;  // a SlidingLayer
    cocos2d::CCSprite* m_pageFrame = nullptr;
    GUIBatchNodeMenu* m_pageObject = nullptr;
    // The folder the backgrounds page listed, for its pictures.
    std::string m_rewardsFolder;

    int m_currentOffer = 1;
    cocos2d::CCSprite* m_offerPanel = nullptr;
    cocos2d::CCSprite* m_offerImage = nullptr;
    GUILabel* m_offerPhrase1 = nullptr;
    GUILabel* m_offerPhrase2 = nullptr;
    GUILabel* m_offerPriceLabel = nullptr;
    GUIButton* m_offerBuyButton = nullptr;
    GUIButton* m_previousOfferButton = nullptr;
    GUIButton* m_nextOfferButton = nullptr;
    GUIButton* m_manaButton = nullptr;
    GUIButton* m_elementsButton = nullptr;
    GUIButton* m_backgroundsButton = nullptr;
    cocos2d::CCSprite* m_backdrop = nullptr;
    GUILabel* m_manaLabel = nullptr;
    bool m_categoryPageOpen = false;
    ShopItem m_pendingItem;
    bool m_purchasePending = false;
    // Page builds since the window entered its scene.
    int m_pageCounter = 0;
    int m_pageMode = kNoPage;
    // The window that receives the touch under way (the shop or a popup).
    GUIWindow* m_touchWindow = nullptr;
};
