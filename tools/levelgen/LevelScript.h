#pragma once
// Level scripts (assets/levels/<world>.level): the header of a prepared
// world, the commands that build it, the player's finished build and the
// actions a playthrough performs. Plain data only; assets/README.md has the
// format. Knows nothing of the game: element names are checked through the
// caller's function, and every fault names its file and line.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace levelscript {

// The small world every level is built in.
constexpr int kWidth = 120;
constexpr int kHeight = 80;

struct Header {
    std::string world;
    std::string background;
    bool sun = false;
    bool weather = false;
    bool light = false;
    bool temperature = false;  // the temperature view
    int32_t ambient = 3;       // 1 (very cold) .. 5 (very hot)
    int32_t food = 0;
    int32_t stone = 0;
    int32_t wood = 0;
    uint32_t seed = 1;
    std::vector<std::string> places;
    int32_t bound = 0;  // 0: none given
    std::string guide;  // the guide picture's name; empty: the world's in lower case
};

enum class CommandKind { Fill, Clear, Line, Disc, Cell, Stamp, Table, Mark, Step, Tune, Human, Robot, Built };
// Guide paints the cells faintly in their own elements' colours on the guide
// picture, KeepEmpty in the mark of cells to leave empty; Frame puts the
// command's element beside and below each cell that is not one of the table's,
// so what is painted into the cells stays where it is put; Ends marks the
// cells beside both ends of each of the table's rows, to mark cells that
// are full when the level opens (what is to be taken away).
enum class TableMode { Fill, Empty, Mark, Guide, KeepEmpty, Frame, Ends };

struct Command {
    CommandKind kind = CommandKind::Fill;
    int line = 0;
    std::string element;  // empty: clear (or, for a table fill, the table's own)
    // Fill, Clear, Mark: x0 y0 x1 y1; Line: x0 y0 x1 y1; Disc: x y; Cell,
    // Stamp: x y (the stamp's top-left cell); Tune: x y; Human, Robot: the
    // leader's cell x y; Step, Built: none.
    std::vector<int32_t> at;
    int32_t radius = 0;  // Line: 0 is one cell wide; Disc: the radius
    int32_t count = 0;   // Step; Built: at most so many steps; Tune: the octave
    std::string job;     // Human: its job; Robot: its role
    int32_t facing = 1;  // Human, Robot: 1 right, -1 left
    std::string note;    // Tune: the note's name
    // Stamp: rows top first, and what each character places ("" empties).
    std::vector<std::string> rows;
    std::map<char, std::string> legend;
    // Table.
    std::string mission;
    char letter = 'A';
    TableMode mode = TableMode::Fill;
};

enum class ActionKind {
    Paint,
    Stroke,
    Line,
    Rect,
    Picture,
    Erase,
    Miner,
    Fill,
    Replace,
    Tap,
    Save,
    Reset,
    Load,
    ZoomIn,
    ZoomOut,
    Option,
    Temperature,
    Step,
    Until,
    Note,
    Play,
    Human,
    Robot,
    Key,
    // The player's controls one at a time: an element picked in the palette,
    // a tool in the tool menu, the brush slider, the eraser, a touch or a drag
    // on the world with what is chosen.
    Element,
    Tool,
    Brush,
    Eraser,
    Touch,
    Drag,
};

struct Action {
    ActionKind kind = ActionKind::Step;
    int line = 0;
    std::string element;  // Paint, Stroke, Line, Rect, Fill, Replace, Element
    // The cells: x y; x0 y0 x1 y1 for Stroke, Line and Rect; Play and Drag:
    // x y pairs; Picture: its top-left cell.
    std::vector<int32_t> at;
    int32_t radius = 0;             // Paint, Stroke, Line, Erase: 0 is one cell (brush 1)
    int32_t count = 0;              // Step, Until; Brush: the size; Touch: the steps held
    std::string name;               // Option: Sun ...; Temperature: VeryCold ...; Human: job; Robot: role; Tool
    bool on = false;                // Option
    std::vector<std::string> keys;  // Key: held together for `count` steps
    // Picture: rows top first, and what each character paints ("" erases).
    std::vector<std::string> rows;
    std::map<char, std::string> legend;
};

struct Level {
    std::string file;  // as given to the parser, for messages
    Header header;
    std::vector<Command> build;
    std::vector<Action> script;
    bool hasScript = false;
    // Whether any build command marks or guides the guide picture.
    bool marks() const;
};

// Answers whether a name is an element the factory makes.
using ElementCheck = std::function<bool(std::string_view)>;

// False with "<where>:<line>: <fault>" on any fault. `where` is the file's
// name; when it ends in ".level" the world must be named after it. A null
// check accepts every element name.
bool parseLevel(std::string_view text, const std::string& where, const ElementCheck& known, Level& out,
                std::string& error);
bool readLevel(const std::string& path, const ElementCheck& known, Level& out, std::string& error);

// The index 0..11 of a note name: c cs d ds e f fs g gs a as b (s for sharp:
// '#' starts a comment); -1 for any other name.
int noteIndex(std::string_view name);

// The cells of a `line` command from (x0, y0) to (x1, y1), ends included, in
// order (Bresenham's): each is the centre of the line's brush. levelgen and
// the playthrough's build draw the same cells.
template <typename Visit> void forLineCells(int32_t x0, int32_t y0, int32_t x1, int32_t y1, Visit&& visit)
{
    const int32_t dx = x1 > x0 ? x1 - x0 : x0 - x1, dy = -(y1 > y0 ? y1 - y0 : y0 - y1);
    const int32_t sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int32_t err = dx + dy;
    for (;;) {
        visit(x0, y0);
        if (x0 == x1 && y0 == y1)
            return;
        const int32_t e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

// The jobs a level may give a human ("settler" is "normal" in the world
// file: the human campaign turns every normal human into a settler at load),
// and the roles of a robot.
const std::vector<std::string>& humanJobs();
const std::vector<std::string>& robotRoles();
// The dust a player sprinkles for a human's job or a robot's role; empty
// for "normal" and "settler" (a new human's own) and for "guardian" (a new
// robot's own).
std::string dustOf(std::string_view jobOrRole, bool robot = false);

// "Fill", "Stamp", ...: for messages.
const char* commandName(CommandKind kind);

}  // namespace levelscript
