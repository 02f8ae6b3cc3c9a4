// The text keyboard and ScreenUtils' keyboard binding: counters, first-key
// replacement, shift, typed input, accepting once, and the window given back.
#include <functional>

#include "WindowsFixture.h"
#include "base/LocalUtils.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "gui/GUIPopup.h"
#include "hud/GUI.h"
#include "world/GameServices.h"

USING_NS_CC;
using guitest::Held;
using guitest::ModalTest;

namespace {

// Receives the keyboard's text.
class Receiver : public CCObject {
public:
    void take(CCObject* text)
    {
        auto* string = dynamic_cast<CCString*>(text);
        texts.push_back(string ? string->getString() : "<not a text>");
    }
    std::vector<std::string> texts;
};

}  // namespace

class Keyboard : public ModalTest {
protected:
    void SetUp() override
    {
        ModalTest::SetUp();
        localizationTable = CCDictionary::createWithContentsOfFile("localization/en.plist");
        localizationTable->retain();
    }
    void TearDown() override
    {
        localizationTable->release();
        localizationTable = nullptr;
        ModalTest::TearDown();
    }
    GUIKeyboard* keyboard() { return GUIKeyboard::getInstance(); }
    // Opens the keyboard on a text, bound to the receiver, as the world menu does.
    void open(const std::string& text, Receiver* receiver)
    {
        GUILabel* label = GUILabel::create();
        label->setText(CCString::create(text));
        ScreenUtils::showKeyboard(label, receiver, callfuncO_selector(Receiver::take));
    }
    void tap(const std::string& caption)
    {
        GUIButton* key = keyboard()->keyWithCaption(caption);
        ASSERT_NE(key, nullptr) << caption;
        executeAction(key->getCallback());
    }
    void tap(GUIButton* key) { executeAction(key->getCallback()); }
    std::string text() { return keyboard()->getText() ? keyboard()->getText()->getString() : "<null>"; }
    std::string counter() { return keyboard()->getCharsLeftLabel()->getText()->getString(); }
};

