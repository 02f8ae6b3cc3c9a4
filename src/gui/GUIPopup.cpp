#include "gui/GUIPopup.h"

#include <cmath>

#include "SimpleAudioEngine.h"
#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "base/ScreenMetrics.h"
#include "gui/ScreenUtils.h"
#include "base/Utils.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "gui/Retained.h"

USING_NS_CC;

namespace {

GUIPopup* g_popup = nullptr;

void playSound(const char* name)
{
    CocosDenshion::SimpleAudioEngine::sharedEngine()->playEffect(soundFilePath("sounds", name).c_str(), false);
}

}  // namespace

CCString* GUIPopup::textOrEmpty(CCString* text)
{
    return text ? text : CCString::create("");
}

GUIPopup* GUIPopup::getInstance()
{
    if (!g_popup) {
        g_popup = new GUIPopup();
        g_popup->initWithSize(screenSize);
        g_popup->autorelease();
        g_popup->retain();
    }
    return g_popup;
}

void GUIPopup::resetInstanceForTests()
{
    if (!g_popup)
        return;
    GUIPopup* popup = g_popup;
    g_popup = nullptr;
    popup->stopAllActions();
    // The buttons' actions hold the popup: drop them so it can go.
    if (popup->m_buttonContainer)
        popup->m_buttonContainer->removeAllChildrenWithCleanup(true);
    popup->releaseActions();
    hold(popup->m_pendingCallback, nullptr);
    popup->setPreviousWindow(nullptr);
    popup->removeFromParentAndCleanup(true);
    popup->release();
}

GUIPopup::~GUIPopup()
{
    releaseActions();
    hold(m_pendingCallback, nullptr);
    hold(m_purchaseTitle, nullptr);
    hold(m_purchaseIcon, nullptr);
    hold(m_purchaseDescription, nullptr);
    hold(m_hints, nullptr);
}

bool GUIPopup::initWithSize(CCSize size)
{
    bool done = GUIWindow::initWithSize(size);
    m_state = Open;
    setPosition(CCPointZero);
    setVisible(true);
    m_dimming = CCLayerColor::create(ccc4(0, 0, 0, 64), size.width, size.height);
    addChild(m_dimming, 0, kDimTag);
    m_batchNode = CCSpriteBatchNode::create("pvr/popups.pvr.ccz", 500);
    if (!m_batchNode)
        m_batchNode = CCSpriteBatchNode::create("pvr/popups.png", 500);
    if (m_batchNode) {
        if (m_batchNode->getTexture())
            m_batchNode->getTexture()->setAliasTexParameters();
        m_batchNode->setPosition(ccp(size.width / 2, size.height / 2));
        addChild(m_batchNode, 1);
    }
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile("pvr/popups.plist");
    newBackground("popups_background.png");
    return done && m_batchNode;
}

float GUIPopup::panelScale() const
{
    return sheetScale();
}

CCSprite* GUIPopup::newBackground(const char* frame)
{
    if (m_buttonContainer)
        m_buttonContainer->removeFromParentAndCleanup(true);
    m_buttonContainer = nullptr;
    CCSprite* background = CCSprite::createWithSpriteFrameName(frame);
    if (!background || !m_batchNode)
        return nullptr;
    background->setScale(panelScale());
    background->setPosition(CCPointZero);
    m_batchNode->addChild(background);
    m_buttonContainer = background;
    return background;
}

GUILabel* GUIPopup::newLabel(float size)
{
    GUILabel* label = GUILabel::create();
    label->setScale(size / GUILabel::fontSize);
    return label;
}

void GUIPopup::releaseActions()
{
    hold(m_okCallback, nullptr);
    hold(m_cancelCallback, nullptr);
}

bool GUIPopup::build(int kind, CCString* text)
{
    if (!isValidKind(kind)) {
        LOG << "GUIPopup: no popup of kind" << kind << "; nothing shown";
        return false;
    }
    m_kind = kind;
    m_returnCancels = false;
    CCTexture2D::PVRImagesHavePremultipliedAlpha(true);
    prepare();
    releaseActions();
    hold(m_pendingCallback, nullptr);
    if (m_itemImage && m_itemImage->getParent() == this)
        m_itemImage->removeFromParentAndCleanup(true);
    if (m_manaCounter)
        m_manaCounter->removeFromParentAndCleanup(true);
    if (m_buttonContainer)
        m_buttonContainer->removeAllChildrenWithCleanup(true);
    m_messageLabel = nullptr;
    m_okButton = m_cancelButton = m_specialDealButton = nullptr;
    m_itemImage = m_manaCounter = nullptr;
    m_manaLabel = m_priceLabel = m_titleLabel = nullptr;
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile("pvr/popups.plist");
    if (m_batchNode) {
        m_batchNode->stopAllActions();
        m_batchNode->setScale(1.0f);
    }
    switch (kind) {
    case Confirm:
    case StaticConfirm: buildConfirm(text, true); break;
    case Purchase: buildPurchase(); break;
    case Message: buildConfirm(text, false); break;
    case Disclaimer: buildDisclaimer(); break;
    case Hints: buildHints(); break;
    default: break;
    }
    playSound("sfx_gui_modal");
    return true;
}

