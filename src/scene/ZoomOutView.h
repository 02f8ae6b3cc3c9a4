#pragma once
// ZoomOutView: the overview panel shown while the view is magnified: the
// whole world texture at a small scale in the lower right corner of the
// visible area, with a magenta frame that marks the part on screen.
#include "cocos2d.h"

class CCMutableTexture2D;

class ZoomOutView : public cocos2d::CCLayerColor {
public:
    ZoomOutView() = default;
    ~ZoomOutView() override;

    // Builds the panel over the world texture; a second call replaces the
    // frame texture and releases the first.
    void setup(cocos2d::CCTexture2D* worldTexture);
    // A one-texel magenta outline around the frame texture.
    void redrawFrame();
    virtual cocos2d::CCSize getFrameSize() { return m_frameSize; }

    // The marker the game layer moves over the overview (null before setup).
    cocos2d::CCSprite* getFrameSprite() const { return m_frameSprite; }
    cocos2d::CCSprite* getWorldSprite() const { return m_worldSprite; }
    CCMutableTexture2D* getFrameTexture() const { return m_frameTexture; }

private:
    cocos2d::CCSize m_frameSize;
    cocos2d::CCSprite* m_worldSprite = nullptr;
    CCMutableTexture2D* m_frameTexture = nullptr;  // retained
    cocos2d::CCSprite* m_frameSprite = nullptr;    // retained
};
