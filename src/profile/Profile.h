#pragma once
// The player's profile: everything the game remembers between runs (server
// identity, volumes, mana, progress, counters, unlocks, purchases, login
// streak), plus the run-only counters that goals test. One singleton for the
// whole run; saved whole to "profile.dat" after every lasting change.
//
// Invariants: dailyQuestOpenCache always equals the progress block's
// dailyQuestOpen word; nickname and privateKey are never null after the
// constructor; the lists and dictionaries are owned (retained) by the profile.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cocos2d.h"
#include "profile/ShopItem.h"

// Byte offsets of the words of the progress block (int32, little-endian).
namespace ProgressWord {
constexpr size_t ShopWord0 = 0;
constexpr size_t ShopWord4 = 4;
constexpr size_t ShareRewardTaken = 8;    // rewarded shares in this game version
constexpr size_t GameVersionNumber = 12;  // "1.5.13" -> 1513
constexpr size_t ShopWord128 = 128;
constexpr size_t DailyQuestOpen = 168;
constexpr size_t DailyQuestIndex = 172;
constexpr size_t DaysCompletedLive = 200;
constexpr size_t WorldsDownloaded = 204;
constexpr size_t GalleryEntryCounter = 208;
constexpr size_t ElementsBought = 212;
constexpr size_t AnnouncementCounter = 216;
constexpr size_t WorldsRated = 220;
constexpr size_t StreakCounter0 = 228;  // the three counters cleared when the streak breaks
constexpr size_t StreakCounter1 = 232;
constexpr size_t StreakCounter2 = 236;
constexpr size_t ManaSpentOnBasics = 256;
constexpr size_t GalleryRatingRequest0 = 320;
constexpr size_t GalleryRatingRequest1 = 324;
constexpr size_t LaunchCount = 328;
constexpr size_t PlayerCreated = 396;    // written by the create-player answer
constexpr size_t ShopWords404 = 404;     // four words, 404 to 416
constexpr size_t CompletionFlags = 604;  // 11 words, order of CampaignIndex
// The missions paid on a game mode's newest day, kept by the goals: 11 words
// by game mode (0 the story, 1 to 10 the campaigns) naming the day, then 11
// words of its paid missions (bit n: the day's n-th mission). Zero in a file
// written before them: nothing recorded as paid.
constexpr size_t PaidMissionsDay = 704;
constexpr size_t PaidMissions = 748;
// The message pages a game mode's day end owes the player (bits, 11 words by
// game mode), kept when the day ended off screen: its level left, the window
// closed or the game killed after the win. Shown at the mode's next entry.
// Zero in a file written before them: nothing owed.
constexpr size_t OwedPages = 792;
// The uploads sent that have had no answer yet, one entry a world: the
// request's id, 16 bytes (four words), then what it was for, two words: the
// CRC-32 of the world's name, description and data, and their length. Zero:
// none (and in a file written before them). The newest is at UploadRequest,
// where a version that kept only one reads and writes it; three older ones
// follow at MoreUploadRequests, in words no version used.
constexpr size_t UploadRequest = 984;
constexpr size_t MoreUploadRequests = 836;
// The id of the registration sent that has had no answer yet, 16 bytes (four
// words, to the block's end), so that the start after a time-out sends the
// same request again. Zero: none (and in a file written before it).
constexpr size_t RegistrationRequest = 1008;
}  // namespace ProgressWord

// Order of the campaign completion flags in the progress block (not the game
// mode numbers: use completionIndexForMode to go from one to the other).
namespace CampaignIndex {
enum : int {
    Story = 0,
    UserMade,
    Human,
    Music,
    Contraptions,
    Dinosaurs,
    PixelArt,
    LasersAndPipes,
    Zombie,
    Robot,
    Invasion,
    Count
};
}

// Slots of Profile::dayEventCounters.
namespace DayEvent {
enum : int {
    Day6TreeCentre = 0,
    Day8Bulb,
    Day11Water,
    Day12Water,
    Day13Snow,
    Day20Gas,
    Day20AcidWater,
    Day19Note,
    Day29Wax,
    Spare,
    Count
};
}

