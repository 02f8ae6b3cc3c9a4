#include "PixelMap.h"

#include "Manifest.h"

#include <map>
#include <sstream>

namespace assetgen {

bool readPixelMap(const std::string& path, Image& out, std::string& error)
{
    std::vector<std::string> lines;
    if (!readLines(path, lines, error))
        return false;
    std::map<char, Rgba> legend;
    int scale = 1;
    size_t i = 0;
    for (; i < lines.size(); ++i) {
        std::istringstream words(lines[i]);
        std::string keyword;
        if (!(words >> keyword) || keyword[0] == '#')
            continue;
        std::string where = path + ":" + std::to_string(i + 1) + ": ";
        if (keyword == "pixels") {
            ++i;
            break;
        }
        if (keyword == "scale") {
            std::string v;
            if (!(words >> v) || !parseInt(v, scale) || scale < 1 || scale > 64) {
                error = where + "scale wants a whole number from 1 to 64";
                return false;
            }
        } else if (keyword == "color") {
            std::string key, r, g, b, a;
            int c[4];
            if (!(words >> key >> r >> g >> b >> a) || key.size() != 1 || !parseInt(r, c[0]) || !parseInt(g, c[1]) ||
                !parseInt(b, c[2]) || !parseInt(a, c[3])) {
                error = where + "color wants one character and four numbers";
                return false;
            }
            for (int v : c)
                if (v < 0 || v > 255) {
                    error = where + "colour components run from 0 to 255";
                    return false;
                }
            legend[key[0]] = {static_cast<uint8_t>(c[0]), static_cast<uint8_t>(c[1]), static_cast<uint8_t>(c[2]),
                              static_cast<uint8_t>(c[3])};
        } else {
            error = where + "unknown statement '" + keyword + "'";
            return false;
        }
    }
    std::vector<std::string> rows;
    for (; i < lines.size(); ++i)
        if (!lines[i].empty())
            rows.push_back(lines[i]);
    if (rows.empty()) {
        error = path + ": no pixels";
        return false;
    }
    const size_t width = rows[0].size();
    Image image(static_cast<int>(width), static_cast<int>(rows.size()));
    for (size_t y = 0; y < rows.size(); ++y) {
        if (rows[y].size() != width) {
            error = path + ": pixel row " + std::to_string(y + 1) + " is " + std::to_string(rows[y].size()) +
                " wide, the first is " + std::to_string(width);
            return false;
        }
        for (size_t x = 0; x < width; ++x) {
            auto it = legend.find(rows[y][x]);
            if (it == legend.end()) {
                error = path + ": pixel row " + std::to_string(y + 1) + " uses '" + std::string(1, rows[y][x]) +
                    "', which the legend lacks";
                return false;
            }
            image.set(static_cast<int>(x), static_cast<int>(y), it->second);
        }
    }
    out = image.scaled(scale);
    return true;
}

}  // namespace assetgen
