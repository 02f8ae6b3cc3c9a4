#pragma once
#include "cocos2d/CCActionInterval.h"
#include "cocos2d/CCArray.h"

NS_CC_BEGIN

class CCSpriteFrame;

// A list of sprite frames shown delay seconds each. Retains the frames.
class CCAnimation : public CCObject {
public:
    ~CCAnimation() override;
    static CCAnimation* create();
    // frames holds CCSpriteFrame objects.
    static CCAnimation* createWithSpriteFrames(CCArray* frames, float delay = 0.0f);

    void addSpriteFrame(CCSpriteFrame* frame);
    CCArray* getFrames() const { return m_pFrames; }
    float getDelayPerUnit() const { return m_fDelayPerUnit; }
    void setDelayPerUnit(float delay) { m_fDelayPerUnit = delay; }
    // frames x delay.
    float getDuration() const;

private:
    CCArray* m_pFrames = nullptr;
    float m_fDelayPerUnit = 0.0f;
};

// Shows frame i of the animation from i x delay on, through the target
// sprite's setDisplayFrame. When stopped, the last frame shown stays.
class CCAnimate : public CCActionInterval {
public:
    ~CCAnimate() override;
    static CCAnimate* create(CCAnimation* animation);

    void startWithTarget(CCNode* target) override;
    void update(float t) override;
    CCAnimation* getAnimation() const { return m_pAnimation; }
    // (ext) The frame index shown last, -1 before the first.
    int getShownFrameIndex() const { return m_nShownFrame; }

private:
    void showFrame(CCObject* frame);
    CCAnimation* m_pAnimation = nullptr;
    int m_nShownFrame = -1;
};

NS_CC_END
