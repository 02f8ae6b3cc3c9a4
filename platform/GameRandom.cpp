#include "platform/GameRandom.h"

namespace platform {
namespace detail {

namespace {
// 128 bytes of state: the same generator type that rand() uses by default.
char g_stateBuffer[128];
std::vector<int> g_script;
size_t g_scriptPos = 0;

// Seeds the state during static initialisation, so gameRand() works before main.
struct Seeder {
    Seeder() { ensureSeeded(); }
} g_seeder;
} // namespace

bool g_scripted = false;
random_data g_randomState;

void ensureSeeded()
{
    static bool seeded = false;
    if (seeded)
        return;
    seeded = true;
    g_randomState.state = nullptr;
    // 128 bytes select the additive generator that gameRand() draws inline.
    initstate_r(1, g_stateBuffer, sizeof g_stateBuffer, &g_randomState);
}

int nextScripted()
{
    int value = g_script[g_scriptPos];
    g_scriptPos = (g_scriptPos + 1) % g_script.size();
    return value;
}

} // namespace detail

void seedGameRand(unsigned seed)
{
    detail::ensureSeeded();
    srandom_r(seed, &detail::g_randomState);
}

void scriptGameRand(const std::vector<int>& values)
{
    detail::g_script = values;
    detail::g_scriptPos = 0;
    detail::g_scripted = !values.empty();
}

void clearGameRandScript()
{
    detail::g_script.clear();
    detail::g_scriptPos = 0;
    detail::g_scripted = false;
}

} // namespace platform
