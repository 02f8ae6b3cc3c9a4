#include "app/GameMain.h"

#include "app/AppDelegate.h"
#include "platform/CrashHandler.h"
#include "platform/DebugOutput.h"
#include "platform/MessageBox.h"
#include "platform/PlatformServices.h"

USING_NS_CC;

int runGame(const GameLoop& loop)
{
    platform::StartResult started = platform::PlatformServices::start();
    if (!started.ok) {
        platform::DebugOutput::write("Platform services failed to start: " + started.cause + "\n");
        platform::MessageBox::showError("Fatal Error",
            "The game cannot keep its files, so it cannot start (" + started.cause + ").\n");
        return 1;
    }
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
        platform::PlatformServices::shutdown();
    }
    return result;
}

int runGame()
{
    return runGame([] { return CCApplication::sharedApplication()->run(); });
}
