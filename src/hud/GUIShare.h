#pragma once
// GUIShare: the share popup of the camera button. NOT BUILT YET: building
// its content logs once that it is missing and slides the empty popup out.
#include "cocos2d.h"
#include "gui/GUIWindow.h"

class GUIShare : public GUIWindow {
public:
    static GUIShare* create(cocos2d::CCSize size);
    void buildContent(cocos2d::CCObject* first, cocos2d::CCObject* second);
};
