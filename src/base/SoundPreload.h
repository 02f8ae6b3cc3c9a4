#pragma once
// Start-up: the interface and stroke sounds (every effect directly in the
// "sounds" folder) are decoded on the audio layer's worker, so their first
// play never waits for a decode. Instrument notes decode on first use.
void preloadEffectSounds();
