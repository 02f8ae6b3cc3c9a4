#pragma once
// Base64 (RFC 4648, standard alphabet, padded), for the bytes that travel
// inside JSON bodies between the game and the world-sharing server.
#include <cstddef>
#include <cstdint>
#include <string>

std::string base64Encode(const uint8_t* data, size_t size);
std::string base64Encode(const std::string& bytes);

// Strict: only the alphabet, a length that is a multiple of 4, padding only
// at the end. False (and out untouched) for anything else.
bool base64Decode(const std::string& text, std::string& out);

// The decoded size of a well-formed text of that length, before it is read:
// lets a caller refuse an oversized value without decoding it.
size_t base64DecodedSizeAtMost(size_t textLength);
