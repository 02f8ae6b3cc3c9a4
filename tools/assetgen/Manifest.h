#pragma once
// Line-based manifests: one statement a line, words separated by blanks,
// '#' as the first non-blank character starts a comment line.
#include <string>
#include <vector>

namespace assetgen {

struct ManifestLine {
    std::string file;
    int number = 0;
    std::vector<std::string> words;
    std::string rest;  // the text after the first word, untouched
    std::string where() const { return file + ":" + std::to_string(number); }
};

bool readManifest(const std::string& path, std::vector<ManifestLine>& lines, std::string& error);
bool readLines(const std::string& path, std::vector<std::string>& lines, std::string& error);

// Strict integer parse of a whole word; false on junk or overflow.
bool parseInt(const std::string& word, int& value);

// Decodes UTF-8 text into its characters, each kept as its own byte sequence.
// Blanks are skipped. False on malformed UTF-8.
bool splitUtf8Chars(const std::string& text, std::vector<std::string>& chars);
// The code point of one UTF-8 character, or -1.
long decodeUtf8(const std::string& ch);
std::string encodeUtf8(long codepoint);

}  // namespace assetgen