TEST_F(Keyboard, TheCounterShowsWhatIsLeftAndAFullTextRefusesCharacters)
{
    Held<Receiver> receiver;
    struct Case {
        const char* text;
        const char* counter;
        bool accepts;
    };
    const Case cases[] = {
        {"fifteen-bytes!!", "0 characters left", false},
        {"seventeen-bytes!!", "0 characters left", false},
        {"fourteen-bytes", "1 character left", true},
        {"", "15 characters left", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        open(c.text, receiver.get());
        EXPECT_EQ(counter(), c.counter);
        CocosDenshion::SimpleAudioEngine::sharedEngine()->clearRecordedCalls();
        tap("q");
        EXPECT_EQ(text(), c.accepts ? std::string(c.text) + "q" : std::string(c.text));
        EXPECT_EQ(sounds("sfx_gui_error"), c.accepts ? 0 : 1);
    }
    // Backspace makes room for one more.
    open("fifteen-bytes!!", receiver.get());
    tap(keyboard()->getBackspaceKey());
    tap("q");
    EXPECT_EQ(text(), "fifteen-bytes!q");
}

TEST_F(Keyboard, AHintShowsUntilTheFirstKeyAndIsNeverTheText)
{
    Held<Receiver> receiver;
    GUILabel* label = GUILabel::create();
    label->setText(CCString::create("Please give your world a name."));
    struct Case {
        const char* typed;  // physical keys; "" accepts at once
        const char* delivered;
    };
    for (const Case& c : {Case{"", ""}, Case{"Beach 2", "Beach 2"}, Case{"x\b", ""}}) {
        SCOPED_TRACE(c.typed);
        ScreenUtils::showKeyboard(label, receiver.get(), callfuncO_selector(Receiver::take),
                                  CCString::create("Please give your world a name."));
        EXPECT_EQ(text(), "") << "the prompt is not the text";
        EXPECT_TRUE(keyboard()->isShowingHint());
        EXPECT_EQ(counter(), "15 characters left");
        EXPECT_EQ(std::string(keyboard()->getTextLabel()->getText()->getString()), "Please give your world a name.");
        EXPECT_LT(keyboard()->getTextLabel()->getOpacity(), 255) << "a hint is dimmed";
        for (const char* k = c.typed; *k; ++k) {
            if (*k == '\b')
                keyboard()->deleteBackward();
            else
                keyboard()->insertText(k, 1);
        }
        EXPECT_EQ(keyboard()->isShowingHint(), *c.delivered == 0);
        keyboard()->accept();
        stepSeconds(0.2f);
        ASSERT_FALSE(receiver->texts.empty());
        EXPECT_EQ(receiver->texts.back(), c.delivered);
    }
    // A real text opens as it is, editable, and the hint of an earlier opening is gone.
    label->setText(CCString::create("Beach 2"));
    ScreenUtils::showKeyboard(label, receiver.get(), callfuncO_selector(Receiver::take));
    EXPECT_EQ(text(), "Beach 2");
    EXPECT_FALSE(keyboard()->isShowingHint());
    keyboard()->insertText("!", 1);
    EXPECT_EQ(text(), "Beach 2!");
    EXPECT_EQ(keyboard()->getTextLabel()->getOpacity(), 255);
}

TEST_F(Keyboard, ALongTextHoldsWhatItsLabelLinesTakeAndNeverMoreThanItsRecord)
{
    Held<Receiver> receiver;
    GUILabel* label = GUILabel::create();
    label->setText(CCString::create(""));
    ScreenUtils::showKeyboardWithLabel(label, 110, receiver.get());
    const int32_t narrow = keyboard()->getMaxLength();
    EXPECT_GT(narrow, 15) << "a description is more than a name";
    EXPECT_LE(narrow, GUIKeyboard::kLongTextLength);
    ScreenUtils::showKeyboardWithLabel(label, 5000, receiver.get());
    EXPECT_EQ(keyboard()->getMaxLength(), GUIKeyboard::kLongTextLength);
    const std::string typed(300, 'a');
    keyboard()->insertText(typed.c_str(), static_cast<int>(typed.size()));
    EXPECT_EQ(text().size(), static_cast<size_t>(GUIKeyboard::kLongTextLength));
    EXPECT_EQ(counter(), "0 characters left");
}

TEST_F(Keyboard, AfterUpdateCharsLeftTheFirstEditReplacesTheTextAndResetGivesEmpty)
{
    Held<Receiver> receiver;
    ScreenUtils::showNicknameKeyboard(CCString::create("Input nickname"), receiver.get());
    EXPECT_EQ(counter(), "15 characters left");
    tap("q");
    EXPECT_EQ(text(), "q");
    tap(keyboard()->getResetKey());
    EXPECT_EQ(text(), "");

    ScreenUtils::showNicknameKeyboard(CCString::create("Input nickname"), receiver.get());
    tap(keyboard()->getResetKey());
    EXPECT_EQ(text(), "");
    ScreenUtils::showNicknameKeyboard(CCString::create("Input nickname"), receiver.get());
    keyboard()->insertText("Z", 1);
    EXPECT_EQ(text(), "Z");
}

TEST_F(Keyboard, ShiftActsOnOneCharacterAndTheShiftedRowsHoldTheirOwnTexts)
{
    Held<Receiver> receiver;
    open("", receiver.get());
    tap(keyboard()->getShiftKey());
    EXPECT_NE(keyboard()->keyWithCaption("A"), nullptr);
    tap("A");
    EXPECT_EQ(text(), "A");
    EXPECT_FALSE(keyboard()->isShifted());
    EXPECT_NE(keyboard()->keyWithCaption("a"), nullptr);

    tap(keyboard()->getShiftKey());
    tap(keyboard()->getBackspaceKey());
    EXPECT_TRUE(keyboard()->isShifted());
    EXPECT_EQ(text(), "");
    // The third digit key shows 8 shifted, the sixth a bracket.
    auto* digits = keyboard()->getCharacterKeys();
    tap(static_cast<GUIButton*>(digits->objectAtIndex(2)));
    tap(keyboard()->getShiftKey());
    tap(static_cast<GUIButton*>(digits->objectAtIndex(5)));
    EXPECT_EQ(text(), "8[");
    tap(keyboard()->getSpaceKey());
    tap(".");
    EXPECT_EQ(text(), "8[ .");
    tap(keyboard()->getClearKey());
    EXPECT_EQ(text(), "");
}

TEST_F(Keyboard, TypedInputTakesOnlyItsCharactersAndANewlineAcceptsWhatCameBefore)
{
    Held<Receiver> receiver;
    open("", receiver.get());
    // The two keyboards take the same characters: what a key on screen
    // types, shifted or not, the physical keyboard types too.
    for (bool shifted : {false, true}) {
        keyboard()->setShifted(shifted);
        for (CCObject* key : *keyboard()->getCharacterKeys())
            for (char c : static_cast<GUIButton*>(key)->getText()->getString())
                EXPECT_TRUE(GUIKeyboard::isTypable(static_cast<unsigned char>(c))) << c;
    }
    keyboard()->setShifted(false);
    // Brackets and a bar are typed and shown like any character.
    keyboard()->insertText("[|]", 3);
    keyboard()->insertText("\xC3\xA9", 2);
    EXPECT_EQ(text(), "[|]");
    EXPECT_EQ(keyboard()->getTextLabel()->getChildrenCount(), 3u) << "every character visible";
    keyboard()->deleteBackward();
    keyboard()->deleteBackward();
    keyboard()->deleteBackward();
    const std::string run = "ab?\ncd";
    keyboard()->insertText(run.c_str(), static_cast<int>(run.size()));
    EXPECT_EQ(receiver->texts, (std::vector<std::string>{"ab?"}));
    EXPECT_FALSE(keyboard()->isActive());
    keyboard()->insertText("x", 1);
    keyboard()->deleteBackward();
    EXPECT_EQ(receiver->texts.size(), 1u);
}

TEST_F(Keyboard, EnterDeliversOnceEvenWhenPressedAgainDuringTheSlide)
{
    Held<Receiver> receiver;
    open("Bob", receiver.get());
    tap(keyboard()->getEnterKey());
    tap(keyboard()->getEnterKey());
    keyboard()->onBackPressed();
    keyboard()->insertText("\n", 1);
    stepSeconds(0.2f);
    EXPECT_EQ(receiver->texts, (std::vector<std::string>{"Bob"}));
    EXPECT_EQ(keyboard()->getParent(), nullptr);
    EXPECT_EQ(keyboard()->getText(), nullptr);
}

TEST_F(Keyboard, TheBackKeyAcceptsLikeEnter)
{
    Held<Receiver> receiver;
    open("Eve", receiver.get());
    EXPECT_EQ(BackButtonAdapter::getInstance()->frontListener(), keyboard());
    ASSERT_TRUE(stepUntil([&] { return keyboard()->takesPresses(); }));
    BackButtonAdapter::getInstance()->onBackPressed();
    EXPECT_EQ(receiver->texts, (std::vector<std::string>{"Eve"}));
}

TEST(KeyboardText, BackspaceRemovesTheWholeLastCharacter)
{
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"a", ""},
        {"n\xC3\xA9", "n"},          // é
        {"\xE2\x82\xAC", ""},        // €
        {"a\xF0\x9F\x98\x80", "a"},  // an emoji, four bytes
        {"a\x80", "a"},              // a stray continuation byte
        {"ab\xC3", "ab"},            // a cut lead byte
    };
    for (const auto& [before, after] : cases)
        EXPECT_EQ(withoutLastCharacter(before), after) << before;
}

