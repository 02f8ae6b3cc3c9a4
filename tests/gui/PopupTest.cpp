// The shared popup: opening, answering, closing, the window it gives back,
// the purchase kind and the level hints chain on their real delays.
#include <cmath>
#include <fstream>
#include <functional>
#include <vector>

#include "WindowsFixture.h"
#include "base/ScreenMetrics.h"
#include "profile/Profile.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "hud/GUIAchievement.h"
#include "support/Readability.h"

USING_NS_CC;
using guitest::Counter;
using guitest::Held;
using guitest::ModalTest;

namespace {

std::string textOf(GUILabel* label)
{
    return label && label->getText() ? label->getText()->getString() : std::string("<none>");
}

}  // namespace

class Popup : public ModalTest {
protected:
    GUIPopup* popup() { return GUIPopup::getInstance(); }
    // Past the 0.3 s close.
    void closeFully() { stepSeconds(0.35f); }
    // A plain window in the scene that is current.
    GUIWindow* currentWindowInScene()
    {
        auto* window = new GUIWindow();
        window->initWithSize(CCSize(800, 200));
        window->autorelease();
        scene()->addChild(window);
        ScreenUtils::getInstance()->setCurrentWindow(window);
        return window;
    }
};

TEST_F(Popup, AnOpenerShowsThePopupAtZ200AsTheCurrentWindowAndDropsRequestsWhileShown)
{
    Held<Counter> first, second;
    ScreenUtils::showPopup(CCString::create("Sure?"), first.get(), callfunc_selector(Counter::hit), nullptr, nullptr,
                           GUIPopup::Confirm);
    ASSERT_EQ(popup()->getParent(), scene());
    EXPECT_EQ(popup()->getZOrder(), 200);
    EXPECT_EQ(current(), popup());
    EXPECT_EQ(textOf(popup()->getMessageLabel()), "Sure?");
    EXPECT_EQ(sounds("sfx_gui_modal"), 1);

    ScreenUtils::showPopup(CCString::create("Other"), second.get(), callfunc_selector(Counter::hit), nullptr, nullptr,
                           GUIPopup::Message);
    ScreenUtils::showOfflinePopup();
    EXPECT_EQ(textOf(popup()->getMessageLabel()), "Sure?");
    EXPECT_NE(popup()->getCancelButton(), nullptr);

    popup()->onOkPressed();
    stepSeconds(0.2f);
    // Still there until the close has run: a request now is dropped too.
    ScreenUtils::showPopup(CCString::create("Other"), second.get(), callfunc_selector(Counter::hit), nullptr, nullptr,
                           GUIPopup::Message);
    EXPECT_EQ(popup()->getParent(), scene());
    closeFully();
    EXPECT_EQ(popup()->getParent(), nullptr);
    EXPECT_EQ(first->count, 1);
    EXPECT_EQ(second->count, 0);
    EXPECT_EQ(current(), nullptr);

    ScreenUtils::showPopup(CCString::create("Other"), nullptr, nullptr, nullptr, nullptr, GUIPopup::Message);
    EXPECT_EQ(textOf(popup()->getMessageLabel()), "Other");
    EXPECT_EQ(popup()->getCancelButton(), nullptr);
}

