// The world blob's format: reading a blob's header, checking a whole blob
// into a load plan, and writing the header. No world is read or changed here.
#include "world/WorldBlob.h"

#include <algorithm>
#include <unordered_map>

#include "base/Logger.h"
#include "world/ByteStream.h"
#include "world/ParticleCreator.h"
#include "world/World.h"  // the grid size limits only

USING_NS_CC;

namespace worldblob {

const char* const kPlaceholderDescription =
    "D1234567890123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890"
    "1234567890123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890"
    "12345678901234567890123456789012345678901234567890123D";

namespace {

constexpr int32_t kLevelAmbients[] = {-2550, -300, 293, 400, 2550};

// Where the sections start and which reader each version uses.
struct VersionLayout {
    size_t sectionStart;
    ParticleReader reader;
};

VersionLayout layoutOf(uint32_t version)
{
    switch (version) {
    case 1: return {12, ParticleReader::A};
    case 2: return {16, ParticleReader::A};
    case 3: return {20, ParticleReader::A};
    case 4: return {20, ParticleReader::B};
    case 5: return {32, ParticleReader::B};
    case 6: return {48, ParticleReader::B};
    case 7: return {52, ParticleReader::B};
    case 8:
    case 9: return {324, ParticleReader::B};
    case 10: return {324, ParticleReader::C};
    default: return {kHeaderSize, ParticleReader::C};
    }
}

int32_t i32At(const uint8_t* p)
{
    return static_cast<int32_t>(loadU32(p));
}

// The header fields of every version; the caller has checked that the blob
// holds at least sectionStart bytes.
void readHeader(const uint8_t* data, BlobHeader& h)
{
    const uint32_t v = h.version;
    if (v >= 2 && v <= 4) {
        h.hasOptions = true;
        h.temperatureView = data[12] != 0;
        h.light = data[13] != 0;
        h.sun = data[14] != 0;
        h.weather = data[15] != 0;
        if (v >= 3) {
            h.hasAmbient = true;
            h.ambient = i32At(data + 16);
        }
    } else if (v >= 5) {
        h.hasOptions = true;
        h.temperatureView = loadU32(data + 12) != 0;
        h.light = loadU32(data + 16) != 0;
        h.sun = loadU32(data + 20) != 0;
        h.weather = loadU32(data + 24) != 0;
        h.hasAmbient = true;
        h.ambient = i32At(data + 28);
        if (v >= 6) {
            // Stored shifted; done in 64 bits so a hostile value cannot overflow.
            const int64_t unshifted = static_cast<int64_t>(h.ambient) - kAmbientShift;
            h.ambient = unshifted < INT32_MIN ? INT32_MIN : static_cast<int32_t>(unshifted);
            h.hasBackground = true;
            h.background = readTextField(data + 32, kTextFieldSize);
        }
        if (v == 7) {
            h.hasBackgroundShown = true;
            h.backgroundShown = loadU32(data + 48) != 0;
        }
        if (v >= 8) {
            h.hasTexts = true;
            h.name = readTextField(data + kNameOffset, kTextFieldSize);
            h.description = readTextField(data + 64, kDescriptionFieldSize);
            h.hasBackgroundShown = true;
            h.backgroundShown = data[320] != 0;
        }
        if (v >= 9) {
            h.hasPaused = true;
            h.paused = data[321] != 0;
        }
        if (v >= 11) {
            h.hasResources = true;
            h.food = i32At(data + 324);
            h.stone = i32At(data + 328);
            h.wood = i32At(data + 332);
        }
    }
}

// Extra-data size of one element class: made once to ask it, leaving no
// trace (a refused blob must leave none). -1 when the factory cannot make
// the type.
int32_t extraSizeOf(uint32_t type)
{
    Particle* p = ParticleCreator::createUnrecorded(type);
    if (!p)
        return -1;
    const int32_t size = p->getSaveSize();
    delete p;
    return size;
}

// The sizes of the classes met while parsing: from a table made beforehand
// when one is given (no element is made then), else asked class by class.
class ExtraSizes {
public:
    explicit ExtraSizes(const ExtraSizeTable* table) : m_table(table) { }

