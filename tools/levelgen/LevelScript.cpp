#include "LevelScript.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <fstream>
#include <sstream>

namespace levelscript {

namespace {

struct Fault {
    std::string message;
};

std::vector<std::string> tokens(std::string_view line)
{
    std::vector<std::string> out;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r'))
            ++i;
        size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
            ++i;
        if (i > start)
            out.emplace_back(line.substr(start, i - start));
    }
    return out;
}

std::string_view withoutComment(std::string_view line)
{
    size_t hash = line.find('#');
    line = line.substr(0, hash == std::string_view::npos ? line.size() : hash);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r'))
        line.remove_suffix(1);
    return line;
}

// The header lines, each at most once (Parser::seen_ keeps which came).
constexpr const char* kHeaderNames[] = {"world", "background", "options", "ambient", "colony",
                                        "seed",  "places",     "bound",   "guide"};

bool marksGuide(const Command& c)
{
    return c.kind == CommandKind::Mark ||
        (c.kind == CommandKind::Table &&
         (c.mode == TableMode::Mark || c.mode == TableMode::Guide || c.mode == TableMode::KeepEmpty ||
          c.mode == TableMode::Ends));
}

class Parser {
public:
    Parser(const ElementCheck& known, Level& level) : known_(known), level_(level) { }

    void line(std::string_view raw);
    void finish();

    int number = 0;

private:
    enum class Section { Header, Build, Script };
    enum class Block { None, Legend, Stamp, Picture };

    [[noreturn]] void fail(const std::string& message) const { throw Fault{message}; }
    int32_t integer(const std::vector<std::string>& t, size_t i, int32_t low, int32_t high) const;
    void element(const std::string& name) const;
    void cellIn(int32_t x, int32_t y) const;
    void arity(const std::vector<std::string>& t, size_t low, size_t high, const char* usage) const;
    void header(const std::vector<std::string>& t);
    void command(const std::vector<std::string>& t, std::vector<Command>& into);
    void action(const std::vector<std::string>& t);
    // A stamp or a picture at X Y, taking the legend so far; its rows follow.
    template <typename Shape>
    void openBlock(const std::vector<std::string>& t, const char* usage, Block block, Shape& shape)
    {
        arity(t, 3, 3, usage);
        shape.line = number;
        shape.at = {integer(t, 1, INT32_MIN, INT32_MAX), integer(t, 2, INT32_MIN, INT32_MAX)};
        cellIn(shape.at[0], shape.at[1]);
        shape.legend = legend_;
        block_ = block;
        blockLine_ = number;
    }
    void blockRow(std::string_view row, const std::vector<int32_t>& at, std::vector<std::string>& rows,
                  const std::map<char, std::string>& legend);
    void creature(const std::vector<std::string>& t, bool human, std::vector<int32_t>& at, std::string& job,
                  int32_t* facing);

    const ElementCheck& known_;
    Level& level_;
    Section section_ = Section::Header;
    Block block_ = Block::None;
    int blockLine_ = 0;
    int sectionLine_ = 0;
    std::map<char, std::string> legend_;
    Command stamp_;
    Action picture_;
    bool seen_[std::size(kHeaderNames)] = {};
};

int32_t Parser::integer(const std::vector<std::string>& t, size_t i, int32_t low, int32_t high) const
{
    const std::string& s = t[i];
    int32_t value = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size())
        fail("expected a number, got '" + s + "'");
    if (value < low || value > high)
        fail("'" + s + "' is out of range " + std::to_string(low) + ".." + std::to_string(high));
    return value;
}

void Parser::element(const std::string& name) const
{
    if (known_ && !known_(name))
        fail("unknown element '" + name + "'");
}

void Parser::cellIn(int32_t x, int32_t y) const
{
    if (x < 0 || y < 0 || x >= kWidth || y >= kHeight)
        fail("cell (" + std::to_string(x) + ", " + std::to_string(y) + ") is outside the 120 x 80 world");
}

