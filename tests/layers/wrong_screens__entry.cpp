// The screens do not see the application entry above them.
#include "app/AppDelegate.h"
