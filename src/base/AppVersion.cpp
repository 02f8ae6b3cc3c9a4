#include "base/AppVersion.h"

std::string gameVersion;
