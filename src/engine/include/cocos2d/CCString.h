#pragma once
#include <string>

#include "cocos2d/CCObject.h"

NS_CC_BEGIN

// An immutable string object. A copy is CCString::create(other->getString()).
class CCString : public CCObject {
public:
    CCString() = default;
    explicit CCString(const char* text) : m_sString(text ? text : "") { }
    explicit CCString(const std::string& text) : m_sString(text) { }

    static CCString* create(const std::string& text);
    // A null text gives "" (a std::string cannot be made from null).
    static CCString* create(const char* text) { return create(std::string(text ? text : "")); }
    // No length limit. Pass "%ld" arguments as long.
    static CCString* createWithFormat(const char* format, ...) CC_FORMAT_PRINTF(1, 2);

    const char* getCString() const { return m_sString.c_str(); }
    const std::string& getString() const { return m_sString; }
    unsigned length() const { return (unsigned)m_sString.size(); }

    // atoi: leading blanks, optional sign, digits; no digits give 0.
    int intValue() const;
    unsigned uintValue() const;
    float floatValue() const;
    double doubleValue() const;
    // False for "", "0" and "false"; true for anything else.
    bool boolValue() const;

    // strcmp semantics.
    int compare(const char* other) const;
    // True for another CCString with the same bytes.
    bool isEqual(const CCObject* object) override;

private:
    std::string m_sString;
};

NS_CC_END
