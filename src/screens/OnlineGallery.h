#pragma once
// OnlineGallery: the worlds other players shared, on a scene of its own
// pushed over the game scene (by the world settings' Gallery button, or from
// the main menu through the game layer's gallery-on-entry flag). The world
// count, three orders and a search typed on the game's keyboard; a grid of
// cards filled a page at a time as it scrolls, each card's screenshot asked
// for as its row comes into view (the request queue sends them one at a
// time); a world's details with Play, and Delete on the player's own worlds.
//
// While it is shown it drains the network every frame, so answers arrive as
// they come rather than at the game's half-second drain. Every answer checks
// that the screen still lives and that its list is still the one it asked
// for: a screen that has gone, or a list the player has replaced by another
// order or search, takes nothing. Leaving cancels what is on its way.
// Main thread only.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cocos2d.h"
#include "online/ServerLink.h"
#include "gui/BackButton.h"

class GUIBatchNodeMenu;
class GUIButton;
class GUILabel;
class SlidingLayer;

class OnlineGallery : public cocos2d::CCLayer, public BackButtonListener {
public:
    static constexpr int kPageSize = 12;
    static constexpr int kColumns = 4;
    static constexpr float kLeaveDelay = 0.25f;
    static constexpr int kScreenshotTag = 31;

    // The scene. From the main menu, Back goes on to the main menu; from a
    // world, back to it.
    static cocos2d::CCScene* scene(bool fromMainMenu);
    static OnlineGallery* create(bool fromMainMenu);
    ~OnlineGallery() override;

