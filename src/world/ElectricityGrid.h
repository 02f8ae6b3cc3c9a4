#pragma once
// Electric current as a cellular automaton over the world cells: conductors
// carry spark heads, which leave tails behind them, one cell per step. Wire
// bridges (CrossWire) pass a spark straight across without joining the two
// wires. Draws itself as an overlay: heads bright yellow, tails dark yellow.
//
// Invariants: the step reads the current buffers and writes the other state
// buffer, then flips; readers always see the newest states. Bridge records
// are kept in two buffers selected by a flag of their own, which every step
// flips. The step of a grid with no current and no bridge changes no state, so
// it leaves the state buffers as they are and only flips the bridge flag: the
// counts of live cells and bridges below say when that is so, and every write
// of a current state or a bridge flag keeps them exact (a bridge flag changes
// only through setBridge, decodeCell and reset).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace cocos2d {
class CCSprite;
}
class FieldOverlay;
class World;

// One cell's bridge record; the counters are 0 when idle.
struct ElectricityBridge {
    uint8_t isBridge = 0;
    int32_t fromRight = 0;  // spark entering from x + 1
    int32_t fromLeft = 0;   // from x - 1
    int32_t fromBelow = 0;  // from y - 1
    int32_t fromAbove = 0;  // from y + 1
};

class ElectricityGrid {
public:
    enum State : uint32_t {
        kEmpty = 0,
        kHead = 1,
        kTail = 2,
        kConductor = 3,
        kHeadDelayed = 4,  // becomes a head at the next step
        kTailDelayed = 5,  // becomes a tail at the next step
    };
    static constexpr int kMaxWidth = 240;
    static constexpr int kMaxHeight = 160;
    // The World event flag a dead-end spark raises ("spark made"; the story's
    // spark mission reads and clears it). The flags follow the order saved,
    // reset, loaded, stone mined, metal electrified, spark made, fill used.
    static constexpr int kSparkMadeEventFlag = 6;

    explicit ElectricityGrid(World& world);
    ~ElectricityGrid();
    ElectricityGrid(const ElectricityGrid&) = delete;
    ElectricityGrid& operator=(const ElectricityGrid&) = delete;

    // Takes the world's size and clears every state and bridge flag.
    void reset();
    // Bridges first, then every cell advances once; flips the buffers.
    void step();

    // Current at the cell or one of its four orthogonal neighbours.
    bool isPowered(int x, int y) const { return liveCells_ != 0 && poweredAround(x, y); }
    // Current anywhere in the 3 x 3 block around the cell. Asked by many
    // elements every step, mostly of a grid without any current.
    bool isPoweredNear(int x, int y) const { return liveCells_ != 0 && poweredInBlock(x, y); }
    // Heads (1, 4) only start on a conductor and cut extra branches first;
    // other states are written as given. Cell (0, 0) is ignored. A change the
    // overlay shows is uploaded at once (a paused world does not step).
    void setCell(int x, int y, uint32_t state);
    uint32_t getCell(int x, int y) const;
    // The state (and a bridge) moves; the source becomes empty. Uploads like
    // setCell.
    void moveCell(int x1, int y1, int x2, int y2);
    // States exchange; a bridge at the first cell moves to the second.
    void swapCells(int x1, int y1, int x2, int y2);

    // Cells of the 3 x 3 block (itself included) in `state` / holding a bridge.
    int countInState(int x, int y, uint32_t state) const;
    int countBridges(int x, int y) const;
    // Junction rule before (x, y) becomes a head: extra conductor neighbours
    // are blocked (tail, or delayed tail) so the spark runs one way.
    void limitBranches(int x, int y);
    void limitBranchesDelayed(int x, int y);

