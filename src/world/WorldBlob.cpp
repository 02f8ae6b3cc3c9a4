// The world side of the world blob: World::save, load (applying a checked
// plan), reset and undo. The format itself is in WorldBlobFormat.cpp.
#include "world/WorldBlob.h"

#include <algorithm>

#include "base/Logger.h"
#include "base/NSData.h"
#include "platform/GameClock.h"
#include "world/ByteStream.h"
#include "world/CCMutableTexture2D.h"
#include "world/GameServices.h"
#include "world/ParticleCreator.h"
#include "world/World.h"
#include "world/WorldHost.h"

USING_NS_CC;

using namespace worldblob;

// ---------------------------------------------------------------------------
// World operations.

namespace {

bool onBorder(const World& w, int x, int y)
{
    return x == 0 || y == 0 || x == w.width - 1 || y == w.height - 1;
}

// A name or description that is still its prompt (the fresh world's hint)
// is stored as none, and none reads back as the prompt in the player's
// language. The name's prompt is longer than its field, and cut, it would
// come back as a name nobody gave: a stored name that is the prompt cut (a
// world saved before) counts as none too.
std::string storedText(const std::string& text, const char* promptKey)
{
    return text == gameServices().localize(promptKey) ? std::string() : text;
}

std::string loadedUniverseName(const std::string& stored)
{
    const std::string prompt = gameServices().localize("UniverseNameEmpty");
    return stored.empty() || stored == fittedTextField(prompt, kTextFieldSize) ? prompt : stored;
}

}  // namespace

NSData* World::save()
{
    GameServices& s = gameServices();
    std::vector<uint8_t> electricity;
    std::vector<uint8_t> temperature;
    electricityGrid.save(electricity);
    temperatureField.save(temperature);

    size_t recordBytes = 0;
    uint32_t recordCount = 0;
    uint32_t colourCount = 0;
    for (Particle* p : pool_) {
        if (!p)
            continue;
        ++recordCount;
        recordBytes += 12 + static_cast<size_t>(std::max(0, p->getSaveSize()));
        if (p->colorChanged)
            ++colourCount;
    }

    BlobHeader h;
    h.width = width;
    h.height = height;
    h.temperatureView = temperatureField.isViewOn();
    h.light = lightMap.isLightOn();
    h.sun = lightMap.isSunOn();
    h.weather = weather;
    h.ambient = storedAmbientForLevel(worldHost().temperatureLevel()) - kAmbientShift;
    h.background = s.backgroundName();
    h.name = storedText(s.universeName(), "UniverseNameEmpty");
    h.description = storedText(s.universeDescription(), "UniverseDescriptionInitial");
    h.backgroundShown = s.backgroundOn();
    h.paused = worldHost().paused();
    h.food = s.getResource("Food");
    h.stone = s.getResource("Stone");
    h.wood = s.getResource("Wood");

    std::vector<uint8_t> out;
    out.reserve(kHeaderSize + electricity.size() + temperature.size() + 8 + recordBytes + 12 * colourCount);
    writeHeader(out, h);
    ByteWriter w(out);

    w.bytes(electricity.data(), electricity.size());
    w.bytes(temperature.data(), temperature.size());
    // The particle count, taken from the records themselves: a count that
    // disagreed with them would make the whole blob unreadable.
    if (recordCount != static_cast<uint32_t>(particleCount_))
        LOG << "world save: particle count" << particleCount_ << "but pooled particles:" << recordCount;
    w.u32(recordCount);
    w.u32(colourCount);

    int faultyExtras = 0;
    for (Particle* p : pool_) {
        if (!p)
            continue;
        w.u32(static_cast<uint32_t>(p->x));
        w.u32(static_cast<uint32_t>(p->y));
        w.u32(p->getType());
        const size_t extra = static_cast<size_t>(std::max(0, p->getSaveSize()));
        const size_t before = out.size();
        p->saveExtra(w);
        // The record must be exactly as long as the class says, or every
        // record after it would be misread.
        if (out.size() != before + extra) {
            out.resize(before + extra, 0);
            ++faultyExtras;
        }
    }
    if (faultyExtras)
        LOG << "world save: extra data of the wrong length, padded or cut:" << faultyExtras;

    for (Particle* p : pool_) {
        if (!p || !p->colorChanged)
            continue;
        w.u32(static_cast<uint32_t>(p->x));
        w.u32(static_cast<uint32_t>(p->y));
        w.u8(p->color.a);
        w.u8(p->color.r);
        w.u8(p->color.g);
        w.u8(p->color.b);
    }
    return NSData::dataWithBytes(out.data(), static_cast<uint32_t>(out.size()));
}

