#pragma once
// Missions as data. A mission class is one constant row: its texts, reward
// delay, test terms, points share, reward keys and set-up. RowMission plays
// any row as a goal: the test is the row's terms left to right, stopping at
// the first that fails; the reward adds the points, pays the reward key by
// the grant rule, runs the set-up and announces the mission.
//
// Rows and the tables their terms read are constant for the whole run, so a
// mission object holds nothing but where its row is.
#include <array>
#include <cstdint>

#include "cocos2d.h"
#include "goals/AchievementBase.h"
#include "goals/MissionPattern.h"

// The world's one-shot event flags that missions wait for.
enum class WorldEvent : uint8_t {
    None,
    Saved,
    Reset,
    Loaded,
    StoneMined,
    MetalElectrified,
    SparkMade,
    FillUsed,
    ReplaceUsed,
};

// The profile's story-day counters.
enum class DayCounter : uint8_t {
    None,
    BoiledWater,
    FrozenWater,
    MeltedSnow,
    GasIgnitions,
    AcidRain,
};

enum class TermKind : uint8_t {
    None,  // ends the terms
    WorldNamed,
    ElementMade,
    Event,
    CounterAtLeast,
    LightOn,
    SunOff,
    TemperatureViewOff,
    // The ambient temperature preset is Normal (the setting, not the
    // translated label of the HUD).
    TemperatureNormal,
    ZoomDone,
    AllMatch,
    CountAtLeast,
    AllBulbsLit,
    AllMatchPowered,
    AnyMatchPowered,
    MatchesCarry,
    ComposeSolved,
    Never,
};

struct MissionTerm {
    static constexpr int kAlternatives = 4;

    TermKind kind = TermKind::None;
    // A world or element name, or the content a container must carry.
    const char* name = nullptr;
    int32_t n = 0;
    WorldEvent event = WorldEvent::None;
    DayCounter counter = DayCounter::None;
    // A table term passes when one of its tables does (most have one).
    std::array<MissionPattern, kAlternatives> tables{};
};

// The terms, one builder each.
namespace term {
constexpr MissionTerm world(const char* name)
{
    return {.kind = TermKind::WorldNamed, .name = name};
}
constexpr MissionTerm made(const char* element)
{
    return {.kind = TermKind::ElementMade, .name = element};
}
constexpr MissionTerm event(WorldEvent e)
{
    return {.kind = TermKind::Event, .event = e};
}
constexpr MissionTerm counterAtLeast(DayCounter c, int32_t n)
{
    return {.kind = TermKind::CounterAtLeast, .n = n, .counter = c};
}
inline constexpr MissionTerm lightOn{.kind = TermKind::LightOn};
inline constexpr MissionTerm sunOff{.kind = TermKind::SunOff};
inline constexpr MissionTerm temperatureViewOff{.kind = TermKind::TemperatureViewOff};
inline constexpr MissionTerm temperatureNormal{.kind = TermKind::TemperatureNormal};
inline constexpr MissionTerm zoomDone{.kind = TermKind::ZoomDone};
inline constexpr MissionTerm never{.kind = TermKind::Never};
constexpr MissionTerm allMatch(MissionPattern a, MissionPattern b = nullptr, MissionPattern c = nullptr,
                               MissionPattern d = nullptr)
{
    return {.kind = TermKind::AllMatch, .tables = {a, b, c, d}};
}
constexpr MissionTerm countAtLeast(MissionPattern t, int32_t n)
{
    return {.kind = TermKind::CountAtLeast, .n = n, .tables = {t}};
}
constexpr MissionTerm bulbsLit(MissionPattern t)
{
    return {.kind = TermKind::AllBulbsLit, .tables = {t}};
}
constexpr MissionTerm allPowered(MissionPattern t)
{
    return {.kind = TermKind::AllMatchPowered, .tables = {t}};
}
constexpr MissionTerm anyPowered(MissionPattern t)
{
    return {.kind = TermKind::AnyMatchPowered, .tables = {t}};
}
constexpr MissionTerm carry(MissionPattern t, const char* content)
{
    return {.kind = TermKind::MatchesCarry, .name = content, .tables = {t}};
}
constexpr MissionTerm compose(MissionPattern t)
{
    return {.kind = TermKind::ComposeSolved, .tables = {t}};
}
}  // namespace term

struct MissionRow {
    static constexpr int kTerms = 4;

    const char* className = nullptr;
    int32_t day = 0;
    const char* nameKey = nullptr;
    const char* briefingKey = nullptr;
    int64_t delay = 0;
    std::array<MissionTerm, kTerms> test{};
    int32_t points = 0;
    // Paid by the grant rule; none: the reward does nothing at all.
    const char* rewardKey = nullptr;
    // The amount announced; none: the reward key's.
    const char* announceKey = nullptr;
    // The set-up, in this order; the element and the tool are announced.
    const char* element = nullptr;
    const char* tool = nullptr;
    DayCounter zeroCounter = DayCounter::None;
    WorldEvent clearEvent = WorldEvent::None;
    bool clearZoom = false;
    // Announced only: nothing makes it available.
    const char* background = nullptr;
};

// The row's test, its terms left to right.
bool rowPasses(const MissionRow& row);
bool termPasses(const MissionTerm& t);
// The row's reward: points, grant, set-up, announcement.
void rewardRow(const MissionRow& row);

// The world's event flag and the profile's counter, read and written.
bool worldEventRaised(WorldEvent e);
void setWorldEvent(WorldEvent e, bool raised);
int32_t dayCounter(DayCounter c);
void setDayCounter(DayCounter c, int32_t value);

class RowMission : public AchievementBase {
public:
    explicit RowMission(const MissionRow& row) : m_row(row) { }

    // New texts each call: the name and briefing keys looked up.
    cocos2d::CCString* getName() override;
    cocos2d::CCString* getBriefing() override;
    int64_t getRewardDelay() override { return m_row.delay; }
    bool isAccomplished() override { return rowPasses(m_row); }
    void onAccomplished() override { rewardRow(m_row); }

    const MissionRow& row() const { return m_row; }

private:
    const MissionRow& m_row;
};
