#include "profile/Profile.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "base/Utils.h"
#include "profile/BackgroundId.h"
#include "profile/ProfileFile.h"
#include "world/GameServices.h"
#include "world/WorldHost.h"
#include "base/StatsUtils.h"
#include "platform/GameClock.h"

USING_NS_CC;

namespace {

Profile* g_instance = nullptr;

// The starting purchased elements.
// clang-format off
const char* const kStartingElements[] = {
    "Soil", "Water", "Stone", "ConveyorBeltL", "ConveyorBeltR", "Laser", "Insulator", "Pipe", "PipeIn",
    "PipeOut", "LedGreen", "Cooler", "Void", "Steam", "BuilderDust", "LedBlue", "Gas", "VeryColdSensor",
    "Mud", "Wall", "Ice", "Multi", "Zircon", "Bright", "Electro", "VeryHotSensor", "Diamond", "Snow",
    "NormalSensor", "Fire", "Wax", "Ruby", "LightSensor", "CrossWire", "Power", "MinerDust", "Amatist",
    "Sapphire", "LedPurple", "Seed", "Note", "Sand", "Metal", "Obsidian", "WoodcutterDust", "Lapislazuli",
    "Oil", "ColdSensor", "Citrine", "LiquidSensor", "SeedBaobab", "AVirus", "Virus", "Bulb", "HotSensor",
    "LedOrange", "Heater", "Lava", "HumanLeader", "RobotLeader", "HunterDust", "SeedDracaena", "Tnt",
    "Glass", "SeedBonsai", "Acid", "LedYellow", "Wood", "LedRed", "Emerald", "GasSensor", "HumanSensor",
    "SpacemanDust", "Aluminite",
};
// clang-format on

// Elements counted while painted in free play.
const char* const kCountedElements[] = {
    "Virus", "AVirus", "Heater", "Cooler", "Multi", "Oil", "Bright", "Bulb", "Fire",
};

// Elements whose first use in free play is recorded.
const char* const kUsedElements[] = {
    "Soil",  "Water",  "Stone", "Electro", "Fire",   "Seed", "Mud",  "Sand",  "Steam",  "Glass",
    "Wood",  "Metal",  "Bulb",  "Ice",     "Bright", "Lava", "Wall", "Multi", "Heater", "Cooler",
    "Virus", "AVirus", "Acid",  "Oil",     "Gas",    "Wax",  "Snow", "Note",  "Power",  "Void",
};

// Basic elements: mana spent on them is counted apart.
const char* const kBasicElements[] = {
    "Electro", "Fire", "Seed",   "Mud",  "Sand",  "Steam",  "Glass",  "Wood",  "Metal",
    "Bulb",    "Ice",  "Bright", "Lava", "Multi", "Heater", "Cooler", "Virus", "AVirus",
    "Acid",    "Oil",  "Gas",    "Wax",  "Snow",  "Wall",   "Note",   "Power", "Void",
};

bool arrayHoldsText(CCArray* array, const std::string& text)
{
    if (!array)
        return false;
    for (CCObject* object : *array) {
        auto* string = dynamic_cast<CCString*>(object);
        if (string && string->getString() == text)
            return true;
    }
    return false;
}

void replaceString(CCString*& field, const std::string& text)
{
    CCString* fresh = new CCString(text.c_str());
    if (field)
        field->release();
    field = fresh;
}

void playProfileSound(const char* name)
{
    if (gameServices().playSound)
        gameServices().playSound(name);
}

}  // namespace

Profile* Profile::getInstance()
{
    if (!g_instance)
        g_instance = new Profile();
    return g_instance;
}

void Profile::resetInstanceForTests()
{
    if (g_instance)
        g_instance->release();
    g_instance = new Profile();
}

Profile::Profile()
{
    countedElements = nullptr;
    purchasedElements = purchasedBackgrounds = unlockedBackgrounds = nullptr;
    rewardsOff = false;
    loaded = false;
    nickname = privateKey = nullptr;
    playerId = 0;
    resetToDefaults();
}

