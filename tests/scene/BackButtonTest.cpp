#include "gui/BackButton.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

namespace {

struct CountingListener : BackButtonListener {
    int presses = 0;
    void onBackPressed() override { ++presses; }
};

class BackButtonTest : public ::testing::Test {
protected:
    void SetUp() override { adapter()->removeAllListenersForTests(); }
    void TearDown() override { adapter()->removeAllListenersForTests(); }
    static BackButtonAdapter* adapter() { return BackButtonAdapter::getInstance(); }
};

}  // namespace

TEST_F(BackButtonTest, BackWithNoListenerOnlyLogs)
{
    testsupport::LogCapture log;
    adapter()->keyBackClicked();
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0], "(...) (81): back button pressed in back button adapter \n");
}

TEST_F(BackButtonTest, OnlyTheLatestRegistrationReceivesTheKey)
{
    CountingListener screen, window;
    adapter()->addListener(&screen);
    adapter()->addListener(&window);
    adapter()->keyBackClicked();
    EXPECT_EQ(window.presses, 1);
    EXPECT_EQ(screen.presses, 0);

    // The window closes: the screen behind it is the receiver again.
    adapter()->removeListener(&window);
    adapter()->keyBackClicked();
    EXPECT_EQ(screen.presses, 1);
    EXPECT_EQ(window.presses, 1);
}

TEST_F(BackButtonTest, RegisteringTwiceKeepsOneEntryInFront)
{
    CountingListener a, b;
    adapter()->addListener(&a);
    adapter()->addListener(&b);
    adapter()->addListener(&a);
    EXPECT_EQ(adapter()->listenerCount(), 2u);
    EXPECT_EQ(adapter()->frontListener(), &a);
}

TEST_F(BackButtonTest, RemovingABackListenerKeepsTheFront)
{
    CountingListener a, b, stranger;
    adapter()->addListener(&a);
    adapter()->addListener(&b);
    adapter()->removeListener(&a);
    adapter()->removeListener(&stranger);
    EXPECT_EQ(adapter()->frontListener(), &b);
    EXPECT_EQ(adapter()->listenerCount(), 1u);
    adapter()->keyBackClicked();
    EXPECT_EQ(b.presses, 1);
    EXPECT_EQ(a.presses, 0);
}

TEST_F(BackButtonTest, AListenerThatGoesIsNeverCalledAgain)
{
    CountingListener screen;
    adapter()->addListener(&screen);
    {
        CountingListener window;  // closed without removing itself
        adapter()->addListener(&window);
    }
    EXPECT_EQ(adapter()->frontListener(), &screen);
    adapter()->keyBackClicked();
    EXPECT_EQ(screen.presses, 1);
}

TEST_F(BackButtonTest, APlainListenerOnTopTakesTheKeyFromTheOnesBelow)
{
    CountingListener below;
    BackButtonListener plain;
    adapter()->addListener(&below);
    adapter()->addListener(&plain);
    adapter()->keyBackClicked();
    EXPECT_EQ(below.presses, 0);
}
