#pragma once
// Creature guns fire through the laser element's beam tracer. The creatures
// reach it through this one function; tests put a tracer of their own in
// its place (null goes back to the laser's).
using LaserBeamTracer = void (*)(int x, int y, int dx, int dy, int colourRow);
void setLaserBeamTracer(LaserBeamTracer tracer);
// Traces one beam from (x, y) along (dx, dy) in the colour-table row.
void traceLaserBeam(int x, int y, int dx, int dy, int colourRow);
