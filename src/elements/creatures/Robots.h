#pragma once
// The robot: a human-shaped machine (2 x 6 cells) built on the human classes
// but run by its own table of behaviours, a role ("guardian" or "hunter")
// and a weapon ("laser" or "missile") instead of jobs, needs and resources.
// Role dusts and gems change them; electrified metal stuns a robot; lava and
// beams of one colour destroy it. At most five robots have bodies.
#include <cstdint>
#include <string>

#include "elements/creatures/HumanLeader.h"

// clang-format off
//                                        type name      dens blast factor rows          start           sound                absorb flags
inline constexpr ElementInfo kRobotLeaderInfo {"RobotLeader", 0, 0.0f, 1.0f, {72, 73, 74}, StartRow::None, "sfx_element_robot", 0};
inline constexpr ElementInfo kRobotPartInfo   {"RobotPart",   0, 0.0f, 0.8f, {72, 73, 74}, StartRow::None, "sfx_element_water", 0, kEditable};
// clang-format on

class RobotLeader;

class RobotPart : public KindGetters<kRobotPartInfo, HumanPart> {
public:
    void update() override;
    void onTouch() override;
    RobotLeader* robot() const;
};

class RobotLeader : public KindGetters<kRobotLeaderInfo, HumanLeader> {
public:
    static constexpr int kLimit = 5;
    static constexpr int kBeamRow = 107;    // beams of this colour destroy robots
    static constexpr int kShotRow = 113;    // the robot laser's colour
    static constexpr int kFireBound = 119;  // the line of fire's last column in the small world

    RobotLeader();
    ~RobotLeader() override;
    int32_t getSaveSize() const override { return 16; }
    void saveExtra(ByteWriter& out) override;
    void loadExtra(ByteReader& in) override;
    void update() override;
    void onTouch() override;
    void applyEditor() override;
    void buildBody() override;
    void onBodyBuilt() override;
    void setAction(uint32_t typeId) override;
    std::string skinName() const override;
    uint32_t skinKey() const override;

    void setWeapon(const char* w);
    void setRole(const char* r);
    // Opens the robot editor for a guardian in free play.
    void openRobotEditor();
    // A cell next to (cx, cy) that destroys a robot: lava or a beam of row 107.
    static bool deadlyAround(int cx, int cy);
    // Electrified metal next to (cx, cy).
    static bool stunnedAround(int cx, int cy);

    int32_t patrolSteps = 0;
    int32_t patrolLength = 10;
    int32_t sightRange = 10;
    bool editorFlag = true;  // settings of the robot editor
    int32_t editorValue = 0;
    int32_t editorRange = 3;
    int32_t editorChoice = 10;  // the patrol length chosen in the editor
    std::string weapon;
    int32_t weaponIndex = 0;
    std::string role;
    int32_t roleIndex = 2;
    int32_t previousRoleIndex = 2;
    int32_t editorCounter = 0;
    bool counted = false;  // this robot is in the robot count

private:
    void robotMovementStep();
};

// Sends a fired shell (a TankBullet) along `direction`.
void fireShell(Particle* shell, int direction);

// One registration call for the family (the factory makes no robot while
// five have bodies).
void registerRobots();
