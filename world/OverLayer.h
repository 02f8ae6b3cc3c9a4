#pragma once
// OverLayer: the layer drawn over the world (creature markers and similar
// overlays). NOT BUILT YET: an empty layer that the world adds to the game
// layer and shows or hides with the zoom; what it draws comes with its own
// work.
#include "cocos2d.h"

class OverLayer : public cocos2d::CCLayer {
public:
    OverLayer() = default;
};