class Profile : public cocos2d::CCObject {
public:
    static constexpr int kModeSlots = 32;
    static constexpr int kAchievementSlots = 64;
    static constexpr int kLevelHintSlots = 1024;
    static constexpr int kProgressBlockSize = 1024;
    static constexpr int kCampaignFlagCount = 7;
    static constexpr int kDayEventCount = 10;
    static constexpr int kNicknameFieldSize = 16;
    static constexpr int kPrivateKeyFieldSize = 256;

    static Profile* getInstance();

    Profile();
    ~Profile() override;

    void resetToDefaults();

    // --- File (profile.dat with CRC-32 and its backup) ---
    void save();
    // While a hold lasts, saves are put off and made once when the last hold
    // ends: changes that belong together (a cost and what it bought) reach
    // the file in one write, so a kill cannot keep one without the other.
    void holdSaves() { ++saveHolds; }
    void releaseSaves();
    void backupProfileFile(const char* backupName);
    void load(bool allowBackup);
    bool loadFromFile(const char* fileName);
    static const char* backupFileName();  // one name for writing and reading the backup
    // True once after a load found neither the profile nor its backup
    // readable and started a new one: keptIn is the store folder the
    // unreadable files were moved to, empty when they could not be.
    bool takeUnreadableNotice(std::string& keptIn);

