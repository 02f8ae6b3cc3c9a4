#pragma once
// The source scan: string literals in the C++ sources that look like asset
// names must be names the required manifest knows, so code cannot name an
// asset that is not made. Comments are skipped; literals ending in "_" or "/",
// or holding a printf field, are prefixes and templates of built names.
#include <string>
#include <vector>

#include "Required.h"

namespace assetcheck {

struct Literal {
    std::string text;
    std::string file;
    int line = 0;
};

// The string literals of one C++ source text (comments and character literals skipped).
std::vector<Literal> stringLiterals(const std::string& source, const std::string& file);

// True when the literal looks like the name of an asset.
bool looksLikeAsset(const std::string& text, const std::vector<std::string>& sheets);

// True when the manifest knows the name (a path, a sound's stem, a frame, or
// the .pvr.ccz name of a sheet), or some name fits the prefix or template.
bool covered(const std::string& text, const std::vector<RequiredName>& required);

// Scans every .cpp and .h under the folders; one error per uncovered literal,
// naming the literal, its file and line.
void scanSources(const std::vector<std::string>& folders, const std::vector<RequiredName>& required,
                 const std::vector<std::string>& sheets, std::vector<std::string>& errors);

}  // namespace assetcheck
