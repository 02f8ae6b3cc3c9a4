#pragma once
// The toolkit's fixture: the headless game with the software renderer, the
// sheets the widgets draw from, a running scene to hang widgets on, and
// injected touches and keys.
#include <string>

#include "cocos2d.h"
#include "support/HeadlessGame.h"
#include "support/LogCapture.h"

class GUIWindow;
class GUIBatchNodeMenu;
class SlidingLayer;

namespace guitest {

// The test scene's touch layer: forwards the touches the engine dispatches to
// the window, the menu and the sliding layer it is given, as the game's
// screens do.
class TouchHost : public cocos2d::CCLayer {
public:
    static TouchHost* create();
    void ccTouchesBegan(cocos2d::CCSet* touches, cocos2d::CCEvent* event) override;
    void ccTouchesMoved(cocos2d::CCSet* touches, cocos2d::CCEvent* event) override;
    void ccTouchesEnded(cocos2d::CCSet* touches, cocos2d::CCEvent* event) override;

    GUIWindow* window = nullptr;
    GUIBatchNodeMenu* menu = nullptr;
    SlidingLayer* sliding = nullptr;
    cocos2d::CCTouch* lastTouch = nullptr;  // valid inside a touch only
    bool slidingTook = false;
};

class GuiTest : public testsupport::HeadlessGame {
protected:
    void SetUp() override;
    void TearDown() override;

    cocos2d::CCScene* scene() const { return m_scene; }
    TouchHost* host() const { return m_host; }
    void touchDown(float x, float y, int id = 0);
    void touchMove(float x, float y, int id = 0);
    void touchUp(float x, float y, int id = 0);
    // Draws the running scene and keeps the picture; at() reads it with GL y.
    void drawScene();
    cocos2d::ccColor4B at(int x, int y) const;
    // With TESMORA_TEST_FRAMES set, writes the last picture there as name.png.
    void saveFrame(const std::string& name) const;
    // A made-up glyph table: each listed character is a w x 13 cell.
    static void fakeFont(const std::string& chars, float width, bool withSpace = true);
    // Counts of the label sprite children whose colour is c.
    static int childrenColoured(cocos2d::CCNode* node, const cocos2d::ccColor3B& c);

    testsupport::LogCapture log;

private:
    cocos2d::CCScene* m_scene = nullptr;
    TouchHost* m_host = nullptr;
    cocos2d::CCImage* m_frame = nullptr;
};

// Records how often it was called back.
class Counter : public cocos2d::CCObject {
public:
    void hit() { ++count; }
    void hitWith(cocos2d::CCObject*) { ++count; }
    cocos2d::CCCallFunc* action() { return cocos2d::CCCallFunc::create(this, callfunc_selector(Counter::hit)); }
    int count = 0;
};

// The opposite of the callbacks: tests keep these on the stack, so no one may
// delete them; one reference stays with the test.
template <typename T> struct Held {
    Held() : object(new T()) { }
    ~Held() { object->release(); }
    T* operator->() const { return object; }
    T* get() const { return object; }
    T* object;
};

}  // namespace guitest
