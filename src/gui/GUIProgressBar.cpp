#include "gui/GUIProgressBar.h"

#include <cmath>

#include "SimpleAudioEngine.h"
#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "base/ScreenMetrics.h"
#include "gui/ScreenUtils.h"
#include "base/Utils.h"
#include "gui/GuiHost.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "gui/GUIModalPanel.h"
#include "gui/Retained.h"

USING_NS_CC;

namespace {

GUIProgressBar* g_bar = nullptr;
const char* const kSheet = "ProgressBar";
constexpr int kDimmingTag = 1;

void playSound(const char* name)
{
    CocosDenshion::SimpleAudioEngine::sharedEngine()->playEffect(soundFilePath("sounds", name).c_str(), false);
}

}  // namespace

GUIProgressBar* GUIProgressBar::getInstance()
{
    if (!g_bar) {
        g_bar = new GUIProgressBar();
        g_bar->initWithSize(CCDirector::sharedDirector()->getWinSize());
    }
    return g_bar;
}

void GUIProgressBar::resetInstanceForTests()
{
    if (!g_bar)
        return;
    GUIProgressBar* bar = g_bar;
    g_bar = nullptr;
    bar->unscheduleAllSelectors();
    bar->stopAllActions();
    if (bar->m_buttonContainer)
        bar->m_buttonContainer->removeAllChildrenWithCleanup(true);
    bar->m_okButton = nullptr;
    bar->setCompletedCallback(nullptr, nullptr);
    bar->setFailedCallback(nullptr, nullptr);
    bar->removeFromParentAndCleanup(true);
    bar->release();
}

GUIProgressBar::~GUIProgressBar()
{
    hold(m_completedTarget, static_cast<CCObject*>(nullptr));
    hold(m_failedTarget, static_cast<CCObject*>(nullptr));
    hold(m_resultText, nullptr);
}

bool GUIProgressBar::initWithSize(CCSize size)
{
    bool done = GUIWindow::initWithSize(size);
    m_state = Open;
    setPosition(CCPointZero);
    setVisible(true);
    m_failed = false;
    // The dimming starts clear: onEnter fades it in.
    addModalDimming(this, size, 0, kDimmingTag);
    m_batchNode = addModalSheet(this, kSheet);
    if (!m_batchNode)
        return false;
    m_batchNode->setPosition(ccp(size.width / 2, size.height / 2));
    addModalPanel(m_batchNode, kSheet, CCPointZero);
    return done;
}

void GUIProgressBar::setCompletedCallback(CCObject* target, SEL_CallFunc selector)
{
    hold(m_completedTarget, target);
    m_completedSelector = selector;
}

void GUIProgressBar::setFailedCallback(CCObject* target, SEL_CallFunc selector)
{
    hold(m_failedTarget, target);
    m_failedSelector = selector;
}

void GUIProgressBar::setTargetProgress(float target)
{
    m_targetProgress = std::isfinite(target) ? std::fmax(0.0f, std::fmin(100.0f, target)) : 100.0f;
}