void GUIPopup::setActions(CCObject* okTarget, SEL_CallFunc okSelector, CCObject* cancelTarget,
                          SEL_CallFunc cancelSelector)
{
    if (okTarget && okSelector)
        hold(m_okCallback, CCCallFunc::create(okTarget, okSelector));
    if (cancelTarget && cancelSelector)
        hold(m_cancelCallback, CCCallFunc::create(cancelTarget, cancelSelector));
}

void GUIPopup::addCancelButton()
{
    GUILabel::setFontName("popups_ach_fontButtons");
    m_cancelButton = GUIButton::create(CCCallFunc::create(this, callfunc_selector(GUIPopup::onCancelPressed)),
                                       "popups_buttonCancel.png", "popups_cancel.png");
    m_cancelButton->setAnchorPoint(ccp(0, 0.5f));
    m_cancelButton->setPosition(ccp(30, 2));
    m_cancelButton->setActivateDelayed(true);
    const CCSize size = m_cancelButton->getContentSize();
    if (CCSprite* icon = m_cancelButton->getIcon())
        icon->setPosition(ccp(size.width, size.height / 2));
    GUILabel* caption = newLabel(10);
    caption->setText(LocalUtils::localize("GenericCancelBut"));
    caption->setAnchorPoint(ccp(0.5f, 0.5f));
    caption->setPosition(ccp(size.width / 2 - 3, size.height / 2));
    m_cancelButton->addChild(caption);
    m_buttonContainer->addChild(m_cancelButton);
}

void GUIPopup::addOkButton(float x, const char* captionKey, float captionSize)
{
    GUILabel::setFontName("popups_ach_fontButtons");
    m_okButton = GUIButton::create(CCCallFunc::create(this, callfunc_selector(GUIPopup::onOkPressed)),
                                   "popups_btnClose.png", nullptr);
    m_okButton->setAnchorPoint(ccp(0, 0.5f));
    m_okButton->setPosition(ccp(x, 2));
    m_okButton->setActivateDelayed(true);
    const CCSize size = m_okButton->getContentSize();
    GUILabel* caption = newLabel(captionSize);
    caption->setText(LocalUtils::localize(captionKey));
    caption->setAnchorPoint(ccp(0.5f, 0.5f));
    caption->setPosition(ccp(size.width / 2 - 4, size.height / 2));
    m_okButton->addChild(caption);
    m_buttonContainer->addChild(m_okButton);
}

void GUIPopup::buildConfirm(CCString* text, bool withCancel)
{
    if (!newBackground("popups_background.png"))
        return;
    GUILabel::setFontName("popups_ach_colorFont");
    // A font pixel between a line's descenders and the next line's letters.
    GUILabel::lineSpacing = 1;
    m_messageLabel = newLabel(10);
    m_messageLabel->setColor(ccc3(36, 75, 98));
    m_messageLabel->setAnchorPoint(CCPointZero);
    m_buttonContainer->addChild(m_messageLabel);
    // The first line's top where a line set at (29, 72) has it.
    const float top = 72 + GUILabel::fontSize * m_messageLabel->getScale();
    if (withCancel)
        addCancelButton();
    addOkButton(110, "GenericOkBut", 10);
    // Down to just over the buttons: a long message (a refusal with the
    // server's own words) is set smaller or cut rather than run under them.
    float bottom = m_okButton->boundingBox().getMaxY();
    if (withCancel)
        bottom = std::fmax(bottom, m_cancelButton->boundingBox().getMaxY());
    GUILabel::setFontName("popups_ach_colorFont");
    GUILabel::lineSpacing = 1;
    m_messageLabel->fitColoredText(textOrEmpty(text), 130 * m_messageLabel->getScale(), top - bottom - 1);
    m_messageLabel->setPosition(ccp(29, top - GUILabel::fontSize * m_messageLabel->getScale()));
    CCSprite* god = CCSprite::createWithSpriteFrameName("popups_godA.png");
    if (god) {
        god->setPosition(ccp(5, 5));
        m_buttonContainer->addChild(god);
    }
}

