#pragma once
// Flocks: every particle of one flocking kind belongs to one flock; the first
// to join leads and walks back and forth, the others steer after it with a
// vertical bob. The Flamingo is the one flocking element: it walks with its
// flock and, in its fishing phases, dives toward water and eats fish below.
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "elements/living/LivingKinds.h"

// clang-format off
//                                      type name      dens blast  factor colour rows start row        sound                  absorb flags
inline constexpr ElementInfo kFlockMemberInfo {"FlockMember", 0, -1.0f, 0.2f, {153},     StartRow::First, "sfx_element_multi",    0, kFlat};
inline constexpr ElementInfo kFlamingoInfo    {"Flamingo",    0, -1.0f, 0.2f, {153},     StartRow::First, "sfx_element_flamingo", 0, kFlat};
// clang-format on

// The values a member takes when it joins.
struct FlockSettings {
    int32_t spread = 5;
    int32_t dirX = 1;
    int32_t dirY = 1;
    static const FlockSettings& shared()
    {
        static const FlockSettings settings;
        return settings;
    }
};

// The flock state every member carries, apart from its element class.
class Flocking {
public:
    virtual ~Flocking() = default;
    virtual Particle& cell() = 0;

    bool isLeader = false;
    int32_t spread = 0;
    int32_t dirX = 0;
    int32_t dirY = 0;
    bool started = false;
    uint32_t flockId = 0;  // the extra save word

private:
    // The member's own place in its flock's list, kept by the registry, so
    // that asking, joining and leaving cost the same in a flock of thousands
    // (the links live in the members: joining takes nothing from the heap).
    friend class FlockRegistry;
    bool m_inFlock = false;
    uint32_t m_flockType = 0;
    Flocking* m_previous = nullptr;
    Flocking* m_next = nullptr;
};

// The flocks by type id, members in joining order. A member leaves when it is
// destroyed, so a list never holds a freed member. Each flock remembers its
// first leading member; isLeader is set by join only.
class FlockRegistry {
public:
    static FlockRegistry& getInstance();
    bool has(uint32_t type, const Flocking* member);
    // The first member of the type's list that leads; null when none.
    Flocking* getLeader(uint32_t type);
    void join(uint32_t type, Flocking* member, bool isLeader);
    void leave(const Flocking* member);
    size_t memberCount(uint32_t type) const;
    // Empties every list (for tests: the registry lives for a run); members
    // still alive are then in no flock.
    void resetForTests();

private:
    struct Flock {
        Flocking* first = nullptr;
        Flocking* last = nullptr;
        size_t count = 0;
        Flocking* leader = nullptr;  // the first member of the list that leads
    };
    // By type, in the order the types first came up (there are a handful):
    // asking for a flock takes nothing from the heap.
    std::vector<std::pair<uint32_t, Flock>> flocks_;
    Flock& flockOf(uint32_t type);
    const Flock* findFlock(uint32_t type) const;
};

template <const ElementInfo& Info> class FlockMemberOf : public Element<Info>, public Flocking {
public:
    ~FlockMemberOf() override { FlockRegistry::getInstance().leave(this); }
    Particle& cell() override { return *this; }
    int32_t getSaveSize() const override { return 4; }
    void saveExtra(ByteWriter& out) override;
    void loadExtra(ByteReader& in) override;
    void update() override { flockStep(); }

protected:
    void flockStep();
    // A diagonal hop to a random free cell.
    void flutter();
};

// The plain member; the factory makes none (every flocking kind has its own).
class FlockMember : public FlockMemberOf<kFlockMemberInfo> { };

class Flamingo : public FlockMemberOf<kFlamingoInfo> {
public:
    static constexpr int32_t kFedSteps = 200;
    ~Flamingo() override;
    void saveExtra(ByteWriter& out) override;
    void loadExtra(ByteReader& in) override;
    void update() override;

    int32_t cycle = 0;
    int32_t fedTicks = 0;
    bool fed = false;
    bool counted = false;
    bool fishing = false;
    int32_t waterX = 0;
    int32_t waterY = 0;
    uint32_t saveWord = 0;

private:
    Particle* findWaterBelow();
    void diveToward();
    void eatFishBelow();
};

// Registers the flamingo with the element factory.
void registerFlocks();
