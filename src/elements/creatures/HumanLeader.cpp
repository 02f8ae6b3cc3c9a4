#include "elements/creatures/HumanLeader.h"

#include <cmath>

#include "base/Logger.h"
#include "profile/Profile.h"
#include "elements/creatures/CreatureKinds.h"
#include "elements/creatures/Dusts.h"
#include "elements/creatures/HumanBehaviours.h"
#include "elements/creatures/HumanRegistry.h"
#include "elements/creatures/SkinSchemes.h"
#include "elements/living/LivingKinds.h"
#include "world/ByteStream.h"
#include "world/GameServices.h"
#include "world/OverLayer.h"
#include "world/WorldHost.h"

USING_NS_CC;

namespace {
constexpr int32_t kHumanCampaign = 5;
// The job of the male-only special skin of the human campaign.
constexpr const char* kSpecialJob = "settler";
constexpr uint32_t kBee = hashString("Bee");
constexpr uint32_t kXenovine = hashString("Xenovine");
// Screen pixels of one cell in the big world (the look-ahead areas' unit).
constexpr int kCellPixels = 9;

// The body above the leader, with the colours before the skin is painted.
struct BodyCell {
    int dx;
    int dy;
    ccColor4B colour;
};
constexpr BodyCell kBody[] = {
    {1, 0, {44, 73, 99, 255}},    {0, 1, {54, 89, 121, 255}},  {1, 1, {54, 89, 121, 255}},
    {0, 2, {248, 213, 201, 255}}, {1, 2, {207, 110, 57, 255}}, {0, 3, {207, 110, 57, 255}},
    {1, 3, {207, 110, 57, 255}},  {0, 4, {0, 0, 0, 255}},      {1, 4, {248, 213, 201, 255}},
    {0, 5, {0, 0, 0, 255}},       {1, 5, {0, 0, 0, 255}},
};

float temperatureAt(int cx, int cy)
{
    return gWorld->temperatureField.getAt(cx, cy);
}

// Burns or dies when the cell is hotter than the threshold. A divisor that
// truncates to 0 or below, or a temperature that is not finite, kills
// nothing.
void burnCell(Particle& cell, int threshold, int chance)
{
    World& w = *gWorld;
    const float t = temperatureAt(cell.x, cell.y);
    if (!std::isfinite(t) || !(t > static_cast<float>(threshold)))
        return;
    if (w.inWorld(cell.x, cell.y + 2) && !w.grid[cell.x][cell.y + 2]) {
        w.addParticle(cell.x, cell.y + 2, TypeId::Fire, false);
        if (w.inWorld(cell.x, cell.y + 1) && !w.grid[cell.x][cell.y + 1])
            w.addParticle(cell.x, cell.y + 1, TypeId::Smoke, false);
    }
    const double q = static_cast<double>(chance) * threshold / t;
    if (!std::isfinite(q) || q < 1.0 || q > 2147483647.0)
        return;
    const int divisor = static_cast<int>(q);
    if (gameRand() % divisor != 0)
        return;
    if (gameRand() % 10 == 0) {
        w.queueReplaceById(cell.x, cell.y, TypeId::Fire);
        if (w.inWorld(cell.x + 1, cell.y))
            w.queueReplaceById(cell.x + 1, cell.y, TypeId::OilBurning);
    } else {
        w.queueRemove(cell.x, cell.y);
    }
}

void clearKindsAround(const Particle& cell, std::initializer_list<uint32_t> kinds)
{
    World& w = *gWorld;
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy) {
            Particle* p = w.at(cell.x + dx, cell.y + dy);
            if (!p || p == &cell)
                continue;
            const uint32_t type = p->getType();
            for (uint32_t k : kinds)
                if (type == k) {
                    w.queueRemove(p->x, p->y);
                    break;
                }
        }
}

OverLayer* overlay()
{
    return gWorld ? gWorld->overLayer : nullptr;
}
}  // namespace

// --- HumanPart ---

HumanLeader* HumanPart::leaderHuman() const
{
    // A robot's leader is a HumanLeader too.
    return group ? dynamic_cast<HumanLeader*>(group->leader) : nullptr;
}

