#pragma once
// The small plants: Algae (a rooted underwater plant that grows a frond of
// AlgaeLeaf cells into the water around it), AlgaeLeaf, Grass (a blade that
// grows up from Mud and may carry a flower), FlowerCenter (the flower head
// that sprouts up to three petals) and FlowerPetal. All of them burn, and die
// in the dark or without their support.
#include "elements/living/LivingKinds.h"
#include "elements/materials/Powders.h"

// clang-format off
//                                        type name       dens blast factor colour rows        start row        sound                 absorb flags
inline constexpr ElementInfo kAlgaeInfo        {"Algae",        0,   0.9f, 0.8f, {81, 82, 83},     StartRow::None,  "sfx_element_algae", 20, kFlat};
inline constexpr ElementInfo kAlgaeLeafInfo    {"AlgaeLeaf",    0,   0.9f, 0.8f, {81, 82, 83},     StartRow::None,  "sfx_element_algae", 20, kFlat};
inline constexpr ElementInfo kGrassInfo        {"Grass",        100, 0.9f, 0.8f, {26, 27, 28},     StartRow::First, "sfx_element_seed",  0};
inline constexpr ElementInfo kFlowerCenterInfo {"FlowerCenter", 100, 0.9f, 0.8f, {15, 16, 17, 18}, StartRow::None,  "sfx_element_seed",  0};
inline constexpr ElementInfo kFlowerPetalInfo  {"FlowerPetal",  100, 0.9f, 0.8f, {19, 20, 21, 22}, StartRow::None,  "sfx_element_seed",  0};
// clang-format on

// The slow colour cycle Algae and its leaves share: one row further along
// their list every 21 updates.
template <const ElementInfo& Info> class CyclingPlant : public Element<Info> {
public:
    static constexpr int kTicksPerColour = 20;
    CyclingPlant() : colorPhase(gameRand() % 3) { this->color = Element<Info>::colorAtIndex(colorPhase); }

    int32_t colorPhase;
    int32_t colorTicks = 0;

protected:
    void cycleColour()
    {
        if (++colorTicks <= kTicksPerColour)
            return;
        colorTicks = 0;
        colorPhase = (colorPhase + 1) % 3;
        this->color = Element<Info>::colorAtIndex(colorPhase);
        this->redraw();
    }
};

class Algae : public CyclingPlant<kAlgaeInfo> {
public:
    static constexpr float kWarmth = 5.0f;
    bool isLiving() const override { return true; }
    void update() override;

    // What growLeafAt found.
    enum LeafResult { kStopped = 0, kQueued = 1, kLeafThere = 2 };

    bool shaped = false;
    int32_t stemHeight = 0;
    int32_t leftArmRow = 0;
    int32_t leftArmLength = 0;
    int32_t leftArmRise = 0;
    int32_t rightArmRow = 0;
    int32_t rightArmLength = 0;
    int32_t rightArmRise = 0;
    int32_t topLength = 0;

private:
    void takeShape();
    void grow();
    void growArm(int side, int row, int length, int rise);
    int growLeafAt(int cx, int cy);
};

class AlgaeLeaf : public CyclingPlant<kAlgaeLeafInfo> {
public:
    void update() override;
};

// A blade of grass: grows `growthLeft` more cells upward, the tip flowering
// when `flowering` is set. Whoever sprouts it seeds both.
class Grass : public Element<kGrassInfo>, public SeededGrowth {
public:
    void update() override;
    void seedGrowth(int growth, bool flower) override;

    int32_t growthLeft = 0;
    bool repaint = true;
    bool flowering = false;
};

// The flower head and its petals share a colour scheme, saved as one word.
template <const ElementInfo& Info> class FlowerPart : public Element<Info> {
public:
    static constexpr int kSchemes = 4;
    FlowerPart() : colorIndex(gameRand() % kSchemes) { this->color = Element<Info>::colorAtIndex(colorIndex); }

    int32_t getSaveSize() const override { return 4; }
    void saveExtra(ByteWriter& out) override;
    void loadExtra(ByteReader& in) override;
    // Takes the scheme and repaints the cell. An index outside the schemes
    // (a damaged save) keeps the current one.
    void setColorIndex(int index)
    {
        if (index < 0 || index >= kSchemes)
            return;
        colorIndex = index;
        this->color = Element<Info>::colorAtIndex(index);
        this->redraw();
    }

    int32_t colorIndex;
};

class FlowerCenter : public FlowerPart<kFlowerCenterInfo> {
public:
    static constexpr int kMaxPetals = 3;
    void update() override;

    int32_t petalCount = 0;
};

class FlowerPetal : public FlowerPart<kFlowerPetalInfo> {
public:
    void update() override;
};

// Registers the plants with the element factory.
void registerPlants();
