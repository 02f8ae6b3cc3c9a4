#include "goals/GoalFunctions.h"

#include <cctype>
#include <charconv>

#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "goals/AchievementManager.h"
#include "goals/GoalsUi.h"
#include "profile/Profile.h"
#include "profile/ProfileFile.h"
#include "world/ParticleCreator.h"
#include "world/WorldHost.h"

USING_NS_CC;

namespace {

std::string textOf(CCString* s)
{
    return s ? s->getString() : std::string();
}

// A whole number written as such ("120", "-5"); anything else is none.
bool wholeNumber(CCObject* value, int32_t& out)
{
    if (auto* i = dynamic_cast<CCInteger*>(value)) {
        out = i->getValue();
        return true;
    }
    auto* text = dynamic_cast<CCString*>(value);
    if (!text)
        return false;
    const std::string& s = text->getString();
    const char* first = s.data();
    const char* last = s.data() + s.size();
    auto [end, error] = std::from_chars(first, last, out);
    return error == std::errc() && end == last && first != last;
}

// The game mode's slot of the best days; -1 for modes that keep none.
int bestDaySlot(int32_t mode)
{
    return mode >= 0 && mode < Profile::kModeSlots ? mode : -1;
}

void unlockItem(DayItem kind, CCString* name)
{
    const std::string item = textOf(name);
    if (!isKnownDayItem(kind, item))
        return;
    goalsUi().unlock(kind, item);
}

void announce(const std::string& text, const std::string& icon)
{
    // Unattended runs read what the player was told from the log.
    LOG << "notice:" << text;
    goalsUi().showNotification(text, icon);
    Profile* profile = Profile::getInstance();
    profile->setProgressWord(ProgressWord::AnnouncementCounter,
                             ProfileFile::clampedSum(profile->getProgressWord(ProgressWord::AnnouncementCounter), 1));
}

std::string withVar(const char* key, const std::string& value)
{
    return textOf(LocalUtils::localizeWithVar(key, value.c_str()));
}

template <class Each> void forEachName(CCArray* list, Each each)
{
    if (!list)
        return;
    for (CCObject* o : *list)
        if (auto* s = dynamic_cast<CCString*>(o))
            each(s->getString());
}

}  // namespace

bool isWorldNamed(CCString* name)
{
    return name && goalsUi().loadedWorldName() == name->getString();
}

bool wasElementCreated(CCString* name)
{
    CCDictionary* created = ParticleCreator::getElementsCreated();
    if (!created || !name)
        return false;
    auto* count = dynamic_cast<CCInteger*>(created->objectForKey(name->getString()));
    return count && count->getValue() != 0;
}

void resetElementCreated(CCString* name)
{
    CCDictionary* created = ParticleCreator::getElementsCreated();
    if (!created || !name)
        return;
    const std::string element = name->getString();
    if (!created->objectForKey(element) && !ParticleCreator::isAccepted(hashString(element)))
        return;
    created->setObject(CCInteger::create(0), element);
}

bool isZoomDone()
{
    return goalsUi().overviewUsed();
}

void resetZoomDone()
{
    goalsUi().setOverviewUsed(false);
}

void setStoryLevel2Flag()
{
    goalsUi().setStoryLevel2Flag();
}

int32_t getMissionReward(CCString* key)
{
    return getMissionReward(textOf(key));
}

int32_t getMissionReward(const std::string& key)
{
    CCDictionary* file = CCDictionary::createWithContentsOfFile(kRewardsFile);
    auto* levels = dynamic_cast<CCDictionary*>(file->objectForKey("Levels"));
    int32_t amount = 0;
    if (!levels || key.empty() || !wholeNumber(levels->objectForKey(key), amount))
        return 0;
    return amount;
}

void grantExperience(int32_t amount)
{
    AchievementManager* goals = AchievementManager::getInstance();
    if (!worldHost().isFreePlay() && !(goals->isLive() && goals->isNewBestDay()))
        return;
    Profile* profile = Profile::getInstance();
    if (!profile->isRewardsOff())
        profile->setPendingMana(ProfileFile::clampedSum(profile->getPendingMana(), amount));
    profile->save();
}

bool levelEndGrantPays(int32_t nextDay)
{
    Profile* profile = Profile::getInstance();
    if (profile->isRewardsOff())
        return false;
    if (worldHost().isFreePlay())
        return true;
    const int slot = bestDaySlot(profile->getGameMode());
    return AchievementManager::getInstance()->isLive() && slot >= 0 && nextDay > profile->getBestDay(slot);
}

