// The progress popup (speeds, the 40 s time-out, results and failure), the
// rate popup (stars from the server's value, what confirming sends) and the
// modal-panel builder they share.
#include <cmath>

#include "WindowsFixture.h"
#include "base/LocalUtils.h"
#include "gui/GUIButton.h"
#include "base/ScreenMetrics.h"
#include "gui/GUILabel.h"
#include "gui/GUIPopup.h"
#include "gui/GUIModalPanel.h"
#include "hud/GUI.h"
#include "screens/GUINameInput.h"

USING_NS_CC;
using guitest::Counter;
using guitest::Held;
using guitest::ModalTest;

class Progress : public ModalTest {
protected:
    GUIProgressBar* bar() { return GUIProgressBar::getInstance(); }
    // Runs frames until the display stops moving or n frames have passed.
    std::vector<float> framesOf(int n)
    {
        std::vector<float> shown;
        for (int i = 0; i < n; ++i) {
            stepFrames(1);
            shown.push_back(bar()->getDisplayedProgress());
        }
        return shown;
    }
};

TEST_F(Progress, TheDisplayMovesOnePerFrameOrTenWithFastFillAndNeverPastItsTarget)
{
    ScreenUtils::showUploadProgress();
    ASSERT_TRUE(bar()->getParent());
    EXPECT_EQ(current(), bar());
    bar()->setTargetProgress(30);
    EXPECT_EQ(framesOf(3), (std::vector<float>{1, 2, 3}));
    stepFrames(40);
    EXPECT_FLOAT_EQ(bar()->getDisplayedProgress(), 30);
    // Backwards one step per frame.
    bar()->setTargetProgress(27);
    EXPECT_EQ(framesOf(4), (std::vector<float>{29, 28, 27, 27}));
    // 27 towards 30 at ten per frame lands on 30 and stays.
    bar()->setFastFill(true);
    bar()->setTargetProgress(30);
    EXPECT_EQ(framesOf(3), (std::vector<float>{30, 30, 30}));
    bar()->setTargetProgress(7);
    EXPECT_EQ(framesOf(4), (std::vector<float>{20, 10, 7, 7}));
}

// The time-out itself, with a request pending, is the name screen's test.
TEST_F(Progress, AStartedBarRunsOutAfterFortySecondsAndTimesOutNothingNotPending)
{
    // The name screen only receives the bar's end here; it stays out of the
    // scene so that its own entry does not move the game on.
    GUINameInput* screen = GUINameInput::create();
    screen->retain();
    ScreenUtils::showProgress(screen);
    EXPECT_EQ(bar()->getCaptionLabel()->getText()->getString(), "");
    stepSeconds(39.0f, 0.1f);
    EXPECT_LT(bar()->getDisplayedProgress(), 100);
    EXPECT_EQ(sounds("sfx_gui_loading"), 0);
    stepSeconds(1.2f, 0.1f);
    stepFrames(5);
    EXPECT_FLOAT_EQ(bar()->getDisplayedProgress(), 100);
    EXPECT_EQ(sounds("sfx_gui_loading"), 1);
    EXPECT_FALSE(log.contains("timeout"));
    EXPECT_FALSE(bar()->isFailed());
    bar()->onOkPressed();
    stepSeconds(0.4f);
    EXPECT_EQ(bar()->getParent(), nullptr);
    EXPECT_EQ(current(), nullptr);
    screen->release();
}

TEST_F(Progress, AnEmptyResultClosesAtOnceAndATextWaitsForOk)
{
    struct Case {
        const char* result;
        bool waits;
    };
    for (const Case& c : {Case{"", false}, Case{"Uploaded", true}}) {
        SCOPED_TRACE(c.result);
        Held<Counter> done;
        ScreenUtils::showUploadProgress();
        bar()->setResultText(CCString::create(c.result));
        bar()->setCompletedCallback(done.get(), callfunc_selector(Counter::hit));
        ScreenUtils::completeProgress();
        stepFrames(12);
        EXPECT_EQ(done->count, 1);
        EXPECT_EQ(bar()->getOkButton()->isVisible(), c.waits);
        stepSeconds(0.4f);
        EXPECT_EQ(bar()->getParent() != nullptr, c.waits);
        if (c.waits) {
            EXPECT_EQ(bar()->getCaptionLabel()->getText()->getString(), "Uploaded");
            bar()->onOkPressed();
            stepSeconds(0.4f);
        }
        EXPECT_EQ(bar()->getParent(), nullptr);
    }
}

TEST_F(Progress, AFailureTurnsTheFillRedRunsTheFailureCallbackAndPlaysTheError)
{
    Held<Counter> failed, done;
    ScreenUtils::showUploadProgress();
    bar()->setCompletedCallback(done.get(), callfunc_selector(Counter::hit));
    bar()->setFailedCallback(failed.get(), callfunc_selector(Counter::hit));
    bar()->setTargetProgress(40);
    stepFrames(45);
    bar()->setResultText(CCString::create("NetError1"));
    ScreenUtils::showProgressFailure();
    CCSprite* fill = bar()->getBarFill();
    EXPECT_EQ(fill->getTextureRect().size.width, 122 * 0.4f);
    stepFrames(10);
    EXPECT_FLOAT_EQ(bar()->getBarEnd()->getPosition().x, GUIProgressBar::kBarX + 122 * 0.5f);
    stepFrames(60);
    EXPECT_EQ(failed->count, 1);
    EXPECT_EQ(done->count, 0);
    EXPECT_EQ(sounds("sfx_gui_error"), 1);
    EXPECT_EQ(sounds("sfx_gui_loading"), 0);
    EXPECT_FLOAT_EQ(bar()->getBarFill()->getTextureRect().size.width, 122);
}

