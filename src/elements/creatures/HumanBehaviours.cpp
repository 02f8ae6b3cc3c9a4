#include "elements/creatures/HumanBehaviours.h"

#include <algorithm>

#include "elements/creatures/CreatureKinds.h"
#include "elements/creatures/HumanLeader.h"
#include "elements/creatures/MPObject.h"
#include "elements/creatures/PathSearch.h"
#include "elements/living/LivingKinds.h"
#include "platform/GameClock.h"
#include "platform/GameRandom.h"
#include "world/World.h"
#include "world/WorldHost.h"

namespace {
const uint32_t kStoneKinds[] = {TypeId::Stone,          hashString("Amatist"), hashString("Citrine"),
                                hashString("Diamond"),  hashString("Emerald"), hashString("Lapislazuli"),
                                hashString("Obsidian"), hashString("Ruby"),    hashString("Sapphire"),
                                hashString("Zircon")};
const char* const kStoneNames[] = {"Stone",       "Amatist",  "Citrine", "Diamond",  "Emerald",
                                   "Lapislazuli", "Obsidian", "Ruby",    "Sapphire", "Zircon"};
constexpr uint32_t kAluminite = hashString("Aluminite");
constexpr uint32_t kRabbit = CreatureKind::MPLeaderRabbit;
constexpr uint32_t kRabbitBody = CreatureKind::MPRabbitBody;

// Takes one cell of a kind from the block at (dx, pick): queued for removal
// at the next step. True when one was there.
bool takeOne(const Particle& self, uint32_t type, int dx, int pick)
{
    Particle* p = self.randomNeighbourOfTypeAt(type, dx, pick);
    if (!p)
        return false;
    gWorld->queueRemove(p->x, p->y);
    return true;
}

void credit(HumanLeader& h, const char* resource, const char* balloonText)
{
    HumanLeader::gatherResource(resource);
    worldHost().refreshHumanEditor();
    if (balloonText)
        h.showBalloon("thinking", balloonText);
}
}  // namespace

HumanLeader* HumanAction::human() const
{
    return static_cast<HumanLeader*>(owner);
}

void WalkAction::tick()
{
    behaviour::wanderStep(*owner, wander, 4, 50, 6);
}

void SafariWalkAction::tick()
{
    behaviour::wanderStep(*owner, wander, 4, 50, 6);
}

void RunawayAction::tick()
{
    owner->turnAround();
    state = kFinished;
}

void AvoidLavaAction::tick()
{
    owner->turnAround();
    owner->setAction(ActionType::Walk);
    state = kFinished;
}

void DieAction::reset()
{
    // Only a living human switched away explodes; one being destroyed does not.
    HumanLeader* h = human();
    if (h && !h->leaving && gWorld)
        explode(h->x, h->y, 20);
    state = kNotBegun;
}

void SearchAction::begin()
{
    state = kRunning;
    nextAction = owner->actionOf(followUp());
    if (PathSearch* search = owner->pathSearch()) {
        behaviour::addSearchTargets(*search, targets());
        for (uint32_t kind : noLedgeKinds())
            search->addNoLedgeKind(kind);
    }
    human()->setJob(jobName());
}

void SearchAction::reset()
{
    if (PathSearch* search = owner->pathSearch())
        behaviour::removeSearchTargets(*search, targets());
    state = kNotBegun;
}

const behaviour::SearchTargets& SearchWoodAction::targets() const
{
    static const behaviour::SearchTargets t{
        {LivingId::Wood}, {LivingId::TreeLeaf, LivingId::TreeCenter, LivingId::TreeRoot}, {}};
    return t;
}

const behaviour::SearchTargets& SearchFoodAction::targets() const
{
    static const behaviour::SearchTargets t{{kRabbit, kRabbitBody}, {}, {}};
    return t;
}

std::vector<uint32_t> SearchFoodAction::noLedgeKinds() const
{
    return {kRabbit, kRabbitBody};
}

void SearchFoodAction::begin()
{
    SearchAction::begin();
    HumanLeader* h = human();
    if (PathSearch* search = owner->pathSearch())
        search->findPath(h->x, h->y);
}

const behaviour::SearchTargets& SearchWaterAction::targets() const
{
    static const behaviour::SearchTargets t{{TypeId::Water}, {}, {}};
    return t;
}

const behaviour::SearchTargets& SearchStoneAction::targets() const
{
    static const behaviour::SearchTargets t{{kStoneKinds[1], kStoneKinds[2], kStoneKinds[3], kStoneKinds[4],
                                             kStoneKinds[5], kStoneKinds[6], kStoneKinds[7], kStoneKinds[8],
                                             kStoneKinds[9], kStoneKinds[0]},
                                            {},
                                            {}};
    return t;
}

