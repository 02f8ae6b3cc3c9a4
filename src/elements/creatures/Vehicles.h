#pragma once
// Vehicles: multi-pixel objects whose body comes from a picture. The leader
// cell reads its picture, turns every opaque point into one body cell and
// from then on the whole body falls, drives and turns around as one. The
// plain car (beetle) is the base of every vehicle; the lander, the tank and
// the truck have files of their own.
//
// A vehicle over its class limit, or whose picture cannot be read, is
// refused: it builds nothing and removes itself in its first step (a loaded
// one takes its registered body cells along).
#include <cstdint>

#include "elements/creatures/MPBase.h"

struct CreaturePicture;

// clang-format off
//                                     type name      dens blast factor rows  start           sound                 absorb flags
inline constexpr ElementInfo kCarInfo      {"MPLeaderCar", 0, 0.8f, 0.8f, {97}, StartRow::None, "sfx_element_fire",   255, kEditable};
inline constexpr ElementInfo kBodyCarInfo  {"MPBodyCar",   0, 0.8f, 0.8f, {96}, StartRow::None, "sfx_element_fire",   255, kEditable};
inline constexpr ElementInfo kSportCarInfo {"MPSportCar",  0, 0.8f, 0.8f, {97}, StartRow::None, "sfx_element_fire",   255, kEditable};
// clang-format on

// Which panel a vehicle's touch opens.
enum class VehiclePanel : uint8_t { Car, Tank, Truck, Lander };

// A cell of any vehicle body; a touch goes to the vehicle's leader.
class MPBodyCar : public CellKind<kBodyCarInfo, MPBodyBase> {
public:
    void onTouch() override;
};

// Shared by every vehicle leader: the picture, the body built from it, the
// fall, the drive and the mirror turn.
class VehicleLeader : public MPLeaderBase {
public:
    static constexpr int32_t kSaveSize = 16;

    ~VehicleLeader() override;
    // Placed one at a time, as every creature leader is: a brush of leaders
    // would each count towards the limits before any body is built, and all
    // would be refused.
    bool isLiving() const override { return true; }
    int32_t getSaveSize() const override { return kSaveSize; }
    void saveExtra(ByteWriter& out) override;
    void loadExtra(ByteReader& in) override;
    void update() override;
    void onTouch() override;
    void buildBody() override;

    // Chooses and reads the picture, or refuses the vehicle.
    virtual void loadBodyImage() = 0;
    // Mirrors the whole vehicle within its picture box; false when refused.
    virtual bool turnAround();
    virtual void moveRight();
    virtual void moveLeft();
    virtual VehiclePanel panelKind() const { return VehiclePanel::Car; }

    // The car's step: fall, then (auto-drive) drive or turn.
    void carUpdate();
    bool hasBody() const { return group && !group->broken; }
    // Picture box in world cells (valid with a picture).
    int boxLeft() const { return x - originX; }
    int boxRight() const;
    int boxBottom() const { return y - originY; }

    const CreaturePicture* bodyImage = nullptr;
    int32_t originX = 0;
    int32_t originY = 0;
    bool autoDrive = true;
    bool facingRight = true;
    bool refused = false;

protected:
    VehicleLeader();
    // Reads the picture at `path`; refuses the vehicle when it cannot be read.
    void loadPicture(const char* path);
    // The vehicle stays out: nothing is built and it removes itself.
    void refuse();
    // A refused vehicle queues its removal (once); true when refused.
    bool leaveIfRefused();
    bool removalQueued = false;
};

class MPLeaderCar : public CellKind<kCarInfo, VehicleLeader> {
public:
    static constexpr int32_t kLimit = 3;  // vehicles of any kind
    void loadBodyImage() override;
};

class MPSportCar : public CellKind<kSportCarInfo, VehicleLeader> {
public:
    static constexpr int32_t kLimit = 4;
    MPSportCar();
    ~MPSportCar() override;
    void loadBodyImage() override;
};

// Re-sorts an object's column and row lists after its cells moved among
// themselves (a mirror turn, a tipped bed).
void resortGroup(MPObject& group);

// True when all four bytes are equal.
bool colorsEqual(cocos2d::ccColor4B a, cocos2d::ccColor4B b);

// One registration call for every vehicle class and the shell.
void registerVehicles();
