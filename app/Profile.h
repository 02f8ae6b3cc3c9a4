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

#include "cocos2d.h"
#include "app/ShopItem.h"

// Byte offsets of the words of the progress block (int32, little-endian).
namespace ProgressWord {
constexpr size_t ShopWord0 = 0;
constexpr size_t ShopWord4 = 4;
constexpr size_t ShareRewardTaken = 8;   // rewarded shares in this game version
constexpr size_t GameVersionNumber = 12; // "1.5.13" -> 1513
constexpr size_t ShopWord128 = 128;
constexpr size_t DailyQuestOpen = 168;
constexpr size_t DailyQuestIndex = 172;
constexpr size_t DaysCompletedLive = 200;
constexpr size_t WorldsDownloaded = 204;
constexpr size_t GalleryEntryCounter = 208;
constexpr size_t ElementsBought = 212;
constexpr size_t AnnouncementCounter = 216;
constexpr size_t WorldsRated = 220;
constexpr size_t StreakCounter0 = 228; // the three counters cleared when the streak breaks
constexpr size_t StreakCounter1 = 232;
constexpr size_t StreakCounter2 = 236;
constexpr size_t ManaSpentOnBasics = 256;
constexpr size_t GalleryRatingRequest0 = 320;
constexpr size_t GalleryRatingRequest1 = 324;
constexpr size_t LaunchCount = 328;
constexpr size_t PlayerCreated = 396; // written by the create-player answer
constexpr size_t ShopWords404 = 404;  // four words, 404 to 416
constexpr size_t CompletionFlags = 604; // 11 words, order of CampaignIndex
} // namespace ProgressWord

// Order of the campaign completion flags in the progress block (not the game
// mode numbers: use completionIndexForMode to go from one to the other).
namespace CampaignIndex {
enum : int {
    Story = 0, UserMade, Human, Music, Contraptions, Dinosaurs, PixelArt,
    LasersAndPipes, Zombie, Robot, Invasion, Count
};
}

// Slots of Profile::dayEventCounters.
namespace DayEvent {
enum : int {
    Day6TreeCentre = 0, Day8Bulb, Day11Water, Day12Water, Day13Snow, Day20Gas,
    Day20AcidWater, Day19Note, Day29Wax, Spare, Count
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
    void backupProfileFile(const char* backupName);
    void load(bool allowBackup);
    bool loadFromFile(const char* fileName);
    static const char* backupFileName(); // one name for writing and reading the backup

    // --- Accessor pairs ---
    virtual int32_t getPlayerId() { return playerId; }
    virtual void setPlayerId(int32_t v) { playerId = v; }
    virtual int32_t getMusicVolume() { return musicVolume; }
    virtual void setMusicVolume(int32_t v) { musicVolume = v; }
    virtual int32_t getEffectsVolume() { return effectsVolume; }
    virtual void setEffectsVolume(int32_t v) { effectsVolume = v; }
    virtual bool isSettingsFlag() { return settingsFlag; }
    virtual void setSettingsFlag(bool v) { settingsFlag = v; }
    virtual int32_t getMana() { return mana; }
    virtual void setMana(int32_t v) { mana = v; }
    virtual int32_t getLevelPoints() { return levelPoints; }
    virtual void setLevelPoints(int32_t v) { levelPoints = v; }
    virtual bool isOilBurned() { return oilBurned; }
    virtual void setOilBurned(bool v) { oilBurned = v; }
    virtual int32_t getTreesGrown() { return treesGrown; }
    virtual void setTreesGrown(int32_t v) { treesGrown = v; }
    virtual bool isHasSavedWorld() { return hasSavedWorld; }
    virtual void setHasSavedWorld(bool v) { hasSavedWorld = v; }
    virtual int32_t getDay11WaterCount() { return dayEventCounters[DayEvent::Day11Water]; }
    virtual void setDay11WaterCount(int32_t v) { dayEventCounters[DayEvent::Day11Water] = v; }
    virtual int32_t getDay12WaterCount() { return dayEventCounters[DayEvent::Day12Water]; }
    virtual void setDay12WaterCount(int32_t v) { dayEventCounters[DayEvent::Day12Water] = v; }
    virtual int32_t getDay13SnowCount() { return dayEventCounters[DayEvent::Day13Snow]; }
    virtual void setDay13SnowCount(int32_t v) { dayEventCounters[DayEvent::Day13Snow] = v; }
    virtual int32_t getDay20GasCount() { return dayEventCounters[DayEvent::Day20Gas]; }
    virtual void setDay20GasCount(int32_t v) { dayEventCounters[DayEvent::Day20Gas] = v; }
    virtual int32_t getGasCount() { return gasCount; }
    virtual void setGasCount(int32_t v) { gasCount = v; }
    virtual bool isPlayTimeMilestone1h() { return playTimeMilestones[0]; }
    virtual void setPlayTimeMilestone1h(bool v) { playTimeMilestones[0] = v; }
    virtual bool isPlayTimeMilestone3h() { return playTimeMilestones[1]; }
    virtual void setPlayTimeMilestone3h(bool v) { playTimeMilestones[1] = v; }
    virtual bool isPlayTimeMilestone5h() { return playTimeMilestones[2]; }
    virtual void setPlayTimeMilestone5h(bool v) { playTimeMilestones[2] = v; }
    virtual int32_t getLoginStreak() { return loginStreak; }
    virtual void setLoginStreak(int32_t v) { loginStreak = v; }
    virtual int32_t getTreesBurned() { return treesBurned; }
    virtual void setTreesBurned(int32_t v) { treesBurned = v; }
    virtual cocos2d::CCArray* getPurchasedElements() { return purchasedElements; }
    virtual cocos2d::CCArray* getPurchasedBackgrounds() { return purchasedBackgrounds; }
    virtual bool isDayStarted() { return dayStarted; }
    virtual void setDayStarted(bool v) { dayStarted = v; }
    virtual bool isDailyQuestOpen() { return dailyQuestOpenCache; }
    virtual void setDailyQuestOpen(bool open); // also writes the block word and saves
    virtual bool isCampaignFlag0() { return campaignFlags[0]; }
    virtual void setCampaignFlag0(bool v) { campaignFlags[0] = v; }
    virtual bool isCampaignFlag1() { return campaignFlags[1]; }
    virtual void setCampaignFlag1(bool v) { campaignFlags[1] = v; }
    virtual bool isCampaignFlag2() { return campaignFlags[2]; }
    virtual void setCampaignFlag2(bool v) { campaignFlags[2] = v; }
    virtual bool isCampaignFlag3() { return campaignFlags[3]; }
    virtual void setCampaignFlag3(bool v) { campaignFlags[3] = v; }
    virtual bool isCampaignFlag4() { return campaignFlags[4]; }
    virtual void setCampaignFlag4(bool v) { campaignFlags[4] = v; }
    virtual bool isCampaignFlag5() { return campaignFlags[5]; }
    virtual void setCampaignFlag5(bool v) { campaignFlags[5] = v; }
    virtual bool isCampaignFlag6() { return campaignFlags[6]; }
    virtual void setCampaignFlag6(bool v) { campaignFlags[6] = v; }
    virtual bool isRewardsOff() { return rewardsOff; }
    virtual void setRewardsOff(bool v) { rewardsOff = v; }

