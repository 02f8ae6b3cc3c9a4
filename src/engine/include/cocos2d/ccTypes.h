#pragma once
#include <cstdint>

#include "cocos2d/ccMacros.h"

NS_CC_BEGIN

typedef struct _ccColor3B {
    uint8_t r;
    uint8_t g;
    uint8_t b;
} ccColor3B;

typedef struct _ccColor4B {
    uint8_t r;
    uint8_t g;
    uint8_t b;
    uint8_t a;
} ccColor4B;

inline ccColor3B ccc3(uint8_t r, uint8_t g, uint8_t b)
{
    return ccColor3B{r, g, b};
}
inline ccColor4B ccc4(uint8_t r, uint8_t g, uint8_t b, uint8_t a)
{
    return ccColor4B{r, g, b, a};
}

inline bool ccc3Equal(const ccColor3B& a, const ccColor3B& b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b;
}
inline bool ccc4Equal(const ccColor4B& a, const ccColor4B& b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

inline constexpr ccColor3B ccWHITE{255, 255, 255};
inline constexpr ccColor3B ccBLACK{0, 0, 0};

NS_CC_END
