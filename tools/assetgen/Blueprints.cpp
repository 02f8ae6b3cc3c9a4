#include "Blueprints.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <set>
#include <sstream>

#include "Manifest.h"
#include "Plist.h"

namespace assetgen {

namespace {

std::vector<std::string> words(const std::string& line)
{
    std::istringstream in(line);
    std::vector<std::string> out;
    std::string w;
    while (in >> w)
        out.push_back(w);
    return out;
}

bool isBlankOrComment(const std::string& line)
{
    const size_t first = line.find_first_not_of(" \t");
    return first == std::string::npos || line[first] == '#';
}

const std::set<std::string>& knownOrders()
{
    static const std::set<std::string> orders = {"BottomToTop", "TopToBottom", "CenterToSides"};
    return orders;
}

std::vector<std::string> listEntries(const std::string& folder, bool wantFolders)
{
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* e = readdir(dir)) {
            const std::string name = e->d_name;
            if (name == "." || name == "..")
                continue;
            struct stat st { };
            if (stat((folder + "/" + name).c_str(), &st) != 0)
                continue;
            if (S_ISDIR(st.st_mode) == wantFolders)
                names.push_back(name);
        }
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string specsPlist(const BlueprintSource& source)
{
    PlistWriter w;
    std::string text = w.finish();
    // The writer has no arrays: the stage list is written here in its layout.
    std::string body = "<array>\n";
    for (size_t i = 0; i < source.stages.size(); ++i) {
        body += "\t<dict>\n";
        if (i == 0) {
            body += "\t\t<key>allowFlipping</key>\n";
            body += source.flipping ? "\t\t<true/>\n" : "\t\t<false/>\n";
        }
        body += "\t\t<key>behaviour</key>\n\t\t<string>" + xmlEscape(source.stages[i].order) + "</string>\n";
        body += "\t\t<key>element</key>\n\t\t<string>" + xmlEscape(source.stages[i].element) + "</string>\n";
        body += "\t</dict>\n";
    }
    body += "</array>\n";
    const std::string closing = "</plist>\n";
    return text.substr(0, text.size() - closing.size()) + body + closing;
}

bool writeVariant(const BlueprintSource& source, size_t variant, const std::string& folder, std::string& error)
{
    if (!writeTextFile(folder + "/specs.plist", specsPlist(source), error))
        return false;
    const std::vector<Image> images = blueprintStageImages(source, variant);
    for (size_t i = 0; i < images.size(); ++i)
        if (!writePng(folder + "/" + std::to_string(i) + ".png", images[i], error))
            return false;
    return true;
}

}  // namespace

bool readBlueprintSource(const std::string& path, BlueprintSource& out, std::string& error)
{
    std::vector<std::string> lines;
    if (!readLines(path, lines, error))
        return false;
    out = BlueprintSource{};
    out.name = path;
    auto failAt = [&](size_t n, const std::string& message) {
        error = path + ":" + std::to_string(n + 1) + ": " + message;
        return false;
    };
    for (size_t n = 0; n < lines.size(); ++n) {
        std::string line = lines[n];
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (isBlankOrComment(line))
            continue;
        const std::vector<std::string> w = words(line);
        if (w[0] == "size" && w.size() == 3) {
            if (!parseInt(w[1], out.width) || !parseInt(w[2], out.height) || out.width < 1 || out.height < 1 ||
                out.width > 255 || out.height > 255)
                return failAt(n, "size wants a width and a height from 1 to 255");
        } else if (w[0] == "stage" && w.size() == 3) {
            if (!knownOrders().count(w[2]))
                return failAt(n, "unknown order '" + w[2] + "'");
            out.stages.push_back({w[1], w[2]});
        } else if (w[0] == "flipping" && w.size() == 1) {
            out.flipping = true;
        } else if (w[0] == "color" && w.size() == 6) {
            const unsigned char c = static_cast<unsigned char>(w[1].size() == 1 ? w[1][0] : 0);
            int stage = 0, r = 0, g = 0, b = 0;
            if (w[1].size() != 1 || c == '.' || c <= ' ' || c > '~')
                return failAt(n, "a legend character is one printable character other than '.'");
            if (!parseInt(w[2], stage) || stage < 0 || !parseInt(w[3], r) || !parseInt(w[4], g) || !parseInt(w[5], b) ||
                r < 0 || r > 255 || g < 0 || g > 255 || b < 0 || b > 255)
                return failAt(n, "color wants CHAR STAGE R G B");
            if (out.inLegend[c])
                return failAt(n, "the character '" + w[1] + "' is already in the legend");
            out.inLegend[c] = true;
            out.legend[c] = {stage, {static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b), 255}};
        } else if (w[0] == "variant" && w.size() == 1) {
            if (out.width < 1)
                return failAt(n, "size comes before the first variant");
            std::vector<std::string> grid;
            for (int row = 0; row < out.height; ++row) {
                if (++n >= lines.size())
                    return failAt(n - 1, "the grid has fewer than " + std::to_string(out.height) + " rows");
                std::string text = lines[n];
                if (!text.empty() && text.back() == '\r')
                    text.pop_back();
                if (static_cast<int>(text.size()) != out.width)
                    return failAt(
                        n, "a grid row is " + std::to_string(text.size()) + " wide, not " + std::to_string(out.width));
                for (char ch : text) {
                    const unsigned char c = static_cast<unsigned char>(ch);
                    if (c != '.' && !out.inLegend[c])
                        return failAt(n, std::string("the character '") + ch + "' is not in the legend");
                }
                grid.push_back(text);
            }
            out.variants.push_back(std::move(grid));
        } else {
            return failAt(n, "unknown statement '" + w[0] + "'");
        }
    }
    if (out.stages.empty())
        return failAt(lines.size(), "no stage");
    if (out.variants.empty())
        return failAt(lines.size(), "no variant");
    for (int c = 0; c < 256; ++c)
        if (out.inLegend[c] && out.legend[c].stage >= static_cast<int>(out.stages.size()))
            return failAt(lines.size(),
                          std::string("the character '") + static_cast<char>(c) + "' names a missing stage");
    return true;
}

