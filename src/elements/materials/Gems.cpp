#include "elements/materials/Gems.h"

void startGemSparkle(Particle& gem, GemSparkle& s)
{
    if (!s.rising && !s.fading)
        s.baseColour = gem.color;
    s.rising = true;
    s.fading = false;
    s.white = gameRand() % GemSparkle::kWhiteChance == 0;
}

void blendGemSparkle(Particle& gem, GemSparkle& s)
{
    auto blend = [&s](uint8_t base, uint8_t target) {
        const float b = base;
        return static_cast<uint8_t>(static_cast<int>(b + (static_cast<float>(target) - b) * s.sparkle));
    };
    const cocos2d::ccColor4B& t = s.sparkleColour;
    gem.color.r = blend(s.baseColour.r, s.white ? 255 : t.r);
    gem.color.g = blend(s.baseColour.g, s.white ? 255 : t.g);
    gem.color.b = blend(s.baseColour.b, s.white ? 255 : t.b);
    gem.redraw();
}

template <const ElementInfo& Info> void Gem<Info>::update()
{
    GemSparkle& s = state;
    if (s.fresh) {
        // A gem takes its resting shade on its first update (the base keeps
        // the constructor's colour until a sparkle starts).
        s.fresh = false;
        this->color = this->colorAtIndex(gameRand() % 2);
        this->redraw();
        return;
    }
    const int alike = this->countNeighboursOfType(this->kTypeId);
    const int chance = alike < GemSparkle::kPile ? GemSparkle::kLoneChance : GemSparkle::kPileChance;
    if (gameRand() % chance == 0)
        startGemSparkle(*this, s);
    if (s.rising) {
        s.sparkle += GemSparkle::kStep;
        if (s.sparkle > 1.0f) {
            s.sparkle = 1.0f;
            s.rising = false;
            s.fading = true;
        }
        blendGemSparkle(*this, s);
    } else if (s.fading) {
        s.sparkle -= GemSparkle::kStep;
        if (s.sparkle > 0.0f) {
            blendGemSparkle(*this, s);
        } else {
            s.sparkle = 0.0f;
            this->color = s.baseColour;
            s.fading = false;
            this->redraw();
        }
    }
    this->fall();
}

template class Gem<kAmatistInfo>;
template class Gem<kCitrineInfo>;
template class Gem<kDiamondInfo>;
template class Gem<kEmeraldInfo>;
template class Gem<kLapislazuliInfo>;
template class Gem<kObsidianInfo>;
template class Gem<kRubyInfo>;
template class Gem<kSapphireInfo>;
template class Gem<kZirconInfo>;

void registerGems()
{
    registerElements<Amatist, Citrine, Diamond, Emerald, Lapislazuli, Obsidian, Ruby, Sapphire, Zircon>();
}
