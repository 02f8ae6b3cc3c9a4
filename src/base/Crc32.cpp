#include "base/Crc32.h"

#include <bit>
#include <cstring>

namespace {

// g_tables[0] is the classic byte table; g_tables[k][b] is the CRC of byte b
// followed by k zero bytes, so eight bytes are folded in with eight lookups
// and no chain from one byte to the next (a save and each load check the
// whole 18 KB record).
uint32_t g_tables[8][256];
bool g_tableBuilt = false;

uint32_t reflect(uint32_t value, int bits)
{
    uint32_t result = 0;
    for (int i = 0; i < bits; ++i)
        if (value & (1u << i))
            result |= 1u << (bits - 1 - i);
    return result;
}

// Eight bytes as a little-endian number, read at once.
uint64_t loadLittleEndian64(const uint8_t* p)
{
    uint64_t value;
    std::memcpy(&value, p, sizeof value);
    if constexpr (std::endian::native == std::endian::big)
        value = __builtin_bswap64(value);
    return value;
}

}  // namespace

void crc32BuildTable()
{
    if (g_tableBuilt)
        return;
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t entry = reflect(i, 8) << 24;
        for (int round = 0; round < 8; ++round)
            entry = (entry << 1) ^ ((entry & 0x80000000u) ? 0x04C11DB7u : 0u);
        g_tables[0][i] = reflect(entry, 32);
    }
    for (int k = 1; k < 8; ++k)
        for (uint32_t i = 0; i < 256; ++i)
            g_tables[k][i] = (g_tables[k - 1][i] >> 8) ^ g_tables[0][g_tables[k - 1][i] & 0xFF];
    g_tableBuilt = true;
}

uint32_t crc32Bytes(const uint8_t* data, size_t size)
{
    crc32BuildTable();
    const uint32_t(&t)[8][256] = g_tables;
    uint32_t crc = 0xFFFFFFFFu;
    size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        const uint64_t word = loadLittleEndian64(data + i);
        const uint32_t low = static_cast<uint32_t>(word) ^ crc;
        const uint32_t high = static_cast<uint32_t>(word >> 32);
        crc = t[7][low & 0xFF] ^ t[6][(low >> 8) & 0xFF] ^ t[5][(low >> 16) & 0xFF] ^ t[4][low >> 24] ^
            t[3][high & 0xFF] ^ t[2][(high >> 8) & 0xFF] ^ t[1][(high >> 16) & 0xFF] ^ t[0][high >> 24];
    }
    for (; i < size; ++i)
        crc = (crc >> 8) ^ t[0][(crc ^ data[i]) & 0xFF];
    return ~crc;
}

uint32_t crc32Block(const uint8_t* data)
{
    return crc32Bytes(data, kCrcBlockSize);
}
