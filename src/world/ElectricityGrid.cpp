#include "world/ElectricityGrid.h"

#include <cstring>

#include "base/Logger.h"
#include "platform/GameRandom.h"
#include "world/ByteStream.h"
#include "world/FieldOverlay.h"
#include "world/Particle.h"
#include "world/World.h"

USING_NS_CC;

namespace {

constexpr ccColor4B kClear{0, 0, 0, 0};
constexpr ccColor4B kHeadColour{255, 255, 0, 255};
constexpr ccColor4B kTailColour{140, 140, 0, 255};
constexpr uint32_t kElectroType = hashString("Electro");
constexpr uint32_t kMaxState = ElectricityGrid::kTailDelayed;
static_assert(ElectricityGrid::kSparkMadeEventFlag < World::kEventFlags);

// The delayed states last one step; they show as what they are about to be.
ccColor4B colourOf(uint32_t state)
{
    switch (state) {
    case ElectricityGrid::kHead:
    case ElectricityGrid::kHeadDelayed: return kHeadColour;
    case ElectricityGrid::kTail:
    case ElectricityGrid::kTailDelayed: return kTailColour;
    default: return kClear;
    }
}

bool carriesCurrent(uint32_t state)
{
    return state == ElectricityGrid::kHead || state == ElectricityGrid::kTail;
}

// Saved-code weights, largest first.
constexpr uint32_t kLeftWeight = 160;
constexpr uint32_t kRightWeight = 80;
constexpr uint32_t kAboveWeight = 40;
constexpr uint32_t kBelowWeight = 20;
constexpr uint32_t kBridgeWeight = 10;

}  // namespace

ElectricityGrid::ElectricityGrid(World& world)
    : world_(world), overlay_(std::make_unique<FieldOverlay>(kMaxWidth, kMaxHeight, 1.0f, kClear)),
      stateA_(static_cast<size_t>(kMaxWidth) * kMaxHeight, kEmpty),
      stateB_(static_cast<size_t>(kMaxWidth) * kMaxHeight, kEmpty),
      bridgeA_(static_cast<size_t>(kMaxWidth) * kMaxHeight), bridgeB_(static_cast<size_t>(kMaxWidth) * kMaxHeight)
{
}

ElectricityGrid::~ElectricityGrid() = default;

void ElectricityGrid::reset()
{
    width_ = world_.width < kMaxWidth ? world_.width : kMaxWidth;
    height_ = world_.height < kMaxHeight ? world_.height : kMaxHeight;
    if (width_ < 0)
        width_ = 0;
    if (height_ < 0)
        height_ = 0;
    const bool clearBridgeFlags =
        bridgeFlagsRaised_ || width_ > bridgeFlagsClearedWidth_ || height_ > bridgeFlagsClearedHeight_;
    // Column by column, as the cells are stored.
    for (int x = 0; x < width_; ++x) {
        const size_t column = index(x, 0);
        static_assert(kEmpty == 0);
        std::memset(stateA_.data() + column, 0, sizeof(uint32_t) * static_cast<size_t>(height_));
        std::memset(stateB_.data() + column, 0, sizeof(uint32_t) * static_cast<size_t>(height_));
        if (!clearBridgeFlags)
            continue;
        ElectricityBridge* a = bridgeA_.data() + column;
        ElectricityBridge* b = bridgeB_.data() + column;
        for (int y = 0; y < height_; ++y) {
            // Counters stay: a later bridge on this cell inherits them.
            a[y].isBridge = 0;
            b[y].isBridge = 0;
        }
    }
    if (clearBridgeFlags) {
        bridgeFlagsRaised_ = false;
        bridgeFlagsClearedWidth_ = width_;
        bridgeFlagsClearedHeight_ = height_;
    }
    liveCells_ = 0;
    bridges_ = 0;
    overlay_->fill(kClear);
    overlay_->flush();
}

ElectricityBridge& ElectricityGrid::bridgeIn(int buffer, int x, int y)
{
    return (buffer == 0 ? bridgeA_ : bridgeB_)[index(x, y)];
}

