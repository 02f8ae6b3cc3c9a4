#pragma once
// Nicknames are one when a player would read them as one. The comparison key
// leaves out what draws nothing (Unicode's default-ignorable characters, and
// an accent with no letter to sit on), reads any run of blanks as one space
// and none at the ends, and folds case: each character's uppercase, then
// that one's lowercase, by Unicode's simple (one for one) case mappings as
// the C library's C.UTF-8 locale carries them, so "Éva" and "éva" are one
// name, and so are "ΣΩΣ", "σωσ" and "σως". Nothing else is folded: no
// accents dropped, no normalisation, no look-alike letters of other scripts.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

namespace gallery {

struct CodeRange {
    uint32_t first;
    uint32_t last;
};
// Whether the code point lies in one of the ranges (both ends included).
bool inRanges(uint32_t code, std::initializer_list<CodeRange> ranges);

// False when the C library has no C.UTF-8 locale to fold with.
bool caseFoldReady();
// The key two nicknames are compared by; empty when nothing of the name
// shows. Bytes that are not UTF-8 stay as they are.
std::string nicknameKey(const std::string& nickname);

}  // namespace gallery
