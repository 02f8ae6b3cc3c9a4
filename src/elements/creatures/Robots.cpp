#include "elements/creatures/Robots.h"

#include "elements/creatures/CreatureCounts.h"
#include "elements/creatures/CreatureKinds.h"
#include "elements/creatures/Dusts.h"
#include "elements/creatures/RobotBehaviours.h"
#include "elements/creatures/Tank.h"
#include "elements/living/LivingKinds.h"
#include "world/ByteStream.h"
#include "world/GameServices.h"
#include "world/OverLayer.h"
#include "world/WorldHost.h"

USING_NS_CC;

namespace {

constexpr uint32_t kLaserBeam = hashString("LaserBeam");
constexpr uint32_t kRuby = hashString("Ruby");
constexpr uint32_t kObsidian = hashString("Obsidian");

// The cells a robot walks through: plants, trees, glass and wood.
bool clearedByRobots(uint32_t type)
{
    return type == LivingId::Grass || type == LivingId::FlowerCenter || type == LivingId::FlowerPetal ||
        type == LivingId::TreeLeaf || type == LivingId::TreeCenter || type == LivingId::TreeRoot ||
        type == TypeId::Glass || type == LivingId::Wood;
}

void clearAround(const Particle& cell)
{
    World& w = *gWorld;
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy) {
            Particle* p = w.at(cell.x + dx, cell.y + dy);
            if (p && p != &cell && clearedByRobots(p->getType()))
                w.queueRemove(p->x, p->y);
        }
}

void limitWarning()
{
    GameServices& s = gameServices();
    if (s.showLimitWarning)
        s.showLimitWarning("RobotLimitWarning");
}
}  // namespace

void fireShell(Particle* shell, int direction)
{
    if (auto* bullet = dynamic_cast<TankBullet*>(shell))
        bullet->direction = direction;
}

// --- RobotPart ---

RobotLeader* RobotPart::robot() const
{
    return group ? dynamic_cast<RobotLeader*>(group->leader) : nullptr;
}

void RobotPart::update()
{
    MPBodyCell::update();
    if (!group || group->broken)
        return;
    if (RobotLeader::deadlyAround(x, y)) {
        gWorld->queueRemove(x, y);
        return;
    }
    clearAround(*this);
    if (RobotLeader* r = robot(); r && RobotLeader::stunnedAround(x, y))
        r->setAction(ActionType::RobotStun);
}

void RobotPart::onTouch()
{
    if (RobotLeader* r = robot())
        r->onTouch();
}

// --- RobotLeader ---

RobotLeader::RobotLeader() : KindGetters(HumanLeader::RobotBody{})
{
    setWeapon("laser");
    for (auto& a : makeRobotActions(this))
        actions[a->typeId()] = std::move(a);
    search = std::make_unique<PathSearch>(kBodyHeight, kBodyWidth);
    for (uint32_t k : {kTypeId, RobotPart::kTypeId, MPBodyBase::kTypeId, TypeId::Glass, LivingId::Wood, LivingId::Grass,
                       LivingId::FlowerCenter, LivingId::FlowerPetal, TypeId::Gas})
        search->addPassableKind(k);
    for (uint32_t k : {kTypeId, RobotPart::kTypeId, MPBodyBase::kTypeId, MinerDust::kTypeId, HunterDust::kTypeId,
                       WoodcutterDust::kTypeId, BuilderDust::kTypeId, ZombieDust::kTypeId, LivingId::Grass,
                       LivingId::FlowerCenter, LivingId::FlowerPetal, TypeId::Gas})
        search->addNoLedgeKind(k);
    currentAction = actionOf(ActionType::RobotGuardSpot);
    currentActionType = ActionType::RobotGuardSpot;
    setRole("guardian");
    dustRow = 4;
    editorCounter = static_cast<int32_t>(gameRand() % 400);
}

RobotLeader::~RobotLeader()
{
    // A robot's death takes its editor out with it: the particle's own
    // destructor does that, as for every edited particle.
    // Only a robot that was counted is taken back off the count.
    if (counted)
        --CreatureCounts::robots;
    counted = false;
}

void RobotLeader::setWeapon(const char* w)
{
    weapon = w ? w : "";
    weaponIndex = weapon == "laser" ? 0 : 1;
}

void RobotLeader::setRole(const char* r)
{
    role = r ? r : "";
    if (role == "guardian")
        roleIndex = 2;
    else if (role == "hunter")
        roleIndex = 0;
}

std::string RobotLeader::skinName() const
{
    return "robot_" + role + "_" + weapon;
}

uint32_t RobotLeader::skinKey() const
{
    return schemeKey("robot_", role, weapon);
}

void RobotLeader::setAction(uint32_t typeId)
{
    if (!switchAction(typeId))
        return;
    currentAction->state = ParticleAction::kNotBegun;
    if (typeId == ActionType::RobotEquipLaser) {
        setWeapon("laser");
    } else if (typeId == ActionType::RobotEquipMissile) {
        setWeapon("missile");
    } else if (typeId == ActionType::RobotSearchHuman) {
        previousRoleIndex = roleIndex;
        setRole("hunter");
    } else if (typeId == ActionType::RobotGuardSpot) {
        previousRoleIndex = roleIndex;
        setRole("guardian");
    }
}