    bool init() override;
    void onEnter() override;
    void onEnterTransitionDidFinish() override;
    void onExit() override;
    void registerWithTouchDispatcher() override;
    bool ccTouchBegan(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchMoved(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchEnded(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    // Closes the details first, then leaves.
    void onBackPressed() override;
    // Every frame: the network's answers, the spinner, the screenshots of
    // the rows in view and the next page when the grid nears its end.
    void update(float dt) override;

    // --- the list ----------------------------------------------------------------
    // An order's tab: the list again from its start ("Applied Filter").
    void setOrder(GalleryOrder order);
    // A new search ("Applied Search"); empty shows every world.
    void setSearch(const std::string& text);
    // The count and the first page again, from nothing.
    void reload();
    void goBack();
    void onBackButton(cocos2d::CCObject*) { goBack(); }
    void onOrderTab(cocos2d::CCObject* order);
    void onSearchField(cocos2d::CCObject*);
    void onSearchEntered(cocos2d::CCObject* text);
    void onClearSearch(cocos2d::CCObject*);
    void onCardTapped(cocos2d::CCObject* card);

    // --- a world (OnlineGalleryDetails.cpp) ----------------------------------------
    void openDetails(int32_t worldId);
    void closeDetails(cocos2d::CCObject* = nullptr);
    // Play: registered first when needed, then the download, checked with
    // the game's reader and started in free play.
    void onPlay(cocos2d::CCObject*);
    void downloadWorld();
    void onRegistrationFailed();
    // Delete asks first.
    void onDelete(cocos2d::CCObject*);
    void confirmDelete();

    // --- what a test reads -----------------------------------------------------------
    struct Card {
        GalleryWorld world;
        cocos2d::CCMenuItemSprite* item = nullptr;  // a child of the grid
        bool shotAsked = false;
    };
    const std::vector<Card>& getCards() const { return m_cards; }
    int32_t getTotal() const { return m_total; }
    bool isLoadingPage() const { return m_pageInFlight; }
    // The card's screenshot sprite, once it shows.
    cocos2d::CCSprite* screenshotOf(int32_t worldId) const;
    GUILabel* getCountLabel() const { return m_countLabel; }
    GUILabel* getStatusLabel() const { return m_statusLabel; }
    GUILabel* getSearchLabel() const { return m_searchLabel; }
    GUIButton* getBackButton() const { return m_backButton; }
    SlidingLayer* getGrid() const { return m_grid; }
    bool isDetailsShown() const { return m_detailsWorld != 0; }
    int32_t getDetailsWorld() const { return m_detailsWorld; }
    GUIButton* getPlayButton() const { return m_playButton; }
    GUIButton* getDeleteButton() const { return m_deleteButton; }
    GUIButton* getCloseButton() const { return m_closeButton; }
    cocos2d::CCNode* getDetailsPanel() const { return m_detailsLayer; }
    bool isFromMainMenu() const { return m_fromMainMenu; }

private:
    explicit OnlineGallery(bool fromMainMenu) : m_fromMainMenu(fromMainMenu) { }
    // An answer's guard: the screen lives and the list is the one asked for.
    struct Ticket {
        std::weak_ptr<int> life;
        int generation = 0;
    };
    Ticket ticket() const { return {m_life, m_generation}; }
    bool valid(const Ticket& t) const { return !t.life.expired() && t.generation == m_generation; }

    void buildScreen();
    void requestCount();
    void requestNextPage();
    void onPage(const GalleryPage& page);
    void onListFailed(const GalleryFailure& failure);
    void retryList();
    void showCount(int32_t count);
    void showStatus();
    void addCard(size_t index);
    void layoutCards();
    void keepGridInRange();
    void refreshSearchField();
    void showOrderTabs();
    // Rows in view: their screenshots; the last loaded row near: the next page.
    void fetchWhatShows();
    void requestScreenshot(Card& card);
    void forgetScreenshot(Card& card);
    void onScreenshot(int32_t worldId, const std::string& png);
    void showScreenshot(cocos2d::CCNode* parent, int32_t worldId, const cocos2d::CCRect& box);
    // Spinner: the dots turn while something loads, at a point in sheet units.
    void placeSpinner();
    const Card* cardOf(int32_t worldId) const;

    // Details (OnlineGalleryDetails.cpp).
    void buildDetails();
    void fillDetails(const GalleryWorld& world);
    void onDetails(const GalleryWorld& world);
    void onDownloaded(const std::string& blob);
    void onDownloadFailed(const std::string& words);
    void startWorld(const GalleryWorld& world, const std::string& blob);
    void onDeleted(int32_t worldId);
    // After a refusal that forgot the player's account: no Delete.
    void forgetOwnership(const GalleryFailure& failure);
    // The world of the details is no longer on the server: they close, its
    // card goes and the words say why.
    void onWorldGone(const std::string& words);
    // The card of a world no longer listed, and its picture.
    void forgetCard(int32_t worldId);
    void setPlayBusy(bool busy);

    bool m_fromMainMenu = false;
    bool m_built = false;
    bool m_leaving = false;
    std::shared_ptr<int> m_life = std::make_shared<int>(0);
    int m_generation = 0;

    GUIBatchNodeMenu* m_menu = nullptr;
    SlidingLayer* m_grid = nullptr;
    GUIButton* m_backButton = nullptr;
    GUIButton* m_searchButton = nullptr;
    GUIButton* m_clearButton = nullptr;
    GUIButton* m_tabs[3] = {};
    GUILabel* m_searchLabel = nullptr;
    GUILabel* m_searchText = nullptr;  // retained, never shown: what the keyboard edits
    GUILabel* m_countLabel = nullptr;
    GUILabel* m_statusLabel = nullptr;  // retained: the grid's clearing takes it off
    cocos2d::CCNode* m_spinner = nullptr;
    float m_spinnerTime = 0;
    enum class TouchGoesTo { Nothing, Window, Details, Menu, Grid };
    TouchGoesTo m_touch = TouchGoesTo::Nothing;

    GalleryOrder m_order = GalleryOrder::Newest;
    std::string m_search;
    std::vector<Card> m_cards;
    int32_t m_total = -1;  // -1 until the server says
    bool m_pageInFlight = false;
    bool m_listFailed = false;
    int m_touches = 0;                                 // touches begun on the screen
    int m_failedInTouch = 0;                           // the touch during which the list failed
    std::string m_listFailure;                         // the words of the list's failure
    std::map<int32_t, cocos2d::CCTexture2D*> m_shots;  // retained

    // Details.
    cocos2d::CCLayer* m_detailsLayer = nullptr;
    GUIBatchNodeMenu* m_detailsMenu = nullptr;
    cocos2d::CCSprite* m_detailsContent = nullptr;  // this world's labels and stars
    cocos2d::CCNode* m_detailsShot = nullptr;       // the big screenshot (its own texture)
    GUIButton* m_playButton = nullptr;
    GUIButton* m_deleteButton = nullptr;
    GUIButton* m_closeButton = nullptr;
    int32_t m_detailsWorld = 0;
    GalleryWorld m_shown;                // the world the details show
    bool m_detailsKnown = false;         // its description and the player's rating came
    bool m_playing = false;              // a download is on its way
    std::shared_ptr<int> m_detailsLife;  // replaced at each opening: late answers of another world take nothing
};

// The gallery's look, shared by its list and its details: sheet frames,
// labels in its font, captions that fit their buttons, stars and pictures.
namespace galleryscreen {

extern const char* const kFont;
extern const cocos2d::ccColor3B kTextColour;
extern const cocos2d::ccColor3B kMutedColour;
extern const cocos2d::ccColor3B kTitleColour;

// An effect from "sounds", once.
void playSound(const char* name);
// A sprite of the sheet, anchored at its lower left.
cocos2d::CCSprite* frameSprite(const char* frame);
// A batch of the gallery's sheet that hit-tests its buttons, over the 4:3
// area in the sheet's units; null without the sheet.
GUIBatchNodeMenu* sheetMenu(unsigned int capacity);
// The text, cut with an ellipsis to the width (in the parent's units).
void setFittedText(GUILabel* label, const std::string& text, float maxWidth);
// A label of the gallery's font at a text size; with a width, cut to it.
GUILabel* addLabel(cocos2d::CCNode* parent, const std::string& text, float size, const cocos2d::CCPoint& at,
                   const cocos2d::CCPoint& anchor, const cocos2d::ccColor3B& colour, float maxWidth);
// A button of the sheet calling the screen through a weak relay.
GUIButton* addButton(cocos2d::CCNode* menu, cocos2d::CCObject* target, cocos2d::SEL_CallFuncO selector,
                     cocos2d::CCObject* value, const char* frame, const char* icon, const cocos2d::CCPoint& at);
// A caption centred on the button, scaled down to fit it.
void addCaption(GUIButton* button, const char* key, float size);
// Five stars for an average of 0 to 5: whole, half or empty.
void addStars(cocos2d::CCNode* parent, double rating, const cocos2d::CCPoint& at, float scale);
// "9", "9999", "12k".
std::string downloadsText(int32_t downloads);
// A PNG decoded into a texture (retained by the caller's reference), or null.
cocos2d::CCTexture2D* textureOfPng(const std::string& png);
// The picture centred in the box at the largest scale that keeps it whole.
cocos2d::CCSprite* fittedPicture(cocos2d::CCTexture2D* texture, const cocos2d::CCRect& box);

}  // namespace galleryscreen
