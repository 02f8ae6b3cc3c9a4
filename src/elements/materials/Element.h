#pragma once
// The frame every material class is built on. A class's constants are one row
// of data (ElementInfo); Element<Info> turns that row into the class-wide
// statics (type id, sound name, colour-row list) and the getters every class
// answers, and sets the constructor's fields and start colour. LitElement
// adds the one Light a glowing class owns from construction to destruction.
//
// Invariants: the type id is djb2 of the type name (saved worlds hold it, so a
// type name never changes); a class's colour-row list is built once, in table
// order, and never freed; a lit element's light follows its cell.
#include <array>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "cocos2d.h"
#include "platform/GameRandom.h"
#include "world/ColorTables.h"
#include "world/LightMap.h"
#include "world/Particle.h"
#include "world/ParticleCreator.h"
#include "world/World.h"

// Type ids of the kinds the materials test their neighbours for.
namespace TypeId {
constexpr uint32_t of(const char* typeName)
{
    return hashString(typeName);
}
inline constexpr uint32_t Wall = of("Wall");
inline constexpr uint32_t OutsideWall = of("OutsideWall");
inline constexpr uint32_t Void = of("Void");
inline constexpr uint32_t Sand = of("Sand");
inline constexpr uint32_t SandWet = of("SandWet");
inline constexpr uint32_t Soil = of("Soil");
inline constexpr uint32_t Mud = of("Mud");
inline constexpr uint32_t Stone = of("Stone");
inline constexpr uint32_t Ash = of("Ash");
inline constexpr uint32_t Glass = of("Glass");
inline constexpr uint32_t Wax = of("Wax");
inline constexpr uint32_t Water = of("Water");
inline constexpr uint32_t Ice = of("Ice");
inline constexpr uint32_t Oil = of("Oil");
inline constexpr uint32_t OilBurning = of("OilBurning");
inline constexpr uint32_t Lava = of("Lava");
inline constexpr uint32_t WaxMelt = of("WaxMelt");
inline constexpr uint32_t Steam = of("Steam");
inline constexpr uint32_t Smoke = of("Smoke");
inline constexpr uint32_t Cloud = of("Cloud");
inline constexpr uint32_t Fire = of("Fire");
inline constexpr uint32_t Grass = of("Grass");
inline constexpr uint32_t Metal = of("Metal");
inline constexpr uint32_t Snow = of("Snow");
inline constexpr uint32_t Gas = of("Gas");
inline constexpr uint32_t Explosion = of("Explosion");
inline constexpr uint32_t Acid = of("Acid");
inline constexpr uint32_t AcidWater = of("AcidWater");
inline constexpr uint32_t AcidSteam = of("AcidSteam");
inline constexpr uint32_t Virus = of("Virus");
inline constexpr uint32_t AVirus = of("AVirus");
inline constexpr uint32_t Electro = of("Electro");
inline constexpr uint32_t Multi = of("Multi");
inline constexpr uint32_t EMulti = of("EMulti");
inline constexpr uint32_t Meteor = of("Meteor");
inline constexpr uint32_t Fireworks = of("Fireworks");
}  // namespace TypeId

// Which colour row a new particle starts with.
enum class StartRow : uint8_t {
    First,              // index 0
    Second,             // index 1
    Random,             // rand() % the number of rows
    SecondOneInThree,   // index 1 when rand() % 3 == 0, else index 0
    RandomAfterFields,  // as Random, drawn by the class's constructor once its
                        // own fields have drawn theirs (pickStartRow)
    None,               // the class sets its colour itself
};

// Constructor flags that differ from the base.
enum ElementFlag : uint8_t {
    kLiquid = 1,       // shaded as a liquid by the column light pass
    kLightSource = 2,  // self-lit: drawn in its own colour
    kFlat = 4,         // depthShaded 0: drawn flat at full light
    kEditable = 8,     // a long press calls onTouch
};

