// The campaigns do not see the game scene.
#include "scene/GameLayer.h"
