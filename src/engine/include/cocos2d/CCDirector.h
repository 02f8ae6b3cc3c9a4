#pragma once
#include <vector>

#include "cocos2d/CCGeometry.h"
#include "cocos2d/CCObject.h"

NS_CC_BEGIN

class CCScene;
class CCScheduler;
class CCActionManager;
class CCTouchDispatcher;
class CCKeypadDispatcher;
class CCEGLView;
class CCTransitionScene;

enum ccDirectorProjection {
    kCCDirectorProjection2D = 0,
    kCCDirectorProjectionDefault = kCCDirectorProjection2D,
};

// Runs the scene stack and the frame. One frame: (input is dispatched
// before), then unless paused or stopped the actions, updates and timers,
// then pending scene changes, then drawing, then the pool is drained.
// Scene requests take effect at the frame's switch point, never during the
// call. A CCObject so that it can be the target of a CCCallFunc.
class CCDirector : public CCObject {
public:
    static CCDirector* sharedDirector();

    void setOpenGLView(CCEGLView* view);
    CCEGLView* getOpenGLView() const { return m_pView; }

    // The frame size (800 x 600), whatever the window does.
    CCSize getWinSize() const;
    CCSize getWinSizeInPixels() const { return getWinSize(); }
    float getContentScaleFactor() const { return 1.0f; }
    // (x, winHeight - y), unclamped.
    CCPoint convertToGL(const CCPoint& viewPoint) const;
    CCPoint convertToUI(const CCPoint& glPoint) const;

    // Recorded; drawing is always 2D.
    void setProjection(ccDirectorProjection projection) { m_eProjection = projection; }
    ccDirectorProjection getProjection() const { return m_eProjection; }

    void setAnimationInterval(double interval);
    double getAnimationInterval() const { return m_dAnimationInterval; }
    // Resuming or starting again restarts the clock: no time passes for the
    // pause.
    void startAnimation();
    void stopAnimation();
    bool isAnimating() const { return m_bAnimating; }
    void pause();
    void resume();
    bool isPaused() const { return m_bPaused; }

    // Pushes onto the empty stack; entered in the next frame.
    void runWithScene(CCScene* scene);
    void pushScene(CCScene* scene);
    // Popping the last scene ends the loop.
    void popScene();
    void replaceScene(CCScene* scene);
    // The top scene, or during a transition the incoming scene.
    CCScene* getRunningScene() const;
    // After the current frame every scene gets onExit and cleanup and the
    // loop ends.
    void end();

    CCScheduler* getScheduler() const { return m_pScheduler; }
    CCActionManager* getActionManager() const { return m_pActionManager; }
    CCTouchDispatcher* getTouchDispatcher() const { return m_pTouchDispatcher; }
    CCKeypadDispatcher* getKeypadDispatcher() const { return m_pKeypadDispatcher; }

    // (ext) One frame with exactly this dt; n of them.
    void stepFrame(float dt);
    void stepFrames(int count, float dt);
    // (ext) True once the loop has ended (end(), or the last scene popped).
    bool hasEnded() const { return m_bEnded; }
    // (ext) A transition is between its start and its end.
    bool isInTransition() const;
    // (ext) A scene change is asked for and not done yet, or in transition.
    bool isChangingScene() const { return !m_requests.empty() || isInTransition(); }
    // (ext) Frames run since start or reset.
    unsigned getTotalFrames() const { return m_uTotalFrames; }
    // (ext) Scenes on the stack, the running one included.
    unsigned getSceneStackSize() const { return static_cast<unsigned>(m_stack.size()); }
    // (ext) For the loop's pacing: true once after resume or startAnimation.
    bool takeClockRestart();
    // (ext) Empties the stack (onExit and cleanup for every scene), clears
    // the scheduler, the action manager, the dispatchers, the attached input
    // method delegate, key and touch state, restores the defaults and drains
    // the pool.
    void resetForTests();

    // (ext) Called by a transition when its time is up.
    void transitionDidFinish(CCTransitionScene* transition);

private:
    CCDirector();
    enum class SceneOp { Push, Pop, Replace };
    struct Request {
        SceneOp op;
        CCScene* scene;  // retained while pending
    };
    void applySceneRequests();
    void finishTransition();
    void enterScene(CCScene* scene, CCScene* leaving, bool leavingRemoved);
    void purgeScenes();
    void drawFrame();

    CCEGLView* m_pView = nullptr;
    CCScheduler* m_pScheduler;
    CCActionManager* m_pActionManager;
    CCTouchDispatcher* m_pTouchDispatcher;
    CCKeypadDispatcher* m_pKeypadDispatcher;

    std::vector<CCScene*> m_stack;  // retained; back() is the top
    std::vector<Request> m_requests;
    CCScene* m_pRunningScene = nullptr;   // the entered top, or null
    CCScene* m_pOutgoingScene = nullptr;  // retained during a transition
    bool m_bCleanupOutgoing = false;
    bool m_bTransitionDone = false;

    ccDirectorProjection m_eProjection = kCCDirectorProjection2D;
    double m_dAnimationInterval = 1.0 / 60.0;
    bool m_bAnimating = true;
    bool m_bPaused = false;
    bool m_bClockRestart = false;
    bool m_bEndRequested = false;
    bool m_bEnded = false;
    unsigned m_uTotalFrames = 0;
};

NS_CC_END