bool World::load(NSData* data)
{
    if (!data || !data->bytes || data->length == 0) {
        LOG << "world load: no bytes, nothing loaded";
        return false;
    }
    return loadBytes(data->bytes, data->length);
}

bool World::loadBytes(const uint8_t* data, size_t size)
{
    LoadPlan plan;
    std::string why;
    if (!parseBlob(data, size, plan, why)) {
        LOG << "world load refused, the world is unchanged:" << why;
        return false;
    }
    applyBlob(data, plan);
    showCells();
    unsavedChanges = false;
    return true;
}

void World::applyBlob(const uint8_t* data, const LoadPlan& plan)
{
    GameServices& s = gameServices();
    const BlobHeader& h = plan.header;

    setBigWorld(plan.bigWorld);
    reset();
    LOG << "Loading world version" << h.version;

    if (h.hasOptions) {
        if (h.temperatureView != temperatureField.isViewOn())
            s.applyTemperature(*this);
        if (h.light != lightMap.isLightOn())
            s.applyLight(*this);
        if (h.sun != lightMap.isSunOn())
            s.applySun(*this);
        if (h.weather != weather)
            s.applyWeather(*this);
    }

    if (h.hasBackground) {
        if (isSafeBackgroundName(h.background))
            s.changeBackground(h.background, false);
        else
            LOG << "world load: background name refused, kept the default";
        if (h.version == 6) {
            if (!s.backgroundOn())
                s.changeBackground("background.png", true);
        } else if (h.hasBackgroundShown && h.backgroundShown != s.backgroundOn()) {
            s.toggleBackground();
        }
    }

    if (h.version == 7) {
        s.setUniverseName(s.localize("UniverseNameEmpty"));
        s.setUniverseDescription(s.localize("UniverseDescriptionInitial"));
    } else if (h.hasTexts) {
        s.setUniverseName(loadedUniverseName(h.name));
        s.setUniverseDescription(h.description.empty() ? s.localize("UniverseDescriptionInitial") : h.description);
    }

    if (h.hasPaused) {
        bool allowed = worldHost().isFreePlay();
        if (h.version == 10)
            allowed = allowed || s.campaignSlot() != 0;
        else if (h.version >= 11)
            allowed = allowed || s.campaignSlot() > 0;
        worldHost().setPaused(allowed && h.paused);
    }
    s.setPlayPauseIcon(worldHost().paused() ? "guitopbar_HUDPlayPicto.png" : "guitopbar_HUDPausePicto.png");

    readParticles(data, plan);

    if (h.hasAmbient) {
        if (const int32_t level = levelForAmbient(h.ambient))
            worldHost().refreshTemperature(level);
    }

    if (h.hasResources) {
        s.replaceResourceStore();
        s.addResource("Food", h.food);
        s.addResource("Stone", h.stone);
        s.addResource("Wood", h.wood);
    }

    if (s.universeDescription() == kPlaceholderDescription)
        s.setUniverseDescription(s.localize("UniverseDescriptionInitial"));
    s.closeHudMenu();
}

