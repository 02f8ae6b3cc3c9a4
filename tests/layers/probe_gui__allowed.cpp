// The widgets see the layers below the game: the server client, the world.
#include "online/ServerLink.h"
#include "world/GameServices.h"
#include "gui/GUIWindow.h"
