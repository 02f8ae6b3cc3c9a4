#include "hud/ParticleEditor.h"

#include "base/ScreenMetrics.h"
#include "gui/ScreenUtils.h"
#include "gui/WeakCallRelay.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "scene/GameLayer.h"
#include "world/Particle.h"

USING_NS_CC;

namespace {

constexpr int kEditorZOrder = 150;
const char* const kSheetTexture = "pvr/gamemenus.png";
const char* const kSheetFrames = "pvr/gamemenus.plist";
const char* const kButtonFont = "gamemenus_ach_fontButtons";

}  // namespace

ParticleEditor::~ParticleEditor()
{
    // Only a living particle still points here: a dying one has cleared
    // `particle` through particleDestroyed first.
    if (particle && particle->editor == this)
        particle->editor = nullptr;
    particle = nullptr;
}

bool ParticleEditor::present(ParticleEditor* editor, Particle* particle)
{
    if (!editor)
        return false;
    if (!particle || particle->editor) {
        // The caller's reference is an autoreleased one: dropping it frees.
        return false;
    }
    GameLayer* layer = GameLayer::getInstance();
    editor->particle = particle;
    particle->editor = editor;
    editor->setRemoveOnClose(true);
    // Above the layer in its scene, so the camera's zoom and pan leave the
    // window alone; a layer outside any scene takes it itself.
    CCNode* host = layer->getParent() ? layer->getParent() : static_cast<CCNode*>(layer);
    host->addChild(editor, kEditorZOrder);
    ScreenUtils::getInstance()->setCurrentWindow(editor);
    editor->setVisible(true);
    editor->open();
    return true;
}

bool ParticleEditor::initEditor(const char* panelFrame)
{
    bool done = initWithSize(screenSize);
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(kSheetFrames);
    m_batchNode = CCSpriteBatchNode::create(kSheetTexture, 200);
    if (!m_batchNode)
        return false;
    if (m_batchNode->getTexture())
        m_batchNode->getTexture()->setAliasTexParameters();
    m_batchNode->setPosition(ccp(screenSize.width / 2, screenSize.height / 2));
    addChild(m_batchNode, 1);
    m_panel = CCSprite::createWithSpriteFrameName(panelFrame);
    if (!m_panel)
        return false;
    m_panel->setScale(sheetScale());
    m_batchNode->addChild(m_panel);
    m_buttonContainer = m_panel;
    setTouchArea(m_panel);
    const CCSize size = m_panel->getContentSize();
    m_closeButton =
        addChoiceButton("gamemenus_editorButton.png", CCString::create("X"), ccp(size.width - 9, size.height - 8),
                        callfuncO_selector(ParticleEditor::onClosePressed), 0);
    return done;
}

GUIButton* ParticleEditor::addChoiceButton(const char* frame, CCString* caption, CCPoint position,
                                           SEL_CallFuncO selector, int value)
{
    if (!m_panel)
        return nullptr;
    GUIButton* button =
        GUIButton::create(CCCallFuncO::create(WeakCallRelay::create(this, selector),
                                              callfuncO_selector(WeakCallRelay::fire), CCInteger::create(value)),
                          frame, nullptr);
    if (!button)
        return nullptr;
    button->setPosition(position);
    button->setActivateDelayed(true);
    if (caption) {
        GUILabel::setFontName(kButtonFont);
        const CCSize size = button->getContentSize();
        button->setText(caption, 7, ccp(size.width / 2, size.height / 2), ccp(0.5f, 0.5f), ccc3(255, 255, 255));
        // A longer word ("Apagado", "sol#") shrinks to the button, clear of
        // its outline.
        button->fitCaption(2);
    }
    m_panel->addChild(button);
    return button;
}

GUILabel* ParticleEditor::addLabel(CCString* text, CCPoint position, float size)
{
    if (!m_panel)
        return nullptr;
    GUILabel::setFontName(kButtonFont);
    GUILabel* label = GUILabel::create();
    label->setScale(size / GUILabel::fontSize);
    label->setText(text);
    label->setAnchorPoint(ccp(0.5f, 0.5f));
    label->setPosition(position);
    m_panel->addChild(label);
    return label;
}

int ParticleEditor::valueOf(CCObject* boxed)
{
    auto* value = dynamic_cast<CCInteger*>(boxed);
    return value ? value->getValue() : 0;
}

void ParticleEditor::close()
{
    if (particle && particle->editor == this)
        particle->editor = nullptr;
    particle = nullptr;
    if (getState() == Open) {
        GUIWindow::close();
        return;
    }
    // Not open yet (still sliding in) or never shown: take it out now.
    particleDestroyed();
}

void ParticleEditor::particleDestroyed()
{
    particle = nullptr;
    stopAllActions();
    BackButtonAdapter::getInstance()->removeListener(this);
    ScreenUtils* screens = ScreenUtils::getInstance();
    if (screens->getCurrentWindow() == this)
        screens->setCurrentWindow(nullptr);
    // Removal may free the window: nothing after it.
    if (getParent())
        removeFromParentAndCleanup(true);
}
