#include "support/Mutator.h"

#include <algorithm>
#include <cstring>

namespace testsupport {

namespace {

// Values every reader of counts and numbers has to survive.
const uint32_t kNastyWords[] = {0u,          1u,          0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu,
                                0xFFFFFFFEu, 0x00010000u, 100u,        101u,        512u};

const char* const kHugeNumbers[] = {
    "99999999999999999999999999",
    "-9223372036854775809",
    "9223372036854775808",
    "4294967296",
    "2147483648",
    "-2147483649",
    "1e400",
    "-1e400",
    "1e-400",
    "nan",
    "inf",
    "-0",
    "0x7fffffff",
    "1.7976931348623157e308",
};

const char* const kBadUtf8[] = {
    "\xC0\x80",          // overlong NUL
    "\xFF",              // never valid
    "\xED\xA0\x80",      // a surrogate
    "\xF4\x90\x80\x80",  // past U+10FFFF
    "\xE2\x82",          // cut short
    "\x80\x80\x80",      // continuation bytes alone
    "\xF8\x88\x80\x80\x80",
};

bool startsWith(const std::vector<uint8_t>& b, size_t at, const char* text)
{
    const size_t n = std::strlen(text);
    return at + n <= b.size() && std::memcmp(b.data() + at, text, n) == 0;
}

bool isDigit(uint8_t c)
{
    return c >= '0' && c <= '9';
}

}  // namespace

const char* damageName(Damage damage)
{
    switch (damage) {
    case Damage::FlipBytes: return "flipped bytes";
    case Damage::Cut: return "cut";
    case Damage::LyingCount: return "lying count";
    case Damage::InsertBytes: return "inserted bytes";
    case Damage::RemoveBytes: return "removed bytes";
    case Damage::DeepNesting: return "deep nesting";
    case Damage::HugeNumber: return "huge number";
    case Damage::BadUtf8: return "invalid UTF-8";
    }
    return "?";
}

std::vector<uint8_t> bytesOf(const std::string& text)
{
    return std::vector<uint8_t>(text.begin(), text.end());
}

std::vector<uint8_t> Mutator::mutate(const std::vector<uint8_t>& input, Damage damage)
{
    std::vector<uint8_t> b = input;
    switch (damage) {
    case Damage::FlipBytes: flip(b); break;
    case Damage::Cut: b.resize(below(b.size())); break;
    case Damage::LyingCount: lyingCount(b); break;
    case Damage::InsertBytes: insert(b); break;
    case Damage::RemoveBytes: remove(b); break;
    case Damage::DeepNesting: nest(b); break;
    case Damage::HugeNumber: hugeNumber(b); break;
    case Damage::BadUtf8: badUtf8(b); break;
    }
    return b;
}

std::vector<uint8_t> Mutator::mutate(const std::vector<uint8_t>& input)
{
    std::vector<uint8_t> b = input;
    const size_t rounds = 1 + below(3);
    for (size_t i = 0; i < rounds; ++i)
        b = mutate(b, kAllDamage[below(std::size(kAllDamage))]);
    return b;
}

void Mutator::flip(std::vector<uint8_t>& b)
{
    if (b.empty())
        return;
    const size_t n = 1 + below(8);
    for (size_t i = 0; i < n; ++i)
        b[below(b.size())] ^= static_cast<uint8_t>(1 + below(255));
}

bool Mutator::pickNumber(const std::vector<uint8_t>& b, size_t& start, size_t& length)
{
    std::vector<std::pair<size_t, size_t>> runs;
    for (size_t i = 0; i < b.size();) {
        if (!isDigit(b[i])) {
            ++i;
            continue;
        }
        size_t s = i > 0 && b[i - 1] == '-' ? i - 1 : i;
        while (i < b.size() && isDigit(b[i]))
            ++i;
        runs.emplace_back(s, i - s);
    }
    if (runs.empty())
        return false;
    const auto& run = runs[below(runs.size())];
    start = run.first;
    length = run.second;
    return true;
}

void Mutator::replace(std::vector<uint8_t>& b, size_t start, size_t length, const std::string& with)
{
    b.erase(b.begin() + static_cast<std::ptrdiff_t>(start), b.begin() + static_cast<std::ptrdiff_t>(start + length));
    b.insert(b.begin() + static_cast<std::ptrdiff_t>(start), with.begin(), with.end());
}

void Mutator::lyingCount(std::vector<uint8_t>& b)
{
    size_t start = 0, length = 0;
    if (next() % 2 == 0 && pickNumber(b, start, length)) {
        const std::string old(b.begin() + static_cast<std::ptrdiff_t>(start),
                              b.begin() + static_cast<std::ptrdiff_t>(start + length));
        const long long value = old.size() < 18 ? std::stoll(old) : 0;
        const long long options[] = {value + 1, value - 1, value * 2, 0, -1, 1000000, -1000000};
        replace(b, start, length, std::to_string(options[below(std::size(options))]));
        return;
    }
    if (b.size() < 4)
        return;
    // A little-endian word, usually on a 4-byte boundary as counts are.
    size_t at = below(b.size() - 3);
    if (next() % 4 != 0)
        at &= ~static_cast<size_t>(3);
    const uint32_t old = static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 |
        static_cast<uint32_t>(b[at + 2]) << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
    const uint32_t options[] = {old + 1, old - 1, old * 2, kNastyWords[below(std::size(kNastyWords))]};
    const uint32_t value = options[below(std::size(options))];
    for (int i = 0; i < 4; ++i)
        b[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
}

void Mutator::insert(std::vector<uint8_t>& b)
{
    const size_t at = below(b.size() + 1);
    std::vector<uint8_t> extra;
    if (!b.empty() && next() % 2 == 0) {
        const size_t from = below(b.size());
        const size_t n = 1 + below(std::min<size_t>(64, b.size() - from));
        extra.assign(b.begin() + static_cast<std::ptrdiff_t>(from), b.begin() + static_cast<std::ptrdiff_t>(from + n));
    } else {
        const size_t n = 1 + below(16);
        for (size_t i = 0; i < n; ++i)
            extra.push_back(static_cast<uint8_t>(next()));
    }
    b.insert(b.begin() + static_cast<std::ptrdiff_t>(at), extra.begin(), extra.end());
}

void Mutator::remove(std::vector<uint8_t>& b)
{
    if (b.empty())
        return;
    const size_t at = below(b.size());
    const size_t n = 1 + below(std::min<size_t>(32, b.size() - at));
    b.erase(b.begin() + static_cast<std::ptrdiff_t>(at), b.begin() + static_cast<std::ptrdiff_t>(at + n));
}

void Mutator::nest(std::vector<uint8_t>& b)
{
    // Where a value may start: after a plist key, or after ':' or '[' in JSON.
    std::vector<size_t> xmlSpots, jsonSpots;
    for (size_t i = 0; i < b.size(); ++i) {
        if (startsWith(b, i, "</key>"))
            xmlSpots.push_back(i + 6);
        else if (b[i] == ':' || b[i] == '[')
            jsonSpots.push_back(i + 1);
    }
    const size_t depths[] = {63, 64, 65, 255, 256, 257, 5000};
    const size_t depth = depths[below(std::size(depths))];
    const bool closed = next() % 2 == 0;
    std::string open, close;
    size_t at = below(b.size() + 1);
    if (!xmlSpots.empty()) {
        at = xmlSpots[below(xmlSpots.size())];
        const bool dicts = next() % 2 == 0;
        for (size_t i = 0; i < depth; ++i) {
            open += dicts ? "<dict><key>k</key>" : "<array>";
            close += dicts ? "</dict>" : "</array>";
        }
        if (closed)
            open += dicts ? "<string/>" + close : close;
    } else {
        if (!jsonSpots.empty())
            at = jsonSpots[below(jsonSpots.size())];
        const bool objects = next() % 2 == 0;
        for (size_t i = 0; i < depth; ++i) {
            open += objects ? "{\"k\":" : "[";
            close += objects ? "}" : "]";
        }
        if (closed)
            open += "0" + close + (jsonSpots.empty() || b[at - 1] == ':' ? "" : ",");
    }
    b.insert(b.begin() + static_cast<std::ptrdiff_t>(at), open.begin(), open.end());
}

void Mutator::hugeNumber(std::vector<uint8_t>& b)
{
    const std::string value = kHugeNumbers[below(std::size(kHugeNumbers))];
    size_t start = 0, length = 0;
    if (pickNumber(b, start, length))
        replace(b, start, length, value);
    else
        replace(b, below(b.size() + 1), 0, value);
}

void Mutator::badUtf8(std::vector<uint8_t>& b)
{
    const std::string bad = kBadUtf8[below(std::size(kBadUtf8))];
    // Mostly inside text: after a letter, where a name or a string goes on.
    std::vector<size_t> spots;
    for (size_t i = 0; i < b.size(); ++i)
        if ((b[i] >= 'a' && b[i] <= 'z') || (b[i] >= 'A' && b[i] <= 'Z'))
            spots.push_back(i + 1);
    const size_t at = !spots.empty() && next() % 4 != 0 ? spots[below(spots.size())] : below(b.size() + 1);
    if (next() % 2 == 0 && at < b.size())
        replace(b, at, std::min(bad.size(), b.size() - at), bad);
    else
        replace(b, at, 0, bad);
}

}  // namespace testsupport