void World::readParticles(const uint8_t* data, const LoadPlan& plan)
{
    if (plan.reader == ParticleReader::A)
        reset();
    if (plan.reader == ParticleReader::C)
        LOG << "new particle count " << plan.particles.size();

    int skipped = 0;
    for (const ParticleRecord& rec : plan.particles) {
        Particle* p = nullptr;
        // Forced: a record replaces whatever stands in its cell, except the
        // border's sentinel, which a record may never displace.
        if (inWorld(rec.x, rec.y) && !onBorder(*this, rec.x, rec.y))
            p = addParticle(rec.x, rec.y, rec.type, true);
        if (p) {
            ByteReader extra(data + rec.extraOffset, static_cast<size_t>(rec.extraSize));
            p->loadExtra(extra);
        } else {
            ++skipped;
            // As the loader always did: the element is made and dropped, which
            // marks its name as created.
            delete ParticleCreator::createById(rec.type);
        }
    }
    if (skipped)
        LOG << "world load: particle records skipped:" << skipped;

    int unplaced = 0;
    for (const ColourRecord& rec : plan.colours) {
        Particle* p = at(rec.x, rec.y);
        // Never the shared border sentinel (id -1): it is every border cell.
        if (p && p->id >= 0)
            p->setColor(rec.colour);
        else
            ++unplaced;
    }
    if (unplaced)
        LOG << "world load: colour records skipped:" << unplaced;

    electricityGrid.load(data + plan.electricityOffset, plan.electricityLength);
    if (plan.hasTemperature)
        temperatureField.load(data + plan.temperatureOffset, plan.temperatureLength);
}

void World::reset()
{
    GameServices& s = gameServices();
    unsavedChanges = false;
    const bool zoomed = worldHost().zoomedOut();
    if (zoomed)
        s.setZoomButtonIcon("guitopbar_HUDZoom.png");

    s.clearLoadedWorldName();
    s.setUniverseName(s.localize("UniverseNameEmpty"));
    s.setUniverseDescription(s.localize("UniverseDescriptionInitial"));

    temperatureField.reset();
    electricityGrid.reset();
    s.clearOverlayDrawings();

    s.resetBackground();
    s.changeBackground("peaceful.png", true);

    s.replaceResourceStore();
    s.clearHumanRegistry();

    if (worldHost().isFreePlay() && !temperatureField.isViewOn())
        temperatureField.setViewOn(true);

    destroyParticles();
    for (int32_t i = 0; i < kMaxParticles; ++i)
        freeIds_[i] = i;
    freeTop_ = kMaxParticles;

    clearCells();
    placeBorderWalls();

    std::fill(std::begin(columnFlags_), std::end(columnFlags_), 0);
    std::fill(std::begin(rowFlags_), std::end(rowFlags_), 0);
    std::fill(columnFlags_, columnFlags_ + width, 1);
    std::fill(rowFlags_, rowFlags_ + height, 1);
    lightMap.reset();

    particleCount_ = 0;
    clearPendingChanges();
    shrinkQueues();

    if (CCMutableTexture2D* texture = worldHost().worldTexture()) {
        texture->fill(ccc4(0, 0, 0, 0));
        drawBorder();
        texture->apply();
    }

    if (zoomed) {
        if (undoInProgress)
            s.setZoomButtonIcon("guitopbar_HUDZoomOut.png");
        else
            s.zoomInAround(ccp(0, 0));
    }

    lastClock_ = platform::gameTime();
    playedSeconds_ = 0;
    lastElapsed_ = 0;
    // Last, once the particles, the lights' grids and the queues are gone:
    // each kind of particle keeps blocks of its own size, and a world of
    // other kinds would otherwise take new memory beside what this one left.
    giveBackMemory();
}

void World::undo()
{
    if (!undoSnapshot)
        return;
    NSData* current = save();
    undoInProgress = true;
    const bool loaded = load(dynamic_cast<NSData*>(undoSnapshot));
    undoInProgress = false;
    if (!loaded) {
        // Keep the snapshot and the toggle: nothing was exchanged.
        LOG << "undo: the snapshot could not be loaded, the world is unchanged";
        return;
    }
    CC_SAFE_RETAIN(current);
    CC_SAFE_RELEASE(undoSnapshot);
    undoSnapshot = current;
    undoToggle = !undoToggle;
    unsavedChanges = true;
}
