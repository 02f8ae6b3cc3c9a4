#pragma once
#include "cocos2d/CCScene.h"

NS_CC_BEGIN

class CCLayerColor;

// A scene that carries the director from the running scene to an incoming
// one over a duration. While it runs, the outgoing scene keeps running, the
// incoming one has been entered, the director's getRunningScene() returns the
// incoming scene, and no touches are dispatched. At the end the outgoing
// scene gets onExit (and cleanup when it was replaced) and the incoming one
// onEnterTransitionDidFinish.
class CCTransitionScene : public CCScene {
public:
    ~CCTransitionScene() override;
    static CCTransitionScene* create(float duration, CCScene* scene);
    virtual bool initWithDuration(float duration, CCScene* scene);

    CCScene* getInScene() const { return m_pInScene; }
    CCScene* getOutScene() const { return m_pOutScene; }
    float getDuration() const { return m_fDuration; }
    // 0 to 1 over the duration.
    float getProgress() const;
    bool isFinished() const { return m_bFinished; }

    void onEnter() override;
    void onExit() override;
    void cleanup() override;
    void update(float dt) override;
    void visit() override;

    // Called by the director when the transition starts: the scene it leaves.
    void setOutScene(CCScene* scene);

protected:
    virtual void progressChanged(float progress) { (void)progress; }

    CCScene* m_pInScene = nullptr;
    CCScene* m_pOutScene = nullptr;
    float m_fDuration = 0.0f;
    double m_dElapsed = 0.0;
    bool m_bFinished = false;
};

// Fades the outgoing scene to a colour (black by default) during the first
// half, then the incoming scene in from it.
class CCTransitionFade : public CCTransitionScene {
public:
    CCTransitionFade();
    ~CCTransitionFade() override;
    static CCTransitionFade* create(float duration, CCScene* scene);
    static CCTransitionFade* create(float duration, CCScene* scene, const ccColor3B& color);
    bool initWithDuration(float duration, CCScene* scene) override;
    bool initWithDuration(float duration, CCScene* scene, const ccColor3B& color);

    void visit() override;
    // (ext) The overlay's current opacity.
    uint8_t getFadeOpacity() const;

protected:
    void progressChanged(float progress) override;
    CCLayerColor* m_pFadeLayer = nullptr;
};

NS_CC_END
