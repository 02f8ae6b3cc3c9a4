#pragma once
// Pattern tables drawn as pixel maps (assets/levels/tables/*.table): the
// cells a mission tests, authored once and turned into the game's constant
// table data at build time. A tool that builds worlds can read them too.
//
//   # comment
//   table MISSION LETTER ELEMENT   a table of the map's '#' cells, all ELEMENT
//   origin X Y                     the world cell of the map's top-left character
//   pixels                         every later line is one row, top row first:
//   ..##..                         '#' a cell of the tables, '.' none
//
// A map in colours has a legend instead, and its tables take their elements
// from it:
//
//   legend                         one line per colour: CHARACTER ELEMENT
//   O Obsidian
//   d Diamond
//   end
//   table MISSION LETTER legend [CHARACTERS]   the cells of those colours
//                                              (every colour when none given)
//
// World rows count up from the bottom, so the map's row r is y = Y - r.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tablegen {

struct Cell {
    int32_t x = 0;
    int32_t y = 0;
    char pixel = '#';
    bool operator==(const Cell&) const = default;
};

struct TableName {
    std::string mission;
    char letter = 'A';
    std::string element;  // empty for a table over the legend
    std::string pixels;   // the map characters whose cells it takes
};

struct Colour {
    char pixel = 0;
    std::string element;
};

struct TableSource {
    std::vector<TableName> tables;
    std::vector<Colour> legend;
    // Column by column from the left, each from the bottom up.
    std::vector<Cell> cells;
};

struct Record {
    int32_t x = 0;
    int32_t y = 0;
    std::string element;
    bool operator==(const Record&) const = default;
};

// False with a message naming the line on any fault.
bool parseTableSource(const std::string& text, const std::string& where, TableSource& out, std::string& error);
bool readTableSource(const std::string& path, TableSource& out, std::string& error);

// One table's cells with their elements, in the map's order.
std::vector<Record> tableRecords(const TableSource& source, const TableName& table);

// The type id of an element: djb2 of its type name.
uint32_t typeId(std::string_view name);

// C++ definitions of every table: "kMap<mission><letter>", each closed by
// its end record. False when two sources name the same table.
bool writeTableData(const std::vector<TableSource>& sources, std::string& out, std::string& error);

}  // namespace tablegen
