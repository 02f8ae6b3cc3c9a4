#pragma once
// What goals call back into the framework for: tests of the world's name and
// of made elements, the overview flag, rewards, the day number and its
// first-time flag, unlocks, the day-cleared board and the announcements.
// Everything on screen goes through goalsUi() (goals/GoalsUi.h).
#include <cstdint>
#include <string>

#include "cocos2d.h"

// Where the mana rewards live: the dictionary "Levels" of this resource.
inline constexpr const char* kRewardsFile = "data/rewards.plist";

// The loaded world bears that name.
bool isWorldNamed(cocos2d::CCString* name);
// A particle of the element was made since its record was last reset.
bool wasElementCreated(cocos2d::CCString* name);
// Resets the element's record; a name the factory does not know changes
// nothing.
void resetElementCreated(cocos2d::CCString* name);
// The player left the magnified view on story day 2.
bool isZoomDone();
void resetZoomDone();
void setStoryLevel2Flag();

// The whole number under the key in "Levels" of the rewards file, read anew
// on every call; 0 when the file, the dictionary or the key is missing or
// the value is not a whole number.
int32_t getMissionReward(cocos2d::CCString* key);
int32_t getMissionReward(const std::string& key);
// The reward grant: in free play, or live on a day reached for the first
// time, the amount goes to the pending mana (unless rewards are off) and the
// profile is saved; otherwise nothing happens.
void grantExperience(int32_t amount);
// Whether the grant of a level end that passes nextDay to setStoryDay pays:
// the day-cleared board shows only mana that is paid.
bool levelEndGrantPays(int32_t nextDay);
// The profile's current day. Above the best day of the game mode it becomes
// the best and sets the first-time flag; otherwise (and in free play and
// daily quests, which keep no best day) the flag is cleared.
void setStoryDay(int32_t day);

// One element, tool or option more for the rest of the day; a name that is
// not one changes nothing.
void unlockPaletteElement(cocos2d::CCString* name);
void unlockTool(cocos2d::CCString* name);
void unlockOption(cocos2d::CCString* name);

// A background that a board or a notice names as unlocked: the player's
// from then on, in every mode (the profile's unlocked list holds its id).
void unlockBackground(const std::string& name);
// The day-cleared board with its lists (any may be null), in live play only;
// the backgrounds it names are unlocked whether it shows or not.
void showLevelUp(cocos2d::CCArray* elements, cocos2d::CCArray* options, cocos2d::CCArray* backgrounds,
                 cocos2d::CCArray* mana);
// The notices of a finished goal, live and on a day not below the mode's
// best: the message, then each element, key item, background and non-zero
// amount, in that order (any list may be null). Each notice counts once in
// the profile's announcement counter. The backgrounds are unlocked whether
// their notices show or not.
void showAnnouncement(cocos2d::CCArray* backgrounds, cocos2d::CCArray* amounts, cocos2d::CCString* message,
                      cocos2d::CCArray* elements, cocos2d::CCArray* keys);
// The notice of a user achievement: its localised "<name>Name".
void showAchievementEarned(cocos2d::CCString* name);

// Texts: the language table's text for the key, else the fallback.
std::string localizedTextOr(const std::string& key, const std::string& fallback);
// An element's title ("<name>Title"), a tool's or option's name
// ("<name>Name"), a background's name ("<Id>BkgName", the id lower-cased
// with its first letter upper-cased), each falling back to the name.
std::string elementTitle(const std::string& name);
std::string itemTitle(const std::string& name);
std::string backgroundTitle(const std::string& name);
// A background's id: its name lower-cased ("LightShow" -> "lightshow").
std::string backgroundId(const std::string& name);
// A day's or level's name: "Day 3", "Contraptions — level 4"; with complete,
// "Day 3 complete", "Contraptions — level 4 complete". Empty for a game mode
// without days.
std::string levelTitle(int32_t mode, int32_t day, bool complete);
