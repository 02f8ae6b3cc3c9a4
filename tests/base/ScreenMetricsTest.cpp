#include "base/ScreenMetrics.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

USING_NS_CC;

namespace {
class ScreenMetricsTest : public ::testing::Test {
protected:
    void SetUp() override { resetScreenMetricsForTests(); }
    void TearDown() override { resetScreenMetricsForTests(); }
};
}  // namespace

TEST_F(ScreenMetricsTest, StartUpFrame800x600)
{
    testsupport::LogCapture log;
    computeScreenMetrics(CCSize(800, 600));
    EXPECT_EQ(visibleSize.width, 800);
    EXPECT_EQ(visibleSize.height, 600);
    EXPECT_DOUBLE_EQ(screenRatio, 0.78125);
    EXPECT_EQ(pixelSize, 3);
    EXPECT_EQ(visibleMargin().width, 0);
    auto lines = log.lines();
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], "(...) (46): swidth:  800 \n");
    EXPECT_EQ(lines[4], "(...) (50): ratio:  0.78125 \n");
    EXPECT_EQ(lines[5], "(...) (51): scale:  3.125 \n");
    EXPECT_EQ(lines[6], "(...) (52): pixelSize:  3 \n");
}

TEST_F(ScreenMetricsTest, WideScreenKeepsTheHeightBasedCell)
{
    computeScreenMetrics(CCSize(1920, 1080));
    EXPECT_EQ(visibleSize.width, 1440);
    EXPECT_EQ(visibleSize.height, 1080);
    EXPECT_DOUBLE_EQ(screenRatio, 1.40625);
    // 6 * 240 equals the visible width exactly: the height-based size stays.
    EXPECT_EQ(pixelSize, 6);
    EXPECT_EQ(visibleMargin().width, 480);
    EXPECT_EQ(visibleMargin().height, 0);
}

TEST_F(ScreenMetricsTest, ReferenceHeight1024x768)
{
    computeScreenMetrics(CCSize(1024, 768));
    EXPECT_EQ(visibleSize.width, 1024);
    EXPECT_DOUBLE_EQ(screenRatio, 1.0);
    EXPECT_EQ(pixelSize, 4);
    EXPECT_EQ(scaledUnit(), 64);
    CCPoint p = scaledPoint(10, 20);
    EXPECT_FLOAT_EQ(p.x, 84);
    EXPECT_FLOAT_EQ(p.y, 72);
}

TEST_F(ScreenMetricsTest, NarrowWindowGetsAFitting4to3Box)
{
    computeScreenMetrics(CCSize(600, 800));
    EXPECT_EQ(visibleSize.width, 600);
    EXPECT_EQ(visibleSize.height, 450);
    EXPECT_DOUBLE_EQ(screenRatio, 450 / 768.0);
    EXPECT_GE(pixelSize, 1);
    EXPECT_LE(pixelSize * 240, 600);
}

TEST_F(ScreenMetricsTest, ScaledUnitKeepsItsFirstAnswer)
{
    EXPECT_EQ(scaledUnit(), 0);
    computeScreenMetrics(CCSize(1024, 768));
    EXPECT_EQ(scaledUnit(), 0);
}
