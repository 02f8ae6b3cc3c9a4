#include "campaigns/MissionRow.h"

#include "base/LocalUtils.h"
#include "goals/GoalFunctions.h"
#include "profile/Profile.h"
#include "profile/ProfileFile.h"
#include "world/GameServices.h"
#include "world/World.h"

USING_NS_CC;

namespace {

// The world's byte for an event (the electrified-metal event has a field of
// its own); null without a world.
uint8_t* eventByte(WorldEvent e)
{
    if (!gWorld)
        return nullptr;
    switch (e) {
    case WorldEvent::Saved: return &gWorld->eventFlags[World::kEventWorldSaved];
    case WorldEvent::Reset: return &gWorld->eventFlags[World::kEventWorldReset];
    case WorldEvent::Loaded: return &gWorld->eventFlags[World::kEventWorldLoaded];
    case WorldEvent::StoneMined: return &gWorld->eventFlags[World::kEventStoneMined];
    case WorldEvent::SparkMade: return &gWorld->eventFlags[World::kEventSparkMade];
    case WorldEvent::FillUsed: return &gWorld->eventFlags[World::kEventFillUsed];
    case WorldEvent::ReplaceUsed: return &gWorld->eventFlags[World::kEventReplaceUsed];
    case WorldEvent::None:
    case WorldEvent::MetalElectrified: break;
    }
    return nullptr;
}

bool anyTable(const MissionTerm& t, bool (*test)(MissionPattern))
{
    for (MissionPattern table : t.tables)
        if (table && test(table))
            return true;
    return false;
}

CCArray* listOf(CCObject* item)
{
    if (!item)
        return nullptr;
    CCArray* list = CCArray::create();
    list->addObject(item);
    return list;
}

CCString* textOrNull(const char* name)
{
    return name ? CCString::create(name) : nullptr;
}

}  // namespace

bool worldEventRaised(WorldEvent e)
{
    if (e == WorldEvent::MetalElectrified)
        return gWorld && gWorld->sparkOnMetal;
    const uint8_t* flag = eventByte(e);
    return flag && *flag != 0;
}

void setWorldEvent(WorldEvent e, bool raised)
{
    if (e == WorldEvent::MetalElectrified) {
        if (gWorld)
            gWorld->sparkOnMetal = raised;
        return;
    }
    if (uint8_t* flag = eventByte(e))
        *flag = raised ? 1 : 0;
}

int32_t dayCounter(DayCounter c)
{
    Profile* p = Profile::getInstance();
    switch (c) {
    case DayCounter::BoiledWater: return p->getDay11WaterCount();
    case DayCounter::FrozenWater: return p->getDay12WaterCount();
    case DayCounter::MeltedSnow: return p->getDay13SnowCount();
    case DayCounter::GasIgnitions: return p->getDay20GasCount();
    case DayCounter::AcidRain: return p->acidRainCounter();
    case DayCounter::None: break;
    }
    return 0;
}

void setDayCounter(DayCounter c, int32_t value)
{
    Profile* p = Profile::getInstance();
    switch (c) {
    case DayCounter::BoiledWater: p->setDay11WaterCount(value); break;
    case DayCounter::FrozenWater: p->setDay12WaterCount(value); break;
    case DayCounter::MeltedSnow: p->setDay13SnowCount(value); break;
    case DayCounter::GasIgnitions: p->setDay20GasCount(value); break;
    case DayCounter::AcidRain: p->acidRainCounter() = value; break;
    case DayCounter::None: break;
    }
}

bool termPasses(const MissionTerm& t)
{
    switch (t.kind) {
    case TermKind::None: return true;
    case TermKind::WorldNamed: return isWorldNamed(CCString::create(t.name));
    case TermKind::ElementMade: return wasElementCreated(CCString::create(t.name));
    case TermKind::Event: return worldEventRaised(t.event);
    case TermKind::CounterAtLeast: return dayCounter(t.counter) >= t.n;
    case TermKind::LightOn: return gWorld && gWorld->lightMap.isLightOn();
    case TermKind::SunOff: return gWorld && !gWorld->lightMap.isSunOn();
    case TermKind::TemperatureViewOff: return gWorld && !gWorld->temperatureField.isViewOn();
    // The same rule as the profile's day counters: the preset, whatever the
    // language calls it.
    case TermKind::TemperatureNormal:
        return gameServices().temperatureLabelIsNormal && gameServices().temperatureLabelIsNormal();
    case TermKind::ZoomDone: return isZoomDone();
    case TermKind::AllMatch: return anyTable(t, patternAllMatch);
    case TermKind::CountAtLeast: return t.tables[0] && patternCountAtLeast(t.tables[0], t.n);
    case TermKind::AllBulbsLit: return anyTable(t, patternAllBulbsLit);
    case TermKind::AllMatchPowered: return anyTable(t, patternAllMatchPowered);
    case TermKind::AnyMatchPowered: return anyTable(t, patternAnyMatchPowered);
    case TermKind::MatchesCarry: return t.tables[0] && patternMatchesCarryName(t.tables[0], CCString::create(t.name));
    case TermKind::ComposeSolved: return anyTable(t, composeSolved);
    case TermKind::Never: return false;
    }
    return false;
}

bool rowPasses(const MissionRow& row)
{
    for (const MissionTerm& t : row.test) {
        if (t.kind == TermKind::None)
            break;
        if (!termPasses(t))
            return false;
    }
    return true;
}

void rewardRow(const MissionRow& row)
{
    if (!row.rewardKey)
        return;
    Profile* profile = Profile::getInstance();
    profile->setLevelPoints(ProfileFile::clampedSum(profile->getLevelPoints(), row.points));
    grantExperience(getMissionReward(row.rewardKey));

    if (row.element)
        unlockPaletteElement(CCString::create(row.element));
    if (row.tool)
        unlockTool(CCString::create(row.tool));
    if (row.zeroCounter != DayCounter::None)
        setDayCounter(row.zeroCounter, 0);
    if (row.clearEvent != WorldEvent::None)
        setWorldEvent(row.clearEvent, false);
    if (row.clearZoom)
        resetZoomDone();

    CCString* name = LocalUtils::localize(row.nameKey);
    CCString* message = LocalUtils::localizeCCStringWithVar(CCString::create("AnouncementMissionGeneric"), name);
    const int32_t announced = getMissionReward(row.announceKey ? row.announceKey : row.rewardKey);
    showAnnouncement(listOf(textOrNull(row.background)), listOf(CCInteger::create(announced)), message,
                     listOf(textOrNull(row.element)), listOf(textOrNull(row.tool)));
}

CCString* RowMission::getName()
{
    return CCString::create(LocalUtils::localize(m_row.nameKey)->getString());
}

CCString* RowMission::getBriefing()
{
    return CCString::create(LocalUtils::localize(m_row.briefingKey)->getString());
}
