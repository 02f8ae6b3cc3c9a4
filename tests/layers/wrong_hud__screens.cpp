// The HUD does not see the front end: it asks it through FrontEnd.
#include "screens/MainMenu.h"
