#include "hud/RobotEditor.h"

#include <string>

#include "base/LocalUtils.h"
#include "elements/creatures/Robots.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "scene/GameLayer.h"

USING_NS_CC;

namespace {
constexpr float kWidth = 120.0f;
constexpr float kHeight = 60.0f;
}  // namespace

RobotEditor* RobotEditor::open(Particle* robot)
{
    auto* r = dynamic_cast<RobotLeader*>(robot);
    if (!r)
        return nullptr;
    auto* editor = new RobotEditor();
    editor->initWithRobot(r);
    editor->autorelease();
    if (GameLayer* layer = GameLayer::existingInstance())
        layer->addChild(editor, 100);
    return editor;
}

bool RobotEditor::initWithRobot(RobotLeader* robot)
{
    GUIWindow::initWithSize(CCSize(kWidth, kHeight));
    particle = robot;
    m_state = Open;
    setVisible(true);
    setPosition(CCPointZero);
    m_buttonContainer = CCNode::create();
    addChild(m_buttonContainer);
    GUILabel* title = GUILabel::create();
    title->setText(LocalUtils::localize("EditorRobotTitle"));
    title->setPosition(ccp(kWidth / 2, kHeight - 10));
    m_buttonContainer->addChild(title);
    for (int i = 0; i < kChoices; ++i) {
        auto* button = new GUIButton();
        button->initWithLabel(
            CCCallFuncO::create(this, callfuncO_selector(RobotEditor::onChoice), CCInteger::create(i)));
        button->autorelease();
        button->setText(CCString::create(std::to_string(kPatrolLengths[i])));
        button->setPosition(ccp(15 + 30 * static_cast<float>(i), kHeight / 2));
        m_buttonContainer->addChild(button);
        m_buttons[i] = button;
        if (robot->patrolLength == kPatrolLengths[i])
            mark(i);
    }
    auto* closeButton = new GUIButton();
    closeButton->initWithLabel(CCCallFunc::create(this, callfunc_selector(RobotEditor::onClosePressed)));
    closeButton->autorelease();
    closeButton->setText(CCString::create("X"));
    closeButton->setPosition(ccp(kWidth - 10, kHeight - 10));
    m_buttonContainer->addChild(closeButton);
    m_closeButton = closeButton;
    return true;
}

void RobotEditor::mark(int i)
{
    for (int k = 0; k < kChoices; ++k)
        if (m_buttons[k])
            m_buttons[k]->setOpacity(k == i ? 255 : 128);
    m_marked = i;
}

void RobotEditor::choose(int i)
{
    if (i < 0 || i >= kChoices)
        return;
    mark(i);
    if (auto* robot = dynamic_cast<RobotLeader*>(particle)) {
        robot->editorChoice = kPatrolLengths[i];
        robot->applyEditor();
    }
}

void RobotEditor::onChoice(CCObject* index)
{
    if (auto* i = dynamic_cast<CCInteger*>(index))
        choose(i->getValue());
}

void RobotEditor::closeWindow(ParticleEditor* editor)
{
    auto* window = dynamic_cast<RobotEditor*>(editor);
    if (!window)
        return;
    if (auto* robot = dynamic_cast<RobotLeader*>(window->particle))
        robot->editor = nullptr;
    window->particle = nullptr;
    window->removeFromParentAndCleanup(true);
}

void RobotEditor::cleanup()
{
    for (GUIButton* button : m_buttons)
        if (button)
            button->setCallback(nullptr);
    if (m_closeButton)
        m_closeButton->setCallback(nullptr);
    ParticleEditor::cleanup();
}

void RobotEditor::onClosePressed()
{
    closeWindow(this);
}
