#pragma once
// Seeded damage for the loaders' robustness tests: each call copies a valid
// input and damages it in one of the ways files and answers arrive broken.
// The same seed gives the same damage on every run and machine.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace testsupport {

enum class Damage {
    FlipBytes,    // a few bytes changed anywhere
    Cut,          // the end missing
    LyingCount,   // a number (decimal text or a little-endian word) that lies
    InsertBytes,  // random bytes or a repeated stretch put in
    RemoveBytes,  // a stretch taken out
    DeepNesting,  // thousands of opened containers
    HugeNumber,   // a number replaced by one past every range
    BadUtf8,      // invalid UTF-8 sequences put in
};

constexpr Damage kAllDamage[] = {Damage::FlipBytes,   Damage::Cut,         Damage::LyingCount, Damage::InsertBytes,
                                 Damage::RemoveBytes, Damage::DeepNesting, Damage::HugeNumber, Damage::BadUtf8};

const char* damageName(Damage damage);

class Mutator {
public:
    explicit Mutator(uint32_t seed) : m_rng(seed) { }

    std::vector<uint8_t> mutate(const std::vector<uint8_t>& input, Damage damage);
    // One to three kinds of damage, chosen by the generator.
    std::vector<uint8_t> mutate(const std::vector<uint8_t>& input);

    uint32_t next() { return static_cast<uint32_t>(m_rng()); }
    size_t below(size_t n) { return n == 0 ? 0 : next() % n; }

private:
    void flip(std::vector<uint8_t>& b);
    void lyingCount(std::vector<uint8_t>& b);
    void insert(std::vector<uint8_t>& b);
    void remove(std::vector<uint8_t>& b);
    void nest(std::vector<uint8_t>& b);
    void hugeNumber(std::vector<uint8_t>& b);
    void badUtf8(std::vector<uint8_t>& b);
    // A run of decimal digits (with its sign), or false when there is none.
    bool pickNumber(const std::vector<uint8_t>& b, size_t& start, size_t& length);
    void replace(std::vector<uint8_t>& b, size_t start, size_t length, const std::string& with);

    std::mt19937 m_rng;
};

std::vector<uint8_t> bytesOf(const std::string& text);

}  // namespace testsupport
