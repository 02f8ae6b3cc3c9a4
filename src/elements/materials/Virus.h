#pragma once
// Virus: spreads into empty cells and turns its neighbours into Virus, dies
// where current flows, and thins itself like a cellular automaton (too few or
// too many Virus around it and it may die). It spares walls, the void, the
// cloner Multi, the alien virus and zombies.
#include "elements/materials/Element.h"

// clang-format off
//                                 type name dens blast factor colour rows start row        sound                absorb flags
inline constexpr ElementInfo kVirusInfo {"Virus", 0, 0.9f, 0.2f, {68},       StartRow::First, "sfx_element_virus", 0,     kFlat};
// clang-format on

class Virus : public Element<kVirusInfo> {
public:
    static constexpr int kFewest = 2;  // fewer Virus in its block (itself included) and it may die
    static constexpr int kMost = 3;    // more and it may die
    void update() override;
};

// Registers Virus with the element factory.
void registerVirus();