void Parser::arity(const std::vector<std::string>& t, size_t low, size_t high, const char* usage) const
{
    if (t.size() < low || t.size() > high)
        fail(std::string("expected: ") + usage);
}

void Parser::header(const std::vector<std::string>& t)
{
    size_t which = 0;
    while (which < std::size(kHeaderNames) && t[0] != kHeaderNames[which])
        ++which;
    if (seen_[which])
        fail("'" + t[0] + "' given twice");
    seen_[which] = true;
    Header& h = level_.header;
    if (t[0] == "world") {
        arity(t, 2, 2, "world NAME");
        h.world = t[1];
    } else if (t[0] == "background") {
        arity(t, 2, 2, "background NAME");
        // The world keeps "<name>.png" in 16 bytes with its terminator.
        if (t[1].size() > 11)
            fail("background name '" + t[1] + "' is longer than 11 characters");
        h.background = t[1];
    } else if (t[0] == "options") {
        if (t.size() < 3 || t.size() % 2 == 0)
            fail("expected: options NAME on|off ...");
        for (size_t i = 1; i < t.size(); i += 2) {
            bool* flag = t[i] == "sun"  ? &h.sun
                : t[i] == "weather"     ? &h.weather
                : t[i] == "light"       ? &h.light
                : t[i] == "temperature" ? &h.temperature
                                        : nullptr;
            if (!flag)
                fail("unknown option '" + t[i] + "'");
            if (t[i + 1] != "on" && t[i + 1] != "off")
                fail("expected on or off, got '" + t[i + 1] + "'");
            *flag = t[i + 1] == "on";
        }
    } else if (t[0] == "ambient") {
        arity(t, 2, 2, "ambient 1..5");
        h.ambient = integer(t, 1, 1, 5);
    } else if (t[0] == "colony") {
        if (t.size() < 3 || t.size() % 2 == 0)
            fail("expected: colony food N stone N wood N");
        for (size_t i = 1; i < t.size(); i += 2) {
            int32_t* value = t[i] == "food" ? &h.food : t[i] == "stone" ? &h.stone : t[i] == "wood" ? &h.wood : nullptr;
            if (!value)
                fail("unknown colony resource '" + t[i] + "'");
            *value = integer(t, i + 1, 0, 1000000);
        }
    } else if (t[0] == "seed") {
        arity(t, 2, 2, "seed N");
        h.seed = static_cast<uint32_t>(integer(t, 1, 0, INT32_MAX));
    } else if (t[0] == "places") {
        for (size_t i = 1; i < t.size(); ++i) {
            element(t[i]);
            h.places.push_back(t[i]);
        }
    } else if (t[0] == "guide") {
        arity(t, 2, 2, "guide NAME");
        if (t[1].size() > 11)
            fail("guide name '" + t[1] + "' is longer than 11 characters");
        h.guide = t[1];
    } else {
        arity(t, 2, 2, "bound N");
        h.bound = integer(t, 1, 1, 1000000);
    }
}