Profile::~Profile()
{
    CC_SAFE_RELEASE(privateKey);
    CC_SAFE_RELEASE(nickname);
    CC_SAFE_RELEASE(countedElements);
    CC_SAFE_RELEASE(elementsUsed);
    CC_SAFE_RELEASE(purchasedElements);
    CC_SAFE_RELEASE(purchasedBackgrounds);
    CC_SAFE_RELEASE(unlockedBackgrounds);
    CC_SAFE_RELEASE(pendingCallbackTarget);
    CC_SAFE_RELEASE(duplicateNameTarget);
}

void Profile::resetToDefaults()
{
    musicVolume = 100;
    effectsVolume = 100;
    settingsFlag = false;
    rewardsOff = false;
    if (gameServices().setMusicVolume)
        gameServices().setMusicVolume(1.0f);
    if (gameServices().setEffectsVolume)
        gameServices().setEffectsVolume(static_cast<float>(effectsVolume / 100.0));

    replaceString(nickname, "Unnamed");
    replaceString(privateKey, "Unconfigured");

    for (int32_t& day : bestDay)
        day = 1;
    levelPoints = 0;
    mana = 3500;
    pendingMana = 0;
    dailyQuestOpenCache = true;
    pouredPixels = 0;
    std::memset(dayEventCounters, 0, sizeof(dayEventCounters));
    treesGrown = 0;
    playerId = 0;
    std::memset(campaignFlags, 0, sizeof(campaignFlags));

    lastLoginTime = platform::gameTime();
    loginStreak = 0;
    std::memset(levelHints, 0, sizeof(levelHints));
    std::memset(progressBlock, 0, sizeof(progressBlock));
    std::memset(achievementUnlocked, 0, sizeof(achievementUnlocked));
    freePlayTime = 0;
    freePlayStamp = platform::gameTime();
    std::memset(playTimeMilestones, 0, sizeof(playTimeMilestones));

    CC_SAFE_RELEASE(countedElements);
    countedElements = new CCDictionary();
    for (const char* name : kCountedElements)
        countedElements->setObject(CCInteger::create(0), name);

    CC_SAFE_RELEASE(elementsUsed);
    elementsUsed = new CCDictionary();
    for (const char* name : kUsedElements)
        elementsUsed->setObject(CCInteger::create(0), name);

    CC_SAFE_RELEASE(purchasedElements);
    purchasedElements = new CCArray();
    for (const char* name : kStartingElements)
        purchasedElements->addObject(CCString::create(name));

    CC_SAFE_RELEASE(purchasedBackgrounds);
    purchasedBackgrounds = new CCArray();
    CC_SAFE_RELEASE(unlockedBackgrounds);
    unlockedBackgrounds = new CCArray();

    setProgressWord(ProgressWord::DailyQuestOpen, 1);
    setProgressWord(ProgressWord::DailyQuestIndex, -1);
    storyDay = 0;
    gameMode = 0;
    gasCount = 0;
    treesBurned = 0;
    dayStarted = false;
    oilBurned = false;
}

// --- Small accessors -------------------------------------------------------

bool Profile::getCampaignFlag(int index) const
{
    return index >= 0 && index < kCampaignFlagCount && campaignFlags[index];
}

uint8_t Profile::getAchievementUnlocked(int slot) const
{
    return slot >= 0 && slot < kAchievementSlots ? achievementUnlocked[slot] : 0;
}

void Profile::setAchievementUnlocked(int slot, uint8_t v)
{
    if (slot >= 0 && slot < kAchievementSlots)
        achievementUnlocked[slot] = v;
}

uint32_t Profile::getLevelHint(int slot) const
{
    return slot >= 0 && slot < kLevelHintSlots ? levelHints[slot] : 0;
}

void Profile::setLevelHint(int slot, uint32_t v)
{
    if (slot >= 0 && slot < kLevelHintSlots)
        levelHints[slot] = v;
}

void Profile::setCampaignFlag(int index, bool v)
{
    if (index >= 0 && index < kCampaignFlagCount)
        campaignFlags[index] = v;
}

int32_t Profile::getBestDay(int mode) const
{
    return (mode >= 0 && mode < kModeSlots) ? bestDay[mode] : 0;
}

void Profile::setBestDay(int mode, int32_t day)
{
    if (mode >= 0 && mode < kModeSlots)
        bestDay[mode] = day;
}

