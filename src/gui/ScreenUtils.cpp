#include "gui/ScreenUtils.h"

#include <thread>

#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "profile/Profile.h"
#include "gui/GUIKeyboard.h"
#include "gui/GUILabel.h"
#include "gui/GUIPopup.h"
#include "gui/GUIProgressBar.h"
#include "gui/GUIRate.h"
#include "gui/GuiHost.h"
#include "gui/Retained.h"

USING_NS_CC;

namespace {

// The keyboard binding: from an opening to the next one.
struct KeyboardBinding {
    GUIWindow* previousWindow = nullptr;  // retained
    GUILabel* targetLabel = nullptr;      // retained
    CCObject* callbackTarget = nullptr;   // retained
    SEL_CallFuncO callbackSelector = nullptr;
    // Run on the target when the back key leaves the keyboard without a
    // text; without it the back key accepts the text as Enter does.
    SEL_CallFunc dismissSelector = nullptr;
    // The description keyboard's target: the same object as callbackTarget,
    // told through its interface instead of a selector.
    DescriptionTarget* descriptionTarget = nullptr;
};

KeyboardBinding g_binding;
CCString* g_staticIdentifier = nullptr;  // retained

// The notice the player has not answered yet.
struct Notice {
    CCString* text = nullptr;  // retained
    bool onScreen = false;     // the popup shows it
};
Notice g_notice;

CCScene* runningScene()
{
    return CCDirector::sharedDirector()->getRunningScene();
}

// Shows the popup built for kind with its actions; the common steps of
// every popup opener.
void openPopup(int kind, CCString* text, CCObject* okTarget, SEL_CallFunc okSelector, CCObject* cancelTarget,
               SEL_CallFunc cancelSelector)
{
    GUIPopup* popup = GUIPopup::getInstance();
    if (popup->getParent())
        return;
    CCScene* scene = runningScene();
    if (!scene) {
        LOG << "ScreenUtils: no running scene for the popup";
        return;
    }
    if (!popup->build(kind, text))
        return;
    popup->setActions(okTarget, okSelector, cancelTarget, cancelSelector);
    scene->addChild(popup, GUIPopup::kZOrder);
    ScreenUtils::getInstance()->setCurrentWindow(popup);
}

// The keyboard in the running scene (added once) and the binding's window.
GUIKeyboard* attachKeyboard()
{
    GUIKeyboard* keyboard = GUIKeyboard::getInstance();
    // Opened again while it is current, it keeps the window it came from:
    // giving back the keyboard itself would leave nothing to take touches.
    GUIWindow* current = ScreenUtils::getInstance()->getCurrentWindow();
    if (current != keyboard) {
        // Under a box it takes the box's place: it gives back what the box
        // would have.
        GUIWindow* under =
            current && current->awaitsAnswer() ? current->windowAfterLeaving() : ScreenUtils::windowToGiveBack();
        if (under != keyboard)
            hold(g_binding.previousWindow, under);
    }
    if (!keyboard->getParent()) {
        if (CCScene* scene = runningScene())
            scene->addChild(keyboard, GUIKeyboard::kZOrder);
    }
    return keyboard;
}

void bind(GUILabel* label, CCObject* target, SEL_CallFuncO selector, DescriptionTarget* description = nullptr,
          SEL_CallFunc dismiss = nullptr)
{
    hold(g_binding.targetLabel, label);
    hold(g_binding.callbackTarget, target);
    g_binding.callbackSelector = selector;
    g_binding.descriptionTarget = description;
    g_binding.dismissSelector = dismiss;
}

// The progress bar calls its completion on a selector; the name screen hears
// of it through its interface. The relay holds the screen as the bar would.
class LoginTimeoutRelay : public CCObject {
public:
    static LoginTimeoutRelay* create(CCObject* target)
    {
        auto* relay = new LoginTimeoutRelay();
        hold(relay->m_target, target);
        relay->autorelease();
        return relay;
    }
    ~LoginTimeoutRelay() override { hold(m_target, static_cast<CCObject*>(nullptr)); }
    void fire()
    {
        if (auto* screen = dynamic_cast<LoginTimeoutTarget*>(m_target))
            screen->onLoginTimeout();
    }

private:
    CCObject* m_target = nullptr;  // retained
};

}  // namespace

