#include "server/UploadCheck.h"

#include <cstring>

#include "base/Crc32.h"

namespace gallery {

namespace {

uint32_t bigEndian32(const uint8_t* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

}  // namespace

UploadCheck::UploadCheck() : m_sizes(worldblob::ExtraSizeTable::ofEveryElement())
{
    m_largestBlob = m_sizes.largestBlobSize();
    crc32BuildTable();
}

std::string UploadCheck::checkWorld(const std::string& blob, std::string* detail) const
{
    if (blob.empty())
        return "the world is empty";
    if (blob.size() > m_largestBlob)
        return "the world is longer than any world can be";
    worldblob::LoadPlan plan;
    std::string why;
    if (!worldblob::parseBlob(reinterpret_cast<const uint8_t*>(blob.data()), blob.size(), plan, why, &m_sizes)) {
        // The reader's words quote the data (its first bytes read as a
        // version, a count, a type): they are for the log only.
        if (detail)
            *detail = why;
        return "the data is not a world the game can load";
    }
    return "";
}

std::string UploadCheck::checkPng(const std::string& png)
{
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const auto* data = reinterpret_cast<const uint8_t*>(png.data());
    const size_t size = png.size();
    if (size < 8 || std::memcmp(data, kSignature, 8) != 0)
        return "the screenshot is not a PNG picture";
    // Chunks: length, type, data, CRC over type and data. IHDR first with a
    // picture of some size, at least one IDAT, IEND last.
    size_t at = 8;
    bool first = true;
    bool sawData = false;
    while (at + 12 <= size) {
        const uint32_t length = bigEndian32(data + at);
        if (length > size - at - 12)
            return "a chunk of the screenshot runs past its end";
        const uint8_t* type = data + at + 4;
        const uint32_t crc = bigEndian32(data + at + 8 + length);
        if (crc32Bytes(type, 4 + static_cast<size_t>(length)) != crc)
            return "a chunk of the screenshot is damaged";
        if (first) {
            if (std::memcmp(type, "IHDR", 4) != 0 || length != 13)
                return "the screenshot does not start with its header";
            const uint32_t width = bigEndian32(type + 4);
            const uint32_t height = bigEndian32(type + 8);
            if (width == 0 || height == 0 || width > 8192 || height > 8192)
                return "the screenshot's size is not a picture's";
            first = false;
        } else if (std::memcmp(type, "IDAT", 4) == 0) {
            sawData = true;
        } else if (std::memcmp(type, "IEND", 4) == 0) {
            if (!sawData)
                return "the screenshot holds no picture data";
            if (at + 12 != size)
                return "the screenshot goes on after its end";
            return "";
        }
        at += 12 + static_cast<size_t>(length);
    }
    return "the screenshot is cut short";
}

}  // namespace gallery
