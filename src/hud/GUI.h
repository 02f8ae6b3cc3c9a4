#pragma once
// GUI: the in-game HUD window (element palette, tool menu with the brush
// slider, world settings, world menu). Until a day's settings restrict it,
// every element, tool and option is available.
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "cocos2d.h"
#include "scene/SaveLoadUtils.h"
#include "gui/GUIRate.h"
#include "gui/GUIWindow.h"
#include "gui/ScreenUtils.h"

class GUIButton;
class GUILabel;
class GUISlider;

class GUI : public GUIWindow, public RatingTarget, public DescriptionTarget {
public:
    // The open-menu numbers.
    static constexpr int kShadeTag = 7;
    enum Menu { kNoMenu = 0, kElementMenu = 1, kToolMenu = 2, kWorldSettingsMenu = 3, kWorldMenu = 4 };

    GUI() = default;
    ~GUI() override;
    static GUI* create(cocos2d::CCSize size);

    // The HUD's temperature level, 1 (coldest) .. 5 (hottest); 3 is normal.
    int32_t getTemperatureLevel() const { return m_temperatureLevel; }
    // Stores the level; levels outside 1..5 are refused.
    void refreshTemperature(int32_t level);

    // The element chosen in the palette (null before any choice; "Clear" is
    // the eraser). The latest other element is remembered for
    // restoreLastElement.
    cocos2d::CCString* getCurrentElement() const { return m_currentElement; }
    // Retains the new name, releases the old one.
    void setCurrentElement(cocos2d::CCString* name);

    // The setting the top bar's thermometer shows (the level).
    int32_t getTemperatureSetting() const { return m_temperatureLevel; }

    // A bar button for a menu: the same menu's button closes the window,
    // another switches the content in place.
    void onMenuButton(int menu, GUIButton* sender);
    int getOpenMenu() const { return m_openMenu; }
    void setOpenMenu(int menu) { m_openMenu = menu; }
    GUIButton* getMenuButton() const { return m_menuButton; }
    // Unpresses and forgets the button that opened the current menu.
    void releaseMenuButton();
    // Newly unlocked items, counted by the bar's badges; each set empties
    // when its menu shows.
    int newElementCount() const { return static_cast<int>(m_newElements.size()); }
    int newToolCount() const { return static_cast<int>(m_newTools.size()); }
    int newOptionCount() const { return static_cast<int>(m_newOptions.size()); }
    void addNewElement(const std::string& name) { m_newElements.insert(name); }
    void addNewTool(const std::string& name) { m_newTools.insert(name); }
    void addNewOption(const std::string& name) { m_newOptions.insert(name); }
    void clearNewItems()
    {
        m_newElements.clear();
        m_newTools.clear();
        m_newOptions.clear();
    }

    // True in free play, with the everything-available flag, or for a name in
    // the all-items set; on a day that denies items, for every name it does
    // not deny.
    bool isAvailable(const std::string& name);
    void setEverythingAvailable(bool v) { m_everythingAvailable = v; }
    bool getEverythingAvailable() const { return m_everythingAvailable; }
    void addAvailableItem(const std::string& name) { m_allItems.insert(name); }
    // Empties the all-items set, the denied set and the made set.
    void clearAvailableItems()
    {
        m_allItems.clear();
        m_deniedItems.clear();
        m_madeItems.clear();
    }
    // An element the level has the player make in its world (its settings'
    // "made" list) rather than paint.
    bool isMadeInWorld(const std::string& name) const { return m_madeItems.count(name) > 0; }
    // Makes "Clear" the current element; the element before it is kept for
    // restoreLastElement.
    void selectEraser();

    // --- day settings (GUIDaySettings.cpp) ------------------------------------------
    // Reads "universes/Missions/<worldName>.plist" from the resource root and
    // restricts the palette, tools and options to it, replacing the previous
    // day's restrictions and unlocks. A missing, unreadable or malformed file
    // is logged and the previous restrictions stay. True when applied.
    bool loadDaySettings(const std::string& worldName);
    // The same from a dictionary already read (keys "lock", "lockMode",
    // "elements", "tools", "options", and "made": elements withheld because
    // the level has them made in its world).
    bool applyDaySettings(cocos2d::CCDictionary* settings);
    // One item more for the rest of the day. An item that was not available
    // before joins its new-item set (the bar's badge counts it).
    void unlockElement(const std::string& name) { unlockItem(name, m_newElements); }
    void unlockTool(const std::string& name) { unlockItem(name, m_newTools); }
    void unlockOption(const std::string& name) { unlockItem(name, m_newOptions); }

