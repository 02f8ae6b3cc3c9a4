#pragma once
// The cells of multi-pixel objects. MPBase is any cell (the link to its
// group); MPLeaderBase is the one leader cell, which builds the object (new,
// or re-assembled from registered body cells after a load); MPBodyBase is a
// body cell, which keeps its leader's position across a save. Destroying a
// cell that still belongs to its object breaks the object.
#include <cstdint>
#include <string>
#include <vector>

#include "elements/creatures/MPObject.h"
#include "elements/materials/Element.h"

class MPLeaderBase;
struct CreaturePicture;

class MPBase : public Particle {
public:
    ~MPBase() override;
    MPObject* getGroup() const override { return group; }
    bool isMultiPixel() const override { return true; }
    void setGroup(MPObject* g) override { group = g; }

    MPObject* group = nullptr;
    bool detached = false;  // already taken out of its object
};

// The class-wide values of a cell kind (the kind's getters, light
// absorption, editability and first colour), on top of the cell class Base.
template <const ElementInfo& Info, class Base> class CellKind : public KindGetters<Info, Base> {
protected:
    CellKind()
    {
        this->lightAbsorption = Info.lightAbsorption;
        this->editable = (Info.flags & kEditable) != 0;
        this->color = colorOfRow(Info.colorRows.rows[0]);
    }
};

// clang-format off
//                                     type name       dens blast factor rows  start           sound               absorb
inline constexpr ElementInfo kMPBodyBaseInfo   {"MPBodyBase",   0, 0.8f, 0.8f, {96}, StartRow::None, "sfx_element_fire", 0};
inline constexpr ElementInfo kMPLeaderBaseInfo {"MPLeaderBase", 0, 0.8f, 0.8f, {97}, StartRow::None, "sfx_element_fire", 255};
// clang-format on

class MPLeaderBase : public MPBase {
public:
    ~MPLeaderBase() override;
    void loadExtra(ByteReader& in) override;
    void update() override;

    // A body cell registering after a load.
    virtual void addPart(Particle* cell);
    // Creates the body through the group (createPart / createPartColoured).
    virtual void buildBody() = 0;
    // After the object was built or re-assembled.
    virtual void onBodyBuilt() { }

    // Forgets a registered body cell that is being destroyed.
    void forgetPart(Particle* cell);
    // Builds the body from a picture: its first opaque point (bottom row
    // first, from the left) is this cell and sets the origin, every other
    // one becomes a part of partType in its own colour.
    void buildFromPicture(const CreaturePicture& picture, uint32_t partType, int32_t& originX, int32_t& originY);

    cocos2d::CCArray* registeredParts = nullptr;
    int32_t buildState = -1;  // -1 new; 2, 1, 0 after a load; -2/-3 built
};

class MPBodyCell : public MPBase {
public:
    static constexpr int32_t kSaveSize = 12;
    ~MPBodyCell() override;
    int32_t getSaveSize() const override { return kSaveSize; }
    void saveExtra(ByteWriter& out) override;
    void loadExtra(ByteReader& in) override;
    void update() override;

    int32_t savedLeaderX = 0;
    int32_t savedLeaderY = 0;
    bool mustRegister = false;
    MPLeaderBase* registeredWith = nullptr;  // until the leader assembles
};

class MPBodyBase : public CellKind<kMPBodyBaseInfo, MPBodyCell> { };

// Registers MPBodyBase with the factory.
void registerBodyBase();