void HumanPart::update()
{
    MPBodyCell::update();
    if (!group || group->broken)
        return;
    HumanLeader* leader = leaderHuman();
    if (!leader)
        return;
    burnCheck(static_cast<int>(leader->burnThreshold), 10);
    if (leader->job == "woodchopper")
        clearKindsAround(*this,
                         {LivingId::Grass, LivingId::FlowerCenter, LivingId::FlowerPetal, LivingId::TreeLeaf,
                          LivingId::TreeCenter, LivingId::TreeRoot});
    else if (leader->job == "zombie")
        clearKindsAround(*this, {LivingId::Grass, LivingId::FlowerCenter, LivingId::FlowerPetal, TypeId::Glass});
    else
        clearKindsAround(*this, {LivingId::Grass, LivingId::FlowerCenter, LivingId::FlowerPetal});
}

void HumanPart::onTouch()
{
    if (HumanLeader* leader = leaderHuman())
        leader->openEditor();
}

std::string HumanPart::getJob() const
{
    if (!group)
        return "loading";
    HumanLeader* leader = leaderHuman();
    return leader ? leader->job : std::string("loading");
}

bool HumanPart::hasJob(std::string_view wanted) const
{
    if (!group)
        return false;
    const HumanLeader* leader = leaderHuman();
    return leader && leader->job == wanted;
}

void HumanPart::burnCheck(int threshold, int chance)
{
    burnCell(*this, threshold, chance);
}

// --- HumanLeader ---

HumanLeader::HumanLeader()
{
    HumanRegistry& registry = *HumanRegistry::getInstance();
    if (registry.count() >= HumanRegistry::kCap) {
        overLimit = true;
        return;
    }
    lookAheadFar = {1, 0, 0, 60, 28, 60 / kCellPixels, 28 / kCellPixels};
    lookAheadNear = {1, 0, 0, 4, 12, 4 / kCellPixels, 12 / kCellPixels};
    for (auto& a : makeHumanActions(this)) {
        const uint32_t key = a->typeId() == ActionType::WalkGetter ? ActionType::Walk : a->typeId();
        actions[key] = std::move(a);
    }
    search = std::make_unique<PathSearch>(kBodyHeight, kBodyWidth);
    const uint32_t common[] = {kTypeId,
                               HumanPart::kTypeId,
                               MPBodyBase::kTypeId,
                               MinerDust::kTypeId,
                               HunterDust::kTypeId,
                               WoodcutterDust::kTypeId,
                               BuilderDust::kTypeId};
    for (uint32_t k : common) {
        search->addPassableKind(k);
        search->addNoLedgeKind(k);
    }
    for (uint32_t k : {SafariDust::kTypeId, SafariDust::kTypeId, ZombieDust::kTypeId, SpacemanDust::kTypeId})
        search->addPassableKind(k);
    search->addNoLedgeKind(ZombieDust::kTypeId);
    for (uint32_t k : {LivingId::Grass, LivingId::FlowerCenter, LivingId::FlowerPetal, TypeId::Gas}) {
        search->addPassableKind(k);
        search->addNoLedgeKind(k);
    }
    currentAction = actionOf(ActionType::Walk);
    currentActionType = ActionType::Walk;
    job = "normal";
    hunger = static_cast<int32_t>(gameRand() % 400);
    lastClock = gWorld ? static_cast<double>(gWorld->lastClock()) : 0.0;
    gender = gameRand() % 2 == 0 ? "male" : "female";
}

HumanLeader::HumanLeader(RobotBody) : robot(true)
{
    lookAheadFar = {1, 0, 0, 60, 28, 60 / kCellPixels, 28 / kCellPixels};
    lookAheadNear = {1, 0, 0, 4, 12, 4 / kCellPixels, 12 / kCellPixels};
    job = "normal";
}

HumanLeader::~HumanLeader()
{
    // Leaving has no side effect here: no explosion, no balloon shown.
    leaving = true;
    if (!overLimit && !robot)
        HumanRegistry::getInstance()->humanDestroyed();
    if (!overLimit) {
        if (balloon) {
            if (balloon->getParent() && overlay())
                overlay()->removeSprite(balloon);
            balloon->release();
            balloon = nullptr;
        }
        if (registered) {
            worldHost().humanEditorLosesHuman(this);
            HumanRegistry::getInstance()->remove(this);
        }
        if (currentAction)
            currentAction->reset();
    }
    currentAction = nullptr;
    actions.clear();
}

ParticleAction* HumanLeader::actionOf(uint32_t typeId)
{
    auto it = actions.find(typeId);
    return it == actions.end() ? nullptr : it->second.get();
}

bool HumanLeader::switchAction(uint32_t typeId)
{
    if (currentAction)
        currentAction->reset();
    currentActionType = typeId;
    currentAction = actionOf(typeId);
    if (!currentAction) {
        currentActionType = 0;
        return false;
    }
    return true;
}

