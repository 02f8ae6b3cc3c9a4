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
        {"table A b Metal\n", "t:1: expected: table MISSION LETTER ELEMENT"},
        {"table A B\n", "t:1: expected: table MISSION LETTER ELEMENT"},
        {"table A B Metal extra\n", "t:1: unexpected 'extra'"},
        {"origin 1\n", "t:1: expected: origin X Y"},
        {"size 3 3\n", "t:1: unknown line 'size'"},
        {"origin 1 1\npixels\n#\n", "t:3: no table line"},
        {"table A B Metal\norigin 1 1\npixels\n...\n", "t:4: no cell"},
    };
    for (const auto& c : cases) {
        TableSource source;
        std::string error;
        EXPECT_FALSE(parseTableSource(c.text, "t", source, error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
}
