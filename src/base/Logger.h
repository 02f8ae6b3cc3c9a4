#pragma once
// One diagnostic record: filled by inserts on one statement and written as one
// line when it is destroyed.  LOG << "text" << value;  or  Logger(N) << ...
// Line form: "(...) (<line>): " then every item followed by one space ("_" when
// there are none). Any thread may log; each line is written with one call.
// A line of ordinary length is collected and written without the heap, so a
// world step may log.
#include <atomic>
#include <cstdint>
#include <optional>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>
#include <type_traits>

class RepeatedLine;

class Logger {
public:
    using Sink = void (*)(const Logger&);

    // A label for the next item: LOG << Logger::Label("ok") << ok; gives "ok: true ".
    struct Label {
        // Spelled out so Label("x") also builds with compilers that lack
        // parenthesised aggregate initialisation (clang before 16).
        constexpr explicit Label(const char* labelName) : name(labelName) { }
        const char* name;
    };

    explicit Logger(int sourceLine);
    ~Logger();
    Logger(const Logger&) = delete;
    Logger& operator=(const Logger&) = delete;

    Logger& writeCString(const char* text);
    Logger& writeString(const std::string& text);
    Logger& writeInt(uint32_t value);
    Logger& writePointer(const void* pointer);

    // Every value goes through the same item procedure with the stream's
    // standard formatting (nothing while muted).
    template <typename T> Logger& writeValue(const T& value)
    {
        if (!m_text)
            return *this;
        beginItem();
        *m_text << value;
        endItem();
        return *this;
    }

    Logger& operator<<(const char* text) { return writeCString(text); }
    Logger& operator<<(char* text) { return writeCString(text); }
    Logger& operator<<(const std::string& text) { return writeString(text); }
    Logger& operator<<(unsigned int value) { return writeInt(value); }
    // Nothing for a repeated line written the first time; "(N times since
    // the last line)" when it came up more than once since.
    Logger& operator<<(const RepeatedLine& line);
    Logger& operator<<(const Label& label)
    {
        m_pendingLabel = label.name ? label.name : "";
        return *this;
    }
    template <typename T> Logger& operator<<(const T& value)
    {
        if constexpr (std::is_pointer_v<T> || std::is_null_pointer_v<T>)
            return writePointer(static_cast<const void*>(value));
        else
            return writeValue(value);
    }

    // Hands the record to its sink when its level allows it, then resets it.
    void flush();
    // Clears the stream's state and text, and sets the level back to 0.
    void reset();

    // 0 ordinary, 2 error; the level does not show in the line.
    Logger& setLevel(int level)
    {
        m_level = level;
        return *this;
    }
    int level() const { return m_level; }
    int sourceLine() const { return m_sourceLine; }

    // Sees every error-level line as it is written (one observer at a time,
    // null to stop): a long unattended run counts what went wrong.
    using ErrorObserver = void (*)(const std::string& line, void* context);
    static void setErrorObserver(ErrorObserver observer, void* context);
    // Muted, records are neither formatted nor written (a fuzz run, which
    // throws the lines away anyway, makes millions of them).
    static void setMuted(bool muted);
    const char* functionSignature() const { return m_signature; }
    std::string text() const { return std::string(textView()); }
    // The text collected so far, valid until the next insert.
    std::string_view textView() const { return m_buffer.view(); }
    bool hasText() const { return m_text && !m_buffer.view().empty(); }

    // Texts up to this long are kept in the record itself.
    static constexpr size_t kInlineText = 480;

private:
    // The label and separator around an item; only with a text.
    void beginItem();
    void endItem();

    // Collects the text in the record's own array, and in a string only
    // past its end.
    class TextBuffer : public std::streambuf {
    public:
        TextBuffer();
        std::string_view view() const;
        void clear();

    protected:
        int_type overflow(int_type c) override;
        std::streamsize xsputn(const char* text, std::streamsize count) override;

    private:
        char m_inline[kInlineText];
        std::string m_spill;  // the whole text once it outgrew m_inline
    };

    TextBuffer m_buffer;
    // Empty while logging is muted.
    std::optional<std::ostream> m_text;
    int m_level = 0;
    int m_sourceLine;
    const char* m_signature = "";
    Sink m_sink;
    const char* m_pendingLabel = nullptr;
    int m_minimumLevel = 0;
};

// A line that a fault may write every step, or for every particle of a step:
// written the first time it comes up, then at most once a second of the
// game's clock, with the number of times it came up since the line before.
//   static RepeatedLine conversions;
//   if (conversions.due())
//       LOG << "Prepare to clear" << conversions;
// Any thread may ask; each line keeps its own count.
class RepeatedLine {
public:
    RepeatedLine();
    ~RepeatedLine();
    RepeatedLine(const RepeatedLine&) = delete;
    RepeatedLine& operator=(const RepeatedLine&) = delete;

    // Counts one more time; true when the line is to be written now.
    bool due();
    // Times it came up for the line being written: since the last line,
    // this one included (1 the first time).
    int64_t times() const { return m_times; }

    // Every repeated line starts afresh, as if it had never come up (tests
    // that look for a line another test wrote a moment ago).
    static void forgetAll();

private:
    std::atomic<int64_t> m_since{0};
    std::atomic<int64_t> m_lastSecond;
    int64_t m_times = 0;
    RepeatedLine* m_next = nullptr;
};

// The sink of every record: formats the line and hands it to the debugger output.
void writeLogLine(const Logger& record);

// Builds the line writeLogLine writes (without writing it).
std::string formatLogLine(const Logger& record);

// "(...)" for everything from the first "(" to the last ")", and "[tmpl]" for
// the first "[...]"; an empty signature gives "(...)".
std::string shortenSignature(const std::string& signature);

// A traced operation: writes the start line now and the finish line when the
// trace goes out of scope, both at the given source line.
class FunctionTrace {
public:
    explicit FunctionTrace(int sourceLine);
    FunctionTrace(const FunctionTrace&) = delete;
    FunctionTrace& operator=(const FunctionTrace&) = delete;

private:
    Logger m_finish;
};

// Pops the running scene after the delay (seconds), on the main thread. Traced.
void popSceneAfterDelay(float delay);

#define LOG Logger(__LINE__)
#define LOG_ERROR Logger(__LINE__).setLevel(2)
#define LOG_TRACE_CONCAT2(a, b) a##b
#define LOG_TRACE_CONCAT(a, b) LOG_TRACE_CONCAT2(a, b)
// Traces the enclosing block: LOG_TRACE; or FunctionTrace trace(N); for a given line.
#define LOG_TRACE FunctionTrace LOG_TRACE_CONCAT(functionTrace_, __LINE__)(__LINE__)
