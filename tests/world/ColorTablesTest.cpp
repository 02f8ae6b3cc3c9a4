#include <gtest/gtest.h>

#include <cmath>

#include "world/ColorTables.h"

USING_NS_CC;

TEST(ColorTables, HsvConversions)
{
    HsvColor black = rgbToHsv(ccc4(0, 0, 0, 255));
    EXPECT_EQ(black.hue, 0);
    EXPECT_EQ(black.saturation, 0);
    EXPECT_EQ(black.value, 0);
    HsvColor grey = rgbToHsv(ccc4(90, 90, 90, 255));
    EXPECT_EQ(grey.hue, 0);
    EXPECT_EQ(grey.saturation, 0);
    EXPECT_EQ(grey.value, 90);
    EXPECT_EQ(rgbToHsv(ccc4(0, 0, 255, 255)).hue, 240);
    // A hue that comes out negative wraps around.
    EXPECT_EQ(rgbToHsv(ccc4(255, 0, 10, 255)).hue, 360 - 2);

    const ccColor4B g = hsvToRgb(0, 0, 200);
    EXPECT_EQ(g.r, 200);
    EXPECT_EQ(g.g, 200);
    EXPECT_EQ(g.b, 200);
}

TEST(ColorTables, DarkeningScalesTheValueDownToFortyPercent)
{
    const ccColor4B base = ccc4(200, 100, 50, 123);
    const ccColor4B same = darkenColor(base, 0);
    const HsvColor hsv = rgbToHsv(base);
    const ccColor4B roundTrip = hsvToRgb(hsv.hue, hsv.saturation, hsv.value);
    EXPECT_EQ(same.r, roundTrip.r);
    EXPECT_EQ(same.g, roundTrip.g);
    EXPECT_EQ(same.a, 123);
    EXPECT_EQ(rgbToHsv(darkenColor(base, 10)).value, static_cast<int>(200 * 0.4f));
    EXPECT_EQ(rgbToHsv(darkenColor(base, 8)).value, rgbToHsv(darkenColor(base, 30)).value);
}

TEST(ColorTables, RowsHoldTheirBaseAndDarkerVariants)
{
    initColorsAndShadows();
    const ccColor4B* table = colorTable();
    const ccColor4B row0 = table[0];
    EXPECT_EQ(row0.r, 0xB3);
    EXPECT_EQ(row0.g, 0xCE);
    EXPECT_EQ(row0.b, 0x00);
    const ccColor4B row24 = colorOfRow(24);
    EXPECT_EQ(row24.a, 0x50);
    const ccColor4B row158 = colorOfRow(158);
    EXPECT_EQ(row158.g, 0xFF);
    EXPECT_EQ(row158.b, 0x7F);
    EXPECT_EQ(colorOfRow(159).a, 0);
    EXPECT_EQ(colorOfRow(199).r, 0);
    EXPECT_EQ(colorOfRow(200).a, 0);
    for (int k = 1; k < kColorsPerRow; ++k)
        EXPECT_LT(rgbToHsv(table[10 * kColorsPerRow + k]).value, rgbToHsv(table[10 * kColorsPerRow + k - 1]).value);
}

TEST(ColorTables, RayDirections)
{
    SinCosTable::generateIfNecessary();
    EXPECT_NEAR(SinCosTable::sine(18), 1.0f, 1e-6f);
    EXPECT_NEAR(SinCosTable::cosine(18), 0.0f, 1e-6f);
    EXPECT_NEAR(SinCosTable::sine(0), 0.0f, 1e-6f);
    EXPECT_NEAR(SinCosTable::cosine(0), 1.0f, 1e-6f);
    SinCosTable::generateIfNecessary();
    EXPECT_TRUE(SinCosTable::isBuilt());
}
