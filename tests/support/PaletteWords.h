#pragma once
// Finding an element's palette name in a text, in any of the three
// languages: the text's words, a word's plural and feminine forms, and the
// name the palette shows.
#include <map>
#include <string>
#include <vector>

namespace testsupport {

// A text's words in lower case: letters, accented ones too, and digits;
// spaces, punctuation, apostrophes and hyphens part them.
std::vector<std::string> wordsOf(const std::string& text);

// A word is a base word or its plural or feminine: jaunes, marquée, rojas,
// sensores, camiones, luces, métaux, batteries.
bool isFormOf(const std::string& word, const std::string& base);

// Where a phrase's words stand in a text's words, each in any of its forms
// (or only as written).
std::vector<size_t> phraseAt(const std::vector<std::string>& text, const std::vector<std::string>& phrase,
                             bool forms = true);

// A localisation table's texts by key (empty when it cannot be read).
std::map<std::string, std::string> textTable(const std::string& plist);

// The name the palette shows for an element: its palette title without the
// line breaks, or its title (or the element's own name without either).
std::string paletteName(const std::map<std::string, std::string>& table, const std::string& element);

}  // namespace testsupport
