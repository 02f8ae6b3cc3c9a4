#include "elements/creatures/MPBase.h"

#include "base/Logger.h"
#include "elements/creatures/CreaturePictures.h"
#include "world/ByteStream.h"
#include "world/World.h"

USING_NS_CC;

MPBase::~MPBase()
{
    // A cell destroyed while it still belongs to its object breaks it; the
    // world step dissolves the rest.
    if (group && !detached) {
        group->broken = true;
        group->removeMember(this);
    }
    group = nullptr;
}

MPLeaderBase::~MPLeaderBase()
{
    if (registeredParts) {
        // Cells that registered but were never assembled go with their leader.
        for (unsigned i = 0; i < registeredParts->count(); ++i) {
            Particle* cell = static_cast<MPObject::Box*>(registeredParts->objectAtIndex(i))->getValue();
            if (auto* body = dynamic_cast<MPBodyCell*>(cell)) {
                body->registeredWith = nullptr;
                if (gWorld && gWorld->at(body->x, body->y) == body)
                    gWorld->queueRemove(body->x, body->y);
            }
        }
        registeredParts->release();
        registeredParts = nullptr;
    }
}

void MPLeaderBase::loadExtra(ByteReader&)
{
    buildState = 2;
}

void MPLeaderBase::addPart(Particle* cell)
{
    if (!cell)
        return;
    if (!registeredParts) {
        registeredParts = CCArray::create();
        registeredParts->retain();
    }
    registeredParts->addObject(MPObject::Box::create(cell));
    if (auto* body = dynamic_cast<MPBodyCell*>(cell))
        body->registeredWith = this;
}

void MPLeaderBase::forgetPart(Particle* cell)
{
    if (!registeredParts)
        return;
    for (unsigned i = 0; i < registeredParts->count(); ++i)
        if (static_cast<MPObject::Box*>(registeredParts->objectAtIndex(i))->getValue() == cell) {
            registeredParts->removeObjectAtIndex(i);
            return;
        }
}

void MPLeaderBase::update()
{
    if (group)
        return;
    if (buildState == -1) {
        group = new MPObject();
        group->addLeader(this);
        buildBody();
        buildState = -2;
        onBodyBuilt();
        return;
    }
    if (buildState == 0) {
        group = new MPObject();
        group->addLeader(this);
        const bool none = !registeredParts || registeredParts->count() == 0;
        group->addParts(registeredParts);
        if (registeredParts) {
            for (unsigned i = 0; i < registeredParts->count(); ++i)
                if (auto* body = dynamic_cast<MPBodyCell*>(
                        static_cast<MPObject::Box*>(registeredParts->objectAtIndex(i))->getValue()))
                    body->registeredWith = nullptr;
            registeredParts->release();
            registeredParts = nullptr;
        }
        if (none && gWorld)
            gWorld->queueRemove(x, y);
        onBodyBuilt();
        buildState = -3;
        return;
    }
    --buildState;
}

MPBodyCell::~MPBodyCell()
{
    if (registeredWith)
        registeredWith->forgetPart(this);
    registeredWith = nullptr;
}

void MPBodyCell::saveExtra(ByteWriter& out)
{
    if (group && group->leader) {
        savedLeaderX = group->leader->x;
        savedLeaderY = group->leader->y;
    } else if (mustRegister || registeredWith) {
        // Loaded and not yet rejoined: its leader is still where the file
        // put it, so a save before the next step keeps the body.
    } else {
        LOG_ERROR << "MPBodyBase is being saved with no ownership!";
        // A free cell keeps its record size: (0, 0) makes it remove itself
        // when loaded.
        savedLeaderX = 0;
        savedLeaderY = 0;
    }
    out.i32(savedLeaderX);
    out.i32(savedLeaderY);
    out.i32(detached ? 1 : 0);
}

void MPBodyCell::loadExtra(ByteReader& in)
{
    int32_t flag = 0;
    in.i32(savedLeaderX);
    in.i32(savedLeaderY);
    in.i32(flag);
    mustRegister = true;
    detached = flag == 1;
}

void MPBodyCell::update()
{
    if ((group && !detached) || !mustRegister || !gWorld)
        return;
    World& w = *gWorld;
    if (detached || (savedLeaderX == 0 && savedLeaderY == 0)) {
        w.queueRemove(x, y);
        mustRegister = false;
        return;
    }
    if (w.inWorld(savedLeaderX, savedLeaderY) && !w.grid[savedLeaderX][savedLeaderY]) {
        w.queueRemove(x, y);
        mustRegister = false;
        return;
    }
    if (auto* leader = dynamic_cast<MPLeaderBase*>(w.at(savedLeaderX, savedLeaderY))) {
        leader->addPart(this);
        mustRegister = false;
        return;
    }
    // A loaded body without its leader has hundreds of cells.
    static RepeatedLine leaderless;
    if (leaderless.due())
        LOG_ERROR << "Trying to register MPBodyBase to non existent leader" << leaderless;
    mustRegister = false;
}

void registerBodyBase()
{
    registerElements<MPBodyBase>();
}

void MPLeaderBase::buildFromPicture(const CreaturePicture& picture, uint32_t partType, int32_t& originX,
                                    int32_t& originY)
{
    bool leaderPlaced = false;
    for (int r = 0; r < picture.height; ++r)
        for (int c = 0; c < picture.width; ++c) {
            const cocos2d::ccColor4B colour = picture.at(c, r);
            if (colour.a == 0)
                continue;
            if (!leaderPlaced) {
                leaderPlaced = true;
                originX = c;
                originY = r;
                setColor(colour);
                continue;
            }
            group->createPartColoured(c - originX, r - originY, partType, colour);
        }
}
