#include "app/SaveLoadUtils.h"

namespace {
bool g_freePlay = false;
}

bool SaveLoadUtils::isFreePlay()
{
    return g_freePlay;
}

void SaveLoadUtils::setFreePlay(bool freePlay)
{
    g_freePlay = freePlay;
}