// One row of a family's constants table.
struct ElementInfo {
    const char* typeName;
    int32_t density;
    float blastFactor;
    float factor;
    ColorRows colorRows;
    StartRow startRow;
    const char* sound;
    int32_t lightAbsorption = 255;
    uint8_t flags = 0;
    int32_t lightRadius = 0;  // lit elements: radius of their Light (intensity 1)
};

// Order in which a 3 x 3 block is searched.
enum class BlockOrder : uint8_t {
    ColumnsFirst,  // dx outer, dy inner: the materials' own 3 x 3 scan
    RowsFirst,     // dy outer, dx inner: Particle::findNeighbour's order
};

// Kind tests for the neighbour scans that run every update. A `Likely` test
// reads a plain field that every particle of the kind carries (set from its
// constants row, never changed), so most cells are ruled out before the
// virtual type id is asked; the `IsType` test then decides.
namespace Likely {
inline bool liquid(const Particle* p)
{
    return p->liquid;
}
inline bool selfLit(const Particle* p)
{
    return p->lightSource;
}
}  // namespace Likely
// The kind tests take one kind or a row of them (KindLanes), so that a block
// scan tests a row at once.
namespace IsType {
inline constexpr auto water = [](auto type) { return type == TypeId::Water; };
inline constexpr auto lava = [](auto type) { return type == TypeId::Lava; };
inline constexpr auto electro = [](auto type) { return type == TypeId::Electro; };
}  // namespace IsType

// Four kinds of a row of the grid.
using KindLanes = uint32_t __attribute__((vector_size(16)));

// Whether any of the first three lanes of a comparison's result is set (the
// fourth kind of a row lies outside the 3 x 3 block).
template <class Lanes> inline bool anyOfFirstThree(Lanes hits)
{
#if defined(__SSE2__)
    return (_mm_movemask_ps(reinterpret_cast<__m128>(hits)) & 7) != 0;
#else
    return (hits[0] | hits[1] | hits[2]) != 0;
#endif
}

// Helpers shared by every material update. Cells outside the grid read as the
// border sentinel, so nothing ever moves or reaches out of the world.
class MaterialParticle : public Particle {
protected:
    static World& world() { return *gWorld; }
    static Particle* cellAt(int cx, int cy)
    {
        World& w = *gWorld;
        return w.inWorld(cx, cy) ? w.grid[cx][cy] : w.outsideWall;
    }
    static bool isEmptyAt(int cx, int cy) { return gWorld->isFree(cx, cy); }
    static bool holds(int cx, int cy, uint32_t type)
    {
        Particle* p = cellAt(cx, cy);
        return p && p->getType() == type;
    }
    // A chance of 1 in n.
    static bool oneIn(int n) { return gameRand() % n == 0; }