TEST_F(Keyboard, OnScreenAndTypedBackspaceRemoveAWholeCharacter)
{
    Held<Receiver> receiver;
    open("n\xC3\xA9\xC3\xA9", receiver.get());
    tap(keyboard()->getBackspaceKey());
    EXPECT_EQ(text(), "n\xC3\xA9");
    keyboard()->deleteBackward();
    EXPECT_EQ(text(), "n");
}

TEST(KeyboardLength, TheWrappedCapacityComesFromTheWidthOfM)
{
    struct Case {
        float width, letterSpace, m;
        int32_t length;
    };
    const Case cases[] = {
        {110, 1, 9, 55},  {110, 1.7f, 9, 55},  // the letter space is truncated first
        {100, 0, 7, 71},                       // truncated after the multiplication
        {110, 0, 0, 15},                       // no "M" and no letter space
        {110, -3, 3, 15},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GUIKeyboard::maxLengthFor(c.width, c.letterSpace, c.m), c.length) << c.width << " " << c.m;
}

TEST_F(Keyboard, ShowWithLabelWrapsOverFiveLinesAndDeliversToTheDescriptionReceiver)
{
    GUILabel* label = GUILabel::create();
    label->setText(CCString::create("old"));
    ScreenUtils::showKeyboardWithLabel(label, 110, nullptr);
    EXPECT_EQ(keyboard()->getLabelLines(), 5);
    EXPECT_FLOAT_EQ(keyboard()->getLabelWidth(), 110);
    EXPECT_GT(keyboard()->getMaxLength(), 15);
    EXPECT_EQ(text(), "old");
}

