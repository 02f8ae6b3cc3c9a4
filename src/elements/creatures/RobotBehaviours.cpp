#include "elements/creatures/RobotBehaviours.h"

#include "elements/creatures/CreatureKinds.h"
#include "elements/creatures/LaserBeams.h"
#include "elements/creatures/MPObject.h"
#include "elements/creatures/PathSearch.h"
#include "elements/creatures/Robots.h"
#include "world/World.h"

namespace {
bool isHumanCell(const Particle* p)
{
    return p && CreatureKind::isHuman(p->getType());
}
}  // namespace

RobotLeader& RobotAction::robot() const
{
    return *static_cast<RobotLeader*>(owner);
}

void RobotAction::backToRole() const
{
    owner->setAction(robot().role == "guardian" ? ActionType::RobotGuardSpot : ActionType::RobotSearchHuman);
}

bool robotSeesHumanInRow(const RobotLeader& r)
{
    const World& w = *gWorld;
    const int row = r.y + 4;
    if (row < 0 || row >= w.height)
        return false;
    for (int cx = r.x + r.getFacing(); cx >= 0 && cx < w.width; cx += r.getFacing())
        if (isHumanCell(w.grid[cx][row]))
            return true;
    return false;
}

void RobotWalkAction::tick()
{
    if (--wander.delay > 0)
        return;
    RobotLeader& r = robot();
    if (robotSeesHumanInRow(r)) {
        state = kFinished;
        r.setAction(ActionType::RobotShootHuman);
    }
    const int f = r.getFacing();
    if (r.group && !r.group->broken && r.group->moveBy(f, 0, true)) {
        if (++wander.frames > 3) {
            wander.frames = 0;
            r.swapWalkFrame(false);
        }
    } else {
        r.setFacing(-f);
    }
    wander.delay = 6;
    if (++r.patrolSteps > r.patrolLength) {
        r.setAction(ActionType::RobotGuardSpot);
        state = kFinished;
        r.patrolSteps = 0;
    }
}

void RobotGuardSpotAction::begin()
{
    ticks = 0;
    state = kRunning;
    robot().setRole("guardian");
}

void RobotGuardSpotAction::tick()
{
    RobotLeader& r = robot();
    if (ticks > 5) {
        ticks = 0;
        r.turnAround();
        r.setAction(ActionType::RobotWalk);
    }
    ++ticks;
    if (robotSeesHumanInRow(r)) {
        state = kFinished;
        r.setAction(ActionType::RobotShootHuman);
    }
}

bool RobotShootHumanAction::humanInLineOfFire(const RobotLeader& r)
{
    const World& w = *gWorld;
    const int f = r.getFacing();
    if (r.y < 0 || r.y >= w.height)
        return false;
    // The line ends at the world's last column, in either world size; the
    // robot's own body is not in its way.
    for (int cx = r.x + f; cx >= 0 && cx < w.width; cx += f) {
        const Particle* p = w.grid[cx][r.y];
        if (p && !(r.group && p->getGroup() == r.group))
            return p->getType() == CreatureKind::HumanLeader;
    }
    return false;
}

void RobotShootHumanAction::tick()
{
    RobotLeader& r = robot();
    const int f = r.getFacing();
    if (r.weapon == "laser") {
        traceLaserBeam(r.x + 2 * f, r.y + 4, f, 0, RobotLeader::kShotRow);
    } else if (gWorld) {
        // The shell is the vehicles' TankBullet; none is fired when the
        // world refuses it (a taken cell, the edge, a full world).
        Particle* shell = gWorld->addParticle(r.x + 2 * f, r.y + 4, hashString("TankBullet"), false);
        if (shell)
            fireShell(shell, f);
    }
    if (humanInLineOfFire(r))
        return;
    r.setAction(r.role == "guardian" ? ActionType::RobotWalk : ActionType::RobotSearchHuman);
}

const behaviour::SearchTargets& RobotSearchHumanAction::targets()
{
    static const behaviour::SearchTargets t{
        {CreatureKind::HumanLeader}, {}, {"spaceman", "miner", "woodchopper", "hunter", "builder", "normal", "safari"}};
    return t;
}

void RobotSearchHumanAction::begin()
{
    state = kRunning;
    // The robot's table holds no GatherHuman: the hunt hands over nothing.
    nextAction = owner->actionOf(ActionType::GatherHuman);
    if (PathSearch* search = owner->pathSearch())
        behaviour::addSearchTargets(*search, targets());
    robot().setRole("hunter");
}

bool RobotSearchHumanAction::seesHuman(const RobotLeader& r)
{
    const World& w = *gWorld;
    const int f = r.getFacing();
    for (int d = 2; d < r.sightRange; ++d) {
        const int cx = r.x + d * f;
        if (cx < 0 || cx >= w.width)
            return false;
        for (int h = 0; h <= 4; ++h)
            if (isHumanCell(w.at(cx, r.y + h)))
                return true;
    }
    return false;
}

void RobotSearchHumanAction::tick()
{
    behaviour::wanderStep(*owner, wander, 4, 50, 6);
    if (seesHuman(robot()))
        owner->setAction(ActionType::RobotShootHuman);
}

void RobotSearchHumanAction::reset()
{
    if (PathSearch* search = owner->pathSearch())
        behaviour::removeSearchTargets(*search, targets());
}

void RobotEquipLaserAction::tick()
{
    robot().setWeapon("laser");
    backToRole();
}

void RobotEquipMissileAction::tick()
{
    robot().setWeapon("missile");
    backToRole();
}

void RobotStunAction::tick()
{
    counter = 20;
    backToRole();
}

std::vector<std::unique_ptr<ParticleAction>> makeRobotActions(BehaviourOwner* owner)
{
    std::vector<std::unique_ptr<ParticleAction>> list;
    list.push_back(std::make_unique<RobotWalkAction>());
    list.push_back(std::make_unique<RobotGuardSpotAction>());
    list.push_back(std::make_unique<RobotShootHumanAction>());
    list.push_back(std::make_unique<RobotSearchHumanAction>());
    list.push_back(std::make_unique<RobotEquipLaserAction>());
    list.push_back(std::make_unique<RobotEquipMissileAction>());
    list.push_back(std::make_unique<RobotStunAction>());
    for (auto& a : list)
        a->owner = owner;
    return list;
}
