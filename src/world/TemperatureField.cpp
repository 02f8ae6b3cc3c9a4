#include "world/TemperatureField.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "world/ByteStream.h"
#include "world/FieldOverlay.h"
#include "world/WorldHost.h"

USING_NS_CC;

namespace {

constexpr ccColor4B kClear{0, 0, 0, 0};
constexpr float kRelaxStep = 30.0f;

// Four field cells of a row at once. Each lane does exactly the scalar
// arithmetic (IEEE sums in the same order, a true division), and the selects
// are what the scalar code's branches chose, so the values do not change.
using Lanes = float __attribute__((vector_size(16)));

Lanes loadLanes(const float* p)
{
    Lanes v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

void storeLanes(float* p, Lanes v)
{
    std::memcpy(p, &v, sizeof v);
}

Lanes select(decltype(Lanes{} < Lanes{}) mask, Lanes a, Lanes b)
{
    return mask ? a : b;
}
float select(bool mask, float a, float b)
{
    return mask ? a : b;
}

// The mean of a cell and its four neighbours, clamped to the scale, moved
// kRelaxStep toward the ambient or onto it when that close.
template <class T> T relax(T mean, float ambientValue)
{
    const T ambient = T{} + ambientValue;
    const T lowest = T{} + TemperatureField::kMin;
    const T highest = T{} + TemperatureField::kMax;
    const T step = T{} + kRelaxStep;
    const T v = select(mean < lowest, lowest, select(mean > highest, highest, mean));
    const T d = v - ambient;
    const T stepped = select(v > ambient, v - step, v + step);
    return select((d < step) & (d > -step), ambient, stepped);
}

// The HUD holds the level.
int hudTemperatureLevel()
{
    return worldHost().temperatureLevel();
}
void setHudTemperatureLevel(int level)
{
    worldHost().refreshTemperature(level);
}

}  // namespace

TemperatureField::TemperatureField()
    : overlay_(std::make_unique<FieldOverlay>(kWidth, kHeight, 2.0f, kClear)),
      a_(static_cast<size_t>(kWidth) * kHeight, static_cast<float>(kRoomTemperature)),
      b_(static_cast<size_t>(kWidth) * kHeight, static_cast<float>(kRoomTemperature)), current_(a_.data())
{
    std::fill(std::begin(rowMax_), std::end(rowMax_), static_cast<float>(kRoomTemperature));
}

TemperatureField::~TemperatureField() = default;

int TemperatureField::ambientForLevel(int level)
{
    switch (level) {
    case 1: return -2550;
    case 2: return -300;
    case 4: return 400;
    case 5: return 2550;
    default: return kRoomTemperature;
    }
}

float TemperatureField::ambientOutside() const
{
    return static_cast<float>(ambientForLevel(hudTemperatureLevel()));
}

void TemperatureField::reset()
{
    ++bulkChanges_;
    setHudTemperatureLevel(3);
    std::fill(a_.begin(), a_.end(), static_cast<float>(kRoomTemperature));
    std::fill(b_.begin(), b_.end(), static_cast<float>(kRoomTemperature));
    std::fill(std::begin(rowMax_), std::end(rowMax_), kMax);
    overlay_->fill(kClear);
    overlay_->flush();
}

void TemperatureField::step()
{
    ++bulkChanges_;
    ambient_ = ambientForLevel(hudTemperatureLevel());
    const float ambient = static_cast<float>(ambient_);
    const Buffer& c = current();
    Buffer& n = next();

    for (int y = 1; y < kHeight - 1; ++y) {
        const float* below = c.data() + index(0, y - 1);
        const float* mid = c.data() + index(0, y);
        const float* above = c.data() + index(0, y + 1);
        float* out = n.data() + index(0, y);
        Lanes highest = Lanes{} + kMin;
        int x = 1;
        for (; x + 4 <= kWidth - 1; x += 4) {
            const Lanes mean = (loadLanes(mid + x - 1) + loadLanes(mid + x + 1) + loadLanes(below + x) +
                                loadLanes(above + x) + loadLanes(mid + x)) /
                5.0f;
            const Lanes value = relax(mean, ambient);
            storeLanes(out + x, value);
            highest = select(value > highest, value, highest);
        }
        float rowHighest = std::max(std::max(highest[0], highest[1]), std::max(highest[2], highest[3]));
        for (; x < kWidth - 1; ++x) {
            const float mean = (mid[x - 1] + mid[x + 1] + below[x] + above[x] + mid[x]) / 5.0f;
            out[x] = relax(mean, ambient);
            rowHighest = std::max(rowHighest, out[x]);
        }
        rowMax_[y] = rowHighest;
    }
    // The edge rows and columns copy their neighbours.
    rowMax_[0] = rowMax_[1];
    rowMax_[kHeight - 1] = rowMax_[kHeight - 2];
    for (int x = 0; x < kWidth; ++x) {
        n[index(x, 0)] = n[index(x, 1)];
        n[index(x, kHeight - 1)] = n[index(x, kHeight - 2)];
    }
    for (int y = 0; y < kHeight; ++y) {
        n[index(0, y)] = n[index(1, y)];
        n[index(kWidth - 1, y)] = n[index(kWidth - 2, y)];
    }
    aIsCurrent_ = !aIsCurrent_;
    current_ = current().data();

    if (viewOn_) {
        repaint();
        overlay_->flush();
    }
}

void TemperatureField::repaint()
{
    const Buffer& c = current();
    for (int x = 0; x < kWidth; ++x) {
        for (int y = 0; y < kHeight; ++y) {
            const float t = c[index(x, y)];
            ccColor4B colour;
            if (t > kRoomTemperature) {
                const auto a = static_cast<uint8_t>(static_cast<int>(100.0f * (t - kRoomTemperature) / 2257.0f));
                colour = ccColor4B{255, 0, 0, a};
            } else {
                const float d = (t - kRoomTemperature) / -2843.0f;
                const auto r = static_cast<uint8_t>(static_cast<int>(128.0f * d));
                const auto a = static_cast<uint8_t>(static_cast<int>(100.0f * d));
                colour = ccColor4B{r, r, 255, a};
            }
            overlay_->setPixel(x, y, colour);
        }
    }
}

void TemperatureField::setViewOn(bool on)
{
    viewOn_ = on;
    overlay_->setVisible(on);
    if (on) {
        // A paused world does not step, so paint now rather than show a stale picture.
        repaint();
        overlay_->flush();
    }
}

cocos2d::CCSprite* TemperatureField::getSprite() const
{
    return overlay_->sprite();
}

void TemperatureField::flushOverlay()
{
    overlay_->flush();
}

int32_t TemperatureField::save(std::vector<uint8_t>& out) const
{
    if (!out.empty())
        return 0;
    out.reserve(kSectionLength);
    ByteWriter w(out);
    w.i32(kSavedCount);
    int32_t written = 0;
    for (int x = 0; x < kWidth; ++x) {
        for (int y = 0; y < kHeight; ++y) {
            w.i32(static_cast<int32_t>(getAt(x, y)));
            ++written;
        }
    }
    // The rest of the section is never read back; room temperature keeps it
    // harmless for any reader that does.
    for (; written < kSavedCount; ++written)
        w.i32(kRoomTemperature);
    return kSectionLength;
}

int32_t TemperatureField::load(const uint8_t* data, size_t available)
{
    ++bulkChanges_;
    if (!data)
        return 0;
    reset();
    ByteReader r(data, available);
    int32_t count = 0;
    if (!r.i32(count) || count < 0)
        return 0;
    const int64_t length = 4 + 4 * static_cast<int64_t>(count);
    if (length > static_cast<int64_t>(available) || length > INT32_MAX)
        return 0;
    // The whole section fits (checked above), so the values are read
    // straight from the bytes; (x, y) are taken as world cells, as save
    // wrote them, and always lie inside the field.
    const uint8_t* value = data + 4;
    int32_t read = 0;
    for (int x = 0; x < kWidth && read < count; ++x) {
        for (int y = 0; y < kHeight && read < count; ++y, ++read, value += 4) {
            current_[cellOf(x, y)] = clamp(static_cast<float>(static_cast<int32_t>(loadU32(value))));
        }
    }
    return static_cast<int32_t>(length);
}
