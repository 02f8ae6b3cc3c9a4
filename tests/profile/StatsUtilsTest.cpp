#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/StatsUtils.h"

USING_NS_CC;

namespace {

struct Event {
    std::string name;
    std::string json;
};

class StatsUtilsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        StatsUtils::resetForTests();
        StatsUtils::setEventSink([this](const std::string& name, const std::vector<json::NodePtr>& parameters) {
            events.push_back({name, json::objectJson(parameters)});
        });
    }
    void TearDown() override { StatsUtils::resetForTests(); }
    std::vector<Event> events;
};

}  // namespace

TEST_F(StatsUtilsTest, ModeEventsReportWhereThePlayerCameFrom)
{
    StatsUtils::wentToStoryMode();
    StatsUtils::wentToFreeMode();
    StatsUtils::wentToStoryMode();
    StatsUtils::startDay(0, 3);
    StatsUtils::wentToGallery();
    StatsUtils::wentToStoryMode();
    StatsUtils::startDay(1, 4);
    StatsUtils::wentToDailyQuest();

    ASSERT_EQ(events.size(), 8u);
    EXPECT_EQ(events[0].json, R"({"From":"None","Previous Story Level":""})");
    EXPECT_EQ(events[1].name, "Went to Free Mode");
    EXPECT_EQ(events[2].json, R"({"From":"Free Mode","Previous Story Level":""})");
    EXPECT_EQ(events[3].name, "Start Day 0_3");
    EXPECT_EQ(events[4].json, R"({"From":"Story Mode","Previous Story Level":3})");
    EXPECT_EQ(events[5].json, R"({"From":"Free Mode","Previous Story Level":""})");
    EXPECT_EQ(events[7].json, R"({"From":"Story Mode","Previous Story Level":4})");
    EXPECT_EQ(StatsUtils::modeTracker(), -1);
}

TEST_F(StatsUtilsTest, DayEventsIgnoreNegativeNumbers)
{
    StatsUtils::startDay(2, 5);
    StatsUtils::startDay(-1, 7);
    StatsUtils::endDay(2, -5);
    EXPECT_EQ(StatsUtils::modeTracker(), 5);
    StatsUtils::endDay(2, 5);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1].name, "End Day 2_5");
    EXPECT_EQ(events[1].json, R"({"Start time":0,"End time":0,"Delta time":0})");
}

TEST_F(StatsUtilsTest, EventsCarryTheirParametersInOrder)
{
    StatsUtils::boughtElement(CCString::create("Lava"), 30);
    StatsUtils::boughtHint(3, 7, 2.0);
    StatsUtils::ratedWorld(CCString::create("Moon"), 12, 4);
    StatsUtils::appliedSearch(nullptr, CCString::create("top"));
    StatsUtils::openedGame();
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(events[0].json, R"({"Name":"Lava","ManaCost":30})");
    EXPECT_EQ(events[1].json, R"({"Level":3007,"Hint":2})");
    EXPECT_EQ(events[2].json, R"({"World Name":"Moon","World ID":12,"Rating":4})");
    EXPECT_EQ(events[3].json, R"({"SearchString":"","Filter":"top"})");
    EXPECT_EQ(events[4].name, "Opened game");
    EXPECT_EQ(events[4].json, "{}");
}
