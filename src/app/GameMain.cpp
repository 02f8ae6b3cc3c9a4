#include "app/GameMain.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "app/AppDelegate.h"
#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "base/NSData.h"
#include "goals/AchievementManager.h"
#include "platform/CrashHandler.h"
#include "platform/DebugOutput.h"
#include "platform/MessageBox.h"
#include "platform/PlatformServices.h"
#include "profile/Profile.h"
#include "scene/GameLayer.h"

USING_NS_CC;

namespace {

// TESMORA_SAVE_WORLD_AT_EXIT=<path> (tests): where a clean exit writes the
// world, as an absolute path. Read before the loop, because the engine moves
// the working folder to the resources while it starts.
std::string worldAtExitPath()
{
    const char* value = std::getenv("TESMORA_SAVE_WORLD_AT_EXIT");
    if (!value || !*value)
        return std::string();
    std::error_code error;
    std::filesystem::path path = std::filesystem::absolute(value, error);
    return error ? std::string(value) : path.string();
}

// The blob the saved-worlds store writes. 0 when written, 1 (logged) when
// there is no world or it cannot be written: a checker must not read an old
// file as this run's.
int saveWorldAtExit(const std::string& path)
{
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    GameLayer* layer = GameLayer::existingInstance();
    if (!layer) {
        LOG_ERROR << "no world to save at exit to " << path;
        return 1;
    }
    NSData* blob = layer->getWorld().save();
    if (!blob || !NSData::writeToFile(blob, path)) {
        LOG_ERROR << "the world could not be saved at exit to " << path;
        return 1;
    }
    LOG << "world saved at exit to " << path;
    return 0;
}

// A text of the language's table before the game has loaded it (the
// application does not exist yet); the English one when it cannot be read.
std::string textBeforeStart(const char* key, const char* english)
{
    const char* file = LocalUtils::tableFileForLanguage(CCApplication::languageOfThisRun());
    CCDictionary* table = CCDictionary::createWithContentsOfFile(file);
    auto* text = table ? dynamic_cast<CCString*>(table->objectForKey(key)) : nullptr;
    return text ? text->getString() : std::string(english);
}

}  // namespace

int runGame(const GameLoop& loop)
{
    platform::StartResult started = platform::PlatformServices::start();
    if (started.alreadyRunning) {
        // Nothing of the other game's is touched: not even its log.
        platform::DebugOutput::write("The game is already running: " + started.cause + "\n");
        platform::MessageBox::showError("The Tesmora",
                                        textBeforeStart("GameAlreadyRunning",
                                                        "The Tesmora is already running. Only one game at a time can "
                                                        "keep your progress: go back to the game that is open."));
        return 1;
    }
    if (!started.ok) {
        platform::DebugOutput::write("Platform services failed to start: " + started.cause + "\n");
        platform::MessageBox::showError(
            "Fatal Error", "The game cannot keep its files, so it cannot start (" + started.cause + ").\n");
        return 1;
    }
    const std::string worldPath = worldAtExitPath();
    int result = 0;
    {
        platform::CrashHandler::setComment("Startup: Creating AppDelegate\n");
        AppDelegate app;
        platform::CrashHandler::setComment("Startup: Creating EGL View\n");
        CCEGLView* view = CCEGLView::sharedOpenGLView();
        platform::CrashHandler::setComment("Startup: Created EGL View\n");
        view->setViewName("The Tesmora");
        view->setFrameSize(800, 600);
        platform::CrashHandler::setComment("Running: sharedApplication()\n");
        result = loop();
        // The window closed over a level that was won: the win is kept.
        if (GameLayer::existingInstance())
            AchievementManager::getInstance()->keepWonDay(Profile::getInstance()->getGameMode());
        if (result == 0 && !worldPath.empty())
            result = saveWorldAtExit(worldPath);
        platform::PlatformServices::shutdown();
    }
    return result;
}

int runGame()
{
    return runGame([] { return CCApplication::sharedApplication()->run(); });
}
