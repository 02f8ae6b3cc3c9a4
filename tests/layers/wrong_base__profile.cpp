#include "profile/Profile.h"
// The profile is part of the world layer, above the base services.
