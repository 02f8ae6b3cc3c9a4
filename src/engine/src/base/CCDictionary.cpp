#include "cocos2d/CCDictionary.h"

#include <atomic>

#include "base/EngineLog.h"
#include "cocos2d/CCArray.h"
#include "cocos2d/CCString.h"
#include "files/PlistReader.h"

NS_CC_BEGIN

uint64_t CCDictionary::nextStamp()
{
    // Dictionaries are also made on loading threads.
    static std::atomic<uint64_t> last{0};
    return last.fetch_add(1, std::memory_order_relaxed) + 1;
}

CCDictionary::~CCDictionary()
{
    removeAllObjects();
}

CCDictionary* CCDictionary::create()
{
    CCDictionary* dict = new CCDictionary();
    dict->autorelease();
    return dict;
}

CCDictionary* CCDictionary::createWithContentsOfFile(const std::string& path)
{
    CCDictionary* dict = createWithContentsOfFileThreadSafe(path);
    dict->autorelease();
    return dict;
}

CCDictionary* CCDictionary::createWithContentsOfFileThreadSafe(const std::string& path)
{
    // Nothing on this path touches the autorelease pool, so it may run on a
    // background thread.
    CCObject* root = plistReadFile(path, PlistRoot::Dictionary);
    CCDictionary* dict = dynamic_cast<CCDictionary*>(root);
    if (!dict) {
        if (root) {
            root->release();
        }
        dict = new CCDictionary();
    }
    return dict;
}

CCObject* CCDictionary::objectForKey(const std::string& key) const
{
    auto it = m_index.find(key);
    return it == m_index.end() ? nullptr : it->second->m_object;
}

CCString* CCDictionary::valueForKey(const std::string& key) const
{
    CCString* value = dynamic_cast<CCString*>(objectForKey(key));
    return value ? value : CCString::create("");
}

CCArray* CCDictionary::allKeys() const
{
    CCArray* keys = CCArray::createWithCapacity(count());
    for (CCDictElement* element : m_elements) {
        CCString* key = new CCString(element->m_key);
        keys->addObject(key);
        key->release();
    }
    return keys;
}

void CCDictionary::setObject(CCObject* object, const std::string& key)
{
    if (!object) {
        engineLog("CCDictionary::setObject: null object for key \"%s\" ignored", key.c_str());
        return;
    }
    object->retain();
    m_stamp = nextStamp();
    auto it = m_index.find(key);
    if (it != m_index.end()) {
        CCObject* old = it->second->m_object;
        it->second->m_object = object;
        old->release();
        return;
    }
    CCDictElement* element = new CCDictElement(key, object);
    m_elements.push_back(element);
    m_index.emplace(key, element);
}

void CCDictionary::removeObjectForKey(const std::string& key)
{
    auto it = m_index.find(key);
    if (it == m_index.end()) {
        return;
    }
    m_stamp = nextStamp();
    CCDictElement* element = it->second;
    m_index.erase(it);
    for (size_t i = 0; i < m_elements.size(); ++i) {
        if (m_elements[i] == element) {
            m_elements.erase(m_elements.begin() + i);
            break;
        }
    }
    CCObject* object = element->m_object;
    delete element;
    object->release();
}

void CCDictionary::removeAllObjects()
{
    m_stamp = nextStamp();
    std::vector<CCDictElement*> elements;
    elements.swap(m_elements);
    m_index.clear();
    for (CCDictElement* element : elements) {
        CCObject* object = element->m_object;
        delete element;
        object->release();
    }
}

NS_CC_END
