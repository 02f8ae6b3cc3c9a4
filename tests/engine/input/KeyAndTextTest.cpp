// Keys, the wheel, typed text and the input-method delegate, key state.
#include <cstdlib>

#include "engine/director/DirectorFixture.h"

USING_NS_CC;
using namespace enginetest;

namespace {

class Keys : public CCKeypadDelegate {
public:
    Keys(std::vector<std::string>* log, std::string name) : m_log(log), m_name(std::move(name)) { }
    void keyBackClicked() override { note("back"); }
    void keyMenuClicked() override { note("menu"); }
    void keyArrowPressed(int code) override { note("press " + std::to_string(code)); }
    void keyArrowReleased(int code) override { note("release " + std::to_string(code)); }
    void keyBoardChar(int cp) override { note("char " + std::to_string(cp)); }
    void note(const std::string& what) { m_log->push_back(m_name + " " + what); }

private:
    std::vector<std::string>* m_log;
    std::string m_name;
};

class Field : public CCIMEDelegate {
public:
    void insertText(const char* text, int len) override { typed.append(text, len); }
    void deleteBackward() override
    {
        if (!typed.empty()) {
            typed.pop_back();
        }
    }
    bool canAttachWithIME() override { return attachable; }
    std::string typed;
    bool attachable = true;
};

class KeyAndTextTest : public DirectorTest {
protected:
    void SetUp() override
    {
        DirectorTest::SetUp();
        view = CCEGLView::sharedOpenGLView();
        keypad = director->getKeypadDispatcher();
    }
    CCEGLView* view = nullptr;
    CCKeypadDispatcher* keypad = nullptr;
    std::vector<std::string> log;
};

}  // namespace

TEST_F(KeyAndTextTest, KeysReachEveryDelegateInRegistrationOrder)
{
    Keys adapter(&log, "adapter");
    Keys window(&log, "window");
    keypad->addDelegate(&adapter);
    keypad->addDelegate(&window);
    keypad->addDelegate(&adapter);  // ignored

    view->simulateKey(kCCKeyBack, true);
    view->simulateKey(kCCKeyBack, true, true);  // auto-repeat of back is ignored
    view->simulateKey(kCCKeyBack, false);
    view->simulateKey(kCCKeyUp, true);
    view->simulateKey(kCCKeyUp, true, true);  // arrows repeat
    view->simulateKey(kCCKeyUp, false);
    EXPECT_EQ(log,
              (std::vector<std::string>{"adapter back", "window back", "adapter press 1", "window press 1",
                                        "adapter press 1", "window press 1", "adapter release 1", "window release 1"}));
    keypad->removeAllDelegates();
}

TEST_F(KeyAndTextTest, AKeypadEnabledLayerHearsKeysOnlyWhileRunning)
{
    struct BackLayer : public CCLayer {
        int backs = 0;
        void keyBackClicked() override { ++backs; }
    };
    CCScene* scene = runScene();
    BackLayer* layer = new BackLayer();
    layer->init();
    layer->autorelease();
    layer->setKeypadEnabled(true);
    view->simulateKey(kCCKeyBack, true);
    scene->addChild(layer);
    view->simulateKey(kCCKeyBack, true);
    layer->retain();
    layer->removeFromParent();
    view->simulateKey(kCCKeyBack, true);
    EXPECT_EQ(layer->backs, 1);
    EXPECT_FALSE(keypad->isRegistered(layer));
    layer->release();
}

TEST_F(KeyAndTextTest, ArrowPageAndWheelCodes)
{
    Keys k(&log, "k");
    keypad->addDelegate(&k);
    for (int key : {kCCKeyUp, kCCKeyDown, kCCKeyLeft, kCCKeyRight, kCCKeyPageUp, kCCKeyPageDown}) {
        view->simulateKey(key, true);
    }
    view->simulateKey(kCCKeyMenu, true);
    view->simulateKey(kCCKeySpace, true);  // state only
    view->simulateWheel(2);
    view->simulateWheel(-1);
    EXPECT_EQ(log,
              (std::vector<std::string>{"k press 1", "k press 2", "k press 3", "k press 4", "k press 8", "k press 9",
                                        "k menu", "k press 8", "k press 8", "k press 9"}));
    keypad->removeDelegate(&k);
}

