#pragma once
// A full-size world for material tests: the border sentinel around it, the
// material families registered, a seeded random function and a temporary home
// (the profile writes nothing into the real one).
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "support/TempFolders.h"
#include "world/World.h"

class MaterialWorld : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Adds a particle (asserting it was made) at a free cell.
    Particle* put(int x, int y, uint32_t type);
    // Fills the rectangle [x0, x1] x [y0, y1] with one kind.
    void fill(int x0, int y0, int x1, int y1, uint32_t type);
    // Walls in every empty cell of the 3 x 3 block around (x, y).
    void seal(int x, int y);
    void step(int steps = 1);

    uint32_t typeAt(int x, int y) const;  // 0 for an empty cell
    int count(uint32_t type) const;
    // Sets the temperature of the field cells covering [x0, x1] x [y0, y1].
    void setTemperature(int x0, int y0, int x1, int y1, float value);

    // Updates p `trials` times with its cell held at `temperature`, dropping
    // whatever it queued after each update; returns the share of updates that
    // queued a change (a replacement or a removal) of any cell.
    double changeRate(Particle* p, float temperature, int trials);
    // Updates p once at `temperature` and applies what it queued; returns the
    // kind then at (x, y) (0 when empty).
    uint32_t updateAndApply(Particle* p, float temperature);

    std::unique_ptr<World> world;
    testsupport::TempHome home;
};

// Expects an observed share of `trials` chance draws to match `expected`
// within five standard deviations.
void expectRate(double observed, double expected, int trials);
