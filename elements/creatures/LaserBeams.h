#pragma once
// Creature guns fire through the laser element's beam tracer. The creatures
// reach it through this one function so that they do not depend on the
// device family; the device family installs the tracer.
using LaserBeamTracer = void (*)(int x, int y, int dx, int dy, int colourRow);
void setLaserBeamTracer(LaserBeamTracer tracer);
// Traces one beam from (x, y) along (dx, dy) in the colour-table row. Says
// once in the log when no tracer is installed, and then fires nothing.
void traceLaserBeam(int x, int y, int dx, int dy, int colourRow);
