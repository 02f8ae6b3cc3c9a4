#include "platform/GameRandom.h"

#include <cstdlib>

namespace platform {
namespace {
std::vector<int> g_script;
size_t g_scriptPos = 0;
} // namespace

int gameRand()
{
    if (!g_script.empty()) {
        int value = g_script[g_scriptPos];
        g_scriptPos = (g_scriptPos + 1) % g_script.size();
        return value;
    }
    return std::rand();
}

void seedGameRand(unsigned seed)
{
    std::srand(seed);
}

void scriptGameRand(const std::vector<int>& values)
{
    g_script = values;
    g_scriptPos = 0;
}

void clearGameRandScript()
{
    g_script.clear();
    g_scriptPos = 0;
}

} // namespace platform