    // Bridge records. Buffer 0 is A, 1 is B; "current" follows the flag.
    ElectricityBridge& bridgeIn(int buffer, int x, int y);
    ElectricityBridge& currentBridge(int x, int y) { return bridgeIn(aIsCurrent_ ? 0 : 1, x, y); }
    ElectricityBridge& nextBridge(int x, int y) { return bridgeIn(aIsCurrent_ ? 1 : 0, x, y); }
    bool isBridge(int x, int y) const
    {
        return inGrid(x, y) && (aIsCurrent_ ? bridgeA_ : bridgeB_)[index(x, y)].isBridge != 0;
    }
    // Places (all four counters 0) or removes a bridge in both buffers.
    void setBridge(int x, int y, bool present);
    // Which bridge buffer is current (A: true).
    bool isACurrent() const { return aIsCurrent_; }
    // In-grid cells holding a head, a tail or a delayed one; in-grid bridges.
    int liveCellCount() const { return liveCells_; }
    int bridgeCount() const { return bridges_; }

    // Saved section: u32 n, then n records (x, y, code) of u32 each.
    // save appends to an empty `out` and returns the length (0 when `out`
    // already holds bytes). load resets, decodes and returns the length,
    // or 0 when data is null or the section does not fit in `available`.
    int32_t save(std::vector<uint8_t>& out) const;
    int32_t load(const uint8_t* data, size_t available);
    // The saved code of one cell: state + 10 bridge + 20/40/80/160 for a
    // from-below/above/right/left counter of 3 in either buffer.
    uint32_t encodeCell(int x, int y) const;
    // Applies one saved code to a cell (bridge flags and counters in both
    // buffers, state in the current buffer). False for a code it cannot hold.
    bool decodeCell(int x, int y, uint32_t code);

    cocos2d::CCSprite* getSprite() const;
    FieldOverlay& overlay() { return *overlay_; }
    // Uploads the overlay when something was painted since the last upload.
    void flushOverlay();

private:
    static size_t index(int x, int y) { return static_cast<size_t>(x) * kMaxHeight + y; }
    bool inGrid(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    std::vector<uint32_t>& states() { return statesInA_ ? stateA_ : stateB_; }
    const std::vector<uint32_t>& states() const { return statesInA_ ? stateA_ : stateB_; }
    std::vector<uint32_t>& nextStates() { return statesInA_ ? stateB_ : stateA_; }
    uint32_t stateAt(int x, int y) const { return inGrid(x, y) ? states()[index(x, y)] : kEmpty; }
    static bool isLive(uint32_t state) { return state != kEmpty && state != kConductor; }
    bool poweredAround(int x, int y) const;
    bool poweredInBlock(int x, int y) const;
    void stepCells();
    // Current buffer; the texel is repainted when the state's colour changes.
    void writeState(int x, int y, uint32_t state);
    void paint(int x, int y, uint32_t state);
    void limitBranchesTo(int x, int y, uint32_t blocked);
    void startHead(int x, int y);         // junction rule, then 1
    void startHeadDelayed(int x, int y);  // delayed junction rule, then 4
    void sparkAtDeadEnd(int x, int y);
    void stepBridges();
    void stepBridge(int x, int y);
    bool armed(int nx, int ny, int bandX0, int bandX1, int bandY0, int bandY1, int bx, int by) const;

    World& world_;
    std::unique_ptr<FieldOverlay> overlay_;
    bool aIsCurrent_ = true;  // bridge buffers
    bool statesInA_ = true;   // state buffers
    int liveCells_ = 0;
    int bridges_ = 0;
    int width_ = kMaxWidth;
    int height_ = kMaxHeight;
    std::vector<uint32_t> stateA_;
    std::vector<uint32_t> stateB_;
    std::vector<ElectricityBridge> bridgeA_;
    std::vector<ElectricityBridge> bridgeB_;
    // Whether a bridge flag was raised since reset last cleared them, and the
    // extent it cleared: a reset of a world without bridges skips the cells.
    bool bridgeFlagsRaised_ = true;
    int bridgeFlagsClearedWidth_ = 0;
    int bridgeFlagsClearedHeight_ = 0;
};