void RobotLeader::saveExtra(ByteWriter& out)
{
    // Always the full 16 bytes: the file reserves them for every robot.
    out.i32(static_cast<int32_t>(currentActionType));
    out.i32(facing_);
    out.i32(patrolLength);
    out.i32(patrolSteps);
}

void RobotLeader::loadExtra(ByteReader& in)
{
    buildState = 2;
    int32_t action = 0;
    int32_t f = 1;
    in.i32(action);
    in.i32(f);
    in.i32(patrolLength);
    in.i32(patrolSteps);
    setAction(static_cast<uint32_t>(action));
    facing_ = f == -1 ? -1 : 1;
}

void RobotLeader::buildBody()
{
    if (CreatureCounts::robots >= kLimit) {
        limitWarning();
        if (gWorld)
            gWorld->queueRemove(x, y);
        overLimit = true;
        return;
    }
    ++CreatureCounts::robots;
    counted = true;
    if (overLimit) {
        limitWarning();
        return;
    }
    buildHumanBody(RobotPart::kTypeId);
}

void RobotLeader::onBodyBuilt()
{
    if (!bodyWhole())
        return;
    // A robot re-assembled after a load is counted now.
    if (!counted) {
        ++CreatureCounts::robots;
        counted = true;
    }
}

void RobotLeader::onTouch()
{
    if (!overLimit)
        openRobotEditor();
}

void RobotLeader::openRobotEditor()
{
    if (!worldHost().isFreePlay() || role != "guardian" || editor)
        return;
    editor = worldHost().openRobotEditor(this);
}

void RobotLeader::applyEditor()
{
    patrolLength = editorChoice;
}

bool RobotLeader::deadlyAround(int cx, int cy)
{
    const World& w = *gWorld;
    const ccColor4B beam = colorOfRow(kBeamRow);
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy) {
            if (dx == 0 && dy == 0)
                continue;
            const Particle* p = w.at(cx + dx, cy + dy);
            if (!p)
                continue;
            const uint32_t type = p->getType();
            if (type == TypeId::Lava)
                return true;
            if (type == kLaserBeam && p->color.r == beam.r && p->color.g == beam.g && p->color.b == beam.b &&
                p->color.a == beam.a)
                return true;
        }
    return false;
}

bool RobotLeader::stunnedAround(int cx, int cy)
{
    const World& w = *gWorld;
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy) {
            const Particle* p = w.at(cx + dx, cy + dy);
            if (p && p->getType() == TypeId::Metal && w.electricityGrid.isPoweredNear(p->x, p->y))
                return true;
        }
    return false;
}

void RobotLeader::update()
{
    MPLeaderBase::update();
    if (overLimit && group)
        group->broken = true;
    if (!group || group->broken)
        return;
    registered = true;
    if (deadlyAround(x, y)) {
        gWorld->queueRemove(x, y);
        return;
    }
    clearAround(*this);
    sink();
    refreshLookAhead();
    if (climbSteps < 1)
        group->moveBy(0, -1, true);
    if (actionTick > 4) {
        if (currentAction)
            currentAction->step();
        actionTick = 0;
    }
    if (!group || group->broken)
        return;
    if (moveTick > 4) {
        robotMovementStep();
        moveTick = 0;
    }
    ++editorCounter;
    ++actionTick;
    ++moveTick;
    ++balloonTick;
    takeDust(RGuardianDust::kTypeId, ActionType::RobotGuardSpot);
    takeDust(RHunterDust::kTypeId, ActionType::RobotSearchHuman);
    takeDust(kRuby, ActionType::RobotEquipLaser);
    takeDust(kObsidian, ActionType::RobotEquipMissile);
    if (--dustRow <= 0)
        dustRow = 8;
    if (stunnedAround(x, y))
        setAction(ActionType::RobotStun);
    // A hunter has no editor.
    if (role == "hunter" && editor) {
        ParticleEditor* open = editor;
        editor = nullptr;
        worldHost().closeRobotEditor(open);
    }
}

void RobotLeader::robotMovementStep()
{
    if (climbSteps > 0) {
        setFacing(climbRight ? 1 : -1);
        --climbSteps;
        group->moveBy(facing_, 1, true);
        return;
    }
    const PathNode* node = nextPathNode();
    if (!node)
        return;
    const int dir = node->right ? 1 : -1;
    switch (node->kind) {
    case PathNode::kWalk:
        setFacing(dir);
        group->moveBy(facing_, 0, true);
        swapWalkFrame(false);
        break;
    case PathNode::kClimb:
        climbSteps = node->amount;
        climbRight = node->right;
        break;
    case PathNode::kDrop:
        setFacing(dir);
        group->moveBy(facing_, 0, true);
        break;
    case PathNode::kFall: group->moveBy(0, -1, true); break;
    case PathNode::kGoal:
        if (currentAction && currentAction->nextAction)
            setAction(currentAction->nextAction->typeId());
        break;
    default: break;
    }
}

void registerRobots()
{
    // The factory makes no robot while five have bodies.
    ParticleCreator::registerMaker("RobotLeader", []() -> Particle* {
        if (CreatureCounts::robots >= RobotLeader::kLimit && !ParticleCreator::capsLifted())
            return nullptr;
        return new RobotLeader();
    });
    ParticleCreator::registerMaker("RobotPart", []() -> Particle* { return new RobotPart(); });
    RobotLeader::prepareStatics();
    RobotPart::prepareStatics();
}
