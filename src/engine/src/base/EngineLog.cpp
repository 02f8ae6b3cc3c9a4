#include "base/EngineLog.h"

#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace cocos2d {

namespace {

std::string formatLine(const char* format, va_list args)
{
    std::string line = "engine: ";
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (n > 0) {
        size_t start = line.size();
        line.resize(start + (size_t)n + 1);
        std::vsnprintf(&line[start], (size_t)n + 1, format, args);
        line.resize(start + (size_t)n);
    }
    line += '\n';
    return line;
}

void writeLine(const std::string& line)
{
    // One write call so concurrent lines never interleave.
    ssize_t written = ::write(STDERR_FILENO, line.data(), line.size());
    (void)written;
}

}  // namespace

void engineLog(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string line = formatLine(format, args);
    va_end(args);
    writeLine(line);
}

void engineFault(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string line = formatLine(format, args);
    va_end(args);
    writeLine(line);
#ifndef NDEBUG
    std::abort();
#endif
}

}  // namespace cocos2d