void ElectricityGrid::setBridge(int x, int y, bool present)
{
    if (!inGrid(x, y))
        return;
    bridges_ += static_cast<int>(present) - static_cast<int>(isBridge(x, y));
    bridgeFlagsRaised_ |= present;
    for (ElectricityBridge* b : {&bridgeA_[index(x, y)], &bridgeB_[index(x, y)]}) {
        if (present)
            *b = ElectricityBridge{1, 0, 0, 0, 0};
        else
            b->isBridge = 0;
    }
}

void ElectricityGrid::paint(int x, int y, uint32_t state)
{
    overlay_->setPixel(x, y, colourOf(state));
}

void ElectricityGrid::writeState(int x, int y, uint32_t state)
{
    if (!inGrid(x, y))
        return;
    uint32_t& cell = states()[index(x, y)];
    // Every texel shows its cell's state, so an unchanged colour needs no
    // paint (and so no upload: conductors are marked on every move).
    const ccColor4B before = colourOf(cell);
    const ccColor4B after = colourOf(state);
    liveCells_ += static_cast<int>(isLive(state)) - static_cast<int>(isLive(cell));
    cell = state;
    if (before.r != after.r || before.g != after.g || before.b != after.b || before.a != after.a)
        paint(x, y, state);
}

uint32_t ElectricityGrid::getCell(int x, int y) const
{
    return stateAt(x, y);
}

bool ElectricityGrid::poweredAround(int x, int y) const
{
    return carriesCurrent(stateAt(x, y)) || carriesCurrent(stateAt(x - 1, y)) || carriesCurrent(stateAt(x + 1, y)) ||
        carriesCurrent(stateAt(x, y - 1)) || carriesCurrent(stateAt(x, y + 1));
}

bool ElectricityGrid::poweredInBlock(int x, int y) const
{
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (carriesCurrent(stateAt(x + dx, y + dy)))
                return true;
    return false;
}

int ElectricityGrid::countInState(int x, int y, uint32_t state) const
{
    int n = 0;
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (inGrid(x + dx, y + dy) && states()[index(x + dx, y + dy)] == state)
                ++n;
    return n;
}

int ElectricityGrid::countBridges(int x, int y) const
{
    int n = 0;
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (isBridge(x + dx, y + dy))
                ++n;
    return n;
}

void ElectricityGrid::limitBranchesTo(int x, int y, uint32_t blocked)
{
    int k = countInState(x, y, kConductor) - 2;
    while (k > 0) {
        const int dx = gameRand() % 3 - 1;
        const int dy = gameRand() % 3 - 1;
        if (dx == 0 && dy == 0)
            continue;
        if (stateAt(x + dx, y + dy) == kConductor) {
            writeState(x + dx, y + dy, blocked);
            --k;
        }
    }
}

void ElectricityGrid::limitBranches(int x, int y)
{
    limitBranchesTo(x, y, kTail);
}

void ElectricityGrid::limitBranchesDelayed(int x, int y)
{
    limitBranchesTo(x, y, kTailDelayed);
}

void ElectricityGrid::startHead(int x, int y)
{
    limitBranches(x, y);
    writeState(x, y, kHead);
}

void ElectricityGrid::startHeadDelayed(int x, int y)
{
    limitBranchesDelayed(x, y);
    writeState(x, y, kHeadDelayed);
}

void ElectricityGrid::setCell(int x, int y, uint32_t state)
{
    if ((x == 0 && y == 0) || !inGrid(x, y) || state > kMaxState)
        return;
    if (state == kHead || state == kHeadDelayed) {
        if (stateAt(x, y) != kConductor)
            return;
        if (state == kHead)
            limitBranches(x, y);
        else
            limitBranchesDelayed(x, y);
    }
    writeState(x, y, state);
    overlay_->flush();
}

