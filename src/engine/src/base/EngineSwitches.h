#pragma once
// Internal: environment switches read in more than one place of the layer.

namespace cocos2d {

// ENGINE_FIXED_STEP=1: every frame is exactly 1/60 s, the loop never waits,
// and sound keeps the director's clock (silent), so an unattended run does
// the same thing at any speed. Other values than 1 and 0 are logged, off.
bool fixedStepWanted();

}  // namespace cocos2d
