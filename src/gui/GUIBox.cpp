#include "gui/GUIBox.h"

#include "gui/Retained.h"
#include "gui/ScreenUtils.h"

USING_NS_CC;

GUIBox::~GUIBox()
{
    setPreviousWindow(nullptr);
}

void GUIBox::setPreviousWindow(GUIWindow* window)
{
    // Never itself: that would leave a window over the world that is no
    // longer there.
    hold(m_previousWindow, window == this ? nullptr : window);
}

void GUIBox::prepare()
{
    GUIWindow* current = ScreenUtils::windowToGiveBack();
    if (current != this)
        setPreviousWindow(current);
    m_answered = false;
    holdPresses();
}

void GUIBox::waitForAnswer(bool openNow)
{
    BackButtonAdapter::getInstance()->addListener(this);
    if (openNow)
        startOpening();
}

bool GUIBox::takeAnswer()
{
    if (m_answered || !getParent())
        return false;
    m_answered = true;
    BackButtonAdapter::getInstance()->removeListener(this);
    return true;
}

void GUIBox::leave()
{
    retain();
    // A window that went meanwhile must not stay current (the world would
    // stay frozen under nothing).
    GUIWindow* previous = m_previousWindow;
    ScreenUtils* screens = ScreenUtils::getInstance();
    if (screens->getCurrentWindow() == this)
        screens->setCurrentWindow(previous && previous->getParent() ? previous : nullptr);
    setPreviousWindow(nullptr);
    removeFromParentAndCleanup(true);
    m_answered = false;
    release();
}

void GUIBox::leftWithScene()
{
    setPreviousWindow(nullptr);
    m_answered = false;
    forgetAnswer();
}

void GUIBox::onBackPressed()
{
    if (takesPresses() && !m_answered)
        answerBackKey();
}

void GUIBox::onTextTyped(const char* text, int len)
{
    if (hasReturn(text, len) && takesPresses() && !m_answered)
        answerReturn();
}

void GUIBox::onExit()
{
    BackButtonAdapter::getInstance()->removeListener(this);
    GUIWindow::onExit();
}