    // --- Accessors: one per field, under the names the game code uses ---
    int32_t getPlayerId() const { return playerId; }
    void setPlayerId(int32_t v) { playerId = v; }
    cocos2d::CCString* getPrivateKey() const { return privateKey; }
    cocos2d::CCString* getNickname() const { return nickname; }
    int32_t getMusicVolume() const { return musicVolume; }
    void setMusicVolume(int32_t v) { musicVolume = v; }
    int32_t getEffectsVolume() const { return effectsVolume; }
    void setEffectsVolume(int32_t v) { effectsVolume = v; }
    bool isSettingsFlag() const { return settingsFlag; }
    void setSettingsFlag(bool v) { settingsFlag = v; }
    int32_t getBestDay(int mode) const;
    void setBestDay(int mode, int32_t day);
    // The current story day.
    int32_t getDay() const { return storyDay; }
    void setDay(int32_t v) { storyDay = v; }
    int32_t getGameMode() const { return gameMode; }
    void setGameMode(int32_t v) { gameMode = v; }
    int32_t getPendingMana() const { return pendingMana; }
    void setPendingMana(int32_t v) { pendingMana = v; }
    int32_t getMana() const { return mana; }
    void setMana(int32_t v) { mana = v; }
    int32_t getLevelPoints() const { return levelPoints; }
    void setLevelPoints(int32_t v) { levelPoints = v; }
    // Oil met water in free play.
    bool isOilBurned() const { return oilBurned; }
    void setOilBurned(bool v) { oilBurned = v; }
    int32_t getTreesGrown() const { return treesGrown; }
    void setTreesGrown(int32_t v) { treesGrown = v; }
    bool isHasSavedWorld() const { return hasSavedWorld; }
    void setHasSavedWorld(bool v) { hasSavedWorld = v; }
    int32_t getPouredPixels() const { return pouredPixels; }
    void setPouredPixels(int32_t v) { pouredPixels = v; }
    // Element name -> CCInteger count (owned).
    cocos2d::CCDictionary* getCountedElements() const { return countedElements; }
    int32_t getDay11WaterCount() const { return dayEventCounters[DayEvent::Day11Water]; }
    void setDay11WaterCount(int32_t v) { dayEventCounters[DayEvent::Day11Water] = v; }
    int32_t getDay12WaterCount() const { return dayEventCounters[DayEvent::Day12Water]; }
    void setDay12WaterCount(int32_t v) { dayEventCounters[DayEvent::Day12Water] = v; }
    int32_t getDay13SnowCount() const { return dayEventCounters[DayEvent::Day13Snow]; }
    void setDay13SnowCount(int32_t v) { dayEventCounters[DayEvent::Day13Snow] = v; }
    int32_t getDay20GasCount() const { return dayEventCounters[DayEvent::Day20Gas]; }
    void setDay20GasCount(int32_t v) { dayEventCounters[DayEvent::Day20Gas] = v; }
    // Written directly by the acid and wax elements.
    int32_t& acidRainCounter() { return dayEventCounters[DayEvent::Day20AcidWater]; }
    int32_t& waxCounter() { return dayEventCounters[DayEvent::Day29Wax]; }
    int32_t getGasCount() const { return gasCount; }
    void setGasCount(int32_t v) { gasCount = v; }
    // Seconds of free play, and when they were last added up.
    int64_t getFreePlayTime() const { return freePlayTime; }
    void setFreePlayTime(int64_t v) { freePlayTime = v; }
    int64_t getFreePlayStamp() const { return freePlayStamp; }
    void setFreePlayStamp(int64_t v) { freePlayStamp = v; }
    bool isPlayTimeMilestone1h() const { return playTimeMilestones[0]; }
    void setPlayTimeMilestone1h(bool v) { playTimeMilestones[0] = v; }
    bool isPlayTimeMilestone3h() const { return playTimeMilestones[1]; }
    void setPlayTimeMilestone3h(bool v) { playTimeMilestones[1] = v; }
    bool isPlayTimeMilestone5h() const { return playTimeMilestones[2]; }
    void setPlayTimeMilestone5h(bool v) { playTimeMilestones[2] = v; }
    // Slots 0..63 (bounds-checked: outside reads 0 and ignores writes).
    uint8_t getAchievementUnlocked(int slot) const;
    void setAchievementUnlocked(int slot, uint8_t v);
    // Element name -> CCInteger, 1 once used (owned).
    cocos2d::CCDictionary* getElementsUsed() const { return elementsUsed; }
    int64_t getLastLoginTime() const { return lastLoginTime; }
    int32_t getLoginStreak() const { return loginStreak; }
    void setLoginStreak(int32_t v) { loginStreak = v; }
    int32_t getTreesBurnt() const { return treesBurned; }
    void setTreesBurnt(int32_t v) { treesBurned = v; }
    // Slots 0..1023 (bounds-checked like the achievements).
    uint32_t getLevelHint(int slot) const;
    void setLevelHint(int slot, uint32_t v);
    cocos2d::CCArray* getPurchasedElements() const { return purchasedElements; }
    cocos2d::CCArray* getPurchasedBackgrounds() const { return purchasedBackgrounds; }
    cocos2d::CCArray* getUnlockedBackgrounds() const { return unlockedBackgrounds; }
    bool isDayStarted() const { return dayStarted; }
    void setDayStarted(bool v) { dayStarted = v; }
    bool isDailyQuestOpen() const { return dailyQuestOpenCache; }
    void setDailyQuestOpen(bool open);  // also writes the block word and saves
    // Campaign flags 0..6; flag 0 is the fireplace planted, flag 3 the
    // structure built.
    bool getCampaignFlag(int index) const;
    void setCampaignFlag(int index, bool v);
    bool setFireplacePlanted(bool v)
    {
        campaignFlags[0] = v;
        return v;
    }
    bool isFireplacePlanted() const { return campaignFlags[0]; }
    bool setStructureBuilt(bool v)
    {
        campaignFlags[3] = v;
        return v;
    }
    bool isStructureBuilt() const { return campaignFlags[3]; }
    // The colony's resource goals of the human campaign's days 2 to 4.
    void setFoodGathered(bool v) { campaignFlags[1] = v; }
    bool isFoodGathered() const { return campaignFlags[1]; }
    void setWaterGathered(bool v) { campaignFlags[2] = v; }
    bool isWaterGathered() const { return campaignFlags[2]; }
    void setStoneGathered(bool v) { campaignFlags[4] = v; }
    bool isStoneGathered() const { return campaignFlags[4]; }
    void setStockpileGathered(bool v) { campaignFlags[6] = v; }
    bool isStockpileGathered() const { return campaignFlags[6]; }
    bool isRewardsOff() const { return rewardsOff; }
    void setRewardsOff(bool v) { rewardsOff = v; }
    bool isLoaded() const { return loaded; }

