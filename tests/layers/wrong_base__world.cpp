#include "world/World.h"
// The base services know nothing of the world.