int32_t Profile::getProgressWord(size_t offset) const
{
    if (offset > sizeof(progressBlock) - 4)
        return 0;
    return ProfileFile::readInt32(progressBlock + offset);
}

void Profile::setProgressWord(size_t offset, int32_t value)
{
    if (offset > sizeof(progressBlock) - 4)
        return;
    ProfileFile::writeInt32(progressBlock + offset, value);
}

int32_t Profile::getCompletionFlag(int index) const
{
    if (index < 0 || index >= CampaignIndex::Count)
        return 0;
    return getProgressWord(ProgressWord::CompletionFlags + 4 * static_cast<size_t>(index));
}

void Profile::setCompletionFlag(int index, int32_t value)
{
    if (index < 0 || index >= CampaignIndex::Count)
        return;
    setProgressWord(ProgressWord::CompletionFlags + 4 * static_cast<size_t>(index), value);
}

int32_t Profile::currentVersionNumber()
{
    std::string version = gameServices().versionString ? gameServices().versionString() : "";
    std::string digits;
    for (char c : version)
        if (c != '.')
            digits += c;
    return static_cast<int32_t>(std::atoi(digits.c_str()));
}

// --- Daily login, mana and the free-play clock ------------------------------

void Profile::updateDailyLogin()
{
    int64_t now = platform::gameTime();
    // In double: the stored time comes from the file and may be anything, and
    // the difference of two int64 values can overflow.
    double elapsed = std::fabs(static_cast<double>(now) - static_cast<double>(lastLoginTime));
    int64_t days = static_cast<int64_t>(elapsed / 86400.0);
    if (days <= 0)
        return;
    lastLoginTime = now;
    if (days == 1) {
        // The streak comes from the file too.
        if (loginStreak < INT32_MAX)
            loginStreak += 1;
    } else {
        loginStreak = 0;
        setProgressWord(ProgressWord::StreakCounter0, 0);
        setProgressWord(ProgressWord::StreakCounter1, 0);
        setProgressWord(ProgressWord::StreakCounter2, 0);
    }
    save();
}

bool Profile::transferPendingMana()
{
    double share = static_cast<double>(pendingMana) * 0.1;
    // Rounded away from zero both ways: a charge (negative pending) rounded up
    // would leave its last nine units pending for good.
    int32_t moved = static_cast<int32_t>(share < 0 ? std::floor(share) : std::ceil(share));
    mana = ProfileFile::clampedSum(mana, moved);
    pendingMana -= moved;

    if (gameServices().refreshTopBarMana)
        gameServices().refreshTopBarMana();

    if (worldHost().isFreePlay()) {
        int64_t now = platform::gameTime();
        freePlayTime += now - freePlayStamp;
        freePlayStamp = now;
        if (!playTimeMilestones[0] && freePlayTime > 3600)
            playTimeMilestones[0] = true;
        else if (!playTimeMilestones[1] && freePlayTime > 10800)
            playTimeMilestones[1] = true;
        else if (!playTimeMilestones[2] && freePlayTime > 18000)
            playTimeMilestones[2] = true;
    }
    return moved > 0;
}

// --- Purchases ---------------------------------------------------------------

bool Profile::buyShopItem(CCString* elementName, ShopItem item)
{
    LOG_TRACE;
    // An unknown category is refused before any mana is taken.
    if (item.category != 0 && item.category != 1 && item.category != 2) {
        LOG_ERROR << "Requested to start shop transaction with unsupported category: " << item.category;
        return false;
    }
    if (item.category != 2) {
        if (item.price > mana)
            return false;
        mana -= item.price;
    }
    if (gameServices().gameLayerExists && gameServices().gameLayerExists() && gameServices().refreshTopBarMana)
        gameServices().refreshTopBarMana();

    item.name[sizeof(item.name) - 1] = '\0';
    switch (item.category) {
    case 0: {
        std::string name = elementName ? elementName->getString() : std::string();
        StatsUtils::boughtElement(CCString::create(name), item.price);
        if (elementName && !hasPurchasedElement(elementName)) {
            purchasedElements->addObject(CCString::create(name));
            setProgressWord(ProgressWord::ElementsBought, getProgressWord(ProgressWord::ElementsBought) + 1);
            if (isBasicElement(elementName))
                setProgressWord(ProgressWord::ManaSpentOnBasics,
                                getProgressWord(ProgressWord::ManaSpentOnBasics) + item.price);
        }
        playProfileSound("sfx_gui_buy");
        break;
    }
    case 1: {
        const std::string id = backgroundIdOf(item.name);
        StatsUtils::boughtBackground(CCString::create(id), item.price);
        purchasedBackgrounds->addObject(CCString::create(id));
        playProfileSound("sfx_gui_buy");
        if (gameServices().gameLayerExists && gameServices().gameLayerExists() &&
            gameServices().gameLayerIsRunningSceneFirstChild && gameServices().gameLayerIsRunningSceneFirstChild() &&
            gameServices().changeBackground)
            gameServices().changeBackground(id + ".png", false);
        break;
    }
    case 2:
        if (gameServices().showMessagePopup)
            gameServices().showMessagePopup("NotificationParentalControl");
        break;
    }
    save();
    return true;
}