void GUIProgressBar::buildContent()
{
    prepare();
    if (!m_batchNode)
        return;
    m_batchNode->removeAllChildrenWithCleanup(true);
    m_buttonContainer = nullptr;
    m_captionLabel = nullptr;
    m_okButton = nullptr;
    m_barFill = m_barEnd = nullptr;
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile("pvr/ProgressBar.plist");
    CCSprite* panel = addModalPanel(m_batchNode, kSheet, CCPointZero);
    if (!panel)
        return;
    m_buttonContainer = panel;
    useModalFont(kSheet);
    setCaption(LocalUtils::localize("UploadPopupUploading"));

    m_okButton = addModalOkButton(panel, CCCallFunc::create(this, callfunc_selector(GUIProgressBar::onOkPressed)),
                                  "ProgressBar_buttonOk.png", "ProgressBar_ok.png", ccp(80, 2), 8);
    m_okButton->setVisible(false);

    if (CCSprite* trough = CCSprite::createWithSpriteFrameName("ProgressBar_bar_back.png")) {
        trough->setAnchorPoint(CCPointZero);
        trough->setPosition(ccp(16, 37));
        panel->addChild(trough);
    }
    m_barFill = CCSprite::createWithSpriteFrameName("ProgressBar_bar_on.png");
    if (m_barFill) {
        m_barRect = m_barFill->getTextureRect();
        m_barFill->setAnchorPoint(CCPointZero);
        m_barFill->setPosition(ccp(kBarX, kBarY));
        panel->addChild(m_barFill);
        placeFill(0);
    }
    m_barEnd = CCSprite::createWithSpriteFrameName("ProgressBar_bar_end.png");
    if (m_barEnd) {
        m_barEnd->setAnchorPoint(CCPointZero);
        m_barEnd->setPosition(ccp(0, kBarY));
        m_barEnd->setVisible(false);
        panel->addChild(m_barEnd);
    }
    m_displayedProgress = 0;
    m_targetProgress = 0;
    m_failed = false;
    m_fastFill = false;
    scheduleUpdate();
}

void GUIProgressBar::placeFill(float width)
{
    if (!m_barFill)
        return;
    m_barFill->setTextureRect(CCRect(m_barRect.origin.x, m_barRect.origin.y, width, m_barRect.size.height));
}

void GUIProgressBar::onEnter()
{
    CCLayer::onEnter();
    // Modal: the back key stops here instead of reaching the window or the
    // world under the bar. OK answers once the player has seen it.
    waitForAnswer(false);
    if (auto* dim = dynamic_cast<CCLayerColor*>(getChildByTag(kDimmingTag))) {
        dim->stopAllActions();
        dim->setOpacity(0);
        dim->runAction(CCFadeTo::create(0.1f, 200));
    }
    if (m_batchNode)
        m_batchNode->setScale(1.0f);
}

void GUIProgressBar::forgetAnswer()
{
    setCompletedCallback(nullptr, nullptr);
    setFailedCallback(nullptr, nullptr);
}

void GUIProgressBar::startProgress()
{
    m_displayedProgress = m_targetProgress = 1;
    unschedule(schedule_selector(GUIProgressBar::stepProgress));
    schedule(schedule_selector(GUIProgressBar::stepProgress), kTickSeconds);
    update(0);
}

void GUIProgressBar::stepProgress(float)
{
    m_targetProgress += kProgressStep;
    if (m_targetProgress >= 100) {
        m_targetProgress = 100;
        unschedule(schedule_selector(GUIProgressBar::stepProgress));
    }
}

void GUIProgressBar::complete()
{
    m_targetProgress = 100;
    unschedule(schedule_selector(GUIProgressBar::stepProgress));
    m_fastFill = true;
}

void GUIProgressBar::update(float)
{
    if (!isBuilt() || isAnswered())
        return;
    const float step = m_fastFill ? 10.0f : 1.0f;
    if (m_targetProgress < m_displayedProgress)
        advance(-std::fmin(step, m_displayedProgress - m_targetProgress));
    else if (m_targetProgress > m_displayedProgress)
        advance(std::fmin(step, m_targetProgress - m_displayedProgress));
}

void GUIProgressBar::advance(float step)
{
    m_displayedProgress += step;
    if (m_displayedProgress < 100) {
        if (m_okButton)
            m_okButton->setVisible(false);
        const float w = m_displayedProgress / 100.0f * m_barRect.size.width;
        placeFill(w);
        if (m_barEnd) {
            m_barEnd->setPosition(ccp(kBarX + w, kBarY));
            m_barEnd->setVisible(true);
        }
        return;
    }
    m_displayedProgress = 100;
    retain();
    if (m_failed) {
        playSound("sfx_gui_error");
        if (m_failedTarget && m_failedSelector)
            (m_failedTarget->*m_failedSelector)();
    } else {
        playSound("sfx_gui_loading");
        if (m_completedTarget && m_completedSelector)
            (m_completedTarget->*m_completedSelector)();
    }
    if (m_resultText && m_resultText->length() == 0) {
        unscheduleUpdate();
        dismiss();
    } else if (isBuilt()) {
        if (m_okButton && !m_okButton->isVisible())
            startOpening();
        if (m_okButton)
            m_okButton->setVisible(true);
        placeFill(m_barRect.size.width);
        if (m_barEnd)
            m_barEnd->setVisible(false);
        useModalFont(kSheet);
        setCaption(m_resultText);
        LOG << "progress bar" << (m_failed ? "failed:" : "done:") << (m_resultText ? m_resultText->getString() : "");
        // Shown; nothing more to step until the next opening.
        unscheduleUpdate();
    }
    release();
}

