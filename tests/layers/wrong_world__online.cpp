#include "online/ServerLink.h"
// The server client sits above the world.