TEST_F(Progress, OpeningAgainWhileShownChangesNothingAndTheBackKeyDoesNothing)
{
    Held<Counter> done;
    ScreenUtils::showUploadProgress();
    bar()->setTargetProgress(50);
    stepFrames(10);
    ScreenUtils::showProgress(done.get());
    ScreenUtils::showUploadProgress();
    EXPECT_FLOAT_EQ(bar()->getDisplayedProgress(), 10);
    EXPECT_FLOAT_EQ(bar()->getTargetProgress(), 50);
    // The key stops at the bar, not at what is under it, and changes nothing.
    EXPECT_EQ(BackButtonAdapter::getInstance()->frontListener(), bar());
    BackButtonAdapter::getInstance()->keyBackClicked();
    EXPECT_TRUE(bar()->getParent());
    EXPECT_FLOAT_EQ(bar()->getTargetProgress(), 50);
}

// Once the result shows with OK, the back key answers it as OK does; while
// the bar runs it does nothing.
TEST_F(Progress, TheBackKeyAnswersAFinishedBarAsItsOk)
{
    for (const bool failed : {false, true}) {
        GUIWindow* menu = addWindow();
        ScreenUtils::getInstance()->setCurrentWindow(menu);
        ScreenUtils::showUploadProgress();
        bar()->setResultText(CCString::create("Said"));
        failed ? ScreenUtils::showProgressFailure() : ScreenUtils::completeProgress();
        for (const bool finished : {false, true}) {
            stepFrames(finished ? 100 : 2);
            EXPECT_EQ(bar()->getOkButton()->isVisible(), finished) << failed;
            BackButtonAdapter::getInstance()->keyBackClicked();
            stepSeconds(0.4f);
            EXPECT_EQ(bar()->getParent() == nullptr, finished) << failed;
        }
        EXPECT_EQ(current(), menu) << failed;
        menu->removeFromParent();
    }
}

TEST_F(Progress, CallsOnABarNeverBuiltTouchNoMissingNode)
{
    GUIProgressBar* fresh = bar();
    ScreenUtils::showProgressFailure();
    ScreenUtils::completeProgress();
    fresh->setCaption(CCString::create("x"));
    fresh->update(0);
    fresh->onOkPressed();
    stepSeconds(0.4f);
    EXPECT_FLOAT_EQ(fresh->getTargetProgress(), 100);
    EXPECT_TRUE(fresh->getFastFill());
    EXPECT_TRUE(fresh->isFailed());
}

// --- rate popup ----------------------------------------------------------------

class Rate : public ModalTest {
protected:
    GUIRate* rate() { return GUIRate::getInstance(); }
    std::vector<bool> lit()
    {
        std::vector<bool> stars;
        for (int i = 0; i < GUIRate::kStars; ++i)
            stars.push_back(rate()->starLit(i));
        return stars;
    }
};

TEST_F(Rate, TheServersValueLightsItsFloorHeldToTheFiveStars)
{
    // The log names the stars the lit ones send (0 for none).
    struct Case {
        float value;
        int lit;
        const char* sent;
    };
    const Case cases[] = {
        {2.7f, 3, "3"},  {0.0f, 1, "1"},   {-0.5f, 0, "0"},         {4.5f, 5, "5"},
        {1e30f, 5, "5"}, {-1e30f, 0, "0"}, {std::nanf(""), 0, "0"}, {INFINITY, 5, "5"},
    };
    Held<GUI> gui;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        log.clear();
        ScreenUtils::showRatePopup(c.value, gui.get());
        ASSERT_EQ(rate()->getParent(), scene());
        EXPECT_EQ(current(), rate());
        int count = 0;
        for (bool on : lit())
            count += on;
        EXPECT_EQ(count, c.lit);
        rate()->confirm();
        EXPECT_TRUE(log.contains(std::string("rating ") + c.sent + " of online world"));
        stepSeconds(0.4f);
        EXPECT_EQ(rate()->getParent(), nullptr);
        EXPECT_FALSE(GUIPopup::getInstance()->isShown()) << "no gallery world: nothing sent, nothing said";
        EXPECT_EQ(current(), nullptr);
    }
}

