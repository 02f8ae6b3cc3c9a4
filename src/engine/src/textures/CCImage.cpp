#include "cocos2d/CCImage.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <vector>

#include "base/EngineLog.h"
#include "cocos2d/CCFileUtils.h"

NS_CC_BEGIN

namespace {

void startImageCodecs()
{
    static bool started = false;
    if (!started) {
        started = true;
        IMG_Init(IMG_INIT_PNG | IMG_INIT_JPG);
    }
}

// The encoded image is kept in memory and written to its file in one
// checked step: the codecs write through stdio and never look at the
// closing of the file, where a full disk shows.
size_t SDLCALL appendToBytes(SDL_RWops* out, const void* data, size_t size, size_t count)
{
    auto* bytes = static_cast<std::vector<unsigned char>*>(out->hidden.unknown.data1);
    const auto* from = static_cast<const unsigned char*>(data);
    bytes->insert(bytes->end(), from, from + size * count);
    return count;
}

Sint64 SDLCALL bytesSize(SDL_RWops* out)
{
    return static_cast<Sint64>(static_cast<std::vector<unsigned char>*>(out->hidden.unknown.data1)->size());
}

Sint64 SDLCALL bytesSeek(SDL_RWops* out, Sint64 offset, int whence)
{
    // Only asked where it stands: the encoders write straight through.
    return whence == RW_SEEK_CUR && offset == 0 ? bytesSize(out) : -1;
}

int SDLCALL closeBytes(SDL_RWops* out)
{
    SDL_FreeRW(out);
    return 0;
}

SDL_RWops* writerInto(std::vector<unsigned char>& bytes)
{
    SDL_RWops* out = SDL_AllocRW();
    if (!out)
        return nullptr;
    out->type = SDL_RWOPS_UNKNOWN;
    out->size = bytesSize;
    out->seek = bytesSeek;
    out->read = nullptr;
    out->write = appendToBytes;
    out->close = closeBytes;
    out->hidden.unknown.data1 = &bytes;
    return out;
}

// The whole file or none: a failed write leaves no file behind.
bool writeWholeFile(const char* path, const std::vector<unsigned char>& bytes)
{
    FILE* file = std::fopen(path, "wb");
    if (!file) {
        const int failure = errno;
        engineLog("CCImage: cannot save %s: %s", path, std::strerror(failure));
        errno = failure;
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    int failure = ok ? 0 : errno;
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        failure = errno;
    }
    if (!ok) {
        engineLog("CCImage: cannot save %s: %s", path, std::strerror(failure));
        std::remove(path);
        errno = failure;  // the caller may tell why
    }
    return ok;
}

std::string lowerExtension(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return "";
    std::string ext = path.substr(dot);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return (char)std::tolower(c); });
    return ext;
}

}  // namespace

CCImage::CCImage() = default;

CCImage::~CCImage()
{
    clear();
}

void CCImage::clear()
{
    delete[] m_pData;
    m_pData = nullptr;
    m_nDataLen = 0;
    m_nWidth = 0;
    m_nHeight = 0;
    m_bHasAlpha = false;
}

bool CCImage::initWithImageFile(const char* path, EImageFormat)
{
    clear();
    if (!path || !*path) {
        engineLog("CCImage: no file name");
        return false;
    }
    unsigned long size = 0;
    unsigned char* bytes = CCFileUtils::sharedFileUtils()->getFileData(path, "rb", &size);
    if (!bytes)
        return false;  // getFileData has logged
    bool ok = decode(bytes, static_cast<int>(size), path);
    delete[] bytes;
    return ok;
}

bool CCImage::initWithImageData(const void* data, int dataLen, EImageFormat format, int width, int height, int)
{
    clear();
    if (format == kFmtRawData) {
        if (!data || width <= 0 || height <= 0 || (long long)width * height * 4 > dataLen) {
            engineLog("CCImage: raw pixel data of the wrong size");
            return false;
        }
        return initWithRawPixels(static_cast<const unsigned char*>(data), width, height, true);
    }
    if (!data || dataLen <= 0) {
        engineLog("CCImage: no picture data");
        return false;
    }
    return decode(data, dataLen, "picture data");
}

bool CCImage::initWithRawPixels(const unsigned char* pixels, int width, int height, bool hasAlpha)
{
    clear();
    const int bpp = hasAlpha ? 4 : 3;
    if (width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF || (long long)width * height * bpp > INT_MAX) {
        engineLog("CCImage: a %d x %d picture cannot be held", width, height);
        return false;
    }
    m_nDataLen = width * height * bpp;
    m_pData = new unsigned char[m_nDataLen];
    if (pixels)
        std::memcpy(m_pData, pixels, m_nDataLen);
    else
        std::memset(m_pData, 0, m_nDataLen);
    m_nWidth = static_cast<unsigned short>(width);
    m_nHeight = static_cast<unsigned short>(height);
    m_bHasAlpha = hasAlpha;
    return true;
}

