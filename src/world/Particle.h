#pragma once
// Particle: the base class of every element of the world. One instance stands
// in each occupied cell; the World's pool owns it. The base holds identity,
// cell, colour and lighting flags, the virtual operations every element class
// fills in, and the shared behaviours element updates call (falling, sliding,
// flowing, shimmer, burning, explosions, neighbour queries).
//
// Invariants: id is -1 while the particle is not in the pool; a pooled
// particle's (x, y) is the cell that holds it. A particle that removes itself
// (or is removed) during its update must not touch its own fields afterwards.
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <new>
#include <string>
#include <string_view>

#include "cocos2d.h"
#include "platform/GameRandom.h"

class ByteReader;
class ByteWriter;
class MPObject;
class ParticleEditor;

// djb2 over the bytes of a type name, each byte sign-extended before it is
// added (h = 5381; h = h * 33 + c, modulo 2^32). The type id of every element.
constexpr uint32_t hashString(std::string_view name)
{
    uint32_t h = 5381u;
    for (char c : name)
        h = h * 33u + static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(c)));
    return h;
}

// Colour 0 of the colour-table row the box names.
cocos2d::ccColor4B colorForIndex(cocos2d::CCInteger* row);

// Up to eight colour-table rows, in list order.
struct ColorRows {
    std::array<int16_t, 8> rows{};
    int count = 0;
    constexpr ColorRows(std::initializer_list<int> list)
    {
        for (int row : list)
            rows[static_cast<size_t>(count++)] = static_cast<int16_t>(row);
    }
};

// A class-wide colour-row list: a retained CCArray of CCInteger rows in the
// given order, never freed. Element classes build theirs once.
cocos2d::CCArray* makeColorRowList(const ColorRows& rows);

class Particle {
public:
    Particle();
    Particle(const Particle&) = delete;
    Particle& operator=(const Particle&) = delete;

    // Particles live in the particle pool (world/ParticlePool.h): making and
    // destroying them in a running world allocates nothing.
    static void* operator new(std::size_t size);
    static void operator delete(void* block, std::size_t size) noexcept;
    // A class that asks for more than the heap's alignment gets the heap.
    static void* operator new(std::size_t size, std::align_val_t align) { return ::operator new(size, align); }
    static void operator delete(void* block, std::align_val_t align) noexcept { ::operator delete(block, align); }

    // -1, 0 or 1: the offset of a random cell of a 3 x 3 block.
    static int randomOffset() { return gameRand() % 3 - 1; }

    // Virtual operations, in slot order.
    virtual int32_t getSaveSize() const;     // extra bytes saved per particle (0)
    virtual uint32_t getType() const = 0;    // class-wide type id
    virtual int32_t getDensity() const = 0;  // 0: never settles
    // Explosion rays are multiplied by it; one value for every particle of a
    // class (blasts ask each class once).
    virtual float getBlastFactor() const = 0;
    virtual bool isLiving() const;                    // placed one at a time (false)
    virtual cocos2d::CCArray* getColors() const = 0;  // CCInteger colour-table rows
    virtual std::string getSoundName() const;         // "sfx_element_soil"
    virtual float getFactor() const;                  // 0.8; nothing in the world reads it
    // Closes the particle's editor window when one is open.
    virtual ~Particle();
    // Stores the cell. Classes that keep state tied to their cell (a light,
    // a conductor) move it here; it runs after construction and on every move.
    virtual void setPosition(int x, int y);
    // Exactly getSaveSize() bytes each; a short read leaves the reader failed.
    virtual void saveExtra(ByteWriter& out);
    virtual void loadExtra(ByteReader& in);
    virtual void update();       // one step of behaviour
    virtual void onTouch();      // long press on an editable cell
    virtual void applyEditor();  // take the values of the open editor window

    // Hooks other subsystems fill in (nothing in the base).
    // Multi-pixel cells: the group the cell belongs to (null for plain elements).
    virtual MPObject* getGroup() const { return nullptr; }
    // A cell of a multi-pixel creature or vehicle (with or without a group).
    virtual bool isMultiPixel() const { return false; }
    virtual void setGroup(MPObject*) { }
    // Explosion cells: a ray passing sets both life timers to one value, and the
    // firework burst tints the cell.
    virtual void setLife(int) { }
    virtual void setTinted(bool) { }
    // Fireworks cells: the coloured burst at the cell when a ray reaches it.
    virtual void burst() { }

