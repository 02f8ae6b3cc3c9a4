#pragma once
// MPObject: the group that binds the cells of one multi-pixel creature or
// vehicle. It knows its members (leader first), keeps them sorted by column
// and by row so that the object can be shifted cell by cell without a cell
// landing on a neighbour of its own object, takes foreign particles along for
// one manoeuvre (carried), reshapes itself after a list of cell descriptions
// and is dissolved by the world step once it is broken.
//
// Invariants: every member stands once in members and once in each sorted
// list, and its group is this object; every carried particle stands once in
// carried and once in each sorted list; the same box object stands in all
// lists of its particle. Sorted lists stay sorted by the particles' current
// cells; with equal coordinates a later insertion stands first.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "cocos2d.h"
#include "cocos2d_extensions/CCValue.h"

class Particle;

// One cell description: offset from the leader, kind and colour.
struct sBodyPart {
    int32_t dx = 0;
    int32_t dy = 0;
    uint32_t type = 0;
    cocos2d::ccColor4B colour{0, 0, 0, 0};
};

class MPObject {
public:
    using Box = cocos2d_extensions::CCValue<Particle*>;
    using PartBox = cocos2d_extensions::CCValue<sBodyPart>;
    using PointBox = cocos2d_extensions::CCValue<cocos2d::CCPoint>;

    // The four lists (retained): members in member order, by x, by y, and the
    // carried particles. Each holds Box objects.
    static constexpr int kMemberLists = 4;
    static constexpr int kMembers = 0;
    static constexpr int kByX = 1;
    static constexpr int kByY = 2;
    static constexpr int kCarried = 3;

    // Appends itself to the world's object list (when there is a world).
    MPObject();
    ~MPObject();
    MPObject(const MPObject&) = delete;
    MPObject& operator=(const MPObject&) = delete;
    // Objects come from the particles' pool, and an object's lists and boxes
    // serve the next object when it goes: creatures are made and broken
    // while the world runs, without the heap.
    static void* operator new(std::size_t size);
    static void operator delete(void* block, std::size_t size) noexcept;
    // The world's object list dropped this box (its object is gone), with the
    // caller's reference: it serves the next object.
    static void spareObjectBox(cocos2d::CCObject* box);

    static void insertSortedByX(cocos2d::CCArray* list, Box* box, int x);
    static void insertSortedByY(cocos2d::CCArray* list, Box* box, int y);

    // A member or a carried particle. Members are known by their group, so
    // this is no scan.
    bool contains(const Particle* p) const;
    void addLeader(Particle* cell);
    // Registered body cells (CCValue<Particle*>); without a leader the object
    // breaks. Null adds nothing.
    void addParts(cocos2d::CCArray* parts);
    Particle* createPart(int dx, int dy, uint32_t type);
    Particle* createPartColoured(int dx, int dy, uint32_t type, cocos2d::ccColor4B colour);
    // Makes a cell that took a member's place (a queued coloured replacement)
    // a member in its turn.
    void adopt(Particle* cell);

    void carryParticleAt(int x, int y);
    void carryParticles(cocos2d::CCArray* points, int originX, int originY);
    void dropCarried();
    void updateSortedPosition(Particle* p, int x, int y);
    // Called just before a and b exchange their cells: re-sorts them as if
    // they had.
    void updateSortedSwap(Particle* a, Particle* b);

    // Detaches the member at (x, y); false when no member stands there.
    bool removeAt(int x, int y, bool queueRemoval);
    // Detaches one member without queueing its removal (a cell being
    // destroyed or replaced); false when it is no member.
    bool removeMember(Particle* cell);
    // Detaches every member, queues its removal and empties the member lists.
    void dissolve();
    // Releases the four lists (the world does this before freeing the object).
    void releaseMemberLists();

    // Reshapes after CCValue<sBodyPart> descriptions (consumed); false, with
    // nothing changed, when a target is outside the world or foreign.
    bool rebuild(cocos2d::CCArray* descriptions);
    // The same from plain descriptions (nothing is consumed).
    bool rebuild(const sBodyPart* parts, size_t count);
    // Colours every member from a skin scheme; nothing for an unknown scheme.
    void paintScheme(cocos2d::CCString* name, int facing);
    // The same by the scheme's key, djb2 of its name.
    void paintScheme(uint32_t key, int facing);

    // Moves the whole object; false when refused. separateSteps: the vertical
    // step is tested and made first, then the horizontal one.
    bool moveBy(int dx, int dy, bool separateSteps);
    // Fills work with the members and carried particles; false when one of
    // them, mirrored within columns left..right, would enter the border
    // ring or a foreign particle.
    bool mirrorFits(int left, int right, std::vector<Particle*>& work) const;

    cocos2d::CCArray* memberLists[kMemberLists] = {};
    cocos2d::CCArray*& members = memberLists[kMembers];
    cocos2d::CCArray*& membersByX = memberLists[kByX];
    cocos2d::CCArray*& membersByY = memberLists[kByY];
    cocos2d::CCArray*& carried = memberLists[kCarried];
    Particle* leader = nullptr;
    bool broken = false;

private:
    // The new cell at the leader's offset, not yet a member; null (and the
    // object broken) when the place is taken or outside the world.
    Particle* placePart(int dx, int dy, uint32_t type);
    void join(Particle* cell);
    bool acceptable(int x, int y) const;
    bool targetsAcceptable(int dx, int dy) const;
    void moveCell(Particle* p, int x, int y);
    Box* boxOf(const Particle* p, cocos2d::CCArray* list) const;
    // A box for a cell joining the lists: one that served a cell before when
    // there is (creatures and their loads change cells every few steps).
    static Box* boxFor(Particle* p);
    // A box out of every list, with the caller's reference, goes back for
    // the next cell.
    static void spare(cocos2d::CCObject* box);
    // Empties a list that shares no box with another, its boxes going back.
    static void spareAll(cocos2d::CCArray* list);

    // The carried particles, for contains(); kept with its room.
    std::vector<const Particle*> carriedCells;
};

// Skin schemes: (scheme key = djb2 of the name, dx, dy, facing) -> colour.
// `known` says whether the store holds a scheme of that key. Installed by the
// scheme store; without it no scheme is known.
struct SkinSchemeHooks {
    bool (*known)(uint32_t key) = nullptr;
    cocos2d::ccColor4B (*colourAt)(uint32_t key, int dx, int dy, int facing) = nullptr;
};
void setSkinSchemeHooks(SkinSchemeHooks hooks);
