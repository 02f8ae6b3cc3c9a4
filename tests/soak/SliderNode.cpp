// gui/GUISlider.h and hud/GUITopBar.h each declare a DrawPanToggle of their
// own, so no file includes both: the player reaches the slider as a node here.
#include "gui/GUISlider.h"

namespace soak {

cocos2d::CCNode* sliderNode(GUISlider* slider)
{
    return slider;
}

}  // namespace soak