void ElectricityGrid::moveCell(int x1, int y1, int x2, int y2)
{
    // A move onto itself would empty the cell and drop its bridge.
    if (!inGrid(x1, y1) || !inGrid(x2, y2) || (x1 == x2 && y1 == y2))
        return;
    const uint32_t state = stateAt(x1, y1);
    writeState(x2, y2, state);
    writeState(x1, y1, kEmpty);
    if (isBridge(x1, y1)) {
        setBridge(x2, y2, true);
        setBridge(x1, y1, false);
    }
    overlay_->flush();
}

void ElectricityGrid::swapCells(int x1, int y1, int x2, int y2)
{
    if (!inGrid(x1, y1) || !inGrid(x2, y2) || (x1 == x2 && y1 == y2))
        return;
    const uint32_t first = stateAt(x1, y1);
    const uint32_t second = stateAt(x2, y2);
    writeState(x1, y1, second);
    writeState(x2, y2, first);
    if (isBridge(x1, y1)) {
        setBridge(x2, y2, true);
        setBridge(x1, y1, false);
    }
}

void ElectricityGrid::sparkAtDeadEnd(int x, int y)
{
    if (countInState(x, y, kConductor) - countBridges(x, y) != 7)
        return;
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            if (stateAt(x + dx, y + dy) != kConductor)
                continue;
            const int sx = x - dx;
            const int sy = y - dy;
            if (world_.inWorld(sx, sy) && !world_.at(sx, sy) && world_.addParticle(sx, sy, kElectroType, false))
                world_.eventFlags[kSparkMadeEventFlag] = 1;
            return;
        }
    }
}

void ElectricityGrid::step()
{
    // Without current or bridges every cell keeps its state: only the bridge
    // buffers change places, as they do at every step.
    if (liveCells_ != 0 || bridges_ != 0) {
        if (bridges_ != 0)
            stepBridges();
        stepCells();
        statesInA_ = !statesInA_;
    }
    aIsCurrent_ = !aIsCurrent_;
    overlay_->flush();
}

void ElectricityGrid::stepCells()
{
    // Writes made to the current buffer while the pass runs (a spark's new
    // particle) are dropped with it, so the live count is the pass's own.
    int live = 0;
    const std::vector<uint32_t>& cur = states();
    std::vector<uint32_t>& nxt = nextStates();
    for (int x = 0; x < width_; ++x) {
        for (int y = 0; y < height_; ++y) {
            const size_t i = index(x, y);
            const uint32_t s = cur[i];
            uint32_t ns = s;
            switch (s) {
            case kHeadDelayed: ns = kHead; break;
            case kTailDelayed: ns = kTail; break;
            case kHead: ns = kTail; break;
            case kTail:
                sparkAtDeadEnd(x, y);
                ns = kConductor;
                break;
            case kConductor: {
                const int heads = countInState(x, y, kHead);
                ns = (heads == 1 || heads == 2) && countInState(x, y, kConductor) < 7 ? kHead : kConductor;
                break;
            }
            default: break;
            }
            nxt[i] = ns;
            live += isLive(ns);
            if (ns != s)
                paint(x, y, ns);
        }
    }
    liveCells_ = live;
}

void ElectricityGrid::stepBridges()
{
    for (int x = 1; x < width_ - 1; ++x)
        for (int y = 1; y < height_ - 1; ++y)
            if (isBridge(x, y))
                stepBridge(x, y);
}

// A side arms when a head (or a delayed head) stands in the neighbouring
// cell, that neighbour is no bridge itself, and a tail behind it (or a bridge
// that passed it on) shows the spark is travelling toward this bridge.
bool ElectricityGrid::armed(int nx, int ny, int bandX0, int bandX1, int bandY0, int bandY1, int bx, int by) const
{
    if (isBridge(nx, ny))
        return false;
    const uint32_t n = stateAt(nx, ny);
    if (n != kHead && n != kHeadDelayed)
        return false;
    for (int x = bandX0; x <= bandX1; ++x)
        for (int y = bandY0; y <= bandY1; ++y)
            if (stateAt(x, y) == kTail)
                return true;
    return isBridge(bx, by);
}