void HumanLeader::setAction(uint32_t typeId)
{
    namespace A = ActionType;
    if (!switchAction(typeId))
        return;
    if (search) {
        search->climbLimit = 10;
        search->dropLimit = 10;
    }
    burnThreshold = kBurnThreshold;
    currentAction->state = ParticleAction::kNotBegun;
    if (typeId == A::SearchWood || typeId == A::GatherWood) {
        jobSearchType = A::SearchWood;
        setJob("woodchopper");
    } else if (typeId == A::SearchFood || typeId == A::GatherFood) {
        jobSearchType = A::SearchFood;
        setJob("hunter");
    } else if (typeId == A::SearchStone || typeId == A::GatherStone) {
        jobSearchType = A::SearchStone;
        setJob("miner");
    } else if (typeId == A::SearchBuildSpace || typeId == A::BuildInSpace) {
        jobSearchType = A::SearchBuildSpace;
        setJob("builder");
    } else if (typeId == A::Runaway || typeId == A::Walk) {
        // job kept
    } else if (typeId == A::SearchHuman || typeId == A::GatherHuman) {
        jobSearchType = A::SearchHuman;
        setJob("zombie");
    } else if (typeId == A::SearchAluminite || typeId == A::GatherAluminite) {
        setJob("spaceman");
        if (search) {
            search->climbLimit = 15;
            search->dropLimit = 15;
        }
        burnThreshold = kSpacemanBurnThreshold;
    } else if (typeId == A::XenovineCocoon) {
        setJob("xenovinecocoon");
    } else if (typeId == A::SafariWalk) {
        setJob("safari");
    } else {
        jobSearchType = 0;
        setJob("normal");
    }
}

void HumanLeader::resetActions()
{
    for (auto& [key, action] : actions)
        action->state = ParticleAction::kNotBegun;
}

void HumanLeader::setJob(const std::string& newJob)
{
    job = newJob;
    struct Row {
        const char* job;
        int32_t index;
        const char* kind;
        const char* text;
    };
    static const Row rows[] = {
        {"hunter", 3, "saying", "newHunter"}, {"woodchopper", 2, "saying", "newWoodcutter"},
        {"miner", 1, "saying", "newMiner"},   {"builder", 4, "saying", "newBuilder"},
        {"zombie", 5, "thinking", "brain"},   {"xenovinecocoon", 6, nullptr, nullptr},
        {"spaceman", 8, nullptr, nullptr},    {"safari", 7, "thinking", "newHunter"},
    };
    jobIndex = 0;
    for (const Row& r : rows)
        if (job == r.job) {
            jobIndex = r.index;
            if (r.kind)
                showBalloon(r.kind, r.text);
            break;
        }
    if (job == "zombie" && search)
        search->addPassableKind(TypeId::Glass);
}

void HumanLeader::becomeZombie()
{
    setAction(ActionType::SearchHuman);
    LOG << "a human turns zombie, skin " << skinName();
    paintSkin();
}

std::string HumanLeader::skinName() const
{
    return "human_" + job + "_" + gender;
}

uint32_t HumanLeader::skinKey() const
{
    return schemeKey("human_", job, gender);
}

uint32_t HumanLeader::schemeKey(std::string_view kind, std::string_view first, std::string_view second)
{
    // djb2 of kind + first + "_" + second, piece by piece: a human turns
    // round every few steps, and the name need not be spelt out each time.
    uint32_t h = hashString("");
    for (std::string_view piece : {kind, first, std::string_view("_"), second})
        for (char c : piece)
            h = h * 33u + static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(c)));
    return h;
}

void HumanLeader::paintSkin()
{
    if (group)
        group->paintScheme(skinKey(), facing_);
}

void HumanLeader::setFacing(int f)
{
    if (f == facing_)
        return;
    facing_ = f;
    paintSkin();
}

void HumanLeader::openEditor()
{
    worldHost().openHumanEditor(this);
}

void HumanLeader::onTouch()
{
    if (!overLimit)
        openEditor();
}

void HumanLeader::swapCells(int ax, int ay, int bx, int by)
{
    World& w = *gWorld;
    Particle* a = w.at(ax, ay);
    Particle* b = w.at(bx, by);
    if (!a || !b)
        return;
    std::swap(a->color, b->color);
    a->redraw();
    b->redraw();
}

void HumanLeader::swapWalkFrame(bool armsOnly)
{
    swapCells(x, y + 2, x + 1, y + 2);
    if (!armsOnly)
        swapCells(x, y, x + 1, y);
}

