#pragma once
// installGameHost: the one place where every seam gets the game's own
// answers. Each layer reaches the layers above it only through a small
// interface of its own, which the layer above implements; this installs
// them all, so it sits at the top of the game, where it sees every one:
//   the world's host and services (world/)  -> GameHost, wireGameServices (hud/)
//   the toolkit's host (gui/)               -> GameGuiHost (hud/)
//   the goals' screen (goals/)              -> GameGoalsUi (hud/)
//   the goals' registration (goals/)        -> the story's and campaigns' (campaigns/)
//   the scene's HUD (scene/)                -> GameSceneHud (hud/)
//   the HUD's front end (hud/)              -> GameFrontEnd (screens/)
// The application calls it first thing; tests call it through their reset.
#include "hud/GameHost.h"

// Installs host (the game's own when null) as the world host, fills every
// GameServices entry from its default, installs the game's side of every
// other seam and clears the stand-ins' state.
void installGameHost(GameHost* host = nullptr);
