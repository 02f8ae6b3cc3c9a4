#pragma once
// The small multi-pixel creatures: the rabbit (a leader and two body cells)
// that hops, jumps obstacles, grazes and breeds; the falling block ("Tetro",
// four cells in one of fourteen shapes) that falls and drifts; and the
// invader, whose body is read from a picture and which patrols and fires
// laser beams downward.
#include <cstdint>
#include <memory>

#include "elements/creatures/MPBase.h"

struct CreaturePicture;

// clang-format off
//                                        type name         dens blast factor rows  start           sound                  absorb
inline constexpr ElementInfo kRabbitInfo      {"MPLeaderRabbit", 0, 0.8f, 0.8f, {97}, StartRow::None, "sfx_element_fire",    0};
inline constexpr ElementInfo kRabbitBodyInfo  {"MPRabbitBody",   0, 0.8f, 0.8f, {96}, StartRow::None, "sfx_element_fire",    0};
inline constexpr ElementInfo kTetroInfo       {"Tetro",          0, 0.8f, 0.8f, {97}, StartRow::None, "sfx_element_fire",    255};
inline constexpr ElementInfo kInvaderInfo     {"MPInvader",      0, 0.8f, 0.8f, {97}, StartRow::None, "sfx_element_invader", 0};
// clang-format on

class MPRabbitBody : public CellKind<kRabbitBodyInfo, MPBodyBase> { };

class MPLeaderRabbit : public CellKind<kRabbitInfo, MPLeaderBase> {
public:
    MPLeaderRabbit();
    void update() override;
    void buildBody() override;

    // Reshapes to face the other way; false (facing kept) when refused.
    bool turn(bool right);
    bool seekFood();
    void breed(MPLeaderRabbit* other);

    bool facingRight = true;
    bool jumping = false;
    bool jumpBlocked = false;
    int32_t jumpCountdown;
    int32_t riseSteps = 0;
    int32_t descentSteps = 0;
    int32_t littersLeft;
    int32_t breedCooldown;

private:
    void startJump(int steps);
    void jumpStep();
    void lookAround();
    static bool isPlant(uint32_t type);
};

class MPLeaderTetris : public CellKind<kTetroInfo, MPLeaderBase> {
public:
    static constexpr int kShapes = 14;
    // The three body offsets of each shape, in creation order.
    static const int kShapeCells[kShapes][3][2];

    void update() override;
    void buildBody() override;
};

class MPInvader : public CellKind<kInvaderInfo, MPLeaderBase> {
public:
    static constexpr int kPictures = 12;
    static constexpr int kFirePeriod = 30;
    static constexpr int kBeamColourRow = 107;

    MPInvader();
    bool isLiving() const override { return true; }
    int32_t getSaveSize() const override { return 20; }
    void saveExtra(ByteWriter& out) override;
    void loadExtra(ByteReader& in) override;
    void update() override;
    void buildBody() override;

    // Builds the body from picture n; false (nothing built) when the picture
    // cannot be read or has no marker.
    bool buildFromImage(int n);

    int32_t imageIndex = -1;
    int32_t stepPeriodX;
    int32_t stepPeriodY;
    int32_t stepCountX = 0;
    int32_t stepCountY = 0;
    int32_t gunCount = 0;
    std::unique_ptr<int32_t[]> gunOffsets;
    int32_t markerRow = 0;
    int32_t fireCountdown = kFirePeriod;

private:
    // Reads the marker and the guns of picture n; false without a usable one.
    bool readGuns(int n, const CreaturePicture*& picture, int& markerCol);
    void removeSelfOnce(const char* why);
    bool toldBroken = false;
};

// One registration call for the family (and MPBodyBase, which the falling
// block uses for its cells).
void registerSmallCreatures();
