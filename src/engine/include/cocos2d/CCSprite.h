#pragma once
// A node that shows a rectangle of a texture, tinted and faded.
// Orientation: an unflipped sprite shows the rectangle's top row (texel row
// rect.y of an ordinary texture) at its top edge; flips mirror only its own
// texture mapping, never its children or its transform.
#include <string>

#include "cocos2d/CCNode.h"
#include "cocos2d/ccTypes.h"

NS_CC_BEGIN

class CCTexture2D;
class CCSpriteFrame;

class CCSprite : public CCNode, public CCRGBAProtocol {
public:
    CCSprite();
    ~CCSprite() override;

    // No texture: draws nothing.
    static CCSprite* create();
    // Through the texture cache; null when the file is missing.
    static CCSprite* create(const char* path);
    static CCSprite* create(const char* path, const CCRect& rect);
    // The rectangle (0, 0, texture content size).
    static CCSprite* createWithTexture(CCTexture2D* texture);
    static CCSprite* createWithTexture(CCTexture2D* texture, const CCRect& rect);
    static CCSprite* createWithSpriteFrame(CCSpriteFrame* frame);
    // Null for a missing frame.
    static CCSprite* createWithSpriteFrameName(const char* name);

    bool init() override;
    virtual bool initWithTexture(CCTexture2D* texture);
    virtual bool initWithTexture(CCTexture2D* texture, const CCRect& rect);
    virtual bool initWithSpriteFrame(CCSpriteFrame* frame);
    virtual bool initWithSpriteFrameName(const char* name);
    virtual bool initWithFile(const char* path);
    virtual bool initWithFile(const char* path, const CCRect& rect);

    // Retains the new texture. A null texture draws nothing.
    virtual void setTexture(CCTexture2D* texture);
    CCTexture2D* getTexture() const { return m_pTexture; }
    // In texels; the content size becomes rect.size. 0 x 0 draws nothing.
    virtual void setTextureRect(const CCRect& rect);
    virtual void setTextureRect(const CCRect& rect, bool rotated, const CCSize& untrimmedSize);
    const CCRect& getTextureRect() const { return m_obRect; }
    virtual void setDisplayFrame(CCSpriteFrame* frame);
    bool isFrameDisplayed(CCSpriteFrame* frame) const;
    // A new frame over the texture and rectangle shown now (autoreleased).
    CCSpriteFrame* displayFrame();

    void setFlipX(bool flip) { m_bFlipX = flip; }
    void setFlipY(bool flip) { m_bFlipY = flip; }
    bool isFlipX() const { return m_bFlipX; }
    bool isFlipY() const { return m_bFlipY; }

    // A multiplying tint and an opacity; the modify-RGB flag is recorded only.
    void setColor(const ccColor3B& color) override { m_sColor = color; }
    const ccColor3B& getColor() override { return m_sColor; }
    void setOpacity(uint8_t opacity) override { m_nOpacity = opacity; }
    uint8_t getOpacity() override { return m_nOpacity; }
    void setOpacityModifyRGB(bool value) override { m_bOpacityModifyRGB = value; }
    bool isOpacityModifyRGB() override { return m_bOpacityModifyRGB; }

    void draw() override;

protected:
    CCTexture2D* m_pTexture = nullptr;  // retained
    CCRect m_obRect;
    bool m_bFlipX = false;
    bool m_bFlipY = false;
    ccColor3B m_sColor{255, 255, 255};
    uint8_t m_nOpacity = 255;
    bool m_bOpacityModifyRGB = false;
};

NS_CC_END
