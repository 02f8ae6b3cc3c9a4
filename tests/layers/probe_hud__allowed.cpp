// The HUD sees the scene and everything below it.
#include "scene/SceneHud.h"
#include "campaigns/Campaigns.h"
#include "hud/GUI.h"