bool Profile::hasPurchasedElement(CCString* name)
{
    return name && arrayHoldsText(purchasedElements, name->getString());
}

bool Profile::hasPurchasedBackground(CCString* name)
{
    return name && arrayHoldsText(purchasedBackgrounds, name->getString());
}

bool Profile::hasUnlockedBackground(CCString* name)
{
    return name && arrayHoldsText(unlockedBackgrounds, name->getString());
}

bool Profile::isBasicElement(CCString* name)
{
    if (!name)
        return false;
    for (const char* basic : kBasicElements)
        if (name->getString() == basic)
            return true;
    return false;
}

// --- Campaigns ---------------------------------------------------------------

int completionIndexForMode(int mode)
{
    using namespace CampaignIndex;
    switch (mode) {
    case 0: return Story;
    case 1: return Music;
    case 2: return Contraptions;
    case 3: return Dinosaurs;
    case 4: return PixelArt;
    case 5: return Human;
    case 6: return UserMade;
    case 7: return LasersAndPipes;
    case 8: return Zombie;
    case 9: return Robot;
    case 10: return Invasion;
    default: return -1;
    }
}

std::vector<int> campaignOpeners(int mode)
{
    switch (mode) {
    case 1: return {4, 6};
    case 2: return {0};
    case 3: return {1, 7};
    case 4: return {0};
    case 6: return {2, 3};
    case 7: return {2, 1};
    case 8: return {5};
    case 9: return {5};
    case 10: return {8, 9};
    default: return {};
    }
}

bool Profile::isCampaignUnlocked(int mode)
{
    if (completionIndexForMode(mode) < 0)
        return false;
    const std::vector<int> openers = campaignOpeners(mode);
    return openers.empty() || std::any_of(openers.begin(), openers.end(), [this](int opener) {
               return getCompletionFlag(completionIndexForMode(opener)) == 1;
           });
}

// --- Nickname and server account --------------------------------------------

bool Profile::hasNickname()
{
    return nickname && nickname->getString() != "Unnamed";
}

bool Profile::isRegistered()
{
    return privateKey && privateKey->getString() != "Unconfigured";
}

void Profile::ensureRegistered()
{
    if (!hasNickname()) {
        if (gameServices().showNicknameKeyboard)
            gameServices().showNicknameKeyboard(nullptr, this, LocalUtils::localize("NameInputTitle"));
        return;
    }
    if (!isRegistered()) {
        CCObject* target = this;
        SEL_CallFunc selector = callfunc_selector(Profile::showDuplicateNickname);
        if (duplicateNameTarget && duplicateNameSelector) {
            target = duplicateNameTarget;
            selector = duplicateNameSelector;
        }
        if (gameServices().createPlayer)
            gameServices().createPlayer(this, target, selector);
        return;
    }
    runPendingCallback();
}

void Profile::runPendingCallback()
{
    CCObject* target = pendingCallbackTarget;
    SEL_CallFunc selector = pendingCallbackSelector;
    // Cleared first: the callback may store a new one.
    pendingCallbackTarget = nullptr;
    pendingCallbackSelector = nullptr;
    if (target && selector)
        (target->*selector)();
    CC_SAFE_RELEASE(target);
}

void Profile::setPendingCallback(CCObject* target, SEL_CallFunc selector)
{
    CC_SAFE_RETAIN(target);
    CC_SAFE_RELEASE(pendingCallbackTarget);
    pendingCallbackTarget = target;
    pendingCallbackSelector = selector;
}