TEST_F(Keyboard, TheLabelIsLaidOutWithItsOwnFontAndTheCurrentFontIsKept)
{
    Held<Receiver> receiver;
    GUILabel::setFontName("popups_ach_colorFont");
    GUILabel* label = GUILabel::create();
    label->setText(CCString::create(""));
    GUILabel* reference = GUILabel::create();
    GUILabel::lineSpacing = -2;
    reference->setMultilineText(CCString::create("Hello"), 2500, 1);
    label->retain();
    ScreenUtils::showKeyboard(label, receiver.get(), callfuncO_selector(Receiver::take));
    GUILabel::setFontName("keyboard_keyboard_fontButtons");
    const float keyboardFontSize = GUILabel::fontSize;
    keyboard()->insertText("Hello\n", 6);
    EXPECT_FLOAT_EQ(label->getWidth(), reference->getWidth());
    EXPECT_EQ(label->getText()->getString(), "Hello");
    EXPECT_EQ(GUILabel::currentFontName->getString(), "keyboard_keyboard_fontButtons");
    EXPECT_FLOAT_EQ(GUILabel::fontSize, keyboardFontSize);
    label->release();
}

// A window opened over the keyboard (a popup) makes its own font current;
// what is typed after it still shows in the keyboard's glyphs.
TEST_F(Keyboard, TypingAfterAnotherFontWasMadeCurrentKeepsTheKeyboardsGlyphs)
{
    Held<Receiver> receiver;
    open("", receiver.get());
    auto glyphs = [&] {
        std::vector<CCRect> rects;
        for (GUILabel* label : {keyboard()->getTextLabel(), keyboard()->getCharsLeftLabel()})
            for (CCObject* child : *label->getChildren())
                rects.push_back(static_cast<CCSprite*>(child)->getTextureRect());
        return rects;
    };
    keyboard()->insertText("Ab", 2);
    const std::vector<CCRect> typed = glyphs();
    keyboard()->deleteBackward();
    GUILabel::setFontName("popups_ach_colorFont");
    keyboard()->insertText("b", 1);
    const std::vector<CCRect> again = glyphs();
    ASSERT_EQ(again.size(), typed.size());
    for (size_t i = 0; i < typed.size(); ++i)
        EXPECT_TRUE(again[i].equals(typed[i])) << i;
}

TEST_F(Keyboard, TheWindowThatWasCurrentComesBackEvenWhenTheKeyboardWasTakenOut)
{
    Held<Receiver> receiver;
    GUIWindow* window = addWindow();
    ScreenUtils::getInstance()->setCurrentWindow(window);
    open("a", receiver.get());
    EXPECT_EQ(current(), keyboard());
    keyboard()->removeFromParentAndCleanup(false);
    keyboard()->accept();
    keyboard()->onCloseFinished();
    EXPECT_EQ(current(), window);
    EXPECT_EQ(ScreenUtils::keyboardPreviousWindow(), nullptr);
}

