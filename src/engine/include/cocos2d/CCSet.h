#pragma once
#include <vector>

#include "cocos2d/CCObject.h"

NS_CC_BEGIN

typedef std::vector<CCObject*>::iterator CCSetIterator;
typedef std::vector<CCObject*>::const_iterator CCSetConstIterator;

// A set of objects by identity that iterates in insertion order. It retains
// its members.
class CCSet : public CCObject {
public:
    CCSet() = default;
    // A copy retains the same members (the touch dispatcher hands out copies).
    CCSet(const CCSet& other);
    CCSet& operator=(const CCSet&) = delete;
    ~CCSet() override;

    static CCSet* create();

    // Retains; a member already present is ignored. A null is ignored.
    void addObject(CCObject* object);
    // Releases; an absent object is ignored.
    void removeObject(CCObject* object);
    void removeAllObjects();
    bool containsObject(const CCObject* object) const;
    unsigned count() const { return (unsigned)m_objects.size(); }
    // The first in insertion order; null when empty.
    CCObject* anyObject() const { return m_objects.empty() ? nullptr : m_objects.front(); }

    CCSetIterator begin() { return m_objects.begin(); }
    CCSetIterator end() { return m_objects.end(); }
    CCSetConstIterator begin() const { return m_objects.begin(); }
    CCSetConstIterator end() const { return m_objects.end(); }

private:
    std::vector<CCObject*> m_objects;
};

NS_CC_END
