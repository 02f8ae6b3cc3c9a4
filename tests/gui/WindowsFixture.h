#pragma once
// The modal windows' fixture: the toolkit's scene on a clean game, with the
// popup, keyboard, progress bar and rate popup made new for each test, and a
// count of the sounds played.
#include <string>

#include "GuiFixture.h"
#include "SimpleAudioEngine.h"
#include "gui/ScreenUtils.h"
#include "gui/GUIKeyboard.h"
#include "gui/GUIPopup.h"
#include "gui/GUIProgressBar.h"
#include "gui/GUIRate.h"
#include "support/CleanGame.h"

namespace guitest {

inline void resetModalWindows()
{
    GUIPopup::resetInstanceForTests();
    GUIKeyboard::resetInstanceForTests();
    GUIProgressBar::resetInstanceForTests();
    GUIRate::resetInstanceForTests();
    ScreenUtils::clearKeyboardBindingForTests();
}

class ModalTest : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        testsupport::resetGame();
        resetModalWindows();
        CocosDenshion::SimpleAudioEngine::sharedEngine()->clearRecordedCalls();
    }
    void TearDown() override
    {
        resetModalWindows();
        GuiTest::TearDown();
    }
    static int sounds(const std::string& name)
    {
        int count = 0;
        for (const auto& call : CocosDenshion::SimpleAudioEngine::sharedEngine()->recordedCalls())
            if (call.operation == "playEffect" && call.path.find(name) != std::string::npos)
                ++count;
        return count;
    }
    static GUIWindow* current() { return ScreenUtils::getInstance()->getCurrentWindow(); }
    // A plain window in the scene, as a menu or a window an answer opens.
    GUIWindow* addWindow()
    {
        auto* window = new GUIWindow();
        window->initWithSize(cocos2d::CCSize(800, 200));
        window->autorelease();
        scene()->addChild(window);
        return window;
    }
};

}  // namespace guitest
