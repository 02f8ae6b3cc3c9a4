#pragma once
// Stands in for the human cells until the creatures exist: a still cell
// registered under "HumanLeader", whose job a test chooses through the hook.
#include <string>

#include "elements/creatures/CreatureKinds.h"
#include "elements/materials/Element.h"

// clang-format off
inline constexpr ElementInfo kStandInHumanInfo {"HumanLeader", 0, 0.8f, 0.8f, {24}, StartRow::First, "sfx_element_soil"};
// clang-format on

class StandInHuman : public Element<kStandInHumanInfo> {
public:
    static inline std::string job;  // what the hook answers for every human
    // Registers the cell and installs the hook; undo with `remove`.
    static void install(const std::string& humanJob)
    {
        job = humanJob;
        ParticleCreator::registerClass<StandInHuman>("HumanLeader");
        setHumanJobHook([](const Particle*) { return job; });
    }
    static void remove() { setHumanJobHook(nullptr); }
};