void Parser::command(const std::vector<std::string>& t, std::vector<Command>& into)
{
    Command c;
    c.line = number;
    const std::string& w = t[0];
    auto corners = [&](size_t first) {
        for (size_t i = first; i < first + 4; ++i)
            c.at.push_back(integer(t, i, INT32_MIN, INT32_MAX));
        cellIn(c.at[0], c.at[1]);
        cellIn(c.at[2], c.at[3]);
    };
    if (w == "fill") {
        arity(t, 6, 6, "fill ELEMENT X0 Y0 X1 Y1");
        c.kind = CommandKind::Fill;
        element(c.element = t[1]);
        corners(2);
    } else if (w == "clear") {
        arity(t, 5, 5, "clear X0 Y0 X1 Y1");
        c.kind = CommandKind::Clear;
        corners(1);
    } else if (w == "line") {
        arity(t, 6, 7, "line ELEMENT X0 Y0 X1 Y1 [R]");
        c.kind = CommandKind::Line;
        element(c.element = t[1]);
        corners(2);
        if (t.size() == 7)
            c.radius = integer(t, 6, 0, 20);
    } else if (w == "disc") {
        arity(t, 5, 5, "disc ELEMENT X Y R");
        c.kind = CommandKind::Disc;
        element(c.element = t[1]);
        c.at = {integer(t, 2, INT32_MIN, INT32_MAX), integer(t, 3, INT32_MIN, INT32_MAX)};
        c.radius = integer(t, 4, 0, 60);
        // The centre lies in the world; the disc is cut at its edges.
        cellIn(c.at[0], c.at[1]);
    } else if (w == "cell") {
        arity(t, 4, 4, "cell ELEMENT X Y");
        c.kind = CommandKind::Cell;
        element(c.element = t[1]);
        c.at = {integer(t, 2, INT32_MIN, INT32_MAX), integer(t, 3, INT32_MIN, INT32_MAX)};
        cellIn(c.at[0], c.at[1]);
    } else if (w == "table") {
        arity(t, 4, 5, "table MISSION LETTER fill [ELEMENT] | empty | mark [ends] | guide [empty] | frame ELEMENT");
        c.kind = CommandKind::Table;
        c.mission = t[1];
        if (t[2].size() != 1 || t[2][0] < 'A' || t[2][0] > 'Z')
            fail("expected a table letter A..Z, got '" + t[2] + "'");
        c.letter = t[2][0];
        if (t[3] == "fill") {
            c.mode = TableMode::Fill;
            if (t.size() == 5)
                element(c.element = t[4]);
        } else if (t[3] == "empty") {
            arity(t, 4, 4, "table MISSION LETTER empty");
            c.mode = TableMode::Empty;
        } else if (t[3] == "mark") {
            if (t.size() == 5 && t[4] != "ends")
                fail("expected: table MISSION LETTER mark [ends]");
            c.mode = t.size() == 5 ? TableMode::Ends : TableMode::Mark;
        } else if (t[3] == "guide") {
            if (t.size() == 5 && t[4] != "empty")
                fail("expected: table MISSION LETTER guide [empty]");
            c.mode = t.size() == 5 ? TableMode::KeepEmpty : TableMode::Guide;
        } else if (t[3] == "frame") {
            arity(t, 5, 5, "table MISSION LETTER frame ELEMENT");
            c.mode = TableMode::Frame;
            element(c.element = t[4]);
        } else {
            fail("expected fill, empty, mark, guide or frame, got '" + t[3] + "'");
        }
    } else if (w == "tune") {
        arity(t, 5, 5, "tune X Y NAME OCTAVE");
        c.kind = CommandKind::Tune;
        c.at = {integer(t, 1, INT32_MIN, INT32_MAX), integer(t, 2, INT32_MIN, INT32_MAX)};
        cellIn(c.at[0], c.at[1]);
        if (noteIndex(t[3]) < 0)
            fail("unknown note '" + t[3] + "' (c cs d ds e f fs g gs a as b)");
        c.note = t[3];
        c.count = integer(t, 4, 0, 3);
    } else if (w == "mark") {
        arity(t, 5, 5, "mark X0 Y0 X1 Y1");
        c.kind = CommandKind::Mark;
        corners(1);
    } else if (w == "step") {
        arity(t, 2, 2, "step N");
        c.kind = CommandKind::Step;
        c.count = integer(t, 1, 1, 100000);
    } else if (w == "human" || w == "robot") {
        c.kind = w == "human" ? CommandKind::Human : CommandKind::Robot;
        creature(t, w == "human", c.at, c.job, &c.facing);
    } else if (w == "built") {
        arity(t, 1, 2, "built [N]");
        c.kind = CommandKind::Built;
        c.count = t.size() == 2 ? integer(t, 1, 1, 100000) : 100;
    } else if (w == "stamp") {
        stamp_ = Command{};
        stamp_.kind = CommandKind::Stamp;
        openBlock(t, "stamp X Y", Block::Stamp, stamp_);
        return;
    } else {
        fail("unknown command '" + w + "'");
    }
    into.push_back(std::move(c));
}