void SearchStoneAction::reset()
{
    if (PathSearch* search = owner->pathSearch())
        behaviour::removeSearchTargets(*search, targets());
}

const behaviour::SearchTargets& SearchAluminiteAction::targets() const
{
    static const behaviour::SearchTargets t{{kAluminite}, {}, {}};
    return t;
}

void SearchAluminiteAction::reset()
{
    if (PathSearch* search = owner->pathSearch())
        behaviour::removeSearchTargets(*search, targets());
}

const behaviour::SearchTargets& SearchHumanAction::targets() const
{
    static const behaviour::SearchTargets t{
        {CreatureKind::HumanPart}, {}, {"spaceman", "miner", "woodchopper", "hunter", "builder", "safari", "normal"}};
    return t;
}

void SearchHumanAction::tick()
{
    behaviour::wanderStep(*owner, wander, 4, 50, 6);
}

void SearchHumanAction::reset()
{
    SearchAction::reset();
}

void SearchBuildSpaceAction::begin()
{
    state = kRunning;
    wander.frames = 4;
    wander.delay = 0;
    budget = static_cast<int32_t>(gameRand() % 10) + 10;
    human()->setJob("builder");
}

void SearchBuildSpaceAction::tick()
{
    const bool due = wander.delay - 1 <= 0;
    behaviour::wanderStep(*owner, wander, 2, 20, 4);
    if (!due)
        return;
    if (--budget < 1) {
        owner->setAction(ActionType::BuildInSpace);
        state = kFinished;
    }
}

void BuildInSpaceAction::tick()
{
    HumanLeader& h = *human();
    const int32_t stone = HumanLeader::getResource("Stone");
    const int32_t wood = HumanLeader::getResource("Wood");
    uint32_t seed = 0;
    switch (gameRand() % 3) {
    case 0:
        if (wood >= 2 && stone >= 3)
            seed = hashString("SeedNiceHouse");
        break;
    case 1:
        if (wood >= 3)
            seed = hashString("SeedWoodHouse");
        break;
    default:
        if (wood >= 1 && stone >= 3)
            seed = hashString("SeedStoneHouse");
        break;
    }
    // The seed takes the resources itself as it builds.
    if (seed && gWorld)
        gWorld->addParticle(h.getFacing() > 0 ? h.x + 2 : h.x - 1, h.y + 8, seed, false);
    else if (!seed)
        h.showBalloon("thinking", "needResource");
    owner->setAction(ActionType::SearchBuildSpace);
    state = kFinished;
}

void GatherWoodAction::tick()
{
    HumanLeader& h = *human();
    h.swapWalkFrame(true);
    const int f = h.getFacing();
    const int dx = f > 0 ? 1 : 0;
    const int pick = behaviour::scanOffset(h, LivingId::Wood, dx, std::max(gathered - 1, 0), maxDepth);
    if (takeOne(h, LivingId::Wood, dx, pick)) {
        ++gathered;
        credit(h, "Wood", "gatheredWood");
    }
    if (h.countNeighboursOfTypeAt(LivingId::Wood, dx, pick) > 0 && pick < 8)
        return;
    bool behind = false;
    for (int d = 0; d <= 8 && !behind; ++d)
        behind = h.countNeighboursOfTypeAt(LivingId::Wood, 1 - dx, d) > 0;
    if (behind && !turned) {
        h.setFacing(-f);
        turned = true;
    } else {
        h.setAction(ActionType::SearchWood);
        state = kFinished;
    }
}

void GatherWoodAction::reset()
{
    gathered = 0;
    turned = false;
    state = kNotBegun;
}

void GatherFoodAction::tick()
{
    HumanLeader& h = *human();
    h.swapWalkFrame(true);
    const int f = h.getFacing();
    const int pick = behaviour::scanOffset(h, kRabbit, f, std::max(gathered - 1, 0), maxDepth);
    if (takeOne(h, kRabbit, f, pick)) {
        ++gathered;
        credit(h, "Food", "gatheredFood");
    }
    if (h.countNeighboursOfTypeAt(kRabbit, f, pick) == 0 || pick >= 6) {
        h.setAction(ActionType::SearchFood);
        state = kFinished;
        return;
    }
    const int bodyPick = behaviour::scanOffset(h, kRabbitBody, f, pick, maxDepth);
    if (takeOne(h, kRabbitBody, f, bodyPick)) {
        ++gathered;
        credit(h, "Food", nullptr);
    }
    if (h.countNeighboursOfTypeAt(kRabbitBody, f, bodyPick) > 0 && bodyPick < 7)
        return;
    h.setAction(ActionType::SearchFood);
    state = kFinished;
}

