#pragma once
// The procedural tree. A Seed falls until it lands; on Mud the Mud becomes a
// TreeRoot, which grows a two-column trunk of Wood one cell at a time, sets a
// TreeCenter on top and turns into Wood itself. The centre fills a flattened
// disc around itself with TreeLeaf cells and then rests. Nothing of a tree's
// growth is saved: a root read back decides again from the Wood above it.
#include "elements/living/LivingKinds.h"

// clang-format off
//                                      type name     dens blast  factor colour rows        start row         sound               absorb
inline constexpr ElementInfo kSeedInfo       {"Seed",       100, 0.95f, 0.4f, {48},             StartRow::First,  "sfx_element_seed", 0};
inline constexpr ElementInfo kTreeRootInfo   {"TreeRoot",   100, 0.65f, 0.8f, {66, 67},         StartRow::Random, "sfx_element_wood", 20};
inline constexpr ElementInfo kTreeCenterInfo {"TreeCenter", 100, 0.95f, 0.8f, {58, 59, 60, 61}, StartRow::Random, "sfx_element_wood", 40};
inline constexpr ElementInfo kTreeLeafInfo   {"TreeLeaf",   0,   0.95f, 0.8f, {62, 63, 64, 65}, StartRow::Random, "sfx_element_wood", 2};
// clang-format on

// The walk every seed makes down one column as it lands, from two rows above
// it: empty cells and the seed itself are passed, Grass and other seeds of
// its own kind are removed at once, anything else ends the walk. Cells
// outside the grid are passed over; the walk ends after row 0.
void clearSeedColumn(const Particle& seed, int dx);
// The three columns around the seed, left to right.
void clearSeedColumns(const Particle& seed);

class Seed : public Element<kSeedInfo> {
public:
    bool isLiving() const override { return true; }
    void update() override;
};

class TreeRoot : public Element<kTreeRootInfo> {
public:
    TreeRoot();
    void update() override;

    bool rooted = false;
    int32_t trunkHeight;
    int32_t crownRadius;
    bool leftSide;

private:
    void chooseSide();
    void grow();
    void turnToWood() const;
    // Sets the crown's centre at (x, cy), clearing the cell first.
    void setCrown(int cy) const;
    // A new Wood of the trunk at (cx, cy) in colour entry `shade`.
    static void addTrunk(int cx, int cy, int shade);
};

class TreeCenter : public Element<kTreeCenterInfo> {
public:
    void setPosition(int cx, int cy) override;
    void update() override;

    int32_t radius = 0;
    bool growing = true;

private:
    bool findLeafSpot(int& spotX, int& spotY) const;
    bool counted = false;  // the grown-tree count is taken at the first placement
};

class TreeLeaf : public Element<kTreeLeafInfo> {
public:
    void update() override;
};

// Registers Seed, TreeRoot, TreeCenter and TreeLeaf with the element factory.
void registerTrees();
