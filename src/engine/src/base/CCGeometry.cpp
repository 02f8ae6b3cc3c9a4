#include "cocos2d/CCGeometry.h"

#include <charconv>
#include <cmath>

NS_CC_BEGIN

float ccpLength(const CCPoint& a)
{
    return std::sqrt(ccpLengthSQ(a));
}

float ccpDistance(const CCPoint& a, const CCPoint& b)
{
    return ccpLength(a - b);
}

namespace {

// A tiny cursor over "{...}" text. Numbers are read without the locale.
struct Cursor {
    const char* p;
    const char* end;

    void skipSpaces()
    {
        while (p < end && (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r')) {
            ++p;
        }
    }
    bool expect(char c)
    {
        skipSpaces();
        if (p < end && *p == c) {
            ++p;
            return true;
        }
        return false;
    }
    bool number(float& out)
    {
        skipSpaces();
        if (p < end && *p == '+') {
            ++p;
        }
        auto result = std::from_chars(p, end, out, std::chars_format::general);
        if (result.ec != std::errc()) {
            return false;
        }
        p = result.ptr;
        return true;
    }
    bool pair(float& a, float& b) { return expect('{') && number(a) && expect(',') && number(b) && expect('}'); }
    bool atEnd()
    {
        skipSpaces();
        return p == end;
    }
};

Cursor cursorOver(const char* text)
{
    const char* end = text;
    while (*end) {
        ++end;
    }
    return Cursor{text, end};
}

}  // namespace

CCRect CCRectFromString(const char* text)
{
    if (!text) {
        return CCRectZero;
    }
    Cursor c = cursorOver(text);
    float x, y, w, h;
    if (c.expect('{') && c.pair(x, y) && c.expect(',') && c.pair(w, h) && c.expect('}') && c.atEnd()) {
        return CCRect(x, y, w, h);
    }
    return CCRectZero;
}

CCPoint CCPointFromString(const char* text)
{
    if (!text) {
        return CCPointZero;
    }
    Cursor c = cursorOver(text);
    float x, y;
    if (c.pair(x, y) && c.atEnd()) {
        return CCPoint(x, y);
    }
    return CCPointZero;
}

CCSize CCSizeFromString(const char* text)
{
    if (!text) {
        return CCSizeZero;
    }
    Cursor c = cursorOver(text);
    float w, h;
    if (c.pair(w, h) && c.atEnd()) {
        return CCSize(w, h);
    }
    return CCSizeZero;
}

NS_CC_END