void Parser::action(const std::vector<std::string>& t)
{
    Action a;
    a.line = number;
    const std::string& w = t[0];
    auto cells = [&](size_t first, size_t n) {
        for (size_t i = first; i < first + n; ++i)
            a.at.push_back(integer(t, i, INT32_MIN, INT32_MAX));
        for (size_t i = 0; i < n; i += 2)
            cellIn(a.at[i], a.at[i + 1]);
    };
    if (w == "paint") {
        arity(t, 4, 5, "paint ELEMENT X Y [R]");
        a.kind = ActionKind::Paint;
        element(a.element = t[1]);
        cells(2, 2);
        if (t.size() == 5)
            a.radius = integer(t, 4, 0, 9);
    } else if (w == "stroke") {
        arity(t, 6, 7, "stroke ELEMENT X0 Y0 X1 Y1 [R]");
        a.kind = ActionKind::Stroke;
        element(a.element = t[1]);
        cells(2, 4);
        if (t.size() == 7)
            a.radius = integer(t, 6, 0, 9);
    } else if (w == "line") {
        arity(t, 6, 7, "line ELEMENT X0 Y0 X1 Y1 [R]");
        a.kind = ActionKind::Line;
        element(a.element = t[1]);
        cells(2, 4);
        // The line tool keeps to the row or the column it starts along.
        if (a.at[0] != a.at[2] && a.at[1] != a.at[3])
            fail("a line runs along a row or a column");
        if (t.size() == 7)
            a.radius = integer(t, 6, 0, 9);
    } else if (w == "rect") {
        arity(t, 6, 6, "rect ELEMENT X0 Y0 X1 Y1");
        a.kind = ActionKind::Rect;
        element(a.element = t[1]);
        cells(2, 4);
    } else if (w == "picture") {
        picture_ = Action{};
        picture_.kind = ActionKind::Picture;
        openBlock(t, "picture X Y", Block::Picture, picture_);
        return;
    } else if (w == "element") {
        arity(t, 2, 2, "element NAME");
        a.kind = ActionKind::Element;
        element(a.element = t[1]);
    } else if (w == "tool") {
        arity(t, 2, 2, "tool Draw|Line|Fill|Replace|Miner");
        static const char* const tools[] = {"Draw", "Line", "Fill", "Replace", "Miner"};
        if (std::find(std::begin(tools), std::end(tools), t[1]) == std::end(tools))
            fail("unknown tool '" + t[1] + "' (Draw Line Fill Replace Miner)");
        a.kind = ActionKind::Tool;
        a.name = t[1];
    } else if (w == "brush") {
        arity(t, 2, 2, "brush 1..9");
        a.kind = ActionKind::Brush;
        a.count = integer(t, 1, 1, 9);
    } else if (w == "eraser") {
        arity(t, 1, 1, "eraser");
        a.kind = ActionKind::Eraser;
    } else if (w == "touch") {
        arity(t, 3, 4, "touch X Y [STEPS]");
        a.kind = ActionKind::Touch;
        cells(1, 2);
        a.count = t.size() == 4 ? integer(t, 3, 1, 600) : 2;
    } else if (w == "drag") {
        if (t.size() < 5 || t.size() % 2 == 0)
            fail("expected: drag X0 Y0 X1 Y1 [X Y ...]");
        a.kind = ActionKind::Drag;
        cells(1, t.size() - 1);
    } else if (w == "erase") {
        arity(t, 3, 4, "erase X Y [R]");
        a.kind = ActionKind::Erase;
        cells(1, 2);
        if (t.size() == 4)
            a.radius = integer(t, 3, 0, 9);
    } else if (w == "miner" || w == "tap") {
        arity(t, 3, 3, w == "miner" ? "miner X Y" : "tap X Y");
        a.kind = w == "miner" ? ActionKind::Miner : ActionKind::Tap;
        cells(1, 2);
    } else if (w == "fill" || w == "replace") {
        arity(t, 4, 4, w == "fill" ? "fill ELEMENT X Y" : "replace ELEMENT X Y");
        a.kind = w == "fill" ? ActionKind::Fill : ActionKind::Replace;
        element(a.element = t[1]);
        cells(2, 2);
    } else if (w == "save" || w == "reset" || w == "load") {
        arity(t, 1, 1, w.c_str());
        a.kind = w == "save" ? ActionKind::Save : w == "reset" ? ActionKind::Reset : ActionKind::Load;
    } else if (w == "zoom") {
        arity(t, 2, 2, "zoom in | zoom out");
        if (t[1] != "in" && t[1] != "out")
            fail("expected: zoom in | zoom out");
        a.kind = t[1] == "in" ? ActionKind::ZoomIn : ActionKind::ZoomOut;
    } else if (w == "option") {
        arity(t, 3, 3, "option NAME on|off");
        static const char* const options[] = {"Sun", "Weather", "Light", "Temperature", "Background"};
        if (std::find(std::begin(options), std::end(options), t[1]) == std::end(options))
            fail("unknown option '" + t[1] + "'");
        if (t[2] != "on" && t[2] != "off")
            fail("expected on or off, got '" + t[2] + "'");
        a.kind = ActionKind::Option;
        a.name = t[1];
        a.on = t[2] == "on";
    } else if (w == "temperature") {
        arity(t, 2, 2, "temperature LEVEL");
        static const char* const levels[] = {"VeryCold", "Cold", "Normal", "Hot", "VeryHot"};
        if (std::find(std::begin(levels), std::end(levels), t[1]) == std::end(levels))
            fail("unknown temperature '" + t[1] + "'");
        a.kind = ActionKind::Temperature;
        a.name = t[1];
    } else if (w == "step" || w == "until") {
        arity(t, 2, 2, w == "step" ? "step N" : "until N");
        a.kind = w == "step" ? ActionKind::Step : ActionKind::Until;
        a.count = integer(t, 1, 1, 1000000);
    } else if (w == "key") {
        if (t.size() < 3)
            fail("expected: key left|right|space ... N");
        a.kind = ActionKind::Key;
        for (size_t i = 1; i + 1 < t.size(); ++i) {
            if (t[i] != "left" && t[i] != "right" && t[i] != "space")
                fail("unknown key '" + t[i] + "' (left right space)");
            a.keys.push_back(t[i]);
        }
        a.count = integer(t, t.size() - 1, 1, 100000);
    } else if (w == "note") {
        arity(t, 5, 5, "note X Y NAME OCTAVE");
        a.kind = ActionKind::Note;
        cells(1, 2);
        if (noteIndex(t[3]) < 0)
            fail("unknown note '" + t[3] + "' (c cs d ds e f fs g gs a as b)");
        a.name = t[3];
        a.count = integer(t, 4, 0, 3);
    } else if (w == "human" || w == "robot") {
        a.kind = w == "human" ? ActionKind::Human : ActionKind::Robot;
        creature(t, w == "human", a.at, a.name, nullptr);
    } else if (w == "play") {
        if (t.size() < 3 || t.size() % 2 == 0)
            fail("expected: play X Y [X Y ...]");
        a.kind = ActionKind::Play;
        cells(1, t.size() - 1);
    } else {
        fail("unknown action '" + w + "'");
    }
    level_.script.push_back(std::move(a));
}

