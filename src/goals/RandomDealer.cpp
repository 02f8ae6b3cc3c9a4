#include "goals/RandomDealer.h"

#include "base/Logger.h"
#include "platform/GameRandom.h"

USING_NS_CC;

RandomDealer* RandomDealer::create(CCArray* objects)
{
    auto* dealer = new RandomDealer();
    dealer->m_objects = objects ? objects : CCArray::create();
    dealer->m_objects->retain();
    dealer->autorelease();
    return dealer;
}

RandomDealer::~RandomDealer()
{
    CC_SAFE_RELEASE(m_objects);
}

CCObject* RandomDealer::deal()
{
    const unsigned count = m_objects->count();
    if (count == 0)
        return nullptr;
    if (m_left.empty())
        for (unsigned i = 0; i < count; ++i)
            m_left.push_back(i);
    const size_t pick = static_cast<size_t>(static_cast<unsigned>(gameRand())) % m_left.size();
    const unsigned index = m_left[pick];
    m_left.erase(m_left.begin() + static_cast<std::ptrdiff_t>(pick));
    return index < m_objects->count() ? m_objects->objectAtIndex(index) : nullptr;
}

void RandomDealer::dump() const
{
    LOG_TRACE;
    LOG << "RandomDealer:" << m_objects->count() << "objects," << m_left.size() << "left in this round";
}
