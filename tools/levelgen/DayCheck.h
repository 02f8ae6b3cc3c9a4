#pragma once
// Checks on the generated day worlds and their settings files: each world
// loads small through World::load, holds nothing outside 120 x 80 and none
// of its day's forbidden elements, names a background the tree holds, and
// saves back to the same bytes (after the two round trips that a load's
// reversed record order takes); each settings file keeps the schema, holds
// its story day's cumulative set and allows what the level script places.
#include <string>
#include <vector>

#include "LevelBuilder.h"
#include "LevelScript.h"

namespace levelgen {

struct CheckReport {
    std::vector<std::string> errors;
    std::vector<std::string> notes;
};

constexpr int kStoryDays = 31;
// The playthrough's whole budget: the bounds of days 1..30 sum to at most this.
constexpr int64_t kStoryStepBudget = 60000;

// N for "Day<N>" with N in 1..31, else 0.
int storyDayOf(const std::string& world);

// What a story day offers from its start: its elements, tools and options.
struct DayRules {
    std::vector<std::string> elements, tools, options;
};
// Day 1's settings file in that folder: what a new story starts with.
DayRules storyStart(const std::string& missionsDir);
// The start, what the game's level steps opening days 2 .. day unlock, what
// the missions of the days before give, and the controls the day's missions
// wait for.
DayRules storyDayRules(int day, const DayRules& start);
// What the day's missions count as made, which its world may not hold.
std::vector<std::string> storyDayForbidden(int day);

// Whether b is a with its particle and colour records in reverse order (what
// one load and save give); otherwise why not.
bool sameRecordsReversed(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, std::string& why);

// One world blob (named `world`), against the tree for its background.
void checkWorld(LevelBuilder& builder, const std::vector<uint8_t>& blob, const std::string& world,
                const std::string& tree, CheckReport& report);

// One settings file; `places` is the level script's list (none when no
// script exists).
void checkSettings(const std::string& path, const std::string& world, const std::vector<std::string>* places,
                   CheckReport& report);

// Every level script under levelsDir against the tree, and the step bounds
// of the story days 1..30 (each given, summing to at most the budget); the
// story days without a script are notes, or errors when allDays is set.
void checkLevels(const std::string& levelsDir, const std::string& tree, bool allDays, CheckReport& report);

// The level scripts of a folder, sorted by name.
std::vector<std::string> levelFiles(const std::string& levelsDir);

}  // namespace levelgen
