#include "sdl/InputScript.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/EngineLog.h"
#include "cocos2d/CCEGLView.h"
#include "cocos2d/CCImage.h"

namespace cocos2d {
namespace inputscript {

namespace {

// Far beyond any run; keeps frame + hold from overflowing.
constexpr long kMaxFrame = 100000000L;
constexpr long kMaxCoordinate = 100000L;
constexpr long kMaxDragFrames = 100000L;

bool parseWhole(const std::string& token, long low, long high, long& value)
{
    if (token.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    long v = std::strtol(token.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < low || v > high)
        return false;
    value = v;
    return true;
}

// Length of the UTF-8 sequence at s[i], or 0 when it is not well formed.
size_t utf8Length(const std::string& s, size_t i)
{
    const auto c = static_cast<unsigned char>(s[i]);
    size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
    if (n == 0 || i + n > s.size())
        return 0;
    for (size_t k = 1; k < n; ++k) {
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
            return 0;
    }
    return n;
}

std::vector<std::string> splitWords(const std::string& line)
{
    std::vector<std::string> words;
    std::istringstream in(line);
    std::string word;
    while (in >> word) {
        if (word[0] == '#')
            break;
        words.push_back(word);
    }
    return words;
}

class LineParser {
public:
    LineParser(const std::string& fileName, int lineNo, std::vector<Event>& out)
        : m_fileName(fileName), m_lineNo(lineNo), m_out(out)
    {
    }

    bool parse(const std::string& line, std::string& error)
    {
        m_error = &error;
        std::vector<std::string> words = splitWords(line);
        if (words.empty())
            return true;
        long frame = 0;
        if (!parseWhole(words[0], 0, kMaxFrame, frame))
            return fail("the frame must be a whole number from 0, not '" + words[0] + "'");
        if (words.size() < 2)
            return fail("a command must follow the frame");
        m_frame = static_cast<int>(frame);
        const std::string& command = words[1];
        std::vector<std::string> args(words.begin() + 2, words.end());
        if (command == "click")
            return pointer(args, command) && add(Op::Down) && add(Op::Up, kClickHoldFrames);
        if (command == "down")
            return pointer(args, command) && add(Op::Down);
        if (command == "move")
            return pointer(args, command) && add(Op::Move);
        if (command == "up")
            return pointer(args, command) && add(Op::Up);
        if (command == "drag")
            return drag(args);
        if (command == "key")
            return key(args);
        if (command == "text")
            return text(line);
        if (command == "capture")
            return capture(args);
        if (command == "quit") {
            if (!args.empty())
                return fail("quit takes nothing after it");
            return add(Op::Quit);
        }
        return fail("unknown command '" + command + "'");
    }

private:
    bool fail(const std::string& what)
    {
        *m_error = m_fileName + ":" + std::to_string(m_lineNo) + ": " + what;
        return false;
    }

    bool add(Op op, int delay = 0)
    {
        Event e;
        e.frame = m_frame + delay;
        e.op = op;
        e.x = m_x;
        e.y = m_y;
        m_out.push_back(e);
        return true;
    }

    bool coordinate(const std::string& token, int& value)
    {
        long v = 0;
        if (!parseWhole(token, -kMaxCoordinate, kMaxCoordinate, v))
            return fail("'" + token + "' is not a pixel coordinate");
        value = static_cast<int>(v);
        return true;
    }

    bool pointer(const std::vector<std::string>& args, const std::string& command)
    {
        if (args.size() != 2)
            return fail(command + " takes <x> <y>");
        return coordinate(args[0], m_x) && coordinate(args[1], m_y);
    }

    bool drag(const std::vector<std::string>& args)
    {
        if (args.size() != 5)
            return fail("drag takes <x1> <y1> <x2> <y2> <frames>");
        int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        if (!coordinate(args[0], x1) || !coordinate(args[1], y1) || !coordinate(args[2], x2) ||
            !coordinate(args[3], y2))
            return false;
        long frames = 0;
        if (!parseWhole(args[4], 1, kMaxDragFrames, frames))
            return fail("a drag lasts 1 frame or more, not '" + args[4] + "'");
        m_x = x1;
        m_y = y1;
        add(Op::Down);
        for (long i = 1; i <= frames; ++i) {
            // Rounded to the nearest pixel; the last move lands on the end.
            m_x = x1 + static_cast<int>(std::lround(static_cast<double>(x2 - x1) * i / frames));
            m_y = y1 + static_cast<int>(std::lround(static_cast<double>(y2 - y1) * i / frames));
            add(Op::Move, static_cast<int>(i));
        }
        return add(Op::Up, static_cast<int>(frames) + 1);
    }

    bool key(const std::vector<std::string>& args)
    {
        if (args.size() != 1)
            return fail("key takes one SDL key name, e.g. Return");
        SDL_Scancode code = SDL_GetScancodeFromName(args[0].c_str());
        if (code == SDL_SCANCODE_UNKNOWN)
            return fail("unknown key name '" + args[0] + "'");
        m_out.push_back(Event{m_frame, Op::KeyDown, 0, 0, code, {}});
        m_out.push_back(Event{m_frame + 1, Op::KeyUp, 0, 0, code, {}});
        return true;
    }

    // The rest of the line after "text ", verbatim ('#' included), in pieces
    // that fit one SDL text event and never split a character.
    bool text(const std::string& line)
    {
        size_t at = line.find("text");
        std::string typed = line.substr(at + 4);
        if (!typed.empty() && typed[0] != ' ' && typed[0] != '\t')
            return fail("unknown command '" + splitWords(line)[1] + "'");
        typed.erase(0, 1);
        if (typed.empty())
            return fail("text needs something to type");
        std::string piece;
        for (size_t i = 0; i < typed.size();) {
            size_t n = utf8Length(typed, i);
            if (n == 0)
                return fail("text is not valid UTF-8");
            if (piece.size() + n >= SDL_TEXTINPUTEVENT_TEXT_SIZE) {
                m_out.push_back(Event{m_frame, Op::Text, 0, 0, SDL_SCANCODE_UNKNOWN, piece});
                piece.clear();
            }
            piece.append(typed, i, n);
            i += n;
        }
        m_out.push_back(Event{m_frame, Op::Text, 0, 0, SDL_SCANCODE_UNKNOWN, piece});
        return true;
    }

    bool capture(const std::vector<std::string>& args)
    {
        if (args.size() != 1)
            return fail("capture takes one file name ending in .png");
        const std::string& path = args[0];
        if (path.size() < 5 || strcasecmp(path.c_str() + path.size() - 4, ".png") != 0)
            return fail("capture writes PNG only: '" + path + "' does not end in .png");
        m_out.push_back(Event{m_frame, Op::Capture, 0, 0, SDL_SCANCODE_UNKNOWN, path});
        return true;
    }

    const std::string& m_fileName;
    int m_lineNo;
    std::vector<Event>& m_out;
    std::string* m_error = nullptr;
    int m_frame = 0;
    int m_x = 0;
    int m_y = 0;
};

}  // namespace

bool parse(const std::string& script, const std::string& fileName, std::vector<Event>& events, std::string& error)
{
    std::vector<Event> out;
    std::istringstream in(script);
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        LineParser parser(fileName, lineNo, out);
        if (!parser.parse(line, error))
            return false;
    }
    std::stable_sort(out.begin(), out.end(), [](const Event& a, const Event& b) { return a.frame < b.frame; });
    events.swap(out);
    return true;
}

SDL_Event toSdlEvent(const Event& event)
{
    SDL_Event e;
    SDL_zero(e);
    switch (event.op) {
    case Op::Down:
    case Op::Up:
        e.type = event.op == Op::Down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.button = SDL_BUTTON_LEFT;
        e.button.state = event.op == Op::Down ? SDL_PRESSED : SDL_RELEASED;
        e.button.clicks = 1;
        e.button.x = event.x;
        e.button.y = event.y;
        break;
    case Op::Move:
        e.type = SDL_MOUSEMOTION;
        e.motion.state = SDL_BUTTON_LMASK;
        e.motion.x = event.x;
        e.motion.y = event.y;
        break;
    case Op::KeyDown:
    case Op::KeyUp:
        e.type = event.op == Op::KeyDown ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.state = event.op == Op::KeyDown ? SDL_PRESSED : SDL_RELEASED;
        e.key.keysym.scancode = event.scancode;
        e.key.keysym.sym = SDL_GetKeyFromScancode(event.scancode);
        break;
    case Op::Text:
        e.type = SDL_TEXTINPUT;
        SDL_strlcpy(e.text.text, event.text.c_str(), sizeof(e.text.text));
        break;
    case Op::Quit: e.type = SDL_QUIT; break;
    case Op::Capture: break;  // not an input: the player writes it after the frame
    }
    e.common.timestamp = SDL_GetTicks();
    return e;
}

bool Player::load(const std::string& path, std::string& error)
{
    // A folder opens like a file and reads as nothing: say so instead.
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        error = path + ": cannot read the input script: it is a folder";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot read the input script: " + std::strerror(errno);
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (!loadText(text.str(), path, error))
        return false;
    char cwd[PATH_MAX];
    if (getcwd(cwd, sizeof cwd)) {
        for (Event& e : m_captures) {
            if (!e.text.empty() && e.text[0] != '/')
                e.text = std::string(cwd) + "/" + e.text;
        }
    }
    return true;
}

bool Player::loadText(const std::string& script, const std::string& fileName, std::string& error)
{
    std::vector<Event> events;
    if (!parse(script, fileName, events, error))
        return false;
    m_inputs.clear();
    m_captures.clear();
    m_nextInput = m_nextCapture = 0;
    for (Event& e : events)
        (e.op == Op::Capture ? m_captures : m_inputs).push_back(std::move(e));
    return true;
}

void Player::beforeFrame(int frame)
{
    if (m_nextInput < m_inputs.size() && !SDL_WasInit(SDL_INIT_EVENTS) && SDL_InitSubSystem(SDL_INIT_EVENTS) != 0)
        engineLog("input script: cannot start SDL events: %s", SDL_GetError());
    while (m_nextInput < m_inputs.size() && m_inputs[m_nextInput].frame <= frame) {
        SDL_Event e = toSdlEvent(m_inputs[m_nextInput++]);
        if (SDL_PushEvent(&e) < 0)
            engineLog("input script: an event was not queued: %s", SDL_GetError());
    }
}

bool Player::afterFrame(int frame, CCEGLView* view)
{
    bool ok = true;
    while (m_nextCapture < m_captures.size() && m_captures[m_nextCapture].frame <= frame) {
        const std::string& path = m_captures[m_nextCapture++].text;
        CCImage* image = view ? view->captureFrame() : nullptr;
        if (!image) {
            engineLog("input script: frame %d cannot be captured (software renderer only)", frame);
            ok = false;
            continue;
        }
        if (!image->saveToFile(path.c_str())) {
            engineLog("input script: frame %d was not written to %s", frame, path.c_str());
            ok = false;
        }
        image->release();
    }
    return ok;
}

}  // namespace inputscript
}  // namespace cocos2d
