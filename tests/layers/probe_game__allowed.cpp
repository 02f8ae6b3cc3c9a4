// The game sees every layer below it.
#include "app/Logger.h"
#include "hud/GUI.h"
#include "online/ServerLink.h"
#include "world/GameHost.h"
#include "world/GameLayer.h"