void ElectricityGrid::stepBridge(int x, int y)
{
    ElectricityBridge& cur = currentBridge(x, y);
    ElectricityBridge& next = nextBridge(x, y);

    if (cur.fromAbove == 0 && armed(x, y + 1, x - 1, x + 1, y + 1, y + 2, x, y + 2))
        next.fromAbove = 3;
    if (cur.fromBelow == 0 && armed(x, y - 1, x - 1, x + 1, y - 2, y - 1, x, y - 2))
        cur.fromBelow = 4;
    if (cur.fromRight == 0 && armed(x + 1, y, x + 1, x + 2, y - 1, y + 1, x + 2, y))
        next.fromRight = 3;
    if (cur.fromLeft == 0 && armed(x - 1, y, x - 2, x - 1, y - 1, y + 1, x - 2, y))
        cur.fromLeft = 4;

    auto countDown = [&](int32_t& counter) {
        if (counter > 0 && --counter == 0)
            writeState(x, y, kEmpty);
    };
    auto setCurrentCounter = [&](int bx, int by, int32_t ElectricityBridge::*side, int32_t value) {
        if (inGrid(bx, by))
            currentBridge(bx, by).*side = value;
    };

    // From below: leaves upward.
    if (cur.fromBelow == 3) {
        const int ex = x, ey = y + 1;
        if (isBridge(ex, ey))
            nextBridge(ex, ey).fromBelow = 3;
        else if (stateAt(ex, ey) == kConductor)
            startHead(ex, ey);
        else if (stateAt(x, y + 2) == kConductor)
            startHead(x, y + 2);
        cur.fromBelow = 1;
    }
    countDown(cur.fromBelow);

    // From above: leaves downward.
    if (cur.fromAbove == 3) {
        const int ex = x, ey = y - 1;
        if (isBridge(ex, ey)) {
            nextBridge(ex, ey).fromAbove = 3;
        } else if (stateAt(ex, ey) == kConductor) {
            if (isBridge(x, y - 2))
                setCurrentCounter(x, y - 2, &ElectricityBridge::fromAbove, 3);
            else
                startHeadDelayed(ex, ey);
        } else if (stateAt(x, y - 2) == kConductor) {
            if (y < 3)
                startHead(x, y - 2);
            else if (isBridge(x, y - 3))
                setCurrentCounter(x, y - 3, &ElectricityBridge::fromAbove, 3);
            else
                startHeadDelayed(x, y - 2);
        }
        cur.fromAbove = 1;
    }
    countDown(cur.fromAbove);

    // From right: leaves to the left.
    if (cur.fromRight == 3) {
        const int ex = x - 1, ey = y;
        if (isBridge(ex, ey)) {
            nextBridge(ex, ey).fromRight = 3;
        } else if (stateAt(ex, ey) == kConductor) {
            if (isBridge(x - 2, y))
                setCurrentCounter(x - 2, y, &ElectricityBridge::fromRight, 4);
            else
                startHeadDelayed(ex, ey);
        } else if (stateAt(x - 2, y) == kConductor) {
            if (isBridge(x - 3, y))
                setCurrentCounter(x - 3, y, &ElectricityBridge::fromRight, 4);
            else
                startHeadDelayed(x - 2, y);
        }
        cur.fromRight = 1;
    }
    countDown(cur.fromRight);

    // From left: leaves to the right.
    if (cur.fromLeft == 3) {
        const int ex = x + 1, ey = y;
        if (isBridge(ex, ey))
            nextBridge(ex, ey).fromLeft = 3;
        else if (stateAt(ex, ey) == kConductor)
            startHead(ex, ey);
        else if (stateAt(x + 2, y) == kConductor)
            startHead(x + 2, y);
        cur.fromLeft = 1;
    }
    countDown(cur.fromLeft);
}

