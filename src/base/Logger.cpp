#include "base/Logger.h"

#include "platform/DebugOutput.h"
#include "platform/GameClock.h"

#include <atomic>
#include <climits>
#include <cstdio>
#include <mutex>

namespace {
std::atomic<Logger::ErrorObserver> g_errorObserver{nullptr};
std::atomic<void*> g_errorContext{nullptr};
std::atomic<bool> g_muted{false};

// Every repeated line made so far, for forgetAll.
std::mutex g_repeatedMutex;
RepeatedLine* g_repeated = nullptr;
constexpr int64_t kNeverWritten = INT64_MIN;
}  // namespace

RepeatedLine::RepeatedLine() : m_lastSecond(kNeverWritten)
{
    std::lock_guard<std::mutex> lock(g_repeatedMutex);
    m_next = g_repeated;
    g_repeated = this;
}

RepeatedLine::~RepeatedLine()
{
    std::lock_guard<std::mutex> lock(g_repeatedMutex);
    for (RepeatedLine** link = &g_repeated; *link; link = &(*link)->m_next)
        if (*link == this) {
            *link = m_next;
            break;
        }
}

bool RepeatedLine::due()
{
    const int64_t since = m_since.fetch_add(1, std::memory_order_relaxed) + 1;
    const int64_t now = platform::gameTime();
    int64_t last = m_lastSecond.load(std::memory_order_relaxed);
    // One caller a second wins the right to write, and takes the count.
    if (last != kNeverWritten && now == last)
        return false;
    if (!m_lastSecond.compare_exchange_strong(last, now, std::memory_order_relaxed))
        return false;
    m_times = m_since.exchange(0, std::memory_order_relaxed);
    if (m_times <= 0)
        m_times = since;
    return true;
}

void RepeatedLine::forgetAll()
{
    std::lock_guard<std::mutex> lock(g_repeatedMutex);
    for (RepeatedLine* line = g_repeated; line; line = line->m_next) {
        line->m_since = 0;
        line->m_lastSecond = kNeverWritten;
        line->m_times = 0;
    }
}

Logger& Logger::operator<<(const RepeatedLine& line)
{
    if (!m_text || line.times() <= 1)
        return *this;
    beginItem();
    *m_text << '(' << line.times() << " times since the last line)";
    endItem();
    return *this;
}

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

Logger::TextBuffer::TextBuffer()
{
    setp(m_inline, m_inline + kInlineText);
}

std::string_view Logger::TextBuffer::view() const
{
    if (!m_spill.empty())
        return m_spill;
    return std::string_view(pbase(), static_cast<size_t>(pptr() - pbase()));
}

void Logger::TextBuffer::clear()
{
    m_spill.clear();
    setp(m_inline, m_inline + kInlineText);
}

Logger::TextBuffer::int_type Logger::TextBuffer::overflow(int_type c)
{
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    const char ch = traits_type::to_char_type(c);
    xsputn(&ch, 1);
    return c;
}

std::streamsize Logger::TextBuffer::xsputn(const char* text, std::streamsize count)
{
    if (count <= 0)
        return 0;
    if (m_spill.empty() && epptr() - pptr() >= count) {
        traits_type::copy(pptr(), text, static_cast<size_t>(count));
        pbump(static_cast<int>(count));
        return count;
    }
    // Past the array: the text goes on in a string, with the array's part first.
    if (m_spill.empty()) {
        m_spill.assign(pbase(), static_cast<size_t>(pptr() - pbase()));
        setp(m_inline, m_inline);
    }
    m_spill.append(text, static_cast<size_t>(count));
    return count;
}

Logger::Logger(int sourceLine) : m_sourceLine(sourceLine), m_sink(&writeLogLine)
{
    if (g_muted.load(std::memory_order_relaxed))
        return;
    m_text.emplace(&m_buffer);
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
    if (m_pendingLabel && *m_pendingLabel)
        *m_text << m_pendingLabel << ": ";
    m_pendingLabel = nullptr;
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
        m_buffer.clear();
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

namespace {

// "(...) (<line>): " for a record with no signature of its own (every record
// the game makes).
int formatHead(const Logger& record, char* out, size_t room)
{
    return std::snprintf(out, room, "(...) (%d): ", record.sourceLine());
}

}  // namespace

std::string formatLogLine(const Logger& record)
{
    std::string line = shortenSignature(record.functionSignature());
    char number[32];
    std::snprintf(number, sizeof number, " (%d): ", record.sourceLine());
    line += number;
    const std::string_view text = record.textView();
    if (text.empty())
        line += '_';
    else
        line += text;
    line += '\n';
    return line;
}

void writeLogLine(const Logger& record)
{
    const std::string_view text = record.textView();
    // A line of ordinary length is put together on the stack.
    char line[Logger::kInlineText + 64];
    if (*record.functionSignature() == '\0' && text.size() + 48 < sizeof line) {
        const int head = formatHead(record, line, sizeof line);
        if (head > 0 && static_cast<size_t>(head) + text.size() + 2 < sizeof line) {
            size_t length = static_cast<size_t>(head);
            if (text.empty())
                line[length++] = '_';
            else
                text.copy(line + length, text.size());
            length += text.size();
            line[length++] = '\n';
            platform::DebugOutput::write(std::string_view(line, length));
            return;
        }
    }
    platform::DebugOutput::write(formatLogLine(record));
}

FunctionTrace::FunctionTrace(int sourceLine) : m_finish(sourceLine)
{
    Logger(sourceLine) << "------function execution starts"
                       << "; Thread id: "
                       << "gettid()";
    m_finish << "------execution finished";
}