TEST_F(Rate, TappingTheFourthStarSendsFourOnTheTickAndTheBackKeySendsNothing)
{
    Held<GUI> gui;
    for (bool tick : {false, true}) {
        SCOPED_TRACE(tick ? "tick" : "back key");
        log.clear();
        CocosDenshion::SimpleAudioEngine::sharedEngine()->clearRecordedCalls();
        ScreenUtils::showRatePopup(0, gui.get());
        executeAction(rate()->getStar(3)->getCallback());
        EXPECT_EQ(lit(), (std::vector<bool>{true, true, true, true, false}));
        EXPECT_EQ(BackButtonAdapter::getInstance()->frontListener(), rate());
        stepSeconds(GUIWindow::kOpeningSeconds);
        if (tick)
            executeAction(rate()->getTickButton()->getCallback());
        else
            BackButtonAdapter::getInstance()->onBackPressed();
        EXPECT_EQ(log.contains("rating 4 of online world"), tick);
        EXPECT_EQ(sounds("sfx_gui_next"), tick ? 1 : 0);
        EXPECT_NE(BackButtonAdapter::getInstance()->frontListener(), rate());
        stepSeconds(0.4f);
        EXPECT_EQ(rate()->getParent(), nullptr) << "either way the popup goes";
    }
}

// The rating's answer may open its message while the popup still fades, and
// the popup may be built again while it is up (two answers of the details):
// the window it came from takes touches again once both have gone.
TEST_F(Rate, TheWindowItCameFromIsCurrentAgainAfterAMessageOpenedWhileItFades)
{
    Held<GUI> gui;
    GUIWindow* menu = addWindow();
    for (bool twice : {false, true}) {
        SCOPED_TRACE(twice ? "built twice" : "built once");
        ScreenUtils::getInstance()->setCurrentWindow(menu);
        ScreenUtils::showRatePopup(2, gui.get());
        if (twice)
            ScreenUtils::showRatePopup(3, gui.get());
        rate()->confirm();
        ScreenUtils::showPopup(CCString::create("Thanks"), nullptr, nullptr, nullptr, nullptr, GUIPopup::Message);
        stepSeconds(0.4f);
        EXPECT_EQ(rate()->getParent(), nullptr);
        EXPECT_EQ(current(), GUIPopup::getInstance()) << "the message keeps its place";
        GUIPopup::getInstance()->onOkPressed();
        stepSeconds(0.4f);
        EXPECT_EQ(current(), menu);
    }
}

TEST_F(Rate, OpeningAgainKeepsOneDimmingAndOneAttachment)
{
    Held<GUI> gui;
    ScreenUtils::showRatePopup(1, gui.get());
    ScreenUtils::showRatePopup(2, gui.get());
    int layers = 0;
    for (CCObject* child : *rate()->getChildren())
        layers += dynamic_cast<CCLayerColor*>(child) != nullptr;
    EXPECT_EQ(layers, 1);
    int attached = 0;
    for (CCObject* child : *scene()->getChildren())
        attached += child == rate();
    EXPECT_EQ(attached, 1);
    // Built again, it still gives back the window before it: none.
    rate()->confirm();
    stepSeconds(0.4f);
    EXPECT_EQ(current(), nullptr);
}

// --- the modal-panel builder both popups stand on ---------------------------------

using ModalBuilder = ModalTest;

TEST_F(ModalBuilder, BothPopupsGetTheirPanelAndOkButtonFromIt)
{
    Held<GUI> gui;
    ScreenUtils::showUploadProgress();
    ScreenUtils::showRatePopup(2, gui.get());
    struct Case {
        GUIWindow* popup;
        GUIButton* ok;
    };
    for (const Case& c : {Case{GUIProgressBar::getInstance(), GUIProgressBar::getInstance()->getOkButton()},
                          Case{GUIRate::getInstance(), GUIRate::getInstance()->getTickButton()}}) {
        ASSERT_NE(c.ok, nullptr);
        CCNode* panel = c.popup->getButtonContainer();
        ASSERT_NE(panel, nullptr);
        EXPECT_FLOAT_EQ(panel->getScale(), static_cast<float>(4.0 * screenRatio));
        EXPECT_EQ(c.ok->getParent(), panel);
        EXPECT_TRUE(c.ok->getActivateDelayed());
        EXPECT_EQ(c.ok->getAnchorPoint().y, 0.5f);
        // The icon within the button, the tick of the rate popup too.
        ASSERT_NE(c.ok->getIcon(), nullptr);
        const CCRect icon = c.ok->getIcon()->boundingBox();
        EXPECT_GE(icon.getMinX(), 0);
        EXPECT_LE(icon.getMaxX(), c.ok->getContentSize().width);
        int dimmings = 0;
        for (CCObject* child : *c.popup->getChildren())
            dimmings += dynamic_cast<CCLayerColor*>(child) != nullptr;
        EXPECT_EQ(dimmings, 1);
    }
}

TEST_F(ModalBuilder, AMissingSheetOrFrameAddsNothing)
{
    CCNode* window = CCNode::create();
    EXPECT_EQ(addModalSheet(window, "NoSuchSheet"), nullptr);
    EXPECT_EQ(window->getChildrenCount(), 0u);
    CCSpriteBatchNode* sheet = addModalSheet(window, "GUIRate");
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->getZOrder(), 1);
    EXPECT_EQ(addModalPanel(sheet, "NoSuchSheet", CCPointZero), nullptr);
    EXPECT_EQ(sheet->getChildrenCount(), 0u);
}