    // --- menus (GUIMenus.cpp) -------------------------------------------------------
    void showElementMenu();
    void showToolMenu();
    void showWorldSettingsMenu();
    void showWorldMenu();
    // What the element palette offers now: "Clear" first, then every built
    // entry of the palette table the player may use.
    std::vector<std::string> paletteNames();
    // A pick of an element the level withholds selects nothing and says why
    // in a notice: made in the world, or not in this level.
    void onElementPicked(cocos2d::CCObject* name);

    // --- element palette (GUIPalette.cpp) -------------------------------------------
    // The palette opens on the family page of the current element; its tabs
    // switch pages in place.
    void showPaletteFamily(int family);
    void onPaletteFamilyPicked(cocos2d::CCObject* family);
    int getPaletteFamily() const { return m_paletteFamily; }
    // A family's page: the eraser first on the special page, then the built
    // entries of the palette table in its order, offered or not.
    static std::vector<std::string> familyNames(int family);
    // The element's localised title ("<name>Title"), or its name while the
    // table lacks one.
    static std::string elementTitle(const std::string& name);
    // Where the palette puts its tabs and entries, in the menu's points.
    struct PaletteLayout {
        float top = 0;
        float tabsLeft = 0;
        float gridLeft = 0;
        int columns = 1;
        int rows = 1;
    };
    static PaletteLayout paletteLayout();
    // The purchase popup's confirmation for the element picked last.
    void confirmPurchase();
    void showNotEnoughMana();
    // The catalogue price of an element the player does not own yet, else 0.
    int32_t priceToPay(const std::string& name);
    const std::string& getPendingPurchase() const { return m_pendingPurchase; }
    void onToolPicked(cocos2d::CCObject* name);
    // The tool menu's eraser: marked while on, the current tool's pictogram
    // on it (tagged kEraserToolTag) and the words that name that tool beside
    // it (tagged the same in the menu's content), or at the start of the
    // next row where the rest of the eraser's row cannot hold them. Answers
    // the words.
    static constexpr int kEraserToolTag = 12;
    GUILabel* showEraserTool(GUIButton* eraser, int toolKind, cocos2d::CCNode* content,
                             const cocos2d::CCPoint& wordsAt);
    void onPresetPicked(cocos2d::CCObject* level);
    void onSwitchPicked(cocos2d::CCObject* which);
    // World-settings switches: flip the world's flag, then refresh the bar
    // and the switch's tile when the settings menu is on show.
    void applyTemperature();
    void applyLight();
    void applySun();
    void applyWeather();
    // The switches (0 temperature view, 1 light, 2 sun, 3 weather): the
    // world's flag, and the tile that shows it (tagged kSwitchTag + which;
    // its toggle sprite kSwitchToggleTag).
    static constexpr int kSwitchTag = 20;
    static constexpr int kSwitchToggleTag = 9;
    static constexpr int kSwitchStateTag = 10;
    static bool isSwitchOn(int which);
    GUIButton* addSwitch(cocos2d::CCNode* content, int which, const cocos2d::CCPoint& at);
    static void showSwitchState(GUIButton* tile, bool on);
    void refreshSwitches();
    // Closes the HUD and opens the background gallery.
    void onBackgroundsButton(cocos2d::CCObject* sender);
    void onGalleryButton(cocos2d::CCObject* sender);
    // The buttons of the menu on show (tests).
    cocos2d::CCNode* getMenuContent() const { return m_buttonContainer; }
    // The localised name of a temperature level (1..5).
    static const char* temperatureNameKey(int level);
    void selectDefaultElement();
    std::string pickStartElement();
    void selectElement(const std::string& name);
    // An element the player picks (or buys) becomes current and the menu
    // closes; the Miner, which paints nothing, gives way to a tool that paints.
    void takePickedElement(const std::string& name);
    void selectDefaultTool();
    std::string pickStartTool();
    // What a level starts with: Soil and Draw where the day allows them,
    // else the first element and tool it offers (never one it locks).
    void selectStartElementAndTool();
    // Replaces the world's tool by Tool::create(name) (none for a name that
    // is not a tool).
    void selectTool(const std::string& name);
    // The tool menu's brush-size slider, nine steps (made on first use);
    // null when its frames are missing.
    GUISlider* getBrushSlider();
    // The slider's value, 1..9 (1 without a slider).
    int32_t getBrushSize();
    // Clamped to 1..9; the slider shows it.
    void setBrushSize(int32_t size);
    // The slider's words "Brush size: N" follow its value.
    static constexpr int kBrushSizeLabelTag = 11;
    void onBrushSizeChanged(cocos2d::CCObject* sender);
    // Puts the slider at the point in the menu's content.
    void addBrushSlider(cocos2d::CCNode* content, const cocos2d::CCPoint& at);
    // Makes the element chosen before the eraser current again; with none, or
    // one the day no longer offers, the first available one.
    void restoreLastElement();
    const std::string& getLastElement() const { return m_lastElement; }
    void closeMenu();
    // A menu's button at the sheet's scale, anchored at its top left, firing
    // selector on gui with value (held weakly, so a closed menu dies).
    static GUIButton* makeMenuButton(GUI* gui, cocos2d::SEL_CallFuncO selector, cocos2d::CCObject* value,
                                     const char* frame);
    // The back key closes an open menu, as its bar button does.
    void onBackPressed() override;

