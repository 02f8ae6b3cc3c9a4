// The widgets do not see the game scene: they ask their host (GuiHost).
#include "scene/GameLayer.h"
