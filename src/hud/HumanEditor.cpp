#include "hud/HumanEditor.h"

#include <string>

#include "base/LocalUtils.h"
#include "elements/creatures/HumanLeader.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"

USING_NS_CC;

namespace {
// Not owned: the scene holds the window, which forgets itself when it goes.
HumanEditor* gOpen = nullptr;

const char* const kPanel = "gamemenus_editorCreature.png";
const char* const kIcons[HumanEditor::kResources] = {"gamemenus_editorFood.png", "gamemenus_editorStone.png",
                                                     "gamemenus_editorWood.png"};
}  // namespace

const char* const HumanEditor::kResourceNames[HumanEditor::kResources] = {"Food", "Stone", "Wood"};

HumanEditor* HumanEditor::openEditor()
{
    return gOpen;
}

HumanEditor* HumanEditor::open(Particle* human)
{
    if (gOpen)
        return gOpen;
    auto* editor = new HumanEditor();
    editor->autorelease();
    if (!editor->initWithHuman(human) || !present(editor, human))
        return nullptr;
    gOpen = editor;
    updateResourceIcons();
    return editor;
}

HumanEditor::~HumanEditor()
{
    forget();
}

bool HumanEditor::initWithHuman(Particle* human)
{
    if (!human || !initEditor(kPanel))
        return false;
    const CCSize size = m_panel->getContentSize();
    addLabel(LocalUtils::localize("EditorHumanTitle"), ccp(size.width / 2, size.height - 8), 8);
    const float step = size.width / kResources;
    for (int i = 0; i < kResources; ++i) {
        const float centre = step * (static_cast<float>(i) + 0.5f);
        if (CCSprite* icon = CCSprite::createWithSpriteFrameName(kIcons[i])) {
            // The overlay's 7-pixel icons, twice their size to read on the panel.
            icon->setScale(2);
            icon->setPosition(ccp(centre - 8, size.height / 2 - 6));
            m_panel->addChild(icon);
        }
        m_labels[i] = addLabel(CCString::create("0"), ccp(centre + 6, size.height / 2 - 6), 8);
    }
    return true;
}

void HumanEditor::updateResourceIcons()
{
    if (!gOpen)
        return;
    for (int i = 0; i < kResources; ++i) {
        gOpen->m_counts[i] = HumanLeader::getResource(kResourceNames[i]);
        if (gOpen->m_labels[i])
            gOpen->m_labels[i]->setText(CCString::create(std::to_string(gOpen->m_counts[i])));
    }
}

void HumanEditor::humanLeaving(Particle* human)
{
    if (gOpen && human && gOpen->particle == human) {
        // The window outlives its human: neither may reach the other.
        if (human->editor == gOpen)
            human->editor = nullptr;
        gOpen->particle = nullptr;
    }
    updateResourceIcons();
}

void HumanEditor::closeOpen()
{
    HumanEditor* editor = gOpen;
    if (!editor)
        return;
    editor->forget();
    if (editor->particle && editor->particle->editor == editor)
        editor->particle->editor = nullptr;
    // At once: the colony is gone, nothing is left to show.
    editor->particleDestroyed();
}

void HumanEditor::close()
{
    forget();
    ParticleEditor::close();
}

void HumanEditor::particleDestroyed()
{
    forget();
    ParticleEditor::particleDestroyed();
}

void HumanEditor::handOverClosedWindow()
{
    // Closed as any window (another window took the screen).
    forget();
    ParticleEditor::handOverClosedWindow();
}

void HumanEditor::forget()
{
    if (gOpen == this)
        gOpen = nullptr;
}
