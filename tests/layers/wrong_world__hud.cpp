#include "hud/GUI.h"
// The world may not reach up into the HUD: it asks its host.
