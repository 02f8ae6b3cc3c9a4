#include "scene/GameLayer.h"
// The game layer sits above the world even though its files live in world/.
