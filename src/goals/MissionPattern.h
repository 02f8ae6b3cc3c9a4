#pragma once
// Pattern tables: constant lists of world cells that a mission tests, each
// naming the kind it expects there by type id (the djb2 hash of the type
// name, hashString). A table ends at its first record whose end flag is set
// (only its low byte counts); that record is no cell.
//
// The tests read the running world's grid (gWorld) and change nothing. A
// cell outside the world in use (or with no world) is empty. A kind's own
// field (a Bulb's light, an LED's glow, a cloner's content, a Note's pitch,
// a human's job) is read only once the cell's type id said what it holds.
// None of them allocates.
#include <cstdint>

#include "cocos2d.h"

class Particle;

struct MissionPatternRecord {
    int32_t x;
    int32_t y;
    uint32_t type;
    int32_t end;
};
// A table is the address of its first record.
using MissionPattern = const MissionPatternRecord*;

// Every cell holds its record's kind (true for a table without cells).
bool patternAllMatch(MissionPattern table);
// No cell holds its record's kind.
bool patternNoneMatch(MissionPattern table);
// Every cell is empty; the kinds are not compared.
bool patternAllEmpty(MissionPattern table);
// The cells that hold their record's kind.
int32_t patternCount(MissionPattern table);
bool patternCountAtLeast(MissionPattern table, int32_t n);
// Every cell holds its kind and has current in the 3 x 3 block around it.
bool patternAllMatchPowered(MissionPattern table);
// Some cell holds its kind and has current.
bool patternAnyMatchPowered(MissionPattern table);
// Every cell, or some cell, holds a lit Bulb (the records' kinds are not read).
bool patternAllBulbsLit(MissionPattern table);
bool patternAnyBulbLit(MissionPattern table);
// Every cell holds one of the six coloured LEDs, glowing.
bool patternAllLedsLit(MissionPattern table);
// No cell holding its kind carries other content than the named element
// (cells without their kind do not fail it).
bool patternMatchesCarryName(MissionPattern table, cocos2d::CCString* name);
// Some cell holds a human's body whose job is the named one; a body cell
// not yet bound to its human (reported "loading") never matches.
bool patternHasHumanWithJob(MissionPattern table, cocos2d::CCString* job);
// The particle of the first cell that holds its kind, or null.
Particle* firstPatternMatch(MissionPattern table);
// Every cell holds a Note, and none of them still sounds the first note of
// octave 2 that a new Note starts on.
bool composeSolved(MissionPattern table);

// What a test above asks of its table's cells: that each holds its kind
// (all match, powered or not), or anything else.
enum class PatternAsk : uint8_t { EveryKind, Other };
// Tests learn what a check asks of its tables: while a probe is set, each
// test above hands it the table and what it asks, and answers as the probe
// says (a count: every cell or none; a first match: none) without reading
// the world. Null reads the world again.
using PatternProbe = bool (*)(MissionPattern table, PatternAsk ask);
void setPatternProbeForTests(PatternProbe probe);
