#pragma once
// Internal: the layer's failure log. One line on stderr, starting "engine: ",
// written with a single write call so lines from threads never interleave.

#include "cocos2d/ccMacros.h"

namespace cocos2d {

void engineLog(const char* format, ...) CC_FORMAT_PRINTF(1, 2);

// Programming errors: abort in debug builds, a log line in release builds.
void engineFault(const char* format, ...) CC_FORMAT_PRINTF(1, 2);

}  // namespace cocos2d
