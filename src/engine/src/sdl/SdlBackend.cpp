// The window and software backends of the view, over SDL2's 2D renderer.
#include <SDL.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "base/EngineLog.h"
#include "base/EngineSwitches.h"
#include "cocos2d/CCImage.h"
#include "render/RenderContext.h"
#include "sdl/FramePacer.h"
#include "sdl/SdlEvents.h"
#include "view/ViewBackend.h"

namespace cocos2d {

namespace {

SDL_Surface* surfaceFromImage(const std::string& path)
{
    CCImage image;
    if (!image.initWithImageFile(path.c_str()))
        return nullptr;
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, image.getWidth(), image.getHeight(), 32, SDL_PIXELFORMAT_RGBA32);
    if (!s)
        return nullptr;
    const int bpp = image.getBytesPerPixel();
    SDL_LockSurface(s);
    for (int y = 0; y < image.getHeight(); ++y) {
        unsigned char* out = static_cast<unsigned char*>(s->pixels) + y * s->pitch;
        const unsigned char* in = image.getData() + y * image.getWidth() * bpp;
        for (int x = 0; x < image.getWidth(); ++x) {
            out[x * 4] = in[x * bpp];
            out[x * 4 + 1] = in[x * bpp + 1];
            out[x * 4 + 2] = in[x * bpp + 2];
            out[x * 4 + 3] = bpp == 4 ? in[x * bpp + 3] : 255;
        }
    }
    SDL_UnlockSurface(s);
    return s;
}

// Drawing and pacing are shared by both modes: the renderer comes from the
// render context, and a run that is not fixed-step keeps the real clock
// offscreen as in a window, so a scripted run's frames are real time.
class RendererBackend : public ViewBackend {
public:
    double waitForNextFrame(double interval, bool idle) override
    {
        const double freq = static_cast<double>(SDL_GetPerformanceFrequency());
        auto now = [freq] { return static_cast<double>(SDL_GetPerformanceCounter()) / freq; };
        if (idle) {
            // Paused or stopped: sleep until an event or a quarter second.
            if (SDL_WasInit(SDL_INIT_EVENTS))
                SDL_WaitEventTimeout(nullptr, 250);
            else
                SDL_Delay(250);
            m_pacer.restart();
            return interval;
        }
        // Whole milliseconds, rounded up: never a sleep of 0 that would spin.
        auto sleep = [](double seconds) { SDL_Delay(static_cast<Uint32>(std::ceil(seconds * 1000.0))); };
        return m_pacer.waitForFrame(interval, now, sleep);
    }
    bool drawsFrames() const override { return render::renderer() != nullptr; }
    void beginFrame() override { render::beginFrame(); }
    void endFrame() override { render::endFrame(); }
    void setScissor(bool enabled, int x, int y, int width, int height) override
    {
        if (enabled)
            render::setClip(x, y, width, height);
        else
            render::clearClip();
    }
    void fillRect(const CCAffineTransform& t, float width, float height, const ccColor4B& color) override
    {
        CCPoint p0 = CCPointApplyAffineTransform(CCPointZero, t);
        CCPoint p1 = CCPointApplyAffineTransform(CCPoint(width, height), t);
        render::fillRect(p0.x, p0.y, p1.x, p1.y, SDL_Color{color.r, color.g, color.b, color.a});
    }

private:
    FramePacer m_pacer;
};

// An offscreen 800 x 600 frame: the whole drawing path, no display, no SDL
// video. No window sends events: tests inject them, or an input script queues
// them in SDL's event queue, which the pump empties as the window's does.
class SoftwareBackend : public RendererBackend {
public:
    void pumpEvents() override
    {
        if (!SDL_WasInit(SDL_INIT_EVENTS))
            return;
        CCEGLView* view = CCEGLView::sharedOpenGLView();
        SDL_Event e;
        while (SDL_PollEvent(&e))
            dispatchSdlEvent(e, view, m_mouse);
    }

