// The world step and the object lists it keeps (multi-pixel objects, clouds).
#include <cstdint>
#include <cstring>
#include <vector>

#include "base/Logger.h"
#include "profile/Profile.h"
#include "cocos2d_extensions/CCValue.h"
#include "elements/creatures/CreatureCounts.h"
#include "elements/creatures/MPObject.h"
#include "platform/GameClock.h"
#include "world/CCMutableTexture2D.h"
#include "elements/materials/Clouds.h"
#include "world/OverLayer.h"
#include "world/Tool.h"
#include "world/World.h"
#include "world/WorldHost.h"

USING_NS_CC;

namespace {

// How many slots ahead the update loop fetches particles.
constexpr int kPrefetchAhead = 8;

using ObjectBox = cocos2d_extensions::CCValue<MPObject*>;
using CloudBox = cocos2d_extensions::CCValue<CloudBlob*>;

}  // namespace

void World::step()
{
    ++stepsBegun;
    const int64_t now = platform::gameTime();
    const int64_t elapsed = now - lastClock_;
    lastClock_ = now;
    lastElapsed_ = 0;

    // While a window is shown the world stands still.
    WorldHost& host = worldHost();
    if (host.windowShown())
        return;

    const bool zoomedOut = host.zoomedOut();
    const bool running = !host.paused() && !zoomedOut;
    if (running) {
        ++stepsRun;
        playedSeconds_ += elapsed;
        lastElapsed_ = elapsed;
    }

    if (overLayer && overLayer->isVisible() == zoomedOut)
        overLayer->setVisible(!zoomedOut);

    Profile::getInstance()->transferPendingMana();

    // The queued changes draw too: thousands of cells a step in a fire.
    beginStepDrawing(host.worldTexture());
    collectBrokenObjects();
    applyPendingChanges();

    if (running) {
        temperatureField.step();
        electricityGrid.step();
        wakeDisturbed();
        updateParticles();
    }
    if (running) {
        settleByDensity();
        stepClouds();
    }

    lightChangedCells();
    endStepDrawing();
    if (CCMutableTexture2D* texture = host.worldTexture())
        texture->apply();

    host.afterStep();
    forgetChangedCells();
}

void World::lightChangedCells()
{
    if (dirtyOverflow_) {
        // More cells changed than the lists hold: hand the light step a
        // lattice in which every cell lies within one step (Manhattan) of a
        // listed cell, so every light and every column is recomputed.
        dirtyCount_ = 0;
        for (int x = 0; x < width; ++x) {
            columnFlags_[x] = 1;
            for (int y = 0; y < height; ++y)
                if ((x + 2 * y) % 5 == 0 && dirtyCount_ < kDirtyCapacity) {
                    dirtyX_[dirtyCount_] = x;
                    dirtyY_[dirtyCount_] = y;
                    ++dirtyCount_;
                }
        }
        for (int y = 0; y < height; ++y)
            rowFlags_[y] = 1;
    }
    lightMap.step(dirtyX_, dirtyY_, dirtyCount_, columnFlags_);
}

void World::forgetChangedCells()
{
    dirtyCount_ = 0;
    dirtyOverflow_ = false;
    for (int x = 0; x < width; ++x)
        columnFlags_[x] = 1;
    for (int y = 0; y < height; ++y)
        rowFlags_[y] = 1;
}

void World::showCells()
{
    CCMutableTexture2D* texture = worldHost().worldTexture();
    beginStepDrawing(texture);
    lightChangedCells();
    endStepDrawing();
    if (texture)
        texture->apply();
    forgetChangedCells();
}

void World::updateParticles()
{
    // Each slot is read when its turn comes: a particle removed before its
    // turn is skipped, one added at a higher id is updated this step (the
    // word of 64 slots is read again after every update).
    constexpr int kWords = kMaxParticles / 64;
    for (int word = 0; word < kWords; ++word) {
        uint64_t used = liveSlots_.word(word) & ~restSlots_.word(word);
        if (!used)
            continue;
        // Whether these 64 slots held a particle that may idle when the step
        // came to them; one added since is simply updated.
        const bool wordMayIdle = idleSlots_.anyInWord(word);
        do {
            const int bit = __builtin_ctzll(used);
            const int id = word * 64 + bit;
            // The particles live apart from the slots: fetch one a few slots
            // ahead, so its update does not wait for memory. An empty slot
            // fetches the world itself, already at hand: a prefetch of
            // address 0 costs a page walk that finds nothing.
            if (id + kPrefetchAhead < kMaxParticles) {
                const Particle* next = pool_[id + kPrefetchAhead];
                const auto ahead = next ? reinterpret_cast<uintptr_t>(next) : reinterpret_cast<uintptr_t>(this);
                __builtin_prefetch(reinterpret_cast<const void*>(ahead));
                __builtin_prefetch(reinterpret_cast<const void*>(ahead + sizeof(Particle) - 1));
            }
            Particle* p = pool_[id];
            // An idle particle rests until its cell warms (or changes).
            if (wordMayIdle && p->mayIdle() &&
                !(temperatureField.getInside(p->x, p->y) > static_cast<float>(p->idleUpTo)))
                rest(p, static_cast<float>(p->idleUpTo), false, false);
            else
                p->update();
            used = liveSlots_.word(word) & ~restSlots_.word(word) & (~uint64_t{0} << bit << 1);
        } while (used);
    }
}

