#include "Required.h"

#include "Manifest.h"

namespace assetcheck {

namespace {

// The top-level brace group's alternatives: "a,b" or "1..3".
bool alternatives(const std::string& inside, std::vector<std::string>& out)
{
    size_t dots = inside.find("..");
    if (dots != std::string::npos && inside.find(',') == std::string::npos) {
        int first = 0, last = 0;
        if (!assetgen::parseInt(inside.substr(0, dots), first) || !assetgen::parseInt(inside.substr(dots + 2), last) ||
            first > last || last - first > 10000)
            return false;
        for (int i = first; i <= last; ++i)
            out.push_back(std::to_string(i));
        return true;
    }
    int depth = 0;
    size_t start = 0;
    for (size_t i = 0; i <= inside.size(); ++i) {
        char c = i < inside.size() ? inside[i] : ',';
        if (c == '{')
            ++depth;
        else if (c == '}')
            --depth;
        else if (c == ',' && depth == 0) {
            out.push_back(inside.substr(start, i - start));
            start = i + 1;
        }
    }
    return true;
}

}  // namespace

bool expandBraces(const std::string& pattern, std::vector<std::string>& out)
{
    size_t open = pattern.find('{');
    if (open == std::string::npos) {
        if (pattern.find('}') != std::string::npos)
            return false;
        out.push_back(pattern);
        return true;
    }
    int depth = 0;
    size_t close = std::string::npos;
    for (size_t i = open; i < pattern.size(); ++i) {
        if (pattern[i] == '{')
            ++depth;
        else if (pattern[i] == '}' && --depth == 0) {
            close = i;
            break;
        }
    }
    if (close == std::string::npos || pattern.substr(0, open).find('}') != std::string::npos)
        return false;
    std::vector<std::string> alts;
    if (!alternatives(pattern.substr(open + 1, close - open - 1), alts))
        return false;
    const std::string head = pattern.substr(0, open), tail = pattern.substr(close + 1);
    for (const std::string& alt : alts)
        if (!expandBraces(head + alt + tail, out))
            return false;
    return true;
}

bool readRequired(const std::string& path, std::vector<RequiredName>& out, std::string& error)
{
    std::vector<assetgen::ManifestLine> lines;
    if (!assetgen::readManifest(path, lines, error))
        return false;
    for (const auto& line : lines) {
        std::vector<std::string> w = line.words;
        bool later = false;
        if (w[0] == "later") {
            later = true;
            w.erase(w.begin());
        }
        static const char* kinds[] = {"file", "sound", "music", "sheet", "frame", "shop"};
        bool known = false;
        for (const char* k : kinds)
            known = known || (!w.empty() && w[0] == k);
        if (!known || w.size() != 2) {
            error = line.where() + ": expected [later] file|sound|music|sheet|frame|shop PATTERN";
            return false;
        }
        std::vector<std::string> names;
        if (!expandBraces(w[1], names)) {
            error = line.where() + ": unbalanced braces or a bad range in " + w[1];
            return false;
        }
        for (const std::string& name : names) {
            if (w[0] == "sheet") {
                out.push_back({"file", "pvr/" + name + ".plist", later, line.where()});
                out.push_back({"file", "pvr/" + name + ".png", later, line.where()});
            } else {
                out.push_back({w[0], name, later, line.where()});
            }
        }
    }
    return true;
}

}  // namespace assetcheck
