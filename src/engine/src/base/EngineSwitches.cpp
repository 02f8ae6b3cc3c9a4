#include "base/EngineSwitches.h"

#include <cstdlib>
#include <cstring>

#include "base/EngineLog.h"

namespace cocos2d {

bool fixedStepWanted()
{
    const char* text = std::getenv("ENGINE_FIXED_STEP");
    if (!text || !*text || std::strcmp(text, "0") == 0) {
        return false;
    }
    if (std::strcmp(text, "1") != 0) {
        engineLog("ENGINE_FIXED_STEP=%s ignored: 1 or 0", text);
        return false;
    }
    return true;
}

}  // namespace cocos2d
