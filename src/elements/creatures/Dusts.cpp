#include "elements/creatures/Dusts.h"

#include <cmath>

#include "elements/creatures/CreatureFamilies.h"

namespace {
uint8_t blendChannel(uint8_t base, uint8_t target, float amount)
{
    const float b = base;
    const long v = std::lround((static_cast<float>(target) - b) * amount + b);
    return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
}
}  // namespace

void BaseDustState::update()
{
    // A dust never rests on anything: it goes the moment it lands, unmoved.
    World& w = world();
    if (y <= 0 || !isEmptyAt(x, y - 1)) {
        removeSelf();
        return;
    }
    recolour();
    if (oneIn(kPhaseChance))
        advancePhase();
    if (oneIn(kGlintChance))
        startGlint();
    if (rising) {
        flash += kFlashStep;
        if (flash > 1.0f) {
            flash = 1.0f;
            rising = false;
            falling = true;
        }
    } else if (falling) {
        flash -= kFlashStep;
        if (flash <= 0.0f) {
            flash = 0.0f;
            falling = false;
            color = baseColour;
            redraw();
            idle = true;
        }
    }
    slide();
    if (w.inWorld(x, y - 1) && isEmptyAt(x, y - 1))
        moveTo(x, y - 1);
}

void BaseDustState::recolour()
{
    if (idle) {
        color.r = blendChannel(baseColour.r, glintColour.r, phase);
        color.g = blendChannel(baseColour.g, glintColour.g, phase);
        color.b = blendChannel(baseColour.b, glintColour.b, phase);
    } else if (sparkle) {
        color.r = blendChannel(baseColour.r, 255, flash);
        color.g = blendChannel(baseColour.g, 255, flash);
        color.b = blendChannel(baseColour.b, 255, flash);
    }
    redraw();
}

void BaseDustState::advancePhase()
{
    if (phase > 6.28f)
        phase = 1.2f;
    phase += static_cast<float>(gameRand() % 314) / 100.0f + 0.2616667f;
}

void BaseDustState::startGlint()
{
    // A glint that restarts mid-way keeps the colour it set out from.
    if (!rising && !falling)
        baseColour = color;
    rising = true;
    falling = false;
    idle = false;
    sparkle = oneIn(kWhiteChance);
}

template class Dust<kBaseDustInfo>;
template class Dust<kWoodcutterDustInfo>;
template class Dust<kHunterDustInfo>;
template class Dust<kMinerDustInfo>;
template class Dust<kBuilderDustInfo>;
template class Dust<kSafariDustInfo>;
template class Dust<kSpacemanDustInfo>;
template class Dust<kZombieDustInfo>;
template class Dust<kRGuardianDustInfo>;
template class Dust<kRHunterDustInfo>;

void registerDusts()
{
    registerElements<WoodcutterDust, HunterDust, MinerDust, BuilderDust, SafariDust, SpacemanDust, ZombieDust,
                     RGuardianDust, RHunterDust>();
}