bool CCImage::decode(const void* data, int dataLen, const std::string& what)
{
    startImageCodecs();
    SDL_RWops* rw = SDL_RWFromConstMem(data, dataLen);
    SDL_Surface* loaded = rw ? IMG_Load_RW(rw, 1) : nullptr;
    if (!loaded) {
        engineLog("CCImage: cannot decode %s: %s", what.c_str(), IMG_GetError());
        return false;
    }
    // Transparency may come as an alpha channel or as a palette colour key.
    const bool alpha = loaded->format->Amask != 0 || SDL_HasColorKey(loaded) ||
        (loaded->format->palette &&
         std::any_of(loaded->format->palette->colors,
                     loaded->format->palette->colors + loaded->format->palette->ncolors,
                     [](const SDL_Color& c) { return c.a != 255; }));
    SDL_Surface* converted =
        SDL_ConvertSurfaceFormat(loaded, alpha ? SDL_PIXELFORMAT_RGBA32 : SDL_PIXELFORMAT_RGB24, 0);
    SDL_FreeSurface(loaded);
    if (!converted) {
        engineLog("CCImage: cannot convert %s: %s", what.c_str(), SDL_GetError());
        return false;
    }
    bool ok = false;
    if (converted->w > 0xFFFF || converted->h > 0xFFFF || (long long)converted->w * converted->h * 4 > INT_MAX) {
        engineLog("CCImage: %s is too large", what.c_str());
    } else if (SDL_LockSurface(converted) == 0) {
        const int bpp = alpha ? 4 : 3;
        const int row = converted->w * bpp;
        m_nDataLen = row * converted->h;
        m_pData = new unsigned char[m_nDataLen];
        for (int y = 0; y < converted->h; ++y)
            std::memcpy(m_pData + y * row, static_cast<unsigned char*>(converted->pixels) + y * converted->pitch, row);
        SDL_UnlockSurface(converted);
        m_nWidth = static_cast<unsigned short>(converted->w);
        m_nHeight = static_cast<unsigned short>(converted->h);
        m_bHasAlpha = alpha;
        ok = true;
    }
    SDL_FreeSurface(converted);
    return ok;
}

bool CCImage::saveToFile(const char* path, bool toRGB)
{
    if (!path || !*path || !m_pData) {
        engineLog("CCImage: nothing to save%s%s", path ? " to " : "", path ? path : "");
        return false;
    }
    const std::string ext = lowerExtension(path);
    const bool png = ext == ".png";
    const bool jpeg = ext == ".jpg" || ext == ".jpeg";
    if (!png && !jpeg) {
        engineLog("CCImage: cannot save %s: only .png, .jpg and .jpeg are written", path);
        return false;
    }
    startImageCodecs();
    const bool keepAlpha = m_bHasAlpha && !toRGB && png;
    const int outBpp = keepAlpha ? 4 : 3;
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, m_nWidth, m_nHeight, outBpp * 8,
                                                    keepAlpha ? SDL_PIXELFORMAT_RGBA32 : SDL_PIXELFORMAT_RGB24);
    if (!s) {
        engineLog("CCImage: cannot save %s: %s", path, SDL_GetError());
        return false;
    }
    const int inBpp = getBytesPerPixel();
    SDL_LockSurface(s);
    for (int y = 0; y < m_nHeight; ++y) {
        unsigned char* out = static_cast<unsigned char*>(s->pixels) + y * s->pitch;
        const unsigned char* in = m_pData + y * m_nWidth * inBpp;
        for (int x = 0; x < m_nWidth; ++x)
            std::memcpy(out + x * outBpp, in + x * inBpp, outBpp);
    }
    SDL_UnlockSurface(s);
    std::vector<unsigned char> encoded;
    SDL_RWops* out = writerInto(encoded);
    int rc = !out ? -1 : png ? IMG_SavePNG_RW(s, out, 1) : IMG_SaveJPG_RW(s, out, 1, 90);
    SDL_FreeSurface(s);
    if (rc != 0 || encoded.empty()) {
        engineLog("CCImage: cannot save %s: %s", path, IMG_GetError());
        return false;
    }
    return writeWholeFile(path, encoded);
}

NS_CC_END
