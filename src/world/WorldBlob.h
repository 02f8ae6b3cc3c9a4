#pragma once
// The world blob: one contiguous little-endian byte buffer that holds a whole
// world (format version 11; versions 1 to 10 are still read). World::save
// writes it; World::load reads it in two passes: parseBlob checks every byte
// of the untrusted blob against its length and builds a plan without touching
// any world, and only a plan that passed is applied (reset, then restore).
// A refused blob leaves the current world exactly as it was.
//
// Everything the blob reads or writes outside the World goes through the
// world host (pause, zoom, temperature level, free play) and GameServices
// (the universe texts and background, the HUD's switches, the top bar's
// icons, the colony resources), so that tests can watch it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "cocos2d.h"

class World;

namespace worldblob {

constexpr uint32_t kCurrentVersion = 11;
constexpr size_t kHeaderSize = 356;
constexpr size_t kTextFieldSize = 16;          // background and universe name
constexpr size_t kDescriptionFieldSize = 256;  // universe description
constexpr size_t kNameOffset = 48;             // of the universe name, versions 8 and up
// Ambient temperatures are stored shifted by this much (versions 6 and up).
constexpr int32_t kAmbientShift = 2550;

// The description an old editor left in fresh worlds; a load replaces it by
// the localised default.
extern const char* const kPlaceholderDescription;

// The stored header value of a level: ambient + 2550, and 2550 for a level
// outside 1..5.
int32_t storedAmbientForLevel(int32_t level);
// The level of an ambient temperature (-2550, -300, 293, 400, 2550 give
// 1..5); 0 for any other value.
int32_t levelForAmbient(int32_t ambient);

enum class ParticleReader { A, B, C };

// What a blob's header says, for any version. has* tell which parts the
// version carries.
struct BlobHeader {
    uint32_t version = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool hasOptions = false;
    bool temperatureView = false;
    bool light = false;
    bool sun = false;
    bool weather = false;
    bool hasAmbient = false;
    int32_t ambient = 0;  // already unshifted
    bool hasBackground = false;
    std::string background;
    bool hasBackgroundShown = false;
    bool backgroundShown = false;
    bool hasTexts = false;  // versions 8 and up
    std::string name;
    std::string description;
    bool hasPaused = false;  // versions 9 and up
    bool paused = false;
    bool hasResources = false;  // version 11
    int32_t food = 0;
    int32_t stone = 0;
    int32_t wood = 0;
    size_t sectionStart = 0;
};

struct ParticleRecord {
    int32_t x;
    int32_t y;
    uint32_t type;
    size_t extraOffset;  // into the blob
    int32_t extraSize;
};

struct ColourRecord {
    int32_t x;
    int32_t y;
    cocos2d::ccColor4B colour;
};

// A blob that passed every check, ready to apply. Offsets point into the
// blob, which must outlive the plan.
struct LoadPlan {
    BlobHeader header;
    ParticleReader reader = ParticleReader::A;
    bool bigWorld = false;
    size_t electricityOffset = 0;
    size_t electricityLength = 0;
    bool hasTemperature = false;
    size_t temperatureOffset = 0;
    size_t temperatureLength = 0;
    std::vector<ParticleRecord> particles;
    std::vector<ColourRecord> colours;
};

// The extra-data size of every element class the factory can make, asked
// once (on the main thread: classes are made to ask them). With it, parseBlob
// makes no element and touches nothing shared, so any thread may check blobs.
class ExtraSizeTable {
public:
    static ExtraSizeTable ofEveryElement();
    // -1 for a type the factory cannot make.
    int32_t of(uint32_t type) const;
    int32_t largest() const;
    // No blob of a real world is longer than this.
    size_t largestBlobSize() const;

private:
    std::unordered_map<uint32_t, int32_t> m_sizes;
};

// Checks a whole blob against its length and builds the plan. Touches no
// world (without a size table, element classes are made only to learn their
// extra-data size, and the element-created record is put back as it was).
// False, with the reason in `why`, when the blob cannot be loaded as a whole:
// too short for its header or counts, a version outside 1..11, or a particle
// type that cannot be made (its extra data cannot be skipped, so nothing
// after it can be located).
bool parseBlob(const uint8_t* data, size_t size, LoadPlan& plan, std::string& why,
               const ExtraSizeTable* sizes = nullptr);

// Appends the version-11 header of h (its version field is ignored; ambient
// is unshifted, as parsed).
void writeHeader(std::vector<uint8_t>& out, const BlobHeader& h);

// A background name from a blob names a picture file: false for anything
// that could leave the backgrounds folder.
bool isSafeBackgroundName(const std::string& name);

// What a field of that size keeps of the text: at most size - 1 bytes,
// never half of a UTF-8 character.
std::string fittedTextField(const std::string& text, size_t size);
// Copies a text into a fixed field: what it keeps, then zeros.
void writeTextField(std::vector<uint8_t>& out, const std::string& text, size_t size);
// The text of a fixed field: up to its first zero, never past the field.
std::string readTextField(const uint8_t* field, size_t size);

}  // namespace worldblob
