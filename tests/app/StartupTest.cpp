#include "app/AppDelegate.h"
#include "SimpleAudioEngine.h"
#include "base/AppVersion.h"
#include "app/GameMain.h"
#include "base/LocalUtils.h"
#include "profile/Profile.h"
#include "scene/SaveLoadUtils.h"
#include "base/ScreenMetrics.h"
#include "base/Utils.h"
#include "online/NetworkManager.h"
#include "platform/CloudStorage.h"
#include "platform/CrashHandler.h"
#include "platform/Folders.h"
#include "platform/MessageBox.h"
#include "platform/PlatformServices.h"
#include "screens/GUIIntro.h"
#include "screens/GUINameInput.h"
#include "screens/MainMenu.h"
#include "scene/GameLayer.h"
#include "world/Particle.h"
#include "support/HeadlessGame.h"
#include "support/LogCapture.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

USING_NS_CC;
using testsupport::LogCapture;

namespace {

class StartupTest : public testsupport::HeadlessGame {
protected:
    void SetUp() override
    {
        HeadlessGame::SetUp();
        resetScreenMetricsForTests();
        // The game layer is laid out from the screen metrics: the launch
        // makes it after computing them, as the game does.
        GameLayer::resetInstanceForTests();
        CCApplication::setLanguageForTests(0);
    }
    void TearDown() override
    {
        CCApplication::setLanguageForTests(-1);
        HeadlessGame::TearDown();
    }

    // The real sequence, with a loop that launches headless and runs the
    // given seconds of frames on the manual clock.
    int runFor(float seconds, const std::function<void()>& whileRunning = nullptr)
    {
        return runGame([&] {
            if (!CCApplication::sharedApplication()->launchForTests())
                return 1;
            stepSeconds(seconds);
            if (whileRunning)
                whileRunning();
            return 0;
        });
    }

    // The first child of the running scene, as the type asked for.
    template <typename T> static T* runningLayer()
    {
        CCScene* scene = CCDirector::sharedDirector()->getRunningScene();
        if (!scene || scene->getChildren()->count() == 0)
            return nullptr;
        return dynamic_cast<T*>(scene->getChildren()->objectAtIndex(0));
    }
};

}  // namespace

