#include "platform/CrashHandler.h"

#include "platform/DebugOutput.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fstream>
#include <string>
#include <unistd.h>

namespace platform {

namespace {

char g_comment[512] = "";

// The handler's own stack: a stack overflow leaves no room on the thread's
// stack to run it. Static, so nothing is allocated when a crash comes.
alignas(16) char g_signalStack[64 * 1024];

size_t appendText(char* buffer, size_t used, size_t capacity, const char* text)
{
    while (*text && used + 1 < capacity)
        buffer[used++] = *text++;
    buffer[used] = '\0';
    return used;
}

const char* signalName(int sig)
{
    switch (sig) {
    case SIGSEGV: return "SIGSEGV";
    case SIGBUS: return "SIGBUS";
    case SIGFPE: return "SIGFPE";
    case SIGILL: return "SIGILL";
    case SIGABRT: return "SIGABRT";
    default: return "fatal signal";
    }
}

void onSignal(int sig)
{
    CrashHandler::crash(signalName(sig));
}

void onTerminate()
{
    CrashHandler::crash("an exception escaped");
}

}  // namespace

void CrashHandler::install()
{
    stack_t altStack;
    std::memset(&altStack, 0, sizeof altStack);
    altStack.ss_sp = g_signalStack;
    altStack.ss_size = sizeof g_signalStack;
    sigaltstack(&altStack, nullptr);

    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = &onSignal;
    sigemptyset(&action.sa_mask);
    // One shot: a fault inside the handler ends the process the default way.
    action.sa_flags = SA_RESETHAND | SA_ONSTACK;
    for (int sig : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT})
        sigaction(sig, &action, nullptr);
    std::set_terminate(&onTerminate);
}

bool CrashHandler::debuggerAttached()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string key = "TracerPid:";
    while (std::getline(status, line)) {
        if (line.compare(0, key.size(), key) == 0)
            return std::atoi(line.c_str() + key.size()) != 0;
    }
    return false;
}

void CrashHandler::setComment(const char* comment)
{
    appendText(g_comment, 0, sizeof g_comment, comment ? comment : "");
}

const char* CrashHandler::comment()
{
    return g_comment;
}

void CrashHandler::crash(const char* cause)
{
    // Only async-signal-safe calls from here on.
    char line[768];
    size_t used = 0;
    used = appendText(line, used, sizeof line, "crash: ");
    used = appendText(line, used, sizeof line, cause);
    used = appendText(line, used, sizeof line, "; last comment: ");
    used = appendText(line, used, sizeof line, g_comment[0] ? g_comment : "(none)\n");
    if (used > 0 && line[used - 1] != '\n')
        used = appendText(line, used, sizeof line, "\n");
    DebugOutput::writeFromSignal(line, used);
    _exit(kExitCode);
}

}  // namespace platform