TEST_F(KeyAndTextTest, ADelegateRemovedDuringADispatchGetsNothingMore)
{
    struct Remover : public Keys {
        using Keys::Keys;
        CCKeypadDispatcher* keypad = nullptr;
        CCKeypadDelegate* victim = nullptr;
        void keyBackClicked() override
        {
            Keys::keyBackClicked();
            keypad->removeDelegate(victim);
        }
    };
    Remover first(&log, "first");
    Keys second(&log, "second");
    first.keypad = keypad;
    first.victim = &second;
    keypad->addDelegate(&first);
    keypad->addDelegate(&second);
    view->simulateKey(kCCKeyBack, true);
    EXPECT_EQ(log, (std::vector<std::string>{"first back"}));
    EXPECT_FALSE(keypad->isRegistered(&second));
    keypad->removeAllDelegates();
}

TEST_F(KeyAndTextTest, OnlyTheLastAttachedDelegateGetsText)
{
    Field a;
    Field b;
    EXPECT_TRUE(a.attachWithIME());
    EXPECT_TRUE(b.attachWithIME());
    EXPECT_TRUE(b.attachWithIME()) << "attaching again changes nothing";
    view->simulateText("hi");
    EXPECT_EQ(a.typed, "");
    EXPECT_EQ(b.typed, "hi");
    EXPECT_FALSE(a.detachWithIME()) << "not attached";
    EXPECT_EQ(CCIMEDispatcher::sharedDispatcher()->getAttachedDelegate(), &b);

    Field refuses;
    refuses.attachable = false;
    EXPECT_FALSE(refuses.attachWithIME());
    EXPECT_EQ(CCIMEDispatcher::sharedDispatcher()->getAttachedDelegate(), &b);

    {
        Field shortLived;
        shortLived.attachWithIME();
    }
    EXPECT_EQ(CCIMEDispatcher::sharedDispatcher()->getAttachedDelegate(), nullptr) << "destroyed: detached";
    view->simulateText("lost");  // nobody attached: harmless

    // A keyboard that is an object and lets go of itself on Enter is kept
    // alive until its handler returns.
    struct ClosingKeyboard : public CCObject, public Field {
        void insertText(const char* text, int len) override
        {
            release();
            Field::insertText(text, len);
        }
    };
    ClosingKeyboard* closing = new ClosingKeyboard();
    closing->attachWithIME();
    view->simulateKey(kCCKeyEnter, true);
    EXPECT_EQ(CCIMEDispatcher::sharedDispatcher()->getAttachedDelegate(), nullptr) << "deleted once the call returned";
}

TEST_F(KeyAndTextTest, EnterTypesANewlineAndBackspaceDeletes)
{
    Field keyboard;
    keyboard.attachWithIME();
    Keys k(&log, "k");
    keypad->addDelegate(&k);
    view->simulateText("ab");
    view->simulateKey(kCCKeyEnter, true);
    view->simulateKey(kCCKeyEnter, true, true);  // a held Enter submits once
    view->simulateText("c\xC3\xA9");             // c, e acute
    view->simulateKey(kCCKeyBackspace, true);
    view->simulateKey(kCCKeyBackspace, true, true);  // repeats delete too
    view->simulateKey(kCCKeyBackspace, false);
    EXPECT_EQ(keyboard.typed, "ab\nc");
    EXPECT_EQ(log, (std::vector<std::string>{"k char 97", "k char 98", "k char 99", "k char 233"}));
    keypad->removeDelegate(&k);
    keyboard.detachWithIME();
}

TEST_F(KeyAndTextTest, KeyStateFollowsSimulatedKeysAndSetKeyDown)
{
    EXPECT_FALSE(view->isKeyDown(kCCKeyAlt));
    view->setKeyDown(kCCKeyAlt, true);
    EXPECT_TRUE(view->isKeyDown(kCCKeyAlt));
    view->simulateKey(kCCKeyLeft, true);
    view->simulateKey(kCCKeySpace, true);
    EXPECT_TRUE(view->isKeyDown(kCCKeyLeft));
    EXPECT_TRUE(view->isKeyDown(kCCKeySpace));
    view->simulateKey(kCCKeyLeft, false);
    EXPECT_FALSE(view->isKeyDown(kCCKeyLeft));
    EXPECT_EQ(kCCKeyAlt, 18);
    EXPECT_EQ(kCCKeySpace, 32);
    EXPECT_EQ(kCCKeyLeft, 37);
    EXPECT_EQ(kCCKeyUp, 38);
    EXPECT_EQ(kCCKeyRight, 39);
    EXPECT_EQ(kCCKeyDown, 40);
}
