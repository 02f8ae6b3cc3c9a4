#pragma once
// Records every log line written while it lives (lines keep their newline);
// every repeated line starts afresh with it.
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<std::string> lines() const;
    // True when some line contains the text.
    bool contains(std::string_view text) const;
    // Index of the first line containing the text at or after `from`, or -1.
    int find(std::string_view text, int from = 0) const;
    void clear();

private:
    static void record(std::string_view line, void* context);
    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
};

}  // namespace testsupport