ScreenUtils* ScreenUtils::getInstance()
{
    static ScreenUtils* instance = [] {
        auto* made = new ScreenUtils();
        made->setBusy(false);
        made->setCurrentWindow(nullptr);
        return made;
    }();
    return instance;
}

bool ScreenUtils::isBusy()
{
    return m_busy;
}

void ScreenUtils::setBusy(bool busy)
{
    m_busy = busy;
}

GUIWindow* ScreenUtils::getCurrentWindow()
{
    return m_currentWindow;
}

GUIWindow* ScreenUtils::shownWindow()
{
    GUIWindow* window = getInstance()->getCurrentWindow();
    return window && window->isVisible() ? window : nullptr;
}

void ScreenUtils::setCurrentWindow(GUIWindow* window)
{
    // No window takes the front from a box that waits for its answer: one
    // that opens meanwhile opens beneath it, and the box gives it back.
    GUIWindow* box = m_currentWindow;
    if (box && box != window && box->awaitsAnswer() && !(window && window->awaitsAnswer())) {
        box->giveBackOnLeaving(window);
        return;
    }
    m_currentWindow = window;
}

void ScreenUtils::forgetWindow(GUIWindow* window)
{
    if (!window)
        return;
    if (m_currentWindow == window)
        m_currentWindow = nullptr;
    if (savedWindow == window)
        savedWindow = nullptr;
}

// --- message pages ---------------------------------------------------------------

void ScreenUtils::showStoryIntroduction()
{
    guiHost().showStoryIntroduction();
}

void ScreenUtils::showFreeModeIntroduction()
{
    guiHost().showFreeModeIntroduction();
}

void ScreenUtils::showStoryReminder(int number)
{
    guiHost().showStoryReminder(number);
}

void ScreenUtils::showFreeModeMessage()
{
    guiHost().showFreeModeMessage();
}

void ScreenUtils::showOutro()
{
    guiHost().showOutro();
}

// --- popups ------------------------------------------------------------------------

void ScreenUtils::showPopup(CCObject* argument, CCObject* confirmTarget, SEL_CallFunc confirmSelector,
                            CCObject* cancelTarget, SEL_CallFunc cancelSelector, int kind)
{
    if (!GUIPopup::isValidKind(kind)) {
        LOG << "ScreenUtils: no popup of kind" << kind << "; the request is dropped";
        return;
    }
    openPopup(kind, dynamic_cast<CCString*>(argument), confirmTarget, confirmSelector, cancelTarget, cancelSelector);
}

void ScreenUtils::showLosingQuestion(CCString* text, CCObject* target, SEL_CallFunc selector)
{
    GUIPopup* popup = GUIPopup::getInstance();
    if (popup->getParent())
        return;
    openPopup(GUIPopup::Confirm, text, target, selector, nullptr, nullptr);
    popup->setReturnCancels(true);
}

void ScreenUtils::showPopupWithStaticCallback(CCString* identifier, CCString* text)
{
    hold(g_staticIdentifier, identifier);
    if (GUIPopup::getInstance()->getParent())
        return;
    if (identifier && identifier->getString() != "/")
        openPopup(GUIPopup::StaticConfirm, text, getInstance(), callfunc_selector(ScreenUtils::staticCallback), nullptr,
                  nullptr);
    else
        openPopup(GUIPopup::Message, text, nullptr, nullptr, nullptr, nullptr);
}

CCString* ScreenUtils::getStaticCallbackIdentifier()
{
    return g_staticIdentifier;
}

void ScreenUtils::showOfflinePopup()
{
    CCString* text = LocalUtils::localize("NotificationOfflineMode");
    openPopup(GUIPopup::Message, text, nullptr, nullptr, nullptr, nullptr);
}

void ScreenUtils::showNotice(CCString* text)
{
    if (!text)
        return;
    hold(g_notice.text, text);
    g_notice.onScreen = false;
    CCDirector::sharedDirector()->getScheduler()->scheduleSelector(schedule_selector(ScreenUtils::watchNotice),
                                                                   getInstance(), 0, false);
    getInstance()->watchNotice(0);
}

