#include "base/Base64.h"

namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int valueOf(unsigned char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

}  // namespace

std::string base64Encode(const uint8_t* data, size_t size)
{
    std::string out;
    out.reserve((size + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 3 <= size; i += 3) {
        const uint32_t v = (uint32_t(data[i]) << 16) | (uint32_t(data[i + 1]) << 8) | data[i + 2];
        out += kAlphabet[v >> 18];
        out += kAlphabet[(v >> 12) & 63];
        out += kAlphabet[(v >> 6) & 63];
        out += kAlphabet[v & 63];
    }
    if (size - i == 1) {
        const uint32_t v = uint32_t(data[i]) << 16;
        out += kAlphabet[v >> 18];
        out += kAlphabet[(v >> 12) & 63];
        out += "==";
    } else if (size - i == 2) {
        const uint32_t v = (uint32_t(data[i]) << 16) | (uint32_t(data[i + 1]) << 8);
        out += kAlphabet[v >> 18];
        out += kAlphabet[(v >> 12) & 63];
        out += kAlphabet[(v >> 6) & 63];
        out += '=';
    }
    return out;
}

std::string base64Encode(const std::string& bytes)
{
    return base64Encode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

size_t base64DecodedSizeAtMost(size_t textLength)
{
    return textLength / 4 * 3;
}

bool base64Decode(const std::string& text, std::string& out)
{
    if (text.size() % 4 != 0)
        return false;
    std::string decoded;
    decoded.reserve(base64DecodedSizeAtMost(text.size()));
    for (size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        int v[4];
        int padding = 0;
        for (int k = 0; k < 4; ++k) {
            const unsigned char c = static_cast<unsigned char>(text[i + k]);
            if (c == '=' && last && k >= 2) {
                v[k] = 0;
                ++padding;
                continue;
            }
            if (padding > 0)
                return false;  // a letter after padding
            v[k] = valueOf(c);
            if (v[k] < 0)
                return false;
        }
        const uint32_t word = (uint32_t(v[0]) << 18) | (uint32_t(v[1]) << 12) | (uint32_t(v[2]) << 6) | uint32_t(v[3]);
        // Bits under the padding must be zero, so that one text means one value.
        if ((padding == 1 && (word & 0xFF)) || (padding == 2 && (word & 0xFFFF)))
            return false;
        decoded += static_cast<char>(word >> 16);
        if (padding < 2)
            decoded += static_cast<char>((word >> 8) & 0xFF);
        if (padding < 1)
            decoded += static_cast<char>(word & 0xFF);
    }
    out.swap(decoded);
    return true;
}
