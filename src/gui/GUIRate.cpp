#include "gui/GUIRate.h"

#include <cmath>
#include <vector>

#include "SimpleAudioEngine.h"
#include "gui/BackButton.h"
#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "base/ScreenMetrics.h"
#include "gui/ScreenUtils.h"
#include "base/Utils.h"
#include "cocos2d_extensions/CCValue.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "gui/GUIModalPanel.h"
#include "gui/Retained.h"

USING_NS_CC;

namespace {

GUIRate* g_rate = nullptr;

}  // namespace

GUIRate* GUIRate::getInstance()
{
    if (!g_rate) {
        g_rate = new GUIRate();
        g_rate->initWithSize(CCDirector::sharedDirector()->getWinSize());
    }
    return g_rate;
}

void GUIRate::resetInstanceForTests()
{
    if (!g_rate)
        return;
    GUIRate* rate = g_rate;
    g_rate = nullptr;
    rate->stopAllActions();
    if (rate->m_buttonContainer)
        rate->m_buttonContainer->removeAllChildrenWithCleanup(true);
    rate->removeFromParentAndCleanup(true);
    rate->release();
}

int32_t GUIRate::ratingOf(float value)
{
    // The value comes from the server: anything outside the five stars is
    // held to them rather than converted blindly.
    if (std::isnan(value) || value < -1.0f)
        return -1;
    if (value >= 4.0f)
        return 4;
    return static_cast<int32_t>(std::floor(value));
}

GUIRate::~GUIRate()
{
    clearTarget();
}

void GUIRate::clearTarget()
{
    hold(m_rateTarget, static_cast<CCObject*>(nullptr));
    m_rateReceiver = nullptr;
}

bool GUIRate::initWithSize(CCSize size)
{
    bool done = GUIWindow::initWithSize(size);
    setVisible(true);
    return done;
}

void GUIRate::build(float value, CCObject* target)
{
    // Built again while it is up, it keeps the window it came from.
    prepare();
    hold(m_rateTarget, target);
    m_rateReceiver = dynamic_cast<RatingTarget*>(target);
    m_state = Open;
    waitForAnswer();
    stopAllActions();
    if (m_dimming)
        m_dimming->removeFromParentAndCleanup(true);
    if (m_batchNode)
        m_batchNode->removeFromParentAndCleanup(true);
    m_dimming = nullptr;
    m_batchNode = nullptr;
    m_buttonContainer = nullptr;
    m_tickButton = nullptr;
    for (GUIButton*& star : m_stars)
        star = nullptr;
    setPosition(CCPointZero);
    m_dimming = addModalDimming(this, m_size, 128, kCCNodeTagInvalid);
    m_batchNode = addModalSheet(this, "GUIRate");
    m_rating = ratingOf(value);
    if (!m_batchNode)
        return;
    CCSprite* panel = addModalPanel(m_batchNode, "GUIRate", ccp(m_size.width / 2, m_size.height / 2));
    if (!panel)
        return;
    m_buttonContainer = panel;
    useModalFont("GUIRate");
    // The tick inside the button's right end, as on the progress popup.
    m_tickButton = addModalOkButton(panel, CCCallFunc::create(this, callfunc_selector(GUIRate::confirm)),
                                    "GUIRate_button.png", "GUIRate_tick.png", ccp(70, 8), 8);
    m_promptLabel = GUILabel::create();
    m_promptLabel->setAnchorPoint(CCPointZero);
    panel->addChild(m_promptLabel);
    layOutPrompt();

    for (int i = 0; i < kStars; ++i) {
        GUIButton* star = GUIButton::create(
            CCCallFuncO::create(this, callfuncO_selector(GUIRate::onStarPressed), CCInteger::create(i)),
            "GUIRate_star_grey.png", "GUIRate_star_on.png");
        star->setAnchorPoint(CCPointZero);
        star->setPosition(ccp((star->getContentSize().width + 3) * static_cast<float>(i) + 8, kStarsY));
        panel->addChild(star);
        m_stars[i] = star;
    }
    setRating(m_rating);
}

