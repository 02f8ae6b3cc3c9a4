#include "app/AppDelegate.h"
// The application entry is the top: the game does not see it.