    // (A particle's own cell always lies in the storage.)
    float temperature() const { return gWorld->temperatureField.getInside(x, y); }
    void heat(float amount) const { gWorld->temperatureField.addAt(x, y, amount); }
    // Deferred: the particle keeps acting until the next step begins.
    void replaceBy(uint32_t type) const { gWorld->queueReplaceById(x, y, type); }
    void removeSelf() const { gWorld->queueRemove(x, y); }
    void moveTo(int cx, int cy) { gWorld->moveParticle(this, cx, cy); }
    // Exchanges cells with another particle; changes queued for either cell
    // go with the particle they were meant for.
    void swapWith(Particle* other)
    {
        gWorld->swapPendingChanges(this, other);
        gWorld->swapParticles(this, other);
    }
    // Moves one cell down when that cell is empty.
    bool dropIfFree()
    {
        if (!isEmptyAt(x, y - 1))
            return false;
        moveTo(x, y - 1);
        return true;
    }
    // Rises one cell when that cell is empty.
    bool riseIfFree()
    {
        if (!isEmptyAt(x, y + 1))
            return false;
        moveTo(x, y + 1);
        return true;
    }
    // The first particle of the 3 x 3 block (own cell included) in the given
    // order whose kind passes `confirm` and that passes `likely`, or null.
    // Inside the border the kinds are read from the world's flat kind array,
    // so only a match is visited.
    template <class Likely, class Confirm>
    Particle* firstInBlock(BlockOrder order, Likely likely, Confirm confirm) const
    {
        static_assert(std::is_invocable_v<Confirm, KindLanes>, "a kind test also takes a row (KindLanes)");
        const World& w = *gWorld;
        if (x >= 1 && y >= 1 && x < w.width - 1 && y < w.height - 1) {
            // Most blocks hold no match: all nine kinds are tested without
            // a branch first, and only a block with one is walked in order.
            // A row of the block at a time; the fourth kind of each row lies
            // outside the block.
            const uint32_t* kinds = w.kindsFrom(x - 1, y - 1);
            KindLanes rows[3];
            for (int row = 0; row < 3; ++row)
                std::memcpy(&rows[row], kinds + row * World::kMaxWidth, sizeof(KindLanes));
            if (!anyOfFirstThree(confirm(rows[0]) | confirm(rows[1]) | confirm(rows[2])))
                return nullptr;
            for (int outer = -1; outer <= 1; ++outer)
                for (int inner = -1; inner <= 1; ++inner) {
                    const int cx = x + (order == BlockOrder::ColumnsFirst ? outer : inner);
                    const int cy = y + (order == BlockOrder::ColumnsFirst ? inner : outer);
                    if (!confirm(w.kindAt(cx, cy)))
                        continue;
                    Particle* p = w.grid[cx][cy];
                    if (p && likely(p))
                        return p;
                }
            return nullptr;
        }
        Particle* cells[9];
        gatherBlock(cells, order);
        unsigned candidates = 0;
        for (unsigned i = 0; i < 9; ++i)
            candidates |= static_cast<unsigned>(cells[i] != nullptr && likely(cells[i])) << i;
        while (candidates) {
            const int i = __builtin_ctz(candidates);
            if (confirm(cells[i]->getType()))
                return cells[i];
            candidates &= candidates - 1;
        }
        return nullptr;
    }
    // The nine cells of the block in search order.
    void gatherBlock(Particle* (&cells)[9], BlockOrder order) const
    {
        const World& w = *gWorld;
        const bool inside = x >= 1 && y >= 1 && x < w.width - 1 && y < w.height - 1;
        int i = 0;
        for (int outer = -1; outer <= 1; ++outer)
            for (int inner = -1; inner <= 1; ++inner) {
                const int cx = x + (order == BlockOrder::ColumnsFirst ? outer : inner);
                const int cy = y + (order == BlockOrder::ColumnsFirst ? inner : outer);
                cells[i++] = inside ? w.grid[cx][cy] : cellAt(cx, cy);
            }
    }
    // Whether two or more consecutive cells directly above are occupied,
    // counting only cells inside the grid (the top border row ends it).
    bool loadedFromAbove() const
    {
        World& w = *gWorld;
        return w.inWorld(x, y + 2) && w.occupiedAt(x, y + 1) && w.occupiedAt(x, y + 2);
    }
    // The wet powders (SandWet, Mud) seep down unless two or more cells rest
    // on them: 1 in 8 they pick a cell of the row below and swap with their
    // own dry kind there, or pass their water to the other dry kind (this
    // cell dries, that one turns wet). Defined with the powders.
    void seepDown(uint32_t dryKind, uint32_t otherDryKind, uint32_t otherWetKind);
};

