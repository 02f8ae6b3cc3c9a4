#include "elements/materials/Sensors.h"

#include "elements/creatures/CreatureKinds.h"
#include "elements/materials/Leds.h"
#include "elements/materials/Powders.h"
#include "world/ByteStream.h"

SensorBase::~SensorBase()
{
    clearConductorMarking(x, y);
}

void SensorBase::setPosition(int cx, int cy)
{
    moveConductorMarking(x, y, cx, cy);
    Particle::setPosition(cx, cy);
}

void SensorBase::saveExtra(ByteWriter& out)
{
    out.i32(counter);
}

void SensorBase::loadExtra(ByteReader& in)
{
    int32_t loaded = 0;
    if (in.i32(loaded))
        counter = loaded >= 0 && loaded < period ? loaded : 0;
}

void SensorBase::update()
{
    const float f = static_cast<float>(counter) / static_cast<float>(period);
    const float g = 1.0f - f;
    const cocos2d::ccColor4B a = rowColour(0);
    const cocos2d::ccColor4B b = rowColour(1);
    auto mix = [f, g](uint8_t ca, uint8_t cb) {
        return static_cast<uint8_t>(static_cast<int>(static_cast<float>(ca) * f + static_cast<float>(cb) * g));
    };
    color = {mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b), mix(a.a, b.a)};
    redraw();
    if (++counter < period)
        return;
    counter = 0;
    if (test())
        world().electricityGrid.setCell(x, y, ElectricityGrid::kHead);
}

namespace {

int temperatureAt(const Particle& s)
{
    return static_cast<int>(gWorld->temperatureField.getAt(s.x, s.y));
}

// Whether the 3 x 3 block holds one of the kinds.
template <size_t N> bool blockHolds(const Particle& s, const uint32_t (&kinds)[N])
{
    for (uint32_t kind : kinds)
        if (s.findNeighbour(kind))
            return true;
    return false;
}

}  // namespace

namespace SensorTest {

bool cold(const Particle& s)
{
    const int t = temperatureAt(s);
    return t >= SensorBand::kVeryColdTop && t <= SensorBand::kColdTop;
}

bool veryCold(const Particle& s)
{
    return temperatureAt(s) <= SensorBand::kVeryColdTop;
}

bool normal(const Particle& s)
{
    const int t = temperatureAt(s);
    return t >= SensorBand::kColdTop && t <= SensorBand::kNormalTop;
}

bool hot(const Particle& s)
{
    const int t = temperatureAt(s);
    return t >= SensorBand::kNormalTop && t <= SensorBand::kHotTop;
}

bool veryHot(const Particle& s)
{
    return temperatureAt(s) >= SensorBand::kVeryHotBottom;
}

bool gas(const Particle& s)
{
    static constexpr uint32_t kinds[] = {TypeId::Gas, TypeId::Steam, TypeId::Cloud, TypeId::Smoke, TypeId::AcidSteam};
    return blockHolds(s, kinds);
}

bool liquid(const Particle& s)
{
    static constexpr uint32_t kinds[] = {TypeId::Water, TypeId::Lava,      TypeId::Oil,
                                         TypeId::Acid,  TypeId::AcidWater, TypeId::WaxMelt};
    return blockHolds(s, kinds);
}

bool human(const Particle& s)
{
    // A human with no job counts (a body cell without its group reads
    // "loading"); only zombies are not noticed.
    if (Particle* leader = s.findNeighbour(CreatureKind::HumanLeader); leader && !isZombieCell(leader))
        return true;
    Particle* part = s.findNeighbour(CreatureKind::HumanPart);
    return part && !isZombieCell(part);
}

bool light(const Particle& s)
{
    return gWorld->lightMap.getLevelAt(s.x, s.y) > SensorBand::kBrightAbove;
}

bool led(const Particle& s)
{
    for (int cy = s.y - 1; cy <= s.y + 1; ++cy)
        for (int cx = s.x - 1; cx <= s.x + 1; ++cx) {
            const Led* l = Led::ledAt(cx, cy);
            if (l && l->getType() != TypeId::of("Led") && l->glow > Led::kLitAbove)
                return true;
        }
    return false;
}

}  // namespace SensorTest

void registerSensors()
{
    registerElements<ColdSensor, VeryColdSensor, NormalSensor, HotSensor, VeryHotSensor, GasSensor, LiquidSensor,
                     HumanSensor, LightSensor, LedSensor>();
}