    bool open() override
    {
        if (render::renderer() && render::isSoftware())
            return true;
        return render::startSoftware(m_width, m_height);
    }
    void setFrameSize(int width, int height) override
    {
        if (!render::renderer()) {
            m_width = width;
            m_height = height;
        } else if (width != m_width || height != m_height) {
            // Remaking the surface would destroy every texture with the old
            // renderer; the frame is fixed anyway.
            engineLog("view: the offscreen frame stays %d x %d", m_width, m_height);
        }
    }

private:
    int m_width = 800;
    int m_height = 600;
    MouseState m_mouse;
};

// A real window with an accelerated renderer (the software one on the
// window's surface where there is none), a fixed logical frame, letterboxed.
class WindowBackend : public RendererBackend {
public:
    ~WindowBackend() override
    {
        render::stop();
        if (m_renderer)
            SDL_DestroyRenderer(m_renderer);
        if (m_window)
            SDL_DestroyWindow(m_window);
        if (m_cursor)
            SDL_FreeCursor(m_cursor);
    }

    bool open() override
    {
        if (m_window)
            return true;
        if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
            engineLog("view: cannot start SDL video: %s", SDL_GetError());
            return false;
        }
        SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
        m_window = SDL_CreateWindow(m_title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, m_width, m_height,
                                    SDL_WINDOW_HIDDEN);
        if (!m_window) {
            engineLog("view: cannot open the window: %s", SDL_GetError());
            return false;
        }
        const Uint32 accelerated = SDL_RENDERER_ACCELERATED | SDL_RENDERER_TARGETTEXTURE;
        if (vsyncWanted())
            m_renderer = SDL_CreateRenderer(m_window, -1, accelerated | SDL_RENDERER_PRESENTVSYNC);
        if (!m_renderer)
            m_renderer = SDL_CreateRenderer(m_window, -1, accelerated);
        if (!m_renderer)
            m_renderer = SDL_CreateRenderer(m_window, -1, SDL_RENDERER_SOFTWARE | SDL_RENDERER_TARGETTEXTURE);
        if (!m_renderer) {
            engineLog("view: cannot make a renderer: %s", SDL_GetError());
            SDL_DestroyWindow(m_window);
            m_window = nullptr;
            return false;
        }
        SDL_RenderSetLogicalSize(m_renderer, m_width, m_height);
        render::useRenderer(m_renderer, m_width, m_height);
        if (!m_iconPath.empty())
            setIcon(m_iconPath);
        if (!m_cursorPath.empty())
            setCursor(m_cursorPath);
        SDL_StartTextInput();
        return true;
    }

    void show() override
    {
        if (!m_window)
            return;
        SDL_ShowWindow(m_window);
        m_shown = true;
        if (m_fullscreen)
            goFullscreen();
    }

    void setTitle(const std::string& title) override
    {
        m_title = title;
        if (m_window)
            SDL_SetWindowTitle(m_window, title.c_str());
    }

    void setFrameSize(int width, int height) override
    {
        m_width = width;
        m_height = height;
        if (m_window && !m_fullscreen)
            SDL_SetWindowSize(m_window, width, height);
        if (m_renderer) {
            SDL_RenderSetLogicalSize(m_renderer, width, height);
            render::useRenderer(m_renderer, width, height);
        }
    }

    bool setIcon(const std::string& path) override
    {
        m_iconPath = path;
        if (!m_window)
            return true;  // applied when the window opens
        SDL_Surface* s = surfaceFromImage(path);
        if (!s)
            return false;
        SDL_SetWindowIcon(m_window, s);
        SDL_FreeSurface(s);
        return true;
    }

    bool setCursor(const std::string& path) override
    {
        m_cursorPath = path;
        if (!m_window)
            return true;
        SDL_Surface* s = surfaceFromImage(path);
        if (!s)
            return false;
        // The pointer's tip is its top-left block.
        SDL_Cursor* cursor = SDL_CreateColorCursor(s, 1, 1);
        SDL_FreeSurface(s);
        if (!cursor) {
            engineLog("view: cannot make the cursor: %s", SDL_GetError());
            return false;
        }
        SDL_SetCursor(cursor);
        if (m_cursor)
            SDL_FreeCursor(m_cursor);
        m_cursor = cursor;
        return true;
    }