void GUIProgressBar::setCaption(CCString* text)
{
    if (!m_buttonContainer)
        return;
    if (m_captionLabel)
        m_captionLabel->removeFromParentAndCleanup(true);
    m_captionLabel = GUILabel::create();
    m_buttonContainer->addChild(m_captionLabel);
    // Across the panel, from under the bar to just over OK: a refusal with
    // the server's own words is set smaller or cut (the log has all of it).
    const float width = m_buttonContainer->getContentSize().width;
    const float top = kBarY - kCaptionMargin;
    const float bottom = m_okButton ? m_okButton->boundingBox().getMaxY() + 1 : kCaptionMargin;
    m_captionLabel->setScale(10.0f / GUILabel::fontSize);
    m_captionLabel->fitColoredText(text, width - 2 * kCaptionMargin, top - bottom);
    m_captionLabel->setAnchorPoint(ccp(0.5f, 0));
    m_captionLabel->setPosition(ccp(width / 2, top - GUILabel::fontSize * m_captionLabel->getScale()));
}

void GUIProgressBar::setResultText(CCString* text)
{
    hold(m_resultText, text ? CCString::create(text->getString()) : nullptr);
}

void GUIProgressBar::showFailure()
{
    m_failed = true;
    m_targetProgress = 100;
    if (!m_buttonContainer)
        return;
    if (m_barFill)
        m_barFill->removeFromParentAndCleanup(true);
    m_barFill = CCSprite::createWithSpriteFrameName("ProgressBar_bar_red.png");
    if (!m_barFill)
        return;
    m_barRect = m_barFill->getTextureRect();
    m_barFill->setAnchorPoint(CCPointZero);
    m_barFill->setPosition(ccp(kBarX, kBarY));
    m_buttonContainer->addChild(m_barFill);
    placeFill(m_displayedProgress >= 100 ? m_barRect.size.width : m_displayedProgress / 100.0f * m_barRect.size.width);
}

void GUIProgressBar::onOkPressed()
{
    if (isAnswered() || !getParent())
        return;
    playSound("sfx_gui_next");
    LOG << "progress bar: OK";
    unscheduleUpdate();
    if (m_okButton)
        m_okButton->setEnabled(false);
    dismiss();
}

void GUIProgressBar::answerBackKey()
{
    if (m_okButton && m_okButton->isVisible())
        onOkPressed();
}

void GUIProgressBar::dismiss()
{
    if (!takeAnswer())
        return;
    if (m_buttonContainer)
        m_buttonContainer->stopAllActions();
    if (CCNode* dim = getChildByTag(kDimmingTag))
        dim->runAction(CCFadeTo::create(0.2f, 0));
    if (m_batchNode) {
        m_batchNode->stopAllActions();
        m_batchNode->setScale(0.0f);
    }
    runAction(CCSequence::create(CCDelayTime::create(0.3f),
                                 CCCallFunc::create(this, callfunc_selector(GUIProgressBar::onDismissed)), nullptr));
}

void GUIProgressBar::onDismissed()
{
    unscheduleAllSelectors();
    guiHost().releaseTopBar();
    setCompletedCallback(nullptr, nullptr);
    setFailedCallback(nullptr, nullptr);
    leave();
}
