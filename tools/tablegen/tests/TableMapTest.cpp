// The table reader: cells placed from the origin (rows counting down), in
// column order, several tables over one map, and every fault named with its
// line.
#include <gtest/gtest.h>

#include "TableMap.h"

using namespace tablegen;

TEST(TableMap, CellsComeColumnByColumnFromTheBottomUp)
{
    TableSource source;
    std::string error;
    ASSERT_TRUE(parseTableSource("# two tables\ntable Day B Acid\ntable Day C Mud\norigin 10 20\npixels\n"
                                 "#.#\n.#.\n#..\n",
                                 "t", source, error))
        << error;
    ASSERT_EQ(source.tables.size(), 2u);
    EXPECT_EQ(source.tables[1].letter, 'C');
    EXPECT_EQ(source.tables[1].element, "Mud");
    EXPECT_EQ(source.cells, (std::vector<Cell>{{10, 18}, {10, 20}, {11, 19}, {12, 20}}));

    std::string out;
    ASSERT_TRUE(writeTableData({source}, out, error));
    EXPECT_NE(out.find("kMapDayB[] = {\n    {10, 18, " + std::to_string(typeId("Acid")) + "u, 0},"), std::string::npos)
        << out;
    EXPECT_NE(out.find("{12, 20, " + std::to_string(typeId("Mud")) + "u, 0},\n    {0, 0, 0, 1},\n};"),
              std::string::npos)
        << out;
    EXPECT_EQ(typeId("Bulb"), 2088976522u);
    EXPECT_FALSE(writeTableData({source, source}, out, error));
    EXPECT_EQ(error, "table Day B is drawn twice");
}

#define EXPECTED_TABLE "expected: table MISSION LETTER ELEMENT, or table MISSION LETTER legend [CHARACTERS]"

TEST(TableMap, FaultsNameTheirLine)
{
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"table A B Metal\npixels\n#\n", "t:2: pixels before the origin"},
        {"table A B Metal\norigin 0 0\npixels\n#x\n", "t:4: unknown pixel 'x'"},
        {"table A B Metal\norigin 0 5\npixels\n##\n#\n", "t:5: rows differ in width"},
        {"table A B Metal\norigin 239 5\npixels\n.#\n", "t:4: a cell outside the world"},
        {"table A B Metal\norigin 0 0\npixels\n#\n\n#\n", "t:5: an empty row inside the pixels"},
        {"table A b Metal\n", "t:1: " EXPECTED_TABLE},
        {"table A B\n", "t:1: " EXPECTED_TABLE},
        {"table A B Metal extra\n", "t:1: unexpected 'extra'"},
        {"origin 1\n", "t:1: expected: origin X Y"},
        {"size 3 3\n", "t:1: unknown line 'size'"},
        {"origin 1 1\npixels\n#\n", "t:3: no table line"},
        {"table A B Metal\norigin 1 1\npixels\n...\n", "t:4: no cell"},
        // Maps in colours.
        {"legend\nO Obsidian\nend\ntable A B Metal\norigin 0 0\npixels\nO\n",
         "t:4: a map with a legend takes its elements from it: table MISSION LETTER legend"},
        {"table A B legend\norigin 0 0\npixels\n#\n", "t:1: a table over a legend, but the map has none"},
        {"table A B legend O\norigin 0 0\npixels\n.\n", "t:4: no cell"},
        {"legend\nO Obsidian\nend\ntable A B legend\ntable A C legend x\norigin 0 0\npixels\nO\n",
         "t:5: no colour 'x' in the legend"},
        {"legend\nO Obsidian\nd Diamond\nend\ntable A B legend d\norigin 0 0\npixels\nO\n",
         "t:5: table A B has no cell"},
        {"legend\nO Obsidian\nO Diamond\nend\n", "t:3: the colour 'O' twice"},
        {"legend\nOO Obsidian\nend\n", "t:2: expected: CHARACTER ELEMENT (not '.' or '#') or end"},
        {"legend\n. Obsidian\nend\n", "t:2: expected: CHARACTER ELEMENT (not '.' or '#') or end"},
        {"legend\nO\nend\n", "t:2: expected: CHARACTER ELEMENT (not '.' or '#') or end"},
        {"legend\nend\n", "t:2: an empty legend"},
        {"legend\nO Obsidian\n", "t:2: a legend without its end"},
        {"legend\nO Obsidian\nend\nlegend\n", "t:4: a second legend"},
        {"legend\nO Obsidian\nend\ntable A B legend\norigin 0 0\npixels\nOx\n", "t:7: unknown pixel 'x'"},
    };
    for (const auto& c : cases) {
        TableSource source;
        std::string error;
        EXPECT_FALSE(parseTableSource(c.text, "t", source, error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
}

// One map in colours: each table takes the cells of its colours (all of them
// when it names none), each cell with its colour's element, in column order.
TEST(TableMap, ALegendGivesEachCellItsElement)
{
    TableSource source;
    std::string error;
    ASSERT_TRUE(parseTableSource("legend\nO Obsidian\nd Diamond\nx Tnt\nend\n"
                                 "table Pix A legend\ntable Pix B legend Ox\ntable Pix C legend d\n"
                                 "origin 5 9\npixels\nOdO\nx.d\n",
                                 "t", source, error))
        << error;
    const std::vector<Record> all = {
        {5, 8, "Tnt"}, {5, 9, "Obsidian"}, {6, 9, "Diamond"}, {7, 8, "Diamond"}, {7, 9, "Obsidian"}};
    const std::vector<Record> outline = {{5, 8, "Tnt"}, {5, 9, "Obsidian"}, {7, 9, "Obsidian"}};
    const std::vector<Record> gems = {{6, 9, "Diamond"}, {7, 8, "Diamond"}};
    const std::vector<Record> expected[] = {all, outline, gems};
    ASSERT_EQ(source.tables.size(), 3u);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(tableRecords(source, source.tables[i]), expected[i]) << source.tables[i].letter;

    std::string out;
    ASSERT_TRUE(writeTableData({source}, out, error));
    EXPECT_NE(out.find("kMapPixC[] = {\n    {6, 9, " + std::to_string(typeId("Diamond")) + "u, 0},\n    {7, 8, " +
                       std::to_string(typeId("Diamond")) + "u, 0},\n    {0, 0, 0, 1},\n};"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("{5, 8, 193472219u, 0}"), std::string::npos) << "Tnt's own type id";
}