    // The keyboard's answer for the world description: stored, and shown on
    // the description label.
    void onDescriptionEntered(cocos2d::CCObject* text) override;
    // What the description label shows: the text, or that there is none.
    static cocos2d::CCString* shownDescription(const std::string& description);
    // Retained; null for none.
    void setDescriptionLabel(GUILabel* label);
    GUILabel* getDescriptionLabel() const { return m_descriptionLabel; }

    // --- world menu (GUIMenus.cpp) ------------------------------------------------
    static constexpr int kSnapshotTag = 8;
    // The gallery world's stars and count of ratings, under its picture.
    static constexpr int kRatingTag = 14;
    // The description label's layout, which the keyboard's limit follows.
    static constexpr float kDescriptionWidth = 110.0f;
    static constexpr int kDescriptionLines = 5;
    // Shows (again) the gallery world's average in stars and how many rated
    // it, when the world menu is built; nothing for the player's own world.
    void showWorldRating();
    // The words beside the stars: the average and the count, or that no one
    // rated the world yet.
    static std::string ratingWords(double average, int32_t count);
    // The frame of star i (0 to 4) of an average rating: lit, half or grey.
    static const char* ratingStarFrame(double average, int star);
    void onNameButton(cocos2d::CCObject* sender);
    // The name keyboard: on the world's name, or empty with the prompt as its
    // hint while the world has none.
    void openNameKeyboard();
    // The keyboard's answer for the world name, trimmed: stored and shown
    // (nothing typed leaves the world unnamed). For the save that waited for
    // it, the world is saved under it and keeps it only once saved. A save
    // gets no world without a name: the keyboard stays up, saying "Type a
    // name first".
    void onNameEntered(cocos2d::CCObject* text);
    // The back key on the keyboard a save opened: what is typed is taken as
    // Enter takes it; with nothing typed the save is called off.
    void onNameDismissed();
    void onDescriptionButton(cocos2d::CCObject* sender);
    // Saves without overwriting; an existing save of that name asks first,
    // and an unnamed world asks for its name first.
    void onSaveButton(cocos2d::CCObject* sender);
    bool isSavingAfterNaming() const { return m_saveAfterNaming; }
    // The overwrite question's confirmation.
    void confirmOverwrite();
    // Says the outcome of the save just made (a failed write, with why).
    void showSaveResult(SaveLoadUtils::SaveResult result);
    void showDeferredSaveResult();
    // Closes the HUD and pushes the saved-worlds screen over the game.
    void onLoadButton(cocos2d::CCObject* sender);
    // With unsaved changes it asks first, as the back key does.
    void onNewWorldButton(cocos2d::CCObject* sender);
    void startNewWorld();
    // Retained; null for none.
    void setNameLabel(GUILabel* label);
    GUILabel* getNameLabel() const { return m_nameLabel; }

