#include "app/ScreenUtils.h"

#include "app/Logger.h"

USING_NS_CC;

ScreenUtils* ScreenUtils::getInstance()
{
    static ScreenUtils* instance = [] {
        auto* made = new ScreenUtils();
        made->setBusy(false);
        made->setCurrentWindow(nullptr);
        return made;
    }();
    return instance;
}

bool ScreenUtils::isBusy()
{
    return m_busy;
}

void ScreenUtils::setBusy(bool busy)
{
    m_busy = busy;
}

GUIWindow* ScreenUtils::getCurrentWindow()
{
    return m_currentWindow;
}

void ScreenUtils::setCurrentWindow(GUIWindow* window)
{
    m_currentWindow = window;
}

void ScreenUtils::forgetWindow(GUIWindow* window)
{
    if (!window)
        return;
    if (m_currentWindow == window)
        m_currentWindow = nullptr;
    if (savedWindow == window)
        savedWindow = nullptr;
}

void ScreenUtils::showNicknameKeyboard(CCString* text, CCObject*)
{
    LOG << "not built yet: nickname keyboard" << (text ? text->getString() : std::string());
}

void ScreenUtils::showPopup(CCString* text, CCObject*, SEL_CallFunc, CCObject*, SEL_CallFunc, int kind)
{
    LOG << "not built yet: popup of kind" << kind << (text ? text->getString() : std::string());
}
