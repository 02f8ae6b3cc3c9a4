#include "hud/HumanEditor.h"

#include <string>

#include "base/LocalUtils.h"
#include "elements/creatures/HumanLeader.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "scene/GameLayer.h"

USING_NS_CC;

namespace {
HumanEditor* gOpen = nullptr;

const char* const kIcons[HumanEditor::kResources] = {"overlay_icon_gatheredFood.png", "overlay_icon_gatheredStone.png",
                                                     "overlay_icon_gatheredWood.png"};
constexpr float kWidth = 120.0f;
constexpr float kHeight = 80.0f;
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
    editor->initWithHuman(human);
    editor->autorelease();
    editor->retain();
    gOpen = editor;
    if (GameLayer* layer = GameLayer::existingInstance())
        layer->addChild(editor, 100);
    return editor;
}

bool HumanEditor::initWithHuman(Particle* human)
{
    GUIWindow::initWithSize(CCSize(kWidth, kHeight));
    particle = human;
    m_state = Open;
    setVisible(true);
    setPosition(CCPointZero);
    m_buttonContainer = CCNode::create();
    addChild(m_buttonContainer);
    GUILabel* title = GUILabel::create();
    title->setText(LocalUtils::localize("EditorHumanTitle"));
    title->setPosition(ccp(kWidth / 2, kHeight - 10));
    m_buttonContainer->addChild(title);
    for (int i = 0; i < kResources; ++i) {
        const float y = kHeight - 30 - 15 * static_cast<float>(i);
        if (CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName(kIcons[i])) {
            CCSprite* icon = CCSprite::createWithSpriteFrameName(kIcons[i]);
            icon->setPosition(ccp(20, y));
            m_buttonContainer->addChild(icon);
        }
        m_labels[i] = GUILabel::create();
        m_labels[i]->setPosition(ccp(50, y));
        m_buttonContainer->addChild(m_labels[i]);
    }
    auto* closeButton = new GUIButton();
    closeButton->initWithLabel(CCCallFunc::create(this, callfunc_selector(HumanEditor::onClosePressed)));
    closeButton->autorelease();
    closeButton->setText(CCString::create("X"));
    closeButton->setPosition(ccp(kWidth - 10, kHeight - 10));
    m_buttonContainer->addChild(closeButton);
    m_closeButton = closeButton;
    updateResourceIcons();
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
    if (gOpen && gOpen->particle == human)
        gOpen->particle = nullptr;
    updateResourceIcons();
}

void HumanEditor::closeOpen()
{
    HumanEditor* editor = gOpen;
    if (!editor)
        return;
    gOpen = nullptr;
    editor->particle = nullptr;
    editor->removeFromParentAndCleanup(true);
    editor->release();
}

void HumanEditor::cleanup()
{
    if (m_closeButton)
        m_closeButton->setCallback(nullptr);
    ParticleEditor::cleanup();
}

void HumanEditor::onClosePressed()
{
    closeOpen();
}
