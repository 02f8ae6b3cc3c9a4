#include "hud/RobotEditor.h"

#include <string>

#include "base/LocalUtils.h"
#include "elements/creatures/Robots.h"
#include "gui/GUIButton.h"
#include "world/World.h"

USING_NS_CC;

namespace {
const char* const kPanel = "gamemenus_editorCreature.png";
const char* const kChoiceButton = "gamemenus_editorWideButton.png";
}  // namespace

RobotEditor* RobotEditor::open(Particle* robot)
{
    auto* r = dynamic_cast<RobotLeader*>(robot);
    if (!r || r->editor)
        return nullptr;
    auto* editor = new RobotEditor();
    editor->autorelease();
    if (!editor->initWithRobot(r) || !present(editor, r))
        return nullptr;
    return editor;
}

bool RobotEditor::initWithRobot(RobotLeader* robot)
{
    if (!initEditor(kPanel))
        return false;
    const CCSize size = m_panel->getContentSize();
    addLabel(LocalUtils::localize("EditorRobotTitle"), ccp(size.width / 2, size.height - 8), 8);
    const float step = size.width / kChoices;
    for (int i = 0; i < kChoices; ++i) {
        m_buttons[i] = addChoiceButton(kChoiceButton, CCString::create(std::to_string(kPatrolLengths[i])),
                                       ccp(step * (static_cast<float>(i) + 0.5f), size.height / 2 - 4),
                                       callfuncO_selector(RobotEditor::onChoice), i);
    }
    int current = -1;
    for (int i = 0; i < kChoices; ++i)
        if (robot->patrolLength == kPatrolLengths[i])
            current = i;
    mark(current);
    return true;
}

void RobotEditor::mark(int i)
{
    for (int k = 0; k < kChoices; ++k)
        if (m_buttons[k])
            m_buttons[k]->setSelected(k == i);
    m_marked = i;
}

void RobotEditor::choose(int i)
{
    if (i < 0 || i >= kChoices)
        return;
    mark(i);
    // The robot may have gone while the press was pending.
    if (auto* robot = dynamic_cast<RobotLeader*>(particle)) {
        robot->editorChoice = kPatrolLengths[i];
        robot->applyEditor();
        markWorldChanged();
    }
}

void RobotEditor::onChoice(CCObject* index)
{
    if (auto* i = dynamic_cast<CCInteger*>(index))
        choose(i->getValue());
}

void RobotEditor::closeWindow(ParticleEditor* editor)
{
    if (auto* window = dynamic_cast<RobotEditor*>(editor))
        window->close();
}
