#include "base/Logger.h"
#include "platform/GameClock.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

using testsupport::LogCapture;

TEST(Logger, EmptyRecordWritesUnderscore)
{
    LogCapture log;
    {
        Logger record(42);
    }
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0], "(...) (42): _\n");
}

TEST(Logger, EveryItemIsFollowedByOneSpace)
{
    LogCapture log;
    Logger(7) << "a" << 5 << std::string("b") << "" << 3u << -2 << 1.5f << 'c';
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0], "(...) (7): a 5 b  3 -2 1.5 c \n");
}

TEST(Logger, LabelledBooleanAtErrorLevelLooksLikeAnyOtherRecord)
{
    LogCapture log;
    Logger(174).setLevel(2) << Logger::Label("createdSuccessfully") << false;
    Logger(174) << Logger::Label("createdSuccessfully") << false;
    ASSERT_EQ(log.lines().size(), 2u);
    EXPECT_EQ(log.lines()[0], "(...) (174): createdSuccessfully: false \n");
    EXPECT_EQ(log.lines()[1], log.lines()[0]);
}

TEST(Logger, LabelAppliesOnlyToTheNextItem)
{
    LogCapture log;
    Logger(1) << Logger::Label("x") << true << true;
    EXPECT_EQ(log.lines().at(0), "(...) (1): x: true true \n");
}

TEST(Logger, NullCStringAndPointersAreSafe)
{
    LogCapture log;
    const char* nothing = nullptr;
    int value = 0;
    Logger(3) << nothing << &value << nullptr;
    std::string line = log.lines().at(0);
    EXPECT_EQ(line.rfind("(...) (3): (null) ", 0), 0u) << line;
    EXPECT_EQ(line.back(), '\n');
}

TEST(Logger, ExplicitFlushWritesAndResets)
{
    LogCapture log;
    {
        Logger record(9);
        record << "first";
        record.setLevel(2);
        record.flush();
        EXPECT_EQ(record.level(), 0);
        EXPECT_FALSE(record.hasText());
        record << "second";
    }
    auto lines = log.lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "(...) (9): first \n");
    EXPECT_EQ(lines[1], "(...) (9): second \n");
}

TEST(Logger, FunctionTraceWritesStartAndFinishAtOneLine)
{
    LogCapture log;
    {
        FunctionTrace trace(482);
        Logger(483) << "inside";
    }
    auto lines = log.lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "(...) (482): ------function execution starts ; Thread id:  gettid() \n");
    EXPECT_EQ(lines[1], "(...) (483): inside \n");
    EXPECT_EQ(lines[2], "(...) (482): ------execution finished \n");
}

TEST(Logger, SignatureShortening)
{
    EXPECT_EQ(shortenSignature(""), "(...)");
    EXPECT_EQ(shortenSignature("void f(int, (a))"), "void f(...)");
    EXPECT_EQ(shortenSignature("T g<[with T = int]>(x)"), "T g<[tmpl]>(...)");
}

TEST(Logger, LinesFromTwoThreadsStayWhole)
{
    LogCapture log;
    auto writer = [](const char* word) {
        for (int i = 0; i < 200; ++i)
            Logger(1) << word << i;
    };
    std::thread a(writer, "alpha"), b(writer, "beta");
    a.join();
    b.join();
    auto lines = log.lines();
    ASSERT_EQ(lines.size(), 400u);
    for (const auto& line : lines) {
        ASSERT_EQ(line.rfind("(...) (1): ", 0), 0u) << line;
        ASSERT_EQ(line.find('\n'), line.size() - 1) << line;
    }
}

TEST(Logger, TheErrorObserverSeesErrorLinesOnly)
{
    static std::vector<std::string> seen;
    seen.clear();
    Logger::setErrorObserver(
        [](const std::string& line, void* context) {
            EXPECT_EQ(context, &seen);
            seen.push_back(line);
        },
        &seen);
    Logger(5) << "plain";
    Logger(6).setLevel(2) << "broken" << 3;
    Logger(7).setLevel(1) << "notice";
    Logger::setErrorObserver(nullptr, nullptr);
    Logger(8).setLevel(2) << "after";
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], "(...) (6): broken 3 \n");
}

TEST(Logger, AMutedRecordIsNeitherFormattedNorWritten)
{
    LogCapture log;
    Logger::setMuted(true);
    {
        Logger record(9);
        record << "quiet" << Logger::Label("n") << 3 << static_cast<const void*>(nullptr);
        record.setLevel(2);
        EXPECT_FALSE(record.hasText());
    }
    Logger::setMuted(false);
    Logger(10) << "heard";
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0], "(...) (10): heard \n");
}

TEST(Logger, ATextLongerThanTheRecordsOwnRoomIsWrittenWhole)
{
    LogCapture log;
    const std::string longText(Logger::kInlineText * 3, 'x');
    Logger(11) << "head" << longText << 7;
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0], "(...) (11): head " + longText + " 7 \n");
}

TEST(RepeatedLine, WritesTheFirstTimeThenOnceASecondWithItsCount)
{
    platform::setManualGameTime(1767225600);
    LogCapture log;
    static RepeatedLine fault;
    const auto happen = [](int times) {
        for (int i = 0; i < times; ++i)
            if (fault.due())
                Logger(12) << "fault" << fault;
    };
    happen(5);
    platform::advanceManualGameTime(1);
    happen(3);
    happen(2);
    RepeatedLine::forgetAll();
    happen(1);
    platform::clearManualGameTime();
    const std::vector<std::string> expected = {
        "(...) (12): fault \n", "(...) (12): fault (5 times since the last line) \n", "(...) (12): fault \n"};
    EXPECT_EQ(log.lines(), expected);
}
