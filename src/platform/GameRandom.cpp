#include "platform/GameRandom.h"

#include <cstdlib>
#include <cstring>

namespace platform {
namespace detail {

uint32_t g_words[kEnd];
int g_next = kEnd;

namespace {

std::vector<int> g_script;
size_t g_scriptPos = 0;
bool g_scripted = false;
bool g_seeded = false;
// Where the sequence stands while a script hides it.
int g_heldNext = kEnd;

static_assert(kBatch % 3 == 0);

// Makes the next batch from the kLag words before it.
void refill()
{
    std::memmove(g_words, g_words + kBatch, kLag * sizeof(uint32_t));
    // Three chains, each word three back held in a register: the words
    // written are not read back while the batch is made.
    uint32_t a = g_words[kLag - 3];
    uint32_t b = g_words[kLag - 2];
    uint32_t c = g_words[kLag - 1];
    for (int i = kLag; i < kEnd; i += 3) {
        a += g_words[i - kLag];
        b += g_words[i + 1 - kLag];
        c += g_words[i + 2 - kLag];
        g_words[i] = a;
        g_words[i + 1] = b;
        g_words[i + 2] = c;
    }
    g_next = kLag;
}

// Seeds as srand() does: the C library fills its 128-byte state (the size
// that selects the generator above) and steps it past its start; its ring,
// read from the oldest word on, is the history of the first batch.
void seed(unsigned value)
{
    char state[128];
    random_data data;
    std::memset(&data, 0, sizeof data);
    initstate_r(value, state, sizeof state, &data);
    const int32_t* ring = data.state;
    const int oldest = static_cast<int>(data.fptr - ring);
    for (int k = 0; k < kLag; ++k)
        g_words[kBatch + k] = static_cast<uint32_t>(ring[(oldest + k) % kLag]);
    refill();
    g_seeded = true;
}

int nextScripted(bool consume)
{
    const int value = g_script[g_scriptPos];
    if (consume)
        g_scriptPos = (g_scriptPos + 1) % g_script.size();
    return value;
}

// Seeds during static initialisation, so gameRand() works before main.
struct Seeder {
    Seeder()
    {
        if (!g_seeded)
            seed(1);
    }
} g_seeder;

}  // namespace

int slowDraw(bool consume)
{
    if (g_scripted)
        return nextScripted(consume);
    if (!g_seeded)
        seed(1);
    if (g_next >= kEnd)
        refill();
    const int value = static_cast<int>(g_words[g_next] >> 1);
    g_next += static_cast<int>(consume);
    return value;
}

}  // namespace detail

using namespace detail;

void seedGameRand(unsigned value)
{
    seed(value);
    if (g_scripted) {
        g_heldNext = g_next;
        g_next = kEnd;
    }
}

void scriptGameRand(const std::vector<int>& values)
{
    if (values.empty()) {
        clearGameRandScript();
        return;
    }
    if (!g_scripted)
        g_heldNext = g_next;
    g_script = values;
    g_scriptPos = 0;
    g_scripted = true;
    g_next = kEnd;
}

void clearGameRandScript()
{
    g_script.clear();
    g_scriptPos = 0;
    if (g_scripted)
        g_next = g_heldNext;
    g_scripted = false;
}

}  // namespace platform
