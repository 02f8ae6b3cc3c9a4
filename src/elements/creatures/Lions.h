#pragma once
// The lion: a body read from a picture (facing left, mirrored in place to
// face right), which falls, wanders, looks for humans with its path search
// and bites them. Its two behaviours take turns: the search wanders until
// the path search reaches a human, the bite takes one and hands back.
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "elements/creatures/Behaviours.h"
#include "elements/creatures/MPBase.h"
#include "elements/creatures/PathSearch.h"

struct CreaturePicture;

// clang-format off
//                                        type name     dens blast factor rows  start           sound              absorb flags
inline constexpr ElementInfo kLionLeaderInfo  {"LionLeader", 0, 0.8f, 0.8f, {97}, StartRow::None, "sfx_element_lion", 0};
inline constexpr ElementInfo kLionPartInfo    {"LionPart",   0, 0.8f, 0.8f, {96}, StartRow::None, "sfx_element_fire", 0, kEditable};
// clang-format on

class LionPart : public CellKind<kLionPartInfo, MPBodyBase> {
public:
    // Forwards to the leader's touch (which does nothing for a lion).
    void onTouch() override;
};

class LionLeader : public CellKind<kLionLeaderInfo, MPLeaderBase>, public BehaviourOwner {
public:
    static constexpr const char* kPicturePath = "animals/lion.png";
    static constexpr int kLimit = 4;

    LionLeader();
    ~LionLeader() override;
    bool isLiving() const override { return true; }
    int32_t getSaveSize() const override { return 12; }
    void saveExtra(ByteWriter& out) override;
    void loadExtra(ByteReader& in) override;
    void update() override;
    void buildBody() override;

    bool loadImage();
    // Mirrors the body in place; false (nothing moved) when a mirrored cell
    // would leave the inner world or land on a foreign particle.
    bool mirror();
    void followPath();

    // BehaviourOwner.
    Particle* ownerCell() override { return this; }
    MPObject* ownerGroup() const override { return group; }
    int facing() const override { return facingSide; }
    void turnAround() override;
    PathSearch* pathSearch() override { return search.get(); }
    ParticleAction* actionOf(uint32_t typeId) override;
    void setAction(uint32_t typeId) override;

    int32_t facingSide;
    int32_t stepCounter = 0;
    const CreaturePicture* bodyImage = nullptr;
    int32_t originX = 0;
    int32_t originY = 0;
    std::unique_ptr<PathSearch> search;
    ParticleAction* currentAction = nullptr;
    std::map<uint32_t, std::unique_ptr<ParticleAction>> actions;

private:
    // Kept between mirrors so that turning allocates nothing.
    std::vector<Particle*> mirrorWork;
    std::vector<uint8_t> mirrorDone;
};

// One registration call for the family.
void registerLions();
