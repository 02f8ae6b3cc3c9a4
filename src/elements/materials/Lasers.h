#pragma once
// Lasers shoot beams through the glass beside them: a Laser every step, a
// LaserTransmitter while current reaches it. A beam is a line of LaserBeam
// cells that remove themselves after one step, so an unfed beam vanishes.
// The tracer walks a beam cell by cell: glass splits or turns it, a gem gives
// it the gem's colour row, a particle that absorbs no light lets it through,
// and the first other particle ends it and takes the effect of its colour.
// Creature guns use the same tracer on a laser that is never placed, so it
// reads nothing of the laser it is called on.
#include <cstdint>

#include "elements/materials/Element.h"

// clang-format off
//                                      type name     dens blast  factor colour rows start row        sound                  absorb flags                 light
inline constexpr ElementInfo kLaserInfo      {"Laser",      0, 0.9f, 0.1f, {140},     StartRow::First, "sfx_element_laser",   255};
inline constexpr ElementInfo kLaserBeamInfo  {"LaserBeam",  0, 0.9f, 0.8f, {95},      StartRow::First, "sfx_element_electro", 0,     kLightSource | kFlat, 1};
inline constexpr ElementInfo kLaserTransInfo {"LaserTrans", 0, 0.9f, 0.1f, {141},     StartRow::First, "sfx_element_laser",   255};
// clang-format on

// The colour rows a beam carries: the plain laser's, and each gem's first row.
namespace BeamRow {
constexpr int32_t kAmatist = 89;
constexpr int32_t kCitrine = 92;
constexpr int32_t kDiamond = 95;  // the plain laser
constexpr int32_t kEmerald = 98;
constexpr int32_t kLapislazuli = 101;
constexpr int32_t kObsidian = 104;
constexpr int32_t kRuby = 107;
constexpr int32_t kSapphire = 110;
constexpr int32_t kZircon = 113;
// The row a gem gives a beam crossing it; 0 for any other kind.
int32_t ofGem(uint32_t type);
}  // namespace BeamRow

class LaserBase : public MaterialParticle {
public:
    // Each leg of a beam walks at most this many cells and crosses at most
    // kMaxCrossed beam cells.
    static constexpr int kLegBudget = 9600;
    static constexpr int kMaxCrossed = 100;
    // A whole trace (its legs, restarts and nested traces together) walks at
    // most kCallBudget cells and nests at most kMaxNesting deep, so a closed
    // glass circuit ends.
    static constexpr int kCallBudget = 4 * kLegBudget;
    static constexpr int kMaxNesting = 8;

    // Traces one beam from (x, y) in direction (dx, dy) with a colour row. A
    // start outside the world traces nothing.
    static void traceBeam(int x, int y, int dx, int dy, int32_t row);
    // The effect of a beam of that row ending on (x, y).
    static void hitAt(int x, int y, int32_t row);
    // Fires through every neighbouring glass cell, rows first. The laser may
    // be gone after a trace (a beam can come back and remove it).
    void fire();

    // Cells the tracer has read since the counter was last cleared.
    static int64_t cellsWalked;

private:
    struct Trace;
    static void traceLegs(Trace& t, int x, int y, int dx, int dy, int32_t row);
};

class Laser : public Element<kLaserInfo, LaserBase> {
public:
    void update() override { fire(); }
};

class LaserTransmitter : public Element<kLaserTransInfo, LaserBase> {
public:
    void update() override;
};

class LaserBeam : public LitElement<kLaserBeamInfo> {
public:
    // One step of light: queues its own removal.
    void update() override { removeSelf(); }
};

// Registers Laser, LaserBeam and LaserTransmitter (also under the name
// "LaserTransmitter").
void registerLasers();