void GUIPopup::buildDisclaimer()
{
    if (!newBackground("popups_backgroundDisclaimer.png"))
        return;
    GUILabel::setFontName("popups_ach_fontButtons");
    GUILabel::lineSpacing = 1;
    struct Line {
        const char* key;
        bool upper;
        float width;
        CCPoint at;
    };
    const Line lines[] = {{"ConfirmationShareDisclaimer", true, 190, ccp(10, 92)},
                          {"ConfirmationShareDisclaimer2", true, 160, ccp(10, 78)},
                          {"ConfirmationShareDisclaimer3", false, 190, ccp(10, 68)}};
    for (const Line& line : lines) {
        if (!line.upper)
            GUILabel::lineSpacing = -1;
        GUILabel* label = newLabel(10);
        CCString* text = LocalUtils::localize(line.key);
        label->setColoredText(line.upper ? toUpperCCString(text->getCString()) : text, line.width);
        label->setAnchorPoint(CCPointZero);
        label->setPosition(line.at);
        m_buttonContainer->addChild(label);
        if (!m_messageLabel)
            m_messageLabel = label;
    }
    GUILabel::lineSpacing = 0;
    addCancelButton();
    addOkButton(110, "GenericOkBut", 10);
}

// --- answers -------------------------------------------------------------------

void GUIPopup::answer(const char* sound, GUIButton* disable, CCObject* action)
{
    // Once closing has begun the answer is fixed: a second press would
    // replace the action that is about to run.
    if (isAnswered() || !isShown())
        return;
    if (sound)
        playSound(sound);
    if (disable)
        disable->setEnabled(false);
    hold(m_pendingCallback, action);
    hide();
}

void GUIPopup::onOkPressed()
{
    answer("sfx_gui_next", m_okButton, m_okCallback);
}

void GUIPopup::onCancelPressed()
{
    answer("sfx_gui_back", m_cancelButton, m_cancelCallback);
}

void GUIPopup::onSpecialDealPressed()
{
    answer(nullptr, m_cancelButton, m_cancelCallback);
}

void GUIPopup::answerBackKey()
{
    answer(nullptr, nullptr, nullptr);
}

void GUIPopup::answerReturn()
{
    if (m_returnCancels)
        onCancelPressed();
    else
        onOkPressed();
}

void GUIPopup::hide()
{
    if (!takeAnswer())
        return;
    LOG << "hide1: " << m_hintNumber;
    if (m_itemImage && m_itemImage->getParent() == this) {
        m_itemImage->removeFromParentAndCleanup(true);
        m_itemImage = nullptr;
    }
    if (m_manaCounter) {
        m_manaCounter->removeFromParentAndCleanup(true);
        m_manaCounter = nullptr;
        m_manaLabel = nullptr;
    }
    if (m_buttonContainer)
        m_buttonContainer->stopAllActions();
    // The panel vanishes at once; the popup leaves when the dimming is gone.
    if (m_batchNode) {
        m_batchNode->stopAllActions();
        m_batchNode->setScale(0.0f);
    }
    stopAllActions();
    runAction(CCSequence::create(CCDelayTime::create(kHideSeconds),
                                 CCCallFunc::create(this, callfunc_selector(GUIPopup::onHidden)), nullptr));
    if (m_dimming) {
        m_dimming->stopAllActions();
        m_dimming->runAction(CCFadeTo::create(0.2f, 0));
    }
}

void GUIPopup::onHidden()
{
    retain();
    CCObject* pending = m_pendingCallback;
    if (pending)
        pending->retain();
    hold(m_pendingCallback, nullptr);
    // Gone before the answer runs: an answer that says something in a popup
    // of its own (a failure) opens it again, and must not find it here.
    leave();
    if (pending) {
        executeAction(pending);
        pending->release();
    }
    release();
}

void GUIPopup::onEnter()
{
    LOG << "GUIPopup: enter";
    CCLayer::onEnter();
    waitForAnswer();
    if (m_dimming) {
        m_dimming->stopAllActions();
        m_dimming->setOpacity(0);
        m_dimming->runAction(CCFadeTo::create(0.1f, 200));
    }
    if (m_batchNode)
        m_batchNode->setScale(1.0f);
}

void GUIPopup::onExit()
{
    LOG << "GUIPopup: exit";
    GUIBox::onExit();
}

void GUIPopup::forgetAnswer()
{
    // Its answer was for the screen that went: it never runs.
    hold(m_pendingCallback, nullptr);
    releaseActions();
}

void GUIPopup::runLater(float seconds, SEL_CallFunc step)
{
    CCScene* scene = CCDirector::sharedDirector()->getRunningScene();
    if (!scene)
        return;
    scene->runAction(CCSequence::create(CCDelayTime::create(seconds), CCCallFunc::create(this, step), nullptr));
}
