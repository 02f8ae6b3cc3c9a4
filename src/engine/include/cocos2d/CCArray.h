#pragma once
#include <climits>
#include <string>
#include <vector>

#include "cocos2d/CCObject.h"

NS_CC_BEGIN

#define CC_INVALID_INDEX UINT_MAX

// An ordered array that retains its members. Removal releases at once, so a
// caller that still needs a removed object retains it first.
class CCArray : public CCObject {
public:
    CCArray() = default;
    // Members are owned references: no implicit copies.
    CCArray(const CCArray&) = delete;
    CCArray& operator=(const CCArray&) = delete;
    ~CCArray() override;

    static CCArray* create();
    // A NULL-terminated list of objects.
    static CCArray* create(CCObject* object, ...);
    static CCArray* createWithObject(CCObject* object);
    static CCArray* createWithCapacity(unsigned capacity);
    // A plist whose root is an array; empty when the file is missing,
    // unreadable or has another root.
    static CCArray* createWithContentsOfFile(const std::string& path);

    bool init() { return true; }
    bool initWithCapacity(unsigned capacity);

    unsigned count() const { return (unsigned)m_data.size(); }
    // Null and a log line when out of range.
    CCObject* objectAtIndex(unsigned index) const;
    // Null when empty.
    CCObject* lastObject() const;
    // By identity; CC_INVALID_INDEX when absent.
    unsigned indexOfObject(const CCObject* object) const;
    bool containsObject(const CCObject* object) const;

    // A null object is ignored and logged.
    void addObject(CCObject* object);
    void addObjectsFromArray(CCArray* other);
    // index == count() appends.
    void insertObject(CCObject* object, unsigned index);
    // The first occurrence, by identity.
    void removeObject(CCObject* object);
    void removeObjectAtIndex(unsigned index);
    void removeLastObject();
    void removeAllObjects();
    // The first occurrence of each member of other.
    void removeObjectsInArray(CCArray* other);
    void replaceObjectAtIndex(unsigned index, CCObject* object);

    // Range-for over a snapshot-free view of the live array.
    CCObject** begin() { return m_data.data(); }
    CCObject** end() { return m_data.data() + m_data.size(); }
    CCObject* const* begin() const { return m_data.data(); }
    CCObject* const* end() const { return m_data.data() + m_data.size(); }

private:
    std::vector<CCObject*> m_data;
};

// Helpers for the foreach macros: they walk by index over the live array.
inline bool ccArrayForeachNext(const CCArray* array, unsigned& index, CCObject*& out)
{
    if (!array || index >= array->count()) {
        return false;
    }
    out = *(array->begin() + index);
    return true;
}

inline bool ccArrayForeachPrev(const CCArray* array, unsigned& index, CCObject*& out)
{
    if (!array) {
        return false;
    }
    unsigned n = array->count();
    if (index > n) {
        index = n;  // members were removed behind us
    }
    if (index == 0) {
        return false;
    }
    --index;
    out = *(array->begin() + index);
    return true;
}

// __object__ must be a CCObject* variable declared by the caller.
#define CCARRAY_FOREACH(__array__, __object__)                                                                         \
    for (unsigned CC_CONCAT(ccArrayIdx_, __LINE__) = 0;                                                                \
         cocos2d::ccArrayForeachNext((__array__), CC_CONCAT(ccArrayIdx_, __LINE__), (__object__));                     \
         ++CC_CONCAT(ccArrayIdx_, __LINE__))

#define CCARRAY_FOREACH_REVERSE(__array__, __object__)                                                                 \
    for (unsigned CC_CONCAT(ccArrayIdx_, __LINE__) = UINT_MAX;                                                         \
         cocos2d::ccArrayForeachPrev((__array__), CC_CONCAT(ccArrayIdx_, __LINE__), (__object__));)

NS_CC_END
