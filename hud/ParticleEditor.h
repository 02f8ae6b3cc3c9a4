#pragma once
// ParticleEditor: the editor window of one particle. Not built yet: only the
// link to the edited particle exists, which the particle clears when it is
// destroyed. Closing the window (removal from its parent) comes with the
// editor windows themselves.
#include "gui/GUIWindow.h"

class Particle;

class ParticleEditor : public GUIWindow {
public:
    ~ParticleEditor() override = default;

    // The edited particle is being destroyed: forget it and close.
    void particleDestroyed();

    Particle* particle = nullptr;
};