    // Names the element and campaign code uses for the same fields.
    int32_t getGameMode() const { return gameMode; }
    void setGameMode(int32_t v) { gameMode = v; }
    int32_t getDay() const { return storyDay; }
    void setDay(int32_t v) { storyDay = v; }
    int32_t getStoryDay() const { return storyDay; }
    int32_t getPendingMana() const { return pendingMana; }
    void setPendingMana(int32_t v) { pendingMana = v; }
    int32_t getTreesBurnt() { return getTreesBurned(); }
    void setTreesBurnt(int32_t v) { setTreesBurned(v); }
    void setOilOnWater(bool v) { setOilBurned(v); }
    bool setFireplacePlanted(bool v) { campaignFlags[0] = v; return v; }
    bool isFireplacePlanted() const { return campaignFlags[0]; }
    bool setStructureBuilt(bool v) { campaignFlags[3] = v; return v; }
    bool isStructureBuilt() const { return campaignFlags[3]; }
    bool getCampaignFlag(int index) const;
    void setCampaignFlag(int index, bool v);
    int32_t& acidRainCounter() { return dayEventCounters[DayEvent::Day20AcidWater]; }
    int32_t& waxCounter() { return dayEventCounters[DayEvent::Day29Wax]; }
    int32_t getBestDay(int mode) const;
    void setBestDay(int mode, int32_t day);
    cocos2d::CCString* getNickname() const { return nickname; }
    cocos2d::CCString* getPrivateKey() const { return privateKey; }
    bool isLoaded() const { return loaded; }

    // Progress block words (bounds-checked; an offset outside the block reads
    // 0 and ignores writes).
    int32_t getProgressWord(size_t offset) const;
    void setProgressWord(size_t offset, int32_t value);
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
    void setNicknameFromInput(cocos2d::CCObject* text);
    void setPrivateKey(cocos2d::CCString* text);
    void markElementUsed(cocos2d::CCString* name);
    void incrementElementCount(cocos2d::CCString* name);
    bool allElementsUsed();
    void countDay11Water();
    void countDay12Water();
    void countDay13Snow();
    void countDay20Gas();
    // The same counters under the names the element classes use.
    void countStoryDay11Steam() { countDay11Water(); }
    void countStoryDay12Ice() { countDay12Water(); }
    void countStoryDay13Snow() { countDay13Snow(); }
    void countStoryDay20Gas() { countDay20Gas(); }

    void setPendingCallback(cocos2d::CCObject* target, cocos2d::SEL_CallFunc selector);
    void setDuplicateNameHandler(cocos2d::CCObject* target, cocos2d::SEL_CallFunc selector);

    // The running version's number: the version string without its dots.
    static int32_t currentVersionNumber();

    // Test hook: drop the singleton's state and start from a new profile.
    static void resetInstanceForTests();

    // --- Fields, in record order; read and written directly by their users ---
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
    bool recordInSync = false; // this run has read or written the stored record
};

// Maps a game mode (0 story .. 10 Invasion) to its CampaignIndex; -1 when none.
int completionIndexForMode(int mode);

// The decimal digits of text, in order ("Achievement45" -> "45"), autoreleased.
cocos2d::CCString* extractDigits(cocos2d::CCString* text);
