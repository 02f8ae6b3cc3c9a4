#include "TableMap.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <set>
#include <sstream>

namespace tablegen {

namespace {

constexpr int32_t kWorldWidth = 240;
constexpr int32_t kWorldHeight = 160;

bool isName(const std::string& s)
{
    if (s.empty() || !std::isalpha(static_cast<unsigned char>(s[0])))
        return false;
    return std::all_of(s.begin(), s.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; });
}

std::string trimmed(const std::string& line)
{
    size_t end = line.find_last_not_of(" \t\r");
    return end == std::string::npos ? std::string() : line.substr(0, end + 1);
}

}  // namespace

bool parseTableSource(const std::string& text, const std::string& where, TableSource& out, std::string& error)
{
    out = {};
    std::istringstream in(text);
    std::string line;
    int number = 0;
    bool haveOrigin = false;
    bool inLegend = false;
    bool haveLegend = false;
    bool inPixels = false;
    int32_t originX = 0, originY = 0;
    int row = 0;
    size_t width = 0;
    std::vector<int> tableLines;
    auto fail = [&](const std::string& what) {
        error = where + ":" + std::to_string(number) + ": " + what;
        return false;
    };
    auto known = [&](char pixel) {
        if (!haveLegend)
            return pixel == '#';
        return std::any_of(out.legend.begin(), out.legend.end(), [&](const Colour& c) { return c.pixel == pixel; });
    };
    while (std::getline(in, line)) {
        ++number;
        line = trimmed(line);
        if (inPixels) {
            if (line.empty())
                return fail("an empty row inside the pixels");
            if (width == 0)
                width = line.size();
            if (line.size() != width)
                return fail("rows differ in width");
            for (size_t c = 0; c < line.size(); ++c) {
                if (line[c] == '.')
                    continue;
                if (!known(line[c]))
                    return fail(std::string("unknown pixel '") + line[c] + "'");
                const Cell cell{originX + static_cast<int32_t>(c), originY - row, line[c]};
                if (cell.x < 0 || cell.y < 0 || cell.x >= kWorldWidth || cell.y >= kWorldHeight)
                    return fail("a cell outside the world");
                out.cells.push_back(cell);
            }
            ++row;
            continue;
        }
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream words(line);
        std::string word;
        words >> word;
        if (inLegend) {
            if (word == "end") {
                if (out.legend.empty())
                    return fail("an empty legend");
                inLegend = false;
            } else {
                Colour colour;
                if (word.size() != 1 || word[0] == '.' || !(words >> colour.element) || !isName(colour.element))
                    return fail("expected: CHARACTER ELEMENT (not '.' or '#') or end");
                colour.pixel = word[0];
                if (known(colour.pixel))
                    return fail(std::string("the colour '") + colour.pixel + "' twice");
                out.legend.push_back(colour);
            }
        } else if (word == "table") {
            TableName name;
            std::string letter;
            if (!(words >> name.mission >> letter >> name.element) || !isName(name.mission) || !isName(name.element) ||
                letter.size() != 1 || letter[0] < 'A' || letter[0] > 'Z')
                return fail("expected: table MISSION LETTER ELEMENT, or table MISSION LETTER legend [CHARACTERS]");
            name.letter = letter[0];
            if (name.element == "legend") {
                name.element.clear();
                words >> name.pixels;
            } else {
                name.pixels = "#";
            }
            out.tables.push_back(name);
            tableLines.push_back(number);
        } else if (word == "legend") {
            if (haveLegend)
                return fail("a second legend");
            inLegend = haveLegend = true;
        } else if (word == "origin") {
            if (!(words >> originX >> originY))
                return fail("expected: origin X Y");
            haveOrigin = true;
        } else if (word == "pixels") {
            if (!haveOrigin)
                return fail("pixels before the origin");
            inPixels = true;
        } else {
            return fail("unknown line '" + word + "'");
        }
        std::string extra;
        if (words >> extra)
            return fail("unexpected '" + extra + "'");
    }
    if (inLegend)
        return fail("a legend without its end");
    if (out.tables.empty())
        return fail("no table line");
    if (out.cells.empty())
        return fail("no cell");
    std::sort(out.cells.begin(), out.cells.end(),
              [](const Cell& a, const Cell& b) { return a.x != b.x ? a.x < b.x : a.y < b.y; });
    for (size_t i = 0; i < out.tables.size(); ++i) {
        TableName& table = out.tables[i];
        number = tableLines[i];
        if (table.element.empty() != haveLegend)
            return fail(haveLegend ? "a map with a legend takes its elements from it: table MISSION LETTER legend"
                                   : "a table over a legend, but the map has none");
        if (haveLegend && table.pixels.empty())
            for (const Colour& c : out.legend)
                table.pixels += c.pixel;
        for (char pixel : table.pixels)
            if (!known(pixel))
                return fail(std::string("no colour '") + pixel + "' in the legend");
        if (tableRecords(out, table).empty())
            return fail("table " + table.mission + " " + table.letter + " has no cell");
    }
    return true;
}

bool readTableSource(const std::string& path, TableSource& out, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot be read";
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    return parseTableSource(text.str(), path, out, error);
}

uint32_t typeId(std::string_view name)
{
    uint32_t h = 5381u;
    for (char c : name)
        h = h * 33u + static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(c)));
    return h;
}

std::vector<Record> tableRecords(const TableSource& source, const TableName& table)
{
    std::vector<Record> records;
    for (const Cell& cell : source.cells) {
        if (table.pixels.find(cell.pixel) == std::string::npos)
            continue;
        std::string element = table.element;
        for (const Colour& c : source.legend)
            if (element.empty() && c.pixel == cell.pixel)
                element = c.element;
        records.push_back({cell.x, cell.y, element});
    }
    return records;
}

bool writeTableData(const std::vector<TableSource>& sources, std::string& out, std::string& error)
{
    std::set<std::string> seen;
    std::ostringstream s;
    // Inline, so that every unit of the game may include them and the
    // program holds each table once.
    s << "// Written by tools/tablegen from assets/levels/tables; not to be edited.\n"
         "#pragma once\n#include \"goals/MissionPattern.h\"\n";
    for (const TableSource& source : sources)
        for (const TableName& table : source.tables) {
            const std::string name = "kMap" + table.mission + table.letter;
            if (!seen.insert(name).second) {
                error = "table " + table.mission + " " + table.letter + " is drawn twice";
                return false;
            }
            const std::vector<Record> records = tableRecords(source, table);
            s << "\n// " << table.mission << " " << table.letter << ": " << records.size() << " cells"
              << "\ninline constexpr MissionPatternRecord " << name << "[] = {\n";
            for (const Record& r : records)
                s << "    {" << r.x << ", " << r.y << ", " << typeId(r.element) << "u, 0},\n";
            s << "    {0, 0, 0, 1},\n};\n";
        }
    out = s.str();
    return true;
}

}  // namespace tablegen
