#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "engine/src/sdl/InputScript.h"

using namespace cocos2d;
using namespace cocos2d::inputscript;

namespace {

// One event as text, so a whole script's expansion reads as a list.
std::string describe(const Event& e)
{
    std::string at = std::to_string(e.frame) + " ";
    switch (e.op) {
    case Op::Down: return at + "down " + std::to_string(e.x) + "," + std::to_string(e.y);
    case Op::Move: return at + "move " + std::to_string(e.x) + "," + std::to_string(e.y);
    case Op::Up: return at + "up " + std::to_string(e.x) + "," + std::to_string(e.y);
    case Op::KeyDown: return at + "keydown " + SDL_GetScancodeName(e.scancode);
    case Op::KeyUp: return at + "keyup " + SDL_GetScancodeName(e.scancode);
    case Op::Text: return at + "text [" + e.text + "]";
    case Op::Capture: return at + "capture " + e.text;
    case Op::Quit: return at + "quit";
    }
    return at + "?";
}

std::vector<std::string> expand(const std::string& script)
{
    std::vector<Event> events;
    std::string error;
    EXPECT_TRUE(parse(script, "run.script", events, error)) << error;
    std::vector<std::string> out;
    for (const Event& e : events)
        out.push_back(describe(e));
    return out;
}

struct GoodCase {
    const char* name;
    const char* script;
    std::vector<std::string> events;
};

const GoodCase kGood[] = {
    {"click holds the press", "10 click 45 30", {"10 down 45,30", "14 up 45,30"}},
    {"down move up as written", "1 down 5 6\n2 move 7 8\n3 up 9 10", {"1 down 5,6", "2 move 7,8", "3 up 9,10"}},
    {"drag moves evenly and releases a frame later",
     "0 drag 0 0 30 -3 3",
     {"0 down 0,0", "1 move 10,-1", "2 move 20,-2", "3 move 30,-3", "4 up 30,-3"}},
    {"key presses then releases", "5 key Return", {"5 keydown Return", "6 keyup Return"}},
    {"key names ignore case", "5 key backspace", {"5 keydown Backspace", "6 keyup Backspace"}},
    {"text keeps spaces and hashes", "2 text Ada # 2", {"2 text [Ada # 2]"}},
    {"text keeps multibyte characters", "2 text Zoë", {"2 text [Zoë]"}},
    {"long text is split between characters",
     "0 text ééééééééééééééééé",  // 34 bytes: 15 characters fit one event
     {"0 text [ééééééééééééééé]", "0 text [éé]"}},
    {"comments, blanks and CRLF", "# start\n\n  \n3 quit  # done\r\n", {"3 quit"}},
    {"capture", "7 capture shot.png", {"7 capture shot.png"}},
    {"frames sort, same frame keeps line order",
     "9 quit\n4 click 1 2\n8 key Escape",
     {"4 down 1,2", "8 up 1,2", "8 keydown Escape", "9 quit", "9 keyup Escape"}},
};

class GoodLines : public ::testing::TestWithParam<GoodCase> { };

TEST_P(GoodLines, ExpandToTimedEvents)
{
    EXPECT_EQ(expand(GetParam().script), GetParam().events);
}

INSTANTIATE_TEST_SUITE_P(InputScript, GoodLines, ::testing::ValuesIn(kGood), [](const auto& info) {
    std::string name;
    for (const char* c = info.param.name; *c; ++c)
        name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    return name;
});

struct BadCase {
    const char* script;
    const char* error;
};

const BadCase kBad[] = {
    {"x click 1 2", "run.script:1: the frame must be a whole number from 0, not 'x'"},
    {"-1 quit", "run.script:1: the frame must be a whole number from 0, not '-1'"},
    {"12", "run.script:1: a command must follow the frame"},
    {"1 jump 3 4", "run.script:1: unknown command 'jump'"},
    {"1 texts hi", "run.script:1: unknown command 'texts'"},
    {"1 click 3", "run.script:1: click takes <x> <y>"},
    {"1 move 3 4 5", "run.script:1: move takes <x> <y>"},
    {"1 down 3.5 4", "run.script:1: '3.5' is not a pixel coordinate"},
    {"1 up 3 99999999999", "run.script:1: '99999999999' is not a pixel coordinate"},
    {"1 drag 0 0 10 10", "run.script:1: drag takes <x1> <y1> <x2> <y2> <frames>"},
    {"1 drag 0 0 10 10 0", "run.script:1: a drag lasts 1 frame or more, not '0'"},
    {"1 key", "run.script:1: key takes one SDL key name, e.g. Return"},
    {"1 key Enterr", "run.script:1: unknown key name 'Enterr'"},
    {"1 text", "run.script:1: text needs something to type"},
    {"1 text \xff\xfe", "run.script:1: text is not valid UTF-8"},
    {"1 capture", "run.script:1: capture takes one file name ending in .png"},
    {"1 capture shot.bmp", "run.script:1: capture writes PNG only: 'shot.bmp' does not end in .png"},
    {"1 quit now", "run.script:1: quit takes nothing after it"},
    {"# fine\n2 quit\n3 clik 1 1\n4 also bad", "run.script:3: unknown command 'clik'"},
};

class BadLines : public ::testing::TestWithParam<BadCase> { };

TEST_P(BadLines, NameTheFileAndLineAndKeepNothing)
{
    std::vector<Event> events(1);
    std::string error;
    EXPECT_FALSE(parse(GetParam().script, "run.script", events, error));
    EXPECT_EQ(error, GetParam().error);
    EXPECT_EQ(events.size(), 1u) << "a refused script leaves the caller's list alone";
}

INSTANTIATE_TEST_SUITE_P(InputScript, BadLines, ::testing::ValuesIn(kBad));

TEST(InputScriptPlayer, AnUnreadableFileIsAnErrorNamingIt)
{
    const std::string folder = ::testing::TempDir();
    for (const auto& [path, why] : {std::pair<std::string, std::string>{"/nonexistent/dir/run.script", "No such file"},
                                    {folder, "it is a folder"}}) {
        Player player;
        std::string error;
        EXPECT_FALSE(player.load(path, error));
        EXPECT_EQ(error.rfind(path + ": cannot read the input script: ", 0), 0u) << error;
        EXPECT_NE(error.find(why), std::string::npos) << error;
    }
}

// The player queues real SDL events frame by frame; what comes out of SDL's
// queue is what the game's event translation sees.
TEST(InputScriptPlayer, QueuesEachFramesEventsInSdlsQueue)
{
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0) << SDL_GetError();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    Player player;
    std::string error;
    ASSERT_TRUE(player.loadText("0 click 100 200\n1 key Escape\n2 text hi\n3 capture a.png\n5 quit", "s", error))
        << error;

    std::vector<std::vector<Uint32>> perFrame;
    SDL_Event first{};
    for (int frame = 0; frame <= 5; ++frame) {
        player.beforeFrame(frame);
        std::vector<Uint32> types;
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
            if (types.empty() && frame == 0)
                first = e;
            types.push_back(e.type);
        }
        perFrame.push_back(types);
        EXPECT_EQ(player.finished(), false);
    }
    const std::vector<std::vector<Uint32>> expected = {
        {SDL_MOUSEBUTTONDOWN}, {SDL_KEYDOWN}, {SDL_KEYUP, SDL_TEXTINPUT}, {}, {SDL_MOUSEBUTTONUP}, {SDL_QUIT}};
    EXPECT_EQ(perFrame, expected);
    EXPECT_EQ(first.button.button, SDL_BUTTON_LEFT);
    EXPECT_EQ(first.button.x, 100);
    EXPECT_EQ(first.button.y, 200);
    SDL_QuitSubSystem(SDL_INIT_EVENTS);
}

}  // namespace
