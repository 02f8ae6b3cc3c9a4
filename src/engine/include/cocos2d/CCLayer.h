#pragma once
#include "cocos2d/CCKeypadDelegate.h"
#include "cocos2d/CCNode.h"
#include "cocos2d/CCTouchDelegate.h"

NS_CC_BEGIN

// A window-sized node that can take touches and keys. While running and
// enabled it is registered with the touch dispatcher (through
// registerWithTouchDispatcher) and the keypad dispatcher; onExit removes
// both registrations.
class CCLayer : public CCNode, public CCTouchDelegate, public CCKeypadDelegate {
public:
    CCLayer();
    ~CCLayer() override;

    static CCLayer* create();
    bool init() override;

    void onEnter() override;
    void onExit() override;

    // The default registers a standard delegate with priority 0.
    virtual void registerWithTouchDispatcher();

    // Take effect at once on a running layer.
    virtual void setTouchEnabled(bool enabled);
    bool isTouchEnabled() const { return m_bTouchEnabled; }
    virtual void setKeypadEnabled(bool enabled);
    bool isKeypadEnabled() const { return m_bKeypadEnabled; }

protected:
    bool m_bTouchEnabled = false;
    bool m_bKeypadEnabled = false;
};

// A layer filled with one colour at one opacity (alpha-blended). The target
// of fades.
class CCLayerColor : public CCLayer, public CCRGBAProtocol {
public:
    CCLayerColor();

    static CCLayerColor* create();
    static CCLayerColor* create(const ccColor4B& color);
    static CCLayerColor* create(const ccColor4B& color, float width, float height);
    bool init() override;
    // Window-sized.
    virtual bool initWithColor(const ccColor4B& color);
    virtual bool initWithColor(const ccColor4B& color, float width, float height);

    void setColor(const ccColor3B& color) override { m_tColor = color; }
    const ccColor3B& getColor() override { return m_tColor; }
    void setOpacity(uint8_t opacity) override { m_cOpacity = opacity; }
    uint8_t getOpacity() override { return m_cOpacity; }
    void setOpacityModifyRGB(bool value) override { m_bOpacityModifyRGB = value; }
    bool isOpacityModifyRGB() override { return m_bOpacityModifyRGB; }

    void draw() override;

protected:
    ccColor3B m_tColor{0, 0, 0};
    uint8_t m_cOpacity = 0;
    bool m_bOpacityModifyRGB = false;
};

NS_CC_END
