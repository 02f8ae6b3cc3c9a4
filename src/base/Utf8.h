#pragma once
#include <cstdint>
#include <string>

// Appends the UTF-8 bytes of one code point.
void appendUtf8(uint32_t code, std::string& out);