// human X Y JOB [left|right], robot X Y ROLE [left|right]: the leader's
// cell, and the body's two columns and six rows above it, lie in the world.
// A script's player gives the job by the dust, so it has no facing.
void Parser::creature(const std::vector<std::string>& t, bool human, std::vector<int32_t>& at, std::string& job,
                      int32_t* facing)
{
    const char* usage = human ? (facing ? "human X Y JOB [left|right]" : "human X Y JOB")
                              : (facing ? "robot X Y ROLE [left|right]" : "robot X Y ROLE");
    arity(t, 4, facing ? 5 : 4, usage);
    at = {integer(t, 1, INT32_MIN, INT32_MAX), integer(t, 2, INT32_MIN, INT32_MAX)};
    cellIn(at[0], at[1]);
    cellIn(at[0] + 1, at[1] + 5);
    const std::vector<std::string>& names = human ? humanJobs() : robotRoles();
    if (std::find(names.begin(), names.end(), t[3]) == names.end()) {
        std::string list;
        for (const std::string& n : names)
            list += (list.empty() ? "" : " ") + n;
        fail(std::string(human ? "unknown job '" : "unknown role '") + t[3] + "' (" + list + ")");
    }
    job = t[3];
    if (t.size() == 5) {
        if (t[4] != "left" && t[4] != "right")
            fail("expected left or right, got '" + t[4] + "'");
        *facing = t[4] == "left" ? -1 : 1;
    }
}

