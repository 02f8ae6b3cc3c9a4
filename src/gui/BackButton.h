#pragma once
// The back key goes to one listener at a time: the one registered last.
// Screens and windows register when they appear and remove themselves when
// they go; the adapter neither owns nor retains them. Typed keys (text,
// Return, Backspace) take the same road: a box over a keyboard takes them as
// it takes the back key, and nothing under it hears them. Main thread.
#include <list>

#include "cocos2d.h"

class BackButtonListener {
public:
    // A listener that goes without removing itself is taken off the list
    // anyway, so the back key never reaches a freed one.
    virtual ~BackButtonListener();
    virtual void onBackPressed() { }
    // UTF-8 bytes typed on the physical keyboard; Return arrives as "\n".
    virtual void onTextTyped(const char* /*text*/, int /*len*/) { }
    virtual void onDeleteTyped() { }
    // The typed bytes hold a Return.
    static bool hasReturn(const char* text, int len);
    // A box waiting for its answer: a listener added meanwhile goes behind
    // it, so what opens under a box never takes its keys.
    virtual bool keepsFront() const { return false; }
};

class BackButtonAdapter : public cocos2d::CCKeypadDelegate, public cocos2d::CCIMEDelegate, public cocos2d::CCObject {
public:
    // Created and retained on first use; lives for the run.
    static BackButtonAdapter* getInstance();

    // Removes any earlier entry of the listener, then puts it in front, or,
    // while boxes keep the front, right behind them.
    void addListener(BackButtonListener* listener);
    // Removes every entry of the listener; an absent one changes nothing.
    void removeListener(BackButtonListener* listener);

    void keyBackClicked() override;
    // Logs, then calls the front listener only.
    virtual void onBackPressed();
    // The input method's text and Backspace, for the front listener only.
    void insertText(const char* text, int len) override;
    void deleteBackward() override;

    BackButtonListener* frontListener() const { return m_listeners.empty() ? nullptr : m_listeners.front(); }
    // A box waiting for its answer is in front, and is not the listener:
    // the keys that reach every layer (the arrows, the wheel) stop at it too.
    bool boxInFront(const BackButtonListener* listener = nullptr) const;
    unsigned listenerCount() const { return static_cast<unsigned>(m_listeners.size()); }

    // Tests: forget every listener.
    void removeAllListenersForTests() { m_listeners.clear(); }

private:
    BackButtonAdapter() = default;
    std::list<BackButtonListener*> m_listeners;
};
