#pragma once
// The story missions' pattern tables: the cells of the prepared day worlds
// where the player builds or places something. Constant data; the ones drawn
// as pixel maps (assets/levels/tables) are compiled in from their maps. The
// tools that build the day worlds read the same list.
#include <span>

#include "goals/MissionPattern.h"

struct StoryTable {
    const char* mission;  // the mission's class name
    char letter;          // 'A', 'B', ... in the order the mission reads them
    MissionPattern records;
};

// Every table, by mission in day order, then by letter.
std::span<const StoryTable> storyTables();
// One table, or null.
MissionPattern storyTable(const char* mission, char letter);
// The records before the end record.
int storyTableSize(MissionPattern table);
