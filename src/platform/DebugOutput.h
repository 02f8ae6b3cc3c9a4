#pragma once
// Where diagnostic lines go: stderr, and a log file in the save folder once
// one is attached. Each line is handed over in one write call per sink, so
// lines from different threads never mix inside a line.
#include <string>
#include <string_view>

namespace platform {

class DebugOutput {
public:
    // Writes one finished line (it carries its own newline). Thread-safe.
    static void write(std::string_view line);

    // Async-signal-safe form for the crash handler: raw bytes to stderr and
    // the log file, no tap, no allocation.
    static void writeFromSignal(const char* text, size_t length);

    // Appends every later line to this file too (created when missing).
    // Returns false when the file cannot be opened; stderr keeps working.
    static bool attachLogFile(const std::string& path);
    static void detachLogFile();

    // Test hook: every line also goes to this callback (nullptr to stop).
    using Tap = void (*)(std::string_view line, void* context);
    static void setTap(Tap tap, void* context);
};

}  // namespace platform
