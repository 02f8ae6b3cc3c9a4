#pragma once
// What happens when the process dies of a fatal signal or an escaping
// exception: the last start-up comment and a line go to the log, and the
// process exits with -1 (255 as the shell sees it).
namespace platform {

class CrashHandler {
public:
    static constexpr int kExitCode = -1;

    // Installs the handlers for SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT and
    // std::terminate. Safe to call more than once.
    static void install();
    // The comment reported with a crash ("Startup: Creating EGL View\n", ...);
    // kept in a fixed buffer, so any length is safe (longer ones are cut).
    static void setComment(const char* comment);
    static const char* comment();
    // True when a debugger traces the process: crashes are then left to it.
    static bool debuggerAttached();
    // Writes the crash lines for the given cause and exits with kExitCode.
    [[noreturn]] static void crash(const char* cause);
};

}  // namespace platform
