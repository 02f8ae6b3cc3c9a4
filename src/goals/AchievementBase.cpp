#include "goals/AchievementBase.h"

USING_NS_CC;

namespace {

// Kept for the whole run: a goal may hand its text to anyone at any time.
CCString* runLongString(const char* text)
{
    return new CCString(text);
}

}  // namespace

CCString* AchievementBase::getName()
{
    static CCString* name = runLongString("AchievementBase");
    return name;
}

CCString* AchievementBase::getKey()
{
    static CCString* key = runLongString("AchievementBase");
    return key;
}

CCString* AchievementBase::getBriefing()
{
    static CCString* briefing = runLongString("Well, this is awkward.");
    return briefing;
}

int64_t AchievementBase::getRewardDelay()
{
    return 0;
}

AchievementBase::~AchievementBase() = default;