// A row of a stamp or a picture: each character in the legend (or one that
// leaves its cell), each cell in the world.
void Parser::blockRow(std::string_view row, const std::vector<int32_t>& at, std::vector<std::string>& rows,
                      const std::map<char, std::string>& legend)
{
    const int32_t y = at[1] - static_cast<int32_t>(rows.size());
    for (size_t i = 0; i < row.size(); ++i) {
        const char ch = row[i];
        if (ch == '.' || ch == ' ' || ch == '\t')
            continue;
        if (!legend.count(ch))
            fail(std::string("'") + ch + "' is not in the legend");
        cellIn(at[0] + static_cast<int32_t>(i), y);
    }
    rows.emplace_back(row);
}

void Parser::line(std::string_view raw)
{
    ++number;
    std::string_view text = withoutComment(raw);
    std::vector<std::string> t = tokens(text);
    if (block_ == Block::Stamp) {
        if (t.size() == 1 && t[0] == "end") {
            if (stamp_.rows.empty())
                fail("a stamp without rows");
            level_.build.push_back(std::move(stamp_));
            block_ = Block::None;
        } else {
            blockRow(text, stamp_.at, stamp_.rows, stamp_.legend);
        }
        return;
    }
    if (block_ == Block::Picture) {
        if (t.size() == 1 && t[0] == "end") {
            if (picture_.rows.empty())
                fail("a picture without rows");
            level_.script.push_back(std::move(picture_));
            block_ = Block::None;
        } else {
            blockRow(text, picture_.at, picture_.rows, picture_.legend);
        }
        return;
    }
    if (t.empty())
        return;
    if (block_ == Block::Legend) {
        if (t.size() == 1 && t[0] == "end") {
            block_ = Block::None;
            return;
        }
        if (t.size() != 2 || t[0].size() != 1)
            fail("expected: CHARACTER ELEMENT | CHARACTER empty");
        if (t[0] == ".")
            fail("'.' always leaves the cell as it is");
        if (t[1] != "empty")
            element(t[1]);
        legend_[t[0][0]] = t[1] == "empty" ? std::string() : t[1];
        return;
    }
    const std::string& w = t[0];
    if (w == "end") {
        if (section_ != Section::Script)
            fail("'end' outside a section");
        section_ = Section::Build;
        return;
    }
    if (w == "script") {
        arity(t, 1, 1, "script");
        if (section_ == Section::Script)
            fail("'script' inside another section");
        if (level_.hasScript)
            fail("a second 'script' section");
        level_.hasScript = true;
        section_ = Section::Script;
        sectionLine_ = number;
        return;
    }
    // A legend serves the stamps and the pictures after it, in any section.
    if (w == "legend") {
        arity(t, 1, 1, "legend");
        if (section_ == Section::Header)
            section_ = Section::Build;
        block_ = Block::Legend;
        blockLine_ = number;
        return;
    }
    bool isHeader = std::find(std::begin(kHeaderNames), std::end(kHeaderNames), w) != std::end(kHeaderNames);
    if (section_ == Section::Script) {
        action(t);
    } else if (isHeader) {
        if (section_ != Section::Header)
            fail("header line '" + w + "' after the first build command");
        header(t);
    } else {
        if (section_ == Section::Header)
            section_ = Section::Build;
        command(t, level_.build);
    }
}

