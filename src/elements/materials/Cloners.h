#pragma once
// The cloners and the spark. Multi takes on the kind of the first suitable
// particle that touches it and then fills the empty cells around it with
// that kind, one try a step; EMulti does the same only while it carries
// current. Electro is lightning: it falls, passes through clouds, powers the
// Metal it lands on and ends on anything else.
#include "elements/materials/Element.h"

// clang-format off
//                                   type name dens blast  factor colour rows start row        sound                  absorb flags         light
inline constexpr ElementInfo kMultiInfo   {"Multi",   0, -1.0f, 0.2f, {38},      StartRow::First, "sfx_element_multi",   0,     kFlat};
inline constexpr ElementInfo kEMultiInfo  {"EMulti",  0, -1.0f, 0.2f, {153},     StartRow::First, "sfx_element_multi",   0,     kFlat};
inline constexpr ElementInfo kElectroInfo {"Electro", 0, 0.95f, 0.8f, {11},      StartRow::First, "sfx_element_electro", 0,     kFlat | kLightSource, 2};
// clang-format on

// Whether a cloner may take on a kind. The powered one never takes the Metal
// or Power that feeds it.
bool clonerMayCopy(uint32_t type, bool powered);

// Multi and EMulti: the kind taken (0 = none yet) is saved as four
// little-endian bytes, so a loaded cloner goes on with the same kind.
template <const ElementInfo& Info, bool Powered> class Cloner : public Element<Info> {
public:
    static constexpr int32_t kSaveBytes = 4;
    int32_t getSaveSize() const override { return kSaveBytes; }
    void saveExtra(ByteWriter& out) override;
    // A kind it could never have taken (unknown to the factory, or one it
    // never copies) loads as none.
    void loadExtra(ByteReader& in) override;
    void update() override;

    uint32_t copiedType = 0;
};

using Multi = Cloner<kMultiInfo, false>;
using EMulti = Cloner<kEMultiInfo, true>;

class Electro : public LitElement<kElectroInfo> {
public:
    void update() override;

private:
    void passThroughClouds();
};

// Registers Multi, EMulti and Electro with the element factory.
void registerCloners();
