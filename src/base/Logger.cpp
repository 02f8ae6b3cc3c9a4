#include "base/Logger.h"

#include "platform/DebugOutput.h"

#include <atomic>
#include <cstdio>

namespace {
std::atomic<Logger::ErrorObserver> g_errorObserver{nullptr};
std::atomic<void*> g_errorContext{nullptr};
std::atomic<bool> g_muted{false};
}  // namespace

void Logger::setMuted(bool muted)
{
    g_muted = muted;
}

void Logger::setErrorObserver(ErrorObserver observer, void* context)
{
    g_errorObserver = nullptr;
    g_errorContext = context;
    g_errorObserver = observer;
}

Logger::Logger(int sourceLine) : m_sourceLine(sourceLine), m_sink(&writeLogLine)
{
    if (g_muted.load(std::memory_order_relaxed))
        return;
    m_text.emplace();
    *m_text << std::boolalpha;
}

Logger::~Logger()
{
    flush();
}

Logger& Logger::writeCString(const char* text)
{
    // A null C string would be undefined for the stream; show it plainly.
    return writeValue(text ? text : "(null)");
}

Logger& Logger::writeString(const std::string& text)
{
    return writeValue(text);
}

Logger& Logger::writeInt(uint32_t value)
{
    return writeValue(value);
}

Logger& Logger::writePointer(const void* pointer)
{
    return writeValue(pointer);
}

void Logger::beginItem()
{
    if (!m_pendingLabel.empty()) {
        *m_text << m_pendingLabel << ": ";
        m_pendingLabel.clear();
    }
}

void Logger::endItem()
{
    *m_text << ' ';
}

void Logger::flush()
{
    if (!m_text)
        return;
    if (m_level >= m_minimumLevel && m_sink) {
        m_sink(*this);
        if (m_level >= 2)
            if (ErrorObserver observer = g_errorObserver)
                observer(formatLogLine(*this), g_errorContext);
    }
    reset();
}

void Logger::reset()
{
    if (m_text) {
        m_text->clear();
        m_text->str(std::string());
    }
    m_level = 0;
}

std::string shortenSignature(const std::string& signature)
{
    std::string result = signature;
    size_t open = result.find('(');
    size_t close = result.rfind(')');
    if (open != std::string::npos && close != std::string::npos && close >= open)
        result.replace(open, close - open + 1, "(...)");
    else
        result += "(...)";
    size_t bracketOpen = result.find('[');
    size_t bracketClose = result.find(']');
    if (bracketOpen != std::string::npos && bracketClose != std::string::npos && bracketClose > bracketOpen)
        result.replace(bracketOpen, bracketClose - bracketOpen + 1, "[tmpl]");
    return result;
}

std::string formatLogLine(const Logger& record)
{
    std::string line = shortenSignature(record.functionSignature());
    char number[32];
    std::snprintf(number, sizeof number, " (%d): ", record.sourceLine());
    line += number;
    std::string text = record.text();
    line += text.empty() ? std::string("_") : text;
    line += '\n';
    return line;
}

void writeLogLine(const Logger& record)
{
    platform::DebugOutput::write(formatLogLine(record));
}

FunctionTrace::FunctionTrace(int sourceLine) : m_finish(sourceLine)
{
    Logger(sourceLine) << "------function execution starts"
                       << "; Thread id: "
                       << "gettid()";
    m_finish << "------execution finished";
}
