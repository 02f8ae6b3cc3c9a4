#include "support/LogCapture.h"

#include "base/Logger.h"
#include "platform/DebugOutput.h"

namespace testsupport {

LogCapture::LogCapture()
{
    // A line another test wrote a moment ago must not hold this one back.
    RepeatedLine::forgetAll();
    platform::DebugOutput::setTap(&LogCapture::record, this);
}

LogCapture::~LogCapture()
{
    platform::DebugOutput::setTap(nullptr, nullptr);
}

void LogCapture::record(std::string_view line, void* context)
{
    auto* self = static_cast<LogCapture*>(context);
    std::lock_guard<std::mutex> lock(self->m_mutex);
    self->m_lines.emplace_back(line);
}

std::vector<std::string> LogCapture::lines() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lines;
}

bool LogCapture::contains(std::string_view text) const
{
    return find(text) >= 0;
}

int LogCapture::find(std::string_view text, int from) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (size_t i = from < 0 ? 0 : static_cast<size_t>(from); i < m_lines.size(); ++i)
        if (m_lines[i].find(text) != std::string::npos)
            return static_cast<int>(i);
    return -1;
}

void LogCapture::clear()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_lines.clear();
}

}  // namespace testsupport
