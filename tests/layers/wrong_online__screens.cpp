#include "screens/MainMenu.h"
// The server client may not reach the screens.
