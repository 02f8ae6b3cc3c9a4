#include "app/ScreenUtils.h"

#include "app/Logger.h"

USING_NS_CC;

ScreenUtils* ScreenUtils::getInstance()
{
    static ScreenUtils* instance = new ScreenUtils();
    return instance;
}

void ScreenUtils::showNicknameKeyboard(CCString* text, CCObject*)
{
    LOG << "not built yet: nickname keyboard" << (text ? text->getString() : std::string());
}

void ScreenUtils::showPopup(CCString* text, CCObject*, SEL_CallFunc, CCObject*, SEL_CallFunc, int kind)
{
    LOG << "not built yet: popup of kind" << kind << (text ? text->getString() : std::string());
}
