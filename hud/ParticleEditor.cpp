#include "hud/ParticleEditor.h"

#include "app/Logger.h"

void ParticleEditor::particleDestroyed()
{
    particle = nullptr;
    // The window itself is not built yet, so there is nothing to remove.
    LOG << "ParticleEditor window not built yet; nothing to close";
}

void ParticleEditor::close()
{
    particle = nullptr;
    LOG << "ParticleEditor window not built yet; nothing to close";
}
