#include "scene/GameLayer.h"
// The server never reaches the game.
