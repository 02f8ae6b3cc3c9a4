// The game sees every layer below it.
#include "base/Logger.h"
#include "hud/GUI.h"
#include "online/ServerLink.h"
#include "hud/GameHost.h"
#include "scene/GameLayer.h"
