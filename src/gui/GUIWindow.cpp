#include "gui/GUIWindow.h"

#include <cmath>

#include "SimpleAudioEngine.h"
#include "base/Logger.h"
#include "gui/ScreenUtils.h"
#include "base/Utils.h"
#include "gui/GUIButton.h"
#include "gui/GUIScroll.h"
#include "gui/GUISlider.h"
#include "gui/GuiHost.h"

USING_NS_CC;

namespace {

void playPopupSound()
{
    CocosDenshion::SimpleAudioEngine::sharedEngine()->playEffect(soundFilePath("sounds", "sfx_gui_popup").c_str(),
                                                                 false);
}

// A copy of the children to walk while callbacks may change the tree.
CCArray* snapshot(CCArray* children)
{
    CCArray* copy = CCArray::createWithCapacity(children->count());
    for (CCObject* object : *children)
        copy->addObject(object);
    return copy;
}

}  // namespace

GUIWindow::~GUIWindow()
{
    ScreenUtils::getInstance()->forgetWindow(this);
    if (m_pressedButton)
        m_pressedButton->release();
    CC_SAFE_RELEASE(m_touchArea);
}

void GUIWindow::setTouchArea(CCNode* area)
{
    CC_SAFE_RETAIN(area);
    CC_SAFE_RELEASE(m_touchArea);
    m_touchArea = area;
}

bool GUIWindow::initWithSize(CCSize size)
{
    bool done = CCLayer::init();
    m_size = size;
    m_state = Closed;
    setPosition(ccp(0, -size.height));
    setVisible(false);
    setTouchEnabled(false);
    setKeypadEnabled(true);
    return done;
}

void GUIWindow::toggle()
{
    if (m_state == Open) {
        playPopupSound();
        close();
        return;
    }
    if (!mayOpenAsCurrent())
        return;
    playPopupSound();
    openAsCurrent();
}

bool GUIWindow::mayOpenAsCurrent() const
{
    if (m_state == Opening)
        return false;
    GUIWindow* current = ScreenUtils::getInstance()->getCurrentWindow();
    return !current || current == this || current->getState() == Closed || current->getState() == Closing;
}

void GUIWindow::openAsCurrent()
{
    open();
    setVisible(true);
    ScreenUtils::getInstance()->setCurrentWindow(this);
}

void GUIWindow::open()
{
    if (m_state != Closed && m_state != Closing)
        return;
    BackButtonAdapter* adapter = BackButtonAdapter::getInstance();
    adapter->removeListener(this);
    adapter->addListener(this);
    stopAllActions();
    runAction(CCSequence::create(CCMoveTo::create(kSlideSeconds, ccp(0, 0)),
                                 CCCallFunc::create(this, callfunc_selector(GUIWindow::slideFinished)), nullptr));
    m_state = Opening;
}

void GUIWindow::close()
{
    if (m_state != Open)
        return;
    BackButtonAdapter::getInstance()->removeListener(this);
    m_state = Closing;
    runAction(CCSequence::create(CCMoveTo::create(kSlideSeconds, ccp(0, -m_size.height)),
                                 CCCallFunc::create(this, callfunc_selector(GUIWindow::slideFinished)), nullptr));
}

void GUIWindow::onExit()
{
    // A scene stops running before its children leave it; a box taken out
    // of a running scene is going as it should.
    CCNode* parent = getParent();
    const bool sceneLeft = goesWithItsScene() && parent && !parent->isRunning();
    CCLayer::onExit();
    if (!sceneLeft)
        return;
    LOG << "a box left with its scene, unanswered";
    BackButtonAdapter::getInstance()->removeListener(this);
    ScreenUtils::getInstance()->forgetWindow(this);
    retain();
    leftWithScene();
    removeFromParentAndCleanup(true);
    release();
}

void GUIWindow::slideFinished()
{
    if (m_state == Opening) {
        m_state = Open;
    } else if (m_state == Closing) {
        m_state = Closed;
        setVisible(false);
        if (m_removeOnClose)
            handOverClosedWindow();
    }
}

void GUIWindow::handOverClosedWindow()
{
    guiHost().closeWindow(this);
}

void GUIWindow::holdPresses()
{
    m_fullyShown = false;
    unschedule(schedule_selector(GUIWindow::finishOpening));
}

void GUIWindow::startOpening()
{
    holdPresses();
    scheduleOnce(schedule_selector(GUIWindow::finishOpening), kOpeningSeconds);
}

void GUIWindow::finishOpening(float)
{
    m_fullyShown = true;
}

void GUIWindow::setPressedButton(GUIButton* button)
{
    if (button)
        button->retain();
    if (m_pressedButton)
        m_pressedButton->release();
    m_pressedButton = button;
}

GUIButton* GUIWindow::livePressedButton()
{
    if (m_pressedButton && !m_pressedButton->getParent())
        setPressedButton(nullptr);
    return m_pressedButton;
}

