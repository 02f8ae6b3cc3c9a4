#pragma once
// A picture on the renderer. It keeps no CPU copy of its pixels; without a
// renderer (headless mode) it carries only its size.
#include "cocos2d/CCGeometry.h"
#include "cocos2d/CCObject.h"

NS_CC_BEGIN

class CCImage;

// The numeric values are the game's.
typedef enum {
    kCCTexture2DPixelFormat_RGBA8888 = 0,
    kCCTexture2DPixelFormat_RGB888 = 1,
    kCCTexture2DPixelFormat_RGB565 = 2,
    kCCTexture2DPixelFormat_A8 = 3,
    kCCTexture2DPixelFormat_I8 = 4,
    kCCTexture2DPixelFormat_AI88 = 5,
    kCCTexture2DPixelFormat_RGBA4444 = 6,
    kCCTexture2DPixelFormat_RGB5A1 = 7,
    kCCTexture2DPixelFormat_Default = kCCTexture2DPixelFormat_RGBA8888,
} CCTexture2DPixelFormat;

class CCTexture2D : public CCObject {
public:
    CCTexture2D();
    ~CCTexture2D() override;

    // Creates the texture with these dimensions and uploads the data (null
    // gives zeros). 16-bit pixels are little-endian. maxS/maxT become
    // content size / pixel size; no premultiplied alpha.
    bool initWithData(const void* data, CCTexture2DPixelFormat pixelFormat, unsigned int pixelsWide,
                      unsigned int pixelsHigh, const CCSize& contentSize);
    // (ext) Re-uploads a whole buffer of pixelsWide x pixelsHigh pixels in the
    // texture's format. Does nothing without a renderer.
    void updateData(const void* data);
    bool initWithImage(CCImage* image);
    // (ext) A texture of this size with no pixels behind it (tests).
    bool initWithSizeOnly(unsigned int pixelsWide, unsigned int pixelsHigh);

    const CCSize& getContentSize() const { return m_tContentSize; }
    const CCSize& getContentSizeInPixels() const { return m_tContentSize; }
    unsigned int getPixelsWide() const { return m_uPixelsWide; }
    unsigned int getPixelsHigh() const { return m_uPixelsHigh; }
    float getMaxS() const { return m_fMaxS; }
    float getMaxT() const { return m_fMaxT; }
    void setMaxS(float s) { m_fMaxS = s; }
    void setMaxT(float t) { m_fMaxT = t; }
    CCTexture2DPixelFormat getPixelFormat() const { return m_ePixelFormat; }
    bool hasPremultipliedAlpha() const { return m_bHasPremultipliedAlpha; }
    // A non-zero id, for identity only.
    unsigned int getName() const { return m_uName; }

    // Nearest sampling.
    void setAliasTexParameters();
    // Linear sampling (the default).
    void setAntiAliasTexParameters();
    bool isAliased() const { return m_bAliased; }

    static void setDefaultAlphaPixelFormat(CCTexture2DPixelFormat format);
    static CCTexture2DPixelFormat defaultAlphaPixelFormat();
    // Recorded; reported by textures loaded under a ".pvr.ccz" name.
    static void PVRImagesHavePremultipliedAlpha(bool haveAlphaPremultiplied);
    static bool PVRImagesHavePremultipliedAlphaFlag();

    // (ext) Layer internals: the renderer's texture behind this one, or null.
    void* nativeHandle() const { return m_pNative; }
    // (ext) Layer internals: row 0 of a render texture is the bottom.
    bool isBottomUp() const { return m_bBottomUp; }
    // (ext) Layer internals: becomes a drawing target of this size (render textures).
    bool initAsRenderTarget(unsigned int pixelsWide, unsigned int pixelsHigh);
    // (ext) Layer internals: records the premultiplied flag of a loaded file.
    void setHasPremultipliedAlpha(bool flag) { m_bHasPremultipliedAlpha = flag; }

protected:
    // The game's writable texture sets these itself.
    CCTexture2DPixelFormat m_ePixelFormat = kCCTexture2DPixelFormat_Default;
    unsigned int m_uPixelsWide = 0;
    unsigned int m_uPixelsHigh = 0;
    unsigned int m_uName = 0;
    float m_fMaxS = 0;
    float m_fMaxT = 0;
    CCSize m_tContentSize;
    bool m_bHasPremultipliedAlpha = false;

private:
    // Format, sizes, maxS/maxT = content / pixels, no premultiplied alpha,
    // rows top first.
    void setGeometry(CCTexture2DPixelFormat format, unsigned int pixelsWide, unsigned int pixelsHigh,
                     const CCSize& contentSize);
    void releaseNative();
    bool createNative(int access);

    void* m_pNative = nullptr;
    bool m_bAliased = false;
    bool m_bBottomUp = false;
};

NS_CC_END
