#include "app/Crc32.h"

namespace {

uint32_t g_table[256];
bool g_tableBuilt = false;

uint32_t reflect(uint32_t value, int bits)
{
    uint32_t result = 0;
    for (int i = 0; i < bits; ++i)
        if (value & (1u << i))
            result |= 1u << (bits - 1 - i);
    return result;
}

} // namespace

void crc32BuildTable()
{
    if (g_tableBuilt)
        return;
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t entry = reflect(i, 8) << 24;
        for (int round = 0; round < 8; ++round)
            entry = (entry << 1) ^ ((entry & 0x80000000u) ? 0x04C11DB7u : 0u);
        g_table[i] = reflect(entry, 32);
    }
    g_tableBuilt = true;
}

uint32_t crc32Bytes(const uint8_t* data, size_t size)
{
    crc32BuildTable();
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i)
        crc = (crc >> 8) ^ g_table[(crc ^ data[i]) & 0xFF];
    return ~crc;
}

uint32_t crc32Block(const uint8_t* data)
{
    return crc32Bytes(data, kCrcBlockSize);
}