// The name screen opens its progress bar from the keyboard's answer: the bar
// must stay the window that receives touches once the keyboard has gone.
TEST_F(Keyboard, AWindowTheAnswerOpensStaysCurrentAfterTheKeyboardCloses)
{
    Held<Receiver> receiver;
    open("a", receiver.get());
    GUIWindow* opened = addWindow();
    keyboard()->accept();
    ScreenUtils::getInstance()->setCurrentWindow(opened);
    keyboard()->onCloseFinished();
    EXPECT_EQ(current(), opened);
}

// Saving an unnamed world asks for its name and answers with "Your world is
// saved.": once both have gone, the world menu must take touches again.
TEST_F(Keyboard, APopupTheAnswerOpensGivesBackTheWindowTheKeyboardCameFrom)
{
    struct Answer : Receiver {
        void take(CCObject* text)
        {
            Receiver::take(text);
            ScreenUtils::showPopup(CCString::create("saved"), nullptr, nullptr, nullptr, nullptr, GUIPopup::Message);
        }
    };
    Held<Answer> receiver;
    GUIWindow* menu = addWindow();
    ScreenUtils::getInstance()->setCurrentWindow(menu);
    GUILabel* label = GUILabel::create();
    ScreenUtils::showKeyboard(label, receiver.get(), callfuncO_selector(Answer::take));
    keyboard()->insertText("\n", 1);
    stepSeconds(0.2f);
    EXPECT_EQ(current(), GUIPopup::getInstance());
    GUIPopup::getInstance()->onOkPressed();
    stepSeconds(0.35f);
    EXPECT_EQ(current(), menu);
}

// Return pressed twice on the world's name: the question that the first
// opens (the name is taken) is not answered by the second, however soon it
// comes; once shown, Return answers it as Cancel and only OK overwrites.
TEST_F(Keyboard, ASecondReturnNeverAnswersTheOverwriteQuestionTheFirstOpened)
{
    CCDirector::sharedDirector()->getKeypadDispatcher()->addDelegate(BackButtonAdapter::getInstance());
    BackButtonAdapter::getInstance()->attachWithIME();
    CCEGLView* view = CCEGLView::sharedOpenGLView();
    struct Asker : Receiver {
        void take(CCObject* text)
        {
            Receiver::take(text);
            ScreenUtils::showLosingQuestion(CCString::create("Overwrite it?"), overwrite.get(),
                                            callfunc_selector(guitest::Counter::hit));
        }
        Held<guitest::Counter> overwrite;
    };
    for (int apart : {3, 12}) {
        SCOPED_TRACE(apart);
        Held<Asker> receiver;
        ScreenUtils::showKeyboard(GUILabel::create(), receiver.get(), callfuncO_selector(Asker::take));
        ASSERT_TRUE(stepUntil([&] { return keyboard()->takesPresses(); }));
        view->simulateText("Hill");
        view->simulateKey(kCCKeyEnter, true);
        view->simulateKey(kCCKeyEnter, false);
        stepFrames(apart);
        view->simulateKey(kCCKeyEnter, true);
        view->simulateKey(kCCKeyEnter, false);
        stepSeconds(0.5f);
        EXPECT_EQ(receiver->texts, (std::vector<std::string>{"Hill"}));
        ASSERT_TRUE(GUIPopup::getInstance()->awaitsAnswer()) << "the question is up";
        view->simulateKey(kCCKeyEnter, true);
        view->simulateKey(kCCKeyEnter, false);
        stepSeconds(0.5f);
        EXPECT_FALSE(GUIPopup::getInstance()->isShown()) << "Return answers it";
        EXPECT_EQ(receiver->overwrite->count, 0) << "as Cancel";
    }
}

