#pragma once
// The program's one list of the humans alive in the world with a built body:
// it holds the cap of six and lets goal checks count zombies and the living.
// Entries are leader cells, not owned; each human adds and removes itself.
// Robots are never listed (they keep their own count).
#include <cstddef>
#include <vector>

class Particle;

class HumanRegistry {
public:
    static constexpr int kCap = 6;

    // Created empty on first use and kept for the whole run.
    static HumanRegistry* getInstance();

    // Appends a human (each does so once).
    void add(const Particle* human);
    // Removes the first occurrence, keeping the order of the others; nothing
    // when absent.
    void remove(const Particle* human);
    // Unregisters every listed human one by one; the humans are not touched.
    void clear();

    bool contains(const Particle* human) const;
    int count() const { return static_cast<int>(humans.size()); }
    // Listed humans whose job is exactly "zombie"; with none listed, the
    // built counter, which goals therefore test for 0 or less.
    int countZombies() const;
    // Listed humans whose job is not "zombie"; 0 with none listed.
    int countLiving() const;

    // +1 for every human body built, -1 for every human destroyed; loaded
    // humans are never built, so it may go below 0.
    void humanBuilt() { ++built; }
    void humanDestroyed() { --built; }
    int builtCount() const { return built; }
    // Some human was listed since the last clear.
    bool everRegistered() const { return registeredOnce; }

private:
    std::vector<const Particle*> humans;
    int built = 0;
    bool registeredOnce = false;
};
