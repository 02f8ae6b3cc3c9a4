#include "elements/creatures/LaserBeams.h"

#include "elements/materials/Lasers.h"

namespace {
LaserBeamTracer gTracer = nullptr;
}  // namespace

void setLaserBeamTracer(LaserBeamTracer tracer)
{
    gTracer = tracer;
}

void traceLaserBeam(int x, int y, int dx, int dy, int colourRow)
{
    if (gTracer)
        gTracer(x, y, dx, dy, colourRow);
    else
        Laser::traceBeam(x, y, dx, dy, colourRow);
}