    // --- the online gallery (GUIOnline.cpp) ------------------------------------------
    // Closes the HUD's menus, keeps the current window aside and pushes the
    // gallery over the game; its Back comes back to the world as it was.
    void openGallery();
    // The same for the main menu's Gallery, through the game layer: the
    // gallery's Back goes on to the main menu.
    void openGalleryFromMainMenu();
    // The player's own earlier stars for the gallery world on screen (0 none
    // yet, -1 not known), kept with the world (the game layer's gallery origin).
    int32_t getMyRating() const;
    // Rate, offered in an online world only: the popup shows the player's
    // own earlier stars, asked of the server first when not known.
    void onRateButton(cocos2d::CCObject* sender);
    void openRatePopup();
    // The gallery said the world is gone: a game playing it is no gallery
    // world any more, and its world menu offers no Rate.
    void onOnlineWorldGone(int32_t worldId);
    // The rate popup's answer (a CCValue<float>, the 0-based index of the
    // rightmost lit star; -1 chooses none and sends nothing), sent as 1 to 5
    // stars for the world the popup was opened for, only while it is the
    // world on screen. Words 320 and 324 count the request and its answer; the first
    // rating of a world counts word 220. The new average goes to the game
    // layer, "Thanks" follows; a failure says why and counts nothing.
    void rateWorld(cocos2d::CCObject* rating) override;
    // Upload, offered in free play: the saved world (its file, picture, name
    // and description as saved) goes to the gallery under the progress bar,
    // the player registered first when needed. A world never saved, or
    // changed or renamed since its save, is asked to be saved first, so what
    // goes is what the player sees; one uploaded before asks before a copy
    // goes.
    void onUploadButton(cocos2d::CCObject* sender);
    void confirmUploadCopy();
    void sendUpload();
    void onUploadRegistrationFailed();
    // The gallery id of the saved world's last upload (kept beside it in the
    // store), 0 for none.
    static int32_t galleryIdOf(const std::string& worldFile);
    static std::string galleryMarkOf(const std::string& worldFile);
    // The saved worlds shared as this gallery id (every shared one for 0)
    // are no longer shared: their marks go, and sharing one again is a
    // first share.
    static void forgetGalleryMarks(int32_t worldId);
    // The server no longer knows the player: every gallery id learnt from
    // it goes, the shares' marks and the gallery worlds on screen and in the
    // undo, whose world menu then offers no Rate.
    static void forgetGalleryWorlds();

private:
    void openGalleryScene(bool fromMainMenu);
    // No world on screen or in the undo is a gallery world any more: no
    // Rate, no stars.
    void forgetOnlineWorld();
    // The world menu, when open, shows the world as it now is.
    void refreshWorldMenu();
    void failUpload(const std::string& words);
    // After a world-settings switch: the top bar's pictograms and the tiles.
    void afterSwitch();
    void unlockItem(const std::string& name, std::set<std::string>& newItems);
    // The game layer's zoom flag and the bar's eraser and zoom icons follow
    // what the day allows now.
    void availabilityChanged();
    void releaseBrushSlider();
    void showSaveResultNow(SaveLoadUtils::SaveResult result);
    // Saves and says how it went. A changed world saved is no longer the
    // copy its file shared: its next Upload is a first share.
    void saveAndShow(bool overwrite);
    SaveLoadUtils::SaveResult m_deferredSaveResult = SaveLoadUtils::SaveResult::Failed;
    // The failed write's error, taken at once: a later write replaces it.
    int m_saveError = 0;
    // Whether a save under the name it was made with was there already,
    // taken with the error: the name may change before a deferred message.
    bool m_earlierSaveKept = false;
    // Empties the window and gives it a fresh button container.
    cocos2d::CCNode* newMenuContent();
    int32_t m_temperatureLevel = 3;
    int m_openMenu = kNoMenu;
    int m_paletteFamily = 0;
    std::string m_pendingPurchase;
    // Until a day's settings say otherwise, everything is available.
    bool m_everythingAvailable = true;
    bool m_denyMode = false;
    std::set<std::string> m_allItems;
    std::set<std::string> m_deniedItems;
    std::set<std::string> m_madeItems;
    // The last element other than the eraser.
    GUIButton* m_menuButton = nullptr;  // retained
    std::set<std::string> m_newElements;
    std::set<std::string> m_newTools;
    std::set<std::string> m_newOptions;
    GUISlider* m_brushSlider = nullptr;             // retained
    cocos2d::CCString* m_currentElement = nullptr;  // retained
    std::string m_lastElement;                      // the latest current element other than "Clear"
    GUILabel* m_descriptionLabel = nullptr;         // retained
    GUILabel* m_nameLabel = nullptr;                // retained
    bool m_saveAfterNaming = false;
    // The name typed for a save, until that save (or its overwrite) is done.
    std::string m_nameToSave;
    int32_t m_ratePopupFor = 0;  // the gallery world the rate popup was opened for
    std::string m_uploadFile;    // the saved world an upload sends
    // Answers of the server check it: a HUD that has gone takes none.
    std::shared_ptr<int> m_life = std::make_shared<int>(0);
};
