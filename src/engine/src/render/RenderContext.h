#pragma once
// Internal: the one SDL renderer the layer draws with (null in headless mode),
// the current drawing target and the clip. Everything here is main-thread only.
#include <SDL.h>

namespace cocos2d {
class CCImage;
namespace render {

SDL_Renderer* renderer();
bool canRenderToTextures();

// The window backend hands its renderer over; the software backend makes its
// own over an offscreen surface of this size. stop() forgets either.
void useRenderer(SDL_Renderer* renderer, int frameWidth, int frameHeight);
bool startSoftware(int frameWidth, int frameHeight);
void stop();
bool isSoftware();

// The frame: clear to black before drawing, present after.
void beginFrame();
void endFrame();
// The last presented frame, upright (software mode), or null.
CCImage* captureFrame();

// The height of what is drawn into now (the frame, or a render texture):
// layer y grows upward, SDL's downward.
int targetHeight();
int targetWidth();

// Render textures: switch the target and back. Saves and restores the
// viewport, scale and clip explicitly.
bool pushTarget(SDL_Texture* texture, int width, int height);
void popTarget();
bool insideRenderTexture();

// The clip in target pixels with the origin at the bottom left.
void setClip(int x, int y, int w, int h);
void clearClip();
bool clipEnabled();

// Nodes never rotate, so everything drawn is an upright rectangle, given
// by two opposite corners in target points with y up (any order).
// A rectangle of a texture: src in the texture's own rows (top first).
void drawTexture(SDL_Texture* texture, const SDL_Rect& src, float x0, float y0, float x1, float y1, bool flipH,
                 bool flipV, SDL_Color colour);
// A filled rectangle, alpha-blended.
void fillRect(float x0, float y0, float x1, float y1, SDL_Color colour);

}  // namespace render
}  // namespace cocos2d
