#pragma once
// Internal: the platform seam under CCEGLView and CCApplication. Headless
// implements every call as a no-op; the window and software modes implement
// it over SDL.

#include <string>

#include "cocos2d/CCEGLView.h"
#include "cocos2d/CCNode.h"
#include "cocos2d/ccTypes.h"

namespace cocos2d {

class ViewBackend {
public:
    virtual ~ViewBackend() = default;

    // --- view ---
    virtual void setTitle(const std::string& title) { (void)title; }
    virtual void setFrameSize(int width, int height)
    {
        (void)width;
        (void)height;
    }
    // The path exists; false when it cannot be used.
    virtual bool setIcon(const std::string& path)
    {
        (void)path;
        return true;
    }
    virtual bool setCursor(const std::string& path)
    {
        (void)path;
        return true;
    }
    // Goes to full screen, or back to a windowWidth x windowHeight window in
    // the place it had before; true when the view is full screen afterwards.
    virtual bool setFullscreen(bool on, int windowWidth, int windowHeight)
    {
        (void)windowWidth;
        (void)windowHeight;
        return on;
    }
    // Frame pixels, origin at the bottom left.
    virtual void setScissor(bool enabled, int x, int y, int width, int height)
    {
        (void)enabled;
        (void)x;
        (void)y;
        (void)width;
        (void)height;
    }
    // The physical key state (isKeyDown numbers).
    virtual bool isKeyDown(int key) const
    {
        (void)key;
        return false;
    }

    // --- loop ---
    // Makes the window or surface; false makes run() return 1.
    virtual bool open() { return true; }
    virtual void show() { }
    // Dispatches pending platform events through the view's simulate* calls.
    virtual void pumpEvents() { }
    // Waits until the next frame is due and returns its dt. idle is true
    // while the director is paused or stopped.
    virtual double waitForNextFrame(double interval, bool idle)
    {
        (void)idle;
        return interval;
    }

    // --- drawing ---
    virtual bool drawsFrames() const { return false; }
    virtual void beginFrame() { }
    virtual void endFrame() { }
    // A width x height rectangle at the origin of the transform's space.
    virtual void fillRect(const CCAffineTransform& transform, float width, float height, const ccColor4B& color)
    {
        (void)transform;
        (void)width;
        (void)height;
        (void)color;
    }
};

// No window, no renderer, no events.
ViewBackend* createHeadlessBackend();
// Window or software backend; null when the mode is not available.
ViewBackend* createPlatformBackend(CCRunMode mode);

}  // namespace cocos2d
