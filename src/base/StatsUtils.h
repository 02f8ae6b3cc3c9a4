#pragma once
// Analytics events: each call builds the event's name and parameters and
// drops them. Nothing is sent, stored or logged. The mode tracker feeds the
// "From" parameter of the mode events.
#include <functional>
#include <string>
#include <vector>

#include "cocos2d.h"
#include "base/json/Json.h"

namespace StatsUtils {

void openedGame();
void wentToStoryMode();
void wentToFreeMode();
void wentToGallery();
void wentToDailyQuest();
void openedElementpedia(cocos2d::CCString* from);
void clickedSocial(cocos2d::CCString* service);
void openedShop(cocos2d::CCString* from);
void boughtElement(cocos2d::CCString* name, int manaCost);
void boughtBackground(cocos2d::CCString* name, int manaCost);
void boughtHint(int firstLevel, int secondLevel, double hint);
void appliedFilter(cocos2d::CCString* filter);
void appliedSearch(cocos2d::CCString* searchString, cocos2d::CCString* filter);
void loadedWorld(cocos2d::CCString* worldName, int worldId);
void ratedWorld(cocos2d::CCString* worldName, int worldId, int rating);
void worldReset(cocos2d::CCString* from);
void earnedExternalMana(cocos2d::CCString* source, int amount);
void startDay(int first, int second);
void endDay(int first, int second);

// The point where an analytics backend would receive each event. None is
// attached in the game; tests attach one to see what was built.
using EventSink = std::function<void(const std::string& name, const std::vector<json::NodePtr>& parameters)>;
void setEventSink(EventSink sink);

// -2 none yet, -1 free mode / gallery / daily quest, >= 0 the last story level.
int modeTracker();
double dayStartTime();
// Test hook: tracker -2, start time 0.0, no sink.
void resetForTests();

}  // namespace StatsUtils
