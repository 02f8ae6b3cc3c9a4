#pragma once
// The back key goes to one listener at a time: the one registered last.
// Screens and windows register when they appear and remove themselves when
// they go; the adapter neither owns nor retains them. Main thread.
#include <list>

#include "cocos2d.h"

class BackButtonListener {
public:
    // A listener that goes without removing itself is taken off the list
    // anyway, so the back key never reaches a freed one.
    virtual ~BackButtonListener();
    virtual void onBackPressed() { }
};

class BackButtonAdapter : public cocos2d::CCKeypadDelegate, public cocos2d::CCObject {
public:
    // Created and retained on first use; lives for the run.
    static BackButtonAdapter* getInstance();

    // Removes any earlier entry of the listener, then puts it in front.
    void addListener(BackButtonListener* listener);
    // Removes every entry of the listener; an absent one changes nothing.
    void removeListener(BackButtonListener* listener);

    void keyBackClicked() override;
    // Logs, then calls the front listener only.
    virtual void onBackPressed();

    BackButtonListener* frontListener() const { return m_listeners.empty() ? nullptr : m_listeners.front(); }
    unsigned listenerCount() const { return static_cast<unsigned>(m_listeners.size()); }

    // Tests: forget every listener.
    void removeAllListenersForTests() { m_listeners.clear(); }

private:
    BackButtonAdapter() = default;
    std::list<BackButtonListener*> m_listeners;
};