CCString* ScreenUtils::pendingNotice()
{
    return g_notice.text;
}

void ScreenUtils::dropNoticeForTests()
{
    hold(g_notice.text, static_cast<CCString*>(nullptr));
    g_notice.onScreen = false;
    CCDirector::sharedDirector()->getScheduler()->unscheduleSelector(schedule_selector(ScreenUtils::watchNotice),
                                                                     getInstance());
}

void ScreenUtils::watchNotice(float)
{
    GUIPopup* popup = GUIPopup::getInstance();
    CCDirector* director = CCDirector::sharedDirector();
    CCScene* scene = runningScene();
    if (g_notice.text && g_notice.onScreen) {
        if (popup->isShown() && popup->isClosing()) {
            // Answered (OK or the back key): seen.
            hold(g_notice.text, static_cast<CCString*>(nullptr));
            g_notice.onScreen = false;
        } else if (popup->isShown() && popup->getParent() == scene) {
            return;
        } else {
            // Its scene went, or another came over it, before an answer: once
            // the scenes have settled it leaves that scene (where it would
            // also hold every other popup back) and comes again over the one
            // the player sees.
            if (director->isChangingScene())
                return;
            if (popup->isShown())
                popup->removeFromParentAndCleanup(true);
            g_notice.onScreen = false;
        }
    }
    if (!g_notice.text) {
        director->getScheduler()->unscheduleSelector(schedule_selector(ScreenUtils::watchNotice), this);
        return;
    }
    if (popup->isShown() || !scene || director->isChangingScene())
        return;
    openPopup(GUIPopup::Message, g_notice.text, nullptr, nullptr, nullptr, nullptr);
    g_notice.onScreen = popup->isShown();
}

// --- progress bar ------------------------------------------------------------------

void ScreenUtils::showUploadProgress()
{
    GUIProgressBar* bar = GUIProgressBar::getInstance();
    if (bar->getParent() || !runningScene())
        return;
    bar->buildContent();
    runningScene()->addChild(bar, GUIProgressBar::kZOrder);
    getInstance()->setCurrentWindow(bar);
}

void ScreenUtils::showProgress(CCObject* target)
{
    GUIProgressBar* bar = GUIProgressBar::getInstance();
    if (bar->getParent() || !runningScene())
        return;
    bar->buildContent();
    bar->setCaption(CCString::create(""));
    runningScene()->addChild(bar, GUIProgressBar::kZOrder);
    getInstance()->setCurrentWindow(bar);
    if (target)
        bar->setCompletedCallback(LoginTimeoutRelay::create(target), callfunc_selector(LoginTimeoutRelay::fire));
    else
        bar->setCompletedCallback(nullptr, nullptr);
    bar->setFailedCallback(nullptr, nullptr);
    bar->startProgress();
}

void ScreenUtils::completeProgress()
{
    GUIProgressBar::getInstance()->complete();
}

void ScreenUtils::showProgressFailure()
{
    // A name keyboard that the failed answer opened (a name taken) opened
    // beneath the bar, as any window does under a box: the bar's OK gives it back.
    GUIProgressBar::getInstance()->showFailure();
}

void ScreenUtils::whenRegistered(CCObject* target, SEL_CallFunc done, SEL_CallFunc failed, CCString* caption)
{
    Profile* profile = Profile::getInstance();
    if (profile->isRegistered()) {
        if (target && done)
            (target->*done)();
        return;
    }
    profile->setPendingCallback(target, done);
    profile->setDuplicateNameHandler(nullptr, nullptr);
    if (profile->hasNickname()) {
        GUIProgressBar* bar = GUIProgressBar::getInstance();
        if (!bar->getParent()) {
            showUploadProgress();
            GUILabel::setFontName("ProgressBar_ach_fontButtons");
            if (caption)
                bar->setCaption(caption);
            bar->setResultText(CCString::create(""));
        }
        bar->setFailedCallback(target, failed);
        bar->setTargetProgress(30);
    }
    profile->ensureRegistered();
}

// --- keyboard ----------------------------------------------------------------------