void GatherWaterAction::tick()
{
    HumanLeader& h = *human();
    h.swapWalkFrame(true);
    const int f = h.getFacing();
    const int pick = behaviour::scanOffset(h, TypeId::Water, f, std::max(gathered - 1, 0), maxDepth);
    if (takeOne(h, TypeId::Water, f, pick)) {
        ++gathered;
        credit(h, "Water", nullptr);
    }
    if (h.countNeighboursOfTypeAt(TypeId::Water, f, pick) == 0 || pick >= 7) {
        h.setAction(ActionType::SearchFood);
        state = kFinished;
    }
}

GatherStoneAction::GatherStoneAction()
{
    kinds.assign(std::begin(kStoneKinds), std::end(kStoneKinds));
    resourceNames.assign(std::begin(kStoneNames), std::end(kStoneNames));
}

GatherAluminiteAction::GatherAluminiteAction()
{
    kinds = {kAluminite};
    resourceNames = {"Aluminite"};
}

void GatherKindsAction::tick()
{
    HumanLeader& h = *human();
    h.swapWalkFrame(true);
    const int f = h.getFacing();
    if (kindIndex >= kinds.size())
        kindIndex = 0;
    const uint32_t kind = kinds[kindIndex];
    const int pick = behaviour::scanOffset(h, kind, f, std::max(gathered - 1, 0), maxDepth);
    if (takeOne(h, kind, f, pick)) {
        ++gathered;
        credit(h, resourceNames[kindIndex].c_str(), balloonText());
    }
    ++kindIndex;
    if (h.countNeighboursOfTypeAt(kind, f, pick) > 0 && pick < 7)
        return;
    h.setAction(searchType());
    state = kFinished;
}

void GatherHumanAction::bite()
{
    HumanLeader& h = *human();
    const int dx = 2 * h.getFacing();
    // tick scans from offset 0 like begin (as the lion's bite does).
    const int pick = behaviour::scanOffset(h, CreatureKind::HumanLeader, dx, 0, maxDepth);
    Particle* found = h.findHumanNear(dx, pick);
    if (found && found != &h) {
        auto* victim = static_cast<HumanLeader*>(found);
        if (victim->job == "zombie")
            return;
        victim->becomeZombie();
    }
    h.setAction(ActionType::SearchHuman);
}

void GatherHumanAction::begin()
{
    bite();
    state = kRunning;
}

void GatherHumanAction::tick()
{
    bite();
}

void XenovineCocoonAction::begin()
{
    state = kRunning;
    lastTime = static_cast<double>(platform::gameTime());
}

void XenovineCocoonAction::tick()
{
    const double now = static_cast<double>(platform::gameTime());
    seconds += now - lastTime;
    lastTime = now;
    if (seconds > 2.5 && gWorld) {
        HumanLeader& h = *human();
        gWorld->queueReplace(h.x, h.y, "Pirantha");
    }
}

std::vector<std::unique_ptr<ParticleAction>> makeHumanActions(BehaviourOwner* owner)
{
    std::vector<std::unique_ptr<ParticleAction>> list;
    list.push_back(std::make_unique<GatherWoodAction>());
    list.push_back(std::make_unique<GatherFoodAction>());
    list.push_back(std::make_unique<WalkAction>());
    list.push_back(std::make_unique<AvoidLavaAction>());
    list.push_back(std::make_unique<SearchWoodAction>());
    list.push_back(std::make_unique<SearchFoodAction>());
    list.push_back(std::make_unique<GatherStoneAction>());
    list.push_back(std::make_unique<SearchStoneAction>());
    list.push_back(std::make_unique<GatherAluminiteAction>());
    list.push_back(std::make_unique<SearchAluminiteAction>());
    list.push_back(std::make_unique<RunawayAction>());
    list.push_back(std::make_unique<BuildInSpaceAction>());
    list.push_back(std::make_unique<SearchBuildSpaceAction>());
    list.push_back(std::make_unique<DieAction>());
    list.push_back(std::make_unique<SearchWaterAction>());
    list.push_back(std::make_unique<GatherWaterAction>());
    list.push_back(std::make_unique<SearchHumanAction>());
    list.push_back(std::make_unique<GatherHumanAction>());
    list.push_back(std::make_unique<XenovineCocoonAction>());
    list.push_back(std::make_unique<SafariWalkAction>());
    for (auto& a : list)
        a->owner = owner;
    return list;
}
