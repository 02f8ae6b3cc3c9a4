#pragma once
// OutsideWall: the kind of the world's border. The World keeps one instance
// (never pooled, id -1) in every cell of the outermost ring, so walks along a
// row or column always end and explosion rays stop there (blast factor 0).
// It never moves, burns or updates.
#include "world/Particle.h"

class OutsideWall : public Particle {
public:
    static constexpr uint32_t kTypeId = hashString("OutsideWall");

    OutsideWall();

    uint32_t getType() const override { return kTypeId; }
    int32_t getDensity() const override { return 0; }
    float getBlastFactor() const override { return s_blastFactor; }
    cocos2d::CCArray* getColors() const override;
    std::string getSoundName() const override { return "sfx_element_wall"; }
    float getFactor() const override { return 0.8f; }

private:
    // Class-wide and never set: every ray ends at the border.
    static float s_blastFactor;
};