    // Progress block words (bounds-checked; an offset outside the block reads
    // 0 and ignores writes).
    int32_t getProgressWord(size_t offset) const;
    void setProgressWord(size_t offset, int32_t value);
    // One more in a counter of the block (not saved here).
    void countProgress(size_t offset) { setProgressWord(offset, getProgressWord(offset) + 1); }
    int32_t getShareCount() const { return getProgressWord(ProgressWord::ShareRewardTaken); }
    void setShareCount(int32_t v) { setProgressWord(ProgressWord::ShareRewardTaken, v); }
    int32_t getShareVersion() const { return getProgressWord(ProgressWord::GameVersionNumber); }
    void setShareVersion(int32_t v) { setProgressWord(ProgressWord::GameVersionNumber, v); }
    int32_t getDailyQuestIndex() const { return getProgressWord(ProgressWord::DailyQuestIndex); }
    void setDailyQuestIndex(int32_t v) { setProgressWord(ProgressWord::DailyQuestIndex, v); }
    int32_t getLaunchCount() const { return getProgressWord(ProgressWord::LaunchCount); }
    void setLaunchCount(int32_t v) { setProgressWord(ProgressWord::LaunchCount, v); }
    // index in CampaignIndex order; 1 = completed
    int32_t getCompletionFlag(int index) const;
    void setCompletionFlag(int index, int32_t value);

    // --- Operations ---
    void updateDailyLogin();
    bool transferPendingMana();
    bool buyShopItem(cocos2d::CCString* elementName, ShopItem item);
    bool hasPurchasedElement(cocos2d::CCString* name);
    bool hasPurchasedBackground(cocos2d::CCString* name);
    bool hasUnlockedBackground(cocos2d::CCString* name);
    bool isBasicElement(cocos2d::CCString* name);
    bool isCampaignUnlocked(int mode);
    bool hasNickname();
    bool isRegistered();
    void ensureRegistered();
    void runPendingCallback();
    void showDuplicateNickname();
    void setNickname(cocos2d::CCString* text);
    // Keyboard callback (SEL_CallFuncO shape); text is a CCString.
    // Blanks or a prompt leave the keyboard up, saying a name is needed.
    void setNicknameFromInput(cocos2d::CCObject* text);
    // The nickname keyboard left without a name: what waited for the
    // account does not run.
    void dropPendingCallback();
    void setPrivateKey(cocos2d::CCString* text);
    // The id of the registration sent for the nickname that has had no
    // answer yet (32 hex digits), or empty. Kept as its 16 bytes in the
    // progress block; an id of another form is not kept (none is).
    std::string registrationRequestId() const;
    void setRegistrationRequestId(const std::string& id);
    void clearRegistrationRequestId() { setRegistrationRequestId(std::string()); }
    // The ids of the uploads sent that have had no answer yet, each with the
    // world it was for (a fingerprint of its name, description and data),
    // kept in the progress block as the registration's is. A world has one;
    // a new one beyond kUploadRequests pushes out the oldest.
    static constexpr int kUploadRequests = 4;
    // The id kept for the world, or empty.
    std::string uploadRequestFor(uint64_t world) const;
    void keepUploadRequest(const std::string& id, uint64_t world);
    // That request answered: false when it was not kept.
    bool clearUploadRequest(const std::string& id);
    void markElementUsed(cocos2d::CCString* name);
    void incrementElementCount(cocos2d::CCString* name);
    bool allElementsUsed();
    // Story-day counters, raised by the water, snow and gas elements.
    void countStoryDay11Steam();
    void countStoryDay12Ice();
    void countStoryDay13Snow();
    void countStoryDay20Gas();

