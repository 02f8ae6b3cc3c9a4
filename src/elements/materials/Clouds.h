#pragma once
// Clouds, the weather of the world. Each Cloud particle belongs to a
// CloudBlob, a group kept in the World's cloud list and stepped once a step
// after the particle updates: the group drifts sideways, climbs or sinks to
// its target height, jiggles and pulls its members together, and arms rain
// and then storm as it grows. The Cloud particles rain as Water or Snow,
// throw lightning, and merge their groups where they touch.
//
// Invariants: a Cloud's blob is null or a group that lists it; whoever frees
// a group clears the links of the members it still lists; groups are not
// saved (a loaded cloud is a group of one again).
#include <cstddef>
#include <vector>

#include "elements/materials/Element.h"

class CloudBlob;

// clang-format off
//                                 type name dens blast  factor colour rows start row        sound                absorb flags
inline constexpr ElementInfo kCloudInfo {"Cloud", -2, 0.95f, 0.8f, {9},       StartRow::First, "sfx_element_steam", 1,     kFlat};
// clang-format on

class Cloud : public Element<kCloudInfo> {
public:
    static constexpr float kSnowBelow = 263.0f;
    Cloud();
    ~Cloud() override;
    void update() override;

    CloudBlob* blob = nullptr;  // null once it has left its group
    bool spark = false;

private:
    // Leaves the group and queues the kind its cell turns into.
    void turnInto(uint32_t type);
    uint32_t rainKind() const;
    void mergeAround();
};

class CloudBlob {
public:
    // Draws the group's fields and appends it to the world's cloud list.
    explicit CloudBlob(World* world);
    virtual ~CloudBlob();
    CloudBlob(const CloudBlob&) = delete;
    CloudBlob& operator=(const CloudBlob&) = delete;
    // Groups come from the particles' pool, and a group's lists and list box
    // serve the next group when it goes: clouds form and merge while the
    // world runs, without the heap.
    static void* operator new(std::size_t size);
    static void operator delete(void* block, std::size_t size) noexcept;
    // The world's cloud list dropped this box (its group is gone), with the
    // caller's reference: it serves the next group.
    static void spareListBox(cocos2d::CCObject* box);

    // One step of the group, called by World::stepClouds.
    virtual void update();
    void addMember(Cloud* cloud);
    // Unlinks the cloud (the caller clears its blob); the last member leaving
    // frees the group, so the caller must not touch it afterwards.
    void removeMember(Cloud* cloud);
    // Merges the touching group b and the updating cloud's group a when the
    // size rules allow; the group with more members is kept (b on a tie) and
    // the other freed.
    static bool tryMerge(CloudBlob* a, CloudBlob* b);
    void updateBounds();
    // Moves the group one cell; true when some member was blocked.
    bool moveBy(bool horizontal, int step);
    void contract();
    void jiggle();

    // The box that holds the group in the world's cloud list (null without one).
    cocos2d::CCObject* listBox() const { return listBox_; }
    int memberCount() const { return static_cast<int>(members.size()); }
    const std::vector<Cloud*>& memberList() const { return members; }
    bool holds(const Particle* p) const;

    int targetY;
    int direction;
    float period;
    float counter = 0.0f;
    int shade = 255;
    int minY = 0;
    int maxY = 0;
    int minX = 0;
    int maxX = 0;
    int centreX = 0;
    int centreY = 0;
    bool rain = false;
    bool storm = false;

private:
    cocos2d::ccColor4B shadeColour() const;
    void paintMembers(cocos2d::ccColor4B colour);
    // addMember without the recolouring and the bounds, which a merge does once
    // for all its joins.
    cocos2d::ccColor4B join(Cloud* cloud);
    // moveOrder_ = the members, those furthest in the direction of the move
    // first (a stable sort on that coordinate).
    void orderFrontFirst(bool horizontal, int step);
    // Room in the list for `count` clouds, from the spare lists when one
    // holds them (the list's clouds stay, in order).
    static void roomFor(std::vector<Cloud*>& list, size_t count);

    World* world_;
    cocos2d::CCObject* listBox_ = nullptr;
    std::vector<Cloud*> members;     // joining order
    std::vector<Cloud*> moveOrder_;  // scratch for moveBy, keeps its capacity
};

// Registers Cloud with the element factory.
void registerClouds();
