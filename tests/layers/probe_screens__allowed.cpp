// The screens see every game layer below them.
#include "hud/GUI.h"
#include "scene/GameLayer.h"
#include "screens/GameWiring.h"
