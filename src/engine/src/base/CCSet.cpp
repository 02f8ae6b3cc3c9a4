#include "cocos2d/CCSet.h"

#include <algorithm>

NS_CC_BEGIN

CCSet::CCSet(const CCSet& other) : CCObject(other), m_objects(other.m_objects)
{
    for (CCObject* object : m_objects) {
        object->retain();
    }
}

CCSet::~CCSet()
{
    removeAllObjects();
}

CCSet* CCSet::create()
{
    CCSet* set = new CCSet();
    set->autorelease();
    return set;
}

void CCSet::addObject(CCObject* object)
{
    if (!object || containsObject(object)) {
        return;
    }
    object->retain();
    m_objects.push_back(object);
}

void CCSet::removeObject(CCObject* object)
{
    auto it = std::find(m_objects.begin(), m_objects.end(), object);
    if (it == m_objects.end()) {
        return;
    }
    m_objects.erase(it);
    object->release();
}

void CCSet::removeAllObjects()
{
    std::vector<CCObject*> members;
    members.swap(m_objects);
    for (CCObject* object : members) {
        object->release();
    }
}

bool CCSet::containsObject(const CCObject* object) const
{
    return std::find(m_objects.begin(), m_objects.end(), object) != m_objects.end();
}

NS_CC_END