std::vector<Image> blueprintStageImages(const BlueprintSource& source, size_t variant)
{
    std::vector<Image> images(source.stages.size(), Image(source.width, source.height));
    const auto& grid = source.variants[variant];
    for (int y = 0; y < source.height; ++y)
        for (int x = 0; x < source.width; ++x) {
            const unsigned char c = static_cast<unsigned char>(grid[static_cast<size_t>(y)][static_cast<size_t>(x)]);
            if (c == '.')
                continue;
            const BlueprintSource::Legend& l = source.legend[c];
            images[static_cast<size_t>(l.stage)].set(x, y, l.colour);
        }
    return images;
}

bool writeBlueprintFolder(const BlueprintSource& source, const std::string& folder, std::string& error)
{
    if (source.variants.size() == 1)
        return writeVariant(source, 0, folder, error);
    PlistWriter w;
    w.beginDict();
    w.key("variants");
    w.integer(static_cast<long>(source.variants.size()));
    w.endDict();
    if (!writeTextFile(folder + "/randomVars.plist", w.finish(), error))
        return false;
    for (size_t v = 0; v < source.variants.size(); ++v)
        if (!writeVariant(source, v, folder + "/" + std::to_string(v), error))
            return false;
    return true;
}

bool generateBlueprints(const std::string& sources, const std::string& out, std::string& error)
{
    for (const std::string& group : listEntries(sources, true))
        for (const std::string& file : listEntries(sources + "/" + group, false)) {
            if (file.size() <= 3 || file.compare(file.size() - 3, 3, ".bp") != 0)
                continue;
            BlueprintSource source;
            if (!readBlueprintSource(sources + "/" + group + "/" + file, source, error))
                return false;
            const std::string name = file.substr(0, file.size() - 3);
            if (!writeBlueprintFolder(source, out + "/" + group + "/" + name, error))
                return false;
        }
    return true;
}

}  // namespace assetgen
