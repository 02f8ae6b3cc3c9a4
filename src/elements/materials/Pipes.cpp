#include "elements/materials/Pipes.h"

#include <algorithm>

namespace {

// Left, right, up, down: the order a pipe looks at its neighbours in.
constexpr int kSides[4][2] = {{-1, 0}, {1, 0}, {0, 1}, {0, -1}};

Particle* cellAtOrNull(int cx, int cy)
{
    return gWorld ? gWorld->at(cx, cy) : nullptr;
}

bool isPlainPipe(const Particle* p)
{
    return p && p->getType() == Pipe::kTypeId;
}

}  // namespace

// --- the network ----------------------------------------------------------------

PipeNetwork& PipeNetwork::getInstance()
{
    static PipeNetwork network;
    return network;
}

void PipeNetwork::addPipe(PipeBase* p)
{
    if (p->pipeIndex >= 0)
        return;
    p->pipeIndex = static_cast<int32_t>(pipes_.size());
    pipes_.push_back(p);
}

void PipeNetwork::removePipe(PipeBase* p)
{
    if (p->pipeIndex < 0)
        return;
    PipeBase* last = pipes_.back();
    pipes_[static_cast<size_t>(p->pipeIndex)] = last;
    last->pipeIndex = p->pipeIndex;
    pipes_.pop_back();
    p->pipeIndex = -1;
}

void PipeNetwork::addInlet(PipeIn* p)
{
    if (p->endIndex >= 0)
        return;
    p->endIndex = static_cast<int32_t>(inlets_.size());
    inlets_.push_back(p);
}

void PipeNetwork::removeInlet(PipeIn* p)
{
    if (p->endIndex < 0)
        return;
    PipeIn* last = inlets_.back();
    inlets_[static_cast<size_t>(p->endIndex)] = last;
    last->endIndex = p->endIndex;
    inlets_.pop_back();
    p->endIndex = -1;
}

void PipeNetwork::addOutlet(PipeOut* p)
{
    if (p->endIndex >= 0)
        return;
    p->endIndex = static_cast<int32_t>(outlets_.size());
    p->registration = nextRegistration_++;
    outlets_.push_back(p);
}

void PipeNetwork::removeOutlet(PipeOut* p)
{
    if (p->endIndex < 0)
        return;
    PipeOut* last = outlets_.back();
    outlets_[static_cast<size_t>(p->endIndex)] = last;
    last->endIndex = p->endIndex;
    outlets_.pop_back();
    p->endIndex = -1;
}

void PipeNetwork::reset()
{
    for (PipeBase* p : pipes_)
        p->visited = false;
    for (PipeIn* in : inlets_)
        in->outlets.clear();
}

void PipeNetwork::findOutlets(PipeIn& inlet)
{
    if (pipes_.size() < 2)
        return;
    queue_.clear();
    queue_.push_back(&inlet);
    for (size_t head = 0; head < queue_.size(); ++head) {
        const PipeBase* q = queue_[head];
        for (const auto& side : kSides) {
            const int cx = q->x + side[0];
            const int cy = q->y + side[1];
            Particle* n = cellAtOrNull(cx, cy);
            if (!isPlainPipe(n))
                continue;
            auto* pipe = static_cast<PipeBase*>(static_cast<Pipe*>(n));
            if (pipe->visited)
                continue;
            pipe->visited = true;
            queue_.push_back(pipe);
            collectOutletsNear(cx, cy, inlet);
        }
    }
    queue_.clear();
}

