#pragma once
// GUIBackgrounds: the background gallery window. NOT BUILT YET: building
// it logs once that the gallery is missing and slides the empty window out.
#include "cocos2d.h"
#include "gui/GUIWindow.h"

class GUIBackgrounds : public GUIWindow {
public:
    static GUIBackgrounds* create(cocos2d::CCSize size);
    void buildWindow();
};
