// The human and robot editors: one human editor for the program whose counts
// follow the colony and which goes with the last human; the robot editor for
// guardians in free play only, its choice setting the patrol length, closed
// with the robot. Both stand over the game as its current window, as every
// element editor does.
#include "support/GameSceneFixture.h"
#include "elements/creatures/HumanLeader.h"
#include "elements/creatures/HumanRegistry.h"
#include "elements/creatures/Robots.h"
#include "hud/HumanEditor.h"
#include "gui/GUIButton.h"
#include "hud/RobotEditor.h"

USING_NS_CC;

namespace gametest {
namespace {

class CreatureEditors : public GameScene {
protected:
    void SetUp() override
    {
        GameScene::SetUp();
        enterScene();
        // The windows are autoreleased: each test ends with a frame.
        for (int x = 1; x < 239; ++x)
            for (int y = 1; y < 10; ++y)
                world->addParticle(x, y, hashString("Stone"), false);
    }
    template <class T> T* creature(uint32_t type, int x)
    {
        auto* c = static_cast<T*>(world->addParticle(x, 10, type, false));
        c->update();
        return c;
    }
    static GUIWindow* current() { return ScreenUtils::getInstance()->getCurrentWindow(); }
    // Presses and releases the button where it is drawn, once the window is open.
    void tapOnScreen(GUIWindow* window, GUIButton* button)
    {
        stepFrames(20);
        ASSERT_EQ(window->getState(), GUIWindow::Open);
        const CCPoint centre = button->getParent()->convertToWorldSpace(button->getPosition());
        press(centre.x, centre.y);
        release(centre.x, centre.y);
        stepFrames(20);
    }
};

TEST_F(CreatureEditors, OneHumanEditorFollowsTheColonyAndGoesWithTheLastHuman)
{
    auto* first = creature<HumanLeader>(HumanLeader::kTypeId, 50);
    auto* second = creature<HumanLeader>(HumanLeader::kTypeId, 80);
    ASSERT_EQ(HumanRegistry::getInstance()->count(), 2);
    first->onTouch();
    HumanEditor* editor = HumanEditor::openEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_NE(editor->getParent(), nullptr) << "added over the game";
    EXPECT_EQ(current(), editor);
    EXPECT_EQ(first->editor, editor);
    EXPECT_NE(editor->getPanel(), nullptr);
    second->onTouch();
    EXPECT_EQ(HumanEditor::openEditor(), editor) << "a second open does nothing";
    EXPECT_EQ(editor->particle, first);

    for (int unit = 1; unit <= 3; ++unit) {
        HumanLeader::gatherResource("Wood");
        worldHost().refreshHumanEditor();
        EXPECT_EQ(editor->shownCount(2), unit);
    }
    HumanLeader::addResource("Food", 2);
    HumanEditor::updateResourceIcons();
    EXPECT_EQ(editor->shownCount(0), 2);

    world->removeParticle(50, 10);
    EXPECT_EQ(HumanEditor::openEditor(), editor) << "kept while a human lives";
    EXPECT_EQ(editor->particle, nullptr) << "the dead human left it";
    world->removeParticle(80, 10);
    EXPECT_EQ(HumanEditor::openEditor(), nullptr) << "gone with the last human";
    stepFrames(1);
}

TEST_F(CreatureEditors, TheHumanEditorClosesWithItsButtonAndLeavesNoLinkWhenTheColonyIsCleared)
{
    auto* human = creature<HumanLeader>(HumanLeader::kTypeId, 50);
    human->onTouch();
    HumanEditor* editor = HumanEditor::openEditor();
    ASSERT_NE(editor, nullptr);
    const Particle* sand = world->addParticle(120, 100, hashString("Sand"), false);
    ASSERT_NE(sand, nullptr);
    stepFrames(20);
    EXPECT_EQ(world->at(120, 100), sand) << "the world stands still under the window";
    tapOnScreen(editor, editor->getCloseButton());
    EXPECT_EQ(HumanEditor::openEditor(), nullptr);
    EXPECT_EQ(human->editor, nullptr);
    EXPECT_EQ(current(), nullptr);
    stepFrames(10);
    EXPECT_NE(world->at(120, 100), sand) << "and steps again once it closed";

    human->onTouch();
    ASSERT_NE(HumanEditor::openEditor(), nullptr) << "opens again once closed";
    // A cleared registry (a new world) takes the window with it and unlinks
    // the human, whose death must not reach the window afterwards.
    HumanRegistry::getInstance()->clear();
    EXPECT_EQ(HumanEditor::openEditor(), nullptr);
    EXPECT_EQ(human->editor, nullptr);
    EXPECT_EQ(current(), nullptr);
    world->removeParticle(50, 10);
    stepFrames(1);
}

TEST_F(CreatureEditors, TheRobotEditorOpensForGuardiansInFreePlayAndSetsThePatrol)
{
    auto* robot = creature<RobotLeader>(RobotLeader::kTypeId, 50);
    testsupport::testHost().freePlay = false;
    robot->onTouch();
    EXPECT_EQ(robot->editor, nullptr) << "not outside free play";

    testsupport::testHost().freePlay = true;
    robot->onTouch();
    auto* editor = dynamic_cast<RobotEditor*>(robot->editor);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(current(), editor);
    EXPECT_EQ(editor->markedChoice(), 1) << "10 steps to start with";
    EXPECT_TRUE(editor->choiceButton(1)->isSelected());
    world->unsavedChanges = false;
    editor->choose(3);
    EXPECT_EQ(robot->patrolLength, 40);
    EXPECT_TRUE(world->unsavedChanges);
    EXPECT_EQ(editor->markedChoice(), 3);
    tapOnScreen(editor, editor->choiceButton(0));
    EXPECT_EQ(robot->patrolLength, 5) << "a press on the drawn button";
    EXPECT_TRUE(editor->choiceButton(0)->isSelected());
    EXPECT_FALSE(editor->choiceButton(3)->isSelected());
    RobotEditor::closeWindow(editor);
    EXPECT_EQ(robot->editor, nullptr) << "closing clears the robot's editor";
    stepFrames(20);
    EXPECT_EQ(current(), nullptr);

    robot->onTouch();
    ASSERT_NE(robot->editor, nullptr);
    auto* open = static_cast<RobotEditor*>(robot->editor);
    open->retain();
    world->removeParticle(50, 10);
    EXPECT_EQ(open->getParent(), nullptr) << "the robot's death closes it";
    EXPECT_EQ(open->particle, nullptr);
    open->release();

    auto* hunter = creature<RobotLeader>(RobotLeader::kTypeId, 100);
    hunter->setAction(ActionType::RobotSearchHuman);
    hunter->onTouch();
    EXPECT_EQ(hunter->editor, nullptr) << "a hunter has no editor";
    testsupport::testHost().freePlay = false;
    stepFrames(1);
}

}  // namespace
}  // namespace gametest