namespace {

// The glyphs of a label in its parent's units, one box each.
std::vector<CCRect> glyphBoxes(GUILabel* label)
{
    std::vector<CCRect> boxes;
    const CCAffineTransform toParent = label->nodeToParentTransform();
    if (CCArray* glyphs = label->getChildren())
        for (CCObject* glyph : *glyphs)
            boxes.push_back(CCRectApplyAffineTransform(static_cast<CCNode*>(glyph)->boundingBox(), toParent));
    return boxes;
}

bool overlaps(const CCRect& a, const CCRect& b)
{
    return a.getMinX() < b.getMaxX() && b.getMinX() < a.getMaxX() && a.getMinY() < b.getMaxY() &&
        b.getMinY() < a.getMaxY();
}

}  // namespace

void GUIRate::layOutPrompt()
{
    // Under the stars on at most two lines, and clear of OK: a line may end
    // beside the button, not under it. A prompt that does not fit is set
    // smaller, an eighth at a time, down to half its size (the Spanish one
    // ran under OK).
    CCString* prompt = LocalUtils::localize("RatePopupTap");
    const float full = 10.0f / GUILabel::fontSize;
    const CCRect ok = m_tickButton->boundingBox();
    for (float scale = full;; scale -= full / 8) {
        m_promptLabel->setScale(scale);
        // Measured at the scale it is drawn at: on whole screen pixels.
        if (m_promptLabel->isRunning())
            m_promptLabel->snapScale();
        m_promptLabel->setPosition(CCPointZero);
        m_promptLabel->setMultilineText(prompt, kPromptWidth * full / m_promptLabel->getScale(), 2);
        // The first line's glyphs reach up to the stars' foot.
        float top = 0;
        for (const CCRect& glyph : glyphBoxes(m_promptLabel))
            top = std::fmax(top, glyph.getMaxY());
        m_promptLabel->setPosition(ccp(kPromptX, kStarsY - top));
        bool clear = m_promptLabel->getLineCount() < 2;
        for (const CCRect& glyph : glyphBoxes(m_promptLabel))
            clear = clear && glyph.getMinY() >= 0 && !overlaps(glyph, ok);
        if (clear || scale <= full / 2 + 1e-4f)
            return;
    }
}

void GUIRate::setRating(int32_t index)
{
    m_rating = index < -1 ? -1 : (index > 4 ? 4 : index);
    for (int i = 0; i < kStars; ++i)
        if (m_stars[i] && m_stars[i]->getIcon())
            m_stars[i]->getIcon()->setVisible(i <= m_rating);
}

bool GUIRate::starLit(int i) const
{
    GUIButton* star = getStar(i);
    return star && star->getIcon() && star->getIcon()->isVisible();
}

void GUIRate::onStarPressed(CCObject* index)
{
    if (isAnswered())
        return;
    if (auto* value = dynamic_cast<CCInteger*>(index))
        setRating(value->getValue());
}

void GUIRate::confirm()
{
    if (!takeAnswer())
        return;
    CocosDenshion::SimpleAudioEngine::sharedEngine()->playEffect(soundFilePath("sounds", "sfx_gui_next").c_str(),
                                                                 false);
    if (m_tickButton)
        m_tickButton->setEnabled(false);
    if (m_rateTarget) {
        auto* box = cocos2d_extensions::CCValue<float>::create(static_cast<float>(m_rating));
        if (m_rateReceiver) {
            CCObject* target = m_rateTarget;
            target->retain();
            m_rateReceiver->rateWorld(box);
            target->release();
        }
    }
    fadeAway();
}

void GUIRate::cancel()
{
    if (takeAnswer())
        fadeAway();
}

void GUIRate::fadeAway()
{
    CCNode* panel = m_buttonContainer ? m_buttonContainer : this;
    panel->stopAllActions();
    runAction(CCSequence::create(CCDelayTime::create(kFadeSeconds),
                                 CCCallFunc::create(this, callfunc_selector(GUIRate::onDismissed)), nullptr));
    if (m_buttonContainer)
        m_buttonContainer->runAction(CCFadeOut::create(kFadeSeconds));
}

void GUIRate::onDismissed()
{
    // A window the rating's answer opened meanwhile (a popup) keeps its place.
    clearTarget();
    leave();
}

void GUIRate::answerBackKey()
{
    LOG << "rate popup: back, nothing sent";
    cancel();
}
