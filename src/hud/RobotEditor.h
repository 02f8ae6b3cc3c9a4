#pragma once
// The robot editor: opened by a long press on a guardian in free play. It
// offers the patrol lengths 5, 10, 20 and 40 with the robot's current one
// marked; a choice is applied to the robot at once.
#include "cocos2d.h"
#include "hud/ParticleEditor.h"

class GUIButton;
class RobotLeader;

class RobotEditor : public ParticleEditor {
public:
    static constexpr int kChoices = 4;
    static constexpr int kPatrolLengths[kChoices] = {5, 10, 20, 40};

    // Opens a window for the robot, adds it to the game layer and returns it.
    static RobotEditor* open(Particle* robot);
    // Closes a window (its robot no longer has an editor).
    static void closeWindow(ParticleEditor* editor);

    bool initWithRobot(RobotLeader* robot);
    // Applies choice i (0..3) to the robot.
    void choose(int i);
    // The index of the marked choice, -1 when none.
    int markedChoice() const { return m_marked; }

    // Leaving the tree drops the buttons' call-backs, which hold the window.
    void cleanup() override;

private:
    void onChoice(cocos2d::CCObject* index);
    void onClosePressed();
    void mark(int i);

    GUIButton* m_buttons[kChoices] = {};
    GUIButton* m_closeButton = nullptr;
    int m_marked = -1;
};
