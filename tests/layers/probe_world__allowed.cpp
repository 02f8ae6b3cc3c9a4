// The world layer sees the base services, its own headers and the elements.
#include "base/Logger.h"
#include "profile/Profile.h"
#include "elements/materials/Element.h"
#include "world/World.h"
#include "world/WorldHost.h"
