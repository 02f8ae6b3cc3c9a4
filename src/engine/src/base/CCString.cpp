#include "cocos2d/CCString.h"

#include <cctype>
#include <charconv>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstring>

NS_CC_BEGIN

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// atoi-like: leading blanks, optional sign, digits; saturates instead of
// overflowing.
long long parseInteger(const std::string& s)
{
    size_t i = 0;
    while (i < s.size() && isBlank(s[i])) {
        ++i;
    }
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    long long value = 0;
    const long long limit = (long long)UINT_MAX + 1;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        if (value < limit) {
            value = value * 10 + (s[i] - '0');
        }
        ++i;
    }
    return negative ? -value : value;
}

// atof without the locale: "1.5" reads the same whatever LC_NUMERIC says.
double parseDouble(const std::string& s)
{
    size_t i = 0;
    while (i < s.size() && isBlank(s[i])) {
        ++i;
    }
    if (i < s.size() && s[i] == '+' && !(i + 1 < s.size() && s[i + 1] == '-')) {
        ++i;
    }
    double value = 0.0;
    std::from_chars(s.data() + i, s.data() + s.size(), value, std::chars_format::general);
    return value;
}

}  // namespace

CCString* CCString::create(const std::string& text)
{
    CCString* s = new CCString(text);
    s->autorelease();
    return s;
}

CCString* CCString::createWithFormat(const char* format, ...)
{
    std::string text;
    if (format) {
        va_list args;
        va_start(args, format);
        va_list copy;
        va_copy(copy, args);
        int n = std::vsnprintf(nullptr, 0, format, copy);
        va_end(copy);
        if (n > 0) {
            text.resize((size_t)n + 1);
            std::vsnprintf(&text[0], (size_t)n + 1, format, args);
            text.resize((size_t)n);
        }
        va_end(args);
    }
    return create(text);
}

int CCString::intValue() const
{
    long long v = parseInteger(m_sString);
    if (v > INT_MAX) {
        return INT_MAX;
    }
    if (v < INT_MIN) {
        return INT_MIN;
    }
    return (int)v;
}

unsigned CCString::uintValue() const
{
    long long v = parseInteger(m_sString);
    if (v < 0) {
        return 0;
    }
    if (v > (long long)UINT_MAX) {
        return UINT_MAX;
    }
    return (unsigned)v;
}

float CCString::floatValue() const
{
    return (float)parseDouble(m_sString);
}

double CCString::doubleValue() const
{
    return parseDouble(m_sString);
}

bool CCString::boolValue() const
{
    return !(m_sString.empty() || m_sString == "0" || m_sString == "false");
}

int CCString::compare(const char* other) const
{
    return std::strcmp(m_sString.c_str(), other ? other : "");
}

bool CCString::isEqual(const CCObject* object)
{
    const CCString* other = dynamic_cast<const CCString*>(object);
    return other && other->m_sString == m_sString;
}

NS_CC_END
