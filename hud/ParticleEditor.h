#pragma once
// ParticleEditor: the editor window of one particle. Not built yet: only the
// link to the edited particle exists, which the particle clears when it is
// destroyed. Closing the window (removal from its parent) comes with the
// editor windows themselves.
class Particle;

class ParticleEditor {
public:
    virtual ~ParticleEditor() = default;

    // The edited particle is being destroyed: forget it and close.
    virtual void particleDestroyed();
    // Closes the window.
    virtual void close();

    Particle* particle = nullptr;
};
