#pragma once
// The human: a creature two cells wide and six tall. Its bottom-left cell,
// the HumanLeader, owns everything that makes it act: job and gender,
// facing, its table of behaviours, its path search, hunger and balloon
// counters, and its place in the registry of living humans. The eleven
// HumanPart cells only burn, clear plants around themselves and pass touches
// on. The colony's shared resource counts are class-wide operations here.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "elements/creatures/Behaviours.h"
#include "elements/creatures/MPBase.h"
#include "elements/creatures/PathSearch.h"

// clang-format off
//                                        type name      dens blast factor rows          start           sound                absorb flags
inline constexpr ElementInfo kHumanLeaderInfo {"HumanLeader", 0, 0.7f, 1.0f, {72, 73, 74}, StartRow::None, "sfx_element_human", 0};
inline constexpr ElementInfo kHumanPartInfo   {"HumanPart",   0, 0.7f, 0.8f, {72, 73, 74}, StartRow::None, "sfx_element_water", 0, kEditable};
// clang-format on

class HumanLeader;

class HumanPart : public CellKind<kHumanPartInfo, MPBodyCell> {
public:
    void update() override;
    void onTouch() override;
    // The job of this cell's human, or "loading" while it has no group.
    std::string getJob() const;
    // Whether this cell's human has the job, without making its text; a cell
    // not yet bound to its human has none.
    bool hasJob(std::string_view wanted) const;
    void burnCheck(int threshold, int chance);

    HumanLeader* leaderHuman() const;
};

// One look-ahead area ahead of a human.
struct LookAhead {
    int32_t facing = 1;
    int32_t x = 0;
    int32_t y = 0;
    int32_t widthPx = 0;
    int32_t heightPx = 0;
    int32_t widthCells = 0;
    int32_t heightCells = 0;
};

class HumanLeader : public CellKind<kHumanLeaderInfo, MPLeaderBase>, public BehaviourOwner {
public:
    static constexpr int kBodyHeight = 6;
    static constexpr int kBodyWidth = 2;
    static constexpr int kBodyCells = 12;
    static constexpr float kBurnThreshold = 450.0f;
    static constexpr float kSpacemanBurnThreshold = 1500.0f;

    HumanLeader();
    ~HumanLeader() override;
    bool isLiving() const override { return true; }
    int32_t getSaveSize() const override { return 12; }
    void setPosition(int x, int y) override;
    void saveExtra(ByteWriter& out) override;
    void loadExtra(ByteReader& in) override;
    void update() override;
    void onTouch() override;
    void buildBody() override;
    void onBodyBuilt() override;
    // Its body is built, unbroken and all there (a look; bodyWhole() below
    // also marks a short body broken).
    bool hasWholeBody() const;

    int getFacing() const { return facing_; }
    void setFacing(int f);
    void resetActions();
    void openEditor();
    void showBalloon(const char* kind, const char* text);
    void burnCheck(int threshold, int chance);
    void setJob(const std::string& job);
    void becomeZombie();
    void paintSkin();
    virtual std::string skinName() const;
    // djb2 of skinName(), made without the text.
    virtual uint32_t skinKey() const;
    static uint32_t schemeKey(std::string_view kind, std::string_view first, std::string_view second);

    // BehaviourOwner.
    Particle* ownerCell() override { return this; }
    MPObject* ownerGroup() const override { return group; }
    int facing() const override { return facing_; }
    void turnAround() override { setFacing(-facing_); }
    void swapWalkFrame(bool armsOnly) override;
    PathSearch* pathSearch() override { return search.get(); }
    ParticleAction* actionOf(uint32_t typeId) override;
    void setAction(uint32_t typeId) override;

    // The colony's resources, one store for the whole program.
    // One unit more; in the human campaign the day's resource goal first.
    static void gatherResource(const std::string& name);
    // Adds an amount (negative takes away); a missing name starts at 0.
    static void addResource(const std::string& name, int32_t amount);
    // Takes one unit: false when there is none. An entry at 0 stays.
    static bool useResource(const std::string& name);
    // The count of a resource, 0 when missing.
    static int32_t getResource(const std::string& name);
    static bool hasResourceEntry(const std::string& name);
    // A new, empty store (a new or loaded world).
    static void replaceResources();

    float burnThreshold = kBurnThreshold;
    cocos2d::CCSprite* balloon = nullptr;
    double age = 0.0;
    LookAhead lookAheadFar;
    LookAhead lookAheadNear;
    int32_t facing_ = 1;
    std::map<uint32_t, std::unique_ptr<ParticleAction>> actions;
    ParticleAction* currentAction = nullptr;
    uint32_t currentActionType = 0;
    std::string job;
    int32_t jobIndex = 0;
    std::string gender = "male";
    std::unique_ptr<PathSearch> search;
    int32_t climbSteps = 0;
    bool climbRight = false;
    int32_t sideSteps = 0;
    int32_t dustRow = 9;
    bool overLimit = false;
    bool registered = false;
    double lastClock = 0.0;
    int32_t moveTick = 0;
    int32_t actionTick = 0;
    int32_t hunger = 0;
    int32_t balloonTick = 0;
    int32_t walkTicks = 0;
    int32_t fallTick = 0;
    int32_t scanWidth = 4;
    int32_t scanColumn = 0;
    int32_t scanHeight = 6;
    int32_t gasCount = 0;
    int32_t gasLimit = 40;
    uint32_t jobSearchType = 0;
    bool leaving = false;      // set by the destructor: leaving a behaviour has no side effect
    const bool robot = false;  // a robot's leader: never counted as a human built or destroyed

protected:
    // The robot's constructor: the human table and search are not built.
    struct RobotBody { };
    explicit HumanLeader(RobotBody);
    void sink();
    void refreshLookAhead();
    // Takes a dust beside the body (the probe row is dustRow); false when
    // none was taken.
    bool takeDust(uint32_t dustType, uint32_t action);
    // Builds the eleven body cells above the leader as partType cells and
    // paints the skin; stops at the first cell that cannot be placed.
    void buildHumanBody(uint32_t partType);
    // False when there is no group or the body is not whole (the group then
    // breaks).
    bool bodyWhole();
    // Leaves the current behaviour for typeId's; false (none current) when
    // the table has no such behaviour.
    bool switchAction(uint32_t typeId);
    // Searches again from the leader: the goal when reached, else the path's
    // next node; null without a path.
    const PathNode* nextPathNode();

private:
    void clearPlantsAround(bool woodchopper);
    void movementStep();
    void eat();
    void dustCheck();
    void xenovineCheck();
    void surroundingsCheck();
    void acidCheck();
    void swapCells(int ax, int ay, int bx, int by);
};

// The job of a human cell ("loading" while a body cell has no group); empty
// for any other cell.
std::string jobOfHumanCell(const Particle* cell);

// One registration call for the family (the factory refuses human cells
// while more than six humans are listed).
void registerHumans();
