#pragma once
// assets/required.manifest: every name the game reads from the resource tree.
//
//   file PATTERN          a file of the tree
//   sound PATTERN         an effect or instrument note (checked against its recipe)
//   music PATTERN         a music track (checked against its score)
//   sheet NAME            pvr/NAME.plist and pvr/NAME.png
//   frame PATTERN         a frame of a sheet
//   shop PATTERN          an element of the shop's list (data/shop.plist prices it)
//   later KIND PATTERN    named by the code, made by a later step: known to the
//                         source scan, reported (not failed) while missing
//
// Patterns expand "{a,b,c}" and "{1..3}" like a shell does.
#include <string>
#include <vector>

namespace assetcheck {

struct RequiredName {
    std::string kind;  // file sound music frame shop
    std::string path;  // relative to the resource root; a frame's bare name
    bool later = false;
    std::string where;  // manifest line, for messages
};

// Shell-style brace expansion; false on unbalanced braces or a bad range.
bool expandBraces(const std::string& pattern, std::vector<std::string>& out);

bool readRequired(const std::string& path, std::vector<RequiredName>& out, std::string& error);

}  // namespace assetcheck
