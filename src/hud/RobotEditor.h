#pragma once
// The robot editor: opened by a long press on a guardian in free play. It
// offers the patrol lengths 5, 10, 20 and 40 with the robot's current one
// selected; a choice is applied to the robot at once. It closes with its
// button or the back key, when the robot turns hunter, or with the robot.
#include "cocos2d.h"
#include "hud/ParticleEditor.h"

class GUIButton;
class RobotLeader;

class RobotEditor : public ParticleEditor {
public:
    static constexpr int kChoices = 4;
    static constexpr int kPatrolLengths[kChoices] = {5, 10, 20, 40};

    // Opens a window for the robot over the game and returns it; null when
    // the particle is no robot or already has an editor.
    static RobotEditor* open(Particle* robot);
    // Closes a window (its robot no longer has an editor).
    static void closeWindow(ParticleEditor* editor);

    // Applies choice i (0..3) to the robot.
    void choose(int i);
    // The index of the selected choice, -1 when none.
    int markedChoice() const { return m_marked; }
    GUIButton* choiceButton(int i) const { return i >= 0 && i < kChoices ? m_buttons[i] : nullptr; }

private:
    bool initWithRobot(RobotLeader* robot);
    void onChoice(cocos2d::CCObject* index);
    void mark(int i);

    GUIButton* m_buttons[kChoices] = {};
    int m_marked = -1;
};