    bool setFullscreen(bool on, int windowWidth, int windowHeight) override
    {
        if (!m_window)
            return false;
        if (on) {
            const char* windowed = std::getenv("ENGINE_WINDOWED");
            if (windowed && std::strcmp(windowed, "0") != 0 && *windowed)
                return false;  // development: stay in a window
            if (!m_fullscreen)
                SDL_GetWindowPosition(m_window, &m_windowedX, &m_windowedY);
            m_fullscreen = true;
            // A hidden window goes full screen when it is shown: X11 servers
            // without a window manager misplace one switched while unmapped.
            if (m_shown)
                goFullscreen();
        } else if (m_fullscreen) {
            SDL_SetWindowFullscreen(m_window, 0);
            m_fullscreen = false;
            if (windowWidth > 0 && windowHeight > 0)
                SDL_SetWindowSize(m_window, windowWidth, windowHeight);
            // Where it was: going full screen moved it to the display's corner.
            SDL_SetWindowPosition(m_window, m_windowedX, m_windowedY);
        }
        // The logical frame stays; SDL letterboxes it with black bars.
        SDL_RenderSetLogicalSize(m_renderer, m_width, m_height);
        return m_fullscreen;
    }

    bool isKeyDown(int key) const override
    {
        if (!m_window)
            return false;
        const Uint8* state = SDL_GetKeyboardState(nullptr);
        switch (key) {
        case kCCKeyAlt: return state[SDL_SCANCODE_LALT] || state[SDL_SCANCODE_RALT];
        case kCCKeySpace: return state[SDL_SCANCODE_SPACE];
        case kCCKeyLeft: return state[SDL_SCANCODE_LEFT];
        case kCCKeyRight: return state[SDL_SCANCODE_RIGHT];
        case kCCKeyUp: return state[SDL_SCANCODE_UP];
        case kCCKeyDown: return state[SDL_SCANCODE_DOWN];
        default: return false;
        }
    }

    void pumpEvents() override
    {
        CCEGLView* view = CCEGLView::sharedOpenGLView();
        SDL_Event e;
        while (SDL_PollEvent(&e))
            dispatchSdlEvent(e, view, m_mouse);
    }

private:
    // The present then waits for the display, which shows whole frames; the
    // pacer still sleeps until each frame is due, so the game keeps 60 frames
    // a second on a faster display. Not below 59 Hz, where the game would
    // slow with the display, and never for a fixed-step run, which never
    // waits. SDL_RENDER_VSYNC=0 turns it off.
    bool vsyncWanted() const
    {
        if (fixedStepWanted())
            return false;
        SDL_DisplayMode mode;
        const int display = SDL_GetWindowDisplayIndex(m_window);
        if (display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0 && mode.refresh_rate > 0 &&
            mode.refresh_rate < 59)
            return false;
        return true;
    }

    void goFullscreen()
    {
        // Without a window manager nobody moves the window to the display's
        // corner; do it first, so the whole frame is on screen.
        SDL_Rect bounds;
        if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(m_window), &bounds) == 0)
            SDL_SetWindowPosition(m_window, bounds.x, bounds.y);
        if (SDL_SetWindowFullscreen(m_window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0)
            engineLog("view: cannot go full screen: %s", SDL_GetError());
    }

    SDL_Window* m_window = nullptr;
    SDL_Renderer* m_renderer = nullptr;
    SDL_Cursor* m_cursor = nullptr;
    std::string m_title;
    std::string m_iconPath;
    std::string m_cursorPath;
    int m_width = 800;
    int m_height = 600;
    bool m_fullscreen = false;
    int m_windowedX = SDL_WINDOWPOS_CENTERED;
    int m_windowedY = SDL_WINDOWPOS_CENTERED;
    bool m_shown = false;
    MouseState m_mouse;
};

}  // namespace

ViewBackend* createPlatformBackend(CCRunMode mode)
{
    switch (mode) {
    case kCCRunModeSoftware: {
        SoftwareBackend* b = new SoftwareBackend();
        b->open();
        return b;
    }
    case kCCRunModeWindow: {
        // The window opens at once, hidden, so the renderer exists before the
        // game makes its first texture; run() shows it.
        WindowBackend* b = new WindowBackend();
        b->open();
        return b;
    }
    default: return nullptr;
    }
}

}  // namespace cocos2d
