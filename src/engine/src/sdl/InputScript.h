#pragma once
// Internal: a frame-indexed input script for unattended runs
// (ENGINE_INPUT_SCRIPT). Each line is "<frame> <command> <args>":
//   click x y            press, held kClickHoldFrames frames, release
//   down x y / move x y / up x y
//   drag x1 y1 x2 y2 n   press at the start, n moves, release a frame later
//   key <SDL key name>   press, release on the next frame
//   text <utf8>          the rest of the line, typed as is
//   capture <file.png>   the frame as drawn, after it is drawn
//   quit
// Blank lines and lines starting with # are skipped; "# ..." after the
// arguments is a comment too, except after text. Coordinates are window
// pixels. The player turns the script into real SDL events, so they reach the
// game through the same translation as a player's.
#include <SDL.h>

#include <string>
#include <vector>

namespace cocos2d {

class CCEGLView;

namespace inputscript {

constexpr int kClickHoldFrames = 4;

enum class Op { Down, Move, Up, KeyDown, KeyUp, Text, Capture, Quit };

struct Event {
    int frame = 0;
    Op op = Op::Quit;
    int x = 0;
    int y = 0;
    SDL_Scancode scancode = SDL_SCANCODE_UNKNOWN;
    std::string text;  // typed text, or the capture's file
};

// The whole script as events in frame order (same frame: line order). False
// with "<file>:<line>: <what is wrong>" on the first malformed line.
bool parse(const std::string& script, const std::string& fileName, std::vector<Event>& events, std::string& error);

// The SDL event an input event becomes (Quit: SDL_QUIT; a capture is no
// input and gives an empty event).
SDL_Event toSdlEvent(const Event& event);

class Player {
public:
    // Reads and parses the file; relative capture paths are taken from the
    // working folder at this moment (the application moves it later).
    bool load(const std::string& path, std::string& error);
    bool loadText(const std::string& script, const std::string& fileName, std::string& error);

    // Queues the SDL events due at this frame (starts SDL's event queue).
    void beforeFrame(int frame);
    // Writes the captures due at this frame; false when one could not be
    // written (logged).
    bool afterFrame(int frame, CCEGLView* view);
    bool finished() const { return m_nextInput >= m_inputs.size() && m_nextCapture >= m_captures.size(); }

private:
    std::vector<Event> m_inputs;
    std::vector<Event> m_captures;
    size_t m_nextInput = 0;
    size_t m_nextCapture = 0;
};

}  // namespace inputscript
}  // namespace cocos2d
