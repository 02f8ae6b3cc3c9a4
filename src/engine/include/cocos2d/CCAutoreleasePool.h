#pragma once
#include <cstddef>
#include <vector>

#include "cocos2d/CCObject.h"

NS_CC_BEGIN

// The single autorelease pool. Created on first use (safe before main) and
// never destroyed. The director drains it at the end of every frame; tests
// call drain() themselves. Between frames it keeps room for kKeptRoom
// pending releases at most: a frame that needed more (clouds merging, a big
// vehicle rebuilt) gives the rest back when it is drained, rather than hold
// it for the rest of the run.
class CCPoolManager {
public:
    static constexpr std::size_t kKeptRoom = 16384;
    static CCPoolManager* sharedPoolManager();

    // Adds one pending release for the object.
    void addObject(CCObject* object);
    // Performs every pending release now, in the order they were added.
    // Releases added while draining are performed too.
    void drain();
    // Pending releases not yet performed.
    unsigned pendingCount() const { return (unsigned)m_objects.size(); }
    // Pending releases the pool holds room for.
    std::size_t room() const { return m_objects.capacity(); }

    // Forgets every pending release of an object deleted directly.
    void forgetObject(CCObject* object);

private:
    CCPoolManager() = default;
    std::vector<CCObject*> m_objects;
    bool m_draining = false;
};

NS_CC_END