    // Shared behaviours (moves go through World::moveParticle).
    // (In line, defined with the world: most particles call one of them at
    // every update.)
    inline __attribute__((always_inline)) void fall();
    inline void slide();
    // slide() for a particle whose whole block lies in the world, given the
    // occupancy byte of its cell.
    inline void slideFrom(const uint8_t* occupied);
    // The side slide() tries: the remembered one, or a new draw one time in five.
    inline bool slideDirection() const;
    // slide() and then a rise into the cell above if it is free, made as one
    // move: the cell passed through ends as the two moves leave it.
    inline void slideThenRise();
    inline void flow();
    // Most updates only count towards the next shimmer: that much in line.
    void shimmer(int dx, int dy, bool exchange)
    {
        if (++shimmerCounter < shimmerPeriod)
            return;
        shimmerNow(dx, dy, exchange);
    }
    void shimmerNow(int dx, int dy, bool exchange);
    void setColor(cocos2d::ccColor4B colour);
    // Repaints the cell in the particle's colour without marking it changed.
    void redraw() const;
    // (Defined with the world: most calls find the particle cool and return
    // at once, without a call.)
    inline bool burnIfHot(int threshold, int chance);
    // The rest of burnIfHot, for a particle at temperature t above threshold.
    bool burn(float t, int threshold, int chance);

    // Neighbour queries. The 3 x 3 block is the cell and its eight neighbours;
    // cells outside the cells in use count as empty.
    Particle* getRandomNeighbourAt(int dx, int dy) const;
    Particle* findNeighbour(uint32_t type) const;
    Particle* findHumanNear(int dx, int dy) const;
    Particle* randomNeighbourOfType(uint32_t type) const;
    Particle* randomNeighbourOfTypeAt(uint32_t type, int dx, int dy) const;
    cocos2d::CCPoint randomEmptyNeighbour() const;  // (-1, -1) when none
    Particle* findNearest(uint32_t type, int radius) const;
    bool isAreaEmpty(int dx1, int dx2, int dy) const;
    void removeNeighboursOfType(uint32_t type) const;
    Particle* findGrassAlong(int dx, bool right) const;
    int countWoodAbove(int dx, int dy) const;
    int countEmptyNeighbours() const;
    int countOccupiedNeighbours() const;
    int countNeighboursOfType(uint32_t type) const;
    int countNeighboursOfTypeAt(uint32_t type, int dx, int dy) const;
    int countEmptyAbove() const;
    int countOccupiedBelow() const;

    // The base class's own class-wide values.
    static cocos2d::CCArray* baseColorRows();  // [24]
    static constexpr const char* kBaseSoundName = "sfx_element_soil";

    // The narrow fields fill the word after the class pointer, with no
    // padding anywhere: a particle is 56 bytes, so more of the world's
    // particles stay in cache.
    // An update that does nothing while the temperature of the particle's
    // cell is at most this (cool wood) is skipped by the step without a call;
    // kNeverIdle: every update runs. Beside the class pointer, which the step
    // reads anyway.
    static constexpr int16_t kNeverIdle = INT16_MIN;
    int16_t idleUpTo = kNeverIdle;
    bool mayIdle() const { return idleUpTo != kNeverIdle; }
    bool colorChanged = false;
    bool lightSource = false;  // self-lit: drawn in its own colour, absorbs nothing
    bool liquid = false;
    bool editable = false;
    bool depthShaded = true;  // false: the sun pass draws the cell flat at full light
    bool slideRight = false;  // direction remembered by slide()
    ParticleEditor* editor = nullptr;
    int32_t tag = 0;
    int32_t id = -1;
    int32_t x = 0;
    int32_t y = 0;
    cocos2d::ccColor4B color;
    int32_t shimmerPeriod;
    int32_t shimmerCounter = 0;
    int32_t lightAbsorption = 255;  // above 0: every change of the cell marks it for relighting
};
static_assert(sizeof(Particle) == 56, "a particle stays at 56 bytes");

// The blast of bombs, meteors and other explosives, 72 rays from (x, y).
void explode(int x, int y, int energy);
// Builds the blasts' ray tables now (every world does when it is made), so
// that the first blast of a run takes nothing from the heap mid-step.
void prepareBlasts();
// A firework's coloured burst: rays that tint the Explosion cells they make.
void explodeColored(int x, int y, int energy, float hue, int colours);
