#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "cocos2d.h"
#include "engine/src/sdl/SdlEvents.h"

using namespace cocos2d;

namespace {

// Records what reaches the delegates, with the touch objects as given.
struct Recorder : public CCTouchDelegate, public CCKeypadDelegate, public CCIMEDelegate {
    bool ccTouchBegan(CCTouch* t, CCEvent*) override { return note("began", t); }
    void ccTouchMoved(CCTouch* t, CCEvent*) override { note("moved", t); }
    void ccTouchEnded(CCTouch* t, CCEvent*) override { note("ended", t); }
    void ccTouchCancelled(CCTouch* t, CCEvent*) override { note("cancelled", t); }
    void ccRightTouchesBegan(CCSet* s, CCEvent*) override { note("rightBegan", anyTouch(s)); }
    void ccRightTouchesMoved(CCSet* s, CCEvent*) override { note("rightMoved", anyTouch(s)); }
    void ccRightTouchesEnded(CCSet* s, CCEvent*) override { note("rightEnded", anyTouch(s)); }
    void keyBackClicked() override { keys.push_back("back"); }
    void keyMenuClicked() override { keys.push_back("menu"); }
    void keyArrowPressed(int code) override { keys.push_back("press" + std::to_string(code)); }
    void keyArrowReleased(int code) override { keys.push_back("release" + std::to_string(code)); }
    void keyBoardChar(int cp) override { keys.push_back("char" + std::to_string(cp)); }
    void insertText(const char* text, int len) override { typed.push_back(std::string(text, len)); }
    void deleteBackward() override { typed.push_back("<del>"); }

    static CCTouch* anyTouch(CCSet* s) { return static_cast<CCTouch*>(s->anyObject()); }
    bool note(const char* what, CCTouch* t)
    {
        events.push_back(what);
        touches.push_back(t);
        locations.push_back(t->getLocation());
        ids.push_back(t->getID());
        return true;
    }

    std::vector<std::string> events, keys, typed;
    std::vector<CCTouch*> touches;
    std::vector<CCPoint> locations;
    std::vector<int> ids;
};

class SdlEventMapping : public ::testing::Test {
protected:
    void SetUp() override
    {
        view = CCEGLView::sharedOpenGLView();
        CCDirector* director = CCDirector::sharedDirector();
        director->getTouchDispatcher()->addTargetedDelegate(&left, 0, true);
        director->getTouchDispatcher()->addStandardDelegate(&right, 0);
        director->getKeypadDispatcher()->addDelegate(&left);
        left.attachWithIME();
    }
    void TearDown() override
    {
        CCDirector* director = CCDirector::sharedDirector();
        director->getTouchDispatcher()->removeDelegate(&left);
        director->getTouchDispatcher()->removeDelegate(&right);
        director->getKeypadDispatcher()->removeDelegate(&left);
        left.detachWithIME();
        view->resetForTests();
    }
    void button(Uint32 type, Uint8 which, int x, int y)
    {
        SDL_Event e{};
        e.type = type;
        e.button.button = which;
        e.button.x = x;
        e.button.y = y;
        dispatchSdlEvent(e, view, mouse);
    }
    void motion(int x, int y)
    {
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.x = x;
        e.motion.y = y;
        dispatchSdlEvent(e, view, mouse);
    }
    void key(Uint32 type, SDL_Scancode code, bool repeat = false)
    {
        SDL_Event e{};
        e.type = type;
        e.key.keysym.scancode = code;
        e.key.repeat = repeat ? 1 : 0;
        dispatchSdlEvent(e, view, mouse);
    }
    void wheel(int y, bool flipped = false)
    {
        SDL_Event e{};
        e.type = SDL_MOUSEWHEEL;
        e.wheel.y = y;
        e.wheel.direction = flipped ? SDL_MOUSEWHEEL_FLIPPED : SDL_MOUSEWHEEL_NORMAL;
        dispatchSdlEvent(e, view, mouse);
    }

