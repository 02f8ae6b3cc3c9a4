#include "cocos2d/CCAnimation.h"

#include <cmath>

#include "base/EngineLog.h"
#include "cocos2d/CCNode.h"

#include "cocos2d/CCSprite.h"
#include "cocos2d/CCSpriteFrame.h"

NS_CC_BEGIN

CCAnimation::~CCAnimation()
{
    CC_SAFE_RELEASE(m_pFrames);
}

CCAnimation* CCAnimation::create()
{
    return createWithSpriteFrames(nullptr, 0.0f);
}

CCAnimation* CCAnimation::createWithSpriteFrames(CCArray* frames, float delay)
{
    CCAnimation* a = new CCAnimation();
    a->m_pFrames = new CCArray();
    if (frames) {
        a->m_pFrames->addObjectsFromArray(frames);
    }
    a->m_fDelayPerUnit = delay > 0.0f ? delay : 0.0f;
    a->autorelease();
    return a;
}

void CCAnimation::addSpriteFrame(CCSpriteFrame* frame)
{
    m_pFrames->addObject(frame);
}

float CCAnimation::getDuration() const
{
    return m_pFrames->count() * m_fDelayPerUnit;
}

CCAnimate::~CCAnimate()
{
    CC_SAFE_RELEASE(m_pAnimation);
}

CCAnimate* CCAnimate::create(CCAnimation* animation)
{
    if (!animation) {
        engineLog("CCAnimate::create: null animation");
        return nullptr;
    }
    CCAnimate* a = new CCAnimate();
    a->initWithDuration(animation->getDuration());
    animation->retain();
    a->m_pAnimation = animation;
    a->autorelease();
    return a;
}

void CCAnimate::startWithTarget(CCNode* target)
{
    CCActionInterval::startWithTarget(target);
    m_nShownFrame = -1;
}

void CCAnimate::update(float t)
{
    CCArray* frames = m_pAnimation->getFrames();
    int count = static_cast<int>(frames->count());
    if (count == 0 || !m_pTarget) {
        return;
    }
    // Frame i from i x delay on; the small bias keeps 0.2 x 3 from landing
    // just below frame 3.
    int index = static_cast<int>(std::floor(static_cast<double>(t) * count + 1e-4));
    index = index < 0 ? 0 : (index >= count ? count - 1 : index);
    if (index != m_nShownFrame) {
        m_nShownFrame = index;
        showFrame(frames->objectAtIndex(static_cast<unsigned>(index)));
    }
}

void CCAnimate::showFrame(CCObject* frame)
{
    auto* sprite = dynamic_cast<CCSprite*>(m_pTarget);
    auto* spriteFrame = dynamic_cast<CCSpriteFrame*>(frame);
    if (sprite && spriteFrame) {
        sprite->setDisplayFrame(spriteFrame);
    } else if (!sprite) {
        engineLog("CCAnimate: the target is not a sprite; no frame is shown");
    }
}

NS_CC_END
