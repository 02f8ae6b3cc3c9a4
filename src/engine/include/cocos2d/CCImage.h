#pragma once
// A decoded picture in main memory: 8 bits per component, straight alpha,
// rows top first, tightly packed; 4 bytes per pixel with alpha, 3 without.
#include <string>

#include "cocos2d/CCObject.h"

NS_CC_BEGIN

class CCImage : public CCObject {
public:
    enum EImageFormat {
        kFmtJpg = 0,
        kFmtPng,
        kFmtRawData,
        kFmtUnKnown,
    };

    CCImage();
    ~CCImage() override;

    // Resolves the path through CCFileUtils (absolute paths pass through) and
    // decodes by content (PNG or JPEG); the format argument is a hint only.
    // False, with a log line and no pixels, when the file is missing or not a
    // picture. RGBA, grey-alpha and palette pictures with transparency give 4
    // bytes per pixel and hasAlpha(); the others 3 bytes.
    bool initWithImageFile(const char* path, EImageFormat format = kFmtPng);
    // Decodes an encoded picture held in memory (kFmtPng, kFmtJpg or
    // kFmtUnKnown), or takes raw pixels (kFmtRawData: width x height pixels of
    // 4 bytes, straight alpha, rows top first).
    bool initWithImageData(const void* data, int dataLen, EImageFormat format = kFmtUnKnown, int width = 0,
                           int height = 0, int bitsPerComponent = 8);
    // (ext) Raw pixels, 4 bytes a pixel with alpha or 3 without, rows top first.
    bool initWithRawPixels(const unsigned char* pixels, int width, int height, bool hasAlpha);

    unsigned char* getData() { return m_pData; }
    int getDataLen() const { return m_nDataLen; }
    bool hasAlpha() const { return m_bHasAlpha; }
    bool isPremultipliedAlpha() const { return false; }
    unsigned short getWidth() const { return m_nWidth; }
    unsigned short getHeight() const { return m_nHeight; }
    int getBitsPerComponent() const { return 8; }
    int getBytesPerPixel() const { return m_bHasAlpha ? 4 : 3; }

    // Writes exactly the given path: ".png" gives PNG, ".jpg"/".jpeg" JPEG at
    // quality 90 (case-insensitive). toRGB drops the alpha channel. False on
    // failure, for an image without pixels, or for any other extension; when
    // the file could not be written, errno then says why.
    bool saveToFile(const char* path, bool toRGB = true);

private:
    void clear();
    bool decode(const void* data, int dataLen, const std::string& what);

    unsigned char* m_pData = nullptr;
    int m_nDataLen = 0;
    unsigned short m_nWidth = 0;
    unsigned short m_nHeight = 0;
    bool m_bHasAlpha = false;
};

NS_CC_END
