#include "gui/GUIBatchNodeMenu.h"

#include <algorithm>

#include "base/ScreenMetrics.h"
#include "gui/GUIButton.h"
#include "gui/GUISlider.h"

USING_NS_CC;

// --- menu --------------------------------------------------------------------

GUIBatchNodeMenu* GUIBatchNodeMenu::create(const char* file, unsigned int capacity)
{
    auto* menu = new GUIBatchNodeMenu();
    if (!menu->initWithFile(file, capacity)) {
        delete menu;
        return nullptr;
    }
    menu->autorelease();
    return menu;
}

GUIBatchNodeMenu::~GUIBatchNodeMenu()
{
    if (m_pressedButton)
        m_pressedButton->release();
}

void GUIBatchNodeMenu::setPressedButton(GUIButton* button)
{
    if (button)
        button->retain();
    if (m_pressedButton)
        m_pressedButton->release();
    m_pressedButton = button;
}

GUIButton* GUIBatchNodeMenu::getPressedButton()
{
    if (m_pressedButton && m_pressedButton->getParent() != this)
        setPressedButton(nullptr);
    return m_pressedButton;
}

void GUIBatchNodeMenu::handleTouchBegan(CCTouch* touch)
{
    m_firedOnPress = false;
    m_touchPoint = touch->getLocation();
    const CCPoint local = convertToNodeSpace(m_touchPoint);
    CCArray* children = getChildren();
    for (int i = static_cast<int>(children->count()) - 1; i >= 0; --i) {
        auto* button = dynamic_cast<GUIButton*>(children->objectAtIndex(static_cast<unsigned>(i)));
        if (!button || !button->boundingBox().containsPoint(local))
            continue;
        if (m_fireOnPress) {
            button->setPressed(true);
            button->activateAfterDelay(0.05f);
            m_firedOnPress = true;
        } else {
            setPressedButton(button);
        }
        break;
    }
    GUIButton* pressed = getPressedButton();
    if (!pressed)
        return;
    if (auto* slider = dynamic_cast<GUISlider*>(pressed))
        slider->handleTouch(touch);
    else
        pressed->setPressed(true);
}

void GUIBatchNodeMenu::handleTouchEnded(CCTouch* touch)
{
    GUIButton* pressed = getPressedButton();
    if (!pressed)
        return;
    pressed->retain();
    setPressedButton(nullptr);
    const CCPoint point = touch->getLocation();
    // The topmost button under the finger, as the press looked for it: a
    // button drawn over another (a field's clear button) gets its release.
    CCArray* children = getChildren();
    for (int i = static_cast<int>(children->count()) - 1; i >= 0; --i) {
        auto* button = dynamic_cast<GUIButton*>(children->objectAtIndex(static_cast<unsigned>(i)));
        if (!button)
            continue;
        const CCPoint local = button->convertToNodeSpace(point);
        const CCRect box = button->boundingBox();
        if (CCRect(0, 0, box.size.width, box.size.height).containsPoint(local)) {
            if (button == pressed)
                button->activate();
            break;
        }
    }
    pressed->setPressed(false);
    pressed->release();
}

// --- borders -------------------------------------------------------------------

namespace {

// A nearest-filtered border sprite scaled to cover a margin of the given
// width over the whole screen height.
CCSprite* borderSprite(const char* path, float marginWidth, float screenHeight)
{
    CCSprite* sprite = CCSprite::create(path);
    if (!sprite)
        return nullptr;
    sprite->getTexture()->setAliasTexParameters();
    sprite->setAnchorPoint(CCPointZero);
    const CCSize image = sprite->getContentSize();
    const float scale = std::max(image.width > 0 ? marginWidth / image.width : 0.0f,
                                 image.height > 0 ? screenHeight / image.height : 0.0f);
    sprite->setScale(scale);
    return sprite;
}

}  // namespace

GUIBorderLayer::GUIBorderLayer()
{
    initWithColor(ccc4(0, 0, 0, 0));
    setZOrder(100);
    const CCSize margin(screenSize.width - visibleSize.width, screenSize.height - visibleSize.height);
    m_left = borderSprite("images/left_border.png", margin.width / 2, screenSize.height);
    m_right = borderSprite("images/right_border.png", margin.width / 2, screenSize.height);
    if (m_left) {
        const float width = m_left->getContentSize().width * m_left->getScale();
        m_left->setPosition(ccp(margin.width / 2 - width, margin.height / 2));
        addChild(m_left);
    }
    if (m_right) {
        m_right->setPosition(ccp(screenSize.width - margin.width / 2, margin.height / 2));
        addChild(m_right);
    }
}
