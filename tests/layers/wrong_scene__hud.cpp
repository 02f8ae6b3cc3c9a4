// The scene does not see its HUD: it asks it through SceneHud.
#include "hud/GUITopBar.h"
