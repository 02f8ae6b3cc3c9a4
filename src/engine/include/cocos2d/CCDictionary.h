#pragma once
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "cocos2d/CCObject.h"

NS_CC_BEGIN

class CCArray;
class CCString;
class CCDictionary;

// One key and its value, as handed out by CCDICT_FOREACH.
class CCDictElement {
public:
    const char* getStrKey() const { return m_key.c_str(); }
    const std::string& getStrKeyString() const { return m_key; }
    CCObject* getObject() const { return m_object; }

private:
    friend class CCDictionary;
    CCDictElement(const std::string& key, CCObject* object) : m_key(key), m_object(object) { }
    std::string m_key;
    CCObject* m_object;
};

// A dictionary with string keys that iterates in insertion order (a parsed
// file in file order). It retains its values.
class CCDictionary : public CCObject {
public:
    CCDictionary() = default;
    // Members are owned references: no implicit copies.
    CCDictionary(const CCDictionary&) = delete;
    CCDictionary& operator=(const CCDictionary&) = delete;
    ~CCDictionary() override;

    static CCDictionary* create();
    // A plist whose root is a dict. Never null: a missing, unreadable or
    // malformed file, or one with another root, gives an empty dictionary.
    static CCDictionary* createWithContentsOfFile(const std::string& path);
    // The same parse, for a background thread: the result has a count of 1,
    // is not autoreleased, and the caller releases it.
    static CCDictionary* createWithContentsOfFileThreadSafe(const std::string& path);

    unsigned count() const { return (unsigned)m_elements.size(); }
    // Exact byte-wise match; null when absent.
    CCObject* objectForKey(const std::string& key) const;
    // The stored string, or a new autoreleased "" when the key is absent or
    // holds something else. Never null.
    CCString* valueForKey(const std::string& key) const;
    // An autoreleased array of CCStrings, in insertion order.
    CCArray* allKeys() const;

    // Replacing a value keeps the key's position. A null object is ignored.
    void setObject(CCObject* object, const std::string& key);
    void removeObjectForKey(const std::string& key);
    void removeAllObjects();

    // Changes whenever the dictionary does (a value set or removed), and no
    // two dictionaries ever share one: a caller that saw a value under a
    // stamp knows the value still stands while the stamp does.
    uint64_t stamp() const { return m_stamp; }

    // For CCDICT_FOREACH. Elements stay valid until removed.
    CCDictElement* elementAtIndex(unsigned index) const
    {
        return index < m_elements.size() ? m_elements[index] : nullptr;
    }

private:
    static uint64_t nextStamp();

    std::vector<CCDictElement*> m_elements;
    std::unordered_map<std::string, CCDictElement*> m_index;
    uint64_t m_stamp = nextStamp();
};

// Steps a CCDICT_FOREACH. If the body removed the element it was given, the
// walk does not skip the element that moved into its place.
inline bool ccDictForeachNext(const CCDictionary* dict, unsigned& index, CCDictElement*& current)
{
    if (!dict) {
        return false;
    }
    if (current != nullptr) {
        if (dict->elementAtIndex(index) == current) {
            ++index;
        }
    }
    current = dict->elementAtIndex(index);
    return current != nullptr;
}

// __el__ must be a CCDictElement* variable declared by the caller.
#define CCDICT_FOREACH(__dict__, __el__)                                                                               \
    for (unsigned CC_CONCAT(ccDictIdx_, __LINE__) = ((__el__) = nullptr, 0u);                                          \
         cocos2d::ccDictForeachNext((__dict__), CC_CONCAT(ccDictIdx_, __LINE__), (__el__));)

NS_CC_END
