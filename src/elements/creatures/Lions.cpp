#include "elements/creatures/Lions.h"

#include <vector>

#include "elements/creatures/CreatureCounts.h"
#include "elements/creatures/CreatureKinds.h"
#include "elements/creatures/CreaturePictures.h"
#include "world/ByteStream.h"

USING_NS_CC;

void LionPart::onTouch()
{
    if (group && group->leader && group->leader != this)
        group->leader->onTouch();
}

LionLeader::LionLeader() : facingSide(gameRand() > 0 ? 1 : -1), search(std::make_unique<PathSearch>(5, 4))
{
    ++CreatureCounts::lions;
    for (uint32_t kind : {CreatureKind::LionLeader, CreatureKind::LionPart, MPBodyBase::kTypeId, TypeId::Grass,
                          hashString("FlowerCenter"), hashString("FlowerPetal"), TypeId::Gas})
        search->addPassableKind(kind);
    for (uint32_t kind :
         {CreatureKind::LionLeader, CreatureKind::LionPart, CreatureKind::HumanLeader, CreatureKind::HumanPart,
          MPBodyBase::kTypeId, TypeId::Grass, hashString("FlowerCenter"), hashString("FlowerPetal"), TypeId::Gas})
        search->addNoLedgeKind(kind);
    auto hunt = std::make_unique<LionSearchFoodAction>();
    auto bite = std::make_unique<LionGatherHumanAction>();
    hunt->owner = this;
    bite->owner = this;
    currentAction = hunt.get();
    actions[LionSearchFoodAction::kTypeId] = std::move(hunt);
    actions[LionGatherHumanAction::kTypeId] = std::move(bite);
}

LionLeader::~LionLeader()
{
    // The current behaviour is left once; then every behaviour goes once.
    if (currentAction)
        currentAction->reset();
    currentAction = nullptr;
    actions.clear();
    --CreatureCounts::lions;
}

void LionLeader::saveExtra(ByteWriter& out)
{
    out.i32(facingSide);
    out.i32(originX);
    out.i32(originY);
}

void LionLeader::loadExtra(ByteReader& in)
{
    buildState = 2;
    in.i32(facingSide);
    in.i32(originX);
    in.i32(originY);
    if (facingSide != 1 && facingSide != -1)
        facingSide = 1;
    loadImage();
}

bool LionLeader::loadImage()
{
    bodyImage = creaturePicture(kPicturePath);
    return bodyImage != nullptr;
}

void LionLeader::buildBody()
{
    if (!loadImage())
        return;
    buildFromPicture(*bodyImage, LionPart::kTypeId, originX, originY);
    if (facingSide > 0)
        mirror();
}

bool LionLeader::mirror()
{
    if (!group || !bodyImage || !gWorld)
        return false;
    World& w = *gWorld;
    const int left = x - originX;
    const int right = left + bodyImage->width - 1;
    std::vector<Particle*>& work = mirrorWork;
    if (!group->mirrorFits(left, right, work))
        return false;
    size_t next = 0;
    std::vector<uint8_t>& done = mirrorDone;
    done.assign(work.size(), 0);
    auto drop = [&](Particle* q) {
        for (size_t i = 0; i < work.size(); ++i)
            if (work[i] == q)
                done[i] = 1;
    };
    while (next < work.size()) {
        if (done[next]) {
            ++next;
            continue;
        }
        Particle* p = work[next];
        done[next] = 1;
        const int mx = right - (p->x - left);
        Particle* q = w.grid[mx][p->y];
        if (!q) {
            group->updateSortedPosition(p, mx, p->y);
            w.movePendingChanges(p->x, p->y, mx, p->y);
            w.electricityGrid.moveCell(p->x, p->y, mx, p->y);
            w.moveParticle(p, mx, p->y);
        } else {
            drop(q);
            if (q != p) {
                group->updateSortedSwap(p, q);
                w.swapPendingChanges(p, q);
                w.electricityGrid.swapCells(p->x, p->y, q->x, q->y);
                w.swapParticles(p, q);
            }
        }
    }
    originX = bodyImage->width - originX - 1;
    return true;
}

void LionLeader::turnAround()
{
    // Facing follows the body: a refused mirror keeps both.
    if (mirror())
        facingSide = -facingSide;
}

ParticleAction* LionLeader::actionOf(uint32_t typeId)
{
    auto it = actions.find(typeId);
    return it == actions.end() ? nullptr : it->second.get();
}

void LionLeader::setAction(uint32_t typeId)
{
    if (currentAction)
        currentAction->reset();
    currentAction = actionOf(typeId);
    if (currentAction)
        currentAction->state = ParticleAction::kNotBegun;
}

void LionLeader::followPath()
{
    search->findPath(x, y);
    if (search->pathLength == 0)
        return;
    const PathNode* node = nullptr;
    if (search->path[0]->kind == PathNode::kGoal)
        node = search->path[0];
    else if (search->pathLength >= 2)
        node = search->path[1];
    if (!node)
        return;
    if (node->kind == PathNode::kFall) {
        group->moveBy(0, -1, true);
    } else if (node->kind == PathNode::kGoal && currentAction && currentAction->nextAction) {
        setAction(currentAction->nextAction->typeId());
    }
}

void LionLeader::update()
{
    MPLeaderBase::update();
    if (burnIfHot(393, 50))
        return;
    if (!group || group->broken)
        return;
    group->moveBy(0, -1, true);
    followPath();
    if (stepCounter > 2) {
        if (currentAction)
            currentAction->step();
        stepCounter = 0;
    }
    ++stepCounter;
}

void registerLions()
{
    // The factory makes no lion while more than the limit live.
    ParticleCreator::registerMaker("LionLeader", []() -> Particle* {
        if (CreatureCounts::lions > LionLeader::kLimit && !ParticleCreator::capsLifted())
            return nullptr;
        return new LionLeader();
    });
    LionLeader::prepareStatics();
    registerElements<LionPart>();
}