TEST_F(StartupTest, SequenceRunsInOrderAndMakesTheFolders)
{
    LogCapture log;
    int intros = 0;
    std::string crashComment;
    int code = runFor(1.0f, [&] {
        intros = dynamic_cast<GUIIntro*>(CCDirector::sharedDirector()->getRunningScene()) ? 1 : 0;
        crashComment = platform::CrashHandler::comment();
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(intros, 1) << "the intro shows first";
    EXPECT_EQ(crashComment, "Running: sharedApplication()\n") << "a crash in the loop names the loop";

    int at = 0;
    for (const char* line :
         {"(...) (46): swidth:  800 ", "(...) (52): pixelSize:  3 ", "(...) (378): Profile:Load ",
          "(...) (404): ParticleCreator::resetElementsCreated ", "(...) (410): getInstance()->initColorsAndShadows ",
          "(...) (413): SinCosTable::generateIfNecessary ", "(...) (418): Profile:Load ",
          "(...) (447): StatsUtils::openedGame ", "(...) (451): Appdelegate Done! "}) {
        int found = log.find(line, at);
        EXPECT_GE(found, at) << "missing or out of order: " << line;
        if (found >= 0)
            at = found + 1;
    }
    EXPECT_EQ(log.find("createdSuccessfully"), -1);

    std::string save = home().saveFolder();
    EXPECT_EQ(saveFolder, save);
    EXPECT_EQ(screenshotsFolder, home().documents() + "/ORVANE/TesmOra/screenshots");
    EXPECT_TRUE(platform::Folders::isDirectory(save + "/user")) << "the thumbnail folder, lower-cased";
    EXPECT_TRUE(platform::Folders::isDirectory(save + "/cloud"));
    EXPECT_NE(testsupport::readFile(save + "/tesmora.log").find("(451): Appdelegate Done!"), std::string::npos);
    EXPECT_EQ(gameVersion, "1.5.13");
    EXPECT_DOUBLE_EQ(screenRatio, 0.78125);
    EXPECT_FALSE(platform::PlatformServices::isStarted()) << "shut down after the loop";
}

TEST_F(StartupTest, NewPlayerGoesFromTheIntroToTheNameScreen)
{
    bool onIntroBefore = false, onNameScreen = false;
    runGame([&] {
        CCApplication::sharedApplication()->launchForTests();
        stepSeconds(1.9f);
        onIntroBefore = dynamic_cast<GUIIntro*>(CCDirector::sharedDirector()->getRunningScene()) != nullptr;
        stepSeconds(0.5f);
        onNameScreen = runningLayer<GUINameInput>() != nullptr;
        return 0;
    });
    EXPECT_TRUE(onIntroBefore);
    EXPECT_TRUE(onNameScreen);
}

// A new player starts the game, drags over the world and sees Soil appear
// under the pointer and fall.
TEST_F(StartupTest, ANewPlayerDrawsSoilInFreePlay)
{
    bool inGame = false;
    bool painted = true;
    bool fell = false;
    runGame([&] {
        CCApplication::sharedApplication()->launchForTests();
        stepSeconds(2.5f, 1.0f / 30);
        MainMenu::getInstance()->startFreeMode();
        stepSeconds(1.0f, 1.0f / 30);
        GameLayer* layer = runningLayer<GameLayer>();
        inGame = layer != nullptr;
        if (!layer)
            return 0;
        CCEGLView* view = CCEGLView::sharedOpenGLView();
        view->simulateTouchBegan(1, ccp(400, 300));
        stepFrames(2, 1.0f / 60);
        view->simulateTouchMoved(1, ccp(500, 300));
        view->simulateTouchEnded(1, ccp(500, 300));
        World& world = layer->getWorld();
        for (int x = 120; x <= 150; ++x) {
            Particle* p = world.at(x, 90);
            painted = painted && p && p->getType() == hashString("Soil");
        }
        stepSeconds(1.0f, 1.0f / 30);
        for (int y = 1; y < 90; ++y) {
            Particle* p = world.at(135, y);
            fell = fell || (p && p->getType() == hashString("Soil"));
        }
        fell = fell && !world.at(135, 90);
        return 0;
    });
    EXPECT_TRUE(inGame);
    EXPECT_TRUE(painted);
    EXPECT_TRUE(fell);
}

TEST_F(StartupTest, RegisteredPlayerGoesToTheMainMenuAndOnToFreePlay)
{
    // A profile with a server account, kept in the cloud store beforehand.
    ASSERT_TRUE(platform::PlatformServices::start().ok);
    Profile::getInstance()->setPrivateKey(CCString::create("a-key"));
    Profile::getInstance()->save();
    platform::PlatformServices::shutdown();
    Profile::resetInstanceForTests();

    LogCapture log;
    bool onMenu = false, inGame = false;
    runFor(2.5f, [&] {
        onMenu = runningLayer<MainMenu>() != nullptr;
        MainMenu::getInstance()->startFreeMode();
        stepSeconds(1.0f);
        inGame = runningLayer<GameLayer>() != nullptr;
    });
    EXPECT_TRUE(onMenu);
    EXPECT_TRUE(inGame);
    EXPECT_EQ(Profile::getInstance()->getGameMode(), MainMenu::kFreeModeGameMode);
    EXPECT_TRUE(SaveLoadUtils::isFreePlay());
    // The title screen loops its music, a file the resource tree has.
    bool music = false;
    for (const auto& call : CocosDenshion::SimpleAudioEngine::sharedEngine()->recordedCalls())
        music =
            music || (call.operation == "playBackgroundMusic" && call.path == "music/music_main_menu.mp3" && call.loop);
    EXPECT_TRUE(music);
    EXPECT_TRUE(CocosDenshion::SimpleAudioEngine::sharedEngine()->isBackgroundMusicPlaying());
}

TEST_F(StartupTest, LanguageCodePicksTheTable)
{
    // Each launch on a clean director (its reset also clears the language).
    for (auto [code, cancel] : {std::pair<int, const char*>{2, "Annuler"}, {5, "Cancelar"}, {3, "Cancel"}}) {
        CCDirector::sharedDirector()->resetForTests();
        CCApplication::setLanguageForTests(code);
        runFor(0.1f);
        EXPECT_EQ(LocalUtils::localize("GenericCancelBut")->getString(), cancel) << code;
    }
}

TEST_F(StartupTest, ForegroundWithoutBackgroundChangesNothing)
{
    LogCapture log;
    bool pausedInBackground = false, runningAfter = false, quietForeground = false;
    runFor(0.1f, [&] {
        auto* app = static_cast<AppDelegate*>(CCApplication::sharedApplication());
        int before = static_cast<int>(log.lines().size());
        app->applicationWillEnterForeground();
        auto lines = log.lines();
        quietForeground = static_cast<int>(lines.size()) == before + 2 &&
            lines[static_cast<size_t>(before)].find("(506): ------function execution starts") != std::string::npos;
        app->applicationDidEnterBackground();
        pausedInBackground = pausedByBackground && CCDirector::sharedDirector()->isPaused();
        app->applicationWillEnterForeground();
        runningAfter = !pausedByBackground && !CCDirector::sharedDirector()->isPaused();
    });
    EXPECT_TRUE(quietForeground) << "only the trace, nothing else";
    EXPECT_TRUE(pausedInBackground);
    EXPECT_TRUE(runningAfter);
    EXPECT_NE(log.find("(482): ------execution finished"), -1);
}

namespace {
struct CountingAction : Action {
    int* runs;
    explicit CountingAction(int* counter) : runs(counter) { }
    bool execute() override { return ++*runs > 0; }
};
}  // namespace

TEST_F(StartupTest, FinishedNetworkWorkRunsOnTheHalfSecondDrain)
{
    int runs = 0, afterPost = -1, afterNextDrain = -1;
    runGame([&] {
        CCApplication::sharedApplication()->launchForTests();
        stepSeconds(0.6f);  // one drain has passed
        NetworkManager::getInstance().postCompleted(std::make_shared<CountingAction>(&runs));
        stepSeconds(0.3f);
        afterPost = runs;
        stepSeconds(0.3f);
        afterNextDrain = runs;
        return 0;
    });
    EXPECT_EQ(afterPost, 0) << "nothing runs between drains";
    EXPECT_EQ(afterNextDrain, 1);
}

TEST_F(StartupTest, NoSaveFolderMeansAMessageAndExitCodeOne)
{
    static std::string caption, text;
    platform::MessageBox::setHandlerForTests([](const std::string& c, const std::string& t) {
        caption = c;
        text = t;
    });
    home().env().set("XDG_DATA_HOME", nullptr);
    home().env().set("HOME", nullptr);
    LogCapture log;
    bool loopRan = false;
    int code = runGame([&] {
        loopRan = true;
        return 0;
    });
    platform::MessageBox::setHandlerForTests(nullptr);
    EXPECT_EQ(code, 1);
    EXPECT_FALSE(loopRan) << "no delegate, no window";
    EXPECT_EQ(caption, "Fatal Error");
    EXPECT_NE(text.find("HOME"), std::string::npos) << text;
    EXPECT_NE(log.find("Platform services failed to start: "), -1);
    // The system's box draws a line as it comes: each must fit the screen.
    std::istringstream lines(text);
    int count = 0;
    for (std::string line; std::getline(lines, line); ++count)
        EXPECT_LE(line.size(), platform::MessageBox::kLineLength) << line;
    EXPECT_GT(count, 1) << text;
}

// Another game holds the data folder (its lock, as the system keeps it for
// the other process): this start says so and writes nothing at all there.
TEST_F(StartupTest, ASecondGameOnTheDataFolderSaysSoAndWritesNothing)
{
    const std::string save = home().saveFolder();
    std::filesystem::create_directories(save + "/cloud");
    testsupport::writeFile(save + "/cloud/.cloud-tmp-abc123", "the other game's write under way");
    const int other = ::open((save + "/" + platform::PlatformServices::kLockFileName).c_str(), O_RDWR | O_CREAT, 0644);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
    auto listing = [&] {
        std::string all;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(home().dataHome()))
            all += entry.path().string() + " " +
                (entry.is_regular_file() ? std::to_string(entry.file_size()) + " " + testsupport::readFile(entry.path())
                                         : std::string("folder")) +
                "\n";
        return all;
    };
    const std::string before = listing();

    static std::string caption, text;
    platform::MessageBox::setHandlerForTests([](const std::string& c, const std::string& t) {
        caption = c;
        text = t;
    });
    LogCapture log;
    bool loopRan = false;
    const int code = runGame([&] {
        loopRan = true;
        return 0;
    });
    platform::MessageBox::setHandlerForTests(nullptr);
    EXPECT_EQ(code, 1);
    EXPECT_FALSE(loopRan);
    EXPECT_EQ(caption, "The Tesmora");
    EXPECT_NE(text.find("already running"), std::string::npos) << text;
    EXPECT_EQ(listing(), before) << "the other game's files are left as they were";

    // Once the other game is gone, a start works and clears what it left.
    ::close(other);
    EXPECT_EQ(runFor(0.1f), 0);
    EXPECT_FALSE(std::filesystem::exists(save + "/cloud/.cloud-tmp-abc123"));
    EXPECT_NE(testsupport::readFile(save + "/tesmora.log").find("Appdelegate Done!"), std::string::npos);
}

TEST_F(StartupTest, UserFolderFailureIsLoggedAndStartUpGoesOn)
{
    // A file where the thumbnail folder should be.
    std::filesystem::create_directories(home().saveFolder());
    testsupport::writeFile(home().saveFolder() + "/user", "in the way");
    LogCapture log;
    EXPECT_EQ(runFor(0.1f), 0);
    EXPECT_NE(log.find("(...) (174): createdSuccessfully: false "), -1);
    EXPECT_NE(log.find("Appdelegate Done!"), -1);
}
