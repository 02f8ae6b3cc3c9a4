#pragma once
// Layout of "profile.dat" and the little-endian helpers that read and write
// it. The file is 17,992 bytes: CRC-32 of the record, format version, record.
#include <cstddef>
#include <cstdint>
#include <string>

namespace ProfileFile {

constexpr const char* kFileName = "profile.dat";
// One name for writing and reading the backup.
constexpr const char* kBackupFileName = "profile_bak.dat";
constexpr uint32_t kFormatVersion = 2;
constexpr size_t kHeaderSize = 8;
constexpr size_t kRecordSize = 17984;
constexpr size_t kFileSize = kHeaderSize + kRecordSize;

// Record offsets (from the start of the record).
namespace Record {
constexpr size_t MusicVolume = 0;
constexpr size_t EffectsVolume = 4;
constexpr size_t SettingsFlag = 8;
constexpr size_t BestDay = 12;
constexpr size_t Mana = 140;
constexpr size_t PouredPixels = 144;
constexpr size_t FreePlayTime = 152;
constexpr size_t FreeModeIntroDone = 160;
constexpr size_t DayEventCounters = 164;
constexpr size_t PurchaseTable = 204;
constexpr size_t PlayTimeMilestones = 12504;
constexpr size_t HasSavedWorld = 12507;
constexpr size_t Achievements = 12508;
constexpr size_t LastLoginTime = 12576;
constexpr size_t LoginStreak = 12584;
constexpr size_t PlayerId = 12588;
constexpr size_t ProgressBlock = 12592;
constexpr size_t LevelHints = 13616;
constexpr size_t PrivateKey = 17712;
constexpr size_t Nickname = 17968;
}  // namespace Record

constexpr size_t kPurchaseEntries = 512;
constexpr size_t kPurchaseEntrySize = 24;
constexpr size_t kPurchaseNameSize = 16;  // at most 15 characters and a NUL
constexpr uint32_t kCategoryElement = 0;
constexpr uint32_t kCategoryBackground = 1;
constexpr uint32_t kCategoryFree = 3;

inline void writeUInt32(uint8_t* at, uint32_t value)
{
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
    at[2] = static_cast<uint8_t>(value >> 16);
    at[3] = static_cast<uint8_t>(value >> 24);
}

inline uint32_t readUInt32(const uint8_t* at)
{
    return static_cast<uint32_t>(at[0]) | (static_cast<uint32_t>(at[1]) << 8) | (static_cast<uint32_t>(at[2]) << 16) |
        (static_cast<uint32_t>(at[3]) << 24);
}

inline void writeInt32(uint8_t* at, int32_t value)
{
    writeUInt32(at, static_cast<uint32_t>(value));
}
inline int32_t readInt32(const uint8_t* at)
{
    return static_cast<int32_t>(readUInt32(at));
}

inline void writeInt64(uint8_t* at, int64_t value)
{
    writeUInt32(at, static_cast<uint32_t>(static_cast<uint64_t>(value)));
    writeUInt32(at + 4, static_cast<uint32_t>(static_cast<uint64_t>(value) >> 32));
}

inline int64_t readInt64(const uint8_t* at)
{
    return static_cast<int64_t>(static_cast<uint64_t>(readUInt32(at)) |
                                (static_cast<uint64_t>(readUInt32(at + 4)) << 32));
}

// a + b held within int32: mana values come from the file and may be extreme.
inline int32_t clampedSum(int32_t a, int32_t b)
{
    int64_t sum = static_cast<int64_t>(a) + b;
    if (sum > INT32_MAX)
        return INT32_MAX;
    if (sum < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(sum);
}

// Text of a fixed field: the bytes before the first NUL, never past the field.
std::string readFixedText(const uint8_t* at, size_t fieldSize);
// Writes text into a fixed field, zero-filled; at most fieldSize - 1 bytes
// when a terminator is required, else at most fieldSize.
void writeFixedText(uint8_t* at, size_t fieldSize, const std::string& text, bool terminatorRequired);

}  // namespace ProfileFile
