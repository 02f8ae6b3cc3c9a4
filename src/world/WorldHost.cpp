#include "world/WorldHost.h"

namespace {
WorldHost plainHost;
}

namespace worldhost_detail {
WorldHost* current = &plainHost;
}

void setWorldHost(WorldHost* host)
{
    worldhost_detail::current = host ? host : &plainHost;
}
