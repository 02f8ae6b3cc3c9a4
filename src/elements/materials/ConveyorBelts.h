#pragma once
// Conveyor belts carry whatever stands on them one cell sideways each time a
// pulse head passes under them (a wire runs beneath; the belt itself is not
// a conductor). A load against a neighbouring belt one cell higher climbs
// onto it. A cell of a multi-pixel object moves its whole object.
#include "elements/materials/Element.h"

// clang-format off
//                                      type name        dens blast  factor colour rows start row        sound               absorb flags
inline constexpr ElementInfo kConveyorBeltLInfo {"ConveyorBeltL", 0, 0.7f, 0.8f, {151}, StartRow::First, "sfx_element_acid", 0,     kFlat};
inline constexpr ElementInfo kConveyorBeltRInfo {"ConveyorBeltR", 0, 0.7f, 0.8f, {152}, StartRow::First, "sfx_element_acid", 0,     kFlat};
// clang-format on

class ConveyorBelt : public MaterialParticle {
public:
    static bool isBelt(uint32_t type);
    // Carries the load above one cell toward `direction` when a pulse head
    // stands directly below.
    void update() override;

    int32_t direction = -1;  // -1 toward x - 1, +1 toward x + 1 (not saved)

private:
    // Moves the load to (tx, ty) (a multi-pixel cell moves its object by
    // (direction, ty - its row)).
    void carry(Particle* load, int tx, int ty);
};

template <const ElementInfo& Info, int Direction> class Belt : public Element<Info, ConveyorBelt> {
public:
    Belt() { this->direction = Direction; }
    void update() override
    {
        this->direction = Direction;
        ConveyorBelt::update();
    }
};

using ConveyorBeltLeft = Belt<kConveyorBeltLInfo, -1>;
using ConveyorBeltRight = Belt<kConveyorBeltRInfo, 1>;

// Registers the two belts (the base is never made).
void registerConveyorBelts();
