#include "cocos2d/CCArray.h"

#include <cstdarg>

#include "base/EngineLog.h"
#include "files/PlistReader.h"

NS_CC_BEGIN

CCArray::~CCArray()
{
    std::vector<CCObject*> members;
    members.swap(m_data);
    for (CCObject* object : members) {
        object->release();
    }
}

CCArray* CCArray::create()
{
    CCArray* array = new CCArray();
    array->autorelease();
    return array;
}

CCArray* CCArray::create(CCObject* object, ...)
{
    CCArray* array = create();
    if (object) {
        array->addObject(object);
        va_list args;
        va_start(args, object);
        for (CCObject* next = va_arg(args, CCObject*); next; next = va_arg(args, CCObject*)) {
            array->addObject(next);
        }
        va_end(args);
    }
    return array;
}

CCArray* CCArray::createWithObject(CCObject* object)
{
    CCArray* array = create();
    array->addObject(object);
    return array;
}

CCArray* CCArray::createWithCapacity(unsigned capacity)
{
    CCArray* array = create();
    array->initWithCapacity(capacity);
    return array;
}

CCArray* CCArray::createWithContentsOfFile(const std::string& path)
{
    CCObject* root = plistReadFile(path, PlistRoot::Array);
    CCArray* array = dynamic_cast<CCArray*>(root);
    if (!array) {
        if (root) {
            root->release();
        }
        array = new CCArray();
    }
    array->autorelease();
    return array;
}

bool CCArray::initWithCapacity(unsigned capacity)
{
    // The hint is bounded so a wild value cannot exhaust memory up front.
    m_data.reserve(capacity < 65536 ? capacity : 65536);
    return true;
}

CCObject* CCArray::objectAtIndex(unsigned index) const
{
    if (index >= m_data.size()) {
        engineLog("CCArray::objectAtIndex: index %u out of range (count %u)", index, count());
        return nullptr;
    }
    return m_data[index];
}

CCObject* CCArray::lastObject() const
{
    return m_data.empty() ? nullptr : m_data.back();
}

unsigned CCArray::indexOfObject(const CCObject* object) const
{
    for (size_t i = 0; i < m_data.size(); ++i) {
        if (m_data[i] == object) {
            return (unsigned)i;
        }
    }
    return CC_INVALID_INDEX;
}

bool CCArray::containsObject(const CCObject* object) const
{
    return indexOfObject(object) != CC_INVALID_INDEX;
}

void CCArray::addObject(CCObject* object)
{
    if (!object) {
        engineLog("CCArray::addObject: null object ignored");
        return;
    }
    object->retain();
    m_data.push_back(object);
}

void CCArray::addObjectsFromArray(CCArray* other)
{
    if (!other) {
        return;
    }
    std::vector<CCObject*> members(other->begin(), other->end());
    for (CCObject* object : members) {
        addObject(object);
    }
}

void CCArray::insertObject(CCObject* object, unsigned index)
{
    if (!object) {
        engineLog("CCArray::insertObject: null object ignored");
        return;
    }
    if (index > m_data.size()) {
        engineLog("CCArray::insertObject: index %u past the end (count %u), appended", index, count());
        index = count();
    }
    object->retain();
    m_data.insert(m_data.begin() + index, object);
}

void CCArray::removeObject(CCObject* object)
{
    unsigned index = indexOfObject(object);
    if (index != CC_INVALID_INDEX) {
        removeObjectAtIndex(index);
    }
}

void CCArray::removeObjectAtIndex(unsigned index)
{
    if (index >= m_data.size()) {
        engineLog("CCArray::removeObjectAtIndex: index %u out of range (count %u)", index, count());
        return;
    }
    CCObject* object = m_data[index];
    // Unlink first: the release may delete the object, and its destructor
    // may look at this array.
    m_data.erase(m_data.begin() + index);
    object->release();
}

void CCArray::removeLastObject()
{
    if (!m_data.empty()) {
        removeObjectAtIndex(count() - 1);
    }
}

void CCArray::removeAllObjects()
{
    std::vector<CCObject*> members;
    members.swap(m_data);
    for (CCObject* object : members) {
        object->release();
    }
}

void CCArray::removeObjectsInArray(CCArray* other)
{
    if (!other) {
        return;
    }
    // A snapshot: other may be this array.
    std::vector<CCObject*> members(other->begin(), other->end());
    for (CCObject* object : members) {
        removeObject(object);
    }
}

void CCArray::replaceObjectAtIndex(unsigned index, CCObject* object)
{
    if (!object) {
        engineLog("CCArray::replaceObjectAtIndex: null object ignored");
        return;
    }
    if (index >= m_data.size()) {
        engineLog("CCArray::replaceObjectAtIndex: index %u out of range (count %u)", index, count());
        return;
    }
    object->retain();
    CCObject* old = m_data[index];
    m_data[index] = object;
    old->release();
}

NS_CC_END