void PipeNetwork::collectOutletsNear(int cx, int cy, PipeIn& inlet)
{
    // Right, left, up, down, listed in the order the outlets registered.
    static constexpr int kAround[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    PipeOut* found[4];
    int count = 0;
    for (const auto& d : kAround) {
        Particle* n = cellAtOrNull(cx + d[0], cy + d[1]);
        if (n && n->getType() == PipeOut::kTypeId) {
            auto* out = static_cast<PipeOut*>(n);
            if (out->endIndex >= 0)
                found[count++] = out;
        }
    }
    maxOutletsReadPerCell = std::max(maxOutletsReadPerCell, count);
    for (int i = 1; i < count; ++i)
        for (int j = i; j > 0 && found[j - 1]->registration > found[j]->registration; --j)
            std::swap(found[j - 1], found[j]);
    for (int i = 0; i < count; ++i)
        inlet.outlets.push_back(found[i]);
}

// --- the pipe cells -------------------------------------------------------------------

void PipeBase::registerInNetwork()
{
    PipeNetwork::getInstance().addPipe(this);
}

bool PipeEnd::isLedKind(uint32_t type)
{
    switch (type) {
    case TypeId::of("LedBlue"):
    case TypeId::of("LedGreen"):
    case TypeId::of("LedOrange"):
    case TypeId::of("LedPurple"):
    case TypeId::of("LedRed"):
    case TypeId::of("LedYellow"): return true;
    default: return false;
    }
}

PipeEnd::PipeEnd()
{
    // The plain pipe's own choice among its (single) row, kept so that an
    // end draws the same random numbers as a pipe followed by its own row.
    gameRand();
    PipeNetwork::getInstance().addPipe(this);
}

void PipeEnd::takeLedTagFromNeighbours()
{
    for (const auto& side : kSides) {
        Particle* n = cellAtOrNull(x + side[0], y + side[1]);
        if (n && isLedKind(n->getType())) {
            ledTag = n->getType();
            return;
        }
    }
    ledTag = 0;
}

Pipe::Pipe()
{
    PipeNetwork::getInstance().addPipe(this);
}

Pipe::~Pipe()
{
    PipeNetwork::getInstance().removePipe(this);
}

// --- the inlet --------------------------------------------------------------------------

PipeIn::PipeIn()
{
    PipeNetwork& net = PipeNetwork::getInstance();
    net.addInlet(this);
    net.reset();
}

PipeIn::~PipeIn()
{
    PipeNetwork& net = PipeNetwork::getInstance();
    net.removeInlet(this);
    net.reset();
    outlets.clear();
    net.removePipe(this);
}

void PipeIn::registerInNetwork()
{
    PipeNetwork::getInstance().addInlet(this);
}

bool PipeIn::acceptsKind(uint32_t type)
{
    switch (type) {
    case TypeId::of("Water"):
    case TypeId::of("Oil"):
    case TypeId::of("OilBurning"):
    case TypeId::of("Lava"):
    case TypeId::of("Acid"):
    case TypeId::of("Soil"):
    case TypeId::of("Snow"):
    case TypeId::of("Stone"):
    case TypeId::of("Sand"):
    case TypeId::of("Amatist"):
    case TypeId::of("Citrine"):
    case TypeId::of("Diamond"):
    case TypeId::of("Emerald"):
    case TypeId::of("Lapislazuli"):
    case TypeId::of("Obsidian"):
    case TypeId::of("Ruby"):
    case TypeId::of("Sapphire"):
    case TypeId::of("Zircon"):
    case TypeId::of("Aluminite"): return true;
    default: return false;
    }
}

Particle* PipeIn::findIntake() const
{
    for (const auto& side : kSides) {
        Particle* n = cellAtOrNull(x + side[0], y + side[1]);
        if (n && acceptsKind(n->getType()))
            return n;
    }
    return nullptr;
}

void PipeIn::update()
{
    PipeNetwork& net = PipeNetwork::getInstance();
    if (++resetCounter > kResetAfter) {
        resetCounter = 0;
        net.reset();
    }
    if (outlets.empty()) {
        net.findOutlets(*this);
        if (!outlets.empty())
            outlets.front()->busy = false;
    } else {
        bool taken = false;
        size_t busyCount = 0;
        for (size_t i = 0; i < outlets.size() && !taken; ++i) {
            Particle* intake = findIntake();
            if (!intake)
                continue;
            PipeOut* o = outlets[i];
            if (o->busy) {
                ++busyCount;
                continue;
            }
            if (!o->open)
                continue;
            if (ledTag != o->ledTag) {
                ++busyCount;
                continue;
            }
            const int ix = intake->x;
            const int iy = intake->y;
            o->release(intake->getType());
            world().removeParticle(ix, iy);
            taken = true;
        }
        if (busyCount == outlets.size())
            for (PipeOut* o : outlets)
                o->busy = false;
    }
    takeLedTagFromNeighbours();
}

// --- the outlet --------------------------------------------------------------------------

PipeOut::PipeOut()
{
    PipeNetwork& net = PipeNetwork::getInstance();
    net.addOutlet(this);
    net.reset();
}

PipeOut::~PipeOut()
{
    PipeNetwork& net = PipeNetwork::getInstance();
    net.reset();
    net.removeOutlet(this);
    net.removePipe(this);
}

void PipeOut::registerInNetwork()
{
    PipeNetwork::getInstance().addOutlet(this);
}

void PipeOut::update()
{
    open = isEmptyAt(x - 1, y) || isEmptyAt(x + 1, y) || isEmptyAt(x, y + 1) || isEmptyAt(x, y - 1);
    takeLedTagFromNeighbours();
}

void PipeOut::release(uint32_t type)
{
    if (type == 0 || !open)
        return;
    busy = true;
    int tx = x;
    int ty = y;
    if (isPlainPipe(cellAtOrNull(x - 1, y)))
        ++tx;
    if (isPlainPipe(cellAtOrNull(x + 1, y)))
        --tx;
    if (isPlainPipe(cellAtOrNull(x, y + 1)))
        --ty;
    if (isPlainPipe(cellAtOrNull(x, y - 1)))
        ++ty;
    World& w = world();
    if (isEmptyAt(tx, ty)) {
        w.addParticle(tx, ty, type, false);
        return;
    }
    if (tx != x) {
        if (isEmptyAt(x, y - 1))
            w.addParticle(x, y - 1, type, false);
        else if (isEmptyAt(x, y + 1))
            w.addParticle(x, y + 1, type, false);
    } else if (ty != y) {
        if (isEmptyAt(x - 1, y))
            w.addParticle(x - 1, y, type, false);
        else if (isEmptyAt(x + 1, y))
            w.addParticle(x + 1, y, type, false);
    }
}

void registerPipes()
{
    registerElements<Pipe, PipeIn, PipeOut>();
}
