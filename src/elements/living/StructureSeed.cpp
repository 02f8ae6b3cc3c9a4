#include "elements/living/StructureSeed.h"

#include "profile/Profile.h"
#include "elements/creatures/HumanLeader.h"

namespace {

constexpr int kHumanCampaign = 5;
constexpr int kFireplaceDay = 1;
// A sea seed dives this many rows, and needs this many below it.
constexpr int kDive = 8;
constexpr int kLowestSeaRow = 9;

}  // namespace

void SeedState::update(Particle& self, const SeedParams& params)
{
    World& w = *gWorld;
    if (self.burnIfHot(LivingHeat::kBurns, LivingHeat::kBurnChance))
        return;
    if (blueprint) {
        if (blueprint->step())
            finish(self, params);
        return;
    }
    const bool resource = params.ground == SeedGround::Resource;
    if (resource && --startDelay > 0) {
        self.fall();
        return;
    }
    // The bottom row is the border's; a seed never looks below it.
    if (self.y <= 0) {
        w.queueRemove(self.x, self.y);
        return;
    }
    Particle* below = w.at(self.x, self.y - 1);
    if (!below) {
        if (!resource)
            self.fall();
        return;
    }
    switch (params.ground) {
    case SeedGround::Building:
    case SeedGround::Resource: settleOnLand(self, params); break;
    case SeedGround::Tree: settleOnMud(self, params); break;
    case SeedGround::Sea: diveIntoWater(self, params); break;
    }
}

void SeedState::settleOnLand(Particle& self, const SeedParams& params)
{
    World& w = *gWorld;
    const int x = self.x;
    const int y = self.y;
    // No building stands on the bottom row.
    if (y <= 1) {
        w.queueRemove(x, y);
        return;
    }
    Particle* below = w.grid[x][y - 1];
    if (below->getType() == LivingId::Grass) {
        clearSeedColumns(self);
        return;
    }
    groundKind = below->getType();
    clearSeedColumns(self);
    if (w.grid[x][y - 1])
        w.removeParticle(x, y - 1);
    w.moveParticle(&self, x, y - 1);
    createBlueprint(self, params, x, y);
    if (params.marksFireplace) {
        Profile* profile = Profile::getInstance();
        if (profile->getGameMode() == kHumanCampaign && profile->getDay() == kFireplaceDay)
            profile->setFireplacePlanted(true);
    }
}

void SeedState::settleOnMud(Particle& self, const SeedParams& params)
{
    World& w = *gWorld;
    const int x = self.x;
    const int y = self.y;
    const uint32_t ground = w.grid[x][y - 1]->getType();
    if (ground == TypeId::Mud) {
        clearSeedColumns(self);
        if (w.grid[x][y - 1])
            w.removeParticle(x, y - 1);
        w.moveParticle(&self, x, y - 1);
        createBlueprint(self, params, x, y);
    } else if (ground == LivingId::Grass) {
        clearSeedColumns(self);
    } else {
        w.queueRemove(x, y);
    }
}

void SeedState::diveIntoWater(Particle& self, const SeedParams& params)
{
    World& w = *gWorld;
    const int x = self.x;
    const int y = self.y;
    if (y < kLowestSeaRow || w.grid[x][y - 1]->getType() != TypeId::Water) {
        w.queueRemove(x, y);
        return;
    }
    // Down through the water to eight rows below, whatever stands there.
    w.removeParticle(x, y - kDive);
    w.moveParticle(&self, x, y - kDive);
    if (self.y != y - kDive) {
        w.queueRemove(x, y);
        return;
    }
    createBlueprint(self, params, x, y - kDive + 1);
}

void SeedState::createBlueprint(const Particle& self, const SeedParams& params, int originX, int originY)
{
    blueprint = std::make_unique<Blueprint>(params.startSound, params.endSound, params.folder, originX, originY,
                                            params.checkSpace, &self);
}

void SeedState::finish(const Particle& self, const SeedParams& params)
{
    World& w = *gWorld;
    switch (params.ground) {
    case SeedGround::Building: w.queueRemove(self.x, self.y); break;
    case SeedGround::Resource:
        w.queueReplaceById(self.x, self.y, groundKind);
        for (const char* const* use = params.uses; *use; ++use)
            HumanLeader::useResource(*use);
        break;
    case SeedGround::Tree: w.queueReplaceById(self.x, self.y, TypeId::Mud); break;
    case SeedGround::Sea: w.queueReplaceById(self.x, self.y, TypeId::Water); break;
    }
}
