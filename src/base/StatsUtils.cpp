#include "base/StatsUtils.h"

#include <cmath>

USING_NS_CC;

namespace StatsUtils {

namespace {

int g_modeTracker = -2;
double g_dayStartTime = 0.0;
EventSink g_sink;

std::string textOf(CCString* text)
{
    return text ? text->getString() : std::string();
}

// Builds the event and drops it; a sink, when attached, sees it first.
void raise(CCString* name, std::vector<json::NodePtr> parameters)
{
    if (g_sink && name)
        g_sink(name->getString(), parameters);
}

void raiseModeEvent(const char* name)
{
    std::vector<json::NodePtr> parameters;
    if (g_modeTracker == -2) {
        parameters.push_back(json::cstringNode("From", "None"));
        parameters.push_back(json::cstringNode("Previous Story Level", ""));
    } else if (g_modeTracker == -1) {
        parameters.push_back(json::cstringNode("From", "Free Mode"));
        parameters.push_back(json::cstringNode("Previous Story Level", ""));
    } else {
        parameters.push_back(json::cstringNode("From", "Story Mode"));
        parameters.push_back(json::intNode("Previous Story Level", g_modeTracker));
    }
    raise(CCString::createWithFormat("%s", name), std::move(parameters));
}

void raiseWithText(const char* name, const char* key, CCString* value)
{
    raise(CCString::createWithFormat("%s", name), {json::stringNode(key, textOf(value))});
}

}  // namespace

void openedGame()
{
    raise(CCString::createWithFormat("Opened game"), {});
}

void wentToStoryMode()
{
    raiseModeEvent("Went to Story Mode");
}

void wentToFreeMode()
{
    raiseModeEvent("Went to Free Mode");
    g_modeTracker = -1;
}

void wentToGallery()
{
    raiseModeEvent("Went to Gallery");
    g_modeTracker = -1;
}

void wentToDailyQuest()
{
    raiseModeEvent("Went to Daily Quest");
    g_modeTracker = -1;
}

void openedElementpedia(CCString* from)
{
    raiseWithText("Opened Elementpedia", "From", from);
}

void clickedSocial(CCString* service)
{
    raiseWithText("Clicked Social", "Service", service);
}

void openedShop(CCString* from)
{
    raiseWithText("Opened Shop", "From", from);
}

void boughtElement(CCString* name, int manaCost)
{
    raise(CCString::createWithFormat("Bought Element"),
          {json::stringNode("Name", textOf(name)), json::intNode("ManaCost", manaCost)});
}

void boughtBackground(CCString* name, int manaCost)
{
    raise(CCString::createWithFormat("Bought Background"),
          {json::stringNode("Name", textOf(name)), json::intNode("ManaCost", manaCost)});
}

void boughtHint(int firstLevel, int secondLevel, double hint)
{
    raise(CCString::createWithFormat("Bought Hint"),
          {json::intNode("Level", static_cast<int64_t>(firstLevel) * 1000 + secondLevel),
           json::doubleNode("Hint", hint)});
}

void appliedFilter(CCString* filter)
{
    raiseWithText("Applied Filter", "Filter", filter);
}

void appliedSearch(CCString* searchString, CCString* filter)
{
    raise(CCString::createWithFormat("Applied Search"),
          {json::stringNode("SearchString", textOf(searchString)), json::stringNode("Filter", textOf(filter))});
}

void loadedWorld(CCString* worldName, int worldId)
{
    raise(CCString::createWithFormat("Loaded World"),
          {json::stringNode("World Name", textOf(worldName)), json::intNode("World ID", worldId)});
}

void ratedWorld(CCString* worldName, int worldId, int rating)
{
    raise(CCString::createWithFormat("Rated World"),
          {json::stringNode("World Name", textOf(worldName)), json::intNode("World ID", worldId),
           json::intNode("Rating", rating)});
}

void worldReset(CCString* from)
{
    raiseWithText("World Reset", "From", from);
}

void earnedExternalMana(CCString* source, int amount)
{
    raise(CCString::createWithFormat("Earned External Mana"),
          {json::stringNode("Source", textOf(source)), json::intNode("Amount", amount)});
}

void startDay(int first, int second)
{
    if (first < 0 || second < 0)
        return;
    g_dayStartTime = 0.0;
    g_modeTracker = second;
    raise(CCString::createWithFormat("Start Day %d_%d", first, second), {json::doubleNode("Start time", 0.0)});
}

void endDay(int first, int second)
{
    if (first < 0 || second < 0)
        return;
    double endTime = 0.0;
    double delta = std::ceil((endTime - g_dayStartTime) / 15.0) * 15.0;
    raise(CCString::createWithFormat("End Day %d_%d", first, second),
          {json::doubleNode("Start time", g_dayStartTime), json::doubleNode("End time", endTime),
           json::doubleNode("Delta time", delta)});
}

void setEventSink(EventSink sink)
{
    g_sink = std::move(sink);
}

int modeTracker()
{
    return g_modeTracker;
}

double dayStartTime()
{
    return g_dayStartTime;
}

void resetForTests()
{
    g_modeTracker = -2;
    g_dayStartTime = 0.0;
    g_sink = nullptr;
}

}  // namespace StatsUtils
