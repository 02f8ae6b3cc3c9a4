#pragma once
// Player keys: made from the system's random source, stored only as a salted
// SHA-256, and compared in constant time so that a wrong key's timing says
// nothing about the right one.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace keyhash {

using Digest = std::array<uint8_t, 32>;

Digest sha256(const uint8_t* data, size_t size);
Digest sha256(const std::string& text);

// Bytes from the kernel's random source (getrandom); false when it fails.
bool randomBytes(uint8_t* out, size_t size);

// A new private key: 32 random bytes as 64 lower-case hex digits; empty when
// the random source fails.
std::string newKey();
// The key of a registration sent with an id: HMAC-SHA256 of the id under
// the server's secret, as 64 hex digits. Every repeat of the request gets
// the same key, in whatever order the server takes the repeats, and only
// the one who knows the id (the game that made it) can ask for it.
std::string keyForRequest(const std::string& secret, const std::string& requestId);
// A new 16-byte salt as hex; empty when the random source fails.
std::string newSalt();

// The stored form of a key: SHA-256 over salt then key.
Digest hashKey(const std::string& salt, const std::string& key);

// Equal bytes, in time that depends only on the length.
bool sameDigest(const Digest& a, const Digest& b);

std::string toHex(const uint8_t* data, size_t size);

}  // namespace keyhash
