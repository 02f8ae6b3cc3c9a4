#pragma once
// The story's level steps as data. Each step class is one constant row: its
// number N (it closes day N - 1 and opens day N), the set-up of that day in
// order, and the three name lists of the day-cleared board. RowStep plays
// any row as the manager's current step: its board shows the lists and the
// class's reward, its level end sets the day up, then pays the reward.
//
// A step holds nothing but where its row is, and the set-up replaces the
// step with its successor, so the set-up runs on the row alone.
#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "campaigns/MissionRow.h"
#include "goals/AchievementBase.h"

class AchievementManager;

// The story's last day; a story started after its end opens it again.
inline constexpr int32_t kStoryLastDay = 31;

enum class StepActionKind : uint8_t {
    None,  // ends the actions
    Mission,
    NextStep,
    Element,
    Tool,
    Option,
    ResetMade,
    ClearEvent,
    ZeroCounter,
    StoryLevel2Flag,
    ResetZoom,
    // The messages: the reminder and the free-mode message live only, the
    // closing page only when the last day is reached live.
    Reminder,
    FreeModeMessage,
    Outro,
};

struct StepAction {
    StepActionKind kind = StepActionKind::None;
    // A mission, step, element, tool or option name.
    const char* name = nullptr;
    WorldEvent event = WorldEvent::None;
    DayCounter counter = DayCounter::None;
    // The reminder's day.
    int32_t n = 0;
};

// A board list: absent, or present with up to three names (maybe none).
struct BoardList {
    static constexpr int kNames = 3;
    bool present = false;
    std::array<const char*, kNames> names{};
};

namespace step {
constexpr StepAction mission(const char* name)
{
    return {.kind = StepActionKind::Mission, .name = name};
}
constexpr StepAction next(const char* name)
{
    return {.kind = StepActionKind::NextStep, .name = name};
}
constexpr StepAction element(const char* name)
{
    return {.kind = StepActionKind::Element, .name = name};
}
constexpr StepAction tool(const char* name)
{
    return {.kind = StepActionKind::Tool, .name = name};
}
constexpr StepAction option(const char* name)
{
    return {.kind = StepActionKind::Option, .name = name};
}
constexpr StepAction resetMade(const char* element)
{
    return {.kind = StepActionKind::ResetMade, .name = element};
}
constexpr StepAction clear(WorldEvent e)
{
    return {.kind = StepActionKind::ClearEvent, .event = e};
}
constexpr StepAction zero(DayCounter c)
{
    return {.kind = StepActionKind::ZeroCounter, .counter = c};
}
constexpr StepAction reminder(int32_t day)
{
    return {.kind = StepActionKind::Reminder, .n = day};
}
inline constexpr StepAction storyLevel2Flag{.kind = StepActionKind::StoryLevel2Flag};
inline constexpr StepAction resetZoom{.kind = StepActionKind::ResetZoom};
inline constexpr StepAction freeModeMessage{.kind = StepActionKind::FreeModeMessage};
inline constexpr StepAction outro{.kind = StepActionKind::Outro};

// "-" on the board: no list at all.
inline constexpr BoardList absent{};
constexpr BoardList names(const char* a = nullptr, const char* b = nullptr, const char* c = nullptr)
{
    return {.present = true, .names = {a, b, c}};
}
}  // namespace step

struct StepRow {
    static constexpr int kActions = 14;

    const char* className = nullptr;
    int32_t number = 0;
    int32_t day = 0;
    std::array<StepAction, kActions> actions{};
    BoardList elements;
    BoardList options;  // options and tools alike
    BoardList backgrounds;
    // The first step writes "REWARD" to the log on its board.
    bool logsReward = false;
    // After the reward: the story is finished (and saved so).
    bool finishesStory = false;
};

// The level points the step's test waits for: 100 x (N - 1).
int32_t stepThreshold(const StepRow& row);
// One of the board's lists as the board takes it: null when absent, else a
// new array of the names (maybe none).
cocos2d::CCArray* boardList(const BoardList& list);

class RowStep : public AchievementBase {
public:
    explicit RowStep(const StepRow& row) : m_row(row) { }

    // Empty, valid for the whole run.
    cocos2d::CCString* getName() override;
    cocos2d::CCString* getBriefing() override;
    bool isAccomplished() override;
    void onAccomplished() override;
    void onLevelEnd() override;

    const StepRow& row() const { return m_row; }

private:
    const StepRow& m_row;
};

// In chain order, CheckLv2 first.
std::span<const StepRow> storyStepRows();
// The row of a class name, or null.
const StepRow* storyStepRow(const std::string& className);
// A new step of that class; null (logged) for a name that is none.
AchievementBase* makeStoryStep(const std::string& className);
// The set-up of the row's day, then its reward: what a step's level end does.
void setUpStoryDay(const StepRow& row);
// At the game's start: the backgrounds that the story's boards and notices
// named as unlocked up to the progress the profile keeps are unlocked again
// (the list is not stored): the board of every day reached, the notice of
// every mission paid, on a day closed or recorded paid on the newest.
void unlockReachedStoryBackgrounds();