void Profile::dropPendingCallback()
{
    if (pendingCallbackTarget || pendingCallbackSelector)
        LOG << "no name given: what waited for it does not go on";
    CC_SAFE_RELEASE(pendingCallbackTarget);
    pendingCallbackTarget = nullptr;
    pendingCallbackSelector = nullptr;
}

void Profile::setDuplicateNameHandler(CCObject* target, SEL_CallFunc selector)
{
    CC_SAFE_RETAIN(target);
    CC_SAFE_RELEASE(duplicateNameTarget);
    duplicateNameTarget = target;
    duplicateNameSelector = selector;
}

void Profile::showDuplicateNickname()
{
    if (gameServices().showNicknameKeyboard)
        gameServices().showNicknameKeyboard(nullptr, this, LocalUtils::localize("NameDuplicate"));
}

void Profile::setNickname(CCString* text)
{
    if (!text)
        return;
    // A registration kept for the name before is not this name's.
    if (!nickname || nickname->getString() != text->getString())
        clearRegistrationRequestId();
    replaceString(nickname, text->getString());
}

std::string Profile::requestIdAt(size_t offset) const
{
    std::string id;
    bool kept = false;
    for (size_t word = 0; word < 16; word += 4) {
        const auto value = static_cast<uint32_t>(getProgressWord(offset + word));
        kept = kept || value != 0;
        char hex[9];
        std::snprintf(hex, sizeof hex, "%08x", value);
        id += hex;
    }
    return kept ? id : std::string();
}

bool Profile::setRequestIdAt(size_t offset, const std::string& id)
{
    const bool fits = id.size() == 32 && id.find_first_not_of("0123456789abcdef") == std::string::npos;
    for (size_t word = 0; word < 4; ++word) {
        const uint32_t value = fits ? static_cast<uint32_t>(std::stoul(id.substr(8 * word, 8), nullptr, 16)) : 0;
        setProgressWord(offset + 4 * word, static_cast<int32_t>(value));
    }
    return fits;
}

std::string Profile::registrationRequestId() const
{
    return requestIdAt(ProgressWord::RegistrationRequest);
}

void Profile::setRegistrationRequestId(const std::string& id)
{
    setRequestIdAt(ProgressWord::RegistrationRequest, id);
}

namespace {

size_t uploadRequestAt(int slot)
{
    constexpr size_t kEntryBytes = 24;
    return slot == 0 ? ProgressWord::UploadRequest
                     : ProgressWord::MoreUploadRequests + kEntryBytes * static_cast<size_t>(slot - 1);
}

}  // namespace

std::vector<Profile::UploadRequestEntry> Profile::uploadRequests() const
{
    std::vector<UploadRequestEntry> entries;
    for (int slot = 0; slot < kUploadRequests; ++slot) {
        const size_t at = uploadRequestAt(slot);
        UploadRequestEntry entry{requestIdAt(at), 0};
        entry.world = static_cast<uint64_t>(static_cast<uint32_t>(getProgressWord(at + 16))) << 32 |
            static_cast<uint32_t>(getProgressWord(at + 20));
        if (!entry.id.empty())
            entries.push_back(entry);
    }
    return entries;
}

void Profile::setUploadRequests(const std::vector<UploadRequestEntry>& entries)
{
    const UploadRequestEntry blank;
    for (int slot = 0; slot < kUploadRequests; ++slot) {
        const size_t at = uploadRequestAt(slot);
        const UploadRequestEntry& entry = static_cast<size_t>(slot) < entries.size() ? entries[slot] : blank;
        // No id kept is about no world.
        const uint64_t world = setRequestIdAt(at, entry.id) ? entry.world : 0;
        setProgressWord(at + 16, static_cast<int32_t>(static_cast<uint32_t>(world >> 32)));
        setProgressWord(at + 20, static_cast<int32_t>(static_cast<uint32_t>(world)));
    }
}

std::string Profile::uploadRequestFor(uint64_t world) const
{
    for (const UploadRequestEntry& entry : uploadRequests())
        if (entry.world == world)
            return entry.id;
    return std::string();
}

