#include "app/AppVersion.h"

std::string gameVersion;
