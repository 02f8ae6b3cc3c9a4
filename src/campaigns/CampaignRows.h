#pragma once
// Campaigns as data. A campaign is two constant tables: its levels (the
// missions of each level in creation order, the step that closes it, the
// step's threshold, reward keys, grant form and the order of its level end)
// and its missions (text and reward keys, delay, points share, test and an
// extra of the reward). CampaignMission plays a mission row, CampaignStep a
// level row; neither holds anything but where its row is.
//
// The cell tables are written as runs of cells and built at compile time;
// melodies are written as note names ("c0 d#1") and built likewise.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "cocos2d.h"
#include "elements/materials/Instruments.h"
#include "goals/AchievementBase.h"
#include "goals/MissionPattern.h"
#include "world/Particle.h"

class AchievementManager;

// --- cell tables -------------------------------------------------------------------------

// A straight run of cells of one kind: a row (y0 == y1) or a column
// (x0 == x1), ends included.
struct CellRun {
    int32_t x0;
    int32_t x1;
    int32_t y0;
    int32_t y1;
    uint32_t type;
};

namespace runs {
// x0..x1 at row y.
constexpr CellRun row(int32_t x0, int32_t x1, int32_t y, std::string_view type)
{
    return {x0, x1, y, y, hashString(type)};
}
// Column x, rows y0..y1.
constexpr CellRun column(int32_t x, int32_t y0, int32_t y1, std::string_view type)
{
    return {x, x, y0, y1, hashString(type)};
}
constexpr CellRun cell(int32_t x, int32_t y, std::string_view type)
{
    return {x, x, y, y, hashString(type)};
}
// Every cell of x0..x1 by y0..y1.
constexpr CellRun block(int32_t x0, int32_t x1, int32_t y0, int32_t y1, std::string_view type)
{
    return {x0, x1, y0, y1, hashString(type)};
}
// The same runs with another kind.
template <size_t K> constexpr std::array<CellRun, K> retyped(std::array<CellRun, K> list, std::string_view type)
{
    for (CellRun& r : list)
        r.type = hashString(type);
    return list;
}
}  // namespace runs

inline constexpr MissionPatternRecord kTableEnd{0, 0, 0, 1};

template <size_t K> constexpr size_t cellCount(const std::array<CellRun, K>& list)
{
    size_t n = 0;
    for (const CellRun& r : list)
        n += static_cast<size_t>((r.x1 - r.x0 + 1) * (r.y1 - r.y0 + 1));
    return n;
}

// The runs' cells in order of x, then y, closed by the end record.
template <size_t N, size_t K> constexpr std::array<MissionPatternRecord, N + 1> cellTable(std::array<CellRun, K> list)
{
    std::array<MissionPatternRecord, N + 1> t{};
    size_t i = 0;
    for (const CellRun& r : list)
        for (int32_t x = r.x0; x <= r.x1; ++x)
            for (int32_t y = r.y0; y <= r.y1; ++y)
                t[i++] = {x, y, r.type, 0};
    std::sort(t.begin(), t.begin() + N, [](const MissionPatternRecord& a, const MissionPatternRecord& b) {
        return a.x != b.x ? a.x < b.x : a.y < b.y;
    });
    t[N] = kTableEnd;
    return t;
}