void Profile::keepUploadRequest(const std::string& id, uint64_t world)
{
    std::vector<UploadRequestEntry> entries = uploadRequests();
    std::erase_if(entries, [&](const UploadRequestEntry& entry) { return entry.world == world; });
    entries.insert(entries.begin(), {id, world});
    if (entries.size() > static_cast<size_t>(kUploadRequests))
        entries.resize(kUploadRequests);
    setUploadRequests(entries);
}

bool Profile::clearUploadRequest(const std::string& id)
{
    std::vector<UploadRequestEntry> entries = uploadRequests();
    if (id.empty() || !std::erase_if(entries, [&](const UploadRequestEntry& entry) { return entry.id == id; }))
        return false;
    setUploadRequests(entries);
    return true;
}

void Profile::setNicknameFromInput(CCObject* text)
{
    auto* string = dynamic_cast<CCString*>(text);
    if (!string) {
        LOG_ERROR << "nickname input without text";
        return;
    }
    const std::string name = trimmedText(string->getString());
    // Blanks are no name: the keyboard stays up and says so, as the name
    // screen's does. (What it asks is its hint, never text.)
    if (name.empty()) {
        LOG << "nickname keyboard: no name typed; the keyboard stays up";
        if (gameServices().showNicknameKeyboard)
            gameServices().showNicknameKeyboard(nullptr, this, LocalUtils::localize("NameInputEmpty"));
        return;
    }
    setNickname(CCString::create(name));
    ensureRegistered();
}

void Profile::setPrivateKey(CCString* text)
{
    if (text)
        replaceString(privateKey, text->getString());
}

// --- Free-play element counters -----------------------------------------------

void Profile::markElementUsed(CCString* name)
{
    if (!name || !worldHost().isFreePlay())
        return;
    // Called for every painted cell: no new box once the name is marked.
    auto* current = dynamic_cast<CCInteger*>(elementsUsed->objectForKey(name->getString()));
    if (current && current->getValue() == 1)
        return;
    elementsUsed->setObject(CCInteger::create(1), name->getString());
}

void Profile::incrementElementCount(CCString* name)
{
    if (!name || !worldHost().isFreePlay())
        return;
    auto* current = dynamic_cast<CCInteger*>(countedElements->objectForKey(name->getString()));
    countedElements->setObject(CCInteger::create(current ? current->getValue() + 1 : 1), name->getString());
}

bool Profile::allElementsUsed()
{
    CCDictElement* element = nullptr;
    CCDICT_FOREACH(elementsUsed, element)
    {
        auto* value = dynamic_cast<CCInteger*>(element->getObject());
        if (!value || value->getValue() == 0)
            return false;
    }
    return true;
}

// --- Story-day counters -------------------------------------------------------

void Profile::countStoryDay11Steam()
{
    if (storyDay == 11 && gameServices().temperatureLabelIsNormal && gameServices().temperatureLabelIsNormal())
        dayEventCounters[DayEvent::Day11Water] += 1;
}

void Profile::countStoryDay12Ice()
{
    if (storyDay == 12 && gameServices().loadedWorldName && gameServices().loadedWorldName() == "Day12")
        dayEventCounters[DayEvent::Day12Water] += 1;
}

void Profile::countStoryDay13Snow()
{
    if (storyDay == 13 && gameServices().temperatureLabelIsNormal && gameServices().temperatureLabelIsNormal())
        dayEventCounters[DayEvent::Day13Snow] += 1;
}

void Profile::countStoryDay20Gas()
{
    if (storyDay == 20 && gameServices().loadedWorldName && gameServices().loadedWorldName() == "Day20")
        dayEventCounters[DayEvent::Day20Gas] += 1;
    if (worldHost().isFreePlay())
        gasCount += 1;
}

// --- Daily quest ---------------------------------------------------------------

void Profile::setDailyQuestOpen(bool open)
{
    LOG << (open ? "true" : "false");
    dailyQuestOpenCache = open;
    setProgressWord(ProgressWord::DailyQuestOpen, open ? 1 : 0);
    save();
}

CCString* extractDigits(CCString* text)
{
    std::string digits;
    if (text)
        for (char c : text->getString())
            if (c >= '0' && c <= '9')
                digits += c;
    return CCString::create(digits);
}
