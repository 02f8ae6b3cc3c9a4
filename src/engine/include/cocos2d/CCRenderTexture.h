#pragma once
// A texture to draw nodes into, and to read back as a picture.
// Orientation: in its texture, texel row 0 is the bottom of what was drawn,
// so rectangles over it measure y from the bottom; getSprite() is flipped in
// y and shows the content upright.
#include "cocos2d/CCNode.h"
#include "cocos2d/CCTexture2D.h"

NS_CC_BEGIN

class CCImage;
class CCSprite;

class CCRenderTexture : public CCNode {
public:
    CCRenderTexture();
    ~CCRenderTexture() override;

    // Starts fully transparent.
    static CCRenderTexture* create(int width, int height);
    static CCRenderTexture* create(int width, int height, CCTexture2DPixelFormat format);
    bool initWithWidthAndHeight(int width, int height, CCTexture2DPixelFormat format);

    // Makes the texture the drawing target, without clearing it; end()
    // restores the previous target. Between them, node->visit() draws the
    // node with its own transform only: pixel (x, y) from the bottom left
    // receives point (x, y) of the node's parent space. Not nested.
    void begin();
    void end();
    void beginWithClear(float r, float g, float b, float a);
    void clear(float r, float g, float b, float a);

    CCSprite* getSprite() const { return m_pSprite; }
    CCTexture2D* getTexture() const { return m_pTexture; }

    // A new picture (count 1; the caller releases it) of width x height RGBA
    // pixels: rows top to bottom of what was drawn when flipImage is true,
    // bottom to top when false. Transparent without a renderer.
    CCImage* newCCImage(bool flipImage = true);
    // Writes newCCImage(true) to exactly this path, keeping alpha (PNG or
    // JPEG by extension).
    bool saveToFile(const char* fullPath);

private:
    bool readPixels(unsigned char* rgba);

    CCTexture2D* m_pTexture = nullptr;  // retained
    CCSprite* m_pSprite = nullptr;      // a child
    int m_nWidth = 0;
    int m_nHeight = 0;
    bool m_bDrawing = false;
    bool m_bPushed = false;  // the texture is the renderer's target now
};

NS_CC_END