uint32_t ElectricityGrid::encodeCell(int x, int y) const
{
    if (!inGrid(x, y))
        return 0;
    const size_t i = index(x, y);
    const ElectricityBridge& a = bridgeA_[i];
    const ElectricityBridge& b = bridgeB_[i];
    uint32_t code = states()[i];
    // Counters are saved only for a bridge: a cell whose bridge has gone
    // keeps stale counters, which must not turn it into a bridge on load.
    if (a.isBridge || b.isBridge) {
        code += kBridgeWeight;
        if (a.fromBelow == 3 || b.fromBelow == 3)
            code += kBelowWeight;
        if (a.fromAbove == 3 || b.fromAbove == 3)
            code += kAboveWeight;
        if (a.fromRight == 3 || b.fromRight == 3)
            code += kRightWeight;
        if (a.fromLeft == 3 || b.fromLeft == 3)
            code += kLeftWeight;
    }
    return code;
}

bool ElectricityGrid::decodeCell(int x, int y, uint32_t code)
{
    if (!inGrid(x, y))
        return false;
    // Check the whole code before touching the cell.
    uint32_t rest = code;
    for (uint32_t w : {kLeftWeight, kRightWeight, kAboveWeight, kBelowWeight, kBridgeWeight})
        if (rest >= w)
            rest -= w;
    if (rest > kMaxState)
        return false;

    const size_t i = index(x, y);
    bridges_ += static_cast<int>(code >= kBridgeWeight) - static_cast<int>(isBridge(x, y));
    ElectricityBridge* both[] = {&bridgeA_[i], &bridgeB_[i]};
    for (ElectricityBridge* b : both)
        b->isBridge = 0;
    struct Side {
        uint32_t weight;
        int32_t ElectricityBridge::*counter;
    };
    const Side sides[] = {
        {kLeftWeight, &ElectricityBridge::fromLeft},
        {kRightWeight, &ElectricityBridge::fromRight},
        {kAboveWeight, &ElectricityBridge::fromAbove},
        {kBelowWeight, &ElectricityBridge::fromBelow},
        {kBridgeWeight, nullptr},
    };
    for (const Side& side : sides) {
        if (code < side.weight)
            continue;
        code -= side.weight;
        bridgeFlagsRaised_ = true;
        for (ElectricityBridge* b : both) {
            b->isBridge = 1;
            if (side.counter)
                b->*side.counter = 3;
        }
    }
    writeState(x, y, code);
    return true;
}

int32_t ElectricityGrid::save(std::vector<uint8_t>& out) const
{
    if (!out.empty())
        return 0;
    uint32_t n = 0;
    for (int x = 0; x < width_; ++x)
        for (int y = 0; y < height_; ++y)
            if (states()[index(x, y)] != kEmpty || isBridge(x, y))
                ++n;
    ByteWriter w(out);
    w.u32(n);
    for (int x = 0; x < width_; ++x) {
        for (int y = 0; y < height_; ++y) {
            if (states()[index(x, y)] == kEmpty && !isBridge(x, y))
                continue;
            w.u32(static_cast<uint32_t>(x));
            w.u32(static_cast<uint32_t>(y));
            w.u32(encodeCell(x, y));
        }
    }
    return static_cast<int32_t>(out.size());
}

int32_t ElectricityGrid::load(const uint8_t* data, size_t available)
{
    if (!data)
        return 0;
    reset();
    ByteReader r(data, available);
    uint32_t n = 0;
    if (!r.u32(n))
        return 0;
    const uint64_t length = 4 + 12 * static_cast<uint64_t>(n);
    if (length > available || length > INT32_MAX) {
        LOG << "electricity section longer than the data:" << n << "records";
        return 0;
    }
    uint32_t refused = 0;
    for (uint32_t k = 0; k < n; ++k) {
        uint32_t x = 0, y = 0, code = 0;
        r.u32(x);
        r.u32(y);
        r.u32(code);
        if (x >= static_cast<uint32_t>(width_) || y >= static_cast<uint32_t>(height_) ||
            !decodeCell(static_cast<int>(x), static_cast<int>(y), code))
            ++refused;
    }
    if (refused)
        LOG << "electricity records skipped:" << refused;
    overlay_->flush();
    return static_cast<int32_t>(length);
}

cocos2d::CCSprite* ElectricityGrid::getSprite() const
{
    return overlay_->sprite();
}

void ElectricityGrid::flushOverlay()
{
    overlay_->flush();
}
