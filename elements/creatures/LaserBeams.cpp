#include "elements/creatures/LaserBeams.h"

#include "app/Logger.h"

namespace {
LaserBeamTracer gTracer = nullptr;
bool gToldMissing = false;
}  // namespace

void setLaserBeamTracer(LaserBeamTracer tracer)
{
    gTracer = tracer;
}

void traceLaserBeam(int x, int y, int dx, int dy, int colourRow)
{
    if (gTracer) {
        gTracer(x, y, dx, dy, colourRow);
        return;
    }
    if (!gToldMissing) {
        gToldMissing = true;
        LOG << "not built yet: laser beams of the laser element; creature guns fire nothing";
    }
}
