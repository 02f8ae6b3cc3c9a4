#include "server/ServerLog.h"

#include <ctime>

#include "platform/DebugOutput.h"

void serverLog(const std::string& text)
{
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    gmtime_r(&now, &parts);
    char stamp[32];
    std::strftime(stamp, sizeof(stamp), "%Y-%m-%dT%H:%M:%SZ ", &parts);
    platform::DebugOutput::write(stamp + text + "\n");
}
