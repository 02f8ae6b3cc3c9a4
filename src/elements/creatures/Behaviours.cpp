#include "elements/creatures/Behaviours.h"

#include "elements/creatures/CreatureKinds.h"
#include "elements/creatures/MPObject.h"
#include "elements/creatures/PathSearch.h"
#include "platform/GameRandom.h"
#include "world/World.h"

void ParticleAction::step()
{
    if (state == kNotBegun)
        begin();
    else if (state == kRunning)
        tick();
}

namespace behaviour {

void wanderStep(BehaviourOwner& owner, WanderState& s, int frameLimit, int turnChance, int delay)
{
    if (--s.delay > 0)
        return;
    MPObject* group = owner.ownerGroup();
    if (group && !group->broken) {
        const int f = owner.facing();
        if (group->moveBy(f, 0, true)) {
            if (++s.frames >= frameLimit) {
                s.frames = 0;
                owner.swapWalkFrame(false);
            }
        } else if (gameRand() % turnChance == 0) {
            owner.turnAround();
        } else if (!group->moveBy(f, 1, false) && !group->moveBy(f, 2, false)) {
            owner.turnAround();
        }
    }
    s.delay = delay;
}

int scanOffset(const Particle& self, uint32_t type, int dx, int d0, int maxDepth)
{
    if (self.countNeighboursOfTypeAt(type, dx, d0) > 0)
        return d0;
    int d = d0;
    int last = d0;
    int found = 0;
    do {
        found = self.countNeighboursOfTypeAt(type, dx, d);
        last = d;
        ++d;
    } while (found == 0 && d <= maxDepth);
    return last + 1;
}

void addSearchTargets(PathSearch& search, const SearchTargets& targets)
{
    for (uint32_t kind : targets.goalKinds)
        search.addGoalKind(kind);
    for (uint32_t kind : targets.passableKinds)
        search.addPassableKind(kind);
    for (const std::string& job : targets.goalJobs)
        search.addGoalJob(job);
}

void removeSearchTargets(PathSearch& search, const SearchTargets& targets)
{
    for (uint32_t kind : targets.goalKinds)
        search.removeGoalKind(kind);
    for (uint32_t kind : targets.passableKinds)
        search.removePassableKind(kind);
    for (const std::string& job : targets.goalJobs)
        search.removeGoalJob(job);
}

}  // namespace behaviour

const behaviour::SearchTargets& LionSearchFoodAction::targets()
{
    static const behaviour::SearchTargets t{
        {CreatureKind::HumanPart},
        {},
        {"spaceman", "miner", "woodchopper", "hunter", "builder", "normal", "safari", "zombie"}};
    return t;
}

void LionSearchFoodAction::begin()
{
    state = kRunning;
    if (!owner)
        return;
    nextAction = owner->actionOf(ActionType::LionGatherHuman);
    if (PathSearch* search = owner->pathSearch())
        behaviour::addSearchTargets(*search, targets());
}

void LionSearchFoodAction::tick()
{
    if (owner)
        behaviour::wanderStep(*owner, wander, 2, 50, 6);
}

void LionSearchFoodAction::reset()
{
    if (owner)
        if (PathSearch* search = owner->pathSearch())
            behaviour::removeSearchTargets(*search, targets());
    state = kNotBegun;
}

bool LionGatherHumanAction::bite()
{
    if (!owner || !gWorld)
        return false;
    const Particle* self = owner->ownerCell();
    const int dx = 2 * owner->facing();
    // The same scan from offset 0 in begin and tick.
    const int pick = behaviour::scanOffset(*self, CreatureKind::HumanLeader, dx, 0, maxDepth);
    Particle* human = self->findHumanNear(dx, pick);
    if (!human || isZombieCell(human))
        return false;
    gWorld->queueRemove(human->x, human->y);
    owner->setAction(ActionType::LionSearchFood);
    return true;
}

void LionGatherHumanAction::begin()
{
    const bool bitten = bite();
    if (!bitten)
        state = kRunning;
}

void LionGatherHumanAction::tick()
{
    bite();
}