void HumanLeader::showBalloon(const char* kind, const char* text)
{
    if (balloonTick <= 150)
        return;
    balloonTick = 0;
    OverLayer* layer = overlay();
    if (balloon) {
        // A balloon the overlay already dropped (a world reset) is only let go.
        if (balloon->getParent() && layer)
            layer->removeSprite(balloon);
        balloon->release();
        balloon = nullptr;
    }
    if (!layer)
        return;
    balloon = layer->showBalloon(CCString::create(kind), CCString::create(text), static_cast<float>(x),
                                 static_cast<float>(y + 6));
    if (balloon)
        balloon->retain();
}

void HumanLeader::setPosition(int nx, int ny)
{
    Particle::setPosition(nx, ny);
    if (!balloon)
        return;
    if (balloon->getParent() && overlay()) {
        overlay()->placeAtCell(balloon, static_cast<float>(nx), static_cast<float>(ny + 6));
    } else {
        balloon->release();
        balloon = nullptr;
    }
}

void HumanLeader::burnCheck(int threshold, int chance)
{
    burnCell(*this, threshold, chance);
}

void HumanLeader::saveExtra(ByteWriter& out)
{
    // Always the full 12 bytes: the file reserves them for every human.
    out.i32(static_cast<int32_t>(currentActionType));
    out.i32(facing_);
    out.i32(gender != "male" ? 1 : 0);
}

void HumanLeader::loadExtra(ByteReader& in)
{
    buildState = 2;
    int32_t action = 0;
    int32_t f = 1;
    int32_t female = 0;
    in.i32(action);
    in.i32(f);
    in.i32(female);
    setAction(static_cast<uint32_t>(action));
    facing_ = f == -1 ? -1 : 1;
    gender = female ? "female" : "male";
}

void HumanLeader::buildBody()
{
    if (overLimit || HumanRegistry::getInstance()->count() >= HumanRegistry::kCap) {
        if (GameServices& s = gameServices(); s.showLimitWarning)
            s.showLimitWarning("HumanLimitWarning");
        return;
    }
    buildHumanBody(HumanPart::kTypeId);
    HumanRegistry::getInstance()->humanBuilt();
}

void HumanLeader::buildHumanBody(uint32_t partType)
{
    for (const BodyCell& c : kBody)
        if (!group->createPartColoured(c.dx, c.dy, partType, c.colour))
            return;
    paintSkin();
}

bool HumanLeader::hasWholeBody() const
{
    return group && !group->broken && static_cast<int>(group->members->count()) == kBodyCells;
}

bool HumanLeader::bodyWhole()
{
    if (!group)
        return false;
    if (static_cast<int>(group->members->count()) != kBodyCells) {
        group->broken = true;
        return false;
    }
    return true;
}

void HumanLeader::onBodyBuilt()
{
    if (!bodyWhole())
        return;
    Profile* profile = Profile::getInstance();
    if (profile && profile->getGameMode() == kHumanCampaign && !worldHost().isFreePlay()) {
        gender = "male";
        if (job == "normal")
            setJob(kSpecialJob);
        paintSkin();
    }
}

void HumanLeader::clearPlantsAround(bool woodchopper)
{
    if (woodchopper)
        clearKindsAround(*this,
                         {LivingId::Grass, LivingId::FlowerCenter, LivingId::FlowerPetal, LivingId::TreeLeaf,
                          LivingId::TreeCenter, LivingId::TreeRoot});
    else
        clearKindsAround(*this, {LivingId::Grass, LivingId::FlowerCenter, LivingId::FlowerPetal});
}

void HumanLeader::sink()
{
    World& w = *gWorld;
    Particle* a = w.at(x, y - 1);
    Particle* b = w.at(x + 1, y - 1);
    if (!a || !b || a->getType() != TypeId::Water || b->getType() != TypeId::Water)
        return;
    if (!w.inWorld(x + 1, y + 6) || w.grid[x][y + 6] || w.grid[x + 1][y + 6])
        return;
    w.moveParticle(a, x, y + 6);
    w.moveParticle(b, x + 1, y + 6);
}

void HumanLeader::refreshLookAhead()
{
    lookAheadFar.facing = facing_;
    lookAheadFar.x = x + 2 * facing_;
    lookAheadFar.y = y - 1;
    lookAheadNear.facing = facing_;
    lookAheadNear.x = x + facing_;
    lookAheadNear.y = y + 1;
}