    CCEGLView* view = nullptr;
    MouseState mouse;
    Recorder left, right;
};

TEST_F(SdlEventMapping, LeftButtonIsOneTouchFromPressToReleaseInLogicalGLCoordinates)
{
    motion(10, 10);  // no button held: nothing
    button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 100, 50);
    motion(120, 60);
    button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 120, 60);  // ignored
    button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 130, 70);
    ASSERT_EQ(left.events, (std::vector<std::string>{"began", "moved", "ended"}));
    EXPECT_EQ(left.touches[0], left.touches[1]);
    EXPECT_EQ(left.touches[0], left.touches[2]);
    EXPECT_EQ(left.ids[0], 0);
    EXPECT_TRUE(left.locations[0].equals(ccp(100, 550)));
    EXPECT_TRUE(left.locations[1].equals(ccp(120, 540)));
    EXPECT_TRUE(left.locations[2].equals(ccp(130, 530)));
    EXPECT_TRUE(right.events.empty()) << "the swallowing claimer keeps the left touch";

    // A point in a letterbox bar is delivered as it is, outside the frame.
    button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, -20, 610);
    button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, -20, 610);
    ASSERT_EQ(left.events.size(), 5u);
    EXPECT_TRUE(left.locations[3].equals(ccp(-20, -10)));
}

TEST_F(SdlEventMapping, RightButtonGoesToTheRightTouchCallbacks)
{
    button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 200, 100);
    motion(210, 100);
    button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 220, 100);
    ASSERT_EQ(right.events, (std::vector<std::string>{"rightBegan", "rightMoved", "rightEnded"}));
    EXPECT_EQ(right.ids[0], 1);
    EXPECT_EQ(right.touches[0], right.touches[2]);
    EXPECT_TRUE(right.locations[2].equals(ccp(220, 500)));
    EXPECT_TRUE(left.events.empty());
}

TEST_F(SdlEventMapping, FocusLossCancelsTheHeldTouchAndItsReleaseIsDropped)
{
    button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 100, 100);
    SDL_Event focus{};
    focus.type = SDL_WINDOWEVENT;
    focus.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    dispatchSdlEvent(focus, view, mouse);
    button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 100, 100);
    focus.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
    dispatchSdlEvent(focus, view, mouse);
    EXPECT_EQ(left.events, (std::vector<std::string>{"began", "cancelled"}));
}

TEST_F(SdlEventMapping, KeysWheelAndTextReachKeypadAndInputMethod)
{
    key(SDL_KEYDOWN, SDL_SCANCODE_ESCAPE);
    key(SDL_KEYDOWN, SDL_SCANCODE_ESCAPE, true);  // auto-repeat of back is ignored
    key(SDL_KEYUP, SDL_SCANCODE_ESCAPE);
    key(SDL_KEYDOWN, SDL_SCANCODE_UP);
    key(SDL_KEYDOWN, SDL_SCANCODE_UP, true);  // arrows repeat
    key(SDL_KEYUP, SDL_SCANCODE_UP);
    key(SDL_KEYDOWN, SDL_SCANCODE_LEFT);
    key(SDL_KEYDOWN, SDL_SCANCODE_PAGEDOWN);
    wheel(1);
    wheel(-1, true);  // a flipped wheel reports up as down
    key(SDL_KEYDOWN, SDL_SCANCODE_APPLICATION);
    EXPECT_EQ(left.keys,
              (std::vector<std::string>{"back", "press1", "press1", "release1", "press3", "press9", "press8", "press8",
                                        "menu"}));

    SDL_Event text{};
    text.type = SDL_TEXTINPUT;
    std::strcpy(text.text.text, "h\xC3\xA9");
    dispatchSdlEvent(text, view, mouse);
    key(SDL_KEYDOWN, SDL_SCANCODE_RETURN);
    key(SDL_KEYDOWN, SDL_SCANCODE_BACKSPACE);
    key(SDL_KEYDOWN, SDL_SCANCODE_BACKSPACE, true);
    EXPECT_EQ(left.typed, (std::vector<std::string>{"h\xC3\xA9", "\n", "<del>", "<del>"}));
    EXPECT_EQ(left.keys.back(), "char233");
}

TEST_F(SdlEventMapping, HeldKeysShowInTheKeyState)
{
    key(SDL_KEYDOWN, SDL_SCANCODE_RALT);
    key(SDL_KEYDOWN, SDL_SCANCODE_SPACE);
    EXPECT_TRUE(view->isKeyDown(kCCKeyAlt));
    EXPECT_TRUE(view->isKeyDown(kCCKeySpace));
    key(SDL_KEYUP, SDL_SCANCODE_RALT);
    EXPECT_FALSE(view->isKeyDown(kCCKeyAlt));
    EXPECT_TRUE(view->isKeyDown(kCCKeySpace));
    EXPECT_EQ(keyCodeForScancode(SDL_SCANCODE_KP_ENTER), kCCKeyEnter);
    EXPECT_EQ(keyCodeForScancode(SDL_SCANCODE_A), 0);
}

}  // namespace
