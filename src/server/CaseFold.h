#pragma once
// Nicknames are one when they match without regard to case. A character's
// fold is its uppercase, then that one's lowercase, by Unicode's simple (one
// for one) case mappings as the C library's C.UTF-8 locale carries them:
// "Éva" and "éva" are one name, and so are "ΣΩΣ", "σωσ" and "σως". Nothing
// else is folded: no accents dropped, no normalisation.
#include <cstddef>
#include <cstdint>
#include <string>

namespace gallery {

// The code point at text[at] and its length in bytes; 0 bytes when it is
// not UTF-8 (cut short, overlong, a surrogate, past U+10FFFF).
size_t decodeUtf8(const std::string& text, size_t at, uint32_t& code);
// False when the C library has no C.UTF-8 locale to fold with.
bool caseFoldReady();
// The text with every character folded; bytes that are not UTF-8 stay as
// they are.
std::string foldCase(const std::string& text);

}  // namespace gallery
