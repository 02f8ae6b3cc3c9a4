#pragma once
// The player-name screen: a title, the name typed so far and the keyboard.
// An accepted name is kept in the profile. Without a server that is all, and
// the menu follows; with one the name is sent and the progress bar shows the
// request. A refused name brings the keyboard back; any other failure, once
// acknowledged, goes on to the menu with the name kept (the intro registers
// it quietly at a later start, and so does an online feature that needs it).
#include "gui/BackButton.h"
#include "gui/ScreenUtils.h"
#include "cocos2d.h"

class GUILabel;

class GUINameInput : public cocos2d::CCLayer, public BackButtonListener, public LoginTimeoutTarget {
public:
    enum class Request { None, Pending, Succeeded, Failed, Refused, Retyping, Left };

    static GUINameInput* create();
    // A new scene: the name layer and the side borders. nameTaken: the kept
    // name is another player's on the server, and the keyboard asks for
    // another at once.
    static cocos2d::CCScene* scene(bool nameTaken = false);

    bool init() override;
    void onEnter() override;
    void onExit() override;
    void registerWithTouchDispatcher() override;
    bool ccTouchBegan(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchMoved(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchEnded(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;

    void showKeyboard();
    // After a name found taken: an empty field that says so.
    void showKeyboardForANewName();
    // Once, when the stored profile could not be read: a new one was started,
    // and the old files are kept where the popup says.
    void tellOfAnUnreadableProfile();
    // The keyboard's answer: the name typed.
    void onNameEntered(cocos2d::CCObject* text);
    // The progress bar ran out: a time-out while the request is pending,
    // nothing otherwise.
    void onLoginTimeout() override;
    // The profile's pending callback: the player exists on the server.
    void onRegistered();
    // The server refused the name.
    void onNameRefused();
    // The bar showed a failure (at 100).
    void onRequestFailed();
    // Watches the bar: once it has gone, the screen moves on.
    void watchProgress(float dt);

    Request getRequest() const { return m_request; }
    GUILabel* getNameLabel() const { return m_nameLabel; }
    GUILabel* getTitleLabel() const { return m_titleLabel; }

private:
    void submitName();
    void goOnToMenu();

    GUILabel* m_titleLabel = nullptr;
    GUILabel* m_nameLabel = nullptr;
    Request m_request = Request::None;
    bool m_nameTaken = false;
};
