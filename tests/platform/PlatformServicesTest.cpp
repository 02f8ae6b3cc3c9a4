#include "platform/CloudStorage.h"
#include "platform/CrashHandler.h"
#include "platform/DebugOutput.h"
#include "platform/Folders.h"
#include "platform/PlatformIdentity.h"
#include "platform/PlatformServices.h"
#include "support/TempFolders.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>

using namespace platform;
using testsupport::readFile;
using testsupport::TempDir;
using testsupport::TempHome;
using testsupport::writeFile;

TEST(PlatformIdentity, IdIsMadeOnceAndStaysAcrossRuns)
{
    TempDir dir;
    PlatformIdentity::reset();
    ASSERT_TRUE(PlatformIdentity::load(dir.path()));
    uint64_t first = PlatformIdentity::userId();
    EXPECT_NE(first, 0u);
    PlatformIdentity::reset();
    ASSERT_TRUE(PlatformIdentity::load(dir.path()));
    EXPECT_EQ(PlatformIdentity::userId(), first);

    TempDir other;
    PlatformIdentity::reset();
    PlatformIdentity::load(other.path());
    EXPECT_NE(PlatformIdentity::userId(), first) << "another player, another id";
    PlatformIdentity::reset();
}

TEST(PlatformIdentity, UnreadableIdFileIsReplaced)
{
    TempDir dir;
    writeFile(dir.file(PlatformIdentity::kFileName), "not an id\n");
    PlatformIdentity::reset();
    PlatformIdentity::load(dir.path());
    uint64_t id = PlatformIdentity::userId();
    EXPECT_NE(id, 0u);
    PlatformIdentity::reset();
    PlatformIdentity::load(dir.path());
    EXPECT_EQ(PlatformIdentity::userId(), id);
    PlatformIdentity::reset();
}

TEST(PlatformServices, StartMakesTheSaveFolderLogFileAndStore)
{
    TempHome home;
    StartResult result = PlatformServices::start();
    ASSERT_TRUE(result.ok) << result.cause;
    EXPECT_EQ(result.saveFolder, home.saveFolder());
    EXPECT_TRUE(Folders::isDirectory(home.saveFolder() + "/cloud"));
    EXPECT_EQ(CloudStorage::root(), home.saveFolder() + "/cloud");
    DebugOutput::write("a line for the log file\n");
    EXPECT_NE(readFile(home.saveFolder() + "/tesmora.log").find("a line for the log file\n"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(home.saveFolder() + "/" + PlatformIdentity::kFileName));
    PlatformServices::shutdown();
    EXPECT_FALSE(PlatformServices::isStarted());
    EXPECT_EQ(CloudStorage::root(), "");
}

TEST(DebugOutput, EachLineGoesToTheLogFileAttachedAtTheTime)
{
    TempDir dir;
    ASSERT_TRUE(DebugOutput::attachLogFile(dir.file("first.log")));
    DebugOutput::write("one\n");
    ASSERT_TRUE(DebugOutput::attachLogFile(dir.file("second.log")));
    DebugOutput::write("two\n");
    DebugOutput::detachLogFile();
    DebugOutput::write("three\n");
    ASSERT_TRUE(DebugOutput::attachLogFile(dir.file("first.log")));
    DebugOutput::write("four\n");
    DebugOutput::detachLogFile();
    EXPECT_EQ(readFile(dir.file("first.log")), "one\nfour\n");
    EXPECT_EQ(readFile(dir.file("second.log")), "two\n");
    EXPECT_FALSE(DebugOutput::attachLogFile(dir.file("no/such/folder.log")));
}

TEST(PlatformServices, ABigLogIsSetAsideAtStart)
{
    TempHome home;
    std::filesystem::create_directories(home.saveFolder());
    writeFile(home.saveFolder() + "/tesmora.log", std::string(PlatformServices::kLogFileLimit + 1, 'x'));
    ASSERT_TRUE(PlatformServices::start().ok);
    DebugOutput::write("fresh\n");
    PlatformServices::shutdown();
    EXPECT_EQ(readFile(home.saveFolder() + "/tesmora.log"), "fresh\n");
    EXPECT_EQ(std::filesystem::file_size(home.saveFolder() + "/tesmora.log.old"),
              static_cast<uintmax_t>(PlatformServices::kLogFileLimit + 1));
}

TEST(PlatformServices, StartFailsWithACauseWhenTheSaveFolderCannotBeMade)
{
    TempHome home;
    // The data folder is a plain file, so nothing can be made below it.
    writeFile(home.dataHome(), "in the way");
    StartResult result = PlatformServices::start();
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.cause.find("save folder"), std::string::npos) << result.cause;
    EXPECT_FALSE(PlatformServices::isStarted());

    home.env().set("XDG_DATA_HOME", nullptr);
    home.env().set("HOME", nullptr);
    result = PlatformServices::start();
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.cause.find("HOME"), std::string::npos) << result.cause;
}

TEST(CrashHandlerDeathTest, FatalSignalLogsTheLastCommentAndExitsWithMinusOne)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            CrashHandler::install();
            CrashHandler::setComment("Startup: Creating EGL View\n");
            std::raise(SIGSEGV);
        },
        ::testing::ExitedWithCode(255), "crash: SIGSEGV; last comment: Startup: Creating EGL View");
}

namespace {
volatile int g_depthLimit = 1 << 30;

// Runs off the stack long before the limit; the volatile buffer keeps every frame.
int recurse(int depth)
{
    volatile char frame[1024];
    frame[0] = static_cast<char>(depth);
    if (depth >= g_depthLimit)
        return frame[0];
    return recurse(depth + 1) + frame[0];
}
}  // namespace

TEST(CrashHandlerDeathTest, StackOverflowStillLogsTheCrash)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            CrashHandler::install();
            CrashHandler::setComment("Running: sharedApplication()\n");
            std::exit(recurse(0));
        },
        ::testing::ExitedWithCode(255), "crash: SIGSEGV; last comment: Running");
}

TEST(CrashHandlerDeathTest, EscapingExceptionExitsWithMinusOne)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            CrashHandler::install();
            CrashHandler::setComment("Running: sharedApplication()\n");
            std::terminate();
        },
        ::testing::ExitedWithCode(255), "crash: an exception escaped; last comment: Running");
}

TEST(CrashHandler, AnUntracedProcessIsNotUnderADebugger)
{
    // Misreading "TracerPid: 0" would switch the crash handling off.
    EXPECT_FALSE(CrashHandler::debuggerAttached());
}
