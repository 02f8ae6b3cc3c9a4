#include "cocos2d/CCObject.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>

#include "base/EngineLog.h"
#include "cocos2d/CCAutoreleasePool.h"

NS_CC_BEGIN

CCObject::CCObject() : m_uReference(1), m_uAutoReleaseCount(0) { }

CCObject::CCObject(const CCObject&) : m_uReference(1), m_uAutoReleaseCount(0) { }

CCObject::~CCObject()
{
    if (m_uAutoReleaseCount > 0) {
        // Deleted while the pool still owes it releases: an over-release or
        // a direct delete of an autoreleased object. Never leave the pool a
        // dangling pointer.
        engineFault("object %p destroyed with %u pending autoreleases", (void*)this, m_uAutoReleaseCount);
        CCPoolManager::sharedPoolManager()->forgetObject(this);
    }
}

void CCObject::retain()
{
    if (m_uReference == 0) {
        engineFault("retain of a destroyed object %p", (void*)this);
        return;
    }
    ++m_uReference;
}

void CCObject::release()
{
    if (m_uReference == 0) {
        engineFault("release of an object %p whose count is already 0", (void*)this);
        return;
    }
    --m_uReference;
    if (m_uReference == 0) {
        delete this;
    }
}

CCObject* CCObject::autorelease()
{
    if (m_uAutoReleaseCount >= m_uReference) {
        // The pool would release it more often than it is held.
        engineFault("autorelease of object %p not covered by its count (%u held, %u pending)", (void*)this,
                    m_uReference, m_uAutoReleaseCount);
        return this;
    }
    CCPoolManager::sharedPoolManager()->addObject(this);
    return this;
}

bool CCObject::isEqual(const CCObject* object)
{
    return this == object;
}

CCPoolManager* CCPoolManager::sharedPoolManager()
{
    // Heap object, never destroyed: usable from static initialisers and
    // during static destruction alike.
    static CCPoolManager* instance = new CCPoolManager();
    return instance;
}

namespace {

// On Linux the main thread's id equals the process id; this needs no
// initialisation, so it holds before main too. Asked once per thread, not
// on every autorelease.
bool onMainThread()
{
    thread_local const bool isMain = ::syscall(SYS_gettid) == ::getpid();
    return isMain;
}

}  // namespace

void CCPoolManager::addObject(CCObject* object)
{
    if (!object) {
        return;
    }
    if (!onMainThread()) {
        // The pool is not locked: another thread must own its objects
        // explicitly (retain/release), never autorelease them.
        engineFault("autorelease of object %p outside the main thread", (void*)object);
        return;
    }
    ++object->m_uAutoReleaseCount;
    m_objects.push_back(object);
}

void CCPoolManager::drain()
{
    if (m_draining) {
        return;  // a release inside the drain asked again; the loop below covers it
    }
    m_draining = true;
    // By index: releases may autorelease more objects, which land at the end
    // and are performed in this same drain.
    for (size_t i = 0; i < m_objects.size(); ++i) {
        CCObject* object = m_objects[i];
        if (!object) {
            continue;
        }
        m_objects[i] = nullptr;
        --object->m_uAutoReleaseCount;
        object->release();
    }
    m_objects.clear();
    if (m_objects.capacity() > kKeptRoom) {
        std::vector<CCObject*> room;
        room.reserve(kKeptRoom);
        m_objects.swap(room);
    }
    m_draining = false;
}

void CCPoolManager::forgetObject(CCObject* object)
{
    if (m_draining) {
        std::replace(m_objects.begin(), m_objects.end(), object, static_cast<CCObject*>(nullptr));
    } else {
        m_objects.erase(std::remove(m_objects.begin(), m_objects.end(), object), m_objects.end());
    }
    object->m_uAutoReleaseCount = 0;
}

NS_CC_END
