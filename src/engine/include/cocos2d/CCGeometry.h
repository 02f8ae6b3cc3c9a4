#pragma once
#include "cocos2d/ccMacros.h"

NS_CC_BEGIN

class CCPoint {
public:
    float x;
    float y;

    constexpr CCPoint() : x(0), y(0) { }
    constexpr CCPoint(float px, float py) : x(px), y(py) { }

    void setPoint(float px, float py)
    {
        x = px;
        y = py;
    }
    bool equals(const CCPoint& other) const { return x == other.x && y == other.y; }

    CCPoint operator+(const CCPoint& o) const { return CCPoint(x + o.x, y + o.y); }
    CCPoint operator-(const CCPoint& o) const { return CCPoint(x - o.x, y - o.y); }
    CCPoint operator-() const { return CCPoint(-x, -y); }
    CCPoint operator*(float a) const { return CCPoint(x * a, y * a); }
};

class CCSize {
public:
    float width;
    float height;

    constexpr CCSize() : width(0), height(0) { }
    constexpr CCSize(float w, float h) : width(w), height(h) { }

    void setSize(float w, float h)
    {
        width = w;
        height = h;
    }
    bool equals(const CCSize& other) const { return width == other.width && height == other.height; }
};

class CCRect {
public:
    CCPoint origin;
    CCSize size;

    constexpr CCRect() = default;
    constexpr CCRect(float x, float y, float w, float h) : origin(x, y), size(w, h) { }

    void setRect(float x, float y, float w, float h)
    {
        origin.setPoint(x, y);
        size.setSize(w, h);
    }
    bool equals(const CCRect& other) const { return origin.equals(other.origin) && size.equals(other.size); }

    float getMinX() const { return origin.x; }
    float getMidX() const { return origin.x + size.width / 2.0f; }
    float getMaxX() const { return origin.x + size.width; }
    float getMinY() const { return origin.y; }
    float getMidY() const { return origin.y + size.height / 2.0f; }
    float getMaxY() const { return origin.y + size.height; }

    // Inclusive on all four edges.
    bool containsPoint(const CCPoint& p) const
    {
        return p.x >= getMinX() && p.x <= getMaxX() && p.y >= getMinY() && p.y <= getMaxY();
    }
    bool intersectsRect(const CCRect& r) const
    {
        return !(getMaxX() < r.getMinX() || r.getMaxX() < getMinX() || getMaxY() < r.getMinY() ||
                 r.getMaxY() < getMinY());
    }
};

inline constexpr CCPoint CCPointZero{};
inline constexpr CCSize CCSizeZero{};
inline constexpr CCRect CCRectZero{};

inline CCPoint ccp(float x, float y)
{
    return CCPoint(x, y);
}

inline CCPoint ccpAdd(const CCPoint& a, const CCPoint& b)
{
    return a + b;
}
inline CCPoint ccpSub(const CCPoint& a, const CCPoint& b)
{
    return a - b;
}
inline CCPoint ccpMult(const CCPoint& a, float s)
{
    return a * s;
}
inline CCPoint ccpNeg(const CCPoint& a)
{
    return -a;
}
inline float ccpDot(const CCPoint& a, const CCPoint& b)
{
    return a.x * b.x + a.y * b.y;
}
inline float ccpLengthSQ(const CCPoint& a)
{
    return ccpDot(a, a);
}
float ccpLength(const CCPoint& a);
float ccpDistance(const CCPoint& a, const CCPoint& b);

// The limits may come in either order.
inline float clampf(float value, float minInclusive, float maxInclusive)
{
    if (minInclusive > maxInclusive) {
        float t = minInclusive;
        minInclusive = maxInclusive;
        maxInclusive = t;
    }
    return value < minInclusive ? minInclusive : (value < maxInclusive ? value : maxInclusive);
}

// "{{x,y},{w,h}}", spaces and floats allowed; CCRectZero when malformed.
CCRect CCRectFromString(const char* text);
// "{a,b}"; zero when malformed.
CCPoint CCPointFromString(const char* text);
CCSize CCSizeFromString(const char* text);

NS_CC_END
