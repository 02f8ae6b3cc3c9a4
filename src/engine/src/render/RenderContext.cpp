#include "render/RenderContext.h"

#include <vector>

#include "base/EngineLog.h"
#include "cocos2d/CCImage.h"

namespace cocos2d {
namespace render {

namespace {

struct SavedTarget {
    SDL_Texture* texture;
    int width, height;
    SDL_Rect viewport;
    float scaleX, scaleY;
    bool clipOn;
    SDL_Rect clip;
};

struct Context {
    SDL_Renderer* renderer = nullptr;
    SDL_Surface* surface = nullptr;  // software mode: the offscreen frame
    bool ownsRenderer = false;
    bool canTarget = false;
    bool softwareDraw = false;       // SDL's software renderer, offscreen or in a window
    SDL_Texture* scratch = nullptr;  // large scaled pictures are stretched here first
    int scratchWidth = 0;
    int scratchHeight = 0;
    int frameWidth = 800;
    int frameHeight = 600;
    SDL_Texture* target = nullptr;
    int targetWidth = 800;
    int targetHeight = 600;
    bool clipOn = false;
    SDL_Rect clip{0, 0, 0, 0};
    std::vector<SavedTarget> saved;
    bool warnedNoTarget = false;
};

Context& ctx()
{
    static Context* c = new Context();  // never destroyed: the layer's singletons live for the run
    return *c;
}

}  // namespace

SDL_Renderer* renderer()
{
    return ctx().renderer;
}
bool canRenderToTextures()
{
    return ctx().renderer && ctx().canTarget;
}
bool isSoftware()
{
    return ctx().surface != nullptr;
}

static void adopt(SDL_Renderer* r, int w, int h)
{
    Context& c = ctx();
    c.renderer = r;
    c.frameWidth = w;
    c.frameHeight = h;
    c.target = nullptr;
    c.targetWidth = w;
    c.targetHeight = h;
    c.clipOn = false;
    c.saved.clear();
    SDL_RendererInfo info;
    const bool known = r && SDL_GetRendererInfo(r, &info) == 0;
    c.canTarget = known && (info.flags & SDL_RENDERER_TARGETTEXTURE) != 0;
    c.softwareDraw = known && (info.flags & SDL_RENDERER_SOFTWARE) != 0;
    if (r) {
        SDL_SetRenderDrawBlendMode(r, SDL_BLENDMODE_BLEND);
        if (!c.canTarget)
            engineLog("the renderer cannot draw into textures; render textures stay transparent");
    }
}

void useRenderer(SDL_Renderer* r, int frameWidth, int frameHeight)
{
    stop();
    adopt(r, frameWidth, frameHeight);
}

bool startSoftware(int frameWidth, int frameHeight)
{
    stop();
    Context& c = ctx();
    c.surface = SDL_CreateRGBSurfaceWithFormat(0, frameWidth, frameHeight, 32, SDL_PIXELFORMAT_RGBA32);
    if (!c.surface) {
        engineLog("cannot make the offscreen frame: %s", SDL_GetError());
        return false;
    }
    SDL_Renderer* r = SDL_CreateSoftwareRenderer(c.surface);
    if (!r) {
        engineLog("cannot make the software renderer: %s", SDL_GetError());
        SDL_FreeSurface(c.surface);
        c.surface = nullptr;
        return false;
    }
    c.ownsRenderer = true;
    adopt(r, frameWidth, frameHeight);
    return true;
}

void stop()
{
    Context& c = ctx();
    if (c.scratch && c.renderer)
        SDL_DestroyTexture(c.scratch);
    c.scratch = nullptr;
    c.scratchWidth = c.scratchHeight = 0;
    if (c.ownsRenderer && c.renderer)
        SDL_DestroyRenderer(c.renderer);
    if (c.surface)
        SDL_FreeSurface(c.surface);
    c.renderer = nullptr;
    c.surface = nullptr;
    c.ownsRenderer = false;
    c.canTarget = false;
    c.softwareDraw = false;
    c.target = nullptr;
    c.saved.clear();
    c.clipOn = false;
}

void beginFrame()
{
    Context& c = ctx();
    if (!c.renderer)
        return;
    while (!c.saved.empty())
        popTarget();  // a render texture left open must not swallow the frame
    SDL_RenderSetClipRect(c.renderer, nullptr);
    c.clipOn = false;
    SDL_SetRenderDrawColor(c.renderer, 0, 0, 0, 255);
    SDL_RenderClear(c.renderer);
}

void endFrame()
{
    Context& c = ctx();
    if (!c.renderer)
        return;
    SDL_RenderPresent(c.renderer);
}

CCImage* captureFrame()
{
    Context& c = ctx();
    if (!c.renderer || !c.surface)
        return nullptr;
    SDL_RenderFlush(c.renderer);
    std::vector<unsigned char> pixels(static_cast<size_t>(c.frameWidth) * c.frameHeight * 4);
    // The software renderer draws straight into the surface.
    SDL_Surface* s = c.surface;
    if (SDL_LockSurface(s) == 0) {
        for (int y = 0; y < c.frameHeight; ++y)
            SDL_memcpy(&pixels[static_cast<size_t>(y) * c.frameWidth * 4],
                       static_cast<unsigned char*>(s->pixels) + static_cast<size_t>(y) * s->pitch,
                       static_cast<size_t>(c.frameWidth) * 4);
        SDL_UnlockSurface(s);
    }
    CCImage* image = new CCImage();
    image->initWithRawPixels(pixels.data(), c.frameWidth, c.frameHeight, true);
    return image;
}

int targetHeight()
{
    return ctx().targetHeight;
}
int targetWidth()
{
    return ctx().targetWidth;
}
bool insideRenderTexture()
{
    return !ctx().saved.empty();
}

bool pushTarget(SDL_Texture* texture, int width, int height)
{
    Context& c = ctx();
    if (!c.renderer || !c.canTarget || !texture)
        return false;
    SavedTarget s;
    s.texture = c.target;
    s.width = c.targetWidth;
    s.height = c.targetHeight;
    SDL_RenderGetViewport(c.renderer, &s.viewport);
    SDL_RenderGetScale(c.renderer, &s.scaleX, &s.scaleY);
    s.clipOn = c.clipOn;
    s.clip = c.clip;
    if (SDL_SetRenderTarget(c.renderer, texture) != 0) {
        engineLog("cannot draw into a render texture: %s", SDL_GetError());
        return false;
    }
    c.saved.push_back(s);
    c.target = texture;
    c.targetWidth = width;
    c.targetHeight = height;
    SDL_RenderSetViewport(c.renderer, nullptr);
    SDL_RenderSetScale(c.renderer, 1.0f, 1.0f);
    SDL_RenderSetClipRect(c.renderer, nullptr);
    c.clipOn = false;
    return true;
}

void popTarget()
{
    Context& c = ctx();
    if (!c.renderer || c.saved.empty())
        return;
    SavedTarget s = c.saved.back();
    c.saved.pop_back();
    SDL_SetRenderTarget(c.renderer, s.texture);
    c.target = s.texture;
    c.targetWidth = s.width;
    c.targetHeight = s.height;
    // With a logical size set on the window, SDL restores its own viewport
    // and scale for the default target; setting them again would undo that.
    if (s.texture) {
        SDL_RenderSetViewport(c.renderer, &s.viewport);
        SDL_RenderSetScale(c.renderer, s.scaleX, s.scaleY);
    }
    c.clipOn = s.clipOn;
    c.clip = s.clip;
    SDL_RenderSetClipRect(c.renderer, c.clipOn ? &c.clip : nullptr);
}

void setClip(int x, int y, int w, int h)
{
    Context& c = ctx();
    c.clipOn = true;
    c.clip = SDL_Rect{x, c.targetHeight - (y + h), w < 0 ? 0 : w, h < 0 ? 0 : h};
    if (c.renderer)
        SDL_RenderSetClipRect(c.renderer, &c.clip);
}

void clearClip()
{
    Context& c = ctx();
    c.clipOn = false;
    if (c.renderer)
        SDL_RenderSetClipRect(c.renderer, nullptr);
}

bool clipEnabled()
{
    return ctx().clipOn;
}

namespace {

// The target rectangle in SDL's downward rows; false when nothing would show.
bool targetRect(float x0, float y0, float x1, float y1, SDL_FRect& out)
{
    Context& c = ctx();
    if (!c.renderer)
        return false;
    // An empty clip rectangle would mean "no clip" to SDL: draw nothing instead.
    if (c.clipOn && (c.clip.w <= 0 || c.clip.h <= 0))
        return false;
    const float left = x0 < x1 ? x0 : x1, right = x0 < x1 ? x1 : x0;
    const float bottom = y0 < y1 ? y0 : y1, top = y0 < y1 ? y1 : y0;
    if (right <= left || top <= bottom)
        return false;
    out = SDL_FRect{left, static_cast<float>(c.targetHeight) - top, right - left, top - bottom};
    return true;
}

// Large scaled pictures (the world, its overlays, the backdrop) in SDL's
// software renderer: SDL blends while it scales, one pixel at a time, many
// times slower than blending an unscaled picture, and a flipped copy also
// makes two picture-sized surfaces every time. Stretching into a kept scratch
// texture first (no blending; the tint applied there) and blending that
// unscaled gives the same picture: the same nearest sampling, exact where a
// pixel is opaque or clear, within two levels where it is partly transparent
// (the unscaled blend rounds differently). Small pictures, horizontal flips,
// other blend or scale modes and render textures keep SDL's own copy.
constexpr long kScratchMinArea = 32L * 32L;
constexpr int kScratchMaxSide = 8192;

bool ensureScratch(int width, int height)
{
    Context& c = ctx();
    if (c.scratch && c.scratchWidth >= width && c.scratchHeight >= height)
        return true;
    const int w = c.scratchWidth > width ? c.scratchWidth : width;
    const int h = c.scratchHeight > height ? c.scratchHeight : height;
    if (c.scratch)
        SDL_DestroyTexture(c.scratch);
    c.scratch = SDL_CreateTexture(c.renderer, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_TARGET, w, h);
    c.scratchWidth = c.scratch ? w : 0;
    c.scratchHeight = c.scratch ? h : 0;
    if (!c.scratch)
        return false;
    SDL_SetTextureBlendMode(c.scratch, SDL_BLENDMODE_BLEND);
    return true;
}

// False: not taken (nothing drawn), SDL's own copy is used.
bool copyThroughScratch(SDL_Renderer* r, SDL_Texture* texture, const SDL_Rect& src, const SDL_FRect& dst, int flip)
{
    Context& c = ctx();
    if (!c.softwareDraw || !c.canTarget || c.target || (flip & SDL_FLIP_HORIZONTAL))
        return false;
    // SDL truncates the rectangle to whole pixels.
    const SDL_Rect whole{static_cast<int>(dst.x), static_cast<int>(dst.y), static_cast<int>(dst.w),
                         static_cast<int>(dst.h)};
    if ((whole.w == src.w && whole.h == src.h) || static_cast<long>(whole.w) * whole.h < kScratchMinArea ||
        whole.w > kScratchMaxSide)
        return false;
    float scaleX = 1.0f, scaleY = 1.0f;
    SDL_RenderGetScale(r, &scaleX, &scaleY);
    SDL_BlendMode blend;
    SDL_ScaleMode mode;
    if (scaleX != 1.0f || scaleY != 1.0f || SDL_GetTextureBlendMode(texture, &blend) != 0 ||
        blend != SDL_BLENDMODE_BLEND || SDL_GetTextureScaleMode(texture, &mode) != 0 || mode != SDL_ScaleModeNearest)
        return false;
    // Only the rows that can show are stretched (a row of the picture is one
    // source row repeated, so cutting it is exact); the columns are not, as
    // the scaler's steps start from the picture's left edge.
    SDL_Rect viewport;
    SDL_RenderGetViewport(r, &viewport);
    int shownTop = 0, shownBottom = viewport.h;
    if (c.clipOn) {
        shownTop = c.clip.y > 0 ? c.clip.y : 0;
        shownBottom = c.clip.y + c.clip.h < shownBottom ? c.clip.y + c.clip.h : shownBottom;
    }
    const int top = whole.y > shownTop ? whole.y : shownTop;
    const int bottom = whole.y + whole.h < shownBottom ? whole.y + whole.h : shownBottom;
    if (top >= bottom || whole.x >= viewport.w || whole.x + whole.w <= 0)
        return true;
    if (!ensureScratch(whole.w, bottom - top) || SDL_SetRenderTarget(r, c.scratch) != 0)
        return false;
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_NONE);
    // Each source row fills the band of picture rows that SDL's nearest
    // scaler (16.16 steps from the middle of the first) gives it; flipped,
    // the bands count from the bottom.
    const bool flipped = (flip & SDL_FLIP_VERTICAL) != 0;
    const uint32_t step = (static_cast<uint32_t>(src.h) << 16) / static_cast<uint32_t>(whole.h);
    uint32_t position = step / 2;
    for (int first = 0; first < whole.h;) {
        const int row = static_cast<int>(position >> 16);
        int end = first;
        while (end < whole.h && static_cast<int>(position >> 16) == row) {
            position += step;
            ++end;
        }
        int bandTop = whole.y + (flipped ? whole.h - end : first);
        int bandBottom = whole.y + (flipped ? whole.h - first : end);
        bandTop = bandTop > top ? bandTop : top;
        bandBottom = bandBottom < bottom ? bandBottom : bottom;
        if (bandTop < bandBottom) {
            const SDL_Rect line{src.x, src.y + row, src.w, 1};
            const SDL_FRect band{0.0f, static_cast<float>(bandTop - top), static_cast<float>(whole.w),
                                 static_cast<float>(bandBottom - bandTop)};
            SDL_RenderCopyF(r, texture, &line, &band);
        }
        first = end;
    }
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    // Back on the frame, SDL brings back its viewport, scale and clip.
    SDL_SetRenderTarget(r, nullptr);
    const SDL_Rect part{0, 0, whole.w, bottom - top};
    const SDL_FRect at{static_cast<float>(whole.x), static_cast<float>(top), static_cast<float>(whole.w),
                       static_cast<float>(bottom - top)};
    SDL_RenderCopyF(r, c.scratch, &part, &at);
    return true;
}

}  // namespace

void drawTexture(SDL_Texture* texture, const SDL_Rect& src, float x0, float y0, float x1, float y1, bool flipH,
                 bool flipV, SDL_Color colour)
{
    SDL_FRect dst;
    if (!texture || src.w <= 0 || src.h <= 0 || !targetRect(x0, y0, x1, y1, dst))
        return;
    // Corners given right-to-left or top-to-bottom mirror the picture.
    if (x1 < x0)
        flipH = !flipH;
    if (y1 < y0)
        flipV = !flipV;
    const int flip = (flipH ? SDL_FLIP_HORIZONTAL : 0) | (flipV ? SDL_FLIP_VERTICAL : 0);
    SDL_SetTextureColorMod(texture, colour.r, colour.g, colour.b);
    SDL_SetTextureAlphaMod(texture, colour.a);
    SDL_Renderer* r = ctx().renderer;
    if (!copyThroughScratch(r, texture, src, dst, flip))
        SDL_RenderCopyExF(r, texture, &src, &dst, 0.0, nullptr, static_cast<SDL_RendererFlip>(flip));
}

void fillRect(float x0, float y0, float x1, float y1, SDL_Color colour)
{
    // A clear colour blended changes no pixel; the game scene's own layer is
    // one, as large as the world, and SDL would still blend it pixel by pixel.
    SDL_FRect dst;
    if (colour.a == 0 || !targetRect(x0, y0, x1, y1, dst))
        return;
    SDL_Renderer* r = ctx().renderer;
    SDL_SetRenderDrawBlendMode(r, SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(r, colour.r, colour.g, colour.b, colour.a);
    SDL_RenderFillRectF(r, &dst);
}

}  // namespace render
}  // namespace cocos2d
