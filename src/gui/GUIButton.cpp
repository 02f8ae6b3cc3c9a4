#include "gui/GUIButton.h"

#include "gui/ScreenUtils.h"
#include "gui/GUILabel.h"

USING_NS_CC;

const ccColor3B GUIButton::kPressedTint{140, 140, 140};
const ccColor3B GUIButton::kSelectedTint{75, 184, 229};
const ccColor3B GUIButton::kPlainTint{255, 255, 255};

namespace {

// The target of a delayed activation. It lives as long as the delay action
// does; when the action is dropped before it fires (its scene was removed),
// the busy flag it stands for is cleared here, else no button would ever fire
// again.
class DelayedFire : public CCObject {
public:
    explicit DelayedFire(GUIButton* button) : m_button(button) { m_button->retain(); }
    ~DelayedFire() override
    {
        if (!m_fired)
            ScreenUtils::getInstance()->setBusy(false);
        m_button->release();
    }
    void fire()
    {
        if (m_fired)
            return;
        m_fired = true;
        m_button->fireDelayed();
    }

private:
    GUIButton* m_button;
    bool m_fired = false;
};

}  // namespace

void executeAction(CCObject* action)
{
    if (auto* call = dynamic_cast<CCCallFunc*>(action))
        call->execute();
}

GUIButton* GUIButton::create(CCObject* callback, const char* frameName, const char* iconFrameName)
{
    auto* button = new GUIButton();
    button->initWithFrameName(callback, frameName, iconFrameName);
    button->autorelease();
    return button;
}

GUIButton::~GUIButton()
{
    if (m_callback)
        m_callback->release();
    if (m_label)
        m_label->release();
}

void GUIButton::setOpacity(uint8_t opacity)
{
    for (CCObject* child : *getChildren())
        if (auto* rgba = dynamic_cast<CCRGBAProtocol*>(child))
            rgba->setOpacity(opacity);
    CCSprite::setOpacity(opacity);
}

void GUIButton::addEmptyCaption()
{
    GUILabel* caption = GUILabel::create();
    caption->setText(CCString::create(""));
    caption->setAnchorPoint(ccp(0.5f, 0.5f));
    const CCSize size = getContentSize();
    caption->setPosition(ccp(size.width / 2, size.height / 2));
    caption->setScale(10.0f / GUILabel::fontSize);
    caption->setColor(kPlainTint);
    caption->retain();
    if (m_label)
        m_label->release();
    m_label = caption;
    addChild(caption);
}

bool GUIButton::initWithFrameName(CCObject* callback, const char* frameName, const char* iconFrameName)
{
    // Goes on without the frame: the button is still usable as a caption.
    bool made = CCSprite::initWithSpriteFrameName(frameName ? frameName : "");
    if (!made)
        CCSprite::init();
    m_enabled = true;
    m_activateDelayed = false;
    setAnchorPoint(ccp(0.5f, 0.5f));
    addEmptyCaption();
    if (iconFrameName) {
        m_icon = CCSprite::createWithSpriteFrameName(iconFrameName);
        if (m_icon) {
            m_icon->setAnchorPoint(ccp(0.5f, 0.5f));
            const CCSize size = getContentSize();
            m_icon->setPosition(ccp(size.width / 2, size.height / 2));
            addChild(m_icon);
        }
    }
    if (callback) {
        callback->retain();
        if (m_callback)
            m_callback->release();
        m_callback = callback;
    }
    return made;
}

bool GUIButton::initWithLabel(CCObject* callback)
{
    CCSprite::init();
    m_enabled = true;
    m_activateDelayed = false;
    setAnchorPoint(ccp(0.5f, 0.5f));
    addEmptyCaption();
    if (callback) {
        callback->retain();
        if (m_callback)
            m_callback->release();
        m_callback = callback;
    }
    return true;
}

void GUIButton::setCallback(CCObject* callback)
{
    if (callback)
        callback->retain();
    if (m_callback)
        m_callback->release();
    m_callback = callback;
}

CCRect GUIButton::getHitRect()
{
    const CCSize size = getContentSize();
    const CCPoint anchor = getAnchorPoint();
    const CCPoint position = getPosition();
    return CCRect(position.x - anchor.x * size.width, position.y - anchor.y * size.height, size.width, size.height);
}

void GUIButton::activate()
{
    if (ScreenUtils::getInstance()->isBusy()) {
        setPressed(false);
        return;
    }
    if (!m_enabled)
        return;
    if (m_activateDelayed) {
        activateAfterDelay(0.05f);
        return;
    }
    if (m_callback)
        executeAction(m_callback);
}