void ScreenUtils::showKeyboardWithLabel(GUILabel* label, float width, CCObject* target, CCString* hint)
{
    GUIKeyboard* keyboard = attachKeyboard();
    bind(label, target, nullptr, dynamic_cast<DescriptionTarget*>(target));
    keyboard->showWithLabel(hint || !label ? nullptr : label->getText(), width);
    keyboard->setHint(hint);
    getInstance()->setCurrentWindow(keyboard);
}

void ScreenUtils::showKeyboard(GUILabel* label, CCObject* target, SEL_CallFuncO selector, CCString* hint,
                               SEL_CallFunc dismissed)
{
    GUIKeyboard* keyboard = attachKeyboard();
    bind(label, target, selector, nullptr, dismissed);
    keyboard->show(hint || !label ? nullptr : label->getText());
    keyboard->setHint(hint);
    getInstance()->setCurrentWindow(keyboard);
}

void ScreenUtils::showNicknameKeyboard(CCString* text, CCObject* target, CCString* hint)
{
    GUIKeyboard* keyboard = attachKeyboard();
    // A name is what an account waits for: the back key gives none.
    bind(nullptr, target, callfuncO_selector(Profile::setNicknameFromInput), nullptr,
         callfunc_selector(Profile::dropPendingCallback));
    keyboard->show(hint ? nullptr : text);
    keyboard->setHint(hint);
    // The prompt it opens on goes at the first key.
    if (!hint)
        keyboard->updateCharsLeft();
    getInstance()->setCurrentWindow(keyboard);
}

void ScreenUtils::setKeyboardText()
{
    GUIKeyboard* keyboard = GUIKeyboard::getInstance();
    CCString* text = keyboard->getText();
    GUILabel::lineSpacing = -2.0f;
    if (GUILabel* label = g_binding.targetLabel)
        label->setMultilineText(text, keyboard->getLabelWidth(), keyboard->getLabelLines());
    if (g_binding.callbackTarget && (g_binding.callbackSelector || g_binding.descriptionTarget)) {
        CCObject* target = g_binding.callbackTarget;
        target->retain();
        if (g_binding.callbackSelector)
            CCCallFuncO::create(target, g_binding.callbackSelector, text)->execute();
        else
            g_binding.descriptionTarget->onDescriptionEntered(text);
        target->release();
    }
}

bool ScreenUtils::keyboardBackDismisses()
{
    return g_binding.callbackTarget && g_binding.dismissSelector;
}

void ScreenUtils::dismissKeyboard()
{
    if (!keyboardBackDismisses())
        return;
    CCObject* target = g_binding.callbackTarget;
    target->retain();
    (target->*g_binding.dismissSelector)();
    target->release();
}

GUIWindow* ScreenUtils::windowToGiveBack()
{
    GUIWindow* current = getInstance()->getCurrentWindow();
    return current && current->isLeaving() ? current->windowAfterLeaving() : current;
}

GUIWindow* ScreenUtils::keyboardPreviousWindow()
{
    return g_binding.previousWindow;
}

void ScreenUtils::takeKeyboardPreviousWindow()
{
    hold(g_binding.previousWindow, static_cast<GUIWindow*>(nullptr));
}

GUILabel* ScreenUtils::keyboardTargetLabel()
{
    return g_binding.targetLabel;
}

CCObject* ScreenUtils::keyboardCallbackTarget()
{
    return g_binding.callbackTarget;
}

void ScreenUtils::clearKeyboardBindingForTests()
{
    hold(g_binding.previousWindow, static_cast<GUIWindow*>(nullptr));
    bind(nullptr, nullptr, nullptr);
    hold(g_staticIdentifier, nullptr);
}

// --- rate popup ----------------------------------------------------------------------

void ScreenUtils::showRatePopup(float rating, CCObject* target)
{
    GUIRate* rate = GUIRate::getInstance();
    if (!rate->getParent()) {
        if (CCScene* scene = runningScene())
            scene->addChild(rate, GUIRate::kZOrder);
    }
    rate->build(rating, target);
    getInstance()->setCurrentWindow(rate);
}

// --- hooks --------------------------------------------------------------------------

void ScreenUtils::trackButton()
{
    LOG << "------function execution starts"
        << "; Thread id: "
        << "gettid()" << std::this_thread::get_id();
    LOG << "------execution finished";
}

void ScreenUtils::trackScreen()
{
    trackButton();
}