TEST_F(Keyboard, RebindingTheOpenKeyboardKeepsItAttachedOnceAndNeverLeavesItCurrent)
{
    Held<Receiver> first, second;
    open("one", first.get());
    open("two", second.get());
    EXPECT_EQ(ScreenUtils::keyboardPreviousWindow(), nullptr) << "never the keyboard itself";
    int attached = 0;
    for (CCObject* child : *scene()->getChildren())
        attached += child == keyboard();
    EXPECT_EQ(attached, 1);
    EXPECT_EQ(text(), "two");
    keyboard()->insertText("\n", 1);
    stepSeconds(0.2f);
    EXPECT_TRUE(first->texts.empty());
    EXPECT_EQ(second->texts, (std::vector<std::string>{"two"}));
    EXPECT_EQ(current(), nullptr);
}

// An answer that refuses the text opens the keyboard again from inside its
// own accept (the name screen with no name): the keyboard stays up and takes
// keys, and still gives back the window it came from.
TEST_F(Keyboard, AnAnswerThatOpensTheKeyboardAgainKeepsItUpAndTakingKeys)
{
    struct Refuser : Receiver {
        void take(CCObject* text)
        {
            Receiver::take(text);
            if (texts.size() == 1)
                ScreenUtils::showKeyboard(GUILabel::create(), this, callfuncO_selector(Refuser::take),
                                          CCString::create("Type a name first"));
        }
    };
    Held<Refuser> receiver;
    GUIWindow* menu = addWindow();
    ScreenUtils::getInstance()->setCurrentWindow(menu);
    ScreenUtils::showKeyboard(GUILabel::create(), receiver.get(), callfuncO_selector(Refuser::take));
    stepSeconds(0.2f);
    tap(keyboard()->getEnterKey());
    stepSeconds(0.3f);
    EXPECT_EQ(keyboard()->getParent(), scene());
    EXPECT_FLOAT_EQ(keyboard()->getPosition().y, 0) << "still up";
    EXPECT_TRUE(keyboard()->isActive());
    EXPECT_EQ(current(), keyboard());
    EXPECT_TRUE(keyboard()->isShowingHint());
    keyboard()->insertText("Ann", 3);
    keyboard()->deleteBackward();
    tap("q");
    EXPECT_EQ(text(), "Anq");
    keyboard()->insertText("\n", 1);
    stepSeconds(0.3f);
    EXPECT_EQ(receiver->texts, (std::vector<std::string>{"", "Anq"}));
    EXPECT_EQ(keyboard()->getParent(), nullptr);
    EXPECT_EQ(current(), menu);
}

TEST_F(Keyboard, TheBindingHoldsItsLabelAndTargetUntilTheNextOpening)
{
    auto* receiver = new Receiver();
    GUILabel* label = GUILabel::create();
    label->setText(CCString::create("kept"));
    ScreenUtils::showKeyboard(label, receiver, callfuncO_selector(Receiver::take));
    receiver->release();  // the binding keeps it
    stepFrames(1);        // and the label outlives its autorelease
    keyboard()->insertText("\n", 1);
    EXPECT_EQ(ScreenUtils::keyboardTargetLabel()->getText()->getString(), "kept");
    EXPECT_EQ(static_cast<Receiver*>(ScreenUtils::keyboardCallbackTarget())->texts, (std::vector<std::string>{"kept"}));
}

TEST_F(Keyboard, SetKeyboardTextWithNoBindingOnlySetsTheLineSpacing)
{
    GUILabel::lineSpacing = 3;
    ScreenUtils::setKeyboardText();
    EXPECT_FLOAT_EQ(GUILabel::lineSpacing, -2);
}

TEST_F(Keyboard, TheWorldDescriptionIsStoredAndItsLabelSaysWhenThereIsNone)
{
    Held<GUI> gui;
    GUILabel* label = GUILabel::create();
    label->setText(CCString::create("A quiet valley"));
    gui->setDescriptionLabel(label);
    ScreenUtils::showKeyboardWithLabel(label, 110, gui.get());
    keyboard()->updateCharsLeft();
    keyboard()->insertText("Dunes\n", 6);
    EXPECT_EQ(gameServices().universeDescription(), "Dunes");
    EXPECT_EQ(label->getText()->getString(), "Dunes");
    stepSeconds(0.2f);

    ScreenUtils::showKeyboardWithLabel(label, 110, gui.get());
    tap(keyboard()->getClearKey());
    tap(keyboard()->getEnterKey());
    stepSeconds(0.1f);
    EXPECT_EQ(gameServices().universeDescription(), "");
    EXPECT_EQ(label->getText()->getString(), LocalUtils::localize("WorldNoDescription")->getString());
}

