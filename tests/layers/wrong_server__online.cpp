#include "online/ServerLink.h"
// The server shares base and world with the game, and nothing above them.