void HumanLeader::update()
{
    MPLeaderBase::update();
    const bool zombie = job == "zombie";
    const bool cocoon = job == "xenovinecocoon";
    const bool spaceman = job == "spaceman";
    if (overLimit && group)
        group->broken = true;
    if (!group || group->broken)
        return;
    if (!registered) {
        HumanRegistry::getInstance()->add(this);
        worldHost().refreshHumanEditor();
        registered = true;
    }
    burnCheck(static_cast<int>(burnThreshold), 10);
    clearPlantsAround(job == "woodchopper");
    sink();
    refreshLookAhead();
    ++fallTick;
    if (climbSteps <= 0 && (!spaceman || fallTick % 15 == 0))
        group->moveBy(0, -1, true);
    if (actionTick > 4) {
        if (currentAction)
            currentAction->step();
        actionTick = 0;
    }
    if (!group || group->broken)
        return;
    if (moveTick > 4) {
        movementStep();
        moveTick = 0;
    }
    if (currentActionType == ActionType::Walk) {
        ++walkTicks;
        if (walkTicks > 20 && currentAction && currentAction->nextAction)
            setAction(currentAction->nextAction->typeId());
    }
    ++balloonTick;
    if (hunger > 800 && !zombie && !cocoon) {
        eat();
        hunger = 0;
    }
    ++actionTick;
    ++moveTick;
    ++hunger;
    if (gWorld) {
        const double now = static_cast<double>(gWorld->lastClock());
        age += now - lastClock;
        lastClock = now;
    }
    dustCheck();
    xenovineCheck();
    if (job == "zombie")
        acidCheck();
    else if (job != "xenovinecocoon")
        surroundingsCheck();
}

const PathNode* HumanLeader::nextPathNode()
{
    search->findPath(x, y);
    if (search->pathLength > 0 && search->path[0]->kind == PathNode::kGoal)
        return search->path[0];
    if (search->pathLength >= 2)
        return search->path[1];
    return nullptr;
}

void HumanLeader::movementStep()
{
    if (climbSteps > 0) {
        setFacing(climbRight ? 1 : -1);
        --climbSteps;
        if (climbSteps == 0)
            group->moveBy(facing_, 1, true);
        else
            group->moveBy(0, 1, true);
        return;
    }
    if (sideSteps > 0) {
        --sideSteps;
        group->moveBy(facing_, 0, true);
        return;
    }
    const PathNode* node = nextPathNode();
    if (!node) {
        struct Need {
            const char* job;
            uint32_t action;
            const char* text;
        };
        static const Need needs[] = {
            {"miner", ActionType::SearchStone, "needStone"},
            {"woodchopper", ActionType::SearchWood, "needWood"},
            {"hunter", ActionType::SearchFood, "needFood"},
            {"zombie", ActionType::SearchHuman, "brain"},
            {"spaceman", ActionType::SearchAluminite, "needAluminite"},
        };
        for (const Need& n : needs)
            if (job == n.job && currentActionType == n.action)
                showBalloon("thinking", n.text);
        return;
    }
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
        if (dir == facing_) {
            setFacing(dir);
            group->moveBy(facing_, 0, true);
        } else {
            setFacing(dir);
            sideSteps = 2;
        }
        break;
    case PathNode::kFall: group->moveBy(0, -1, true); break;
    case PathNode::kGoal:
        setFacing(dir);
        if (currentAction && currentAction->nextAction)
            setAction(currentAction->nextAction->typeId() == ActionType::WalkGetter
                          ? ActionType::Walk
                          : currentAction->nextAction->typeId());
        break;
    default: break;
    }
}

void HumanLeader::eat()
{
    if (useResource("Food"))
        showBalloon("saying", "ateFood");
    else
        showBalloon("thinking", "needFood");
}

bool HumanLeader::takeDust(uint32_t dustType, uint32_t action)
{
    Particle* dust = randomNeighbourOfTypeAt(dustType, facing_, dustRow);
    if (dust && currentActionType != action) {
        gWorld->queueRemove(dust->x, dust->y);
    } else {
        dust = randomNeighbourOfTypeAt(dustType, -facing_, dustRow);
        if (!dust || currentActionType == action)
            return false;
        gWorld->queueRemove(dust->x, dust->y);
    }
    setAction(action);
    worldHost().refreshHumanEditor();
    paintSkin();
    return true;
}