// A box over the keyboard takes the typed keys as it takes the touches: the
// text and Backspace typed under it reach nothing, Return answers it as its
// OK and the back key as its own; the keyboard then takes keys again. A
// scene left under the box and the keyboard takes both with it.
TEST_F(Keyboard, ABoxOverTheKeyboardTakesTheKeysAndGoesWithItsScene)
{
    // The keys' roads, as the game's start lays them.
    CCDirector::sharedDirector()->getKeypadDispatcher()->addDelegate(BackButtonAdapter::getInstance());
    BackButtonAdapter::getInstance()->attachWithIME();
    CCEGLView* view = CCEGLView::sharedOpenGLView();
    const auto press = [view](int code) {
        view->simulateKey(code, true);
        view->simulateKey(code, false);
    };
    const auto popupOver = [this](Receiver* receiver) -> GUIWindow* {
        open("Ree", receiver);
        ScreenUtils::showPopup(CCString::create("The server did not answer in time."), nullptr, nullptr, nullptr,
                               nullptr, GUIPopup::Message);
        return GUIPopup::getInstance();
    };
    // The name keyboard an answer opens under the bar, and the bar's failure.
    const auto failedBarOver = [this](Receiver* receiver) -> GUIWindow* {
        GUIProgressBar* bar = GUIProgressBar::getInstance();
        ScreenUtils::showUploadProgress();
        bar->setFastFill(true);
        open("Ree", receiver);
        ScreenUtils::showProgressFailure();
        for (int i = 0; i < 60 && bar->getDisplayedProgress() < 100; ++i)
            stepFrames(1);
        return bar;
    };
    const struct {
        const char* box;
        std::function<GUIWindow*(Receiver*)> open;
        int answer;
    } cases[] = {{"popup, Return", popupOver, kCCKeyEnter},
                 {"popup, back key", popupOver, kCCKeyBack},
                 {"failed bar, Return", failedBarOver, kCCKeyEnter},
                 {"failed bar, back key", failedBarOver, kCCKeyBack}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        Held<Receiver> receiver;
        GUIWindow* box = c.open(receiver.get());
        ASSERT_EQ(current(), box);
        view->simulateText("Can");
        press(kCCKeyBackspace);
        EXPECT_EQ(text(), "Ree");
        // A key that went down before the box was fully shown answers nothing.
        press(c.answer);
        stepFrames(1);
        EXPECT_TRUE(box->awaitsAnswer()) << "answered by a key pressed as it opened";
        stepSeconds(GUIWindow::kOpeningSeconds);
        press(c.answer);
        // Answered: the next letters are the keyboard's at once, not once the box has faded.
        view->simulateText("s");
        stepSeconds(0.5f);
        EXPECT_EQ(box->getParent(), nullptr) << "answered";
        EXPECT_TRUE(receiver->texts.empty());
        ASSERT_EQ(current(), keyboard());
        press(kCCKeyEnter);
        EXPECT_EQ(receiver->texts, (std::vector<std::string>{"Rees"}));
        stepSeconds(0.3f);
    }

    Held<Receiver> receiver;
    popupOver(receiver.get());
    CCDirector::sharedDirector()->replaceScene(CCScene::create());
    stepFrames(2);
    EXPECT_EQ(current(), nullptr);
    EXPECT_EQ(GUIPopup::getInstance()->getParent(), nullptr);
    EXPECT_EQ(keyboard()->getParent(), nullptr);
    EXPECT_EQ(BackButtonAdapter::getInstance()->frontListener(), nullptr);
    view->simulateText("Can\n");
    EXPECT_TRUE(receiver->texts.empty());
}