// The class-wide getters of a kind (type id, colour rows, sound, weight) over
// a cell class Base; the kinds' own templates add their construction on top.
template <const ElementInfo& Info, class Base> class KindGetters : public Base {
public:
    static constexpr uint32_t kTypeId = hashString(Info.typeName);
    static constexpr const char* kTypeName = Info.typeName;

    static cocos2d::CCArray* colorRowList()
    {
        static cocos2d::CCArray* list = makeColorRowList(Info.colorRows);
        return list;
    }
    static const std::string& soundName()
    {
        static const std::string name(Info.sound);
        return name;
    }
    // Builds the class-wide statics now rather than on first use.
    static void prepareStatics()
    {
        colorRowList();
        soundName();
    }

    uint32_t getType() const override { return kTypeId; }
    int32_t getDensity() const override { return Info.density; }
    float getBlastFactor() const override { return Info.blastFactor; }
    cocos2d::CCArray* getColors() const override { return colorRowList(); }
    std::string getSoundName() const override { return soundName(); }
    float getFactor() const override { return Info.factor; }

protected:
    using Base::Base;
};

// Base is MaterialParticle, or a family's own base class (itself a
// MaterialParticle) that holds behaviour shared across the family's classes.
template <const ElementInfo& Info, class Base = MaterialParticle> class Element : public KindGetters<Info, Base> {
    static_assert(Info.startRow == StartRow::None || Info.colorRows.count > 0,
                  "a class that picks a start row needs colour rows");

public:
    // Colour 0 of the row at index i of the class's list.
    static cocos2d::ccColor4B colorAtIndex(int i)
    {
        return i >= 0 && i < Info.colorRows.count ? colorOfRow(Info.colorRows.rows[static_cast<size_t>(i)])
                                                  : cocos2d::ccColor4B{0, 0, 0, 0};
    }

protected:
    Element()
    {
        this->lightAbsorption = Info.lightAbsorption;
        this->liquid = (Info.flags & kLiquid) != 0;
        this->lightSource = (Info.flags & kLightSource) != 0;
        this->depthShaded = (Info.flags & kFlat) == 0;
        this->editable = (Info.flags & kEditable) != 0;
        switch (Info.startRow) {
        case StartRow::First: this->color = colorAtIndex(0); break;
        case StartRow::Second: this->color = colorAtIndex(1); break;
        case StartRow::Random: this->color = colorAtIndex(gameRand() % Info.colorRows.count); break;
        case StartRow::SecondOneInThree: this->color = colorAtIndex(gameRand() % 3 == 0 ? 1 : 0); break;
        case StartRow::RandomAfterFields:
        case StartRow::None: break;
        }
    }
    // The start row of a class whose own fields draw random numbers: the
    // fields draw first, then the row.
    void pickStartRow()
    {
        static_assert(Info.startRow == StartRow::RandomAfterFields);
        this->color = colorAtIndex(gameRand() % Info.colorRows.count);
    }
};

// A glowing element: takes its Light at (0, 0) when constructed (the cell is
// not known yet), moves it in setPosition and gives it back when destroyed.
// Without a world (a particle made outside any world) it simply has no light.
template <const ElementInfo& Info, class Base = MaterialParticle> class LitElement : public Element<Info, Base> {
    static_assert(Info.lightRadius > 0, "a lit element needs a light radius");

public:
    ~LitElement() override
    {
        if (light && lightOwner)
            lightOwner->removeLight(light);
    }
    void setPosition(int cx, int cy) override
    {
        Particle::setPosition(cx, cy);
        followLight();
    }
    Light* getLight() const { return light; }

protected:
    LitElement()
    {
        if (gWorld) {
            lightOwner = &gWorld->lightMap;
            light = lightOwner->addLight(0, 0, Info.lightRadius, 1.0f);
        }
    }
    // When the light's centre differs from the cell: take its contribution
    // out, move it and mark it for recomputation.
    void followLight()
    {
        if (!light || (light->x == this->x && light->y == this->y))
            return;
        light->remove();
        light->x = this->x;
        light->y = this->y;
        light->changed = true;
    }

    Light* light = nullptr;
    LightMap* lightOwner = nullptr;
};

// Registers each class with the element factory under its type name and
// builds its class-wide statics.
template <class... Classes> void registerElements()
{
    (ParticleCreator::registerClass<Classes>(Classes::kTypeName), ...);
    (Classes::prepareStatics(), ...);
}
