#pragma once
// Tool: the current drawing tool that the player's strokes are fed to, and
// the brush routines the five tools share (one cell, a disc, a line; paint,
// erase or coat). The world owns the one current tool; the HUD replaces it.
// Tools read the current element and brush size through the world host.
#include <cstdint>
#include <string>

#include "cocos2d.h"

class Tool {
public:
    enum Kind { kDraw = 1, kLine = 2, kFill = 3, kReplace = 4, kMiner = 5 };

    virtual ~Tool() = default;
    // Once per tick while a touch is held: previous and current touch arrays
    // (entries [CCInteger id, CCValue<CCPoint> cell point]).
    virtual void apply(cocos2d::CCArray* previousTouches, cocos2d::CCArray* touches) = 0;
    // Once per ended touch, at its cell.
    virtual void finish(int32_t x, int32_t y);

    // "Draw", "Line", "Fill", "Replace" or "Miner"; null (and a log line)
    // for any other name. The caller owns the tool.
    static Tool* create(const std::string& name);

    // Brushes; cells outside the world are skipped.
    static void placeParticle(int32_t x, int32_t y, const std::string& name);
    static void eraseCell(Tool* tool, int32_t x, int32_t y);
    static void drawDisc(int32_t radius, cocos2d::CCPoint centre);
    static void eraseDisc(Tool* tool, int32_t radius, cocos2d::CCPoint centre);
    static void coatDisc(Tool* tool, int32_t radius, cocos2d::CCPoint centre, const std::string& name);
    static void drawLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1);
    static void eraseLine(Tool* tool, int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t radius);
    static void eraseLineWithBrush(Tool* tool, int32_t x0, int32_t y0, int32_t x1, int32_t y1);
    static void coatLine(Tool* tool, int32_t x0, int32_t y0, int32_t x1, int32_t y1, const std::string& name,
                         int32_t radius);

    // Cells of a disc and of a line, in visiting order (in the world only for
    // the disc).
    template <typename F> static void forDisc(int32_t radius, cocos2d::CCPoint centre, F&& visit);
    template <typename F> static void forLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, F&& visit);

    // What the tools read of the game: the current element's name ("" when
    // none), the brush size, whether the view is magnified.
    static std::string currentElementName();
    static int32_t brushSize();
    static bool magnified();
    // Whether the element of that name is placed one at a time.
    static bool isLivingElement(const std::string& name);

    // Touch array helpers: the entry's id and point.
    static int touchId(cocos2d::CCObject* entry);
    static cocos2d::CCPoint touchPoint(cocos2d::CCObject* entry);
    // The first entry of previous with the id of entry; null when none.
    static cocos2d::CCObject* previousOf(cocos2d::CCArray* previous, cocos2d::CCObject* entry);

    int32_t kind = 0;
    int32_t countdown = 0;
    bool livingStroke = false;

protected:
    // The living rule shared by Draw and Line: true when it handled the tick.
    bool applyLivingRule(const std::string& element, cocos2d::CCArray* touches);
};

template <typename F> void Tool::forDisc(int32_t r, cocos2d::CCPoint c, F&& visit)
{
    const float rr = static_cast<float>(r * r);
    for (int32_t j = static_cast<int32_t>(c.y - r); j < c.y + r; ++j) {
        for (int32_t i = static_cast<int32_t>(c.x - r); i < c.x + r; ++i) {
            const float dx = i - c.x;
            const float dy = j - c.y;
            if (dx * dx + dy * dy < rr)
                visit(i, j);
        }
    }
}

template <typename F> void Tool::forLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, F&& visit)
{
    const int32_t dx = x1 > x0 ? x1 - x0 : x0 - x1;
    const int32_t dy = y1 > y0 ? y1 - y0 : y0 - y1;
    const int32_t sx = x0 < x1 ? 1 : -1;
    const int32_t sy = y0 < y1 ? 1 : -1;
    int32_t e = 2 * (dx - dy);
    int32_t x = x0;
    int32_t y = y0;
    for (;;) {
        visit(x, y);
        if (x == x1 && y == y1)
            return;
        const int32_t e2 = e;
        if (e2 > -dy) {
            e -= 2 * dy;
            x += sx;
        }
        if (e2 < dx) {
            e += 2 * dx;
            y += sy;
        }
    }
}