void GUIWindow::handleTouchBegan(CCTouch* touch)
{
    m_touching = true;
    setPressedButton(nullptr);
    // The whole touch, to its release, answers nothing.
    m_pressIgnored = !takesPresses();
    if (m_pressIgnored) {
        m_touching = false;
        return;
    }
    const CCPoint point = CCDirector::sharedDirector()->convertToGL(touch->getLocationInView());
    m_lastTouchPoint = point;
    if (m_touchArea && m_touchArea->getParent() &&
        !m_touchArea->boundingBox().containsPoint(m_touchArea->getParent()->convertToNodeSpace(point))) {
        m_touching = false;
        onTouchOutside();
        return;
    }
    if (m_buttonContainer) {
        const CCPoint local = m_buttonContainer->convertToNodeSpace(point);
        CCArray* children = m_buttonContainer->getChildren();
        for (int i = static_cast<int>(children->count()) - 1; i >= 0; --i) {
            auto* button = dynamic_cast<GUIButton*>(children->objectAtIndex(static_cast<unsigned>(i)));
            if (button && button->boundingBox().containsPoint(local)) {
                setPressedButton(button);
                break;
            }
        }
    }
    if (m_scroll && m_scroll->getRect().containsPoint(point)) {
        const CCPoint local = m_scroll->convertToNodeSpace(point);
        for (CCObject* object : *m_scroll->getChildren()) {
            auto* button = dynamic_cast<GUIButton*>(object);
            if (button && button->boundingBox().containsPoint(local)) {
                setPressedButton(button);
                break;
            }
        }
        m_scroll->beginTouch();
    }
    GUIButton* pressed = m_pressedButton;
    if (!pressed)
        return;
    if (auto* slider = dynamic_cast<GUISlider*>(pressed)) {
        slider->handleTouch(touch);
        return;
    }
    if (auto* hold = dynamic_cast<GUIDynamicButton*>(pressed)) {
        if (!hold->getHoldingTouch()) {
            if (hold->isTouchInside(touch))
                hold->updateHold(touch);
        } else {
            hold->updateHold(touch);
        }
        return;
    }
    pressed->setPressed(true);
    if (pressed->getActivateDelayed()) {
        setPressedButton(nullptr);
        pressed->activate();
        return;
    }
    if (CCScene* scene = CCDirector::sharedDirector()->getRunningScene())
        scene->runAction(CCSequence::create(CCDelayTime::create(kPressSeconds),
                                            CCCallFunc::create(this, callfunc_selector(GUIWindow::firePressedButton)),
                                            nullptr));
}

void GUIWindow::firePressedButton()
{
    GUIButton* button = livePressedButton();
    if (!button)
        return;
    button->retain();
    setPressedButton(nullptr);
    button->activate();
    button->setPressed(false);
    button->release();
}

void GUIWindow::handleTouchMoved(CCTouch* touch)
{
    if (m_pressIgnored)
        return;
    CCPoint point = touch->getLocation();
    // A held slider follows every move: a drag along it goes sideways, which
    // the move threshold below (made for scrolling) would swallow.
    if (auto* slider = dynamic_cast<GUISlider*>(livePressedButton())) {
        m_touching = false;
        m_lastTouchPoint = point;
        slider->handleTouch(touch);
        return;
    }
    if (m_touching) {
        if (std::fabs(point.y - m_lastTouchPoint.y) < kMoveCancel)
            return;
        m_touching = false;
    }
    if (m_buttonContainer)
        for (CCObject* object : *m_buttonContainer->getChildren())
            if (auto* hold = dynamic_cast<GUIDynamicButton*>(object))
                hold->updateHold(touch);
    if (GUIButton* pressed = livePressedButton()) {
        if (auto* slider = dynamic_cast<GUISlider*>(pressed)) {
            slider->handleTouch(touch);
        } else {
            pressed->setPressed(false);
            setPressedButton(nullptr);
        }
    }
    if (m_scroll) {
        point = touch->getLocation();
        const CCRect rect = m_scroll->getRect();
        if (rect.containsPoint(point) && rect.containsPoint(m_lastTouchPoint))
            m_scroll->handleTouchMoved(point.y - m_lastTouchPoint.y);
        m_lastTouchPoint = point;
    }
}

void GUIWindow::handleTouchEnded(CCTouch* touch)
{
    if (m_pressIgnored) {
        m_pressIgnored = false;
        return;
    }
    if (m_scroll)
        m_scroll->handleTouchEnded();
    const CCPoint point = touch->getLocation();
    GUIButton* pressed = livePressedButton();
    if (pressed)
        pressed->retain();  // a callback may take it out of the tree
    if (m_buttonContainer) {
        CCArray* children = snapshot(m_buttonContainer->getChildren());
        for (CCObject* object : *children) {
            if (auto* hold = dynamic_cast<GUIDynamicButton*>(object)) {
                hold->endHold(touch);
                continue;
            }
            auto* button = dynamic_cast<GUIButton*>(object);
            if (!button || button != pressed || !m_pressedButton)
                continue;
            const CCPoint local = button->convertToNodeSpace(point);
            const CCRect hit = button->getHitRect();
            if (CCRect(0, 0, hit.size.width, hit.size.height).containsPoint(local)) {
                setPressedButton(nullptr);
                button->activate();
            }
        }
    }
    if (pressed && m_pressedButton == pressed && m_scroll && m_scroll->getRect().containsPoint(point)) {
        for (CCObject* object : *snapshot(m_scroll->getChildren())) {
            auto* button = dynamic_cast<GUIButton*>(object);
            if (!button || button != pressed)
                continue;
            const CCPoint inButton = button->convertToNodeSpace(point);
            const CCRect hit = button->getHitRect();
            if (CCRect(0, 0, hit.size.width, hit.size.height).containsPoint(inButton)) {
                setPressedButton(nullptr);
                button->activate();
            }
        }
    }
    if (pressed) {
        pressed->setPressed(false);
        pressed->release();
    }
    setPressedButton(nullptr);
}

void GUIWindow::keyArrowPressed(int code)
{
    if (!m_scroll || BackButtonAdapter::getInstance()->boxInFront(this))
        return;
    switch (code) {
    case 1: m_scroll->handleTouchMoved(-8.0f); break;
    case 2: m_scroll->handleTouchMoved(8.0f); break;
    case 8: m_scroll->handleTouchMoved(-24.0f); break;
    case 9: m_scroll->handleTouchMoved(24.0f); break;
    default: break;
    }
}