void HumanLeader::dustCheck()
{
    if (job != "zombie" && job != "xenovinecocoon") {
        takeDust(WoodcutterDust::kTypeId, ActionType::SearchWood);
        takeDust(HunterDust::kTypeId, ActionType::SearchFood);
        takeDust(MinerDust::kTypeId, ActionType::SearchStone);
        takeDust(BuilderDust::kTypeId, ActionType::SearchBuildSpace);
        takeDust(SafariDust::kTypeId, ActionType::SafariWalk);
        takeDust(SpacemanDust::kTypeId, ActionType::SearchAluminite);
    }
    takeDust(ZombieDust::kTypeId, ActionType::SearchHuman);
    if (--dustRow <= 0)
        dustRow = 9;
}

void HumanLeader::xenovineCheck()
{
    World& w = *gWorld;
    int rows = 0;
    for (int side : {0, facing_})
        for (int k = 0; w.inWorld(x + side, y + k) && countNeighboursOfTypeAt(kXenovine, side, k) > 0; ++k)
            ++rows;
    if (rows > 10 && currentActionType != ActionType::XenovineCocoon) {
        setAction(ActionType::XenovineCocoon);
        paintSkin();
    }
}

void HumanLeader::surroundingsCheck()
{
    if (currentActionType == ActionType::Runaway)
        return;
    World& w = *gWorld;
    if (job != "spaceman" && temperatureAt(x, y) <= -300.0f)
        showBalloon("thinking", "cold");
    if (w.inWorld(x + 2 * facing_, y) && temperatureAt(x + 2 * facing_, y) > 293.0f) {
        showBalloon("thinking", "cold");
        setFacing(-facing_);
        if (ParticleAction* walk = actionOf(ActionType::Walk))
            walk->nextAction = actionOf(jobSearchType);
        setAction(ActionType::Walk);
        worldHost().refreshHumanEditor();
        paintSkin();
    }
    const int cx = x + scanColumn * facing_;
    // Columns outside the grid are skipped.
    if (cx >= 0 && cx < w.width) {
        for (int cy = std::max(y - 1, 0); cy <= std::min(y + 5, w.height - 1); ++cy) {
            Particle* p = w.grid[cx][cy];
            if (!p)
                continue;
            const uint32_t type = p->getType();
            if (type == TypeId::Acid || type == kBee) {
                setAction(ActionType::Runaway);
                worldHost().refreshHumanEditor();
                paintSkin();
                break;
            }
            if (type == TypeId::Gas && ++gasCount >= gasLimit)
                burnCheck(static_cast<int>(temperatureAt(x, y) - 100.0f), 10);
        }
    }
    if (++scanColumn >= scanWidth)
        scanColumn = 0;
}

void HumanLeader::acidCheck()
{
    World& w = *gWorld;
    const int cx = x + scanColumn * facing_;
    if (cx >= 0 && cx < w.width) {
        for (int cy = std::max(y - 1, 0); cy <= std::min(y + 5, w.height - 1); ++cy) {
            Particle* p = w.grid[cx][cy];
            if (!p)
                continue;
            const uint32_t type = p->getType();
            if (type != TypeId::Acid && type != TypeId::AcidSteam && type != TypeId::AcidWater)
                continue;
            w.removeParticle(cx, cy);
            if (w.inWorld(x, y + 7) && !w.grid[x][y + 7])
                w.addParticle(x, y + 7, TypeId::Gas, false);
        }
    }
    if (++scanColumn >= scanWidth)
        scanColumn = 0;
}

std::string jobOfHumanCell(const Particle* cell)
{
    if (!cell)
        return {};
    if (cell->getType() == HumanLeader::kTypeId)
        return static_cast<const HumanLeader*>(cell)->job;
    if (cell->getType() == HumanPart::kTypeId)
        return static_cast<const HumanPart*>(cell)->getJob();
    return {};
}

void registerHumans()
{
    // The factory makes no human cell while more than six are listed.
    ParticleCreator::registerMaker("HumanLeader", []() -> Particle* {
        if (HumanRegistry::getInstance()->count() > HumanRegistry::kCap && !ParticleCreator::capsLifted())
            return nullptr;
        return new HumanLeader();
    });
    ParticleCreator::registerMaker("HumanPart", []() -> Particle* {
        if (HumanRegistry::getInstance()->count() > HumanRegistry::kCap && !ParticleCreator::capsLifted())
            return nullptr;
        return new HumanPart();
    });
    HumanLeader::prepareStatics();
    HumanPart::prepareStatics();
    setHumanJobHook(jobOfHumanCell);
    installSkinSchemes();
}