    int32_t of(uint32_t type)
    {
        if (m_table)
            return m_table->of(type);
        auto it = m_sizes.find(type);
        if (it != m_sizes.end())
            return it->second;
        const int32_t size = extraSizeOf(type);
        m_sizes.emplace(type, size);
        return size;
    }

private:
    const ExtraSizeTable* m_table;
    std::unordered_map<uint32_t, int32_t> m_sizes;
};

}  // namespace

ExtraSizeTable ExtraSizeTable::ofEveryElement()
{
    ExtraSizeTable table;
    for (const std::string& name : ParticleCreator::acceptedNames()) {
        const uint32_t type = hashString(name);
        const int32_t size = extraSizeOf(type);
        if (size >= 0)
            table.m_sizes.emplace(type, size);
    }
    return table;
}

int32_t ExtraSizeTable::of(uint32_t type) const
{
    auto it = m_sizes.find(type);
    return it == m_sizes.end() ? -1 : it->second;
}

int32_t ExtraSizeTable::largest() const
{
    int32_t most = 0;
    for (const auto& [type, size] : m_sizes)
        most = std::max(most, size);
    return most;
}

size_t ExtraSizeTable::largestBlobSize() const
{
    constexpr size_t kCells = static_cast<size_t>(World::kMaxWidth) * World::kMaxHeight;
    // Header, every cell wired, the whole temperature field, the two counts,
    // every cell a particle of the class with the most extra data, every
    // particle recoloured: more than World::save can write.
    return kHeaderSize + 4 + 12 * kCells + 4 + 4 * static_cast<size_t>(TemperatureField::kSavedCount) + 8 +
        kCells * (12 + static_cast<size_t>(largest())) + 12 * kCells;
}

int32_t storedAmbientForLevel(int32_t level)
{
    if (level < 1 || level > 5)
        return kAmbientShift;
    return kLevelAmbients[level - 1] + kAmbientShift;
}

int32_t levelForAmbient(int32_t ambient)
{
    for (int i = 0; i < 5; ++i)
        if (kLevelAmbients[i] == ambient)
            return i + 1;
    return 0;
}

bool isSafeBackgroundName(const std::string& name)
{
    if (name.empty() || name[0] == '.')
        return false;
    return std::none_of(name.begin(), name.end(),
                        [](char c) { return c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20; });
}

std::string fittedTextField(const std::string& text, size_t size)
{
    size_t n = std::min(text.size(), size - 1);
    if (n < text.size())
        while (n > 0 && (static_cast<uint8_t>(text[n]) & 0xC0) == 0x80)
            --n;
    return text.substr(0, n);
}

void writeTextField(std::vector<uint8_t>& out, const std::string& text, size_t size)
{
    const std::string kept = fittedTextField(text, size);
    out.insert(out.end(), kept.begin(), kept.end());
    out.insert(out.end(), size - kept.size(), 0);
}

std::string readTextField(const uint8_t* field, size_t size)
{
    const uint8_t* end = std::find(field, field + size, 0);
    return std::string(reinterpret_cast<const char*>(field), static_cast<size_t>(end - field));
}

bool parseBlob(const uint8_t* data, size_t size, LoadPlan& plan, std::string& why, const ExtraSizeTable* sizes)
{
    plan = LoadPlan{};
    BlobHeader& h = plan.header;
    if (!data || size < 12) {
        why = "shorter than its version and size words";
        return false;
    }
    h.version = loadU32(data);
    h.width = i32At(data + 4);
    h.height = i32At(data + 8);
    if (h.version < 1 || h.version > kCurrentVersion) {
        why = "unknown format version " + std::to_string(h.version);
        return false;
    }
    const VersionLayout layout = layoutOf(h.version);
    h.sectionStart = layout.sectionStart;
    plan.reader = layout.reader;
    plan.bigWorld = h.width > World::kSmallWidth;
    if (size < h.sectionStart) {
        why = "shorter than the header of version " + std::to_string(h.version);
        return false;
    }
    readHeader(data, h);

    ByteReader r(data + h.sectionStart, size - h.sectionStart);
    const size_t base = h.sectionStart;

    // No world holds more cells, particles or coloured particles than this, so
    // a larger count cannot come from a save.
    constexpr uint32_t kMostRecords = World::kMaxWidth * World::kMaxHeight;
    static_assert(kMostRecords == static_cast<uint32_t>(World::kMaxParticles));

    uint32_t electricityCount = 0;
    if (!r.u32(electricityCount) || electricityCount > r.remaining() / 12) {
        why = "electricity section longer than the blob";
        return false;
    }
    if (electricityCount > kMostRecords) {
        why = "more electricity records than cells: " + std::to_string(electricityCount);
        return false;
    }
    plan.electricityOffset = base + r.position() - 4;
    plan.electricityLength = 4 + 12 * static_cast<size_t>(electricityCount);
    r.skip(12 * static_cast<size_t>(electricityCount));

    if (plan.reader != ParticleReader::A) {
        uint32_t temperatureCount = 0;
        if (!r.u32(temperatureCount) || temperatureCount > INT32_MAX || temperatureCount > r.remaining() / 4) {
            why = "temperature section longer than the blob";
            return false;
        }
        plan.hasTemperature = true;
        plan.temperatureOffset = base + r.position() - 4;
        plan.temperatureLength = 4 + 4 * static_cast<size_t>(temperatureCount);
        r.skip(4 * static_cast<size_t>(temperatureCount));
    }

    uint32_t particleCount = 0;
    uint32_t colourCount = 0;
    if (!r.u32(particleCount) || (plan.reader == ParticleReader::C && !r.u32(colourCount))) {
        why = "no room for the particle counts";
        return false;
    }
    if (particleCount > r.remaining() / 12) {
        why = "particle count " + std::to_string(particleCount) + " longer than the blob";
        return false;
    }
    if (particleCount > kMostRecords || colourCount > kMostRecords) {
        why = "more particle or colour records than a world holds";
        return false;
    }
    plan.particles.reserve(particleCount);
    ExtraSizes extraSizes(sizes);
    for (uint32_t k = 0; k < particleCount; ++k) {
        uint32_t x = 0, y = 0, type = 0;
        if (!r.u32(x) || !r.u32(y) || !r.u32(type)) {
            why = "particle record " + std::to_string(k) + " cut short";
            return false;
        }
        const int32_t extra = extraSizes.of(type);
        if (extra < 0) {
            why = "particle record " + std::to_string(k) + " has a type the game cannot make (" +
                std::to_string(static_cast<int32_t>(type)) + "); nothing after it can be located";
            return false;
        }
        if (static_cast<size_t>(extra) > r.remaining()) {
            why = "extra data of particle record " + std::to_string(k) + " cut short";
            return false;
        }
        plan.particles.push_back({static_cast<int32_t>(x), static_cast<int32_t>(y), type, base + r.position(), extra});
        r.skip(static_cast<size_t>(extra));
    }

    if (colourCount > r.remaining() / 12) {
        why = "colour count " + std::to_string(colourCount) + " longer than the blob";
        return false;
    }
    plan.colours.reserve(colourCount);
    for (uint32_t k = 0; k < colourCount; ++k) {
        uint32_t x = 0, y = 0;
        uint8_t a = 0, red = 0, green = 0, blue = 0;
        r.u32(x);
        r.u32(y);
        r.u8(a);
        r.u8(red);
        r.u8(green);
        r.u8(blue);
        plan.colours.push_back({static_cast<int32_t>(x), static_cast<int32_t>(y), ccc4(red, green, blue, a)});
    }
    if (r.remaining())
        LOG << "world blob: ignored trailing bytes:" << r.remaining();
    return true;
}

void writeHeader(std::vector<uint8_t>& out, const BlobHeader& h)
{
    ByteWriter w(out);
    w.u32(kCurrentVersion);
    w.i32(h.width);
    w.i32(h.height);
    w.u32(h.temperatureView ? 1 : 0);
    w.u32(h.light ? 1 : 0);
    w.u32(h.sun ? 1 : 0);
    w.u32(h.weather ? 1 : 0);
    w.i32(h.ambient + kAmbientShift);
    writeTextField(out, h.background, kTextFieldSize);
    writeTextField(out, h.name, kTextFieldSize);
    writeTextField(out, h.description, kDescriptionFieldSize);
    w.boolean(h.backgroundShown);
    w.boolean(h.paused);
    w.u16(0);
    w.i32(h.food);
    w.i32(h.stone);
    w.i32(h.wood);
    out.insert(out.end(), 20, 0);
}

}  // namespace worldblob
