#pragma once
// Ten sensors that turn a condition of their surroundings into current:
// once a cycle (8 updates, the LED sensor 32) a sensor runs its test and,
// when it holds, puts a pulse head on its own cell, a conductor like Metal's.
// Over the cycle its colour fades from its own row toward row 34, written
// straight to the texture. The phase (counter) is saved.
#include "elements/materials/Element.h"

// clang-format off
//                                          type name         dens blast factor colour rows start row         sound
inline constexpr ElementInfo kColdSensorInfo     {"ColdSensor",     0, 0.9f, 0.8f, {34, 133}, StartRow::Second, "sfx_element_sensor"};
inline constexpr ElementInfo kVeryColdSensorInfo {"VeryColdSensor", 0, 0.9f, 0.8f, {34, 132}, StartRow::Second, "sfx_element_sensor"};
inline constexpr ElementInfo kNormalSensorInfo   {"NormalSensor",   0, 0.9f, 0.8f, {34, 134}, StartRow::Second, "sfx_element_sensor"};
inline constexpr ElementInfo kHotSensorInfo      {"HotSensor",      0, 0.9f, 0.8f, {34, 135}, StartRow::Second, "sfx_element_sensor"};
inline constexpr ElementInfo kVeryHotSensorInfo  {"VeryHotSensor",  0, 0.9f, 0.8f, {34, 136}, StartRow::Second, "sfx_element_sensor"};
inline constexpr ElementInfo kGasSensorInfo      {"GasSensor",      0, 0.9f, 0.8f, {34, 142}, StartRow::Second, "sfx_element_sensor"};
inline constexpr ElementInfo kLiquidSensorInfo   {"LiquidSensor",   0, 0.9f, 0.8f, {34, 131}, StartRow::Second, "sfx_element_sensor"};
inline constexpr ElementInfo kHumanSensorInfo    {"HumanSensor",    0, 0.9f, 0.8f, {34, 131}, StartRow::Second, "sfx_element_sensor"};
inline constexpr ElementInfo kLightSensorInfo    {"LightSensor",    0, 0.9f, 0.8f, {34, 130}, StartRow::Second, "sfx_element_sensor"};
inline constexpr ElementInfo kLedSensorInfo      {"LedSensor",      0, 0.9f, 0.8f, {34, 154}, StartRow::Second, "sfx_element_sensor"};
// clang-format on

// The temperature bands; they meet and overlap at their ends.
namespace SensorBand {
constexpr int kVeryColdTop = -2430;
constexpr int kColdTop = 173;
constexpr int kNormalTop = 353;
constexpr int kHotTop = 2520;
constexpr int kVeryHotBottom = 2430;
constexpr int32_t kBrightAbove = 230;
}  // namespace SensorBand

class SensorBase : public MaterialParticle {
public:
    static constexpr int32_t kSaveBytes = 4;
    static constexpr int32_t kPeriod = 8;

    ~SensorBase() override;
    void setPosition(int cx, int cy) override;  // the conductor marking
    int32_t getSaveSize() const override { return kSaveBytes; }
    void saveExtra(ByteWriter& out) override;
    // A counter outside the cycle (which would take the blink colour out of
    // 0..255) loads as 0.
    void loadExtra(ByteReader& in) override;
    void update() override;
    // The sensor's condition; run once a cycle.
    virtual bool test() { return false; }

    int32_t period = kPeriod;
    int32_t counter = 0;  // 0 .. period - 1

protected:
    virtual cocos2d::ccColor4B rowColour(int index) const = 0;
};

// Each sensor's test, on the sensor's cell.
namespace SensorTest {
bool cold(const Particle& s);
bool veryCold(const Particle& s);
bool normal(const Particle& s);
bool hot(const Particle& s);
bool veryHot(const Particle& s);
bool gas(const Particle& s);
bool liquid(const Particle& s);
bool human(const Particle& s);
bool light(const Particle& s);
bool led(const Particle& s);
}  // namespace SensorTest

template <const ElementInfo& Info, bool (*Test)(const Particle&), int32_t Period = SensorBase::kPeriod>
class Sensor : public Element<Info, SensorBase> {
public:
    Sensor() { this->period = Period; }
    bool test() override { return Test(*this); }

protected:
    cocos2d::ccColor4B rowColour(int index) const override { return this->colorAtIndex(index); }
};

using ColdSensor = Sensor<kColdSensorInfo, SensorTest::cold>;
using VeryColdSensor = Sensor<kVeryColdSensorInfo, SensorTest::veryCold>;
using NormalSensor = Sensor<kNormalSensorInfo, SensorTest::normal>;
using HotSensor = Sensor<kHotSensorInfo, SensorTest::hot>;
using VeryHotSensor = Sensor<kVeryHotSensorInfo, SensorTest::veryHot>;
using GasSensor = Sensor<kGasSensorInfo, SensorTest::gas>;
using LiquidSensor = Sensor<kLiquidSensorInfo, SensorTest::liquid>;
using HumanSensor = Sensor<kHumanSensorInfo, SensorTest::human>;
using LightSensor = Sensor<kLightSensorInfo, SensorTest::light>;
using LedSensor = Sensor<kLedSensorInfo, SensorTest::led, 32>;

// Registers the ten sensors (the base is never made).
void registerSensors();