TEST_F(Popup, EachAnswerRunsItsOwnActionOnlyAfterTheClose)
{
    struct Case {
        const char* name;
        int kind;
        bool okAction;
        bool cancelAction;
        void (GUIPopup::*press)();
        int okRuns;
        int cancelRuns;
        const char* sound;  // null: none of next/back
    };
    const Case cases[] = {
        {"ok", GUIPopup::Confirm, true, true, &GUIPopup::onOkPressed, 1, 0, "sfx_gui_next"},
        {"cancel", GUIPopup::Confirm, true, true, &GUIPopup::onCancelPressed, 0, 1, "sfx_gui_back"},
        {"cancel without action", GUIPopup::Confirm, true, false, &GUIPopup::onCancelPressed, 0, 0, "sfx_gui_back"},
        {"message ok without action", GUIPopup::Message, false, false, &GUIPopup::onOkPressed, 0, 0, "sfx_gui_next"},
        {"back key", GUIPopup::Confirm, true, true, &GUIPopup::onBackPressed, 0, 0, nullptr},
        {"static confirm ok", GUIPopup::StaticConfirm, true, true, &GUIPopup::onOkPressed, 1, 0, "sfx_gui_next"},
        {"disclaimer cancel", GUIPopup::Disclaimer, true, true, &GUIPopup::onCancelPressed, 0, 1, "sfx_gui_back"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Held<Counter> ok, cancel;
        CocosDenshion::SimpleAudioEngine::sharedEngine()->clearRecordedCalls();
        ScreenUtils::showPopup(CCString::create("Q"), c.okAction ? ok.get() : nullptr, callfunc_selector(Counter::hit),
                               c.cancelAction ? cancel.get() : nullptr, callfunc_selector(Counter::hit), c.kind);
        ASSERT_TRUE(popup()->isShown());
        stepSeconds(GUIWindow::kOpeningSeconds);
        (popup()->*c.press)();
        EXPECT_EQ(ok->count + cancel->count, 0);
        closeFully();
        EXPECT_FALSE(popup()->isShown());
        EXPECT_EQ(ok->count, c.okRuns);
        EXPECT_EQ(cancel->count, c.cancelRuns);
        EXPECT_EQ(sounds("sfx_gui_next") + sounds("sfx_gui_back"), c.sound ? 1 : 0);
        if (c.sound) {
            EXPECT_EQ(sounds(c.sound), 1);
        }
    }
}

TEST_F(Popup, OnceClosingHasBegunFurtherPressesAndTheBackKeyAreIgnored)
{
    Held<Counter> ok, cancel;
    ScreenUtils::showPopup(CCString::create("Q"), ok.get(), callfunc_selector(Counter::hit), cancel.get(),
                           callfunc_selector(Counter::hit), GUIPopup::Confirm);
    popup()->onCancelPressed();
    stepSeconds(0.1f);
    popup()->onOkPressed();
    popup()->onBackPressed();
    closeFully();
    EXPECT_EQ(cancel->count, 1);
    EXPECT_EQ(ok->count, 0);
    EXPECT_EQ(sounds("sfx_gui_next"), 0);
}

TEST_F(Popup, AKindOutsideZeroToFiveIsRefusedWithALogLine)
{
    GUIWindow* window = currentWindowInScene();
    for (int kind : {-1, 6, 99}) {
        ScreenUtils::showPopup(CCString::create("Q"), nullptr, nullptr, nullptr, nullptr, kind);
        EXPECT_FALSE(popup()->isShown()) << kind;
        EXPECT_EQ(current(), window) << kind;
    }
    EXPECT_TRUE(log.contains("no popup of kind"));
    EXPECT_FALSE(popup()->build(6, nullptr));
}

TEST_F(Popup, TheCurrentWindowIsGivenBackButNeverThePopupItselfNorAWindowThatLeft)
{
    // The window that was current comes back.
    GUIWindow* window = currentWindowInScene();
    ScreenUtils::showPopup(CCString::create("Q"), nullptr, nullptr, nullptr, nullptr, GUIPopup::Message);
    EXPECT_EQ(popup()->getPreviousWindow(), window);
    popup()->onOkPressed();
    closeFully();
    EXPECT_EQ(current(), window);

    // A stale current window that is the popup: nothing to give back.
    ScreenUtils::getInstance()->setCurrentWindow(popup());
    ScreenUtils::showPopup(CCString::create("Q"), nullptr, nullptr, nullptr, nullptr, GUIPopup::Message);
    EXPECT_EQ(popup()->getPreviousWindow(), nullptr);
    popup()->onOkPressed();
    closeFully();
    EXPECT_EQ(current(), nullptr);

    // A window that leaves the scene while the popup is shown is not made
    // current again.
    window = currentWindowInScene();
    ScreenUtils::showPopup(CCString::create("Q"), nullptr, nullptr, nullptr, nullptr, GUIPopup::Message);
    window->removeFromParentAndCleanup(true);
    popup()->onOkPressed();
    closeFully();
    EXPECT_EQ(current(), nullptr);
}

namespace {

// A pending action that opens the next popup at once or after a delay.
class Chainer : public CCObject {
public:
    void openNow()
    {
        ScreenUtils::showPopup(CCString::create("next"), nullptr, nullptr, nullptr, nullptr, GUIPopup::Message);
    }
    void openLater()
    {
        CCDirector::sharedDirector()->getRunningScene()->runAction(CCSequence::create(
            CCDelayTime::create(0.6f), CCCallFunc::create(this, callfunc_selector(Chainer::openNow)), nullptr));
    }
};

}  // namespace

// An answer that says something in a popup of its own (a failure) is
// shown, at once or after a delay.
TEST_F(Popup, APendingActionOpensAPopupAtOnceOrAfterADelay)
{
    Held<Chainer> chain;
    ScreenUtils::showPopup(CCString::create("first"), chain.get(), callfunc_selector(Chainer::openNow), nullptr,
                           nullptr, GUIPopup::Message);
    popup()->onOkPressed();
    closeFully();
    ASSERT_TRUE(popup()->isShown());
    EXPECT_EQ(textOf(popup()->getMessageLabel()), "next");
    EXPECT_EQ(current(), popup());
    popup()->onOkPressed();
    closeFully();
    EXPECT_FALSE(popup()->isShown());

    ScreenUtils::showPopup(CCString::create("first"), chain.get(), callfunc_selector(Chainer::openLater), nullptr,
                           nullptr, GUIPopup::Message);
    popup()->onOkPressed();
    closeFully();
    EXPECT_FALSE(popup()->isShown());
    stepSeconds(0.7f);
    ASSERT_TRUE(popup()->isShown());
    EXPECT_EQ(textOf(popup()->getMessageLabel()), "next");
}

TEST_F(Popup, ReopeningShowsTheFullPanelAndFadesTheDimmingInAndTheBackKeyReachesItFirst)
{
    ScreenUtils::showPopup(CCString::create("Q"), nullptr, nullptr, nullptr, nullptr, GUIPopup::Message);
    popup()->onOkPressed();
    EXPECT_FLOAT_EQ(popup()->getBatchNode()->getScale(), 0.0f);
    closeFully();
    EXPECT_EQ(BackButtonAdapter::getInstance()->listenerCount(), 0u);

    ScreenUtils::showPopup(CCString::create("Q"), nullptr, nullptr, nullptr, nullptr, GUIPopup::Message);
    EXPECT_FLOAT_EQ(popup()->getBatchNode()->getScale(), 1.0f);
    EXPECT_EQ(popup()->getDimming()->getOpacity(), 0);
    stepSeconds(0.15f);
    EXPECT_EQ(popup()->getDimming()->getOpacity(), 200);
    EXPECT_EQ(BackButtonAdapter::getInstance()->frontListener(), popup());
    stepSeconds(GUIWindow::kOpeningSeconds);
    BackButtonAdapter::getInstance()->onBackPressed();
    closeFully();
    EXPECT_FALSE(popup()->isShown());
}

// The press that opened a box, a double click's second press or a bouncing
// key never answer it: only a press that goes down once it is fully shown.
// A question whose OK throws away what the player keeps takes Return as
// its Cancel; a touch on its OK still confirms.
TEST_F(Popup, OnlyAPressThatWentDownOnceItWasFullyShownAnswersIt)
{
    CCDirector::sharedDirector()->getKeypadDispatcher()->addDelegate(BackButtonAdapter::getInstance());
    BackButtonAdapter::getInstance()->attachWithIME();
    CCEGLView* view = CCEGLView::sharedOpenGLView();
    enum Press { TapOk, HeldOverTheOpening, Return, Back };
    const float soon = 0.1f, shown = GUIWindow::kOpeningSeconds;
    const struct {
        const char* name;
        bool losing;
        Press press;
        float after;
        bool answered;
        int confirmed;
    } cases[] = {{"a tap on OK as it opens", false, TapOk, soon, false, 0},
                 {"OK pressed as it opens, released once shown", false, HeldOverTheOpening, soon, false, 0},
                 {"Return as it opens", false, Return, soon, false, 0},
                 {"the back key as it opens", false, Back, soon, false, 0},
                 {"a tap on OK once shown", false, TapOk, shown, true, 1},
                 {"Return once shown", false, Return, shown, true, 1},
                 {"Return on a question that loses the world", true, Return, shown, true, 0},
                 {"a tap on that question's OK", true, TapOk, shown, true, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Held<Counter> confirm;
        if (c.losing)
            ScreenUtils::showLosingQuestion(CCString::create("Delete?"), confirm.get(),
                                            callfunc_selector(Counter::hit));
        else
            ScreenUtils::showPopup(CCString::create("Sure?"), confirm.get(), callfunc_selector(Counter::hit), nullptr,
                                   nullptr, GUIPopup::Confirm);
        host()->window = popup();
        GUIButton* ok = popup()->getOkButton();
        const CCPoint at =
            ok->convertToWorldSpace(ccp(ok->getContentSize().width / 2, ok->getContentSize().height / 2));
        stepSeconds(c.after);
        switch (c.press) {
        case TapOk:
            touchDown(at.x, at.y);
            touchUp(at.x, at.y);
            break;
        case HeldOverTheOpening:
            touchDown(at.x, at.y);
            stepSeconds(shown);
            touchUp(at.x, at.y);
            break;
        case Return:
            view->simulateKey(kCCKeyEnter, true);
            view->simulateKey(kCCKeyEnter, false);
            break;
        case Back:
            view->simulateKey(kCCKeyBack, true);
            view->simulateKey(kCCKeyBack, false);
            break;
        }
        stepSeconds(0.5f);
        EXPECT_EQ(popup()->isShown(), !c.answered);
        EXPECT_EQ(confirm->count, c.confirmed);
        host()->window = nullptr;
        if (popup()->isShown()) {
            popup()->onCancelPressed();
            closeFully();
        }
    }
}

namespace {

// The window under the boxes: it counts the keys that reach it.
class KeyCounter : public GUIWindow {
public:
    void onBackPressed() override { ++keys; }
    void onTextTyped(const char*, int) override { ++keys; }
    int keys = 0;
};

}  // namespace

// Every box, by the same rule: a touch, Return or Escape that goes down
// before it is fully shown (a progress bar: before its OK has shown a
// moment) answers nothing through its release; pressed again it answers,
// and from then on the keys reach the window beneath, which is current once
// the box has gone unless a screen took the front meanwhile. The keyboard
// and the day-cleared board (come up over today's goals, as a skip brings
// it) keep the same rule for what they take: a key, a letter, Return, Next.
TEST_F(Popup, EveryBoxAnswersOnlyAPressMadeOnceShownAndThenGivesTheKeysBeneath)
{
    CCDirector::sharedDirector()->getKeypadDispatcher()->addDelegate(BackButtonAdapter::getInstance());
    BackButtonAdapter::getInstance()->attachWithIME();
    CCEGLView* view = CCEGLView::sharedOpenGLView();
    GUIProgressBar* bar = GUIProgressBar::getInstance();
    const auto waitFor = [this](const std::function<bool()>& state) {
        for (int frame = 0; frame < 300 && !state(); ++frame)
            stepFrames(1);
        return state();
    };
    const auto popupOf = [this](int kind) {
        return [this, kind]() -> GUIWindow* {
            popup()->setPurchaseInfo(CCString::create("T"), CCString::create("exclamation.png"), 10,
                                     CCString::create("D"));
            ScreenUtils::showPopup(CCString::create("Sure?"), nullptr, nullptr, nullptr, nullptr, kind);
            return popup();
        };
    };
    const auto barUp = [&]() -> GUIWindow* {
        ScreenUtils::showUploadProgress();
        bar->setResultText(CCString::create("Said"));
        return bar;
    };
    const auto barEnds = [&](bool failed) {
        return [&, failed] {
            failed ? ScreenUtils::showProgressFailure() : ScreenUtils::completeProgress();
            waitFor([&] { return bar->getOkButton()->isVisible(); });
        };
    };
    const auto ok = [this] { return popup()->getOkButton(); };
    const auto barOk = [&] { return bar->getOkButton(); };
    const auto nextPopupCancelled = [&] {
        waitFor([this] { return popup()->isShown() && !popup()->isClosing(); });
        popup()->onCancelPressed();
        waitFor([this] { return !popup()->isShown(); });
    };
    const auto keyboardUp = []() -> GUIWindow* {
        ScreenUtils::showKeyboard(GUILabel::create(), nullptr, nullptr);
        return GUIKeyboard::getInstance();
    };
    const auto typedOrAccepted = [] {
        GUIKeyboard* keyboard = GUIKeyboard::getInstance();
        return !keyboard->isActive() || keyboard->getText()->length() > 0;
    };
    const auto keyboardGone = [] {
        GUIKeyboard::resetInstanceForTests();
        ScreenUtils::getInstance()->setCurrentWindow(nullptr);
    };
    GUIAchievement* goals = GUIAchievement::create(screenSize);
    scene()->addChild(goals);
    const auto boardUp = [&]() -> GUIWindow* {
        goals->showTodayGoals();
        waitFor([&] { return goals->getState() == GUIWindow::Open; });
        goals->showDayCleared(nullptr, nullptr, nullptr, nullptr);
        return goals;
    };
    enum Press { Touch, Return, Escape, Letter };
    const std::vector<Press> anyPress = {Touch, Return, Escape};
    const struct {
        const char* name;
        std::function<GUIWindow*()> open;
        std::function<GUIButton*()> button;
        std::vector<Press> presses;
        std::function<void()> reveal;  // after the early press goes down
        std::function<void()> after;
        std::function<bool()> answered;  // a box's: it no longer awaits its answer
    } boxes[] = {
        {"a question", popupOf(GUIPopup::Confirm), ok, anyPress, nullptr, nullptr, nullptr},
        {"a purchase", popupOf(GUIPopup::Purchase), ok, anyPress, nullptr, nullptr, nullptr},
        {"a message", popupOf(GUIPopup::Message), ok, anyPress, nullptr, nullptr, nullptr},
        {"the disclaimer", popupOf(GUIPopup::Disclaimer), ok, anyPress, nullptr, nullptr, nullptr},
        {"the hints", popupOf(GUIPopup::Hints), ok, anyPress, nullptr, nullptr, nullptr},
        {"a hint picked",
         popupOf(GUIPopup::Hints),
         [this] { return dynamic_cast<GUIButton*>(popup()->getButtonContainer()->getChildByTag(99)); },
         {Touch},
         nullptr,
         nextPopupCancelled,
         nullptr},
        {"a static question", popupOf(GUIPopup::StaticConfirm), ok, anyPress, nullptr, nullptr, nullptr},
        {"a bar, pressed as its OK shows",
         [&] {
             barUp();
             barEnds(false)();
             return bar;
         },
         barOk, anyPress, nullptr, nullptr, nullptr},
        {"a failed bar, pressed as it runs", barUp, barOk, anyPress, barEnds(true), nullptr, nullptr},
        {"the stars",
         [] {
             ScreenUtils::showRatePopup(2, nullptr);
             return GUIRate::getInstance();
         },
         [] { return GUIRate::getInstance()->getTickButton(); }, anyPress, nullptr, nullptr, nullptr},
        {"the keyboard",
         keyboardUp,
         [] { return GUIKeyboard::getInstance()->keyWithCaption("q"); },
         {Touch, Return, Letter},
         nullptr,
         keyboardGone,
         typedOrAccepted},
        {"the day-cleared board",
         boardUp,
         [&] { return goals->getNextButton(); },
         {Touch},
         nullptr,
         [&] { ScreenUtils::getInstance()->setCurrentWindow(nullptr); },
         [&] { return goals->getBoardKind() != GUIAchievement::kDayCleared; }},
    };
    Profile::getInstance()->setGameMode(0);
    Profile::getInstance()->setDay(4);
    for (const auto& b : boxes) {
        for (const Press press : b.presses) {
            SCOPED_TRACE(std::string(b.name) +
                         (press == Touch        ? ", touch"
                              : press == Return ? ", Return"
                              : press == Escape ? ", Escape"
                                                : ", a letter"));
            // A box gives the keys to the window beneath once answered.
            KeyCounter* beneath = nullptr;
            if (!b.answered) {
                beneath = new KeyCounter();
                beneath->initWithSize(CCSize(800, 200));
                beneath->autorelease();
                scene()->addChild(beneath);
                beneath->open();
                ScreenUtils::getInstance()->setCurrentWindow(beneath);
            }
            GUIWindow* window = b.open();
            auto* box = dynamic_cast<GUIBox*>(window);
            host()->window = window;
            const auto answered = b.answered ? b.answered : [box] { return !box->awaitsAnswer(); };
            ASSERT_FALSE(answered());
            GUIButton* button = b.button();
            ASSERT_NE(button, nullptr);
            const CCPoint at = button->convertToWorldSpace(
                ccp(button->getContentSize().width / 2, button->getContentSize().height / 2));
            const int code = press == Return ? kCCKeyEnter : kCCKeyBack;
            const auto down = [&] {
                if (press == Touch)
                    touchDown(at.x, at.y);
                else if (press == Letter)
                    view->simulateText("q");
                else
                    view->simulateKey(code, true);
            };
            const auto up = [&] {
                if (press == Touch)
                    touchUp(at.x, at.y);
                else if (press != Letter)
                    view->simulateKey(code, false);
            };

            down();
            if (b.reveal)
                b.reveal();
            ASSERT_TRUE(waitFor([&] { return window->takesPresses(); }));
            if (press == Return || press == Escape)
                view->simulateKey(code, true, true);  // the held key repeats
            up();
            stepSeconds(0.1f);  // past a button's own delay
            EXPECT_FALSE(answered()) << "answered by a press made as it opened";

            down();
            up();
            EXPECT_TRUE(waitFor(answered)) << "a press once shown answers";
            if (box) {
                EXPECT_TRUE(box->getParent()) << "still fading";
                for (const int key : {kCCKeyBack, kCCKeyEnter}) {
                    view->simulateKey(key, true);
                    view->simulateKey(key, false);
                }
                EXPECT_EQ(beneath->keys, 2) << "the keys reach the window beneath at once";
                // A screen that takes the front meanwhile keeps it.
                const bool frontTaken = press == Escape;
                if (frontTaken)
                    ScreenUtils::getInstance()->setCurrentWindow(nullptr);
                EXPECT_TRUE(waitFor([&] { return !box->getParent(); }));
                EXPECT_EQ(current(), frontTaken ? nullptr : beneath);
            }

            host()->window = nullptr;
            if (b.after)
                b.after();
            if (beneath) {
                BackButtonAdapter::getInstance()->removeListener(beneath);
                ScreenUtils::getInstance()->setCurrentWindow(nullptr);
                beneath->removeFromParent();
            }
        }
    }
    goals->removeFromParent();
}

TEST_F(Popup, TheArgumentIsShownOnlyWhenItIsATextAndTheStaticOpenerChoosesItsKind)
{
    ScreenUtils::showPopup(CCInteger::create(5), nullptr, nullptr, nullptr, nullptr, GUIPopup::Message);
    EXPECT_EQ(textOf(popup()->getMessageLabel()), "");
    popup()->onOkPressed();
    closeFully();

    ScreenUtils::showPopupWithStaticCallback(CCString::create("/"), CCString::create("plain"));
    EXPECT_EQ(popup()->getKind(), GUIPopup::Message);
    popup()->onOkPressed();
    closeFully();

    ScreenUtils::showPopupWithStaticCallback(CCString::create("rate-later"), CCString::create("ask"));
    EXPECT_EQ(popup()->getKind(), GUIPopup::StaticConfirm);
    EXPECT_EQ(ScreenUtils::getStaticCallbackIdentifier()->getString(), "rate-later");
    popup()->onOkPressed();
    closeFully();
    EXPECT_FALSE(popup()->isShown());
}

// --- purchase --------------------------------------------------------------------

TEST_F(Popup, PurchasePicturesFollowThePrefixRuleAndElementsGetTheSpecialDeal)
{
    struct Case {
        const char* icon;
        bool picture;
        bool onPanel;
        bool specialDeal;
        float titleX;
    };
    const Case cases[] = {
        {"popups_exclamation.png", true, true, false, 47},
        {"exclamation.png", true, true, false, 47},  // prefixed
        {"element_Sand.png", true, true, true, 47},
        {"element_NoSuchElement.png", false, false, true, 47},  // no such frame
        {"pvr/popups.png", true, false, false, 68},             // a file
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.icon);
        log.clear();
        popup()->setPurchaseInfo(CCString::create("T"), CCString::create(c.icon), 10, CCString::create("D"));
        ScreenUtils::showPopup(nullptr, nullptr, nullptr, nullptr, nullptr, GUIPopup::Purchase);
        ASSERT_TRUE(popup()->isShown());
        CCSprite* image = popup()->getItemImage();
        EXPECT_EQ(image != nullptr, c.picture);
        if (image) {
            EXPECT_EQ(image->getParent() == popup()->getButtonContainer(), c.onPanel);
            EXPECT_EQ(image->getParent() == popup(), !c.onPanel);
        }
        if (!c.picture) {
            EXPECT_TRUE(log.contains("ERROR : Bad file name popups_element_NoSuchElement.png"));
        }
        EXPECT_EQ(popup()->getSpecialDealButton() != nullptr, c.specialDeal);
        if (GUIButton* deal = popup()->getSpecialDealButton()) {
            // Its caption stays on the ribbon.
            for (CCObject* child : *deal->getChildren()) {
                if (auto* caption = dynamic_cast<GUILabel*>(child)) {
                    EXPECT_LE(caption->getPosition().x + caption->getWidth() * caption->getScale(),
                              deal->getContentSize().width);
                }
            }
        }
        EXPECT_FLOAT_EQ(popup()->getTitleLabel()->getPosition().x, c.titleX);
        popup()->onCancelPressed();
        // The picture and the counter leave with the close.
        if (image) {
            EXPECT_EQ(image->getParent() == nullptr, !c.onPanel);
        }
        EXPECT_EQ(popup()->getManaCounter(), nullptr);
        closeFully();
    }
}

TEST_F(Popup, APurchaseTitleBreaksBetweenWordsNotInsideAName)
{
    // Each title's breaks fall at its spaces: a name of up to twelve capitals
    // is not cut in two, and a longer one sets the title smaller, whole.
    struct Title {
        const char* text;
        int breaks;
        bool smaller;
    };
    const Title titles[] = {{"UNLOCK SAND", 0, false},
                            {"UNLOCK BRONTOSAURUS", 1, false},
                            {"UNLOCK STEGOSAURUS", 1, false},
                            {"D\xC3\x89"
                             "BLOQUER BRONTOSAURE",
                             1, false},
                            {"UNLOCK TYRANNOSAURUS", 1, true},
                            {"UNLOCK PACHYCEPHALOSAURUS", 1, true}};
    float normalScale = 0;
    for (const auto& [title, breaks, smaller] : titles) {
        SCOPED_TRACE(title);
        popup()->setPurchaseInfo(CCString::create(title), CCString::create("element_Sand.png"), 500, nullptr);
        ScreenUtils::showPopup(nullptr, nullptr, nullptr, nullptr, nullptr, GUIPopup::Purchase);
        GUILabel* label = popup()->getTitleLabel();
        EXPECT_EQ(label->getLineCount(), breaks);
        if (normalScale == 0)
            normalScale = label->getScale();
        // A name that only just fits may stay a hair under whole pixels:
        // snapped up, it would pass its room.
        EXPECT_EQ(label->getScale() < normalScale * 0.98f, smaller);
        popup()->onCancelPressed();
        closeFully();
    }
}

TEST_F(Popup, PurchasePriceIsTruncatedAndTheCounterAddsPendingMana)
{
    Profile::getInstance()->setMana(30);
    Profile::getInstance()->setPendingMana(5);
    const std::pair<float, const char*> prices[] = {{12.7f, "12"},       {150.0f, "150"}, {2500.0f, "2500"},
                                                    {0.0f, "0"},         {-3.5f, "-3"},   {1e20f, "2147483647"},
                                                    {std::nanf(""), "0"}};
    for (const auto& [price, shown] : prices) {
        SCOPED_TRACE(shown);
        popup()->setPurchaseInfo(nullptr, CCString::create("popups_exclamation.png"), price, nullptr);
        ScreenUtils::showPopup(nullptr, nullptr, nullptr, nullptr, nullptr, GUIPopup::Purchase);
        EXPECT_EQ(textOf(popup()->getPriceLabel()), shown);
        // The number ends inside its tag (the sprite at 135, 70), however long.
        GUILabel* label = popup()->getPriceLabel();
        CCSprite* tag = nullptr;
        for (CCObject* child : *popup()->getButtonContainer()->getChildren())
            if (auto* sprite = dynamic_cast<CCSprite*>(child); sprite && sprite->getPosition().equals(ccp(135, 70)))
                tag = sprite;
        ASSERT_NE(tag, nullptr);
        EXPECT_LE(label->getPosition().x + label->getWidth() * label->getScaleX(),
                  135 + tag->getContentSize().width * tag->getScaleX());
        EXPECT_EQ(textOf(popup()->getManaCounterLabel()), "35");
        EXPECT_EQ(popup()->getManaCounter()->getParent(), popup());
        popup()->onCancelPressed();
        closeFully();
    }
}

TEST_F(Popup, TheSpecialDealRunsTheCancelActionAndDisablesCancel)
{
    Held<Counter> buy, cancel;
    popup()->setPurchaseInfo(nullptr, CCString::create("element_Sand.png"), 5, nullptr);
    ScreenUtils::showPopup(nullptr, buy.get(), callfunc_selector(Counter::hit), nullptr, nullptr, GUIPopup::Purchase);
    popup()->onSpecialDealPressed();
    EXPECT_FALSE(popup()->getCancelButton()->isEnabled());
    closeFully();
    EXPECT_EQ(buy->count, 0);
    EXPECT_EQ(sounds("sfx_gui_back"), 0);

    ScreenUtils::showPopup(nullptr, buy.get(), callfunc_selector(Counter::hit), cancel.get(),
                           callfunc_selector(Counter::hit), GUIPopup::Purchase);
    popup()->onSpecialDealPressed();
    closeFully();
    EXPECT_EQ(cancel->count, 1);
    EXPECT_EQ(buy->count, 0);
}

// --- level hints -----------------------------------------------------------------

TEST(PopupHints, LevelKeysAndMaskSlots)
{
    EXPECT_EQ(GUIPopup::levelKey(0, 0), "Level1");
    EXPECT_EQ(GUIPopup::levelKey(0, 4), "Level4");
    EXPECT_EQ(GUIPopup::levelKey(3, 5), "Level3_5");
    EXPECT_EQ(GUIPopup::levelKey(2, 0), "Level2_1");
    const std::pair<std::pair<int, int>, int> slots[] = {{{0, 0}, 0},   {{0, 4}, 4},   {{3, 5}, 101}, {{31, 31}, 1023},
                                                         {{-1, 3}, -1}, {{32, 0}, -1}, {{0, 32}, -1}, {{0, -1}, -1}};
    for (const auto& [level, slot] : slots)
        EXPECT_EQ(GUIPopup::hintSlot(level.first, level.second), slot) << level.first << "," << level.second;
}

class Hints : public Popup {
protected:
    void SetUp() override
    {
        Popup::SetUp();
        profile()->setGameMode(0);
        profile()->setDay(4);
    }
    void TearDown() override
    {
        GUIPopup::setHintsFileForTests("");
        Popup::TearDown();
    }
    static Profile* profile() { return Profile::getInstance(); }
    void openList() { ScreenUtils::showPopup(CCString::create(""), nullptr, nullptr, nullptr, nullptr, 4); }
    GUIButton* rowButton(int row)
    {
        return dynamic_cast<GUIButton*>(popup()->getButtonContainer()->getChildByTag(99 + row));
    }
    GUILabel* rowLabel(int row)
    {
        return dynamic_cast<GUILabel*>(popup()->getButtonContainer()->getChildByTag(88 + row));
    }
    void press(int row)
    {
        GUIButton* button = rowButton(row);
        ASSERT_NE(button, nullptr);
        executeAction(button->getCallback());
    }
};

TEST_F(Hints, BuyingHintTwoOfDayFourRunsTheWholeChainOnItsDelays)
{
    profile()->setMana(120);
    profile()->setPendingMana(500);
    openList();
    ASSERT_NE(rowButton(0), nullptr);
    ASSERT_NE(rowButton(1), nullptr);
    EXPECT_EQ(rowButton(2), nullptr);
    EXPECT_EQ(textOf(rowLabel(0)), "HintShopSelectorPhrase");

    press(1);  // the price equals the mana: affordable
    EXPECT_EQ(popup()->getHintPrice(), 120);
    EXPECT_EQ(popup()->getHintNumber(), 2);
    stepSeconds(0.75f);
    EXPECT_FALSE(popup()->isShown());
    stepSeconds(0.1f);
    ASSERT_TRUE(popup()->isShown());
    EXPECT_EQ(popup()->getKind(), GUIPopup::Purchase);
    EXPECT_EQ(textOf(popup()->getPriceLabel()), "120");
    EXPECT_EQ(textOf(popup()->getManaCounterLabel()), "620");  // pending shows, but does not pay

    popup()->onOkPressed();
    closeFully();
    EXPECT_EQ(profile()->getMana(), 120);
    // The hint is on disk with its price when its text first shows.
    for (int frame = 0; frame < 60 && !popup()->isShown(); ++frame)
        stepFrames(1);
    ASSERT_TRUE(popup()->isShown());
    EXPECT_EQ(profile()->getLevelHint(4), 2u);
    EXPECT_EQ(profile()->getMana(), 0);
    Profile disk;
    ASSERT_TRUE(disk.loadFromFile("profile.dat"));
    EXPECT_EQ(disk.getLevelHint(4), 2u);
    EXPECT_EQ(disk.getMana(), 500) << "the price paid (the file holds the pending mana too)";
    EXPECT_EQ(popup()->getKind(), GUIPopup::Hints);
    EXPECT_TRUE(rowButton(0)->isVisible());
    EXPECT_FALSE(rowButton(1)->isVisible());
    EXPECT_FALSE(rowButton(1)->isEnabled());
    EXPECT_EQ(textOf(rowLabel(1)), "Level4FreeHint2");
    EXPECT_EQ(textOf(rowLabel(0)), "HintShopSelectorPhrase");
}

// Every story day up to 30 offers a nudge for 50 and the solution for 120,
// written in all three languages; bought, both rows stay within the panel
// above its OK button.
TEST_F(Hints, EachStoryDayHasANudgeAndASolutionThatFitThePanel)
{
    constexpr int kMaxLines = 7;  // both rows together
    for (const char* code : {"en", "fr", "es"}) {
        testsupport::LanguageTable language(code);
        for (int day = 1; day <= 30; ++day) {
            profile()->setDay(day);
            profile()->setLevelHint(day, 3u);
            openList();
            EXPECT_EQ(popup()->hintPriceOf(1), 50) << day;
            EXPECT_EQ(popup()->hintPriceOf(2), 120) << day;
            ASSERT_NE(rowLabel(1), nullptr) << code << " day " << day;
            EXPECT_EQ(rowButton(2), nullptr) << day;
            int lines = 0;
            for (int row = 0; row < 2; ++row) {
                const std::string key = "Level" + std::to_string(day) + "FreeHint" + std::to_string(row + 1);
                EXPECT_NE(textOf(rowLabel(row)), key) << code << " lacks " << key;
                lines += rowLabel(row)->getLineCount();
            }
            EXPECT_NE(textOf(rowLabel(0)), textOf(rowLabel(1))) << code << " day " << day;
            EXPECT_LE(lines, kMaxLines) << code << " day " << day;
            popup()->onOkPressed();
            closeFully();
        }
    }
}

// The same for every level of the built campaigns (game modes 1 to 10),
// whose hints are keyed "Level<mode>_<level>".
TEST_F(Hints, EachCampaignLevelHasANudgeAndASolutionThatFitThePanel)
{
    constexpr int kMaxLines = 7;
    const std::pair<int, int> campaigns[] = {{1, 10}, {2, 11}, {3, 15}, {4, 15}, {5, 15},
                                             {6, 10}, {7, 10}, {8, 20}, {9, 15}, {10, 10}};
    for (const char* code : {"en", "fr", "es"}) {
        testsupport::LanguageTable language(code);
        for (const auto& [mode, levels] : campaigns)
            for (int level = 1; level <= levels; ++level) {
                const std::string name = std::to_string(mode) + "_" + std::to_string(level);
                profile()->setGameMode(mode);
                profile()->setDay(level);
                profile()->setLevelHint(GUIPopup::hintSlot(mode, level), 3u);
                openList();
                EXPECT_EQ(popup()->hintPriceOf(1), 50) << name;
                EXPECT_EQ(popup()->hintPriceOf(2), 120) << name;
                ASSERT_NE(rowLabel(1), nullptr) << code << " level " << name;
                int lines = 0;
                for (int row = 0; row < 2; ++row) {
                    const std::string key = "Level" + name + "FreeHint" + std::to_string(row + 1);
                    EXPECT_NE(textOf(rowLabel(row)), key) << code << " lacks " << key;
                    lines += rowLabel(row)->getLineCount();
                }
                EXPECT_LE(lines, kMaxLines) << code << " level " << name;
                popup()->onOkPressed();
                closeFully();
            }
    }
}

TEST_F(Hints, OneManaShortShowsTheShortageMessageAndPendingManaDoesNotCount)
{
    profile()->setMana(49);
    profile()->setPendingMana(1000);
    openList();
    press(0);
    stepSeconds(0.85f);
    ASSERT_TRUE(popup()->isShown());
    EXPECT_EQ(popup()->getKind(), GUIPopup::Message);
    EXPECT_EQ(textOf(popup()->getMessageLabel()), "ConfirmationNotEnoughMana");
    popup()->onOkPressed();
    closeFully();
    EXPECT_EQ(profile()->getMana(), 49);
    EXPECT_EQ(profile()->getLevelHint(4), 0u);
}

TEST_F(Hints, CancellingThePurchaseKeepsManaAndRecordAndDoesNotReopenTheList)
{
    profile()->setMana(500);
    openList();
    press(0);
    stepSeconds(0.85f);
    ASSERT_EQ(popup()->getKind(), GUIPopup::Purchase);
    popup()->onCancelPressed();
    stepSeconds(2.0f);
    EXPECT_FALSE(popup()->isShown());
    EXPECT_EQ(profile()->getMana(), 500);
    EXPECT_EQ(profile()->getLevelHint(4), 0u);
}

TEST_F(Hints, DayZeroReadsLevelOneWithTheMaskOfDayZero)
{
    profile()->setDay(0);
    profile()->setLevelHint(0, 1u);
    profile()->setLevelHint(1, 2u);
    openList();
    EXPECT_EQ(textOf(rowLabel(0)), "Level1FreeHint1");
    EXPECT_EQ(textOf(rowLabel(1)), "HintShopSelectorPhrase");
}

TEST_F(Hints, OutsideTheMasksNothingIsReadOrWrittenAndAFourthRowIsNotCharged)
{
    const std::string file = home().home() + "/hints.plist";
    std::ofstream(file) << "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><dict>"
                           "<key>Hints</key><dict><key>Level4</key><dict>"
                           "<key>FreeHint1</key><integer>10</integer><key>FreeHint2</key><integer>10</integer>"
                           "<key>FreeHint3</key><integer>10</integer><key>FreeHint4</key><integer>10</integer>"
                           "</dict><key>Level-1_4</key><dict><key>FreeHint1</key><integer>10</integer></dict>"
                           "<key>Level33</key><dict><key>FreeHint1</key><integer>10</integer></dict>"
                           "</dict></dict></plist>";
    GUIPopup::setHintsFileForTests(file);
    profile()->setMana(100);
    openList();
    ASSERT_NE(rowButton(3), nullptr);
    EXPECT_EQ(textOf(rowLabel(3)), "Row over 3");
    press(3);
    stepSeconds(0.85f);
    popup()->onOkPressed();
    stepSeconds(1.5f);
    EXPECT_EQ(profile()->getMana(), 100);
    for (int slot = 0; slot < Profile::kLevelHintSlots; ++slot)
        ASSERT_EQ(profile()->getLevelHint(slot), 0u) << slot;
    popup()->onOkPressed();
    closeFully();

    // The daily quest (mode -1) and days past 31 have no mask: the hint
    // shows as not bought, and buying it records and charges nothing (day 33
    // of the story would write the mask of mode 1, day 1).
    for (const auto& [mode, day] : {std::pair{-1, 4}, std::pair{0, 33}}) {
        SCOPED_TRACE(day);
        profile()->setGameMode(mode);
        profile()->setDay(day);
        profile()->setLevelHint(33, 0);
        openList();
        ASSERT_NE(rowButton(0), nullptr);
        EXPECT_EQ(textOf(rowLabel(0)), "HintShopSelectorPhrase");
        press(0);
        stepSeconds(0.85f);
        ASSERT_EQ(popup()->getKind(), GUIPopup::Purchase);
        popup()->onOkPressed();
        stepSeconds(1.5f);
        EXPECT_EQ(profile()->getMana(), 100);
        EXPECT_EQ(profile()->getLevelHint(33), 0u);
        popup()->onOkPressed();
        closeFully();
    }
}

TEST_F(Hints, RowsStepByTheLineCountOfThePreviousLabel)
{
    openList();
    GUIButton* first = rowButton(0);
    GUIButton* second = rowButton(1);
    const int lines = rowLabel(0)->getLineCount() == 0 ? 1 : rowLabel(0)->getLineCount();
    EXPECT_FLOAT_EQ(first->getPosition().y, 109);
    EXPECT_FLOAT_EQ(second->getPosition().y, 109 - (11.0f * static_cast<float>(lines) + 10));
    EXPECT_FLOAT_EQ(rowLabel(1)->getPosition().y, 100 - (11.0f * static_cast<float>(lines) + 10));
}
