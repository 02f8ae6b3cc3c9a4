#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Appends the UTF-8 bytes of one code point.
void appendUtf8(uint32_t code, std::string& out);
// The code point at text[at] and its length in bytes; 0 bytes when no
// character starts there (a stray continuation byte, a sequence cut short,
// an overlong form, a surrogate, past U+10FFFF). Each caller says what a
// bad byte becomes.
size_t decodeUtf8(const std::string& text, size_t at, uint32_t& code);