void World::settleByDensity()
{
    // A particle that queued a change of its own cell (smoke fading, steam
    // condensing) and then settles takes the change along, as an element's
    // own swap does; left behind, it would hit the particle that took its
    // place. Only cells holding changes pay for the carrying.
    // The densities are read from the flat array beside the cells: an empty
    // cell reads 0 there, as a particle that never settles does.
    // A swap changes only its own column, so eight columns are tested at
    // once and only those that settle are visited, in order.
    using Densities = int16_t __attribute__((vector_size(16)));
    constexpr int kLanes = 8;
    for (int y = settleParity ? 1 : 0; y < height - 1; y += 2) {
        const int16_t* lowerDensities = densities_ + cellIndex(0, y);
        const int16_t* upperDensities = lowerDensities + kMaxWidth;
        const auto settle = [&](int x) {
            Particle* upper = grid[x][y + 1];
            Particle* lower = grid[x][y];
            swapPendingChanges(upper, lower);
            swapParticles(upper, lower);
        };
        int x = 0;
        for (; x + kLanes <= width; x += kLanes) {
            Densities upperDensity;
            Densities lowerDensity;
            std::memcpy(&upperDensity, upperDensities + x, sizeof upperDensity);
            std::memcpy(&lowerDensity, lowerDensities + x, sizeof lowerDensity);
            const Densities sinks = (upperDensity != 0) & (lowerDensity != 0) & (upperDensity > lowerDensity);
            uint64_t halves[2];
            std::memcpy(halves, &sinks, sizeof halves);
            if ((halves[0] | halves[1]) == 0)
                continue;
            for (int lane = 0; lane < kLanes; ++lane)
                if (sinks[lane])
                    settle(x + lane);
        }
        for (; x < width; ++x) {
            const int32_t upperDensity = upperDensities[x];
            const int32_t lowerDensity = lowerDensities[x];
            if (upperDensity != 0 && lowerDensity != 0 && upperDensity > lowerDensity)
                settle(x);
        }
    }
    settleParity = !settleParity;
}

void World::applyCurrentTool()
{
    WorldHost& host = worldHost();
    CCArray* touches = host.touches();
    if (!host.touching() || !touches || touches->count() == 0)
        return;

    CCString* element = host.currentElement();
    const uint32_t type = hashString(element ? element->getString() : std::string());
    const bool limitReached = (type == hashString("RobotLeader") && CreatureCounts::robots >= 5) ||
        (type == hashString("MPLeaderTruck") && CreatureCounts::trucks >= 3) ||
        (type == hashString("MPLeaderCar") &&
         CreatureCounts::cars - CreatureCounts::sportCars - CreatureCounts::tanks - CreatureCounts::trucks >= 3) ||
        (type == hashString("MPLeaderTank") && CreatureCounts::tanks >= 1) ||
        (type == hashString("MPSportCar") && CreatureCounts::sportCars >= 3) ||
        (type == hashString("Flamingo") && CreatureCounts::flamingos >= 20) ||
        (type == hashString("LionLeader") && CreatureCounts::lions >= 4);
    if (limitReached)
        return;
    if (currentTool)
        currentTool->apply(host.previousTouches(), touches);
}

void World::collectBrokenObjects()
{
    std::vector<CCObject*>& collected = brokenObjects_;
    collected.clear();
    for (unsigned i = 0; i < objects->count(); ++i) {
        auto* box = static_cast<ObjectBox*>(objects->objectAtIndex(i));
        MPObject* object = box ? box->getValue() : nullptr;
        if (!object || !object->broken)
            continue;
        collected.push_back(box);
        object->dissolve();
        object->releaseMemberLists();
        delete object;
    }
    // Each box serves the next object.
    for (CCObject* box : collected) {
        box->retain();
        objects->removeObject(box);
        MPObject::spareObjectBox(box);
    }
    collected.clear();
}

void World::clearObjects()
{
    while (objects && objects->count() > 0) {
        auto* box = static_cast<ObjectBox*>(objects->objectAtIndex(0));
        MPObject* object = box ? box->getValue() : nullptr;
        // The box serves the next world's objects, as a broken object's does.
        if (box) {
            box->retain();
            objects->removeObjectAtIndex(0);
            MPObject::spareObjectBox(box);
        } else {
            objects->removeObjectAtIndex(0);
        }
        if (object) {
            object->dissolve();
            object->releaseMemberLists();
            delete object;
        }
    }
}

void World::stepClouds()
{
    // A group may remove itself while it steps; the walk then stays on the
    // index that now holds the next group.
    unsigned i = 0;
    while (i < clouds->count()) {
        CCObject* box = clouds->objectAtIndex(i);
        CloudBlob* blob = box ? static_cast<CloudBox*>(box)->getValue() : nullptr;
        if (blob)
            blob->update();
        if (i < clouds->count() && clouds->objectAtIndex(i) == box)
            ++i;
    }
}

void World::removeCloud(CloudBlob* blob)
{
    if (!blob)
        return;
    // A group knows its box: a storm's merges remove groups every step, and
    // the list holds hundreds.
    if (CCObject* box = blob->listBox()) {
        CCObject* const* boxes = clouds->begin();
        for (unsigned i = clouds->count(); i > 0; --i)
            if (boxes[i - 1] == box) {
                // The box serves the next group.
                box->retain();
                clouds->removeObjectAtIndex(i - 1);
                CloudBlob::spareListBox(box);
                break;
            }
    }
    delete blob;
}

void World::clearClouds()
{
    while (clouds && clouds->count() > 0) {
        auto* box = static_cast<CloudBox*>(clouds->objectAtIndex(0));
        CloudBlob* blob = box ? box->getValue() : nullptr;
        if (blob)
            removeCloud(blob);
        else
            clouds->removeObjectAtIndex(0);
    }
}