void setStoryDay(int32_t day)
{
    Profile* profile = Profile::getInstance();
    AchievementManager* goals = AchievementManager::getInstance();
    profile->setDay(day);
    const int slot = bestDaySlot(profile->getGameMode());
    if (slot >= 0 && day > profile->getBestDay(slot)) {
        profile->setBestDay(slot, day);
        goals->setNewBestDay(true);
    } else {
        goals->setNewBestDay(false);
    }
}

void unlockPaletteElement(CCString* name)
{
    unlockItem(DayItem::Element, name);
}

void unlockTool(CCString* name)
{
    unlockItem(DayItem::Tool, name);
}

void unlockOption(CCString* name)
{
    unlockItem(DayItem::Option, name);
}

void unlockBackground(const std::string& name)
{
    // The gallery and the shop know a background by its lower-case id.
    const std::string id = backgroundId(name);
    Profile* profile = Profile::getInstance();
    if (!id.empty() && !profile->hasUnlockedBackground(CCString::create(id)))
        profile->getUnlockedBackgrounds()->addObject(CCString::create(id));
}

void showLevelUp(CCArray* elements, CCArray* options, CCArray* backgrounds, CCArray* mana)
{
    // Also for a board that does not show (a replay, a day ended off
    // screen): what it names is owned all the same.
    forEachName(backgrounds, unlockBackground);
    if (AchievementManager::getInstance()->isLive())
        goalsUi().showDayCleared(elements, options, backgrounds, mana);
}

void showAnnouncement(CCArray* backgrounds, CCArray* amounts, CCString* message, CCArray* elements, CCArray* keys)
{
    forEachName(backgrounds, unlockBackground);
    Profile* profile = Profile::getInstance();
    if (!AchievementManager::getInstance()->isLive() || profile->getDay() < profile->getBestDay(profile->getGameMode()))
        return;
    if (message)
        announce(message->getString(), "");
    forEachName(elements, [](const std::string& element) {
        announce(withVar("AnouncementElementGeneric", elementTitle(element)), "HUDelement_" + element + ".png");
    });
    forEachName(keys, [](const std::string& item) {
        announce(withVar("AnouncementUniverseGeneric", itemTitle(item)), "HUDkey.png");
    });
    forEachName(backgrounds, [](const std::string& background) {
        announce(withVar("AnouncementUniverseGeneric", backgroundTitle(background)), "HUDplanet.png");
    });
    if (amounts)
        for (CCObject* o : *amounts) {
            int32_t amount = 0;
            if (wholeNumber(o, amount) && amount != 0)
                announce(withVar("AchievementManaEarned", std::to_string(amount)), "HUDMana.png");
        }
}

void showAchievementEarned(CCString* name)
{
    const std::string achievement = textOf(name);
    goalsUi().showNotification(localizedTextOr(achievement + "Name", achievement), "");
}

std::string localizedTextOr(const std::string& key, const std::string& fallback)
{
    auto* text = localizationTable ? dynamic_cast<CCString*>(localizationTable->objectForKey(key)) : nullptr;
    return text ? text->getString() : fallback;
}

std::string elementTitle(const std::string& name)
{
    return localizedTextOr(name + "Title", name);
}

std::string itemTitle(const std::string& name)
{
    return localizedTextOr(name + "Name", name);
}

std::string backgroundId(const std::string& name)
{
    std::string id = name;
    for (char& c : id)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return id;
}

std::string backgroundTitle(const std::string& name)
{
    std::string key = backgroundId(name);
    if (!key.empty())
        key[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(key[0])));
    return localizedTextOr(key + "BkgName", name);
}

std::string levelTitle(int32_t mode, int32_t day, bool complete)
{
    const std::string number = std::to_string(day);
    if (mode == 0)
        return LocalUtils::localizeWithVar(complete ? "BoardDayComplete" : "GoalsDayTitle", number.c_str())
            ->getString();
    if (mode < 1 || mode > 10)
        return std::string();
    const std::string campaign = "CampaignTitle" + std::to_string(mode);
    return LocalUtils::localizeWithVars(CCString::create(complete ? "BoardLevelComplete" : "GoalsLevelTitle"),
                                        LocalUtils::localize(campaign.c_str()), CCString::create(number))
        ->getString();
}