void GUIButton::activateAfterDelay(float seconds)
{
    if (ScreenUtils::getInstance()->isBusy()) {
        setPressed(false);
        return;
    }
    if (!m_enabled)
        return;
    CCScene* scene = CCDirector::sharedDirector()->getRunningScene();
    if (!scene)
        return;  // nothing would ever fire it
    ScreenUtils::getInstance()->setBusy(true);
    auto* fire = new DelayedFire(this);
    scene->runAction(CCSequence::create(CCDelayTime::create(seconds),
                                        CCCallFunc::create(fire, callfunc_selector(DelayedFire::fire)), nullptr));
    fire->release();  // the action holds it now
}

void GUIButton::fireDelayed()
{
    ScreenUtils::getInstance()->setBusy(false);
    setPressed(false);
    if (m_enabled && m_callback)
        executeAction(m_callback);
}

void GUIButton::setIcon(const char* frameName)
{
    removeAllChildrenWithCleanup(true);
    m_icon = CCSprite::createWithSpriteFrameName(frameName ? frameName : "");
    if (!m_icon)
        return;
    m_icon->setAnchorPoint(ccp(0.5f, 0.5f));
    const CCSize size = getContentSize();
    m_icon->setPosition(ccp(size.width / 2 + m_offset.x, size.height / 2 + m_offset.y));
    addChild(m_icon);
}

bool GUIButton::toggle()
{
    m_toggled = !m_toggled;
    if (m_icon)
        m_icon->setVisible(m_toggled);
    return m_toggled;
}

void GUIButton::setText(CCString* text, float size, const CCPoint& position, const CCPoint& anchor,
                        const ccColor3B& colour)
{
    if (m_label) {
        removeChild(m_label, true);
        m_label->release();
        m_label = nullptr;
    }
    GUILabel* caption = GUILabel::create();
    caption->setText(text);
    caption->setAnchorPoint(anchor);
    caption->setPosition(position);
    caption->setScale(size / GUILabel::fontSize);
    caption->setColor(colour);
    caption->retain();
    m_label = caption;
    addChild(caption);
}

void GUIButton::setText(CCString* text, float size, const CCPoint& position)
{
    CCPoint anchor = CCPointZero;
    ccColor3B colour{0, 0, 0};
    if (m_label) {
        anchor = m_label->getAnchorPoint();
        colour = m_label->getColor();
    }
    setText(text, size, position, anchor, colour);
}

void GUIButton::setText(CCString* text, float size)
{
    // A copy: the old caption, and its position with it, goes before the new
    // one is placed.
    const CCPoint position = m_label ? m_label->getPosition() : CCPointZero;
    setText(text, size, position);
}

void GUIButton::setText(CCString* text)
{
    const float scale = m_label ? m_label->getScale() : 1.0f;
    setText(text, scale * GUILabel::fontSize);
    m_label->setScale(scale);  // exactly the old scale, whatever the font size
}

void GUIButton::fitCaption(float margin)
{
    if (!m_label)
        return;
    m_label->shrinkToWidth(getContentSize().width - 2 * margin);
}

void GUIButton::setIconAt(const char* frameName, const CCPoint& position)
{
    m_icon = CCSprite::createWithSpriteFrameName(frameName ? frameName : "");
    if (!m_icon)
        return;
    m_icon->setAnchorPoint(ccp(0.5f, 0.5f));
    m_icon->setPosition(position);
    m_icon->setVisible(m_toggled);
    addChild(m_icon);
}

CCString* GUIButton::getText()
{
    if (m_label && m_label->getText())
        return m_label->getText();
    return CCString::create("");
}

void GUIButton::removeIcon()
{
    if (m_icon)
        removeChild(m_icon, true);
    m_icon = nullptr;
}

void GUIButton::applyTint(const ccColor3B& tint)
{
    setColor(tint);
}

void GUIButton::setPressed(bool pressed)
{
    if (!m_enabled)
        return;
    m_pressed = pressed;
    applyTint(pressed ? kPressedTint : (m_selected ? kSelectedTint : kPlainTint));
}

void GUIButton::setSelected(bool selected)
{
    if (!m_enabled)
        return;
    m_selected = selected;
    applyTint(selected ? kSelectedTint : (m_pressed ? kPressedTint : kPlainTint));
}

void GUIButton::setToggled(bool toggled)
{
    m_toggled = toggled;
    if (m_icon)
        m_icon->setVisible(toggled);
}
