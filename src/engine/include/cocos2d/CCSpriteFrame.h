#pragma once
// A rectangle of a texture, by name in the frame cache. Frames are never
// rotated or trimmed, so the original size is the rectangle's size.
#include "cocos2d/CCGeometry.h"
#include "cocos2d/CCObject.h"

NS_CC_BEGIN

class CCTexture2D;

class CCSpriteFrame : public CCObject {
public:
    ~CCSpriteFrame() override;
    // rect in texels from the texture's top left (from its bottom for a
    // render texture's texture). Retains the texture.
    static CCSpriteFrame* create(CCTexture2D* texture, const CCRect& rect);
    static CCSpriteFrame* createWithTexture(CCTexture2D* texture, const CCRect& rect) { return create(texture, rect); }
    bool initWithTexture(CCTexture2D* texture, const CCRect& rect);

    CCTexture2D* getTexture() const { return m_pTexture; }
    const CCRect& getRect() const { return m_obRect; }
    const CCRect& getRectInPixels() const { return m_obRect; }
    const CCSize& getOriginalSize() const { return m_obRect.size; }
    const CCSize& getOriginalSizeInPixels() const { return m_obRect.size; }
    bool isRotated() const { return false; }

private:
    CCTexture2D* m_pTexture = nullptr;
    CCRect m_obRect;
};

NS_CC_END
