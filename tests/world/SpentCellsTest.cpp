#include <gtest/gtest.h>

#include <memory>

#include "support/CleanGame.h"
#include "world/SpentCells.h"
#include "world/TemperatureField.h"

namespace {

// Live counts per tile follow marks and changes; cells beyond the world's
// edge never count, and a new start forgets every mark.
TEST(SpentCells, TilesCountTheirLiveCellsInsideTheWorld)
{
    struct Row {
        const char* name;
        int width, height;
        int markX, markY, marks;  // marks cells eight a row from (markX, markY)
        bool markAgain;
        int forgetX, forgetY;  // then one change (-1: none)
        int tileX, tileY, live, liveTiles;
    };
    const Row rows[] = {
        {"a big world's first tile", 240, 160, 0, 0, 0, false, -1, -1, 0, 0, 64, 600},
        {"a small world ends at tile 15 x 10", 120, 80, 0, 0, 0, false, -1, -1, 15, 0, 0, 150},
        {"a tile spent cell by cell", 240, 160, 8, 8, 8 * 8, false, -1, -1, 1, 1, 0, 599},
        {"a mark twice counts once", 240, 160, 8, 8, 1, true, -1, -1, 1, 1, 63, 600},
        {"a changed cell is live again", 240, 160, 8, 8, 8 * 8, false, 9, 9, 1, 1, 1, 600},
        {"a mark beyond the world does nothing", 120, 80, 130, 8, 1, false, -1, -1, 16, 1, 0, 150},
    };
    for (const Row& r : rows) {
        auto cells = std::make_unique<SpentCells>();
        cells->begin(r.width, r.height, 0);
        for (int i = 0; i < r.marks; ++i)
            cells->markSpent(r.markX + i % 8, r.markY + i / 8);
        if (r.markAgain)
            cells->markSpent(r.markX, r.markY);
        if (r.forgetX >= 0)
            cells->forgetCell(r.forgetX, r.forgetY);
        EXPECT_EQ(cells->liveInTile(r.tileX, r.tileY), r.live) << r.name;
        EXPECT_EQ(cells->liveTiles(), r.liveTiles) << r.name;
        // The same start keeps the marks; another heat stamp forgets them.
        cells->begin(r.width, r.height, 0);
        EXPECT_EQ(cells->liveTiles(), r.liveTiles) << r.name;
        cells->begin(r.width, r.height, 1);
        EXPECT_FALSE(cells->isSpent(r.markX, r.markY)) << r.name;
    }
}

// Heat set or taken away at a cell makes the four cells of its block live;
// heat added leaves them spent (a step or a reset forgets them all: the
// blasts' own tests show it).
TEST(SpentCells, LoweredHeatMakesItsBlockLive)
{
    struct Row {
        const char* name;
        void (*change)(TemperatureField& field);
        bool stillSpent;
    };
    const Row rows[] = {
        {"heat added", [](TemperatureField& f) { f.addAt(11, 21, 5.0f); }, true},
        {"heat taken", [](TemperatureField& f) { f.addAt(11, 21, -5.0f); }, false},
        {"heat set", [](TemperatureField& f) { f.setAt(11, 21, TemperatureField::kMax); }, false},
    };
    testsupport::resetGame();
    for (const Row& r : rows) {
        auto cells = std::make_unique<SpentCells>();
        TemperatureField field;
        field.watchLowerings(cells.get());
        cells->begin(240, 160, field.bulkChanges());
        for (int x = 10; x < 12; ++x)
            for (int y = 20; y < 22; ++y)
                cells->markSpent(x, y);
        r.change(field);
        for (int x = 10; x < 12; ++x)
            for (int y = 20; y < 22; ++y)
                EXPECT_EQ(cells->isSpent(x, y), r.stillSpent) << r.name << " at " << x << ", " << y;
    }
    testsupport::resetGame();
}

}  // namespace
