#include "gui/GUISlider.h"

#include "SimpleAudioEngine.h"
#include "base/Logger.h"
#include "base/Utils.h"

USING_NS_CC;

// --- slider ------------------------------------------------------------------

GUISlider::~GUISlider()
{
    if (m_steps)
        m_steps->release();
}

GUISlider* GUISlider::initWithFrameName(CCString* frameName, const CCPoint& valueRange, const CCPoint& positionRange)
{
    if (!CCSprite::initWithSpriteFrameName(frameName ? frameName->getCString() : "")) {
        LOG_ERROR << "initWithSpriteFrameName failed; return NULL";
        return nullptr;
    }
    m_value = 1;
    m_position = 1.0f;
    m_kind = Stepped;
    m_orientation = Horizontal;
    m_valueRange = valueRange;
    m_positionRange = positionRange;
    return this;
}

void GUISlider::setSteps(CCArray* steps)
{
    CCArray* kept = CCArray::create();
    kept->retain();
    if (m_steps)
        m_steps->release();
    m_steps = kept;
    if (!steps)
        return;
    unsigned index = 0;
    for (CCObject* object : *steps) {
        auto* step = dynamic_cast<CCNode*>(object);
        if (!step)
            continue;
        ++index;
        kept->addObject(step);
        addChild(step);
        if (static_cast<int>(index) > m_value)
            step->setVisible(false);
    }
}

void GUISlider::refreshSteps()
{
    if (!m_steps)
        return;
    int index = 0;
    for (CCObject* object : *m_steps)
        if (auto* step = dynamic_cast<CCNode*>(object)) {
            step->setVisible(++index <= m_value);
            // A knob stands on the last step shown.
            if (m_knob && index == m_value)
                m_knob->setPosition(ccp(step->getPosition().x, getContentSize().height / 2));
        }
}

void GUISlider::positionKnob()
{
    if (!m_knob)
        return;
    const float from = m_positionRange.x, to = m_positionRange.y;
    const float min = m_valueRange.x, max = m_valueRange.y;
    const float v = m_position;
    float along = from;
    if (v >= max)
        along = to;
    else if (v > min)
        along = from + (v - min) / (max - min) * (to - from);
    const CCSize size = getContentSize();
    if (m_orientation == Vertical)
        m_knob->setPosition(ccp(size.width / 2, along));
    else
        m_knob->setPosition(ccp(along, size.height / 2));
}

void GUISlider::handleTouch(CCTouch* touch)
{
    const CCPoint p = touch->getLocation();
    float t = p.y;
    if (m_orientation != Vertical) {
        CCNode* parent = getParent();
        float px = 0, ax = 0, pw = 0, ps = 1;
        if (parent) {
            px = parent->getPosition().x;
            ax = parent->getAnchorPoint().x;
            pw = parent->getContentSize().width;
            ps = parent->getScale();
        }
        // In the slider's own units: a scaled slider draws its ranges larger.
        const float own = getScaleX() != 0 ? getScaleX() : 1.0f;
        t = ((p.x - px + ax * pw * ps) / ps - getPosition().x) / own;
    }
    const float from = m_positionRange.x, to = m_positionRange.y;
    const float min = m_valueRange.x, max = m_valueRange.y;
    const float extra = m_kind == Stepped ? 1.0f : 0.0f;
    if (t < from)
        m_position = min;
    else if (t > to)
        m_position = max + extra;
    else
        m_position = min + (t - from) / (to - from) * (max - min) + extra;
    const int value = static_cast<int>(m_position);
    if (value != m_value)
        CocosDenshion::SimpleAudioEngine::sharedEngine()->playEffect(soundFilePath("sounds", "sfx_gui_select").c_str(),
                                                                     false);
    m_value = value;
    if (m_kind == Knob)
        positionKnob();
    else if (m_kind == Stepped)
        refreshSteps();
    if (m_callback)
        executeAction(m_callback);
}

// --- hold button ---------------------------------------------------------------

GUIDynamicButton* GUIDynamicButton::create(CCObject* pressAction, CCObject* releaseAction, const char* frameName)
{
    auto* button = new GUIDynamicButton();
    if (!button->CCSprite::initWithSpriteFrameName(frameName ? frameName : ""))
        button->CCSprite::init();
    button->m_enabled = true;
    button->m_activateDelayed = false;
    button->setAnchorPoint(ccp(0.5f, 0.5f));
    button->addEmptyCaption();
    if (pressAction) {
        pressAction->retain();
        button->m_pressAction = pressAction;
    }
    if (releaseAction) {
        releaseAction->retain();
        button->m_releaseAction = releaseAction;
    }
    button->autorelease();
    return button;
}

GUIDynamicButton::~GUIDynamicButton()
{
    if (m_holdingTouch)
        m_holdingTouch->release();
    if (m_pressAction)
        m_pressAction->release();
    if (m_releaseAction)
        m_releaseAction->release();
}

bool GUIDynamicButton::isTouchInside(CCTouch* touch)
{
    const CCPoint local = convertToNodeSpace(touch->getLocation());
    const CCRect hit = getHitRect();
    return CCRect(0, 0, hit.size.width, hit.size.height).containsPoint(local);
}

void GUIDynamicButton::hold(CCTouch* touch)
{
    touch->retain();
    m_holdingTouch = touch;
    executeAction(m_pressAction);
}

void GUIDynamicButton::letGo()
{
    CCTouch* touch = m_holdingTouch;
    m_holdingTouch = nullptr;
    executeAction(m_releaseAction);
    if (touch)
        touch->release();
}

void GUIDynamicButton::updateHold(CCTouch* touch)
{
    if (!touch)
        return;
    if (!m_holdingTouch) {
        if (isTouchInside(touch))
            hold(touch);
    } else if (m_holdingTouch == touch && !isTouchInside(touch)) {
        letGo();
    }
}

void GUIDynamicButton::endHold(CCTouch* touch)
{
    if (isHeldBy(touch))
        letGo();
}

// --- draw/pan toggle -----------------------------------------------------------

DrawPanToggle::~DrawPanToggle()
{
    if (drawButton)
        drawButton->release();
    if (panButton)
        panButton->release();
}

DrawPanToggle* createDrawPanToggle(CCObject* callback)
{
    auto* toggle = new DrawPanToggle();
    toggle->drawButton = GUIButton::create(callback, "guitopbar_btnDraw.png", nullptr);
    toggle->panButton = GUIButton::create(callback, "guitopbar_btnPan.png", nullptr);
    toggle->drawButton->retain();
    toggle->panButton->retain();
    toggle->drawButton->setVisible(false);
    toggle->panButton->setVisible(false);
    toggle->mode = 0;
    return toggle;
}

void switchDrawPanToggle(DrawPanToggle* toggle)
{
    if (!toggle || !toggle->drawButton || !toggle->panButton)
        return;
    if (!toggle->drawButton->isVisible() && !toggle->panButton->isVisible())
        return;
    toggle->drawButton->setVisible(!toggle->drawButton->isVisible());
    toggle->panButton->setVisible(!toggle->panButton->isVisible());
    toggle->mode = toggle->mode == 0 ? 1 : 0;
}