// CAMPAIGN_TABLE(kName, runs...): a constant table of the runs' cells.
#define CAMPAIGN_TABLE(name, ...)                                                                                      \
    inline constexpr std::array name##Runs{__VA_ARGS__};                                                               \
    inline constexpr auto name = cellTable<cellCount(name##Runs)>(name##Runs)
// CAMPAIGN_TABLE_AS(kName, kOther, kind): kOther's cells holding another kind.
#define CAMPAIGN_TABLE_AS(name, other, kind)                                                                           \
    inline constexpr auto name##Runs = runs::retyped(other##Runs, kind);                                               \
    inline constexpr auto name = cellTable<cellCount(name##Runs)>(name##Runs)

// --- melodies ------------------------------------------------------------------------------

// The notes written "c0 d#1 ...", each a name of c c# d d# e f f# g g# a a# b
// and an octave digit; N must be their count. Closed by {0, 0, end}.
template <size_t N> constexpr std::array<NoteRecord, N + 1> melody(std::string_view text)
{
    constexpr std::string_view names = "c d ef g a b";
    std::array<NoteRecord, N + 1> m{};
    size_t i = 0;
    size_t p = 0;
    while (p < text.size()) {
        if (text[p] == ' ') {
            ++p;
            continue;
        }
        const size_t base = names.find(text[p++]);
        if (base == std::string_view::npos || i >= N)
            throw "not a melody";
        int32_t note = static_cast<int32_t>(base);
        if (p < text.size() && text[p] == '#') {
            ++note;
            ++p;
        }
        if (p >= text.size() || text[p] < '0' || text[p] > '9')
            throw "a note without its octave";
        m[i++] = {note, text[p++] - '0', false};
    }
    if (i != N)
        throw "the melody has another length";
    m[N] = {0, 0, true};
    return m;
}

// The notes of a melody before its closing record.
int melodyLength(const NoteRecord* melody);

// A campaign's tables and melodies by the names its tests give them. A table
// also names the mission that reads it and its letter ('A', 'B', ... in the
// order the mission's test reads them), as the story's tables do, so the
// tools that build the levels find it.
struct CampaignTable {
    const char* name;
    MissionPattern records;
    const char* mission = nullptr;
    char letter = 0;
};
struct CampaignMelody {
    const char* name;
    const NoteRecord* notes;
};

// --- missions ------------------------------------------------------------------------------

struct CampaignMissionRow {
    const char* className = nullptr;
    int32_t level = 0;
    // "<textKey>Name" and "<textKey>Briefing" are its texts.
    const char* textKey = nullptr;
    const char* rewardKey = nullptr;
    int64_t delay = 0;
    int32_t points = 0;
    bool (*test)() = nullptr;
    // Runs after the grant, before the announcement (also when replayed).
    void (*extra)() = nullptr;
    // The name's key where it is not "<textKey>Name".
    const char* nameKey = nullptr;
};

// The standard reward: points, the grant of the reward key, the extra, then
// the announcement with the key's amount read again.
void rewardMission(const CampaignMissionRow& row);

class CampaignMission : public AchievementBase {
public:
    explicit CampaignMission(const CampaignMissionRow& row) : m_row(row) { }

    cocos2d::CCString* getName() override;
    cocos2d::CCString* getBriefing() override;
    int64_t getRewardDelay() override { return m_row.delay; }
    bool isAccomplished() override { return m_row.test && m_row.test(); }
    void onAccomplished() override { rewardMission(m_row); }

    const CampaignMissionRow& row() const { return m_row; }

private:
    const CampaignMissionRow& m_row;
};

// --- levels --------------------------------------------------------------------------------

// How a step pays: by the grant rule, or always (saving always).
enum class StepGrant : uint8_t { Rule, Always };

// What a level end does, in the row's order.
enum class EndAction : uint8_t {
    None,      // ends the order
    Day,       // setStoryDay with the next level
    Missions,  // the next level's missions, each added as made
    NextStep,  // the next level's step made current
    Grant,
    Outro,
    Finished,  // the campaign's finished flag
    Save,
    Flags,  // the row's campaign flags cleared
};
using EndOrder = std::array<EndAction, 6>;

namespace ends {
using enum EndAction;
inline constexpr EndOrder usual{Day, Missions, NextStep, Grant};
inline constexpr EndOrder stepFirst{Day, NextStep, Missions, Grant};
}  // namespace ends

struct CampaignLevelRow {
    static constexpr int kMissions = 3;

    int32_t level = 0;
    std::array<const char*, kMissions> missions{};
    // The step current during the level, which closes it.
    const char* step = nullptr;
    int32_t threshold = 0;
    const char* rewardKey = nullptr;  // paid by the level end
    const char* boardKey = nullptr;   // shown on the board
    StepGrant grant = StepGrant::Rule;
    EndOrder order = ends::usual;
    // Clears the profile's flags that the next level reads.
    void (*clearFlags)() = nullptr;
};

// The day-cleared board: empty unlock lists, or none at all, live only.
enum class BoardLists : uint8_t { Empty, None };

struct Campaign {
    const char* name = nullptr;
    int32_t mode = 0;
    int completionIndex = 0;
    BoardLists board = BoardLists::Empty;
    std::span<const CampaignLevelRow> levels;
    std::span<const CampaignMissionRow> missions;
    std::span<const CampaignTable> tables;
    std::span<const CampaignMelody> melodies{};
    // Steps answer a new empty text on each call rather than one kept.
    bool newStepTexts = false;

    int32_t levelCount() const { return static_cast<int32_t>(levels.size()); }
    const CampaignMissionRow* mission(std::string_view className) const;
    const CampaignLevelRow* levelOfStep(std::string_view stepName) const;
};

class CampaignStep : public AchievementBase {
public:
    CampaignStep(const Campaign& campaign, const CampaignLevelRow& row) : m_campaign(campaign), m_row(row) { }

    // Empty, valid for the whole run.
    cocos2d::CCString* getName() override;
    cocos2d::CCString* getBriefing() override;
    bool isAccomplished() override;
    void onAccomplished() override;
    void onLevelEnd() override;
    bool paysAgain() override;

    const CampaignLevelRow& row() const { return m_row; }

private:
    const Campaign& m_campaign;
    const CampaignLevelRow& m_row;
};

// The level end of the row's level; reads the tables only, so it may run
// after the step that called it has been handed over.
void endCampaignLevel(const Campaign& campaign, const CampaignLevelRow& row);

// A new mission or step of the campaign; null for a name it has not.
AchievementBase* makeCampaignMission(const Campaign& campaign, std::string_view className);
AchievementBase* makeCampaignStep(const Campaign& campaign, std::string_view stepName);