void Parser::finish()
{
    if (block_ != Block::None) {
        number = blockLine_;
        fail(block_ == Block::Stamp         ? "stamp without its 'end'"
                 : block_ == Block::Picture ? "picture without its 'end'"
                                            : "legend without its 'end'");
    }
    if (section_ == Section::Script) {
        number = sectionLine_;
        fail("script without its 'end'");
    }
    number = 0;
    if (level_.header.world.empty())
        fail("no 'world' line");
    if (level_.header.background.empty())
        fail("no 'background' line");
}

}  // namespace

bool Level::marks() const
{
    for (const Command& c : build)
        if (marksGuide(c))
            return true;
    return false;
}

bool parseLevel(std::string_view text, const std::string& where, const ElementCheck& known, Level& out,
                std::string& error)
{
    out = Level{};
    out.file = where;
    Parser parser(known, out);
    const std::string base = where.substr(where.find_last_of('/') + 1);
    try {
        size_t start = 0;
        while (start <= text.size()) {
            size_t end = text.find('\n', start);
            if (end == std::string_view::npos) {
                if (start < text.size())
                    parser.line(text.substr(start));
                break;
            }
            parser.line(text.substr(start, end - start));
            start = end + 1;
        }
        parser.finish();
        if (base.size() > 6 && base.ends_with(".level") && base.substr(0, base.size() - 6) != out.header.world) {
            parser.number = 0;
            throw Fault{"world '" + out.header.world + "' is not named after its file"};
        }
    } catch (const Fault& fault) {
        error = base + (parser.number > 0 ? ":" + std::to_string(parser.number) : std::string()) + ": " + fault.message;
        return false;
    }
    return true;
}

bool readLevel(const std::string& path, const ElementCheck& known, Level& out, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot be read";
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return parseLevel(text.str(), path, known, out, error);
}

int noteIndex(std::string_view name)
{
    static constexpr std::string_view kNames[] = {"c", "cs", "d", "ds", "e", "f", "fs", "g", "gs", "a", "as", "b"};
    for (size_t i = 0; i < std::size(kNames); ++i)
        if (kNames[i] == name)
            return static_cast<int>(i);
    return -1;
}

const std::vector<std::string>& humanJobs()
{
    static const std::vector<std::string> jobs = {"normal",  "settler", "hunter",   "woodchopper", "miner",
                                                  "builder", "zombie",  "spaceman", "safari"};
    return jobs;
}

const std::vector<std::string>& robotRoles()
{
    static const std::vector<std::string> roles = {"guardian", "hunter"};
    return roles;
}

std::string dustOf(std::string_view jobOrRole, bool robot)
{
    if (robot)
        return jobOrRole == "hunter" ? "RHunterDust" : "";
    static const std::pair<std::string_view, const char*> dusts[] = {
        {"hunter", "HunterDust"},   {"woodchopper", "WoodcutterDust"}, {"miner", "MinerDust"},
        {"builder", "BuilderDust"}, {"zombie", "ZombieDust"},          {"spaceman", "SpacemanDust"},
        {"safari", "SafariDust"},
    };
    for (const auto& [job, dust] : dusts)
        if (job == jobOrRole)
            return dust;
    return {};
}

const char* commandName(CommandKind kind)
{
    switch (kind) {
    case CommandKind::Fill: return "fill";
    case CommandKind::Clear: return "clear";
    case CommandKind::Line: return "line";
    case CommandKind::Disc: return "disc";
    case CommandKind::Cell: return "cell";
    case CommandKind::Stamp: return "stamp";
    case CommandKind::Table: return "table";
    case CommandKind::Mark: return "mark";
    case CommandKind::Step: return "step";
    case CommandKind::Tune: return "tune";
    case CommandKind::Human: return "human";
    case CommandKind::Robot: return "robot";
    case CommandKind::Built: return "built";
    }
    return "?";
}

}  // namespace levelscript