    void setPendingCallback(cocos2d::CCObject* target, cocos2d::SEL_CallFunc selector);
    void setDuplicateNameHandler(cocos2d::CCObject* target, cocos2d::SEL_CallFunc selector);

    // The running version's number: the version string without its dots.
    static int32_t currentVersionNumber();

    // Test hook: drop the singleton's state and start from a new profile.
    static void resetInstanceForTests();

private:
    // A request's id kept as its 16 bytes at a word of the progress block;
    // the setter keeps none (and says false) for an id of another form.
    std::string requestIdAt(size_t offset) const;
    bool setRequestIdAt(size_t offset, const std::string& id);
    struct UploadRequestEntry {
        std::string id;
        uint64_t world = 0;
    };
    // The kept uploads, newest first; written back whole, blanks after them.
    std::vector<UploadRequestEntry> uploadRequests() const;
    void setUploadRequests(const std::vector<UploadRequestEntry>& entries);

    // Fields, in record order. Profile's own code (Profile.cpp, and the file
    // code in ProfileFile.cpp) keeps the invariants above; others use the
    // accessors.
    int32_t playerId = 0;
    cocos2d::CCString* privateKey = nullptr;
    int32_t musicVolume = 100;
    int32_t effectsVolume = 100;
    bool settingsFlag = false;
    cocos2d::CCString* nickname = nullptr;
    int32_t bestDay[kModeSlots] = {};
    int32_t storyDay = 0;
    int32_t gameMode = 0;
    int32_t pendingMana = 0;
    int32_t mana = 3500;
    int32_t levelPoints = 0;
    bool oilBurned = false;
    int32_t treesGrown = 0;
    bool hasSavedWorld = false;
    int32_t pouredPixels = 0;
    cocos2d::CCDictionary* countedElements = nullptr;
    int32_t dayEventCounters[kDayEventCount] = {};
    int32_t gasCount = 0;
    int64_t freePlayTime = 0;
    bool playTimeMilestones[3] = {};
    int64_t freePlayStamp = 0;
    uint8_t achievementUnlocked[kAchievementSlots] = {};
    cocos2d::CCDictionary* elementsUsed = nullptr;
    int64_t lastLoginTime = 0;
    int32_t loginStreak = 0;
    int32_t treesBurned = 0;
    cocos2d::CCObject* pendingCallbackTarget = nullptr;
    cocos2d::SEL_CallFunc pendingCallbackSelector = nullptr;
    cocos2d::CCObject* duplicateNameTarget = nullptr;
    cocos2d::SEL_CallFunc duplicateNameSelector = nullptr;
    uint32_t levelHints[kLevelHintSlots] = {};
    cocos2d::CCArray* purchasedElements = nullptr;
    cocos2d::CCArray* purchasedBackgrounds = nullptr;
    cocos2d::CCArray* unlockedBackgrounds = nullptr;
    uint8_t progressBlock[kProgressBlockSize] = {};
    bool dayStarted = false;
    bool dailyQuestOpenCache = true;
    bool campaignFlags[kCampaignFlagCount] = {};
    bool rewardsOff = false;
    bool loaded = false;
    bool recordInSync = false;  // this run has read or written the stored record
    int saveHolds = 0;
    bool saveHeld = false;  // a save was asked for during the hold
    // The player was told that a save failed; a save that succeeds clears it,
    // so a later failure is told again.
    bool saveFailureTold = false;
    bool unreadableNotice = false;
    std::string unreadableKeptIn;

    // Moves the stored profile files into a new folder of the store; that
    // folder, or "" when one of them could not be kept.
    std::string keepUnreadableFiles();
};

// Maps a game mode (0 story .. 10 Invasion) to its CampaignIndex; -1 when none.
int completionIndexForMode(int mode);
// The game modes whose finished campaign opens a mode's campaign (any one of
// them does); none for the story and a campaign open from the start.
std::vector<int> campaignOpeners(int mode);

// The decimal digits of text, in order ("Achievement45" -> "45"), autoreleased.
cocos2d::CCString* extractDigits(cocos2d::CCString* text);
