#include "platform/GameClock.h"

#include <ctime>

namespace platform {
namespace {
bool g_manual = false;
int64_t g_manualTime = 0;
}  // namespace

int64_t gameTime()
{
    if (g_manual)
        return g_manualTime;
    return static_cast<int64_t>(std::time(nullptr));
}

void setManualGameTime(int64_t seconds)
{
    g_manual = true;
    g_manualTime = seconds;
}

void advanceManualGameTime(int64_t seconds)
{
    g_manualTime += seconds;
}

void clearManualGameTime()
{
    g_manual = false;
}

}  // namespace platform
