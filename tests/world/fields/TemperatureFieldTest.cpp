#include <gtest/gtest.h>

#include <cfloat>
#include <memory>

#include "base/ScreenMetrics.h"
#include "cocos2d/CCSprite.h"
#include "hud/GUI.h"
#include "world/ElectricityGrid.h"
#include "world/World.h"
#include "world/FieldOverlay.h"
#include "support/CleanGame.h"
#include "scene/GameLayer.h"
#include "world/TemperatureField.h"

namespace {

struct TemperatureFieldTest : ::testing::Test {
    GUI hud;
    GUI* previousHud = nullptr;
    std::unique_ptr<TemperatureField> field;

    void SetUp() override
    {
        testsupport::resetGame();
        previousHud = GameLayer::getInstance()->getGUI();
        GameLayer::getInstance()->setGUI(&hud);
        field = std::make_unique<TemperatureField>();
    }
    void TearDown() override
    {
        field.reset();
        GameLayer::getInstance()->setGUI(previousHud);
        testsupport::resetGame();
    }
};

TEST_F(TemperatureFieldTest, WritesClampToTheScale)
{
    field->addAt(10, 10, FLT_MAX);
    EXPECT_EQ(field->getAt(10, 10), 2550.0f);
    field->addAt(10, 10, -FLT_MAX);
    EXPECT_EQ(field->getAt(10, 10), -2550.0f);
    field->setAt(10, 10, 99999.0f);
    EXPECT_EQ(field->getAt(10, 10), 2550.0f);
    field->setAt(10, 10, -99999.0f);
    EXPECT_EQ(field->getAt(10, 10), -2550.0f);
}

TEST_F(TemperatureFieldTest, FourWorldCellsShareOneFieldCell)
{
    field->setAt(20, 30, 1000.0f);
    EXPECT_EQ(field->getAt(21, 31), 1000.0f);
    EXPECT_EQ(field->getAt(21, 30), 1000.0f);
    EXPECT_EQ(field->getAt(22, 30), 293.0f);
}

TEST_F(TemperatureFieldTest, OutsideTheWorldReadsTheAmbientAndIgnoresWrites)
{
    hud.refreshTemperature(2);
    EXPECT_EQ(field->getAt(-1, 0), -300.0f);
    EXPECT_EQ(field->getAt(240, 10), -300.0f);
    EXPECT_EQ(field->getAt(10, 160), -300.0f);
    field->addAt(-1, 0, 500.0f);
    field->setAt(240, 159, 500.0f);
    EXPECT_EQ(field->getAt(0, 0), 293.0f);
    EXPECT_EQ(field->getAt(239, 159), 293.0f);
}

TEST_F(TemperatureFieldTest, HeatSpreadsToNeighboursAndSinksTowardTheAmbient)
{
    field->setAt(100, 100, 2293.0f);  // field cell (50, 50)
    field->step();
    // (2293 + 4 * 293) / 5 = 693, then 30 toward 293.
    EXPECT_FLOAT_EQ(field->getAt(100, 100), 663.0f);
    for (auto [x, y] : {std::pair{98, 100}, {102, 100}, {100, 98}, {100, 102}})
        EXPECT_FLOAT_EQ(field->getAt(x, y), 663.0f) << x << "," << y;
    EXPECT_EQ(field->getAt(98, 98), 293.0f) << "diagonals take nothing in one step";

    for (int i = 0; i < 200; ++i)
        field->step();
    EXPECT_EQ(field->getAt(100, 100), 293.0f);
}

TEST_F(TemperatureFieldTest, ValuesWithinThirtyOfTheAmbientSnapToIt)
{
    hud.refreshTemperature(4);  // ambient 400
    field->step();
    EXPECT_EQ(field->getAmbient(), 400);
    EXPECT_FLOAT_EQ(field->getAt(60, 60), 323.0f) << "107 away: moves by 30";
    for (int i = 0; i < 3; ++i)
        field->step();
    EXPECT_EQ(field->getAt(60, 60), 400.0f) << "383 is within 30: snaps";

    field->setAt(40, 40, 400.0f + 5 * 29.0f);  // diffuses to 429
    field->setAt(80, 80, 400.0f + 5 * 40.0f);  // diffuses to 440
    field->step();
    EXPECT_EQ(field->getAt(40, 40), 400.0f);
    EXPECT_FLOAT_EQ(field->getAt(80, 80), 410.0f);
}

TEST_F(TemperatureFieldTest, EdgeCellsRepeatTheirInnerNeighbour)
{
    field->setAt(2, 40, 2550.0f);      // field (1, 20), next to the left edge
    field->setAt(100, 157, -2550.0f);  // field (50, 78), next to the top edge
    field->step();
    EXPECT_EQ(field->getAt(0, 40), field->getAt(2, 40));
    EXPECT_NE(field->getAt(0, 40), 293.0f);
    EXPECT_EQ(field->getAt(100, 159), field->getAt(100, 157));
    EXPECT_NE(field->getAt(100, 159), 293.0f);
    EXPECT_EQ(field->getAt(0, 0), field->getAt(2, 2));
    EXPECT_EQ(field->getAt(239, 159), field->getAt(237, 157));
}

TEST_F(TemperatureFieldTest, ResetBringsRoomTemperatureAndTheNormalLevel)
{
    hud.refreshTemperature(5);
    field->setAt(50, 50, 1500.0f);
    field->reset();
    EXPECT_EQ(field->getAt(50, 50), 293.0f);
    EXPECT_EQ(hud.getTemperatureLevel(), 3);
}

TEST_F(TemperatureFieldTest, SaveAndLoadKeepTheStoredQuarter)
{
    field->setAt(10, 20, 1234.7f);
    field->setAt(119, 79, -777.9f);
    field->setAt(200, 150, 900.0f);  // outside the stored quarter
    std::vector<uint8_t> section;
    ASSERT_EQ(field->save(section), TemperatureField::kSectionLength);
    ASSERT_EQ(section.size(), 153604u);
    std::vector<uint8_t> again{1};
    EXPECT_EQ(field->save(again), 0) << "a buffer that holds bytes is left alone";
    EXPECT_EQ(again.size(), 1u);

    TemperatureField other;
    ASSERT_EQ(other.load(section.data(), section.size()), TemperatureField::kSectionLength);
    EXPECT_EQ(other.getAt(10, 20), 1234.0f) << "truncated toward zero";
    EXPECT_EQ(other.getAt(119, 79), -777.0f);
    EXPECT_EQ(other.getAt(200, 150), 293.0f);
}

TEST_F(TemperatureFieldTest, ASectionLongerThanTheDataIsRefused)
{
    std::vector<uint8_t> section;
    field->setAt(10, 10, 1000.0f);
    field->save(section);
    TemperatureField other;
    other.setAt(10, 10, -1000.0f);
    EXPECT_EQ(other.load(section.data(), section.size() - 1), 0);
    EXPECT_EQ(other.getAt(10, 10), 293.0f) << "left reset, nothing read past the end";
    EXPECT_EQ(other.load(nullptr, 100), 0);
}

TEST_F(TemperatureFieldTest, TheOverlayShowsHeatRedAndColdBlueOnlyWhileViewed)
{
    field->setAt(0, 0, 2550.0f);
    field->step();
    EXPECT_EQ(field->overlay().pixel(1, 1).a, 0) << "with the view off a step paints nothing";

    field->setAt(100, 100, 2550.0f);
    field->setAt(40, 40, -2550.0f);
    field->setViewOn(true);
    const cocos2d::ccColor4B hot = field->overlay().pixel(50, 50);
    EXPECT_EQ(hot.r, 255);
    EXPECT_EQ(hot.g, 0);
    EXPECT_EQ(hot.a, 100);
    const cocos2d::ccColor4B cold = field->overlay().pixel(20, 20);
    EXPECT_EQ(cold.r, 128);
    EXPECT_EQ(cold.b, 255);
    EXPECT_EQ(cold.a, 100);
    EXPECT_EQ(field->overlay().pixel(70, 70).a, 0) << "room temperature is clear";
    EXPECT_TRUE(field->overlay().isVisible());
}

TEST(FieldOverlayTest, OverlaysCoverTheWorldSpriteExactly)
{
    const int saved = pixelSize;
    pixelSize = 3;
    {
        // The world sprite is drawn at p x p per cell; the temperature
        // overlay has one texel per 2 x 2 cells.
        TemperatureField temperature;
        World world;
        cocos2d::CCSprite* heat = temperature.getSprite();
        ASSERT_NE(heat, nullptr);
        EXPECT_EQ(heat->getScale(), 18.0f);
        EXPECT_TRUE(heat->isFlipY());
        EXPECT_FALSE(heat->isVisible());
        EXPECT_EQ(heat->getAnchorPoint().x, 0.0f);
        EXPECT_EQ(world.electricityGrid.getSprite()->getScale(), 9.0f);
        EXPECT_EQ(world.lightMap.getSprite()->getScale(), 9.0f);
        world.lightMap.setLightOn(true);
        EXPECT_TRUE(world.lightMap.getSprite()->isVisible());
    }
    pixelSize = saved;
}

}  // namespace
