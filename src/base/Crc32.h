#pragma once
// CRC-32 of ISO 3309 / IEEE 802.3 (reflected, polynomial 0x04C11DB7), as the
// profile file stores it.
#include <cstddef>
#include <cstdint>

// Size of the block the profile file protects: its whole record.
constexpr size_t kCrcBlockSize = 17984;

// Fills the 256-entry table once; later calls do nothing.
void crc32BuildTable();

// CRC-32 of exactly kCrcBlockSize bytes.
uint32_t crc32Block(const uint8_t* data);

// CRC-32 of any number of bytes.
uint32_t crc32Bytes(const uint8_t* data, size_t size);
