#pragma once
// Pipes carry material across the world. An inlet (PipeIn) swallows grains
// and liquids that touch it; for each one an outlet (PipeOut) reached through
// connected plain Pipe cells releases a new particle of that kind on its far
// side. The inlet finds its outlets by a breadth-first search and serves them
// in turn. An LED beside an inlet or outlet colours that end: an inlet feeds
// only outlets of its own colour (or both none). Every pipe registers in the
// one PipeNetwork.
#include <cstdint>
#include <vector>

#include "elements/materials/Element.h"

// clang-format off
//                                  type name dens blast  factor colour rows start row         sound              absorb
inline constexpr ElementInfo kPipeInfo    {"Pipe",    0, 0.65f, 0.2f, {145, 145}, StartRow::Random, "sfx_element_pipe", 50};
inline constexpr ElementInfo kPipeInInfo  {"PipeIn",  0, 0.65f, 0.2f, {144, 144}, StartRow::Random, "sfx_element_pipe", 50};
inline constexpr ElementInfo kPipeOutInfo {"PipeOut", 0, 0.65f, 0.2f, {146, 146}, StartRow::Random, "sfx_element_pipe", 50};
// clang-format on

class PipeIn;
class PipeOut;

// What every pipe cell holds: the search mark and its place in the network.
class PipeBase : public MaterialParticle {
public:
    // Adds the pipe again to its class's list; a pipe already listed stays
    // listed once (a second entry would outlive the pipe).
    virtual void registerInNetwork();

    bool visited = false;    // reached by the current outlet search
    int32_t pipeIndex = -1;  // place in the network's list of pipes; -1 = not listed

protected:
    PipeBase() = default;
};

// An inlet or outlet: the colour of the LED beside it.
class PipeEnd : public PipeBase {
public:
    // The LED kinds that colour a pipe end, in this order.
    static bool isLedKind(uint32_t type);
    // Takes the first LED among the four neighbours (left, right, up, down)
    // as the tag; 0 when none.
    void takeLedTagFromNeighbours();

    uint32_t ledTag = 0;
    int32_t endIndex = -1;  // place in the network's inlets or outlets; -1 = not listed

protected:
    PipeEnd();
};

class Pipe : public Element<kPipeInfo, PipeBase> {
public:
    Pipe();
    ~Pipe() override;
};

class PipeIn : public Element<kPipeInInfo, PipeEnd> {
public:
    static constexpr int32_t kResetAfter = 30;

    PipeIn();
    ~PipeIn() override;
    void registerInNetwork() override;
    void update() override;
    // The first neighbour (left, right, up, down) of a kind it takes in.
    Particle* findIntake() const;
    static bool acceptsKind(uint32_t type);

    int32_t resetCounter = 0;
    std::vector<PipeOut*> outlets;  // found by the last search; may repeat
};

class PipeOut : public Element<kPipeOutInfo, PipeEnd> {
public:
    PipeOut();
    ~PipeOut() override;
    void registerInNetwork() override;
    void update() override;
    // Places a new particle of the kind on the side away from the pipe.
    void release(uint32_t type);

    bool open = true;           // a neighbour was empty at its last update
    bool busy = true;           // received in the current cycle
    uint64_t registration = 0;  // order of registration, for search results
};

// The one network of the whole run: every pipe, the outlets and the inlets.
class PipeNetwork {
public:
    static PipeNetwork& getInstance();

    // Every pipe's mark cleared; every inlet's outlet list emptied.
    void reset();
    // Breadth-first over plain Pipe cells from the inlet; fills its outlets.
    void findOutlets(PipeIn& inlet);

    void addPipe(PipeBase* p);
    void removePipe(PipeBase* p);
    void addInlet(PipeIn* p);
    void removeInlet(PipeIn* p);
    void addOutlet(PipeOut* p);
    void removeOutlet(PipeOut* p);

    size_t pipeCount() const { return pipes_.size(); }
    size_t inletCount() const { return inlets_.size(); }
    size_t outletCount() const { return outlets_.size(); }
    // The largest number of outlets an outlet search has read around one cell
    // (for the pipes benchmark: never more than four).
    int maxOutletsReadPerCell = 0;

private:
    PipeNetwork() = default;
    // Appends to the inlet's list the outlets beside (cx, cy), in the order
    // of registration.
    void collectOutletsNear(int cx, int cy, PipeIn& inlet);

    // Unordered (a pipe knows its place); outlets keep their registration
    // number, which orders search results.
    std::vector<PipeBase*> pipes_;
    std::vector<PipeIn*> inlets_;
    std::vector<PipeOut*> outlets_;
    std::vector<PipeBase*> queue_;
    uint64_t nextRegistration_ = 1;
};

// Registers Pipe, PipeIn and PipeOut.
void registerPipes();
