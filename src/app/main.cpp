#include "app/GameMain.h"
#include "platform/CrashHandler.h"
#include "platform/DebugOutput.h"

int main()
{
    // Under a debugger a crash stops where it happens.
    if (platform::CrashHandler::debuggerAttached())
        return runGame();
    // Otherwise fatal signals and escaping exceptions leave the last start-up
    // comment in the log and end the process with -1.
    platform::CrashHandler::install();
    try {
        return runGame();
    } catch (...) {
        platform::DebugOutput::write(std::string("crash: an exception escaped; last comment: ") +
                                     platform::CrashHandler::comment());
        return platform::CrashHandler::kExitCode;
    }
}
